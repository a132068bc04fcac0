#!/usr/bin/env bash
# Runs the Clear IE Cache benchmarks and prints min, median and max of the walk
# against find -printf '%m' (goal: at most 1.2x) and of the two passes against
# rm -rf (goal: at most 1.1x), and what the list of 100,000 entries costs.
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: [REPETITIONS=3] bench/compare_cleanup.sh"
  echo "Sets itself up as scripts/test does, then builds the bench preset (Release)."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset bench >/dev/null
cmake --build --preset bench --target nomblet_bench >/dev/null
out=$(mktemp)
build/bench/nomblet_bench --benchmark_filter='FinderWalk|FindPrintf|ClearIECache|RmRf|FinderListHeap' \
  --benchmark_format=json --benchmark_out="$out" --benchmark_repetitions="${REPETITIONS:-3}" >/dev/null
python3 - "$out" <<'PY'
import json, statistics, sys
times = {}
counters = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("run_type") != "iteration":
        continue
    name = b["run_name"].split("/")[0]
    times.setdefault(name, []).append(b["real_time"])
    counters[name] = b
def line(name):
    t = times[name]
    return f"min {min(t):.0f} ms, median {statistics.median(t):.0f} ms, max {max(t):.0f} ms"
for ours, theirs, goal in (("FinderWalk", "FindPrintf", 1.2), ("ClearIECache", "RmRf", 1.1)):
    ratio = statistics.median(times[ours]) / statistics.median(times[theirs])
    print(f"{ours}: {line(ours)}")
    print(f"{theirs}: {line(theirs)}")
    print(f"  ratio of medians {ratio:.2f} (goal at most {goal})")
h = counters["FinderListHeap"]
print(f"list of {int(counters['FinderWalk']['entries'])} entries: {h['list_bytes'] / 1e6:.1f} MB on the heap, "
      f"{h['bytes_per_entry']:.0f} bytes an entry; peak during the walk {h['walk_peak_bytes'] / 1e6:.1f} MB")
PY
rm -f "$out"
