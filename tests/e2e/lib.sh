# Helpers of the end-to-end scenarios. A scenario is run as
#   bash SCENARIO_test.sh path/to/nomblet.exe path/to/nomblet_driver.exe
# and gets a fresh copy of the project's Wine prefix, removed when it ends.
set -euo pipefail

E2E_EXE=$(realpath "$1")
E2E_DRIVER=$(realpath "$2")
E2E_NAME=$(basename "$0" .sh)
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_SHOTS=$(dirname "$E2E_EXE")/e2e-shots
E2E_PID=

export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=$(mktemp -d /tmp/nomblet-e2e.XXXXXX)
: "${DISPLAY:?the scenarios need a display; scripts/test provides one}"

e2e_cleanup() {
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then kill -9 "$E2E_PID" 2>/dev/null || true; fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap e2e_cleanup EXIT

cp -a "${NOMBLET_PREFIX_TEMPLATE:-$E2E_ROOT/build/wineprefix}/." "$WINEPREFIX/"
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

fail() { echo "FAIL [$E2E_NAME]: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }
pass() { echo "PASS [$E2E_NAME]"; }

# The driver, run in the scenario's prefix.
driver() { wine "$E2E_DRIVER" "$@" </dev/null; }

# Starts nomblet.exe (or the copy at a Windows path) and waits for its main window.
start_nomblet() {
  local exe=${1:-$E2E_EXE}
  (cd "$WINEPREFIX/drive_c" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
  E2E_PID=$!
  driver wait TForm1 20 || fail "the main window did not appear"
}

# Starts nomblet.exe and takes a screenshot NAME of its about window once it
# shows painted, then runs the command given after NAME (the window's left and
# top are in $left and $top), which says whether it got what it needed of the
# window. The window shows for a second from the moment the layout is read, so
# a start slowed down by a busy machine can leave too little of it to look at:
# when the window has gone before the screenshot, or the command fails,
# nomblet.exe is ended and started again, up to three times. Sets $left $top
# $width $height and $shot.
see_about_window() {
  local name=$1 attempt visible=; shift
  for attempt in 1 2 3; do
    start_nomblet
    shot=
    if driver wait TForm1 5 visible; then
      read -r left top width height visible < <(driver rect TForm1 | tr -d '\r')
      shot=$(screenshot_when "$name" "$left" "$top" 0,0,0 1)
      if [ "$(pixel "$shot" "$left" "$top")" = 0,0,0 ]; then
        "$@" && return 0
      fi
    fi
    echo "[$E2E_NAME] attempt $attempt: the about window went before it was seen" \
      "(corner ${shot:+$(pixel "$shot" "$left" "$top")})" >&2
    kill -9 "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
  done
  fail "the about window was never seen painted"
}

# Waits up to SECONDS for nomblet.exe to end; true when it has.
wait_for_exit() {
  local deadline=$((SECONDS + ${1:-5}))
  while kill -0 "$E2E_PID" 2>/dev/null; do
    [ $SECONDS -lt "$deadline" ] || return 1
    sleep 0.1
  done
  E2E_STATUS=0
  wait "$E2E_PID" 2>/dev/null || E2E_STATUS=$?
}

# Asks the main window to close, as the system's close key does.
close_nomblet() { driver close TForm1; }

# Ends the Windows session, as logging off does.
end_session() { wineboot -e >/dev/null 2>&1 || true; }

screenshot() {
  mkdir -p "$E2E_SHOTS"
  local file=$E2E_SHOTS/$E2E_NAME-$1.png
  import -window root "$file"
  echo "$file"
}

# Takes screenshots until the pixel X Y is "R,G,B" (the window has painted), for
# up to SECONDS; prints the last screenshot's file either way.
screenshot_when() {
  local name=$1 x=$2 y=$3 colour=$4 deadline=$((SECONDS + ${5:-2})) file
  while :; do
    file=$(screenshot "$name")
    [ "$(pixel "$file" "$x" "$y")" = "$colour" ] || [ $SECONDS -ge "$deadline" ] && break
    sleep 0.05
  done
  echo "$file"
}

# The colour of one pixel of a screenshot, as "R,G,B".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# The pixels of a rectangle of a screenshot, one "X Y R G B" line each (screen coordinates).
pixels() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p' |
    awk -v x="$x" -v y="$y" '{ print $1 + x, $2 + y, $3, $4, $5 }'
}

# How many pixels of a rectangle of a screenshot have exactly the colour "R G B".
count_colour() { pixels "$1" "$2" "$3" "$4" "$5" | awk -v c="$6" '$3 " " $4 " " $5 == c { n++ } END { print n + 0 }'; }

# Unix path of a Windows path in the prefix (C:\ is drive_c).
unix_path() {
  local p=${1//\\//}
  p=${p#[Cc]:}
  echo "$WINEPREFIX/drive_c$p"
}

windows_dir() { echo "$WINEPREFIX/drive_c/windows"; }
settings_file() { echo "$(windows_dir)/nomblet.ini"; }

# Writes the settings file from standard input, with CRLF line ends.
write_settings() { sed 's/\r*$/\r/' > "$(settings_file)"; }

# The value of a key of a section of the settings file; fails when missing.
settings_value() {
  local section=$1 key=$2
  [ -f "$(settings_file)" ] || return 1
  tr -d '\r' < "$(settings_file)" | awk -v s="[$section]" -v k="$key" '
    /^\[/ { inside = (tolower($0) == tolower(s)); next }
    inside { i = index($0, "="); if (i && tolower(substr($0, 1, i - 1)) == tolower(k)) { print substr($0, i + 1); found = 1; exit } }
    END { exit !found }'
}

# Creates a file (and its folders) in the prefix, given its Windows path.
make_file() {
  local path; path=$(unix_path "$1")
  mkdir -p "$(dirname "$path")"
  printf '%s' "${2:-cookie}" > "$path"
}

file_exists() { [ -e "$(unix_path "$1")" ]; }

# Waits up to ten seconds until none of the given Windows paths is there.
wait_gone() {
  local deadline=$((SECONDS + 10)) file
  for file in "$@"; do
    while file_exists "$file"; do
      [ $SECONDS -lt $deadline ] || fail "$file was not munched"
      sleep 0.1
    done
  done
}

# Points one of the folders the shell names for the user (Cookies, AppData, ...) elsewhere.
shell_folder() {
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v "$1" /t REG_EXPAND_SZ /d "$2" /f >/dev/null 2>&1
}

# The data of a registry value, or nothing (status 1) when it is missing.
reg_value() {
  local out
  out=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  echo "$out" | awk -v v="$2" '$1 == v { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; found = 1 } END { exit !found }'
}

# The tray icon's callback message with a mouse message (512 move, 513 left down,
# 514 left up, 516 right down, 517 right up).
tray_mouse() { driver post "${TRAY_CLASS:-TTrayIconWindow}" 2048 1 "$1"; }

# Opens the tray menu with a right click and waits for it. The about window goes
# first: when it hides, the program's last visible window goes and the keyboard
# moves to another program, which under Wine settles a little later; keys sent
# before then would miss the menu.
open_menu() {
  driver hidden TForm1 5 || fail "the about window did not hide"
  tray_mouse 516
  driver wait '#32768' 5 || fail "the tray menu did not open"
  sleep 0.2
}

# The open menu's rows as "caption<TAB>checked<TAB>default<TAB>greyed", read
# inside the program; with a submenu open, the submenu's.
menu_rows() { driver menu | tr -d '\r'; }

# The place of a row among the rows the keys move over (separators are passed
# over), found by its caption in the open menu; fails when there is none.
menu_row_number() {
  menu_rows | awk -F'\t' -v c="$1" '$1 != "-" { i++; if ($1 == c) { print i; found = 1; exit } } END { exit !found }'
}

# "down" N times.
downs() { local i; for ((i = 0; i < $1; i++)); do echo down; done; }

# Opens the tray menu and chooses the row of a caption, or with "Parent/Row"
# the row of a submenu ("Modify Sounds/Restore Defaults").
choose_menu_row() {
  local parent=${1%%/*} n
  open_menu
  n=$(menu_row_number "$parent") || fail "no row \"$parent\" in the menu: $(menu_rows)"
  if [ "$parent" = "$1" ]; then
    driver keys $(downs "$n") return
  else
    driver keys $(downs "$n") right # the submenu opens with its first row selected
    sleep 0.2
    n=$(menu_row_number "${1#*/}") || fail "no row \"${1#*/}\" in the submenu: $(menu_rows)"
    driver keys $(downs $((n - 1))) return
  fi
  sleep 0.3
}

# The count the tray menu shows ("Munched = N"), read in the open menu, which is then closed.
munched_count() {
  open_menu
  menu_rows | sed -n 's/^Munched = \([0-9]*\)\t.*/\1/p'
  driver keys escape
  sleep 0.3
}

# Sends every sound that programs started after this call play into files of
# their own under $E2E_SOUNDS (ALSA's file output; no sound card needed).
record_sounds() {
  E2E_SOUNDS=$WINEPREFIX/sounds
  mkdir -p "$E2E_SOUNDS" "$WINEPREFIX/xdg/alsa"
  cat > "$WINEPREFIX/sound-sink" <<SINK
#!/bin/sh
exec cat > "$E2E_SOUNDS/\$\$-\$(date +%s%N).raw"
SINK
  chmod +x "$WINEPREFIX/sound-sink"
  printf 'pcm.!default { type file; slave.pcm "null"; file "|%s"; format "raw" }\n' \
    "$WINEPREFIX/sound-sink" > "$WINEPREFIX/xdg/alsa/asoundrc"
  export XDG_CONFIG_HOME=$WINEPREFIX/xdg
}

# How many bytes of sound were played since record_sounds.
sound_bytes() { cat "$E2E_SOUNDS"/*.raw 2>/dev/null | wc -c; }

# A browser's cookie database at a Windows path, made with the host's sqlite3:
#   make_cookie_store PATH mozilla|chromium JOURNAL_MODE < "host value" lines
# in the browser's own table shape, overwriting what it frees as the browsers do.
make_cookie_store() {
  local path; path=$(unix_path "$1")
  mkdir -p "$(dirname "$path")"
  rm -f "$path" "$path-wal" "$path-shm" "$path-journal"
  local table
  if [ "$2" = mozilla ]; then
    table="CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT,
      value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER,
      isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0,
      isPartitionedAttributeSet INTEGER DEFAULT 0, CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));"
  else
    table="CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
      CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,
      name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,
      expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,
      last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, is_persistent INTEGER NOT NULL,
      priority INTEGER NOT NULL, samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL,
      source_port INTEGER NOT NULL, last_update_utc INTEGER NOT NULL, source_type INTEGER NOT NULL,
      has_cross_site_ancestor INTEGER NOT NULL);
      CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, has_cross_site_ancestor,
      name, path, source_scheme, source_port);"
  fi
  local host value n=0 inserts=
  while read -r host value; do
    n=$((n + 1))
    if [ "$2" = mozilla ]; then
      inserts+="INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, creationTime, isSecure,
        isHttpOnly) VALUES ('c$n', '$value', '$host', '/', 1900000000, 1, $n, 0, 0);"
    else
      inserts+="INSERT INTO cookies VALUES ($n, '$host', '', 'c$n', '$value', x'', '/', 13400000000000000, 0, 0, 1,
        1, 1, 1, -1, 1, 80, 1, 0, 0);"
    fi
  done
  sqlite3 "$path" "PRAGMA secure_delete=ON; PRAGMA journal_mode=$3;" "$table BEGIN; $inserts COMMIT;" >/dev/null
}

# A query's answer on a cookie database at a Windows path, read with the host's sqlite3.
cookie_query() { sqlite3 -readonly "$(unix_path "$1")" "$2"; }
