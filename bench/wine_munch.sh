#!/usr/bin/env bash
# Under Wine: how long nomblet.exe, sounds on, takes from the moment a cookie
# folder of N files appears until it is empty, against `cmd /c del /q` on an
# identical folder in the same run; then how long the tray menu takes to open
# at several moments of such a munch. Prints min, median and max of each.
#   bench/wine_munch.sh [files (20000)] [runs (5)]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet nomblet_driver >/dev/null
files=${1:-20000}
runs=${2:-5}
exe=$PWD/build/win32/nomblet.exe
drv=$PWD/build/win32/tests/e2e/nomblet_driver.exe

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
printf '[Cookie Dir]\r\nDir=C:\\ie\\cookies\r\n[Settings]\r\nSoundsOn=1\r\nAutoload=0\r\n' > "$c/windows/nomblet.ini"
mkdir -p "$c/ie"

# Sounds really play, into ALSA's null device: every PlaySoundA opens the
# player and hands it the samples, as on a machine with a sound card.
mkdir -p "$WINEPREFIX/xdg/alsa"
echo 'pcm.!default { type null }' > "$WINEPREFIX/xdg/alsa/asoundrc"
export XDG_CONFIG_HOME=$WINEPREFIX/xdg

driver() { wine "$drv" "$@" </dev/null; }
# A folder of cookie files made aside, on the same file system, so that it can
# appear at once. Prints the name that a listing of the folder gives last.
stage() { python3 - "$1" "$files" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], f"user@site{i}.txt"), "w") as f:
        f.write("cookie")
print(os.listdir(sys.argv[1])[-1])
PY
}
now() { date +%s.%N; }
empty() { [ -z "$(find "$1" -mindepth 1 -print -quit)" ]; }
# Waits until a folder being emptied in listing order is empty. Reading the
# folder again and again would compete with the deletes for it (and grows
# slower as it empties), so the last listed file is watched first.
wait_empty() {
  while [ -e "$1/$2" ]; do sleep 0.005; done
  until empty "$1"; do sleep 0.02; done
}
summary() { sort -n | awk -v what="$1" '{ v[NR] = $1 } END {
  printf "%s: min %.3f, median %.3f, max %.3f\n", what, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }

wine cmd /c exit </dev/null >/dev/null 2>&1 || true
(cd "$c" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
pid=$!
driver wait TForm1 20 >/dev/null
sleep 2 # the about window's second

del_times=() munch_times=() ratios=()
for ((r = 1; r <= runs; r++)); do
  stage "$c/del-stage" >/dev/null
  mv "$c/del-stage" "$c/del"
  t0=$(now)
  wine cmd /c 'del /q C:\del\*.*' </dev/null >/dev/null 2>&1
  t1=$(now)
  empty "$c/del" || { echo "del left files behind" >&2; exit 1; }
  rmdir "$c/del"

  last=$(stage "$c/ie/stage")
  t2=$(now)
  mv "$c/ie/stage" "$c/ie/cookies"
  wait_empty "$c/ie/cookies" "$last"
  t3=$(now)
  rmdir "$c/ie/cookies"
  d=$(echo "$t1 - $t0" | bc -l) m=$(echo "$t3 - $t2" | bc -l)
  del_times+=("$d") munch_times+=("$m") ratios+=("$(echo "$m / $d" | bc -l)")
  printf 'run %d: del /q %.3f s, nomblet %.3f s, ratio %.2f\n' "$r" "$d" "$m" "$(echo "$m / $d" | bc -l)"
done
printf '%s\n' "${del_times[@]}" | summary "del /q, $files files (s)"
printf '%s\n' "${munch_times[@]}" | summary "nomblet, sounds on, $files files (s)"
printf '%s\n' "${ratios[@]}" | summary "ratio"

# The tray menu at several moments of a munch: each opening pauses munching
# (the menu gate), so each moment gets a fresh folder.
latencies=()
for delay in 0.1 0.3 0.6 0.9 1.2; do
  last=$(stage "$c/ie/stage")
  mv "$c/ie/stage" "$c/ie/cookies"
  sleep "$delay"
  ms=$(driver popup TTrayIconWindow 60 | tr -d '\r')
  driver keys escape
  latencies+=("$ms")
  printf 'menu opened %.1f s after the folder appeared: %d ms\n' "$delay" "$ms"
  wait_empty "$c/ie/cookies" "$last"
  rmdir "$c/ie/cookies"
done
printf '%s\n' "${latencies[@]}" | summary "tray menu opening during a munch (ms)"
driver close TForm1 >/dev/null
wait "$pid" 2>/dev/null || true
pid=
