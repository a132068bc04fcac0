# The menu shows the count and the address; "Munched =" resets the count.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie Dir]
Dir=C:\ie\cookies
INI
make_file 'C:\ie\cookies\1.txt'
make_file 'C:\ie\cookies\2.txt'
make_file 'C:\ie\cookies\3.txt'
start_nomblet
sleep 1.2
open_menu
rows=$(menu_rows)
echo "$rows" | grep -q $'^Munched = 3\t' || fail "the menu does not show 3 munched: $rows"
echo "$rows" | grep -qE $'^Internet IP: [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+\t' || fail "no address in the menu: $rows"
driver keys escape
sleep 0.2
choose_menu_row 'Munched = 3'
open_menu
menu_rows | grep -q $'^Munched = 0\t' || fail "the count was not reset"
driver keys escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
