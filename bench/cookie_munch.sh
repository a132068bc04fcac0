#!/usr/bin/env bash
# Under Wine, side by side in one run: a cookie database of ROWS cookies shaped
# as Chromium and Firefox write them (3,000 hosts interleaved, 10 rows of the
# kept site) munched by the bare program (the fastest munch by hand on the same
# SQLite build), by the program's service alone (open, munch, close: the time
# the store is held), and by the real nomblet.exe (from the store's appearing
# until its journal or log is gone after the commit: one tick's wait included);
# then the tray menu's answer during such a munch of nomblet.exe and right after
# a tick on "Keep Sites" during one, and the time a store of 1,000 cookies is held. Prints each run and min, median and max.
#   bench/cookie_munch.sh [runs (5)] [rows (100000)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/cookie_munch.sh [runs (5)] [rows (100000)]"
  echo "Sets itself up (packages, Wine prefix, display, builds) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
runs=${1:-5}
rows=${2:-100000}
cmake --preset bench >/dev/null && cmake --build --preset bench --target nomblet_cookiedb >/dev/null
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target nomblet nomblet_driver nomblet_cookiedb >/dev/null
maker=$PWD/build/bench/nomblet_cookiedb
tool=$PWD/build/win32/nomblet_cookiedb.exe
exe=$PWD/build/win32/nomblet.exe
drv=$PWD/build/win32/tests/e2e/nomblet_driver.exe

