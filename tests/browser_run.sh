# Sourced by tests/browser_stores.sh and tests/site_data_check.sh: the local sites (tests/browser_pages.py) and
# Debian's firefox-esr and chromium started headless on a profile of the caller's, one at a time, with the made-up
# hosts resolved to this machine and treated as secure (the Cache API and service workers ask for that).
# The file:// page has a fixed path: Firefox keeps a file's data under an origin named after its path.
browser_port=18731
browser_page=/tmp/nomblet-sites/start.html
browser_log=
browser_server_=
browser_pid_=
browser_hosts_=()

# browser_serve store|check HOST...: serves the sites; their reports go to $browser_log, one line each.
browser_serve() {
  local mode=$1
  shift
  browser_hosts_=("$@")
  mkdir -p "$(dirname "$browser_page")"
  browser_log=$(mktemp /tmp/nomblet-sites.XXXXXX.log)
  python3 "$(dirname "${BASH_SOURCE[0]}")/browser_pages.py" "$browser_port" "$mode" "$browser_page" "$@" \
    2>> "$browser_log" &
  browser_server_=$!
  local _
  for _ in $(seq 50); do [ -s "$browser_page" ] && break; sleep 0.1; done
}

chromium_run() {
  local secure="" host
  for host in "${browser_hosts_[@]}"; do secure+="http://$host:$browser_port,"; done
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --remote-debugging-port=0 "--user-data-dir=$1" \
    "--host-resolver-rules=MAP *.example 127.0.0.1" "--unsafely-treat-insecure-origin-as-secure=${secure%,}" \
    "file://$browser_page" >/dev/null 2>&1 &
  browser_pid_=$!
}

# Firefox ends by itself when the last page closes its window.
firefox_run() {
  local hosts
  hosts=$(IFS=,; echo "${browser_hosts_[*]}")
  mkdir -p "$1"
  cat > "$1/user.js" <<JS
user_pref("network.dns.forceResolve", "127.0.0.1");
user_pref("network.proxy.type", 0);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("app.update.auto", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("dom.securecontext.allowlist", "$hosts");
user_pref("dom.caches.testing.enabled", true);
user_pref("dom.serviceWorkers.testing.enabled", true);
user_pref("dom.allow_scripts_to_close_windows", true);
JS
  firefox-esr --headless --no-remote --profile "$1" "file://$browser_page" >/dev/null 2>&1 &
  browser_pid_=$!
}

# browser_wait SECONDS: waits for the browser to end by itself; false when it has not.
browser_wait() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$browser_pid_" 2>/dev/null; do
    [ $SECONDS -lt "$deadline" ] || return 1
    sleep 0.5
  done
  wait "$browser_pid_" 2>/dev/null || true
  browser_pid_=
}

# Ends the browser as the system ends a program (SIGTERM; Chromium then saves what it holds), and waits for it.
browser_stop() {
  [ -z "$browser_pid_" ] || { kill -TERM "$browser_pid_" 2>/dev/null || true; wait "$browser_pid_" 2>/dev/null || true; }
  browser_pid_=
}

# Ends the browser and the sites.
browser_end() {
  browser_stop
  [ -z "$browser_server_" ] || { kill "$browser_server_" 2>/dev/null || true; wait "$browser_server_" 2>/dev/null || true; }
  browser_server_=
  [ -z "$browser_log" ] || rm -f "$browser_log"
}
