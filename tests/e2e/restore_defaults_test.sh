# "Restore Defaults" writes "default" and "Default", then tells the user.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Settings]
CrunchWave=C:\snd\mine.wav
BurpWave=C:\snd\other.wav
INI
start_nomblet
choose_menu_row 'Modify Sounds/Restore Defaults'
driver wait '#32770' 5 || fail "no information box"
[ "$(settings_value Settings CrunchWave)" = default ] || fail "CrunchWave is not 'default'"
[ "$(settings_value Settings BurpWave)" = Default ] || fail "BurpWave is not 'Default'"
screenshot information >/dev/null
driver keys return
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
