# A cache folder that is itself a link is not walked: with it a link to a
# folder of the user's, or to the Windows folder, Clear IE Cache still sweeps
# the cache entries and leaves every file where the link leads.
source "$(dirname "$0")/lib.sh"

tif=$(driver folder 32 | tr -d '\r') # the shell's Internet cache folder
make_file 'C:\mine\letter.doc' 'dear'
make_file 'C:\mine\sub\photo.jpg' 'me'
rm -rf "$(unix_path "$tif")"

for target in 'C:\mine' 'C:\windows'; do
  rm -f "$(unix_path "$tif")"
  ln -s "$(unix_path "$target")" "$(unix_path "$tif")"
  find "$(unix_path "$target")" -maxdepth 2 | sort > "$WINEPREFIX/before"
  driver cacheadd 'http://link.nomblet.test/page.htm' || fail "no page could be cached"
  start_nomblet
  sleep 1.2
  choose_menu_row 'Clear IE Cache'
  sleep 1
  ! driver cachelist | tr -d '\r' | grep -q 'link.nomblet.test' || fail "the cache entries were not swept"
  gone=$(find "$(unix_path "$target")" -maxdepth 2 | sort | comm -23 "$WINEPREFIX/before" -)
  [ -z "$gone" ] || fail "with the cache folder a link to $target, files went there: $gone"
  [ -L "$(unix_path "$tif")" ] || fail "the link was removed"
  close_nomblet
  wait_for_exit 5 || fail "nomblet.exe did not end"
done
pass
