#!/usr/bin/env bash
# Finding the browsers' stores under Wine: thirteen families with three
# profiles each, found anew RUNS times (as at every opening of the tray menu),
# and one tick's look at each of their stores, all absent. Goal: under 20 ms.
# Run after `source scripts/setup` (a display) and a win32 build:
#   bench/wine_browsers.sh [runs (20)]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake --build "$root/build/win32" --target nomblet nomblet_driver nomblet_wine_browsers >/dev/null
set -- "$root/build/win32/nomblet.exe" "$root/build/win32/tests/e2e/nomblet_driver.exe" "${1:-20}"
runs=$3
source "$root/tests/e2e/lib.sh"
browsers=$root/build/win32/nomblet_wine_browsers.exe
wine "$browsers" make
wine "$browsers" time "$runs"