export WINEPREFIX=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
work=$(mktemp -d /tmp/nomblet-cookiedb.XXXXXX)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
c=$WINEPREFIX/drive_c
mkdir -p "$c/bench"
printf '[Settings]\r\nSoundsOn=0\r\nAutoload=0\r\n[Keep Sites]\r\nkept.example=1\r\n' > "$c/windows/nomblet.ini"
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
driver() { wine "$drv" "$@" </dev/null | tr -d '\r'; }
local_=$(driver folder 28)
roaming=$(driver folder 26)
unix() { local p=${1#C:}; echo "$c${p//\\//}"; }
chrome=$(unix "$local_\\Google\\Chrome\\User Data\\Default\\Network")
firefox=$(unix "$roaming\\Mozilla\\Firefox\\Profiles\\a.default")
mkdir -p "$chrome" "$firefox"
echo '{}' > "$(dirname "$chrome")/Preferences"
printf '[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n' > "$(unix "$roaming\\Mozilla\\Firefox")/profiles.ini"

summary() { sort -n | awk -v what="$1" '{ v[NR] = $1 } END {
  printf "%s: min %.0f, median %.0f, max %.0f\n", what, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }
# Moves a store into its folder and prints the milliseconds until its journal
# or log is deleted (the munch has committed and closed), as the kernel tells.
appear_and_wait() { python3 - "$1" "$2" "$3" <<'PY'
import ctypes, os, struct, sys, time
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
folder = os.path.dirname(sys.argv[2])
if fd < 0 or libc.inotify_add_watch(fd, folder.encode(), 0x200) < 0:  # IN_DELETE
    sys.exit("no inotify")
os.rename(sys.argv[1], sys.argv[2])
start = time.monotonic()
while True:
    data, at, done = os.read(fd, 1 << 16), 0, False
    while at < len(data):
        length = struct.unpack_from("iIII", data, at)[3]
        name = data[at + 16:at + 16 + length].rstrip(b"\0").decode()
        done = done or name == os.path.basename(sys.argv[2]) + sys.argv[3]
        at += 16 + length
    if done:
        break
print(f"{(time.monotonic() - start) * 1000:.0f}")
PY
}
kept_left() { sqlite3 "$1" "SELECT count(*) FROM $2 WHERE $3 = '.kept.example'"; }

(cd "$c" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
pid=$!
driver wait TForm1 20 >/dev/null
sleep 2 # the about window's second
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in chromium firefox; do
  if [ $kind = chromium ]; then folder=$chrome name=Cookies companion=-journal table=cookies host=host_key
  else folder=$firefox name=cookies.sqlite companion=-wal table=moz_cookies host=host; fi
  bare=() service=() nomblet=() ratios=()
  for ((r = 1; r <= runs; r++)); do
    "$maker" make $kind "$work/store" "$rows"
    for copy in bare service stage; do cp "$work/store" "$c/bench/$copy"; done
    sync
    b=$(wine "$tool" bare $kind 'C:\bench\bare' </dev/null | tr -d '\r')
    s=$(wine "$tool" service $kind 'C:\bench\service' </dev/null | tr -d '\r')
    n=$(appear_and_wait "$c/bench/stage" "$folder/$name" "$companion")
    for f in "$c/bench/bare" "$c/bench/service" "$folder/$name"; do
      [ "$(kept_left "$f" $table $host)" = 10 ] && [ "$(sqlite3 "$f" "SELECT count(*) FROM $table")" = 10 ] &&
        [ "$(sqlite3 "$f" 'PRAGMA integrity_check')" = ok ] || { echo "$f: not munched as it should be" >&2; exit 1; }
    done
    rm -f "$c/bench/bare" "$c/bench/service" "$folder/$name"*
    # The goal: within 1.2 times the bare program, plus at most one tick.
    bare+=("$b") service+=("$s") nomblet+=("$n") ratios+=("$(echo "($n - 500) / $b * 100" | bc -l)")
    printf '%s run %d: bare %s ms, service %s ms, nomblet.exe %s ms (less a tick, %.2f of the bare)\n' \
      $kind "$r" "$b" "$s" "$n" "$(echo "($n - 500) / $b" | bc -l)"
  done
  printf '%s\n' "${bare[@]}" | summary "$kind, $rows cookies, the bare program (ms)"
  printf '%s\n' "${service[@]}" | summary "$kind, $rows cookies, the service (ms)"
  printf '%s\n' "${nomblet[@]}" | summary "$kind, $rows cookies, nomblet.exe, a tick included (ms)"
  printf '%s\n' "${ratios[@]}" | summary "$kind, nomblet.exe less a tick to the bare program (%)"
done

# The tray menu during a munch of Chromium's store: each opening pauses the
# cycle (the menu gate), never the worker's munch.
latencies=()
for delay in 0.5 0.8 1.1 1.4 1.7; do
  "$maker" make chromium "$c/bench/stage" "$rows"
  sync
  appear_and_wait "$c/bench/stage" "$chrome/Cookies" -journal >/dev/null &
  waiter=$!
  sleep "$delay"
  ms=$(driver popup TTrayIconWindow 60)
  driver keys escape
  latencies+=("$ms")
  printf 'menu opened %.1f s after the store appeared: %d ms\n' "$delay" "$ms"
  wait "$waiter"
  rm -f "$chrome/Cookies"*
done
printf '%s\n' "${latencies[@]}" | summary "tray menu opening during a munch (ms)"

# A site ticked under "Keep Sites" during such a munch (the first site munched
# lately, so that the store's munch is rolled back and done again): the tray
# menu opened right after the tick tells how long the tick held the UI thread.
row_of() { driver menu | awk -F'\t' -v c="$1" '$1 != "-" { i++; if ($1 ~ c) { print i; exit } }'; }
keep_row=$( (driver popup TTrayIconWindow 60 >/dev/null; sleep 0.3; row_of '^Keep Sites$'; driver keys escape) | head -1)
ticks=()
for delay in 0.5 0.7 0.9 1.1 1.3; do
  "$maker" make chromium "$c/bench/stage" "$rows"
  sync
  appear_and_wait "$c/bench/stage" "$chrome/Cookies" -journal >/dev/null &
  waiter=$!
  sleep "$delay"
  driver popup TTrayIconWindow 60 >/dev/null
  driver keys $(for ((i = 0; i < keep_row; i++)); do echo down; done) right
  sleep 0.2
  site=$(driver menu | awk -F'\t' '$1 != "-" { i++; if ($2 == 0 && $1 ~ /\./) { print i; exit } }')
  driver keys $(for ((i = 1; i < ${site:-1}; i++)); do echo down; done) return
  ms=$(driver popup TTrayIconWindow 60)
  driver keys escape
  ticks+=("$ms")
  printf 'a site ticked %.1f s after the store appeared: the menu opened %d ms after the tick\n' "$delay" "$ms"
  wait "$waiter"
  rm -f "$chrome/Cookies"*
done
printf '%s\n' "${ticks[@]}" | summary "tray menu opening right after a tick on Keep Sites during a munch (ms)"
driver close TForm1 >/dev/null
wait "$pid" 2>/dev/null || true
pid=

# The time a store of 1,000 cookies is held, a browser's start refused meanwhile.
held=()
for ((r = 1; r <= runs; r++)); do
  "$maker" make chromium "$c/bench/small" 1000
  held+=("$(wine "$tool" service chromium 'C:\bench\small' </dev/null | tr -d '\r')")
done
printf '%s\n' "${held[@]}" | summary "a store of 1,000 cookies held by the service (ms)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
