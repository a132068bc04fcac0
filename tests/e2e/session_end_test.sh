# The end of the Windows session ends the program with its settings saved.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Settings]
SoundsOn=0
INI
cookies=$(driver folder 33 | tr -d '\r') # the shell's cookie folder, the default
start_nomblet
end_session
wait_for_exit 10 || fail "nomblet.exe outlived the end of the session"
[ "$(settings_value "Cookie Dir" Dir)" = "$cookies" ] || fail "the settings were not saved at the session's end"
[ "$(settings_value Settings SoundsOn)" = 0 ] || fail "SoundsOn was not kept"
pass
