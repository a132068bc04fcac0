# The cleanup commands through the tray menu: a cookie set by a browser is gone
# after "Clear IE Cookie Cache Shortcuts"; "Clear IE Cache" empties the cache
# entries and the shell's cache folder level by level, and never reaches through a link.
source "$(dirname "$0")/lib.sh"

site='http://cleanup.nomblet.test/'
driver setcookie "$site" 'flavour=oatmeal; expires=Sat, 01-Jan-2050 00:00:00 GMT' || fail "no cookie could be set"
[ "$(driver getcookie "$site" | tr -d '\r')" = "flavour=oatmeal" ] || fail "the cookie was not kept"
driver cacheadd 'http://cleanup.nomblet.test/page.htm' || fail "no page could be cached"

tif=$(driver folder 32 | tr -d '\r') # the shell's Internet cache folder
make_file "$tif\\L1\\f1.htm"
make_file "$tif\\L1\\L2\\f2.gif"
make_file "$tif\\L1\\L2\\L3\\f3.js"
make_file "$tif\\top.htm"
make_file 'C:\windows\outside.txt'
make_file 'C:\windows\Temporary Internet Files\old.htm' # the cache of Windows 98, no longer this one
make_file 'C:\canary-full\keep.txt' 'mine'
make_file 'C:\canary-full\sub\deeper.txt' 'mine too'
mkdir -p "$(unix_path 'C:\canary-empty')"
mkdir -p "$(unix_path "$tif\\Links")"
ln -s "$(unix_path 'C:\canary-full')" "$(unix_path "$tif\\Links\\ToFull")"
ln -s "$(unix_path 'C:\canary-empty')" "$(unix_path "$tif\\ToEmpty")"
ln -s "$(unix_path "$tif")" "$(unix_path "$tif\\Links\\ToItself")"

canaries_intact() {
  [ "$(cat "$(unix_path 'C:\canary-full\keep.txt')")" = mine ] &&
    [ "$(cat "$(unix_path 'C:\canary-full\sub\deeper.txt')")" = "mine too" ] &&
    [ -d "$(unix_path 'C:\canary-empty')" ] &&
    file_exists 'C:\windows\outside.txt' && file_exists 'C:\windows\Temporary Internet Files\old.htm' &&
    for link in "$tif\\Links\\ToFull" "$tif\\ToEmpty" "$tif\\Links\\ToItself"; do
      [ -L "$(unix_path "$link")" ] || return 1
    done
}

start_nomblet
sleep 1.2 # the about window has gone

choose_menu_row 'Clear IE Cookie Cache Shortcuts'
sleep 0.5
[ -z "$(driver getcookie "$site" | tr -d '\r')" ] || fail "the cookie is still there"
driver cachelist | tr -d '\r' | grep -qx 'http://cleanup.nomblet.test/page.htm' || fail "the page went with the cookies"

choose_menu_row 'Clear IE Cache'
sleep 1
! driver cachelist | tr -d '\r' | grep -q 'nomblet.test' || fail "cache entries are left"
for gone in "$tif\\top.htm" "$tif\\L1\\f1.htm" "$tif\\L1\\L2\\f2.gif" "$tif\\L1\\L2\\L3\\f3.js" "$tif\\L1\\L2\\L3"; do
  ! file_exists "$gone" || fail "$gone is left after the first run"
done
# Each folder was still full when its turn came in the first pass.
file_exists "$tif\\L1\\L2" || fail "the middle level went in the first run"
canaries_intact || fail "something outside the cache folder was touched by the first run"

for run in 2 3; do
  choose_menu_row 'Clear IE Cache'
  sleep 1
  canaries_intact || fail "something outside the cache folder was touched by run $run"
done
! file_exists "$tif\\L1" || fail "the emptied folders were not removed by the later runs"
file_exists "$tif" || fail "the cache folder itself was removed"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
