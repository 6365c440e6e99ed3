# Shared by the system tests: a private X server, the real game on it, and a look at
# the game's temporary folder. Source it with GAME_DIR set; it cleans up after itself on exit.

work=$(mktemp -d)
tmp_root=$work/tmp
game_temp=$tmp_root/zendor-$(id -u)
mkdir -p "$tmp_root"
xvfb_pid=
game_pid=

skip() {
  echo "SKIP: $*"
  exit 0
}

fail() {
  echo "FAIL: $*"
  if [ -s "$work/game.log" ]; then
    echo "--- game output"
    tail -n 20 "$work/game.log"
  fi
  exit 1
}

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
    kill -KILL "$game_pid" 2>/dev/null || true
    { wait "$game_pid"; } 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$GAME_DIR/zendor" ] || skip "no game binary in $GAME_DIR"

# Starts Xvfb on a display it picks itself (so parallel servers never collide).
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$work/display")
}

# Starts the game in the background with its own temporary folder and no sound card. A shell
# starts background commands with Ctrl+C ignored; the game gets it back as a terminal gives it.
# Leak checking stays with the unit tests: at the exit of a whole sanitized program the leak
# checker trips over the system's graphics and sound libraries and would decide the exit status.
start_game() {
  TMPDIR=$tmp_root SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    env --default-signal=INT "$GAME_DIR/zendor" \
    >"$work/game.log" 2>&1 &
  game_pid=$!
}

# Waits for the game window and keeps its id in $window; skips when the game cannot open a
# display.
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

# Waits up to $2 seconds for the game to end; its exit status is left in $game_status.
wait_for_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      game_status=0
      { wait "$game_pid"; } 2>/dev/null || game_status=$?
      game_pid=
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The files in the game's temporary folder, one per line.
temp_files() {
  find "$game_temp" -mindepth 1 2>/dev/null || true
}

# Waits up to $1 seconds for the temporary folder to empty.
wait_for_empty_temp() {
  for _ in $(seq $(($1 * 10))); do
    [ -z "$(temp_files)" ] && return 0
    sleep 0.1
  done
  return 1
}

press() {
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key "$@"
}

# Waits up to 15 s for the farewell box and closes it with Return (the game then ends).
dismiss_farewell() {
  for _ in $(seq 150); do
    kill -0 "$game_pid" 2>/dev/null || return 0
    box=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Zendor Vostrik XxI".*/\1/p' | head -n 1)
    if [ -n "$box" ]; then
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return
      return 0
    fi
    sleep 0.1
  done
}

# The game must have ended with status 0.
check_clean_exit() {
  [ "$game_status" = 0 ] || fail "$1: the game ended with status $game_status"
}
