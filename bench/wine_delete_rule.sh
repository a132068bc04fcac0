#!/usr/bin/env bash
# Under Wine: what the checked delete costs against the plain call. A folder of
# N files is emptied the munch cycle's way (one listing, each file deleted as
# it comes) by nomblet_wine_deletes, alternately by the checked rule (open the
# entry, ask its final path, delete through the handle) and by the plain call
# on the joined name; prints min, median and max of each and the extra time a
# file at the medians. Then, on one folder that stays, the look alone (open,
# final path, close) against the listing alone: the check without the disk.
#   bench/wine_delete_rule.sh [files (5000)] [rounds (5)]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet_wine_deletes >/dev/null
files=${1:-5000}
rounds=${2:-5}
deleter=$PWD/build/win32/nomblet_wine_deletes.exe

export WINEPREFIX=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
c=$WINEPREFIX/drive_c
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

stage() { python3 - "$1" "$files" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], f"user@site{i}.txt"), "w") as f:
        f.write("cookie")
PY
}
summary() { sort -n | awk -v what="$1" '{ v[NR] = $1 } END {
  printf "%s: min %d, median %d, max %d\n", what, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }

checked=() plain=()
for ((r = 1; r <= rounds; r++)); do
  for mode in checked plain; do
    stage "$c/cookies"
    sync
    read -r deleted ms < <(wine "$deleter" "$mode" 'C:\cookies' </dev/null | tr -d '\r')
    [ "$deleted" = "$files" ] || { echo "$mode deleted $deleted of $files files" >&2; exit 1; }
    rmdir "$c/cookies"
    if [ "$mode" = checked ]; then checked+=("$ms"); else plain+=("$ms"); fi
    printf 'round %d, %s: %d ms\n' "$r" "$mode" "$ms"
  done
done
printf '%s\n' "${checked[@]}" | summary "checked, $files files (ms)"
printf '%s\n' "${plain[@]}" | summary "plain, $files files (ms)"
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
awk -v a="$(median "${checked[@]}")" -v b="$(median "${plain[@]}")" -v n="$files" \
  'BEGIN { printf "extra a file at the medians: %.1f us (%.2f times the plain call)\n", (a - b) * 1000 / n, a / b }'

stage "$c/cookies"
looks=() lists=()
for ((r = 1; r <= rounds; r++)); do
  for mode in look list; do
    read -r seen ms < <(wine "$deleter" "$mode" 'C:\cookies' </dev/null | tr -d '\r')
    [ "$seen" = "$files" ] || { echo "$mode saw $seen of $files files" >&2; exit 1; }
    if [ "$mode" = look ]; then looks+=("$ms"); else lists+=("$ms"); fi
  done
done
printf '%s\n' "${looks[@]}" | summary "listing and looking at each, $files files (ms)"
printf '%s\n' "${lists[@]}" | summary "listing alone, $files files (ms)"
awk -v a="$(median "${looks[@]}")" -v b="$(median "${lists[@]}")" -v n="$files" \
  'BEGIN { printf "the look a file at the medians: %.1f us\n", (a - b) * 1000 / n }'
