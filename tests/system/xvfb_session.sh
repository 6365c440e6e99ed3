# Shared by the system tests: a private X server, the real game on it, a look at its window and
# at the game's temporary folder. Source it with GAME_DIR set; it cleans up after itself on exit.
#
# Nothing here waits a fixed time for the game: every step polls for the state it needs (a window
# on screen, a picture, a file, the process gone) until a generous deadline, so a slow or busy
# machine only makes a test slower, never wrong.

work=$(mktemp -d)
tmp_root=$work/tmp
game_temp=$tmp_root/zendor-$(id -u)
mkdir -p "$tmp_root"
xvfb_pid=
game_pid=
window=

# CTest shows a test that exits with this status as skipped (SKIP_RETURN_CODE).
readonly skip_status=77
skip() { echo "SKIP: $*"; exit "$skip_status"; }

fail() {
  echo "FAIL: $*"
  [ ! -s "$work/game.log" ] || { echo "--- game output"; tail -n 20 "$work/game.log"; }
  describe_game
  exit 1
}

# What a game that is still running is doing: its threads, its windows, and where it waits.
describe_game() {
  [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null || return 0
  echo "--- the game is still running"
  ps -L -o tid,stat,wchan:24,time,etime,comm -p "$game_pid" || true
  [ -z "${DISPLAY:-}" ] || xwininfo -root -tree 2>/dev/null | grep -i zendor || true
  if command -v gdb >/dev/null; then
    timeout 60 gdb -p "$game_pid" -batch -ex 'thread apply all bt 12' 2>/dev/null |
      grep -E '^(Thread|#)' | head -n 80 || true
  fi
}

cleanup() {
  [ -z "$game_pid" ] || kill -KILL "$game_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool xwininfo; do command -v "$tool" >/dev/null || skip "no $tool"; done
[ -x "$GAME_DIR/zendor" ] || skip "no game binary in $GAME_DIR"

# Runs "$@" every tenth of a second until it succeeds (status 0) or $1 seconds have passed
# (status 1).
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Starts Xvfb on a display it picks itself (so parallel servers never collide); $1 is the
# screen size (1024x768 unless given), further arguments go to Xvfb.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" "${@:2}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_until 60 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$work/display")
}

# A copy of the program folder in $work/game that plays in a window rather than full screen
# (Xvfb has no window manager to make one fill the screen); GAME_DIR names it from then on.
windowed_copy() {
  cp -r "$GAME_DIR" "$work/game"
  GAME_DIR=$work/game
  sed -i 's/^DDraw=.*/DDraw=0/' "$GAME_DIR/Zendor Vostrik.INI"
}

# Waits up to $2 seconds until the real game's trace ($work/real.jsonl, written with --trace) has
# at least ${3:-1} lines matching the regular expression $1; fails if the game ends first.
trace_lines() { grep -cE "$1" "$work/real.jsonl" 2>/dev/null || true; }
trace_has() {
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for $1"
  [ "$(trace_lines "$1")" -ge "$2" ]
}
wait_for_trace() { wait_until "$2" trace_has "$1" "${3:-1}" || fail "no trace line $1 after $2 s"; }

# Starts the game from $GAME_DIR in the background with its own temporary folder, no sound card
# unless SDL_AUDIODRIVER names one, Ctrl+C back (a shell's background commands ignore it), and no
# leak checker: it trips over the system's graphics and sound libraries at exit. Its arguments
# go to the game.
start_game() {
  TMPDIR=$tmp_root SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ASAN_OPTIONS=detect_leaks=0 \
    env --default-signal=INT "$GAME_DIR/zendor" "$@" >"$work/game.log" 2>&1 &
  game_pid=$!
}

# True once a window of the game is on screen (mapped and viewable); keeps its id in $window.
# Fails the test when the game has ended; skips it when no display can be opened.
game_window_shown() {
  if ! kill -0 "$game_pid" 2>/dev/null; then
    wait "$game_pid" || true
    game_pid=
    grep -q "display could not be opened" "$work/game.log" &&
      skip "the game cannot open a display here"
    fail "the game ended before its window appeared"
  fi
  local id
  for id in $(xdotool search --name '^Zendor Vostrik XXI$' 2>/dev/null); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      window=$id
      return 0
    fi
  done
  return 1
}

# Waits for the game window to be on screen. A slow start (the sanitizers, a busy machine) may
# take long: the loading of every picture and sound comes first.
wait_for_window() {
  window=
  wait_until 180 game_window_shown || fail "no game window on screen after 180 s"
}

# The files in the game's temporary folder, one per line.
temp_files() { find "$game_temp" -mindepth 1 2>/dev/null || true; }
no_temp_files() { [ -z "$(temp_files)" ]; }
game_ended() { ! kill -0 "$game_pid" 2>/dev/null; }

# Waits up to $1 seconds for the game to end with status 0 ($2 says after what) and for its
# temporary folder to be empty.
expect_clean_exit() {
  wait_until "$1" game_ended || fail "the game did not end $2"
  local status=0
  { wait "$game_pid"; } 2>/dev/null || status=$?
  game_pid=
  [ "$status" = 0 ] || fail "$2: the game ended with status $status"
  no_temp_files || fail "left behind $2: $(temp_files)"
  ! grep -q -e 'Sanitizer' -e 'runtime error' "$work/game.log" || fail "$2: a sanitizer report"
}

press() { xdotool windowfocus "$window" 2>/dev/null || true; xdotool key "$@"; }

# The id of the farewell box, once it is on screen.
farewell_box() {
  box=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Zendor Vostrik XxI".*/\1/p' | head -n 1)
  [ -n "$box" ]
}

# Escape in the menu quits: the temporary folder empties at once, the farewell box comes up
# 5 seconds later, and closing it with Return ends the game.
quit_from_menu() {
  press Escape
  wait_until 60 no_temp_files || fail "left behind after Escape: $(temp_files)"
  if wait_until 120 farewell_box; then
    xdotool windowfocus "$box" 2>/dev/null || true
    xdotool key Return
  fi
  expect_clean_exit 60 "after the farewell"
}

# --- The game's picture, for the tests that look at it (they call need_pictures first).

need_pictures() {
  local tool
  for tool in convert xwd; do command -v "$tool" >/dev/null || skip "no $tool"; done
}

# The game window as $work/$1.png; false while the window cannot be read.
shot() {
  rm -f "$work/$1.png"
  xwd -silent -id "$window" >"$work/$1.xwd" 2>/dev/null &&
    convert "xwd:$work/$1.xwd" "$work/$1.png" 2>/dev/null
}

# Takes shot $1, retrying for a while should the window be busy being redrawn or moved.
take() { wait_until 30 shot "$1" || fail "the game window could not be read"; }

# A digest of the pixels alone: two shots compare equal exactly when the picture is the same.
pixels() { convert "$work/$1.png" rgb:- | sha1sum | cut -d' ' -f1; }
same_picture() { [ "$(pixels "$1")" = "$(pixels "$2")" ]; }

# The whole zoom at which the window holds the 256 x 192 picture.
zoom() {
  local z=$(($(xwininfo -id "$window" | awk '/Width:/ { print $2 }') / 256))
  [ "$z" -ge 1 ] && echo "$z" || echo 1
}

# True when the mean brightness (0..1) of the w x h block at (x, y) of shot $1 is above $6;
# the block is given in picture pixels and scaled by the window's zoom.
brighter() {
  local z
  z=$(zoom)
  awk -v m="$(convert "$work/$1.png" -crop "$(($2 * z))x$(($3 * z))+$(($4 * z))+$(($5 * z))" \
    +repage -format '%[fx:mean]' info:)" -v t="$6" 'BEGIN { exit !(m > t) }'
}

# Shot $2 taken until it differs from shot $1.
changed_from() { take "$2" && ! same_picture "$1" "$2"; }
# Shot $1 twice, a second apart, the same picture both times: the game stands still.
standing_still() { take "$1" && sleep 1 && take "$1-again" && same_picture "$1" "$1-again"; }

# The menu on screen as shot $1: its title lit, the corner above it black.
menu_shown() { shot "$1" && brighter "$1" 144 9 56 16 0.1 && ! brighter "$1" 40 8 0 0 0.01; }
# A game on screen as shot $1: the panel lit below the playfield.
game_shown() { shot "$1" && brighter "$1" 240 64 8 128 0.1; }
