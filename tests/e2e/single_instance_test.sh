# A second copy started while one runs leaves at once and touches nothing.
source "$(dirname "$0")/lib.sh"

start_nomblet
first=$E2E_PID
(cd "$WINEPREFIX/drive_c" && exec wine "$E2E_EXE" </dev/null >/dev/null 2>&1) &
second=$!
deadline=$((SECONDS + 5))
while kill -0 "$second" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "the second copy still runs"
  sleep 0.1
done
kill -0 "$first" 2>/dev/null || fail "the first copy ended too"
[ ! -e "$(settings_file)" ] || fail "the second copy wrote the settings file"

close_nomblet
wait_for_exit 5 || fail "the first copy did not end"
[ -e "$(settings_file)" ] || fail "the first copy did not save at exit"
pass
