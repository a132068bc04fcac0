# Cookie databases: Firefox's store of 30 cookies of 5 sites, one of them kept,
# loses the other sites' rows and stays, consistent; Chrome's store of 20
# cookies of 4 sites, none kept, goes whole with its journal. The counter grows
# by exactly the rows munched.
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
[ "$(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies')" = 30 ] || fail "the Firefox store was not made"
kept_before=$(cookie_query "$fx_store" "SELECT * FROM moz_cookies WHERE host LIKE '%kept.example' ORDER BY id")
munched_rows=$(cookie_query "$fx_store" "SELECT count(*) FROM moz_cookies WHERE host NOT LIKE '%kept.example'")
write_settings <<'INI'
[Settings]
Autoload=0
[Keep Sites]
kept.example=1
INI

start_nomblet
deadline=$((SECONDS + 15))
until ! file_exists "$chrome_store" &&
      [ "$(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies' 2>/dev/null)" = 6 ]; do
  [ $SECONDS -lt $deadline ] || fail "the stores were not munched: Chrome's $(file_exists "$chrome_store" && echo stays || echo gone), Firefox's holds $(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies' 2>&1) rows"
  sleep 0.2
done
! file_exists "$chrome_store-journal" || fail "Chrome's journal stayed after its store"
file_exists "$fx_store" || fail "Firefox's store with a kept site went"
[ "$(cookie_query "$fx_store" 'PRAGMA integrity_check')" = ok ] || fail "Firefox's store is not consistent"
[ "$(cookie_query "$fx_store" "SELECT * FROM moz_cookies WHERE host LIKE '%kept.example' ORDER BY id")" = "$kept_before" ] ||
  fail "the kept site's rows changed"
sleep 1 # two more ticks: nothing more to munch, nothing more counted
count=$(munched_count)
[ "$count" = $((munched_rows + 20)) ] || fail "the counter shows $count, not $((munched_rows + 20))"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
[ "$(cookie_query "$fx_store" 'SELECT count(*) FROM moz_cookies')" = 6 ] || fail "the kept rows did not stay"
pass
