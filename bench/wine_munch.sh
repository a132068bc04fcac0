#!/usr/bin/env bash
# Under Wine: how long nomblet.exe takes from the moment a cookie folder of N
# files appears until it is empty, against `cmd /c del /q` and the checked floor
# (nomblet_wine_floor: a bare loop deleting each file as the program checks it)
# on identical folders in the same run; then how long the tray menu takes to
# open at several moments of such a munch. Prints min, median and max of each.
# NOMBLET_EXE=PATH measures another build of nomblet.exe (one kept from before a change, say).
#   bench/wine_munch.sh [files (20000)] [runs (5)] [sounds on (1) or off (0)] [menu openings (5)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/wine_munch.sh [files (20000)] [runs (5)] [sounds on (1) or off (0)] [menu openings (5)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source bench/lib.sh
bench_setup nomblet nomblet_wine_floor
files=${1:-20000}
runs=${2:-5}
sounds=${3:-1}
openings=${4:-5}
exe=$(realpath "${NOMBLET_EXE:-$PWD/build/win32/nomblet.exe}")
floor=$PWD/build/win32/nomblet_wine_floor.exe

bench_prefix
printf '[Cookie Dir]\r\nDir=C:\\ie\\cookies\r\n[Settings]\r\nSoundsOn=%s\r\nAutoload=0\r\n' "$sounds" > "$c/windows/nomblet.ini"
mkdir -p "$c/ie"

# Sounds go wherever the prefix sends them, as for a user of scripts/run. (An
# ALSA null device is no stand-in for a sound card: Wine's player spins on it.)

# A folder of cookie files made aside, on the same file system, so that it can appear at once.
stage() { python3 - "$1" "$files" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], f"user@site{i}.txt"), "w") as f:
        f.write("cookie")
PY
}
now() { date +%s.%N; }
empty() { [ -z "$(find "$1" -mindepth 1 -print -quit)" ]; }
# Moves a staged folder into place and prints the seconds until all its files
# are gone. The deletes are counted as the kernel reports them (inotify):
# reading the folder again and again would compete with them for it.
appear_and_wait() { python3 - "$1" "$2" "$files" <<'PY'
import ctypes, os, struct, sys, time
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, sys.argv[1].encode(), 0x200) < 0:  # IN_DELETE
    sys.exit("no inotify")
left = int(sys.argv[3])
os.rename(sys.argv[1], sys.argv[2])
start = time.monotonic()
while left > 0:
    data = os.read(fd, 1 << 16)
    at = 0
    while at < len(data):
        length = struct.unpack_from("iIII", data, at)[3]
        left -= 1
        at += 16 + length
print(f"{time.monotonic() - start:.3f}")
PY
}

bench_start "$exe"

del_times=() floor_times=() munch_times=() ratios=() floor_ratios=()
echo "load average before: $(load_average)"
for ((r = 1; r <= runs; r++)); do
  stage "$c/ie/del-stage"
  stage "$c/ie/floor"
  stage "$c/ie/stage"
  mv "$c/ie/del-stage" "$c/ie/del"
  sync # neither program pays for writing out what the other, or the staging, left
  t0=$(now)
  wine cmd /c 'del /q C:\ie\del\*.*' </dev/null >/dev/null 2>&1
  t1=$(now)
  empty "$c/ie/del" || { echo "del left files behind" >&2; exit 1; }
  rmdir "$c/ie/del"
  sync
  t2=$(now)
  wine "$floor" 'C:\ie\floor' </dev/null >/dev/null 2>&1
  t3=$(now)
  empty "$c/ie/floor" || { echo "the floor left files behind" >&2; exit 1; }
  rmdir "$c/ie/floor"
  sync
  m=$(appear_and_wait "$c/ie/stage" "$c/ie/cookies")
  rmdir "$c/ie/cookies"
  d=$(echo "$t1 - $t0" | bc -l)
  f=$(echo "$t3 - $t2" | bc -l)
  del_times+=("$d") floor_times+=("$f") munch_times+=("$m") ratios+=("$(echo "$m / $d" | bc -l)")
  floor_ratios+=("$(echo "$m / $f" | bc -l)")
  printf 'run %d: del /q %.3f s, floor %.3f s, nomblet %.3f s, ratio to del %.2f, to the floor %.2f\n' \
    "$r" "$d" "$f" "$m" "$(echo "$m / $d" | bc -l)" "$(echo "$m / $f" | bc -l)"
done
echo "load average after: $(load_average)"
printf '%s\n' "${del_times[@]}" | summary "del /q, $files files (s)"
printf '%s\n' "${munch_times[@]}" | summary "nomblet, sounds $([ "$sounds" = 1 ] && echo on || echo off), $files files (s)"
printf '%s\n' "${floor_times[@]}" | summary "the checked floor, $files files (s)"
printf '%s\n' "${ratios[@]}" | summary "ratio to del /q"
printf '%s\n' "${floor_ratios[@]}" | summary "ratio to the checked floor"

# The tray menu at several moments of a munch: each opening pauses munching
# (the menu gate), so each moment gets a fresh folder.
latencies=()
for delay in 0.1 0.3 0.6 0.9 1.2 1.5 1.8 2.1 2.4 2.7; do
  [ ${#latencies[@]} -lt "$openings" ] || break
  stage "$c/ie/stage"
  appear_and_wait "$c/ie/stage" "$c/ie/cookies" >/dev/null &
  waiter=$!
  sleep "$delay"
  ms=$(bench_menu_ms)
  latencies+=("$ms")
  printf 'menu opened %.1f s after the folder appeared: %d ms\n' "$delay" "$ms"
  wait "$waiter"
  rmdir "$c/ie/cookies"
done
[ "$openings" -eq 0 ] || printf '%s\n' "${latencies[@]}" | summary "tray menu opening during a munch (ms)"
bench_stop
