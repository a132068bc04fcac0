#!/usr/bin/env bash
# Under Wine, side by side for a span (60 s): the idle nomblet.exe (cookie
# stores empty: their folders there, no cookie in them; munching on, sounds on)
# and a bare tray program (one hidden window, one icon, a 500 ms timer:
# nomblet_bare_tray), each in a prefix of its own. Prints the CPU time each
# used, alone and with its own prefix's wineserver, and the ratios. Goal: at
# most 3 (the program with its server against the bare one with its server).
# With "browsers", thirteen browser families with three profiles each are
# there, their stores absent, so that every tick looks at each store.
set -euo pipefail
usage() {
  echo "usage: bench/idle_cpu.sh [seconds (60)] [runs (1)] [browsers]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  echo "NOMBLET_EXE=PATH measures another build of nomblet.exe (one kept from before a change, say)."
}
case ${1:-} in -h | --help) usage; exit 0 ;; esac
span=${1:-60}
runs=1 browsers=
for arg in "${@:2}"; do
  if [ "$arg" = browsers ]; then browsers=1; else runs=$arg; fi
done
exe=$(realpath "${NOMBLET_EXE:-$(dirname "${BASH_SOURCE[0]}")/../build/win32/nomblet.exe}")
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet nomblet_bare_tray nomblet_wine_browsers >/dev/null
ours_prefix=$(mktemp -d /tmp/nomblet-idle.XXXXXX)
bare_prefix=$(mktemp -d /tmp/nomblet-idle-bare.XXXXXX)
cleanup() {
  local p
  for p in "$ours_prefix" "$bare_prefix"; do
    WINEPREFIX=$p wineserver -k 2>/dev/null || true
    rm -rf "$p"
  done
}
trap cleanup EXIT

# The processes of one prefix: each carries WINEPREFIX in its environment, the
# wineserver included (the first program of the prefix started it).
in_prefix() { # prefix name-pattern
  local pid
  for pid in $(pgrep -f "$2" || true); do
    if { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$1"; then echo "$pid"; fi
  done
}
# Nanoseconds on a CPU, summed over the threads of the processes given.
cpu_ns() {
  local pid
  for pid in "$@"; do cat /proc/"$pid"/task/*/schedstat 2>/dev/null; done | awk '{ s += $1 } END { printf "%d\n", s }'
}
prepare() { # prefix
  cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$1/"
  WINEPREFIX=$1 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
start() { # prefix exe
  (cd "$1/drive_c" && WINEPREFIX=$1 exec wine "$2" </dev/null >/dev/null 2>&1 &)
}

prepare "$ours_prefix"
prepare "$bare_prefix"
[ -z "$browsers" ] || WINEPREFIX=$ours_prefix wine build/win32/nomblet_wine_browsers.exe make </dev/null
mkdir -p "$ours_prefix/drive_c/windows" "$ours_prefix/drive_c/ie/cookies" "$ours_prefix/drive_c/ns" \
  "$ours_prefix/drive_c/opera" "$ours_prefix/drive_c/icq"
printf '%s\r\n' '[Cookie File]' 'Name=C:\ns\cookies.txt' 'OName=C:\opera\cookies4.dat' '[Cookie Dir]' \
  'Dir=C:\ie\cookies' '[Cookie Dat]' 'ICQ=C:\icq\cookie.dat' '[Settings]' 'MunchICQ=1' 'SoundsOn=1' \
  'Autoload=0' > "$ours_prefix/drive_c/windows/nomblet.ini"
start "$ours_prefix" "$exe"
start "$bare_prefix" "$PWD/build/win32/nomblet_bare_tray.exe"
sleep 5 # start-up and the about window's second are not idle
ours=$(in_prefix "$ours_prefix" "$(basename "$exe" | sed 's/\./\\./g')")
bare=$(in_prefix "$bare_prefix" 'nomblet_bare_tray\.exe')
ours_server=$(in_prefix "$ours_prefix" 'wineserver')
bare_server=$(in_prefix "$bare_prefix" 'wineserver')
for what in ours bare ours_server bare_server; do
  [ "$(echo "${!what}" | wc -w)" = 1 ] || { echo "no single process for $what: '${!what}'" >&2; exit 1; }
done

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
ratios=()
for run in $(seq "$runs"); do
  o0=$(cpu_ns "$ours"); os0=$(cpu_ns "$ours_server"); b0=$(cpu_ns "$bare"); bs0=$(cpu_ns "$bare_server")
  sleep "$span"
  o1=$(cpu_ns "$ours"); os1=$(cpu_ns "$ours_server"); b1=$(cpu_ns "$bare"); bs1=$(cpu_ns "$bare_server")
  line=$(awk -v o=$((o1 - o0)) -v os=$((os1 - os0)) -v b=$((b1 - b0)) -v bs=$((bs1 - bs0)) -v span="$span" 'BEGIN {
    pc = 100 / (span * 1e9)
    printf "nomblet.exe %.3f%% + its wineserver %.3f%% = %.3f%% of a core; bare tray %.3f%% + %.3f%% = %.3f%%; programs alone %.2f; ratio %.2f\n",
      o * pc, os * pc, (o + os) * pc, b * pc, bs * pc, (b + bs) * pc, b ? o / b : 0, (b + bs) ? (o + os) / (b + bs) : 0 }')
  echo "run $run, idle over $span s: $line"
  ratios+=("${line##* }")
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "ratio, median of $runs: $(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }') (goal at most 3)"
