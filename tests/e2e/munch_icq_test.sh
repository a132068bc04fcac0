# The ICQ cookie file goes when its switch is on.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie Dat]
ICQ=C:\icq\cookies.dat
[Settings]
MunchICQ=1
INI
make_file 'C:\icq\cookies.dat'
start_nomblet
sleep 1.2
! file_exists 'C:\icq\cookies.dat' || fail "the ICQ cookie file was not munched with MunchICQ=1"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
