#!/usr/bin/env bash
# Makes the cookie stores of real browsers for the tests: Debian's firefox-esr
# and chromium, headless, visit a local server that sets cookies for a few
# host names (all resolved to 127.0.0.1), and what they wrote is kept in
# tests/data/browsers/ with their versions: Firefox's cookies.sqlite with the
# write-ahead log it holds while it runs, Chromium's Cookies with its journal.
# Run by hand when the data is to be made again; installs the two browsers.
#   tests/browser_stores.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=tests/data/browsers
for p in firefox-esr chromium; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends firefox-esr chromium >/dev/null
done
work=$(mktemp -d /tmp/nomblet-browsers.XXXXXX)
server=
browser=
cleanup() {
  [ -z "$browser" ] || kill "$browser" 2>/dev/null || true
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Each page sets four cookies for its host: two for the host alone, one for its
# whole domain, one with a path; the page of keep.example also sets one for
# mail.keep.example's parent.
port=18731
hosts=(www.keep.example mail.keep.example news.example shop.example tracker.example)
python3 - "$port" "${hosts[*]}" > "$work/server.log" 2>&1 <<'PY' &
import http.server, sys
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        host = self.headers.get("Host", "").split(":")[0]
        sys.stderr.write(f"GET {host} {self.path}\n")
        sys.stderr.flush()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        for i in range(2):
            self.send_header("Set-Cookie", f"id{i}={host}-value-{i}; Max-Age=31536000")
        self.send_header("Set-Cookie", f"wide={host}-wide; Domain={host}; Max-Age=31536000")
        self.send_header("Set-Cookie", f"deep={host}-deep; Path=/deep; Max-Age=31536000")
        self.end_headers()
        # The pages lead from one host to the next, so that one tab visits them all.
        hosts = sys.argv[2].split()
        following = hosts[hosts.index(host) + 1] if host in hosts[:-1] else ""
        go = f'<meta http-equiv="refresh" content="0; url=http://{following}:{sys.argv[1]}/">' if following else ""
        self.wfile.write(f"<html><head>{go}</head><body>cookies</body></html>".encode())
    def log_message(self, *args):
        pass
http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler).serve_forever()
PY
server=$!
sleep 1

# Chromium: one tab goes through every host; it writes its cookies to its store
# within half a minute, and its journal stays beside it.
flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking
       --disable-component-update --disable-sync --remote-debugging-port=0 "--user-data-dir=$work/chromium"
       "--host-resolver-rules=MAP *.example 127.0.0.1")
chromium "${flags[@]}" "http://${hosts[0]}:$port/" >/dev/null 2>&1 &
browser=$!
deadline=$((SECONDS + 90))
store=
until [ -n "$store" ] && [ "$(sqlite3 -readonly "$store" 'SELECT count(*) FROM cookies' 2>/dev/null || echo 0)" -ge 20 ]; do
  [ $SECONDS -lt $deadline ] || { echo "Chromium wrote no cookies" >&2; exit 1; }
  sleep 2
  store=$(find "$work/chromium" -name Cookies | head -1)
done
kill -TERM "$browser"; wait "$browser" 2>/dev/null || true; browser=

# Firefox: every host name resolves to this machine; its store is copied while it
# runs, so that the rows it wrote are still in the log beside it.
mkdir -p "$work/firefox"
cat > "$work/firefox/user.js" <<'JS'
user_pref("network.dns.forceResolve", "127.0.0.1");
user_pref("network.proxy.type", 0);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("app.update.auto", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
JS
firefox-esr --headless --no-remote --profile "$work/firefox" "http://${hosts[0]}:$port/" >/dev/null 2>&1 &
browser=$!
deadline=$((SECONDS + 60))
# It holds its store locked: the server says when the last page was fetched.
: > "$work/server.log"
until [ -s "$work/firefox/cookies.sqlite-wal" ] && grep -q "GET ${hosts[-1]} /" "$work/server.log"; do
  [ $SECONDS -lt $deadline ] || { echo "Firefox wrote no cookies" >&2; exit 1; }
  sleep 1
done
sleep 5
mkdir -p "$out"
cp "$work/firefox/cookies.sqlite" "$out/cookies.sqlite"
cp "$work/firefox/cookies.sqlite-wal" "$out/cookies.sqlite-wal"
kill "$browser"; wait "$browser" 2>/dev/null || true; browser=
cp "$store" "$out/Cookies"
[ ! -e "$store-journal" ] || cp "$store-journal" "$out/Cookies-journal"
{
  echo "Made by tests/browser_stores.sh on $(date -u +%Y-%m-%d) with:"
  firefox-esr --version 2>/dev/null
  chromium --version 2>/dev/null
  echo "Hosts visited: ${hosts[*]} (four cookies each)."
} > "$out/VERSIONS.txt"
ls -l "$out"
cat "$out/VERSIONS.txt"
