# "Exit" ends the program with the settings saved.
source "$(dirname "$0")/lib.sh"

start_nomblet
[ ! -e "$(settings_file)" ] || fail "settings written before the end"
choose_menu_row Exit
wait_for_exit 5 || fail "nomblet.exe still runs after Exit"
[ "$(settings_value Settings MunchICQ)" = 1 ] || fail "the settings were not saved at exit"
pass
