# A run keeps what it does not own in the settings file, and a stored 0 stays 0.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Other Program]
Colour=blue
[Cookie File]
Name=C:\ns\cookies.txt
[Settings]
MunchICQ=0
SoundsOn=0
Autoload=yes
Mine=kept
INI
start_nomblet
close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs after the close request"

[ "$(settings_value "Other Program" Colour)" = blue ] || fail "another section was lost"
[ "$(settings_value Settings Mine)" = kept ] || fail "an unknown key was lost"
[ "$(settings_value Settings MunchICQ)" = 0 ] || fail "MunchICQ=0 did not stay 0"
[ "$(settings_value Settings SoundsOn)" = 0 ] || fail "SoundsOn=0 did not stay 0"
[ "$(settings_value Settings Autoload)" = 0 ] || fail "Autoload=yes was not read as a clear mark"
[ "$(settings_value "Cookie File" Name)" = 'C:\ns\cookies.txt' ] || fail "the Netscape path changed"
pass
