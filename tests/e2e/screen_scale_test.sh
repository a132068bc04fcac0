# At 150% (144 pixels per inch) the program lays itself out at the screen's
# scale: the about window and its texts are half as large again, both links
# show whole; the shell gets the tray image drawn at its small-icon size of 24
# pixels; and the program runs with the common controls of version 6 that its
# manifest names.
source "$(dirname "$0")/lib.sh"

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
# Each of the prefix's processes takes the scale when it starts: the session starts again.
wineserver -k >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

see_about_window at-150-percent true
# A layout made at 96 pixels per inch: 298 x 78, the caption's box at 32,12 (249 x 25),
# the mail link at 84,36, the web link at 136,56.
[ "$width $height" = "447 117" ] || fail "the about window is $width x $height, not 447 x 117"
glyphs=$(pixels "$shot" $((left + 48)) $((top + 18)) 374 38 | awk '$4 == 255 && $5 == 0 && $3 + $4 > 0 { n++ } END { print n + 0 }')
[ "$glyphs" -gt 225 ] || fail "the caption shows $glyphs gradient pixels in its box"
red=$(count_colour "$shot" $((left + 6)) $((top + 84)) 200 20 "255 0 0")
[ "$red" -gt 110 ] || fail "the text shows $red red pixels"

# Each link's underline begins at its corner, scaled, and runs as wide as the
# system draws the address in the scaled font (-17 pixels): the address shows whole.
span() {
  pixels "$shot" "$left" "$top" "$width" "$height" | awk -v c="$1 $2 $3" -v below="$4" '
    $3 " " $4 " " $5 == c && $2 > below { if (!n++ || $1 < lo) lo = $1; if ($1 > hi) hi = $1; if ($2 > low) low = $2 }
    END { print lo + 0, hi + 0, low + 0 }'
}
drawn_width() { driver textwidth "MS Sans Serif" -17 "$1" | tr -d '\r'; }
read -r mail_left mail_right mail_low < <(span 0 0 255 0)
read -r web_left web_right _ < <(span 255 255 0 "$mail_low")
[ $((mail_left - left)) -eq 126 ] || fail "the mail link begins at $((mail_left - left)), not 126"
# The web link keeps its place, or moves right to keep its distance from the text before it.
read -r _ text_right _ < <(span 255 0 0 0)
[ $((web_left - left)) -ge 204 ] || fail "the web link begins at $((web_left - left)), before 204"
[ "$web_left" -gt $((text_right + 6)) ] || fail "the web link begins at $web_left, at the text's end $text_right"
mail_width=$(drawn_width nomblet@fallowmere.example)
web_width=$(drawn_width www.fallowmere.example)
[ $((mail_right - mail_left + 1)) -ge $((mail_width - 1)) ] ||
  fail "the mail link shows $((mail_right - mail_left + 1)) of the address's $mail_width pixels"
[ $((web_right - web_left + 1)) -ge $((web_width - 1)) ] ||
  fail "the web link shows $((web_right - web_left + 1)) of the address's $web_width pixels"
[ "$web_right" -lt $((left + width)) ] || fail "the web link reaches the window's edge"

driver hidden TForm1 5 || fail "the about window did not hide"
read -r icon_width icon_height _ < <(driver tray | tr -d '\r') || fail "no icon was handed to the shell"
[ "$icon_width x $icon_height" = "24 x 24" ] || fail "the shell got an icon of $icon_width x $icon_height"

# The comctl32 the program loaded is the one of the common controls 6 assembly
# (Wine 8's answers 5.81 to DllGetVersion wherever it is loaded from, see docs/wine.md).
controls=$(driver controls | tr -d '\r')
echo "[$E2E_NAME] comctl32: $controls"
case "${controls,,}" in
  6.*|*'\winsxs\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.'*'\comctl32.dll') ;;
  *) fail "the program runs with the common controls '$controls'" ;;
esac

close_nomblet
wait_for_exit 5 || fail "nomblet.exe still runs 5 s after the close request"
pass
