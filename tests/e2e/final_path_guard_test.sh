# The system-folder guard judges where a cookie folder really is: a link to the
# Windows folder, the "\??\" form, the Wine form of its host path, a drive
# mapped onto the Windows folder, and the shell's Fonts folder are each passed
# over with every file kept, while the Netscape cookie file is still munched.
# A cookie folder that is a link to an ordinary folder is munched there.
source "$(dirname "$0")/lib.sh"

ln -s "$(unix_path 'C:\windows')" "$(unix_path 'C:\lnk')"
ln -s ../drive_c/windows "$WINEPREFIX/dosdevices/x:"
make_file 'C:\windows\Fonts\keep.fon'
unix_windows=$(cd "$(unix_path 'C:\windows')" && pwd -P)

for dir in 'C:\lnk' '\??\C:\windows' "\\\\?\\unix$unix_windows" 'X:\system32' 'X:\' 'C:\windows\Fonts'; do
  write_settings <<INI
[Cookie File]
Name=C:\ns\cookies.txt
[Cookie Dir]
Dir=$dir
INI
  find "$(unix_path 'C:\windows')" -maxdepth 2 | sort > "$WINEPREFIX/before"
  start_nomblet
  for cycle in 1 2; do
    make_file 'C:\ns\cookies.txt'
    sleep 1.1
    ! file_exists 'C:\ns\cookies.txt' || fail "with Dir=$dir the Netscape cookie file was not munched"
  done
  # Wine may add files of its own there; none may go.
  gone=$(find "$(unix_path 'C:\windows')" -maxdepth 2 | sort | comm -23 "$WINEPREFIX/before" -)
  [ -z "$gone" ] || fail "with Dir=$dir files of the Windows folder went: $gone"
  close_nomblet
  wait_for_exit 5 || fail "nomblet.exe did not end"
  [ "$(settings_value 'Cookie Dir' Dir)" = "$dir" ] || fail "the setting Dir=$dir was not kept"
done

# A link to an ordinary folder is that folder.
make_file 'C:\real\cookies\a.txt'
ln -s "$(unix_path 'C:\real\cookies')" "$(unix_path 'C:\cookielink')"
write_settings <<'INI'
[Cookie Dir]
Dir=C:\cookielink
INI
start_nomblet
sleep 1.5
! file_exists 'C:\real\cookies\a.txt' || fail "a cookie folder reached through a link was not munched"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
