# Links to files, which Wine lists as plain files and whose plain delete removes
# the target: one in the cookie folder (to the Windows folder's system.ini), one
# as the Netscape cookie file (to a canary outside the prefix) and one in the
# cache folder (to a canary in the prefix) leave their targets in place, while
# the plain files around them are munched and counted.
source "$(dirname "$0")/lib.sh"

outside=$(mktemp -d /tmp/nomblet-canary.XXXXXX)
trap 'rm -rf "$outside"; e2e_cleanup' EXIT
echo precious > "$outside/target.txt"
make_file 'C:\canary\target.txt' 'mine'
system_ini=$(cat "$(unix_path 'C:\windows\system.ini')")
tif=$(driver folder 32 | tr -d '\r') # the shell's Internet cache folder

write_settings <<'INI'
[Cookie File]
Name=C:\ns\cookies.txt
OName=C:\opera\cookies4.dat
[Cookie Dir]
Dir=C:\ie\cookies
INI
make_file 'C:\ie\cookies\a.txt'
make_file 'C:\ie\cookies\b.txt'
ln -s "$(unix_path 'C:\windows\system.ini')" "$(unix_path 'C:\ie\cookies\flink.txt')"
mkdir -p "$(unix_path 'C:\ns')"
ln -s "$outside/target.txt" "$(unix_path 'C:\ns\cookies.txt')"
make_file 'C:\opera\cookies4.dat'
make_file "$tif\\page.htm"
ln -s "$(unix_path 'C:\canary\target.txt')" "$(unix_path "$tif\\flink.htm")"

targets_intact() {
  [ "$(cat "$outside/target.txt")" = precious ] && [ "$(cat "$(unix_path 'C:\canary\target.txt')")" = mine ] &&
    [ "$(cat "$(unix_path 'C:\windows\system.ini')")" = "$system_ini" ]
}

start_nomblet
sleep 2.5
targets_intact || fail "a link's target was deleted by the munch cycle"
for gone in 'C:\ie\cookies\a.txt' 'C:\ie\cookies\b.txt' 'C:\opera\cookies4.dat'; do
  ! file_exists "$gone" || fail "the plain file $gone beside the links was not munched"
done
[ -L "$(unix_path 'C:\ie\cookies\flink.txt')" ] && [ -L "$(unix_path 'C:\ns\cookies.txt')" ] ||
  fail "a link was removed"
[ "$(munched_count)" = 3 ] || fail "the links were counted: $(munched_count) munched"

choose_menu_row 'Clear IE Cache'
sleep 1
targets_intact || fail "Clear IE Cache deleted a link's target"
! file_exists "$tif\\page.htm" || fail "Clear IE Cache left the plain file beside the link"
[ -L "$(unix_path "$tif\\flink.htm")" ] || fail "the link in the cache folder was removed"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
