#!/usr/bin/env bash
# Under Wine, on 20,000 files in 1,000 folders, sounds on: Clear IE Cache as a
# user meets it (chosen in the tray menu, timed from the click until the cache
# folder is empty) against the floor, a bare Win32 loop that empties an
# identical tree (one listing per folder, one delete per file, one remove per
# folder, wide calls: nomblet_wine_floor), and against `cmd /c rd /s /q`; the
# walk alone (nomblet_wine_walk) against `cmd /c dir /s /b`; and how many
# sounds a second the command starts. Goal: Clear IE Cache at most 1.1 times
# the floor, in the median of the runs' ratios.
set -euo pipefail
usage() {
  echo "usage: bench/wine_cleanup.sh [runs (3)]"
  echo "Sets itself up (packages, Wine prefix, display, win32 build) as scripts/test does."
  echo "NOMBLET_EXE=PATH measures another build of nomblet.exe (one kept from before a change, say)."
}
case ${1:-} in -h | --help) usage; exit 0 ;; esac
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
exe=$(realpath "${NOMBLET_EXE:-$root/build/win32/nomblet.exe}")
cd "$root"
source scripts/setup
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target nomblet nomblet_driver nomblet_wine_walk nomblet_wine_floor >/dev/null
set -- "$exe" "$root/build/win32/tests/e2e/nomblet_driver.exe"
source "$root/tests/e2e/lib.sh"
walker=$root/build/win32/nomblet_wine_walk.exe
floor=$root/build/win32/nomblet_wine_floor.exe

