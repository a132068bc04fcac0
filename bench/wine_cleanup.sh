#!/usr/bin/env bash
# Clear IE Cache under Wine as a user meets it (through the tray menu, sounds
# on) on 20,000 files in 1,000 folders, against `cmd /c rd /s /q` of an
# identical tree; the walk alone against `cmd /c dir /s /b`; and how many
# sounds a second the command starts. Goals: at most 1.5x each.
# Run after `source scripts/setup` (a display) and a win32 build:
#   bench/wine_cleanup.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake --build "$root/build/win32" --target nomblet nomblet_driver nomblet_wine_walk >/dev/null
runs=${1:-3}
set -- "$root/build/win32/nomblet.exe" "$root/build/win32/tests/e2e/nomblet_driver.exe"
source "$root/tests/e2e/lib.sh"
walker=$root/build/win32/nomblet_wine_walk.exe

# The shell's Internet cache folder, where WinINet keeps its index (Content.IE5).
tif=$(driver folder 32 | tr -d '\r')
make_tree() { # folder
  local base; base=$(unix_path "$1")
  mkdir -p "$base"
  (cd "$base" && for f in $(seq 0 999); do
    mkdir "F$f"
    (cd "F$f" && touch $(printf 'entry%d[1].htm ' $(seq 0 19)))
  done)
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
stat_line() { python3 -c "import statistics,sys; v=sorted(map(float,sys.argv[1:])); print(f'min {v[0]:.0f} ms, median {statistics.median(v):.0f} ms, max {v[-1]:.0f} ms')" "$@"; }
median() { python3 -c "import statistics,sys; print(statistics.median(map(float,sys.argv[1:])))" "$@"; }

record_sounds
start_nomblet
sleep 1.5
ours=() theirs=() walks=() dirs=() rates=()
for run in $(seq "$runs"); do
  make_tree "$tif"
  make_tree 'C:\copy'

  t0=$(now_ms); wine "$walker" "$tif" >/dev/null; walks+=($(($(now_ms) - t0)))
  t0=$(now_ms); wine cmd /c dir /s /b 'C:\copy' >/dev/null; dirs+=($(($(now_ms) - t0)))

  before=$(ls "$E2E_SOUNDS" | wc -l)
  open_menu
  row=$(menu_row_number 'Clear IE Cache') || fail "no Clear IE Cache row: $(menu_rows)"
  t0=$(now_ms)
  driver keys $(downs "$row") return
  until [ -z "$(ls -A "$(unix_path "$tif")" | grep -vx 'Content.IE5')" ]; do sleep 0.02; done
  took=$(($(now_ms) - t0)); ours+=($took)
  sounds=$(($(ls "$E2E_SOUNDS" | wc -l) - before))
  rates+=($(python3 -c "print(round($sounds / ($took / 1000), 1))"))

  t0=$(now_ms); wine cmd /c rd /s /q 'C:\copy'; theirs+=($(($(now_ms) - t0)))
done
close_nomblet
wait_for_exit 5 || true

echo "Clear IE Cache, 20,000 files in 1,000 folders: $(stat_line "${ours[@]}")"
echo "cmd /c rd /s /q:                               $(stat_line "${theirs[@]}")"
echo "  ratio of medians $(python3 -c "print(round($(median "${ours[@]}") / $(median "${theirs[@]}"), 2))") (goal at most 1.5)"
echo "the walk alone:                                $(stat_line "${walks[@]}")"
echo "cmd /c dir /s /b:                              $(stat_line "${dirs[@]}")"
echo "  ratio of medians $(python3 -c "print(round($(median "${walks[@]}") / $(median "${dirs[@]}"), 2))") (goal at most 1.5)"
echo "sounds started a second during the command: ${rates[*]}"
