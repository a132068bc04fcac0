# "Exit" while Chrome's store of 150,000 cookies (15 of a kept site) is munched:
# the program ends, and the store is munched or as it was, consistent (a journal
# left is rolled back at the next open). The time taken is printed, a measurement.
source "$(dirname "$0")/lib.sh"

rows=150000
local_=$(driver folder 28 | tr -d '\r')
profile="$local_\\Google\\Chrome\\User Data\\Default"
store=$(unix_path "$profile\\Network\\Cookies")
make_file "$profile\\Preferences" '{}'
mkdir -p "$(dirname "$store")"
staged=$WINEPREFIX/drive_c/staged-cookies
make_cookie_store 'C:\staged-cookies' chromium DELETE </dev/null
sqlite3 "$staged" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
  INSERT INTO cookies SELECT i, CASE WHEN i % 10000 = 0 THEN '.kept.example' ELSE 'site' || (i % 3000) || '.example' END,
  '', 'c' || i, '', randomblob(40 + i % 60), '/', 13400000000000000, 1, 0, 13390000000000000 + i, 1, 1, 1, -1, 2, 443,
  i, 0, 0 FROM n"
write_settings <<'INI'
[Settings]
Autoload=0
SoundsOn=0
[Keep Sites]
kept.example=1
INI

start_nomblet
sleep 2 # the about window's second
mv "$staged" "$store"
sleep "${EXIT_DELAY:-0.8}" # the next tick has begun the munch
asked=$(date +%s%N)
close_nomblet >/dev/null
wait_for_exit 10 || fail "nomblet.exe still runs 10 s after it was asked to end during a munch"
echo "ended $((($(date +%s%N) - asked) / 1000000)) ms after it was asked to"

[ "$(sqlite3 "$store" 'PRAGMA integrity_check')" = ok ] || fail "the store is not consistent"
left=$(sqlite3 "$store" "SELECT count(*), sum(host_key = '.kept.example') FROM cookies")
[ "$left" = "$rows|15" ] || [ "$left" = "15|15" ] || fail "the store holds $left rows: neither munched nor as it was"
echo "rows left, the kept site's: $left"
pass
