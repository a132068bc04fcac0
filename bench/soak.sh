#!/usr/bin/env bash
# Under Wine: nomblet.exe left running for a long time while a new cookie file
# appears in its cookie folder every 100 ms and the tray menu opens now and then.
# At each sample it prints one line: the program's memory (resident, and the
# anonymous part of it, where the Windows heap lives), its descriptors, its
# handles and threads as Windows counts them, the munch counter as the tray menu
# shows it, the files written and those still waiting. It fails when a file was
# missed (a cookie left behind, or a counter that differs from the files
# written) or when memory, descriptors, handles or threads grew.
#   bench/soak.sh [minutes (30)] [seconds between samples (30)] [sounds on (1) or off (0)]
#
# Each sample reads the counter in the open menu, which pauses munching (up to
# five seconds, until the menu gate times out); every minute the menu also stays
# open for three seconds, as a user reading it would keep it. While the menu is
# open no file is deleted, so the counter and the files that were written before
# it was read and are still there add up to exactly the files written then.
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/soak.sh [minutes (30)] [seconds between samples (30)] [sounds on (1) or off (0)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
minutes=${1:-30}
interval=${2:-30}
sounds=${3:-1}
source scripts/setup
built=$( (cmake --preset win32 && cmake --build --preset win32 --target nomblet nomblet_driver) 2>&1) ||
  { echo "$built" >&2; echo "FAIL [soak]: the build failed" >&2; exit 1; }
set -- build/win32/nomblet.exe build/win32/tests/e2e/nomblet_driver.exe
source tests/e2e/lib.sh

# Growth allowed between the samples after the warm-up and the last ones. One
# object lost per cookie exceeds each over a run of 30 minutes (18,000 cookies):
# 1 MB is 58 bytes a cookie.
memory_tolerance_kb=1024
fd_tolerance=4
handle_tolerance=16
thread_tolerance=2
warmup=$((minutes * 60 / 5 < 300 ? minutes * 60 / 5 : 300)) # seconds
grace=90 # seconds after the last file for the folder to empty

folder=$WINEPREFIX/drive_c/ie/cookies
stage=$WINEPREFIX/drive_c/ie/stage
written_file=$WINEPREFIX/written
mkdir -p "$folder" "$stage"
write_settings <<INI
[Cookie Dir]
Dir=C:\\ie\\cookies
[Settings]
SoundsOn=$sounds
Autoload=0
INI
record_sounds # the sounds go to files: no sound card is needed, and none spins

writer=
soak_cleanup() {
  [ -z "$writer" ] || kill "$writer" 2>/dev/null || true
  e2e_cleanup
}
trap soak_cleanup EXIT

# A new cookie every 100 ms on a fixed schedule (a late one is made at once),
# written aside and renamed into the folder so that it appears whole. The count
# of files made so far is kept in a file, replaced after each.
write_cookies() { python3 - "$stage" "$folder" "$written_file" "$1" <<'PY'
import os, sys, time
stage, folder, count_file, seconds = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
start = time.monotonic()
n = 0
while n < seconds * 10:
    delay = start + n / 10 - time.monotonic()
    if delay > 0:
        time.sleep(delay)
    name = f"soak{n:07d}.txt"
    with open(os.path.join(stage, name), "w") as f:
        f.write(f"cookie {n}\n")
    os.rename(os.path.join(stage, name), os.path.join(folder, name))
    n += 1
    with open(count_file + ".new", "w") as f:
        f.write(f"{n}\n")
    os.replace(count_file + ".new", count_file)
PY
}

status_kb() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$2/status"; }
fds() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l; }
written() { cat "$written_file" 2>/dev/null || echo 0; }
sound_kb() { find "$E2E_SOUNDS" -name '*.raw' -printf '%s\n' | awk '{ n += $1 } END { print int(n / 1024) }'; }

# The counter as the open menu shows it.
munched() {
  local rows
  rows=$(menu_rows) || return 1
  echo "$rows" | sed -n 's/^Munched = \([0-9]*\)\t.*/\1/p'
}

start_nomblet
open_menu # also waits for the about window to go
driver keys escape
# This prefix's wineserver, sampled for information.
server=
for pid in $(pgrep -u "$(id -u)" wineserver); do
  if tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$pid; fi
done

echo "soak: $minutes min, a cookie every 100 ms, a sample every $interval s, sounds $([ "$sounds" = 1 ] && echo on || echo off);" \
  "growth judged after a warm-up of $warmup s"
