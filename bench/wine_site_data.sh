#!/usr/bin/env bash
# Under Wine: a Firefox profile of N origins (each folder with its localStorage
# and metadata files, the quota manager's cache beside them) appears while
# nomblet.exe runs with "Munch Site Data" ticked; how long until every origin
# folder is gone, and how long the tray menu takes to open at moments of such a
# munch. Prints min, median and max of each.
#   bench/wine_site_data.sh [origins (10000)] [runs (3)] [menu openings (5)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/wine_site_data.sh [origins (10000)] [runs (3)] [menu openings (5)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet nomblet_driver >/dev/null
origins=${1:-10000}
runs=${2:-3}
openings=${3:-5}
exe=$PWD/build/win32/nomblet.exe
drv=$PWD/build/win32/tests/e2e/nomblet_driver.exe
cache=$PWD/tests/data/browsers/firefox/storage.sqlite

export WINEPREFIX=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
c=$WINEPREFIX/drive_c
printf '[Settings]\r\nSoundsOn=0\r\nAutoload=0\r\nSiteData=1\r\n' > "$c/windows/nomblet.ini"
profiles=$c/users/root/AppData/Roaming/Mozilla/Firefox
mkdir -p "$profiles/Profiles"
printf '[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n' > "$profiles/profiles.ini"

driver() { wine "$drv" "$@" </dev/null; }
# A profile made aside, then moved into place; prints the seconds until its
# origin folders are all gone, counted as the kernel reports them (inotify).
appear_and_wait() { python3 - "$profiles/Profiles" "$origins" "$cache" <<'PY'
import ctypes, os, shutil, struct, sys, time
root, n = sys.argv[1], int(sys.argv[2])
stage = os.path.join(root, "stage")
default = os.path.join(stage, "storage", "default")
for i in range(n):
    folder = os.path.join(default, f"https+++site{i}.example")
    os.makedirs(os.path.join(folder, "ls"))
    for name in (".metadata-v2", os.path.join("ls", "data.sqlite")):
        with open(os.path.join(folder, name), "w") as f:
            f.write("x" * 512)
shutil.copy(sys.argv[3], stage)
os.sync()
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, default.encode(), 0x200) < 0:  # IN_DELETE
    sys.exit("no inotify")
left = n
os.rename(stage, os.path.join(root, "a.default"))
start = time.monotonic()
while left > 0:
    data = os.read(fd, 1 << 16)
    at = 0
    while at < len(data):
        left -= 1
        at += 16 + struct.unpack_from("iIII", data, at)[3]
print(f"{time.monotonic() - start:.3f}", flush=True)
shutil.rmtree(os.path.join(root, "a.default"))
PY
}
summary() { sort -n | awk -v what="$1" '{ v[NR] = $1 } END {
  printf "%s: min %.3f, median %.3f, max %.3f\n", what, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }

wine cmd /c exit </dev/null >/dev/null 2>&1 || true
(cd "$c" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
pid=$!
driver wait TForm1 20 >/dev/null
sleep 2 # the about window's second

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
times=()
for ((r = 1; r <= runs; r++)); do
  t=$(appear_and_wait)
  times+=("$t")
  echo "run $r: $origins origins munched in $t s"
done
printf '%s\n' "${times[@]}" | summary "$origins origins (s)"
# Each opening pauses munching (the menu gate), so each moment gets a fresh profile.
latencies=()
for delay in 0.5 1 2 3 4 6 8; do
  [ ${#latencies[@]} -lt "$openings" ] || break
  appear_and_wait >/dev/null &
  waiter=$!
  until [ -d "$profiles/Profiles/a.default" ]; do sleep 0.05; done
  sleep "$delay"
  ms=$(driver popup TTrayIconWindow 60 | tr -d '\r')
  driver keys escape
  latencies+=("$ms")
  printf 'menu opened %.1f s after the profile appeared: %d ms\n' "$delay" "$ms"
  wait "$waiter"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
[ "$openings" -eq 0 ] || printf '%s\n' "${latencies[@]}" | summary "tray menu opening during a munch (ms)"
driver close TForm1 >/dev/null
wait "$pid" 2>/dev/null || true
pid=
