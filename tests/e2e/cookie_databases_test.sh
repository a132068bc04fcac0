# Cookie databases: Firefox's store of 30 cookies of 5 sites, one of them kept,
# loses the other sites' rows and stays, consistent; Chrome's store of 20
# cookies of 4 sites, none kept, goes whole with its journal; copies of the
# stores real browsers wrote (tests/data/browsers: Firefox's with its log in
# LibreWolf's profile, Chromium's with its journal in Brave's), 20 cookies of 5
# hosts each, keep the 8 rows of keep.example. The counter grows by exactly the
# rows munched.
source "$(dirname "$0")/lib.sh"

roaming=$(driver folder 26 | tr -d '\r')
local_=$(driver folder 28 | tr -d '\r')
firefox="$roaming\\Mozilla\\Firefox"
fx_store="$firefox\\Profiles\\a.default\\cookies.sqlite"
chrome_store="$local_\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"

make_file "$firefox\\profiles.ini" $'[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n'
# Five sites: kept.example (3 rows of .kept.example, 3 of www.kept.example) and four others of 6 rows each.
for i in 1 2 3 4 5 6; do
  [ "$i" -le 3 ] && echo ".kept.example fx-kept-$i" || echo "www.kept.example fx-kept-$i"
  for host in .news.example shop.example .ads.example tracker.example; do echo "$host fx-$host-$i"; done
done | make_cookie_store "$fx_store" mozilla WAL
for i in $(seq 5); do
  for host in .mail.example www.bank.example .video.example cdn.example; do echo "$host ch-$host-$i"; done
done | make_cookie_store "$chrome_store" chromium DELETE
make_file "$chrome_store-journal" ''
make_file "$local_\\Google\\Chrome\\User Data\\Default\\Preferences" '{}'
make_file "$local_\\BraveSoftware\\Brave-Browser\\User Data\\Default\\Preferences" '{}'
librewolf="$roaming\\librewolf"
real_fx="$librewolf\\Profiles\\r.default\\cookies.sqlite"
real_chromium="$local_\\BraveSoftware\\Brave-Browser\\User Data\\Default\\Network\\Cookies"
make_file "$librewolf\\profiles.ini" $'[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/r.default\r\n'
make_file "$real_chromium" ''
make_file "$real_fx" ''
data=$E2E_ROOT/tests/data/browsers
cp "$data/cookies.sqlite" "$(unix_path "$real_fx")"
cp "$data/cookies.sqlite-wal" "$(unix_path "$real_fx")-wal"
cp "$data/Cookies" "$(unix_path "$real_chromium")"
cp "$data/Cookies-journal" "$(unix_path "$real_chromium")-journal"
[ "$(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies')" = 30 ] || fail "the Firefox store was not made"
kept_before=$(cookie_query "$fx_store" "SELECT * FROM moz_cookies WHERE host LIKE '%kept.example' ORDER BY id")
munched_rows=$(cookie_query "$fx_store" "SELECT count(*) FROM moz_cookies WHERE host NOT LIKE '%kept.example'")
write_settings <<'INI'
[Settings]
Autoload=0
[Keep Sites]
kept.example=1
keep.example=1
INI

# The stores are read only once nomblet.exe has ended: the host's sqlite3 and
# Wine's do not see each other's locks.
start_nomblet
deadline=$((SECONDS + 15))
until ! file_exists "$chrome_store"; do
  [ $SECONDS -lt $deadline ] || fail "Chrome's store was not munched"
  sleep 0.2
done
! file_exists "$chrome_store-journal" || fail "Chrome's journal stayed after its store"
expected=$((munched_rows + 20 + 24))
sleep 2
for attempt in 1 2 3; do
  count=$(munched_count)
  [ "$count" != "$expected" ] || break
  sleep 5 # the open menu paused munching
done
[ "$count" = "$expected" ] || fail "the counter shows $count, not $expected"
sleep 6 # more ticks once the menu's pause is over: nothing more to munch, nothing more counted
[ "$(munched_count)" = "$expected" ] || fail "the counter moved past $expected"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"

file_exists "$fx_store" || fail "Firefox's store with a kept site went"
[ "$(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies')" = 6 ] || fail "the kept rows did not stay alone"
[ "$(cookie_query "$fx_store" "SELECT * FROM moz_cookies WHERE host LIKE '%kept.example' ORDER BY id")" = "$kept_before" ] ||
  fail "the kept site's rows changed"
[ "$(cookie_query "$real_fx" "SELECT count(*) FROM moz_cookies WHERE host LIKE '%keep.example'")" = 8 ] ||
  fail "the real Firefox store does not hold the kept site's 8 rows alone"
[ "$(cookie_query "$real_chromium" "SELECT count(*) FROM cookies WHERE host_key LIKE '%keep.example'")" = 8 ] ||
  fail "the real Chromium store does not hold the kept site's 8 rows alone"
for store in "$fx_store" "$real_fx" "$real_chromium"; do
  [ "$(cookie_query "$store" 'SELECT count(*) FROM '"$(case $store in *sqlite) echo moz_cookies ;; *) echo cookies ;; esac)")" -le 8 ] ||
    fail "$store holds rows of sites not kept"
  [ "$(cookie_query "$store" 'PRAGMA integrity_check')" = ok ] || fail "$store is not consistent"
done
pass