folders=1000
# The shell's Internet cache folder, where WinINet keeps its index (Content.IE5).
tif=$(driver folder 32 | tr -d '\r')
# The floor's tree and rd's beside it: each name of a path costs its look under Wine.
floor_dir=${tif%\\*}\\NombletFloor copy_dir=${tif%\\*}\\NombletCopy
make_tree() { # folder
  local base; base=$(unix_path "$1")
  mkdir -p "$base"
  (cd "$base" && for f in $(seq 0 $((folders - 1))); do
    mkdir "F$f"
    (cd "F$f" && touch $(printf 'entry%d[1].htm ' $(seq 0 19)))
  done)
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Runs a command and prints the milliseconds from its start until the folder
# FOLDER has lost its N entries (as the kernel reports them: reading the folder
# again and again would compete with the removals for it) and the command has
# ended; then the CPU milliseconds that the command and the processes PIDS
# (the program, the prefix's wineserver) used meanwhile, which another
# engineer's load on the machine moves far less.
timed() { # folder n "pids" command...
  python3 - "$@" <<'PY'
import ctypes, os, select, struct, subprocess, sys, time
hz = os.sysconf("SC_CLK_TCK")
def cpu(pids):  # utime + stime, threads that ended included
    total = 0
    for pid in pids:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        total += int(fields[11]) + int(fields[12])
    return total * 1000 / hz
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init()
if fd < 0 or libc.inotify_add_watch(fd, sys.argv[1].encode(), 0x200) < 0:  # IN_DELETE
    sys.exit("no inotify")
left = int(sys.argv[2])
pids = sys.argv[3].split()
used = -cpu(pids)
start = time.monotonic()
child = subprocess.Popen(sys.argv[4:], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
while left > 0:
    if not select.select([fd], [], [], 600)[0]:
        sys.exit(f"{left} entries still there after 10 minutes")
    data = os.read(fd, 1 << 16)
    at = 0
    while at < len(data):
        left -= 1
        at += 16 + struct.unpack_from("iIII", data, at)[3]
_, status, usage = os.wait4(child.pid, 0)
wall = (time.monotonic() - start) * 1000
used += cpu(pids) + (usage.ru_utime + usage.ru_stime) * 1000
print(round(wall), round(used))
PY
}
stat_line() { python3 -c "import statistics,sys; v=sorted(map(float,sys.argv[1:])); print(f'min {v[0]:.0f} ms, median {statistics.median(v):.0f} ms, max {v[-1]:.0f} ms')" "$@"; }
median() { python3 -c "import statistics,sys; print(statistics.median(map(float,sys.argv[1:])))" "$@"; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

record_sounds
start_nomblet
open_menu
row=$(menu_row_number "Clear IE Cache") || fail "the tray menu has no row \"Clear IE Cache\": $(menu_rows)"
keys=$(downs "$row")
driver keys escape
server=$(for pid in $(pgrep -f wineserver); do
  if { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then echo "$pid"; fi
done)
[ "$(echo "$server" | wc -w)" = 1 ] || fail "no single wineserver of this prefix: '$server'"
floor_run() {
  sync
  local wall cpu
  read -r wall cpu < <(timed "$(unix_path "$floor_dir")" "$folders" "$server" wine "$floor" "$floor_dir")
  floors+=("$wall") floor_cpus+=("$cpu")
}
ours=() floors=() theirs=() walks=() dirs=() rates=() to_floor=() to_rd=() our_cpus=() floor_cpus=() cpu_to_floor=()
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  make_tree "$tif"
  make_tree "$floor_dir"
  make_tree "$copy_dir"
  sync

  t0=$(now_ms); wine "$walker" "$tif" >/dev/null; walks+=($(($(now_ms) - t0)))
  t0=$(now_ms); wine cmd /c dir /s /b "$copy_dir" >/dev/null; dirs+=($(($(now_ms) - t0)))

  # The floor and the command take turns at going first; each starts with
  # nothing of the other's still being written out.
  [ $((run % 2)) = 1 ] || floor_run
  before=$(ls "$E2E_SOUNDS" | wc -l)
  sync
  open_menu
  read -r took our_cpu < <(timed "$(unix_path "$tif")" "$folders" "$E2E_PID $server" wine "$E2E_DRIVER" keys $keys return)
  ours+=("$took") our_cpus+=("$our_cpu")
  sounds=$(($(ls "$E2E_SOUNDS" | wc -l) - before))
  rates+=($(python3 -c "print(round($sounds / ($took / 1000), 1))"))
  [ $((run % 2)) = 0 ] || floor_run

  sync
  t0=$(now_ms); wine cmd /c rd /s /q "$copy_dir"; theirs+=($(($(now_ms) - t0)))
  rmdir "$(unix_path "$floor_dir")"
  to_floor+=($(ratio "$took" "${floors[-1]}")) to_rd+=($(ratio "$took" "${theirs[-1]}"))
  cpu_to_floor+=($(ratio "$our_cpu" "${floor_cpus[-1]}"))
  echo "run $run: Clear IE Cache ${took} ms, floor ${floors[-1]} ms (${to_floor[-1]}x), rd /s /q ${theirs[-1]} ms" \
    "(${to_rd[-1]}x); CPU with the wineserver: ${our_cpu} ms against the floor's ${floor_cpus[-1]} ms (${cpu_to_floor[-1]}x)"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
close_nomblet
wait_for_exit 5 || true

echo "Clear IE Cache, 20,000 files in 1,000 folders: $(stat_line "${ours[@]}")"
echo "the floor (bare loop, each delete checked):    $(stat_line "${floors[@]}")"
echo "cmd /c rd /s /q:                               $(stat_line "${theirs[@]}")"
echo "  against the floor: median of the runs' ratios $(median "${to_floor[@]}") (goal at most 1.1), ratio of medians $(ratio "$(median "${ours[@]}")" "$(median "${floors[@]}")")"
echo "  CPU time against the floor's: median of the runs' ratios $(median "${cpu_to_floor[@]}")"
echo "  against rd /s /q:  median of the runs' ratios $(median "${to_rd[@]}"), ratio of medians $(ratio "$(median "${ours[@]}")" "$(median "${theirs[@]}")")"
echo "the walk alone:                                $(stat_line "${walks[@]}")"
echo "cmd /c dir /s /b:                              $(stat_line "${dirs[@]}")"
echo "  ratio of medians $(ratio "$(median "${walks[@]}")" "$(median "${dirs[@]}")")"
echo "sounds started a second during the command: ${rates[*]}"
