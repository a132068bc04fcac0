# The home page row hands the web browser the whole address.
source "$(dirname "$0")/lib.sh"

# A recorder stands in for the browser: it writes what the shell hands it.
wine reg add 'HKCR\http\shell\open\command' /ve /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened.txt' /f \
  >/dev/null 2>&1 || fail "the recorder could not be registered"
start_nomblet
choose_menu_row 'Fallowmere Home Page'
for _ in $(seq 50); do [ -s "$(unix_path 'C:\opened.txt')" ] && break; sleep 0.1; done
[ -s "$(unix_path 'C:\opened.txt')" ] || fail "the browser was not started"
opened=$(tr -d '\r\n ' < "$(unix_path 'C:\opened.txt')")
[ "$opened" = "http://www.fallowmere.example/" ] || fail "the browser was handed '$opened'"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
