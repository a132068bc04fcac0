#!/usr/bin/env bash
# Runs the munch benchmarks and prints how one cycle over 10,000 cookie files
# compares with find -delete on an identical folder (goal: at most 1.1x).
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/compare_find.sh"
  echo "Sets itself up as scripts/test does, then builds the bench preset (Release)."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset bench >/dev/null
cmake --build --preset bench --target nomblet_bench >/dev/null
out=$(mktemp)
build/bench/nomblet_bench --benchmark_filter='^(MunchCycle|FindDelete|IdleCycle|ListLookDelete)' --benchmark_format=json --benchmark_out="$out" --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true >/dev/null
python3 - "$out" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
cycle = runs["MunchCycle/10000/iterations:5_median"]["real_time"]
find = runs["FindDelete/10000/iterations:5_median"]["real_time"]
idle = runs["IdleCycle_median"]["real_time"]
floor = runs["ListLookDelete/10000/iterations:5_median"]["real_time"]
print(f"munch cycle, 10000 files: {cycle:.1f} ms; find -delete: {find:.1f} ms; ratio {cycle / find:.2f}")
print(f"list, look at and delete each file (the floor with the read-only rule): {floor:.1f} ms; ratio {floor / find:.2f}")
for n in (1000, 10000):
    b = runs[f"MunchCycleHeap/{n}/iterations:2_median"]
    print(f"heap peak growth during a cycle over {n} files: {b['heap_peak_growth_bytes']:.0f} bytes")
print(f"idle cycle (all stores empty): {idle:.2f} us")
PY
rm -f "$out"
