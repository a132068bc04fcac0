# Shared by the Wine benchmarks that run nomblet.exe beside a bare loop
# (bench/wine_munch.sh, bench/wine_site_data.sh). Source it from the
# repository's root after `set -euo pipefail`:
#   bench_setup TARGET...   packages, Wine, display and the win32 build of the targets
#   bench_prefix            a Wine prefix of its own ($WINEPREFIX, drive C at $c), gone at exit
#   bench_start EXE         nomblet.exe running in it, its window up; ended at exit
#   bench_menu_ms           how long the tray menu takes to open now (ms); closed again
#   summary WHAT            min, median and max of the numbers on standard input
#   load_average            the load averages over 1, 5 and 15 minutes

bench_setup() {
  source scripts/setup
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target nomblet_driver "$@" >/dev/null
  bench_driver_exe=$PWD/build/win32/tests/e2e/nomblet_driver.exe
}

bench_pid_=
bench_cleanup_() {
  [ -z "$bench_pid_" ] || kill "$bench_pid_" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}

bench_prefix() {
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
  trap bench_cleanup_ EXIT
  cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$WINEPREFIX/"
  c=$WINEPREFIX/drive_c
}

driver() { wine "$bench_driver_exe" "$@" </dev/null; }

bench_start() {
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  (cd "$c" && exec wine "$1" </dev/null >/dev/null 2>&1) &
  bench_pid_=$!
  driver wait TForm1 20 >/dev/null
  sleep 2 # the about window's second
}

bench_stop() {
  driver close TForm1 >/dev/null
  wait "$bench_pid_" 2>/dev/null || true
  bench_pid_=
}

bench_menu_ms() {
  driver popup TTrayIconWindow 60 | tr -d '\r'
  driver keys escape >/dev/null
}

summary() { sort -n | awk -v what="$1" '{ v[NR] = $1 } END {
  printf "%s: min %.3f, median %.3f, max %.3f\n", what, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }

load_average() { cut -d' ' -f1-3 /proc/loadavg; }
