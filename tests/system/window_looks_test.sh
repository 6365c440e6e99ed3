#!/usr/bin/env bash
# The real game under Xvfb: F9 during a game writes the picture of that moment, equal to the
# headless replay's snapshot of the recorded game at the same moment; Alt+Enter takes the
# windowed game to full screen and back with its picture at a whole zoom on black; a resized
# window shows the largest whole zoom that fits.
#   window_looks_test.sh GAME_DIR REPLAY
set -euo pipefail
GAME_DIR=$1
REPLAY=${2:-}
. "$(dirname "$0")/xvfb_session.sh"
[ -x "$REPLAY" ] || skip "no zendor-replay"
for tool in convert compare xwd; do command -v "$tool" >/dev/null || skip "no $tool"; done

windowed_copy
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config  # screenshots land in this home
mkdir -p "$HOME"

size_of() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
wait_for_size() {
  for _ in $(seq 100); do [ "$(size_of)" = "$1" ] && return 0; sleep 0.1; done
  fail "the window is $(size_of), not $1"
}
# The window as PNG $1, once two shots in a row agree (the redraw after a change is done).
steady_shot() {
  local last=
  for _ in $(seq 50); do
    xwd -silent -id "$window" >"$work/$1.xwd" && convert "xwd:$work/$1.xwd" "$work/$1.png"
    local now
    now=$(convert "$work/$1.png" rgb:- | sha1sum)
    [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.2
  done
  fail "the window never settled for $1"
}
same_pixels() {  # PNG $1 equals PNG $2, pixel for pixel
  [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]
}
all_black() {  # the w x h block at (x, y) of PNG $1 is black
  [ "$(convert "$1" -crop "$2x$3+$4+$5" +repage -format '%[fx:maxima]' info:)" = 0 ]
}
# Checks shot $1: the menu at whole zoom $2 placed at ($3, $4) on black.
expect_zoomed_menu() {
  convert "$work/menu.png" -sample "$((100 * $2))%" "$work/menu_x$2.png"
  convert "$work/$1.png" -crop "$((256 * $2))x$((192 * $2))+$3+$4" +repage "$work/$1_picture.png"
  same_pixels "$work/$1_picture.png" "$work/menu_x$2.png" ||
    fail "$1 does not show the menu at zoom $2 at $3, $4"
  [ "$3" = 0 ] || all_black "$work/$1.png" "$3" 64 0 "$4" || fail "$1: not black left of the picture"
  [ "$4" = 0 ] || all_black "$work/$1.png" 64 "$4" "$3" 0 || fail "$1: not black above the picture"
}

start_xvfb 1280x800
start_game --record "$work/game.zrec" --trace "$work/real.jsonl"
wait_for_window
wait_for_trace '"ScreenState":"menu"' 60
press 1
wait_for_trace '"type":"frame"' 30
xdotool keydown Right
wait_for_trace '"ScrollX":[4-9][0-9]' 30
xdotool key F9
for _ in $(seq 100); do grep -q "screenshot saved as" "$work/game.log" && break; sleep 0.1; done
xdotool keyup Right
picture=$(sed -n 's/^zendor: screenshot saved as //p' "$work/game.log")
[ -f "$picture" ] || fail "F9 wrote no screenshot ($(cat "$work/game.log"))"
case "$picture" in "$HOME"/*) ;; *) fail "the screenshot $picture is not in the pictures folder" ;; esac
seen=${picture%.png}" (as seen).png"
[ "$(identify -format '%wx%h' "$picture")" = 256x192 ] || fail "the screenshot is not 256 x 192"
[ "$(identify -format '%wx%h' "$seen")" = "$(size_of)" ] || fail "the copy as seen is not the window's size"
press Escape
wait_for_trace '"ScreenState":"menu"' 30 2

# The recorded game's replay: the picture at the moment of F9, and the menu at the end.
quit_at() { awk '$1 == "key" && $4 == "down" && $5 == 27 { t = $3 } END { print t }' "$work/game.zrec"; }
f9_at=$(awk '$1 == "key" && $4 == "down" && $5 == 120 { print $3; exit }' "$work/game.zrec")
[ -n "$f9_at" ] || fail "the recording holds no F9"

[ "$(size_of)" = 256x192 ] || fail "the game's window is $(size_of)"
xdotool key alt+Return
wait_for_size 1280x800
steady_shot full
xdotool key alt+Return
wait_for_size 256x192
xdotool windowsize "$window" 600 500
wait_for_size 600x500
steady_shot resized
quit_from_menu

TMPDIR=$work "$REPLAY" --program-folder "$GAME_DIR" --snapshot "$f9_at:$work/f9.png" \
  --snapshot "$(($(quit_at) - 1)):$work/menu.png" "$work/game.zrec" 2>"$work/replay.log" ||
  fail "zendor-replay: $(cat "$work/replay.log")"
same_pixels "$picture" "$work/f9.png" || fail "the F9 screenshot differs from the replay's picture"
expect_zoomed_menu full 4 128 16   # 1280 x 800: zoom 4 fills 1024 x 768 in the middle
expect_zoomed_menu resized 2 44 58 # 600 x 500: zoom 2, 512 x 384 in the middle
echo "PASS: F9 wrote the replay's picture; full screen and a resized window keep whole zooms"
