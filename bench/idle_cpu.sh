#!/usr/bin/env bash
# Idle nomblet.exe under Wine with empty cookie stores: CPU time used over a
# span (default 60 s), by the program and by the wineserver that serves it.
# With "browsers", thirteen browser families with three profiles each are
# there, their stores absent, so that every tick looks at each store.
#   bench/idle_cpu.sh [seconds] [browsers]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet nomblet_wine_browsers >/dev/null
span=${1:-60}
export WINEPREFIX=$(mktemp -d /tmp/nomblet-idle.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
if [ "${2:-}" = browsers ]; then
  wine build/win32/nomblet_wine_browsers.exe make </dev/null
fi
wine build/win32/nomblet.exe </dev/null >/dev/null 2>&1 &
pid=$!
sleep 5 # start-up and the about window's second are not idle
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server=$(pgrep -n -f "^/usr/lib/wine/wineserver" || pgrep -n wineserver)
p0=$(ticks "$pid"); s0=$(ticks "$server")
sleep "$span"
p1=$(ticks "$pid"); s1=$(ticks "$server")
hz=$(getconf CLK_TCK)
awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v hz="$hz" -v span="$span" 'BEGIN {
  printf "idle over %d s: nomblet.exe %.2f%% of one core, wineserver %.2f%%\n", span, 100 * p / hz / span, 100 * s / hz / span }'
