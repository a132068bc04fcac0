# "Sounds On" turned off is written to the settings file at once.
source "$(dirname "$0")/lib.sh"

start_nomblet
choose_menu_row 'Sounds On'
[ "$(settings_value Settings SoundsOn)" = 0 ] || fail "SoundsOn=0 was not written at once"
kill -0 "$E2E_PID" || fail "nomblet.exe ended"
open_menu
menu_rows | grep -q $'^Sounds On\t0' || fail "the Sounds On mark is still set"
driver keys escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
