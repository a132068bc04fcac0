#!/usr/bin/env bash
# Under Wine: how soon the tray menu opens with 10,000 sites in a policy list
# (Nomblet's own, HKLM): the first click during start-up (the list is read from
# the first tick on), the others at rest; then each time a value was added just
# before the click, so that the list is read again (by the tick or as the menu
# opens) around the click.
# Prints each time from the click to the menu, driver start-up included (about
# 50 ms here). Goal: within 0.5 s.
#   bench/policy_menu.sh [tries (5)] [values (10000)]    (after a win32 build; needs a display)
set -euo pipefail
tries=${1:-5} values=${2:-10000}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
set -- "$root/build/win32/nomblet.exe" "$root/build/win32/tests/e2e/nomblet_driver.exe"
source "$root/tests/e2e/lib.sh"

{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Policies\\Nomblet\\KeepSites]\r\n'
  for n in $(seq "$values"); do printf '"%d"="https://www.site%d.example"\r\n' "$n" "$n"; done
} > "$WINEPREFIX/drive_c/policies.reg"
wine regedit /s 'C:\policies.reg' >/dev/null 2>&1
printf '[Settings]\r\nAutoload=0\r\n' > "$(settings_file)"
start_nomblet
driver hidden TForm1 5
menu_ms() {
  local t0; t0=$(date +%s%N)
  tray_mouse 516
  driver wait '#32768' 5 || { echo "no menu" >&2; exit 1; }
  echo $((($(date +%s%N) - t0) / 1000000))
  driver keys escape; sleep 0.6
}
for i in $(seq "$tries"); do echo "read at start, menu in $(menu_ms) ms"; done
for i in $(seq "$tries"); do
  wine reg add 'HKLM\Software\Policies\Nomblet\KeepSites' /v "x$i" /d "new$i.example" /f >/dev/null 2>&1
  echo "a value added just before, menu in $(menu_ms) ms"
done
close_nomblet
