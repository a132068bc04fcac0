# Start, see the black about window in the middle of the screen, close, gone.
source "$(dirname "$0")/lib.sh"

start_nomblet
read -r sw sh < <(driver screen | tr -d '\r')
# The window shows for one second from its making: on a busy machine less of it
# is left by the time it is on the screen, so look as soon as it is.
for _ in $(seq 20); do
  read -r left top width height visible < <(driver rect TForm1 | tr -d '\r')
  [ "$visible" != 1 ] || break
  sleep 0.05
done
[ "$width $height $visible" = "298 78 1" ] || fail "window is $width x $height, visible $visible"
[ "$left $top" = "$((sw / 2 - 149)) $((sh / 2 - 39))" ] || fail "window at $left,$top on a $sw x $sh screen"

# A busy machine may paint the window a moment after it shows.
for _ in 1 2 3; do
  shot=$(screenshot about)
  [ "$(pixel "$shot" $((left + 149)) $((top + 39)))" != "0,0,0" ] || break
done
for xy in "$left $top" "$((left + width - 1)) $((top + height - 1))" "$((left + 149)) $((top + 39))"; do
  [ "$(pixel "$shot" $xy)" = "0,0,0" ] || fail "pixel $xy of the window is $(pixel "$shot" $xy), not black"
done
[ "$(pixel "$shot" $((left - 1)) $top)" != "0,0,0" ] || fail "the black reaches left of the window"
[ "$(pixel "$shot" $left $((top + height)))" != "0,0,0" ] || fail "the black reaches below the window"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs 5 s after the close request"
pass
