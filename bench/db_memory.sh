#!/usr/bin/env bash
# Under Wine: nomblet.exe's resident memory at rest, after it has munched a
# Chrome cookie database of N cookies (and its idle ticks since), for this
# build and for another (NOMBLET_EXE_BEFORE, one built before a change). Each
# runs in a prefix of its own; memory is read from /proc after `seconds`.
#   bench/db_memory.sh [cookies (1000)] [seconds (20)]
set -euo pipefail
case ${1:-} in -h | --help)
  echo "usage: NOMBLET_EXE_BEFORE=PATH bench/db_memory.sh [cookies (1000)] [seconds (20)]"
  exit 0 ;;
esac
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target nomblet >/dev/null
rows=${1:-1000}
seconds=${2:-20}
measure() {
  local exe=$1 prefix pid store
  prefix=$(mktemp -d /tmp/nomblet-bench.XXXXXX)
  cp -a "$NOMBLET_PREFIX_TEMPLATE/." "$prefix/"
  store="$prefix/drive_c/users/$(id -un)/AppData/Local/Google/Chrome/User Data/Default/Network"
  mkdir -p "$store"
  printf '[Settings]\r\nAutoload=0\r\nSoundsOn=0\r\n' > "$prefix/drive_c/windows/nomblet.ini"
  sqlite3 "$store/Cookies" "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
    CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL);
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
    INSERT INTO cookies SELECT i, '.site' || (i % 100) || '.example', 'c' || i, hex(randomblob(24)) FROM n;"
  (cd "$prefix/drive_c" && WINEPREFIX=$prefix exec wine "$exe" </dev/null >/dev/null 2>&1) &
  pid=$!
  sleep "$seconds"
  local left=kept
  [ -e "$store/Cookies" ] || left=munched
  echo "$exe: store $left, $(grep -E 'VmRSS|VmData' /proc/$pid/status | tr -s ' \t' ' ' | tr '\n' ' ')"
  kill "$pid" 2>/dev/null || true
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -z "${NOMBLET_EXE_BEFORE:-}" ] || measure "$(realpath "$NOMBLET_EXE_BEFORE")"
measure "$PWD/build/win32/nomblet.exe"
