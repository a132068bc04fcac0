# Run from a folder with a space in its path, Load at Startup writes the path in
# quotes, and after a restart the mark reads on.
source "$(dirname "$0")/lib.sh"

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
exe='C:\Program Files\Nomblet\nomblet.exe'
mkdir -p "$(dirname "$(unix_path "$exe")")"
cp "$E2E_EXE" "$(unix_path "$exe")"

start_nomblet "$exe"
choose_menu_row 'Load at Startup'
value=$(reg_value "$run_key" MyApplication) || fail "the program was not registered"
[ "${value,,}" = "\"${exe,,}\"" ] || fail "the Run value is '$value', not the quoted path"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"

start_nomblet "$exe"
open_menu
menu_rows | grep -q $'^Load at Startup\t1' || fail "after a restart the mark is not set"
driver keys escape
sleep 0.2
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
[ "$(settings_value Settings Autoload)" = 1 ] || fail "Autoload=1 was not kept"
pass
