# "Active" off stops munching; on again, munching resumes at once.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie File]
Name=C:\ns\cookies.txt
INI
start_nomblet
choose_menu_row Active
make_file 'C:\ns\cookies.txt'
sleep 1.5
file_exists 'C:\ns\cookies.txt' || fail "a cookie was munched while Active was off"
choose_menu_row Active
sleep 1.2
! file_exists 'C:\ns\cookies.txt' || fail "munching did not resume when Active was turned on"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
