#!/usr/bin/env python3
"""The local sites that the real browsers visit for the tests (tests/browser_stores.sh, tests/site_data_check.sh).

    browser_pages.py PORT store|check PAGE_FILE HOST...

Every host name resolves to this machine. Each page sets four cookies for its host (two for the host alone, one for
its whole domain, one with a path) and leads to the next host, so that one tab visits them all; the last one closes
its window. PAGE_FILE is written as the file:// page the browser starts from (a site that is not a web site), which
leads to the first host.
- store: each page stores its site data (localStorage, sessionStorage, an IndexedDB database, a Cache API entry and a
  service worker), then reports "STORED <host> ok" on standard error.
- check: each page reports what it finds of that data, then stores it again and reads it back:
  "FOUND <host> local,idb,cache again=ok" (only what it found listed; "-" for nothing).
"""
import http.server
import json
import sys
from urllib.parse import unquote

port, mode, page_file, hosts = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]

SCRIPT = """
const web = location.protocol !== 'file:', host = web ? location.hostname : 'file';
const mode = %(mode)s, next = %(next)s, port = %(port)s;
const report = text => fetch('http://' + %(first)s + ':' + port + '/report?' + encodeURIComponent(text),
  {mode: 'no-cors'}).catch(() => {});
const request = r => new Promise((ok, fail) => { r.onsuccess = () => ok(r.result); r.onerror = () => fail(r.error); });
async function putDatabase(name, value) {
  const open = indexedDB.open(name, 1);
  open.onupgradeneeded = () => open.result.createObjectStore('ids');
  const db = await request(open);
  const tx = db.transaction('ids', 'readwrite'); tx.objectStore('ids').put(value, 'id');
  await new Promise((ok, fail) => { tx.oncomplete = ok; tx.onerror = () => fail(tx.error); });
  db.close();
}
async function getDatabase(name) {
  if (!(await indexedDB.databases()).some(d => d.name === name)) return null;
  const db = await request(indexedDB.open(name));
  const value = db.objectStoreNames.contains('ids') ? await request(db.transaction('ids').objectStore('ids').get('id')) : null;
  db.close();
  return value;
}
async function getCache(name) {
  if (!(await caches.has(name))) return null;
  const response = await (await caches.open(name)).match('/cached');
  return response ? response.text() : null;
}
async function store(suffix) {
  localStorage.setItem('id' + suffix, host + '-local');
  sessionStorage.setItem('id' + suffix, host + '-session');
  if (!web) return;  // a file:// page keeps only its localStorage here
  await putDatabase('site' + suffix, host + '-idb');
  await (await caches.open('site' + suffix)).put('/cached', new Response(host + '-cache'));
}
async function find(suffix) {
  const found = [];
  if (localStorage.getItem('id' + suffix) === host + '-local') found.push('local');
  if (web && await getDatabase('site' + suffix) === host + '-idb') found.push('idb');
  if (web && await getCache('site' + suffix) === host + '-cache') found.push('cache');
  return found;
}
async function run() {
  if (mode === 'store') {
    await store('');
    if (web) {
      await navigator.serviceWorker.register('/worker.js'); await navigator.serviceWorker.ready; }
    return 'STORED ' + host + ' ok';
  }
  const found = await find('');
  await store('-again');
  const again = (await find('-again')).length === (web ? 3 : 1);
  return 'FOUND ' + host + ' ' + (found.join(',') || '-') + ' again=' + (again ? 'ok' : 'failed');
}
run().catch(e => 'FAILED ' + host + ' ' + e).then(async text => {
  await report(text);
  if (next) location.href = next; else setTimeout(() => window.close(), 500);
});
"""


def page(following):
    values = {"mode": json.dumps(mode), "port": port, "first": json.dumps(hosts[0]),
              "next": json.dumps(f"http://{following}:{port}/" if following else "")}
    return f"<html><body><script>{SCRIPT % values}</script></body></html>"


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        host = self.headers.get("Host", "").split(":")[0]
        self.send_response(200)
        if self.path.startswith("/report?"):
            sys.stderr.write(unquote(self.path[len("/report?"):]) + "\n")
            sys.stderr.flush()
            self.end_headers()
            return
        if self.path == "/worker.js":
            self.send_header("Content-Type", "text/javascript")
            self.end_headers()
            self.wfile.write(b"self.addEventListener('fetch', () => {});")
            return
        self.send_header("Content-Type", "text/html")
        for i in range(2):
            self.send_header("Set-Cookie", f"id{i}={host}-value-{i}; Max-Age=31536000")
        self.send_header("Set-Cookie", f"wide={host}-wide; Domain={host}; Max-Age=31536000")
        self.send_header("Set-Cookie", f"deep={host}-deep; Path=/deep; Max-Age=31536000")
        self.end_headers()
        following = hosts[hosts.index(host) + 1] if host in hosts[:-1] else None
        self.wfile.write(page(following).encode())

    def log_message(self, *args):
        pass


with open(page_file, "w") as start:
    start.write(page(hosts[0]))
http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
