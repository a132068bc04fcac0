#!/usr/bin/env bash
# The browsers themselves read back their site data after a munch: copies of the profiles in tests/data/browsers
# (made by tests/browser_stores.sh) are munched with keep.example kept, then Debian's firefox-esr and chromium,
# headless, visit each local site once more (tests/browser_pages.py), whose page reports what it finds of its
# localStorage, IndexedDB database and Cache API entry, then stores them again and reads them back. Session
# storage is not asked for: a new session finds none anyway.
#   tests/site_data_check.sh [--as-is | --removed | --munched] [NOMBLET_EXE DRIVER_EXE]
# --as-is: no munch, every site finds its data; --removed: the site data removed by hand, no site finds any;
# --munched: the program's munch (below), only keep.example's sites and the file page find theirs. Without a
# choice all three run (--munched only with the program given). Every site must be able to store again.
# Exits 77 (skipped) when a browser is not installed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
modes=(as-is removed munched)
case ${1:-} in --as-is | --removed | --munched) modes=("${1#--}"); shift ;; esac
nomblet_exe=${1:-} driver_exe=${2:-}

# --------------------------------------------------------------------------------------------------------------
# The munch, the one step that is the program's: it munches the site data of the Firefox profile and of the
# Chromium "User Data" folder given, with the site given kept, as Nomblet does once the browsers have let go:
# nomblet.exe under Wine (tests/e2e/site_munch.sh), or the command NOMBLET_SITE_MUNCH names, called the same way.
#   munch FIREFOX_PROFILE CHROMIUM_USER_DATA KEPT_SITE
munch() {
  if [ -n "${NOMBLET_SITE_MUNCH:-}" ]; then "$NOMBLET_SITE_MUNCH" "$@"; return; fi
  bash tests/e2e/site_munch.sh "$nomblet_exe" "$driver_exe" "$@"
}
munch_wired() { [ -n "${NOMBLET_SITE_MUNCH:-}" ] || [ -n "$driver_exe" ]; }
# --------------------------------------------------------------------------------------------------------------

skip() {
  echo "Skipped: $1"
  [ -z "${NOMBLET_SKIP_LOG:-}" ] || echo "site_data_check: $1" >> "$NOMBLET_SKIP_LOG"
  exit 77
}
for browser in firefox-esr chromium; do
  command -v "$browser" >/dev/null || skip "$browser is not installed (tests/browser_stores.sh installs it)"
done
if [ ${#modes[@]} -eq 3 ] && ! munch_wired; then
  echo "No nomblet.exe and driver given: checking the browsers' part only."
  modes=(as-is removed)
fi

source tests/browser_run.sh
work=$(mktemp -d /tmp/nomblet-sitecheck.XXXXXX)
trap 'browser_end; rm -rf "$work"' EXIT
data=tests/data/browsers
kept=keep.example
sites=(www.keep.example mail.keep.example news.example shop.example tracker.example)
browser_serve check "${sites[@]}"

# What a site's page must find, by mode: its three stores, or nothing; the file page holds localStorage only, and
# no munch touches it.
expected() {
  local mode=$1 site=$2
  case $mode:$site in
    removed:*) echo - ;;
    *:file) echo local ;;
    munched:*."$kept" | munched:"$kept" | as-is:*) echo local,idb,cache ;;
    *) echo - ;;
  esac
}

# Lays out fresh copies of both profiles, as the mode leaves them.
profiles() {
  local mode=$1
  rm -rf "$work/firefox" "$work/chromium"
  mkdir -p "$work/firefox" "$work/chromium"
  cp -a "$data/firefox/." "$work/firefox/"
  cp -a "$data/chromium/." "$work/chromium/"
  case $mode in
    removed)
      rm -rf "$work/firefox/storage" "$work/firefox/storage.sqlite" "$work/firefox/webappsstore.sqlite"
      (cd "$work/chromium/Default" && rm -rf "Local Storage" "Session Storage" IndexedDB "Service Worker" WebStorage)
      ;;
    munched) munch "$work/firefox" "$work/chromium" "$kept" ;;
  esac
}

# Each page's report, checked against what the mode expects.
verdict() {
  local browser=$1 mode=$2 bad=0 site line found again want
  for site in file "${sites[@]}"; do
    line=$(grep "^FOUND $site " "$browser_log" | tail -1) || true
    read -r _ _ found again <<< "${line:-FOUND $site (no-report) again=none}"
    want=$(expected "$mode" "$site")
    if [ "$found" = "$want" ] && [ "$again" = again=ok ]; then
      printf '  %-8s %-18s found %-16s %s\n' ok "$site" "$found" "$again"
    else
      printf '  %-8s %-18s found %-16s %s (expected %s, again=ok)\n' WRONG "$site" "$found" "$again" "$want"
      bad=1
    fi
  done
  grep '^FAILED' "$browser_log" | sed "s/^/  $browser: /" || true
  return $bad
}

failures=0
for mode in "${modes[@]}"; do
  profiles "$mode"
  for browser in chromium firefox; do
    : > "$browser_log"
    "${browser}_run" "$work/$browser"
    # Firefox ends when the last page closes its window; Chromium once the last site has reported.
    deadline=$((SECONDS + 60))
    until grep -q "^\(FOUND\|FAILED\) ${sites[-1]} " "$browser_log" || [ $SECONDS -ge $deadline ]; do sleep 0.5; done
    [ "$browser" = chromium ] && browser_stop || browser_wait 20 || browser_stop
    echo "== $browser, site data $mode:"
    verdict "$browser" "$mode" || failures=$((failures + 1))
  done
done
[ "$failures" -eq 0 ] || { echo "site_data_check: $failures of the runs above read back something else" >&2; exit 1; }
echo "site_data_check: every site read back what it should (${modes[*]})"
