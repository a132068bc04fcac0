#!/usr/bin/env bash
# Under Wine: a Firefox profile of N origins (bench/make_firefox_profile.py),
# one site of them kept, appears while nomblet.exe runs with "Munch Site Data"
# ticked; how long until every other origin folder is gone, against the
# checked floor (nomblet_wine_floor --except: one listing per folder, each
# entry opened for deletion, its final path compared, deleted through the
# handle) on an identical profile in the same run; then how long the tray menu
# takes to open at moments of such a munch. Prints min, median and max of each.
# NOMBLET_EXE=PATH measures another build of nomblet.exe (one kept from before a change, say).
#   bench/wine_site_data.sh [origins (10000)] [runs (3)] [menu openings (5)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/wine_site_data.sh [origins (10000)] [runs (3)] [menu openings (5)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source bench/lib.sh
bench_setup nomblet nomblet_wine_floor
origins=${1:-10000}
runs=${2:-3}
openings=${3:-5}
exe=$(realpath "${NOMBLET_EXE:-$PWD/build/win32/nomblet.exe}")
floor=$PWD/build/win32/nomblet_wine_floor.exe
kept=https+++site0.example

bench_prefix
printf '[Settings]\r\nSoundsOn=0\r\nAutoload=0\r\nSiteData=1\r\n[Keep Sites]\r\nsite0.example=1\r\n' \
  > "$c/windows/nomblet.ini"
profiles=$c/users/root/AppData/Roaming/Mozilla/Firefox
mkdir -p "$profiles/Profiles"
# The floor's profile as deep as the browser's (each name of a path costs its look under Wine), where no browser is.
floor_profile=$c/users/root/AppData/Roaming/Mozilla/FloorFox/Profiles/a.default
printf '[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n' > "$profiles/profiles.ini"

# Only the kept origin's folder is left.
only_kept() { [ "$(ls -A "$1")" = "$kept" ]; }
# The profile made aside, then moved into place; prints the seconds until its
# going origin folders are all gone, counted as the kernel reports them (inotify).
appear_and_wait() { python3 - "$profiles/Profiles" "$origins" <<'PY'
import ctypes, os, struct, sys, time
root, n = sys.argv[1], int(sys.argv[2])
stage = os.path.join(root, "stage")
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, os.path.join(stage, "storage", "default").encode(), 0x200) < 0:  # IN_DELETE
    sys.exit("no inotify")
left = n - 1
os.rename(stage, os.path.join(root, "a.default"))
start = time.monotonic()
while left > 0:
    data = os.read(fd, 1 << 16)
    at = 0
    while at < len(data):
        left -= 1
        at += 16 + struct.unpack_from("iIII", data, at)[3]
print(f"{time.monotonic() - start:.3f}", flush=True)
PY
}
now() { date +%s.%N; }

bench_start "$exe"
echo "load average before: $(load_average)"
floor_times=() munch_times=() ratios=()
for ((r = 1; r <= runs; r++)); do
  python3 bench/make_firefox_profile.py "$profiles/Profiles/stage" "$origins"
  python3 bench/make_firefox_profile.py "$floor_profile" "$origins"
  sync # neither pays for writing out what the other, or the staging, left
  t0=$(now)
  wine "$floor" --except "$kept" 'C:\users\root\AppData\Roaming\Mozilla\FloorFox\Profiles\a.default\storage\default' </dev/null >/dev/null 2>&1
  t1=$(now)
  only_kept "$floor_profile/storage/default" || { echo "the floor left folders behind" >&2; exit 1; }
  rm -rf "$floor_profile"
  sync
  m=$(appear_and_wait)
  sleep 1 # the quota cache's job and the last round end
  only_kept "$profiles/Profiles/a.default/storage/default" || { echo "nomblet kept another folder" >&2; exit 1; }
  rm -rf "$profiles/Profiles/a.default"
  f=$(echo "$t1 - $t0" | bc -l)
  floor_times+=("$f") munch_times+=("$m") ratios+=("$(echo "$m / $f" | bc -l)")
  printf 'run %d: floor %.3f s, nomblet %.3f s, ratio %.2f\n' "$r" "$f" "$m" "$(echo "$m / $f" | bc -l)"
done
echo "load average after: $(load_average)"
printf '%s\n' "${floor_times[@]}" | summary "the checked floor, $origins origins (s)"
printf '%s\n' "${munch_times[@]}" | summary "nomblet, $origins origins (s)"
printf '%s\n' "${ratios[@]}" | summary "ratio to the checked floor"
# Each opening pauses munching (the menu gate), so each moment gets a fresh profile.
latencies=()
for delay in 0.5 1 2 3 4 6 8; do
  [ ${#latencies[@]} -lt "$openings" ] || break
  python3 bench/make_firefox_profile.py "$profiles/Profiles/stage" "$origins"
  appear_and_wait >/dev/null &
  waiter=$!
  until [ -d "$profiles/Profiles/a.default" ]; do sleep 0.05; done
  sleep "$delay"
  ms=$(bench_menu_ms)
  latencies+=("$ms")
  printf 'menu opened %.1f s after the profile appeared: %d ms (load %s)\n' "$delay" "$ms" "$(load_average)"
  wait "$waiter"
  rm -rf "$profiles/Profiles/a.default"
done
[ "$openings" -eq 0 ] || printf '%s\n' "${latencies[@]}" | summary "tray menu opening during a munch (ms)"
bench_stop