# time: seconds since the first cookie; thr: threads as Linux and as Windows
# count them; oldest: age in seconds of the oldest file waiting; server: this
# prefix's wineserver, for information.
row='%5s %8s %8s %4s %7s %11s %8s %8s %7s %7s %9s %11s %10s\n'
printf "$row" time rss-KB anon-KB fds handles thr munched written waiting oldest sound-KB server-RSS server-fds
samples=() missed=()
begin=$SECONDS
write_cookies $((minutes * 60)) &
writer=$!
sample_at=$interval
menu_held_at=60
last=0
while :; do
  while [ $((SECONDS - begin)) -lt "$sample_at" ]; do sleep 0.2; done
  elapsed=$((SECONDS - begin))
  kill -0 "$E2E_PID" 2>/dev/null || fail "nomblet.exe ended at $elapsed s"

  tray_mouse 516
  driver wait '#32768' 10 || fail "the tray menu did not open at $elapsed s"
  sleep 0.2
  count=$(munched) || fail "the menu was not read at $elapsed s"
  [ -n "$count" ] || fail "the menu shows no counter at $elapsed s"
  # Munching is paused now: whatever was written before this moment is either
  # counted or still in the folder.
  w=$(written)
  old_waiting=0 waiting=0 oldest=0
  now=$(date +%s)
  while read -r name mtime; do
    waiting=$((waiting + 1))
    n=$((10#${name//[^0-9]/}))
    if [ "$n" -lt "$w" ]; then
      old_waiting=$((old_waiting + 1))
      [ $((now - ${mtime%.*})) -le "$oldest" ] || oldest=$((now - ${mtime%.*}))
    fi
  done < <(find "$folder" -mindepth 1 -maxdepth 1 -printf '%f %T@\n')
  [ $((count + old_waiting)) -eq "$w" ] ||
    missed+=("at $elapsed s the counter was $count with $old_waiting of the $w files written still waiting")
  if [ "$elapsed" -ge "$menu_held_at" ]; then
    sleep 3
    menu_held_at=$((menu_held_at + 60))
  fi
  driver keys escape

  rss=$(status_kb VmRSS "$E2E_PID") anon=$(status_kb RssAnon "$E2E_PID")
  threads=$(status_kb Threads "$E2E_PID") fd=$(fds "$E2E_PID")
  read -r handles win_threads < <(driver usage TForm1 | tr -d '\r') || fail "no handle count at $elapsed s"
  server_rss=- server_fds=-
  if [ -n "$server" ] && [ -d "/proc/$server" ]; then
    server_rss=$(status_kb VmRSS "$server") server_fds=$(fds "$server")
  fi
  printf "$row" "$elapsed" "$rss" "$anon" "$fd" "$handles" "$threads/$win_threads" "$count" "$w" "$waiting" "$oldest" \
    "$(sound_kb)" "$server_rss" "$server_fds"
  samples+=("$elapsed $rss $anon $fd $handles $threads $win_threads")
  [ "$last" = 0 ] || break
  sample_at=$((sample_at + interval))
  if ! kill -0 "$writer" 2>/dev/null; then
    # The last file is written: the folder has the grace period to empty, then
    # one last sample.
    wait "$writer" || fail "the cookie writer failed"
    writer=
    deadline=$((SECONDS + grace))
    while [ -n "$(find "$folder" -mindepth 1 -print -quit)" ] && [ $SECONDS -lt "$deadline" ]; do sleep 1; done
    sleep 2 # the last cycle's counter and sounds
    sample_at=$((SECONDS - begin))
    last=1
  fi
done

close_nomblet
wait_for_exit 10 || echo "note: nomblet.exe did not end within 10 s of being asked to close" >&2

problems=("${missed[@]}")
left=$(find "$folder" -mindepth 1 | wc -l)
[ "$left" -eq 0 ] || problems+=("$left cookies were never munched: $(find "$folder" -mindepth 1 -printf '%f ' | head -c 200)")
[ "$count" -eq "$w" ] || problems+=("the counter shows $count munched, $w files were written")

# Growth: the median of the last three samples against that of the first three
# after the warm-up, so that a passing peak (the sound device's threads come
# and go) counts in neither.
growth() { # column tolerance name unit
  local column=$1 tolerance=$2 name=$3 unit=$4 base last grew
  base=$(printf '%s\n' "${samples[@]}" | awk -v w="$warmup" -v c="$column" '$1 >= w { print $c }' | head -3 | sort -n | sed -n 2p)
  last=$(printf '%s\n' "${samples[@]}" | awk -v c="$column" '{ print $c }' | tail -3 | sort -n | sed -n 2p)
  grew=$((last - base))
  printf '%-20s after warm-up %8d, at the end %8d: %+d %s (tolerance %d)\n' "$name" "$base" "$last" "$grew" "$unit" "$tolerance"
  [ "$grew" -le "$tolerance" ] || problems+=("$name grew by $grew $unit (tolerance $tolerance)")
}
after_warmup=$(printf '%s\n' "${samples[@]}" | awk -v w="$warmup" '$1 >= w' | wc -l)
if [ "$after_warmup" -ge 6 ]; then
  growth 2 "$memory_tolerance_kb" "resident memory" KB
  growth 3 "$memory_tolerance_kb" "anonymous memory" KB
  growth 4 "$fd_tolerance" descriptors ""
  growth 5 "$handle_tolerance" "Windows handles" ""
  growth 6 "$thread_tolerance" threads ""
else
  problems+=("only $after_warmup samples after the warm-up: too few to judge growth (run longer or sample more often)")
fi

echo "$w cookies written, $count munched, $left left; $(sound_kb) KB of sound played"
if [ ${#problems[@]} -gt 0 ]; then
  printf 'FAIL: %s\n' "${problems[@]}" >&2
  exit 1
fi
echo "PASS: nothing missed, nothing grew"
