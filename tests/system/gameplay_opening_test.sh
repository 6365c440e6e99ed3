#!/usr/bin/env bash
# The real game under Xvfb, played from the keyboard: start a game, walk, jump, crouch and
# shoot, strike standing, pause and resume with a direction key, then Escape back to the menu
# and quit from there. The view must move while the hero walks and jumps, stand still while
# the game is paused, and nothing may stay in the temporary folder.
#
#   gameplay_opening_test.sh GAME_DIR [REPLAY]
#
# With SCREENS_DIR set, the screenshots taken along the way are copied there.
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

command -v convert >/dev/null || skip "ImageMagick's convert is not installed"
command -v xwd >/dev/null || skip "xwd is not installed"

# The game in a window rather than full screen: Xvfb has no window manager to make one fill
# the screen. A copy of the program folder carries that setting.
cp -r "$GAME_DIR" "$work/game"
GAME_DIR=$work/game
sed -i 's/^DDraw=.*/DDraw=0/' "$GAME_DIR/Zendor Vostrik.INI"

# The game window as a PNG in the work folder.
shot() {
  rm -f "$work/$1.png"
  xwd -silent -id "$window" >"$work/$1.xwd" && convert "xwd:$work/$1.xwd" "$work/$1.png"
}

# A digest of the pixels alone: two shots compare equal exactly when the picture is the same.
pixels() {
  convert "$work/$1.png" rgb:- | sha1sum | cut -d' ' -f1
}

# The mean brightness (0..1) of a w x h block at (x, y) of a shot.
brightness() {
  convert "$work/$1.png" -crop "$2x$3+$4+$5" +repage -format '%[fx:mean]' info:
}

# Waits up to 60 s for the menu: its title lit, the corner above it black. The window holds the
# 256 x 192 picture at a whole zoom.
wait_for_menu() {
  local zoom
  zoom=$(($(xwininfo -id "$window" | awk '/Width:/ { print $2 }') / 256))
  [ "$zoom" -ge 1 ] || zoom=1
  for _ in $(seq 120); do
    sleep 0.5
    shot menu 2>/dev/null || continue  # the window may not be mapped yet
    local title corner
    title=$(brightness menu $((144 * zoom)) $((9 * zoom)) $((56 * zoom)) $((16 * zoom)))
    corner=$(brightness menu $((40 * zoom)) $((8 * zoom)) 0 0)
    if awk -v t="$title" -v c="$corner" 'BEGIN { exit !(t > 0.1 && c < 0.01) }'; then
      return 0
    fi
  done
  fail "the menu did not come up"
}

# Takes shot $2 until it differs from shot $1, for up to $3 seconds; false if it never does.
shot_until_changed() {
  for _ in $(seq $(($3 * 4))); do
    sleep 0.25
    shot "$2" && [ "$(pixels "$1")" != "$(pixels "$2")" ] && return 0
  done
  return 1
}

# Waits up to 30 s for a game on screen: the panel lit below the playfield.
wait_for_game() {
  for _ in $(seq 60); do
    sleep 0.5
    shot start
    awk -v p="$(brightness start 240 64 8 128)" 'BEGIN { exit !(p > 0.1) }' && return 0
  done
  fail "no game came up after 1 in the menu"
}

alive() {
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended $1"
}

start_xvfb
start_game
wait_for_window
wait_for_menu

press 1
wait_for_game
sleep 1
shot start

# Machines under load run the game slowly: keys are held until the picture answers.
xdotool keydown Right
shot_until_changed start walked 20 || fail "walking right did not move the view"
sleep 1
xdotool keyup Right
sleep 0.3
shot walked

xdotool keydown Up
sleep 0.6
shot jump
xdotool keyup Up
sleep 2.5  # up, the hang at the top, down and landed
alive "during a jump"

xdotool keydown Down
sleep 0.4
shot crouch
press ctrl
sleep 0.3
shot shot
sleep 0.5
xdotool keyup Down
sleep 0.4

press ctrl
sleep 0.2
shot attack
sleep 0.6
alive "after a close attack"

# Paused, the picture holds; the right key resumes and the view moves on.
press Pause
for _ in $(seq 40); do  # the pause is taken at the next frame
  sleep 0.25
  shot paused
  sleep 0.5
  shot still_paused
  [ "$(pixels paused)" = "$(pixels still_paused)" ] && break
done
sleep 1
shot still_paused
[ "$(pixels paused)" = "$(pixels still_paused)" ] || fail "the picture changed during the pause"
xdotool keydown Right
shot_until_changed still_paused resumed 20 || fail "the right key did not resume the game"
sleep 1
xdotool keyup Right
sleep 0.3
shot resumed

press Escape
sleep 1
alive "after Escape in the game"
shot back_to_menu

# Escape in the menu quits: the farewell box comes up, closing it ends the game.
press Escape
wait_for_empty_temp 4 || fail "left behind after quitting: $(temp_files)"
dismiss_farewell
wait_for_exit 10 || fail "the game did not end after the farewell"
check_clean_exit "after quitting from the menu"
[ -z "$(temp_files)" ] || fail "left behind: $(temp_files)"

if [ -n "${SCREENS_DIR:-}" ]; then
  mkdir -p "$SCREENS_DIR"
  for name in start walked jump crouch shot attack paused resumed back_to_menu; do
    cp "$work/$name.png" "$SCREENS_DIR/play_$name.png"
  done
fi
echo "PASS: walked, jumped, shot, struck, paused and resumed, and went back to the menu"
