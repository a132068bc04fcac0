#!/usr/bin/env bash
# One cookie database of N cookies (one in ten of a kept site) munched through
# the program's SQLite service as the munch cycle runs it (slices of 1,000
# rows, one transaction), natively and under Wine, from the same source: the
# open, the total, the longest slice (the longest the tray menu waits to open
# meanwhile) and the commit. Each size runs `runs` times.
#   bench/cookie_munch.sh [runs (3)] [sizes (10000 100000)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/cookie_munch.sh [runs (3)] [sizes (10000 100000)]"
  echo "Sets itself up (packages, Wine prefix, builds) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
runs=${1:-3}
shift || true
sizes=("${@:-10000 100000}")
read -r -a sizes <<< "${sizes[*]}"
cmake --preset bench >/dev/null && cmake --build --preset bench --target nomblet_cookiedb >/dev/null
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target nomblet_cookiedb >/dev/null

export WINEPREFIX=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
work=$(mktemp -d /tmp/nomblet-cookiedb.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$work"' EXIT
cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
mkdir -p "$WINEPREFIX/drive_c/bench"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for rows in "${sizes[@]}"; do
  for ((run = 1; run <= runs; run++)); do
    echo "native: $(build/bench/nomblet_cookiedb "$work" "$rows")"
    echo "wine:   $(wine build/win32/nomblet_cookiedb.exe 'C:\bench' "$rows" </dev/null | tr -d '\r')"
  done
done
