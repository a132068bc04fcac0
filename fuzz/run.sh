#!/usr/bin/env bash
# Fuzzes each target for a bounded time: fuzz/run.sh [seconds-per-target] [target...]
# Installs clang and libFuzzer from Debian when they are missing, builds the
# fuzz preset, runs each target (niced, two at a time) from a scratch copy of
# its saved inputs, and prints its executions and any finding. Not part of
# scripts/test. A finding is left in build/fuzz/findings/<target>/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(Wave Settings OpenDocument Wildcard LinkLabel UrlCache SiteNames)
parallel=${NOMBLET_FUZZ_JOBS:-2}

packages=(cmake ninja-build ccache clang-14 libclang-rt-14-dev)
sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_ apt-get update -qq
  DEBIAN_FRONTEND=noninteractive sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out=$root/build/fuzz/runs
mkdir -p "$out"

fuzz_one() {
  local name=$1 work=$out/$1
  rm -rf "$work"
  mkdir -p "$work/corpus" "$root/build/fuzz/findings/$name"
  cp "$root/fuzz/corpus/$name/"* "$work/corpus/"
  # Each run writes its log; the exit status says whether it found something.
  if nice -n 19 "$root/build/fuzz/fuzz/nomblet_fuzz_$name" "$work/corpus" \
       -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=1024 \
       -artifact_prefix="$root/build/fuzz/findings/$name/" >"$work/log" 2>&1; then
    echo ok >"$work/status"
  else
    echo finding >"$work/status"
  fi
}

running=0
for name in "${targets[@]}"; do
  fuzz_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
printf '%-14s %-8s %12s %10s %8s\n' target result executions seconds corpus
for name in "${targets[@]}"; do
  log=$out/$name/log
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  took=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || echo '?')
  corpus=$(ls "$out/$name/corpus" | wc -l)
  status=$(cat "$out/$name/status")
  printf '%-14s %-8s %12s %10s %8s\n' "$name" "$status" "${runs:-?}" "${took:-?}" "$corpus"
  if [ "$status" != ok ]; then
    failed=1
    grep -E 'ERROR|property broken|SUMMARY|artifact|Test unit written' "$log" | head -20 | sed "s/^/  $name: /"
  fi
done
exit $failed
