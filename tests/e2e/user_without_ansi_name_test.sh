# A user whose name the code page (1252) cannot spell, "Łukasz": the shell names
# the cookie and application-data folders in that profile. The program reaches
# them by their short names and munches them like any other: the shell's cookie
# folder, and a Firefox store under the application data, counted exactly.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 # Wine: code page 1252, host names in UTF-8
source "$(dirname "$0")/lib.sh"

[ "$(driver codepage | tr -d '\r')" = 1252 ] || fail "Wine runs with code page $(driver codepage)"
profile='C:\users\Łukasz'
shell_folder Cookies "$profile\\Cookies"
shell_folder AppData "$profile\\AppData\\Roaming"
cookies="$profile\\Cookies"
firefox="$profile\\AppData\\Roaming\\Mozilla\\Firefox"
store="$firefox\\Profiles\\a.default\\cookies.sqlite"
make_file "$firefox\\profiles.ini" $'[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n'
make_file "$store" 'SQLite format 3'
make_file "$store-wal" 'journal'
make_file "$firefox\\Profiles\\a.default\\places.sqlite" 'keep'
make_file "$cookies\\index.dat" 'index'
write_settings <<'INI'
[Settings]
Autoload=0
INI

start_nomblet
driver hidden TForm1 5 || fail "the about window did not hide"
names=(łukasz@site1.txt łukasz@site2.txt a@site3.txt)
for name in "${names[@]}"; do make_file "$cookies\\$name"; done
wait_gone "${names[@]/#/$cookies\\}" "$store" "$store-wal"
file_exists "$cookies\\index.dat" || fail "the index was munched"
file_exists "$firefox\\Profiles\\a.default\\places.sqlite" || fail "places.sqlite was deleted"
[ "$(munched_count)" = 4 ] || fail "the menu does not show 4 munched: $(menu_rows)"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
stored=$(settings_value 'Cookie Dir' Dir) || fail "no cookie folder was stored"
case "$stored" in C:\\users\\*\\Cookies) ;; *) fail "the stored cookie folder is '$stored'" ;; esac
pass
