# A right click on the tray icon opens the menu with the layout's rows and marks,
# "Other Browsers" says that none is found, and "Keep Sites" that none is kept or munched yet.
source "$(dirname "$0")/lib.sh"

start_nomblet
open_menu
# By now a munch cycle has shown the address, if the machine has one.
rows=$(menu_rows | sed $'s/^Internet IP:[^\t]*/Internet IP:/')
expected=$(printf '%s\n' \
  $'Path to Cookie Dir (IExplorer)\t0\t0\t0' $'Path to Cookie.txt (Netscape)\t0\t0\t0' \
  $'Path to Cookie#.Dat (Opera)\t0\t0\t0' $'Path to Cookie.dat (ICQ)\t0\t0\t0' $'Other Browsers\t0\t0\t0' \
  $'Keep Sites\t0\t0\t0' $'Munch Site Data\t0\t0\t0' $'-\t0\t0\t0' $'Modify Sounds\t0\t0\t0' \
  $'Fallowmere Home Page\t0\t0\t0' $'-\t0\t0\t0' \
  $'Internet IP:\t0\t0\t0' $'-\t0\t0\t0' $'Delete ICQ Cookies\t1\t0\t0' $'Active\t1\t0\t0' \
  $'Sounds On\t1\t0\t0' $'Munched = 0\t0\t0\t0' $'-\t0\t0\t0' $'Clear IE Cookie Cache Shortcuts\t0\t0\t0' \
  $'Clear IE History\t0\t0\t0' $'Clear IE Cache\t0\t0\t0' $'-\t0\t0\t0' $'Load at Startup\t0\t0\t0' \
  $'Exit\t0\t0\t0')
[ "$rows" = "$expected" ] || fail "the menu reads:
$rows"
screenshot menu >/dev/null
# A fresh prefix has no browser of today: the submenu says so, greyed.
driver keys $(downs "$(menu_row_number 'Other Browsers')") right
sleep 0.2
[ "$(menu_rows)" = $'None Found\t0\t0\t1' ] || fail "the Other Browsers submenu reads:
$(menu_rows)"
driver keys left $(downs 1) right
sleep 0.2
[ "$(menu_rows)" = $'None Yet\t0\t0\t1' ] || fail "the Keep Sites submenu reads:
$(menu_rows)"
driver keys escape escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
