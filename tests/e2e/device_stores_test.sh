# A store path naming a device is passed over: with COM1 mapped to a file,
# Name=COM1 and a cookie file named com1.txt (the same port, to the platform)
# delete nothing, and the count stays 0 tick after tick with nothing heard.
source "$(dirname "$0")/lib.sh"

port=$WINEPREFIX/port-com1
echo 'the port' > "$port"
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$port" /f >/dev/null 2>&1
wineserver -w

write_settings <<'INI'
[Cookie File]
Name=COM1
OName=C:\opera\com1.txt
[Cookie Dat]
ICQ=C:\icq\lpt1
INI
make_file 'C:\opera\com1.txt' 'not the port'
record_sounds
start_nomblet
sleep 3
[ "$(cat "$port" 2>/dev/null)" = 'the port' ] || fail "the port's file was deleted"
file_exists 'C:\opera\com1.txt' || fail "a store path naming a device deleted a file"
[ "$(sound_bytes)" -eq 0 ] || fail "$(sound_bytes) bytes of sound played with nothing munched"
[ "$(munched_count)" = 0 ] || fail "a device was counted as a cookie: $(munched_count) munched"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
