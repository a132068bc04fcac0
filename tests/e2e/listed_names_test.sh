# A name from the cookie folder's listing means that entry only: "index.dat"
# survives beside "index.dat." (which a plain delete would have made it), and
# with COM1 mapped to a file, "com1.txt" in the cookie folder and in the cache
# folder is a file of that folder, never the port. What is counted is what went.
source "$(dirname "$0")/lib.sh"

port=$WINEPREFIX/port-com1
echo 'the port' > "$port"
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$port" /f >/dev/null 2>&1
wineserver -w
tif=$(driver folder 32 | tr -d '\r') # the shell's Internet cache folder

write_settings <<'INI'
[Cookie Dir]
Dir=C:\ie\cookies
INI
make_file 'C:\ie\cookies\index.dat' 'the index'
make_file 'C:\ie\cookies\index.dat.' 'a cookie'
make_file 'C:\ie\cookies\com1.txt' 'a cookie named like the port'
make_file "$tif\\com1.txt"

start_nomblet
sleep 2
[ "$(cat "$(unix_path 'C:\ie\cookies\index.dat')" 2>/dev/null)" = 'the index' ] || fail "index.dat was munched"
! file_exists 'C:\ie\cookies\com1.txt' || fail "com1.txt in the cookie folder was not munched"
[ "$(cat "$port")" = 'the port' ] || fail "the port's file was touched by the munch cycle"
# Wine reports the final path of "index.dat." without its dot, so the rule
# cannot tell it from "index.dat" there and passes it over: either way the
# count is what really went.
expected=1
file_exists 'C:\ie\cookies\index.dat.' || expected=2
[ "$(munched_count)" = "$expected" ] || fail "the count is not what went: $(munched_count), not $expected"

choose_menu_row 'Clear IE Cache'
sleep 1
! file_exists "$tif\\com1.txt" || fail "com1.txt in the cache folder was not deleted"
[ "$(cat "$port")" = 'the port' ] || fail "the port's file was touched by Clear IE Cache"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
