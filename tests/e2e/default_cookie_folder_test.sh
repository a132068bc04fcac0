# With no cookie folder set, the shell's cookie folder is munched: its cookie
# files go, its indexes ("index.dat", "container.dat") and a subfolder stay;
# the count shows in the menu and in the tray icon's tip.
source "$(dirname "$0")/lib.sh"

cookies=$(driver folder 33 | tr -d '\r')
case "$cookies" in *\\INetCookies) ;; *) fail "the shell names '$cookies' for the cookies" ;; esac
write_settings <<'INI'
[Settings]
Autoload=0
INI
make_file "$cookies\\index.dat" 'index'
make_file "$cookies\\container.dat" 'index'
make_file "$cookies\\Low\\kept.txt" 'below'
start_nomblet
driver hidden TForm1 5 || fail "the about window did not hide"
driver tray >/dev/null || fail "no icon was handed to the shell" # from now on what it is handed is seen
for name in root@site1.txt root@site2.txt ROOT@SITE3.TXT; do make_file "$cookies\\$name"; done
deadline=$((SECONDS + 5))
while file_exists "$cookies\\root@site1.txt" || file_exists "$cookies\\root@site2.txt" ||
  file_exists "$cookies\\ROOT@SITE3.TXT"; do
  [ $SECONDS -lt $deadline ] || fail "the cookies in the shell's folder were not munched"
  sleep 0.1
done
for kept in index.dat container.dat 'Low\kept.txt'; do
  file_exists "$cookies\\$kept" || fail "$kept was munched"
done
tip() { driver tray | tr -d '\r' | cut -f2; }
deadline=$((SECONDS + 5))
until [ "$(tip)" = "Nomblet: Munched = 3" ]; do
  [ $SECONDS -lt $deadline ] || fail "the icon's tip reads '$(tip)'"
  sleep 0.2
done
open_menu
menu_rows | grep -q $'^Munched = 3\t' || fail "the menu does not show 3 munched: $(menu_rows)"
driver keys escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
[ "$(settings_value 'Cookie Dir' Dir)" = "$cookies" ] || fail "the shell's folder was not stored"
pass
