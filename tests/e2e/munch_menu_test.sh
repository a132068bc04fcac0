# While 20,000 cookies are munched the tray menu opens at once; Active chosen
# there stops the munch where it stands, and chosen again resumes it.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie Dir]
Dir=C:\ie\cookies
[Settings]
Autoload=0
INI
folder=$(unix_path 'C:\ie\cookies')
mkdir -p "$(dirname "$folder")"
# Made aside, so that the whole folder appears at once.
python3 - "$folder.new" 20000 <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for i in range(int(sys.argv[2])):
    with open(os.path.join(sys.argv[1], f"user@site{i}.txt"), "w") as f:
        f.write("cookie")
PY
left() { find "$folder" -mindepth 1 -maxdepth 1 | wc -l; }

start_nomblet
driver hidden TForm1 5 || fail "the about window did not hide"
mv "$folder.new" "$folder"
deadline=$((SECONDS + 10))
until [ "$(left)" -lt 20000 ]; do
  [ $SECONDS -lt $deadline ] || fail "the munch did not start"
  sleep 0.05
done
ms=$(driver popup TTrayIconWindow 10 | tr -d '\r') || fail "the tray menu did not open during the munch"
[ "$ms" -lt 2000 ] || fail "the tray menu took $ms ms to open during the munch"
sleep 0.2
row=$(menu_row_number Active) || fail "no Active row: $(menu_rows)"
driver keys $(downs "$row") return
sleep 0.3
stopped_at=$(left)
[ "$stopped_at" -gt 0 ] || fail "the munch was over before the menu was read"
sleep 1.5
[ "$(left)" -eq "$stopped_at" ] || fail "cookies were munched after Active was switched off"

choose_menu_row Active
deadline=$((SECONDS + 10))
until [ "$(left)" -lt "$stopped_at" ]; do
  [ $SECONDS -lt $deadline ] || fail "munching did not resume when Active was switched on again"
  sleep 0.2
done
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
