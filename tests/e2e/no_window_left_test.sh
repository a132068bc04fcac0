# Once the about window has hidden, the program shows no top-level window at all:
# nothing for a taskbar button or an Alt+Tab entry, only the tray icon.
source "$(dirname "$0")/lib.sh"

start_nomblet
sleep 0.3
[ -n "$(driver visible TForm1 | tr -d '\r')" ] || fail "nothing was visible at start"
sleep 1.7
visible=$(driver visible TForm1 | tr -d '\r')
[ -z "$visible" ] || fail "visible two seconds after start: $visible"
open_menu
driver keys escape
sleep 0.3
visible=$(driver visible TForm1 | tr -d '\r')
[ -z "$visible" ] || fail "visible after the tray menu closed: $visible"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
