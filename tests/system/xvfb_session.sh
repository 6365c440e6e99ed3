# Shared by the system tests: a private X server, the real game on it, and a look at
# the game's temporary folder. Source it with GAME_DIR set; it cleans up after itself on exit.

work=$(mktemp -d)
tmp_root=$work/tmp
game_temp=$tmp_root/zendor-$(id -u)
mkdir -p "$tmp_root"
xvfb_pid=
game_pid=

skip() { echo "SKIP: $*"; exit 0; }

fail() {
  echo "FAIL: $*"
  [ ! -s "$work/game.log" ] || { echo "--- game output"; tail -n 20 "$work/game.log"; }
  exit 1
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

# Starts Xvfb on a display it picks itself (so parallel servers never collide); $1 is the
# screen size (1024x768 unless given), further arguments go to Xvfb.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" "${@:2}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$work/display")
}

# Starts the game from $GAME_DIR in the background with its own temporary folder, no sound card
# unless SDL_AUDIODRIVER names one, Ctrl+C back (a shell's background commands ignore it), and no
# leak checker: it trips over the system's graphics and sound libraries at exit. Its arguments
# go to the game.
start_game() {
  TMPDIR=$tmp_root SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ASAN_OPTIONS=detect_leaks=0 \
    env --default-signal=INT "$GAME_DIR/zendor" "$@" >"$work/game.log" 2>&1 &
  game_pid=$!
}

# Waits for the game window and keeps its id in $window; skips when no display can be opened.
wait_for_window() {
  window=
  for _ in $(seq 200); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid" || true
      game_pid=
      grep -q "display could not be opened" "$work/game.log" &&
        skip "the game cannot open a display here"
      fail "the game ended before its window appeared"
    fi
    window=$(xdotool search --name '^Zendor Vostrik XXI$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  fail "no game window after 20 s"
}

# Waits up to $1 seconds for the game to end with status 0 ($2 says after what) and for its
# temporary folder to be empty.
expect_clean_exit() {
  for _ in $(seq $(($1 * 10))); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end $2"
  local status=0
  { wait "$game_pid"; } 2>/dev/null || status=$?
  game_pid=
  [ "$status" = 0 ] || fail "$2: the game ended with status $status"
  [ -z "$(temp_files)" ] || fail "left behind $2: $(temp_files)"
}

# The files in the game's temporary folder, one per line.
temp_files() { find "$game_temp" -mindepth 1 2>/dev/null || true; }

press() { xdotool windowfocus "$window" 2>/dev/null || true; xdotool key "$@"; }

# Escape in the menu quits: the temporary folder empties at once, the farewell box comes up
# 5 seconds later, and closing it with Return ends the game.
quit_from_menu() {
  press Escape
  for _ in $(seq 40); do [ -z "$(temp_files)" ] && break; sleep 0.1; done
  [ -z "$(temp_files)" ] || fail "left behind after Escape: $(temp_files)"
  for _ in $(seq 150); do
    kill -0 "$game_pid" 2>/dev/null || break
    box=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Zendor Vostrik XxI".*/\1/p' | head -n 1)
    if [ -n "$box" ]; then
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return
      break
    fi
    sleep 0.1
  done
  expect_clean_exit 10 "after the farewell"
}
