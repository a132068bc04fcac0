# The end of the Windows session ends the program.
source "$(dirname "$0")/lib.sh"

start_nomblet
end_session
wait_for_exit 10 || fail "nomblet.exe outlived the end of the session"
pass
