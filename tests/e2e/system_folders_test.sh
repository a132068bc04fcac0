# A drive root or the Windows directory named as the cookie folder is passed
# over: its files survive cycle after cycle, while the Netscape cookie file is
# still munched.
source "$(dirname "$0")/lib.sh"

for dir in 'C:\' 'C:\windows'; do
  write_settings <<INI
[Cookie File]
Name=C:\ns\cookies.txt
[Cookie Dir]
Dir=$dir
INI
  make_file 'C:\keep.txt'
  make_file 'C:\ns\cookies.txt'
  before=$(ls "$(unix_path "$dir")" | wc -l)
  start_nomblet
  for cycle in 1 2 3; do
    make_file 'C:\ns\cookies.txt'
    sleep 1.1
    ! file_exists 'C:\ns\cookies.txt' || fail "with Dir=$dir the Netscape cookie file was not munched"
  done
  for kept in 'C:\keep.txt' 'C:\windows\win.ini' 'C:\windows\system.ini'; do
    file_exists "$kept" || fail "with Dir=$dir, $kept was munched"
  done
  [ "$(ls "$(unix_path "$dir")" | wc -l)" = "$before" ] || fail "with Dir=$dir files went"
  close_nomblet
  wait_for_exit 5 || fail "nomblet.exe did not end"
  [ "$(settings_value 'Cookie Dir' Dir)" = "$dir" ] || fail "the setting Dir=$dir was not kept"
done
pass
