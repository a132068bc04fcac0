# Start, see the black about window in the middle of the screen, close, gone.
source "$(dirname "$0")/lib.sh"

see_about_window about true
read -r sw sh < <(driver screen | tr -d '\r')
[ "$width $height" = "298 78" ] || fail "window is $width x $height"
[ "$left $top" = "$((sw / 2 - 149)) $((sh / 2 - 39))" ] || fail "window at $left,$top on a $sw x $sh screen"
for xy in "$left $top" "$((left + width - 1)) $((top + height - 1))" "$((left + 149)) $((top + 39))"; do
  [ "$(pixel "$shot" $xy)" = "0,0,0" ] || fail "pixel $xy of the window is $(pixel "$shot" $xy), not black"
done
[ "$(pixel "$shot" $((left - 1)) $top)" != "0,0,0" ] || fail "the black reaches left of the window"
[ "$(pixel "$shot" $left $((top + height)))" != "0,0,0" ] || fail "the black reaches below the window"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs 5 s after the close request"
pass
