#!/usr/bin/env bash
# Under Wine: eight Chromium cookie stores (the test profile's, as Chromium 156
# wrote it) appear at once in eight profiles of four browsers while nomblet.exe
# rests, one site of them kept; how long from their appearing until each is
# munched (its rollback journal gone after the commit, as the kernel reports it). Goal: all eight
# within 1.5 s. Prints each run and min, median and max of the last store's time.
#   bench/wine_eight_stores.sh [runs (5)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: bench/wine_eight_stores.sh [runs (5)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source bench/lib.sh
bench_setup nomblet
runs=${1:-5}
exe=$(realpath "${NOMBLET_EXE:-$PWD/build/win32/nomblet.exe}")
store=$PWD/tests/data/browsers/Cookies

bench_prefix
printf '[Settings]\r\nSoundsOn=0\r\nAutoload=0\r\n[Keep Sites]\r\nkeep.example=1\r\n' > "$c/windows/nomblet.ini"
kept=$(sqlite3 "$store" "SELECT count(*) FROM cookies WHERE host_key LIKE '%keep.example'")
local_=$c/users/root/AppData/Local
folders=()
for browser in "Google/Chrome" "Microsoft/Edge" "BraveSoftware/Brave-Browser" "Chromium"; do
  for profile in Default "Profile 1"; do
    folder="$local_/$browser/User Data/$profile"
    mkdir -p "$folder/Network"
    printf '{}' > "$folder/Preferences"
    folders+=("$folder/Network")
  done
done

bench_start "$exe"
echo "load average before: $(load_average)"
times=()
for ((r = 1; r <= runs; r++)); do
  for folder in "${folders[@]}"; do cp "$store" "$folder/.staged"; done
  sync
  took=$(python3 - "${folders[@]}" <<'PY'
import ctypes, os, struct, sys, time
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
watches = {}
for folder in sys.argv[1:]:
    w = libc.inotify_add_watch(fd, folder.encode(), 0x200)  # IN_DELETE
    if w < 0:
        sys.exit("no inotify")
    watches[w] = folder
start = time.monotonic()
for folder in sys.argv[1:]:
    os.rename(os.path.join(folder, ".staged"), os.path.join(folder, "Cookies"))
done = {}
while len(done) < len(watches):
    data = os.read(fd, 1 << 16)
    at = 0
    while at < len(data):
        w, _, _, length = struct.unpack_from("iIII", data, at)
        name = data[at + 16:at + 16 + length].rstrip(b"\0")
        if name == b"Cookies-journal":
            done.setdefault(w, time.monotonic() - start)
        at += 16 + length
times = sorted(done.values())
print(f"{times[-1]:.3f} {times[0]:.3f}", flush=True)
PY
)
  read -r last first <<<"$took"
  echo "run $r: the first store munched after $first s, the eighth after $last s"
  times+=("$last")
  for folder in "${folders[@]}"; do
    [ "$(sqlite3 "$folder/Cookies" 'SELECT count(*) FROM cookies')" = "$kept" ] || { echo "a store was not munched" >&2; exit 1; }
    rm -f "$folder/Cookies"
  done
  sleep 1
done
printf '%s\n' "${times[@]}" | summary "the eighth store munched, s"
echo "load average after: $(load_average)"
bench_stop
