# A first start without a settings file writes the nine keys with their defaults at exit.
source "$(dirname "$0")/lib.sh"

[ ! -e "$(settings_file)" ] || fail "the fresh prefix already has a settings file"
start_nomblet
close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs after the close request"

expect() {
  local got
  got=$(settings_value "$1" "$2") || fail "[$1] $2 is missing"
  [ "$got" = "$3" ] || fail "[$1] $2 is '$got', not '$3'"
}
expect "Cookie File" Name ""
expect "Cookie File" OName ""
expect "Cookie Dir" Dir "$(driver folder 33 | tr -d '\r')" # the shell's cookie folder
expect "Cookie Dat" ICQ ""
expect Settings MunchICQ 1
expect Settings SoundsOn 1
expect Settings Autoload 0   # not registered: the mark shows what the registry holds
expect Settings CrunchWave default
expect Settings BurpWave default
pass
