# "Load at Startup" adds and removes the program's Run value, holding its path.
source "$(dirname "$0")/lib.sh"

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
start_nomblet
! reg_value "$run_key" MyApplication >/dev/null || fail "registered before anything was chosen"
choose_menu_row 'Load at Startup'
value=$(reg_value "$run_key" MyApplication) || fail "the first toggle did not register the program"
exe=$(winepath -w "$E2E_EXE" 2>/dev/null | tr -d '\r')
[ "${value,,}" = "\"${exe,,}\"" ] || fail "the Run value is '$value', not '\"$exe\"'"
[ "$(settings_value Settings Autoload)" = 1 ] || fail "Autoload=1 was not saved"
open_menu
menu_rows | grep -q $'^Load at Startup\t1' || fail "the mark is not set"
driver keys escape
sleep 0.2
choose_menu_row 'Load at Startup'
! reg_value "$run_key" MyApplication >/dev/null || fail "the second toggle did not remove the value"
[ "$(settings_value Settings Autoload)" = 0 ] || fail "Autoload=0 was not saved"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
