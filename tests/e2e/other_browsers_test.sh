# The cookie stores of five browsers are munched whole with their companions,
# and nothing else of their profiles; a store held open by its browser stays
# until it is let go; a family unchecked in "Other Browsers" is spared, also
# after a restart.
source "$(dirname "$0")/lib.sh"

roaming=$(driver folder 26 | tr -d '\r')
local_=$(driver folder 28 | tr -d '\r')
firefox="$roaming\\Mozilla\\Firefox"
chrome="$local_\\Google\\Chrome\\User Data"
edge="$local_\\Microsoft\\Edge\\User Data"
brave="$local_\\BraveSoftware\\Brave-Browser\\User Data"
opera="$roaming\\Opera Software\\Opera Stable"

make_file "$firefox\\profiles.ini" $'[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n\r\n[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=C:\\FxProfiles\\work\r\n'
held="$chrome\\Default\\Network\\Cookies"
# Each store, then "|" and its companions.
stores=(
  "$firefox\\Profiles\\a.default\\cookies.sqlite|-wal -shm"
  "C:\\FxProfiles\\work\\cookies.sqlite|-journal"
  "$held|-journal"
  "$chrome\\Profile 1\\Network\\Cookies|-wal -shm"
  "$chrome\\Profile 1\\Cookies|-journal"
  "$edge\\Default\\Network\\Cookies|-journal"
  "$opera\\Network\\Cookies|-journal"
  "$brave\\Default\\Network\\Cookies|-wal"
)
kept=(
  "$firefox\\Profiles\\a.default\\places.sqlite" "$firefox\\Profiles\\a.default\\key4.db"
  "$firefox\\Profiles\\a.default\\logins.json" "$firefox\\Profiles\\a.default\\parent.lock"
  "C:\\FxProfiles\\work\\places.sqlite" "$chrome\\Local State" "$chrome\\Default\\History"
  "$chrome\\Default\\Login Data" "$chrome\\Default\\Preferences" "$chrome\\Default\\Network\\Cookies.bak"
  "$chrome\\Profile 1\\Preferences" "$edge\\Default\\Login Data" "$edge\\Default\\Preferences"
  "$opera\\Preferences" "$brave\\Default\\lockfile" "$brave\\Default\\Preferences"
)
for entry in "${stores[@]}"; do
  store=${entry%%|*}
  make_file "$store" 'SQLite format 3'
  for suffix in ${entry#*|}; do make_file "$store$suffix" 'journal'; done
done
for file in "${kept[@]}"; do make_file "$file" 'keep'; done
write_settings <<'INI'
[Settings]
Autoload=0
INI

# Chrome runs: it holds its store open, without delete sharing.
driver hold "$held" 6000 'C:\held.marker' &
holder=$!
deadline=$((SECONDS + 10))
until file_exists 'C:\held.marker'; do
  [ $SECONDS -lt $deadline ] || fail "the store was not held"
  sleep 0.05
done

start_nomblet
all_gone_but_held() {
  local entry store suffix
  for entry in "${stores[@]}"; do
    store=${entry%%|*}
    [ "$store" = "$held" ] && continue
    ! file_exists "$store" || return 1
    for suffix in ${entry#*|}; do ! file_exists "$store$suffix" || return 1; done
  done
}
deadline=$((SECONDS + 10))
until all_gone_but_held; do
  [ $SECONDS -lt $deadline ] || fail "the stores were not munched with their companions"
  sleep 0.1
done
kill -0 "$holder" 2>/dev/null || fail "the store was let go too early for the test"
file_exists "$held" || fail "the store held open was munched"
file_exists "$held-journal" || fail "the journal of a store held open was deleted"

wait "$holder" || fail "the holder failed"
released=$(date +%s%N)
until ! file_exists "$held"; do
  [ $((($(date +%s%N) - released) / 1000000)) -lt 3000 ] || fail "the store let go was not munched"
  sleep 0.02
done
took=$((($(date +%s%N) - released) / 1000000))
echo "[$E2E_NAME] the store let go was munched $took ms after its release"
[ "$took" -le 1000 ] || fail "the store let go was munched after $took ms"
! file_exists "$held-journal" || fail "the journal stayed after its store"
for file in "${kept[@]}"; do file_exists "$file" || fail "$file was deleted"; done

open_menu
menu_rows | grep -q $'^Munched = 8\t' || fail "the menu does not show 8 munched: $(menu_rows)"
driver keys $(downs "$(menu_row_number 'Other Browsers')") right
sleep 0.2
rows=$(menu_rows | cut -f1,2)
[ "$rows" = "$(printf '%s\n' $'Firefox\t1' $'Google Chrome\t1' $'Microsoft Edge\t1' $'Brave\t1' $'Opera\t1')" ] ||
  fail "the Other Browsers rows read:
$rows"
driver keys escape escape
sleep 0.3

choose_menu_row 'Other Browsers/Microsoft Edge'
[ "$(settings_value 'Other Browsers' 'Microsoft Edge')" = 0 ] || fail "Microsoft Edge=0 was not saved"
[ "$(settings_value 'Other Browsers' 'Firefox')" = 1 ] || fail "Firefox=1 was not saved"
spared_after_a_munch() {
  make_file "$edge\\Default\\Network\\Cookies" 'SQLite format 3'
  make_file "$brave\\Default\\Network\\Cookies" 'SQLite format 3'
  local deadline=$((SECONDS + 5))
  while file_exists "$brave\\Default\\Network\\Cookies"; do
    [ $SECONDS -lt $deadline ] || fail "Brave was not munched ($1)"
    sleep 0.1
  done
  sleep 1 # two more ticks
  file_exists "$edge\\Default\\Network\\Cookies" || fail "Microsoft Edge was munched while unchecked ($1)"
}
spared_after_a_munch "unchecked"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"

start_nomblet
spared_after_a_munch "after a restart"
[ "$(settings_value 'Other Browsers' 'Microsoft Edge')" = 0 ] || fail "Microsoft Edge=0 was not kept"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
