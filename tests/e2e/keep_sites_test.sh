# A kept site's cookie files stay in the cookie folder while the others go;
# "Keep Sites" lists the kept sites and those just munched; ticking one keeps
# it in the settings file and spares it at the next munch and after a restart;
# unticking a site takes its key away and its cookies go.
source "$(dirname "$0")/lib.sh"

# A cookie file: one record of nine lines per host/path given.
cookie_file() {
  local path=$1 text='' hostPath; shift
  for hostPath in "$@"; do
    text+=$'name\nvalue\n'"$hostPath"$'\n9216\n2006418432\n30930000\n3120387840\n30820000\n*\n'
  done
  make_file "$path" "$text"
}
dir='C:\ie\cookies'
write_settings <<'INI'
[Cookie Dir]
Dir=C:\ie\cookies
[Settings]
Autoload=0
[Keep Sites]
bank.org=1
shop.net=no
INI
cookie_file "$dir\\user@bank[1].txt" 'www.bank.org/' 'bank.org/login/'
cookie_file "$dir\\user@news[1].txt" 'www.news.net/'
cookie_file "$dir\\user@mail[1].txt" '.mail.com/'
cookie_file "$dir\\user@badbank[1].txt" 'badbank.org/'
cookie_file "$dir\\mixed.txt" 'ads.example/' 'online.bank.org/'
# No record ends: judged by what each line names.
make_file "$dir\\broken.txt" $'name\nvalue\nnews.net/\n'
make_file "$dir\\broken-bank.txt" $'name\nvalue\nonline.bank.org/\n'

still_there() {
  local file
  sleep 1.1 # two more ticks
  for file in "$@"; do file_exists "$file" || fail "$file was munched, though it holds a kept site's cookie"; done
}
# The Keep Sites rows as "caption<TAB>checked", read in the open submenu, which is then closed.
keep_rows() {
  open_menu
  driver keys $(downs "$(menu_row_number 'Keep Sites')") right
  sleep 0.2
  menu_rows | cut -f1,2
  driver keys escape escape
  sleep 0.3
}

start_nomblet
wait_gone "$dir\\user@news[1].txt" "$dir\\user@mail[1].txt" "$dir\\user@badbank[1].txt" "$dir\\broken.txt"
still_there "$dir\\user@bank[1].txt" "$dir\\mixed.txt" "$dir\\broken-bank.txt"
[ "$(munched_count)" = 4 ] || fail "the spared files were counted"

rows=$(keep_rows)
[ "$(echo "$rows" | head -2)" = "$(printf '%s\n' $'bank.org\t1' $'-\t0')" ] ||
  fail "the kept site does not come first, checked, then a line:
$rows"
[ "$(echo "$rows" | tail -n +3 | sort)" = "$(printf '%s\n' $'badbank.org\t0' $'mail.com\t0' $'news.net\t0')" ] ||
  fail "the munched sites are not listed unchecked:
$rows"

choose_menu_row 'Keep Sites/news.net'
[ "$(settings_value 'Keep Sites' 'news.net')" = 1 ] || fail "news.net=1 was not saved"
[ "$(settings_value 'Keep Sites' 'shop.net')" = no ] || fail "a key not kept was not left as it stood"
cookie_file "$dir\\user@news[2].txt" 'news.net/'
cookie_file "$dir\\user@other[1].txt" 'other.org/'
wait_gone "$dir\\user@other[1].txt"
still_there "$dir\\user@news[2].txt"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"

# A site of other letters, written by hand in the settings file's code page
# (1252: "\xfc" is u with diaeresis), keeps the cookies of its ASCII form.
buecher=$'b\xfccher.example'
LC_ALL=C sed -i "s/^\\[Keep Sites\\]\r\$/&\n$buecher=1\r/" "$(settings_file)"
cookie_file "$dir\\user@buecher[1].txt" '.xn--bcher-kva.example/'
start_nomblet
cookie_file "$dir\\user@other[2].txt" 'other.org/'
wait_gone "$dir\\user@other[2].txt"
still_there "$dir\\user@news[2].txt" "$dir\\user@bank[1].txt" "$dir\\user@buecher[1].txt"
rows=$(keep_rows)
[ "$rows" = "$(printf '%s\n' $'bank.org\t1' "$buecher"$'\t1' $'news.net\t1' $'-\t0' $'other.org\t0')" ] ||
  fail "after a restart the rows read:
$rows"
choose_menu_row "Keep Sites/$buecher"
! settings_value 'Keep Sites' "$buecher" >/dev/null || fail "the key of $buecher stayed"
wait_gone "$dir\\user@buecher[1].txt"

# Unticked: the key goes, and so do the site's cookies.
choose_menu_row 'Keep Sites/bank.org'
! settings_value 'Keep Sites' 'bank.org' >/dev/null || fail "bank.org's key stayed"
wait_gone "$dir\\user@bank[1].txt" "$dir\\mixed.txt" "$dir\\broken-bank.txt"
still_there "$dir\\user@news[2].txt"
close_nomblet
wait_for_exit 5 || fail "nomblet.exe did not end"
pass
