# Munched cookies are heard; while the stores stay empty nothing plays.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie Dir]
Dir=C:\ie\cookies
INI
mkdir -p "$(unix_path 'C:\ie\cookies')"
record_sounds
start_nomblet
sleep 2
[ "$(sound_bytes)" -eq 0 ] || fail "$(sound_bytes) bytes of sound played while nothing was munched"
make_file 'C:\ie\cookies\one.txt'
make_file 'C:\ie\cookies\two.txt'
sleep 1.5
! file_exists 'C:\ie\cookies\one.txt' || fail "the cookies were not munched"
[ "$(sound_bytes)" -gt 0 ] || fail "no sound was played for the munched cookies"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
