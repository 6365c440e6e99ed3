#!/usr/bin/env bash
# A game played in the real window under Xvfb is recorded (--record) and traced (--trace); the
# recording played back by zendor-replay on the headless back end gives the very same frames.
#   recorded_game_test.sh GAME_DIR REPLAY
set -euo pipefail
GAME_DIR=$1
REPLAY=${2:-}
. "$(dirname "$0")/xvfb_session.sh"
[ -x "$REPLAY" ] || skip "no zendor-replay"

# A window rather than full screen: Xvfb has no window manager to make one fill the screen.
windowed_copy

hold() {  # holds key $1 until the trace shows one more line matching $2
  local seen
  seen=$(trace_lines "$2")
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool keydown "$1"
  wait_for_trace "$2" 30 $((seen + 1))
  xdotool keyup "$1"
}
standing() { wait_for_trace '"HeroState":3,' 30 $(($(trace_lines '"HeroState":3,') + 1)); }

start_xvfb
start_game --record "$work/game.zrec" --trace "$work/real.jsonl"
wait_for_window
wait_for_trace '"ScreenState":"menu"' 60
press 1
wait_for_trace '"type":"frame"' 30
hold Right '"ScrollX":[1-9]'
hold Up '"JumpFalling":true'
standing
xdotool keydown Down
wait_for_trace '"HeroState":4,' 30
hold ctrl '"HeroBusy":[1-9]'
xdotool keyup Down
standing
hold ctrl '"HeroState":23,'
standing
press Escape
wait_for_trace '"ScreenState":"menu"' 30 2
quit_from_menu
grep -q "recording this game into $work/game.zrec" "$work/game.log" ||
  fail "the game did not say where it records"

TMPDIR=$work "$REPLAY" --program-folder "$GAME_DIR" --trace "$work/replayed.jsonl" \
  "$work/game.zrec" 2>"$work/replay.log" || fail "zendor-replay: $(cat "$work/replay.log")"
grep '"type":"frame"' "$work/real.jsonl" >"$work/real_frames"
grep '"type":"frame"' "$work/replayed.jsonl" >"$work/replayed_frames"
frames=$(wc -l <"$work/real_frames")
[ "$frames" -ge 10 ] || fail "only $frames frames were played"
diff -u "$work/real_frames" "$work/replayed_frames" >"$work/frames.diff" ||
  fail "the replay's frames differ: $(head -c 2000 "$work/frames.diff")"
# Everything else the game traced comes back too (the replay adds the message boxes it saw).
diff <(grep -v '"type":"message"' "$work/real.jsonl") \
  <(grep -v '"type":"message"' "$work/replayed.jsonl") >/dev/null ||
  fail "the replay's trace differs: $(diff <(grep -v message "$work/real.jsonl") \
    <(grep -v message "$work/replayed.jsonl") | head -c 2000)"
echo "PASS: $frames frames of a recorded game came back identical from its replay"
