# Waves whose format fields disagree (bytes a second and block align 0, no
# channels, 65535 channels) as the Crunch and Burp sounds: the program keeps
# munching, its menu answers, and it ends cleanly.
source "$(dirname "$0")/lib.sh"

# A RIFF wave of 8 silent bytes with the format fields given.
write_wave() {
  python3 - "$(unix_path "$1")" "${@:2}" <<'PY'
import struct, sys
tag, channels, rate, per_second, align, bits = map(int, sys.argv[2:])
fields = struct.pack('<HHIIHH', tag, channels, rate, per_second, align, bits)
body = b'WAVE' + b'fmt ' + struct.pack('<I', 16) + fields + b'data' + struct.pack('<I', 8) + b'\x80' * 8
open(sys.argv[1], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PY
}

mkdir -p "$(unix_path 'C:\waves')"
write_wave 'C:\waves\zero.wav' 1 1 11025 0 0 8
write_wave 'C:\waves\nochannels.wav' 1 0 11025 11025 1 8
write_wave 'C:\waves\many.wav' 1 65535 11025 11025 1 8

record_sounds # a sound device, as a user has one: the player reads the fields
for wave in zero nochannels many; do
  write_settings <<INI
[Cookie Dir]
Dir=C:\ie\cookies
[Settings]
CrunchWave=C:\waves\\$wave.wav
BurpWave=C:\waves\\$wave.wav
INI
  make_file 'C:\ie\cookies\one.txt'
  start_nomblet
  sleep 1.5
  ! file_exists 'C:\ie\cookies\one.txt' || fail "with $wave.wav the first cookie was not munched"
  kill -0 "$E2E_PID" 2>/dev/null || fail "nomblet.exe ended playing $wave.wav"
  make_file 'C:\ie\cookies\two.txt'
  sleep 1.2
  ! file_exists 'C:\ie\cookies\two.txt' || fail "with $wave.wav munching stopped"
  [ "$(munched_count)" = 2 ] || fail "with $wave.wav the menu did not answer with the count"
  close_nomblet
  wait_for_exit 5 || fail "nomblet.exe did not end with $wave.wav"
  [ "$E2E_STATUS" = 0 ] || fail "nomblet.exe ended with status $E2E_STATUS with $wave.wav"
  [ "$(settings_value Settings CrunchWave)" = "C:\\waves\\$wave.wav" ] || fail "the sound's setting was not kept"
done
pass
