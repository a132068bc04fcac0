#!/usr/bin/env bash
# Makes the browsers' own cookie exception files for the tests, written by Debian's firefox-esr and chromium
# themselves, into tests/data/browsers/exceptions/:
# - permissions.sqlite: Firefox's, on a fresh profile, given rows in its old host table (schema version 4), which
#   Firefox itself turns into its origins' rows at its next start: keep.example allowed, news.example blocked,
#   shop.example allowed for the session;
# - Preferences: Chromium's, on a fresh profile, given cookie exceptions ("[*.]keep.example" allowed,
#   "https://news.example:443" blocked, "shop.example" session only), which Chromium reads and writes back at its
#   next run.
# Run by hand when the files are to be made again; installs the two browsers.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=tests/data/browsers/exceptions
for p in firefox-esr chromium; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends firefox-esr chromium >/dev/null
done
work=$(mktemp -d /tmp/nomblet-exceptions.XXXXXX)
trap 'rm -rf "$work"' EXIT

# run SECONDS COMMAND...: the browser runs that long, then is ended as the system ends a program.
run() { timeout -s TERM "$@" >/dev/null 2>&1 || true; }

mkdir -p "$work/firefox"
printf '%s\n' 'user_pref("browser.shell.checkDefaultBrowser", false);' \
  'user_pref("datareporting.policy.dataSubmissionEnabled", false);' \
  'user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);' \
  'user_pref("app.update.auto", false);' > "$work/firefox/user.js"
firefox() { run 40 firefox-esr --headless --no-remote --profile "$work/firefox" about:blank; }
firefox
sqlite3 "$work/firefox/permissions.sqlite" "DROP TABLE moz_perms; ALTER TABLE moz_hosts ADD COLUMN appId INTEGER;
  INSERT INTO moz_hosts (host, type, permission, expireType, expireTime, modificationTime, appId, isInBrowserElement)
  VALUES ('keep.example', 'cookie', 1, 0, 0, 1765000000000, 0, 0), ('news.example', 'cookie', 2, 0, 0, 1765000000000, 0, 0),
         ('shop.example', 'cookie', 8, 0, 0, 1765000000000, 0, 0);
  PRAGMA user_version = 4;"
firefox
[ "$(sqlite3 -readonly "$work/firefox/permissions.sqlite" "SELECT count(*) FROM moz_perms WHERE type = 'cookie'")" -ge 3 ] ||
  { echo "Firefox did not write the permissions" >&2; exit 1; }

chromium_() {
  run 25 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --remote-debugging-port=0 "--user-data-dir=$work/chromium" about:blank
}
chromium_
python3 - "$work/chromium/Default/Preferences" <<'PY'
import json, sys
prefs = json.load(open(sys.argv[1]))
prefs["profile"]["content_settings"]["exceptions"]["cookies"] = {
    "[*.]keep.example,*": {"last_modified": "13400000000000000", "setting": 1},
    "https://news.example:443,*": {"last_modified": "13400000000000000", "setting": 2},
    "shop.example,*": {"last_modified": "13400000000000000", "setting": 4}}
json.dump(prefs, open(sys.argv[1], "w"), separators=(",", ":"))
PY
written=$(md5sum < "$work/chromium/Default/Preferences")
chromium_
[ "$(md5sum < "$work/chromium/Default/Preferences")" != "$written" ] &&
  grep -q '"\[\*\.\]keep\.example,\*"' "$work/chromium/Default/Preferences" ||
  { echo "Chromium did not write its Preferences back with the exceptions" >&2; exit 1; }

mkdir -p "$out"
cp "$work/firefox/permissions.sqlite" "$work/chromium/Default/Preferences" "$out"/
{
  echo "Cookie exceptions made by tests/browser_exceptions.sh on $(date -u +%Y-%m-%d) with:"
  firefox-esr --version 2>/dev/null
  chromium --version 2>/dev/null
  echo "Allowed: keep.example; blocked: news.example; for the session only: shop.example."
} > "$out/VERSIONS.txt"
du -sh "$out"/*
