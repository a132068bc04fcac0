# A store whose -wal another program holds open stays whole, its companions
# with it, while the store itself is free; once the -wal is let go, the store
# and both companions go together and count as one.
source "$(dirname "$0")/lib.sh"

roaming=$(driver folder 26 | tr -d '\r')
firefox="$roaming\\Mozilla\\Firefox"
make_file "$firefox\\profiles.ini" $'[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n\r\n[Profile1]\r\nIsRelative=1\r\nPath=Profiles/b.witness\r\n'
store="$firefox\\Profiles\\a.default\\cookies.sqlite"
witness="$firefox\\Profiles\\b.witness\\cookies.sqlite"
trio=("$store" "$store-wal" "$store-shm")
for file in "${trio[@]}" "$witness"; do make_file "$file" 'SQLite format 3'; done
write_settings <<'INI'
[Settings]
Autoload=0
INI

# Another program holds the -wal, as a browser does, without delete sharing.
driver hold "$store-wal" 10000 'C:\held.marker' &
holder=$!
deadline=$((SECONDS + 10))
until file_exists 'C:\held.marker'; do
  [ $SECONDS -lt $deadline ] || fail "the -wal was not held"
  sleep 0.05
done

start_nomblet
# The other profile's store going shows that the ticks look at the stores.
deadline=$((SECONDS + 10))
while file_exists "$witness"; do
  [ $SECONDS -lt $deadline ] || fail "the free store of the other profile was not munched"
  sleep 0.1
done
sleep 1.2 # two more ticks
kill -0 "$holder" 2>/dev/null || fail "the -wal was let go too early for the test"
for file in "${trio[@]}"; do file_exists "$file" || fail "$file went while the -wal was held"; done

wait "$holder" || fail "the holder failed"
deadline=$((SECONDS + 5))
while file_exists "$store"; do
  [ $SECONDS -lt $deadline ] || fail "the store was not munched once its -wal was let go"
  sleep 0.05
done
for file in "${trio[@]}"; do ! file_exists "$file" || fail "$file stayed after its store"; done
count=$(munched_count)
[ "$count" = 2 ] || fail "the menu shows $count munched, not 2 (the witness and the store, once)"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
