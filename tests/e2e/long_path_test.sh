# A cookie folder of 340 characters and a Netscape cookie file beyond 260 are
# munched and counted like short ones; index.dat, a read-only file and a
# subfolder stay. The Windows directory spelt long or prefixed is still refused.
source "$(dirname "$0")/lib.sh"

a200=$(printf 'a%.0s' $(seq 200))
dir="C:\\long\\$a200\\$(printf 'b%.0s' $(seq 131))"
netscape="C:\\ns\\$(printf 'n%.0s' $(seq 250))\\cookies.txt"
[ ${#dir} = 340 ] && [ ${#netscape} -gt 260 ] || fail "the paths are not as long as meant"

write_settings <<INI
[Cookie File]
Name=$netscape
[Cookie Dir]
Dir=$dir
INI
for name in user@site1.txt user@site2.txt user@site3.txt index.dat locked.txt sub\\deep.txt; do
  make_file "$dir\\$name"
done
chmod a-w "$(unix_path "$dir\\locked.txt")"
make_file "$netscape"

start_nomblet
sleep 1.2
for gone in "$netscape" "$dir\\user@site1.txt" "$dir\\user@site2.txt" "$dir\\user@site3.txt"; do
  ! file_exists "$gone" || fail "${gone##*\\} under a long path was not munched within a second"
done
for kept in index.dat locked.txt sub\\deep.txt; do
  file_exists "$dir\\$kept" || fail "$kept was munched"
done
open_menu
menu_rows | grep -q $'^Munched = 4\t' || fail "the menu does not show 4 munched: $(menu_rows)"
driver keys escape
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
[ "$(settings_value 'Cookie Dir' Dir)" = "$dir" ] || fail "the long cookie folder was not kept in the settings"

# The Windows directory spelt beyond the limit or with the long-path prefix:
# passed over, while the long Netscape cookie file is still munched.
for windows in "C:\\windows\\$a200\\$a200\\..\\.." '\\?\C:\windows'; do
  write_settings <<INI
[Cookie File]
Name=$netscape
[Cookie Dir]
Dir=$windows
INI
  before=$(ls "$(windows_dir)" | wc -l)
  make_file "$netscape"
  start_nomblet
  sleep 1.2
  ! file_exists "$netscape" || fail "with Dir=$windows the Netscape cookie file was not munched"
  [ "$(ls "$(windows_dir)" | wc -l)" = "$before" ] || fail "with Dir=$windows files went from the Windows directory"
  close_nomblet
  wait_for_exit 5 || fail "nomblet.exe did not end"
done
pass
