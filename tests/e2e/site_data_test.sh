# Site data: copies of what Firefox and Chromium stored for five sites
# (tests/data/browsers), keep.example (www. and mail.) kept. Unticked, "Munch
# Site Data" leaves everything; ticked, the other three sites' data goes from
# both profiles, counted once per site and profile, the kept site's stays byte
# for byte, and a Firefox profile whose parent.lock its browser holds keeps all.
source "$(dirname "$0")/lib.sh"

roaming=$(driver folder 26 | tr -d '\r')
local_=$(driver folder 28 | tr -d '\r')
firefox="$roaming\\Mozilla\\Firefox"
free="$firefox\\Profiles\\a.default"
held="$firefox\\Profiles\\b.running"
chromium="$local_\\Chromium\\User Data\\Default"
data=$E2E_ROOT/tests/data/browsers
make_file "$firefox\\profiles.ini" $'[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n\r\n[Profile1]\r\nIsRelative=1\r\nPath=Profiles/b.running\r\n'
for profile in "$free" "$held"; do
  mkdir -p "$(unix_path "$profile")"
  cp -r "$data/firefox/." "$(unix_path "$profile")"
done
make_file "$chromium\\Preferences" '{}'
cp -r "$data/chromium/Default/." "$(unix_path "$chromium")"
make_file "$held\\parent.lock" ''
write_settings <<'INI'
[Settings]
Autoload=0
[Keep Sites]
keep.example=1
INI

origins() { LC_ALL=C ls "$(unix_path "$1\\storage\\default")" | tr '\n' ' '; }
tree_sum() { (cd "$(unix_path "$1")" && find . -type f -print0 | sort -z | xargs -0 sha1sum | sha1sum); }
kept=("$free\\storage\\default\\http+++www.keep.example+18731" "$chromium\\IndexedDB\\http_mail.keep.example_18731.indexeddb.leveldb")
sums_before=$(for folder in "${kept[@]}"; do tree_sum "$folder"; done)
all_origins=$(origins "$free")
gone=("$free\\storage\\default\\http+++news.example+18731" "$free\\storage\\default\\http+++tracker.example+18731"
  "$chromium\\IndexedDB\\http_shop.example_18731.indexeddb.leveldb")

# Firefox runs in the other profile: its lock is held open as the browser holds it.
driver hold "$held\\parent.lock" 60000 'C:\held.marker' &
holder=$!
until file_exists 'C:\held.marker'; do sleep 0.05; done

start_nomblet
sleep 2 # ticks with the row unticked
[ "$(munched_count)" = 0 ] || fail "site data was munched with the row unticked"
[ "$(origins "$free")" = "$all_origins" ] || fail "an origin folder went with the row unticked"
choose_menu_row "Munch Site Data"
[ "$(settings_value Settings SiteData)" = 1 ] || fail "the row's mark was not saved at once"
wait_gone "${gone[@]}"
expected=6 # news, shop and tracker, once in each free profile
for attempt in 1 2 3; do
  count=$(munched_count)
  [ "$count" != "$expected" ] || break
  sleep 5 # the open menu paused munching
done
[ "$count" = "$expected" ] || fail "the counter shows $count, not $expected"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
kill "$holder" 2>/dev/null || true

[ "$(origins "$free")" = "file++++tmp+nomblet-sites+start.html http+++mail.keep.example+18731 http+++www.keep.example+18731 " ] ||
  fail "the free Firefox profile holds $(origins "$free")"
[ "$(origins "$held")" = "$all_origins" ] || fail "the profile whose lock is held lost data: $(origins "$held")"
[ "$(sqlite3 -readonly "$(unix_path "$free\\storage.sqlite")" 'SELECT valid FROM cache')" = 0 ] ||
  fail "Firefox's count of origins was not marked stale"
[ "$(sqlite3 -readonly "$(unix_path "$held\\storage.sqlite")" 'SELECT valid FROM cache')" = 1 ] ||
  fail "the running Firefox's count of origins was touched"
[ "$(sqlite3 -readonly "$(unix_path "$chromium\\WebStorage\\QuotaManager")" 'SELECT host FROM buckets ORDER BY host' | tr '\n' ' ')" = \
  "mail.keep.example www.keep.example " ] || fail "Chromium's buckets of sites not kept stayed"
for folder in "Local Storage\\leveldb" "Session Storage" "Service Worker\\Database" "IndexedDB\\http_www.keep.example_18731.indexeddb.leveldb"; do
  file_exists "$chromium\\$folder" || fail "$folder went though a kept site's data is in it"
done
[ "$(for folder in "${kept[@]}"; do tree_sum "$folder"; done)" = "$sums_before" ] || fail "the kept site's data changed"
pass
