# A Netscape cookie file typed into the file dialog is stored, and munched once it exists.
source "$(dirname "$0")/lib.sh"

mkdir -p "$(unix_path 'C:\ns')"
start_nomblet
choose_menu_row 'Path to Cookie.txt (Netscape)'
driver wait '#32770' 5 || fail "no file dialog"
sleep 0.5
driver keys 'text:C:\ns\cookies.txt' return
sleep 0.5
[ "$(settings_value "Cookie File" Name)" = 'C:\ns\cookies.txt' ] || fail "the path was not stored: '$(settings_value "Cookie File" Name)'"
make_file 'C:\ns\cookies.txt'
sleep 1.2
! file_exists 'C:\ns\cookies.txt' || fail "the new Netscape cookie file was not munched"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
