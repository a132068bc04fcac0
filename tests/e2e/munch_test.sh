# Cookie stores are munched within a second of start; what must stay, stays.
source "$(dirname "$0")/lib.sh"

write_settings <<'INI'
[Cookie File]
Name=C:\ns\cookies.txt
OName=C:\opera\cookies4.dat
[Cookie Dir]
Dir=C:\ie\cookies
[Cookie Dat]
ICQ=C:\icq\cookies.dat
[Settings]
MunchICQ=0
INI
make_file 'C:\ns\cookies.txt'
make_file 'C:\opera\cookies4.dat'
make_file 'C:\icq\cookies.dat'
make_file 'C:\ie\cookies\user@site1.txt'
make_file 'C:\ie\cookies\user@site2.txt'
make_file 'C:\ie\cookies\index.dat'
make_file 'C:\ie\cookies\INDEX.DAT'
make_file 'C:\ie\cookies\locked.txt'
chmod a-w "$(unix_path 'C:\ie\cookies\locked.txt')"
make_file 'C:\ie\cookies\sub\deep.txt'

start_nomblet
sleep 1.2
for gone in 'C:\ns\cookies.txt' 'C:\opera\cookies4.dat' 'C:\ie\cookies\user@site1.txt' 'C:\ie\cookies\user@site2.txt'; do
  ! file_exists "$gone" || fail "$gone was not munched within a second"
done
for kept in 'C:\icq\cookies.dat' 'C:\ie\cookies\index.dat' 'C:\ie\cookies\INDEX.DAT' 'C:\ie\cookies\locked.txt' 'C:\ie\cookies\sub\deep.txt'; do
  file_exists "$kept" || fail "$kept was munched"
done

# A cookie that arrives while the program runs goes within a second.
make_file 'C:\ie\cookies\late.txt'
sleep 1.1
! file_exists 'C:\ie\cookies\late.txt' || fail "a new cookie was not munched within a second"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
