# Group Policy keeps sites in every browser's stores: the program's own list
# (machine), Chrome's CookiesAllowedForUrls (user) and Firefox's Cookies Allow
# (machine), set with reg add, keep their rows in copies of the stores real
# Firefox and Chromium wrote (tests/data/browsers) while keep.example's go; a
# list written while the program runs keeps its site at the next munch. The
# machine's MunchSiteData rules the row, greyed, and the user's own setting
# stays stored. The Keep Sites rows name each site's source.
source "$(dirname "$0")/lib.sh"

roaming=$(driver folder 26 | tr -d '\r')
local_=$(driver folder 28 | tr -d '\r')
fx_profile="$roaming\\Mozilla\\Firefox\\Profiles\\r.default"
chrome="$local_\\Google\\Chrome\\User Data\\Default"
data=$E2E_ROOT/tests/data/browsers
make_file "$roaming\\Mozilla\\Firefox\\profiles.ini" $'[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/r.default\r\n'
make_file "$chrome\\Preferences" '{}'
# Fresh copies of the real stores: 20 rows each, 4 of each of 5 hosts.
copy_store() {
  rm -f "$(unix_path "$1")"*
  make_file "$1" && cp "$data/$2" "$(unix_path "$1")" && cp "$data/$2$3" "$(unix_path "$1")$3"
}
fx_store="$fx_profile\\cookies.sqlite"
chrome_store="$chrome\\Network\\Cookies"
copy_store "$fx_store" cookies.sqlite -wal
copy_store "$chrome_store" Cookies -journal
policy() { wine reg add "$1" /v "$2" /t "${4:-REG_SZ}" /d "$3" /f >/dev/null 2>&1 || fail "reg add $1 $2"; }
policy 'HKLM\Software\Policies\Nomblet\KeepSites' 1 news.example
policy 'HKCU\Software\Policies\Google\Chrome\CookiesAllowedForUrls' 1 '[*.]shop.example'
policy 'HKLM\Software\Policies\Mozilla\Firefox\Cookies\Allow' 1 'https://tracker.example'
policy 'HKLM\Software\Policies\Nomblet' MunchSiteData 0 REG_DWORD
policy 'HKCU\Software\Policies\Nomblet' MunchSiteData 1 REG_DWORD
write_settings <<'INI'
[Settings]
Autoload=0
SiteData=1
INI

# Chrome's rows of a site's hosts, read while the program runs (a read may
# meet a munch half done, so the callers wait for what they expect).
chrome_rows() { cookie_query "$chrome_store" "SELECT count(*) FROM cookies WHERE host_key LIKE '%$1'" 2>/dev/null; }
wait_chrome_rows() {
  local deadline=$((SECONDS + 20))
  until [ "$(chrome_rows "$1")" = "$2" ]; do
    [ $SECONDS -lt $deadline ] || fail "Chrome's store holds $(chrome_rows "$1") rows of $1, not $2"
    sleep 0.5
  done
}

start_nomblet
wait_chrome_rows keep.example 0
sleep 1
for site in news.example shop.example tracker.example; do
  [ "$(chrome_rows $site)" = 4 ] || fail "the policy on $site did not keep its rows in Chrome's store"
done

# Lists changed while the program runs rule the next munch, with no menu opened.
policy 'HKCU\Software\Policies\Nomblet\KeepSites' 1 keep.example
wine reg delete 'HKLM\Software\Policies\Mozilla\Firefox\Cookies\Allow' /f >/dev/null 2>&1 || fail "reg delete"
sleep 1
copy_store "$chrome_store" Cookies -journal
wait_chrome_rows tracker.example 0
[ "$(chrome_rows keep.example)" = 8 ] || fail "the list written while the program ran did not keep its site"

open_menu
rows=$(menu_rows)
echo "$rows" | grep -qx $'Munch Site Data\t0\t0\t1' || fail "the machine's MunchSiteData does not rule the row, greyed: $rows"
driver keys $(downs "$(menu_row_number 'Keep Sites')") right
sleep 0.2
rows=$(menu_rows | cut -f1,2,4)
driver keys escape escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
[ "$(settings_value Settings SiteData)" = 1 ] || fail "the user's own Munch Site Data was not left stored"
[ "$(cookie_query "$fx_store" "SELECT count(*) FROM moz_cookies WHERE host LIKE '%news.example' OR host LIKE '%shop.example'")" = 8 ] ||
  fail "Firefox's store lost rows of the sites the policies keep"
[ "$(cookie_query "$fx_store" "SELECT count(*) FROM moz_cookies WHERE host LIKE '%keep.example'")" = 0 ] ||
  fail "Firefox's store kept keep.example's rows before its policy was written"
for site in keep.example news.example shop.example; do
  echo "$rows" | grep -qx "$site (policy)"$'\t1\t1' || fail "no ticked, greyed row \"$site (policy)\": $rows"
done
pass
