#!/usr/bin/env bash
# Makes the stores of real browsers for the tests: Debian's firefox-esr and chromium, headless, visit local sites
# (tests/browser_pages.py; every host name resolves to 127.0.0.1) that set cookies and store site data, starting from
# a file:// page that stores some too, and what they wrote is kept in tests/data/browsers/ with their versions:
# - site data: Firefox's profile parts in firefox/ (storage/default/<origin>/, storage.sqlite, webappsstore.sqlite),
#   Chromium's in chromium/Default/ (Local Storage, Session Storage, IndexedDB, Service Worker, WebStorage);
# - with --cookies also the cookie stores, which the tests count on row by row: Firefox's cookies.sqlite with the
#   write-ahead log it holds while it runs, Chromium's Cookies with its journal.
# Run by hand when the data is to be made again; installs the two browsers.
#   tests/browser_stores.sh [--cookies]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cookies=false
[ "${1:-}" != --cookies ] || cookies=true
out=tests/data/browsers
for p in firefox-esr chromium; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends firefox-esr chromium >/dev/null
done
source tests/browser_run.sh
work=$(mktemp -d /tmp/nomblet-browsers.XXXXXX)
trap 'browser_end; rm -rf "$work"' EXIT

hosts=(www.keep.example mail.keep.example news.example shop.example tracker.example)
last=${hosts[-1]}
browser_serve store "${hosts[@]}"

# Chromium writes its cookies within half a minute, and its Local Storage and Session Storage some seconds after a
# page stored them: it is stopped once the last site is in their logs. Its journal stays beside the cookie store.
chromium_run "$work/chromium"
deadline=$((SECONDS + 90))
until [ "$(grep -c '^STORED' "$browser_log")" -gt ${#hosts[@]} ] &&
      grep -qa "$last" "$work/chromium/Default/Local Storage/leveldb/"*.log "$work/chromium/Default/Session Storage/"*.log &&
      [ "$(sqlite3 -readonly "$work/chromium/Default/Cookies" 'SELECT count(*) FROM cookies' 2>/dev/null || echo 0)" -ge 20 ]
do
  [ $SECONDS -lt $deadline ] || { echo "Chromium did not store every site's data" >&2; cat "$browser_log" >&2; exit 1; }
  sleep 2
done
browser_stop

# Firefox: its cookie store is copied while it runs, so that the rows it wrote are still in the log beside it; the
# last page then closes its window, and Firefox ends as a user would end it.
: > "$browser_log"
firefox_run "$work/firefox"
deadline=$((SECONDS + 60))
until [ -s "$work/firefox/cookies.sqlite-wal" ] && grep -q "^STORED $last" "$browser_log"; do
  [ $SECONDS -lt $deadline ] || { echo "Firefox did not store every site's data" >&2; cat "$browser_log" >&2; exit 1; }
  sleep 1
done
if $cookies; then
  cp "$work/firefox/cookies.sqlite" "$work/firefox/cookies.sqlite-wal" "$out"/
fi
browser_wait 60 || { echo "Firefox did not end" >&2; exit 1; }

rm -rf "$out/firefox" "$out/chromium"
mkdir -p "$out/firefox/storage" "$out/chromium/Default"
cp -a "$work/firefox/storage/default" "$out/firefox/storage/"
cp -a "$work/firefox/storage.sqlite" "$work/firefox/webappsstore.sqlite" "$out/firefox/"
for part in "Local Storage" "Session Storage" IndexedDB "Service Worker" WebStorage; do
  cp -a "$work/chromium/Default/$part" "$out/chromium/Default/"
done
if $cookies; then
  cp "$work/chromium/Default/Cookies" "$out/Cookies"
  [ ! -e "$work/chromium/Default/Cookies-journal" ] || cp "$work/chromium/Default/Cookies-journal" "$out/Cookies-journal"
fi
{
  if $cookies; then
    echo "Cookie stores made by tests/browser_stores.sh --cookies on $(date -u +%Y-%m-%d) with:"
    firefox-esr --version 2>/dev/null
    chromium --version 2>/dev/null
    echo "Hosts visited: ${hosts[*]} (four cookies each)."
  else
    sed -n '/^Cookie stores made/,/^$/p' "$out/VERSIONS.txt" | sed '/^$/d'
  fi
  echo
  echo "Site data (firefox/, chromium/) made by tests/browser_stores.sh on $(date -u +%Y-%m-%d) with:"
  firefox-esr --version 2>/dev/null
  chromium --version 2>/dev/null
  echo "Sites: file://$browser_page and http://HOST:$browser_port/ for ${hosts[*]}; each stored localStorage,"
  echo "sessionStorage, an IndexedDB database \"site\", a Cache API cache \"site\" and a service worker (the file:// page"
  echo "localStorage and sessionStorage only)."
} > "$work/VERSIONS.txt"
mv "$work/VERSIONS.txt" "$out/VERSIONS.txt"
du -sh "$out"/*
cat "$out/VERSIONS.txt"
