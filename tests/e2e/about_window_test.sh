# The about window in its one second: the gradient caption, the blue mail link,
# the red text and the yellow web link on black; a click on each link hands the
# scheme and the address to the mail program and the web browser; then it is gone.
source "$(dirname "$0")/lib.sh"

# Recorders stand in for the web browser and the mail program.
for scheme in http mailto; do
  wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /f \
    /d "C:\\windows\\system32\\cmd.exe /c echo %1> C:\\opened-$scheme.txt" >/dev/null 2>&1
done

# What the shell handed over, once the recorder has written it.
opened() { tr -d '\r' < "$(unix_path "C:\\opened-$1.txt")" 2>/dev/null | sed 's/ *$//'; }

# Each link, clicked in its middle while the window shows; both must reach
# their recorder (a click after the window has gone reaches nothing).
click_links() {
  rm -f "$(unix_path 'C:\opened-http.txt')" "$(unix_path 'C:\opened-mailto.txt')"
  driver click $((left + 84 + 66)) $((top + 36 + 6)) $((left + 136 + 75)) $((top + 56 + 6))
  for _ in $(seq 50); do
    [ -n "$(opened http)" ] && [ -n "$(opened mailto)" ] && return 0
    sleep 0.1
  done
  return 1
}
see_about_window first-second click_links
first=$shot
sleep 2
gone=$(screenshot after-two-seconds)

# The caption's glyphs: gradient colours only, yellow at the left of the text and lime at its right.
read -r glyphs leftred rightred others < <(pixels "$first" $((left + 32)) $((top + 12)) 249 25 | awk '
  $3 + $4 + $5 == 0 { next }
  $4 == 255 && $5 == 0 { n++; if (!(lo) || $1 < lo) { lo = $1; lr = $3 } if ($1 > hi) { hi = $1; hr = $3 } next }
  { other++ }
  END { print n + 0, lr + 0, hr + 0, other + 0 }')
[ "$glyphs" -gt 100 ] || fail "the caption shows $glyphs gradient pixels"
[ "$others" -eq 0 ] || fail "the caption's box holds $others pixels that are neither black nor gradient"
[ "$leftred" -ge 230 ] || fail "the caption's leftmost glyph pixel has red $leftred, not yellow"
[ "$rightred" -le 25 ] || fail "the caption's rightmost glyph pixel has red $rightred, not lime"

blue=$(count_colour "$first" $((left + 84)) $((top + 36)) 132 13 "0 0 255")
red=$(count_colour "$first" $((left + 4)) $((top + 56)) 123 13 "255 0 0")
yellow=$(count_colour "$first" $((left + 136)) $((top + 56)) 151 13 "255 255 0")
[ "$blue" -gt 50 ] || fail "the mail link shows $blue blue pixels"
[ "$red" -gt 50 ] || fail "the text shows $red red pixels"
[ "$yellow" -gt 50 ] || fail "the web link shows $yellow yellow pixels"

# Each address shows whole: its link's underline runs as wide as the system draws
# the address in the links' font (a link cut at its box stops short).
# Prints "pixels leftmost rightmost lowest" of the pixels of colour R G B in the
# window below row BELOW.
colour_span() {
  pixels "$first" "$left" "$top" "$width" "$height" | awk -v c="$1 $2 $3" -v below="$4" '
    $3 " " $4 " " $5 == c && $2 > below { if (!n++ || $1 < lo) lo = $1; if ($1 > hi) hi = $1; if ($2 > low) low = $2 }
    END { print n + 0, lo + 0, hi + 0, low + 0 }'
}
drawn_width() { driver textwidth "MS Sans Serif" -11 "$1" | tr -d '\r'; }
read -r _ mail_left mail_right mail_low < <(colour_span 0 0 255 0)
# The web link is the yellow below the mail link (the caption's gradient starts yellow too).
read -r _ web_left web_right _ < <(colour_span 255 255 0 "$mail_low")
mail_width=$(drawn_width nomblet@fallowmere.example)
web_width=$(drawn_width www.fallowmere.example)
[ $((mail_right - mail_left + 1)) -ge $((mail_width - 1)) ] ||
  fail "the mail link shows $((mail_right - mail_left + 1)) of the address's $mail_width pixels"
[ $((web_right - web_left + 1)) -ge $((web_width - 1)) ] ||
  fail "the web link shows $((web_right - web_left + 1)) of the address's $web_width pixels"

# What the shell handed over: the scheme and the caption, as the links show them.
[ "$(opened mailto)" = "mailto:nomblet@fallowmere.example" ] || fail "the mail program got '$(opened mailto)'"
[ "$(opened http)" = 'http:\\www.fallowmere.example' ] || fail "the web browser got '$(opened http)'"

read -r _ _ _ _ visible < <(driver rect TForm1 | tr -d '\r')
[ "$visible" = 0 ] || fail "the about window still shows after two seconds"
[ "$(pixel "$gone" $((left + 149)) $((top + 39)))" != "0,0,0" ] || fail "the about window's black stays on the screen"

close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs 5 s after the close request"
pass
