#!/usr/bin/env bash
# The browsers themselves read back their site data after a munch: copies of the profiles in tests/data/browsers
# (made by tests/browser_stores.sh) are munched with keep.example kept, then Debian's firefox-esr and chromium,
# headless, visit each local site once more (tests/browser_pages.py), whose page reports what it finds of its
# localStorage, IndexedDB database and Cache API entry, then stores them again and reads them back. Session
# storage is not asked for: a new session finds none anyway. Only keep.example's sites and the file page may find
# theirs: so a munch that took too much, too little or left a store the browser cannot read fails, and so does a
# page that cannot read what is there. Every site must be able to store again.
#   tests/site_data_check.sh NOMBLET_EXE DRIVER_EXE
# Exits 77 (skipped) when a browser is not installed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
nomblet_exe=${1:?the program} driver_exe=${2:?the driver}

# --------------------------------------------------------------------------------------------------------------
# The munch, the one step that is the program's: it munches the site data of the Firefox profile and of the
# Chromium "User Data" folder given, with the site given kept, as Nomblet does once the browsers have let go:
# nomblet.exe under Wine (tests/e2e/site_munch.sh), or the command NOMBLET_SITE_MUNCH names, called the same way.
#   munch FIREFOX_PROFILE CHROMIUM_USER_DATA KEPT_SITE
munch() {
  if [ -n "${NOMBLET_SITE_MUNCH:-}" ]; then "$NOMBLET_SITE_MUNCH" "$@"; return; fi
  bash tests/e2e/site_munch.sh "$nomblet_exe" "$driver_exe" "$@"
}
# --------------------------------------------------------------------------------------------------------------

skip() {
  echo "Skipped: $1"
  [ -z "${NOMBLET_SKIP_LOG:-}" ] || echo "site_data_check: $1" >> "$NOMBLET_SKIP_LOG"
  exit 77
}
for browser in firefox-esr chromium; do
  command -v "$browser" >/dev/null || skip "$browser is not installed (tests/browser_stores.sh installs it)"
done

source tests/browser_run.sh
work=$(mktemp -d /tmp/nomblet-sitecheck.XXXXXX)
trap 'browser_end; rm -rf "$work"' EXIT
data=tests/data/browsers
kept=keep.example
sites=(www.keep.example mail.keep.example news.example shop.example tracker.example)
browser_serve check "${sites[@]}"

# What a site's page must find after the munch: a kept site its three stores, the others nothing; the file page
# holds localStorage only, and no munch touches it.
expected() {
  case $1 in
    file) echo local ;;
    *."$kept" | "$kept") echo local,idb,cache ;;
    *) echo - ;;
  esac
}

# Each page's report, checked against what the munch must leave.
verdict() {
  local browser=$1 bad=0 site line found again want
  for site in file "${sites[@]}"; do
    line=$(grep "^FOUND $site " "$browser_log" | tail -1) || true
    read -r _ _ found again <<< "${line:-FOUND $site (no-report) again=none}"
    want=$(expected "$site")
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

mkdir -p "$work/firefox" "$work/chromium"
cp -a "$data/firefox/." "$work/firefox/"
cp -a "$data/chromium/." "$work/chromium/"
munch "$work/firefox" "$work/chromium" "$kept"
failures=0
for browser in chromium firefox; do
  : > "$browser_log"
  "${browser}_run" "$work/$browser"
  # Firefox ends when the last page closes its window; Chromium once the last site has reported.
  deadline=$((SECONDS + 60))
  until grep -q "^\(FOUND\|FAILED\) ${sites[-1]} " "$browser_log" || [ $SECONDS -ge $deadline ]; do sleep 0.5; done
  [ "$browser" = chromium ] && browser_stop || browser_wait 20 || browser_stop
  echo "== $browser, site data munched:"
  verdict "$browser" || failures=$((failures + 1))
done
[ "$failures" -eq 0 ] || { echo "site_data_check: $failures of the browsers read back something else" >&2; exit 1; }
echo "site_data_check: every site read back what it should"
