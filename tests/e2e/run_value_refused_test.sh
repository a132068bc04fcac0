# Load at Startup never claims a registration it could not make: a value of its
# name that starts another program is shown unticked and left alone, and without
# a Run key the mark and Autoload stay off.
source "$(dirname "$0")/lib.sh"

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
other='C:\Other\other.exe'
wine reg add "$run_key" /v MyApplication /d "$other" /f >/dev/null 2>&1 || fail "the other program's value was not set"

start_nomblet
open_menu
menu_rows | grep -q $'^Load at Startup\t0' || fail "another program's value is shown as this one's"
driver keys escape
sleep 0.2
choose_menu_row 'Load at Startup' # tick
choose_menu_row 'Load at Startup' # the tick did not take: this is a tick again
[ "$(reg_value "$run_key" MyApplication)" = "$other" ] || fail "the other program's value was changed"
[ "$(settings_value Settings Autoload)" = 0 ] || fail "Autoload=1 was stored for a registration not made"
open_menu
menu_rows | grep -q $'^Load at Startup\t0' || fail "the mark claims a registration"
driver keys escape
sleep 0.2

wine reg delete "$run_key" /f >/dev/null 2>&1 || fail "the Run key was not deleted"
choose_menu_row 'Load at Startup'
! reg_value "$run_key" MyApplication >/dev/null || fail "a Run value appeared"
[ "$(settings_value Settings Autoload)" = 0 ] || fail "Autoload=1 was stored without a Run key"
open_menu
menu_rows | grep -q $'^Load at Startup\t0' || fail "the mark is set without a Run key"
driver keys escape
sleep 0.2

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
