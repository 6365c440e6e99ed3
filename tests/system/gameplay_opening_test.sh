#!/usr/bin/env bash
# The real game under Xvfb, played from the keyboard: start a game, walk, jump, pause and resume
# with a direction key, crouch and shoot, strike standing, then Escape back to the menu and quit
# from there. The view must move while the hero walks, stand still while the game is paused and
# move again when the right key resumes it, and nothing may stay in the temporary folder. With
# SCREENS_DIR set, the screenshots taken along the way are copied there.
#   gameplay_opening_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

need_pictures
windowed_copy
start_xvfb
start_game
wait_for_window

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game ended $1"; }

# Every key waits for the picture to answer the one before: a machine under load runs the game
# slowly, and a key that arrives early lands in another state of the hero.
wait_until 180 menu_shown menu || fail "the menu did not come up"
press 1
wait_until 120 game_shown start || fail "no game came up after 1 in the menu"

xdotool keydown Right
wait_until 60 changed_from start walked || fail "walking right did not move the view"
xdotool keyup Right

xdotool keydown Up
wait_until 60 changed_from walked jump || fail "the up key did nothing"
xdotool keyup Up
alive "during a jump"

# Paused, the picture holds; the right key resumes the game and the view moves on. Nothing
# before this has struck: a hero in the middle of a close attack ignores the direction keys.
press Pause
wait_until 120 standing_still paused || fail "the game went on after the pause key"
sleep 2  # the time the picture must hold, not a wait for the game
take still_paused
same_picture paused still_paused || fail "the picture changed during the pause"
xdotool keydown Right
wait_until 60 changed_from still_paused resumed || fail "the right key did not resume the game"

xdotool keydown Down
wait_until 60 changed_from resumed crouch || fail "the down key did nothing"
xdotool keyup Right
press ctrl
wait_until 60 changed_from crouch shot || fail "the picture stood still after a shot"
xdotool keyup Down
alive "after a shot"

press ctrl
wait_until 60 changed_from shot attack || fail "the picture stood still after a close attack"
alive "after a close attack"

press Escape
wait_until 120 menu_shown back_to_menu || fail "Escape in the game did not return to the menu"
alive "after Escape in the game"
quit_from_menu

if [ -n "${SCREENS_DIR:-}" ]; then
  mkdir -p "$SCREENS_DIR"
  for name in start walked jump crouch shot attack paused resumed back_to_menu; do
    cp "$work/$name.png" "$SCREENS_DIR/play_$name.png"
  done
fi
echo "PASS: walked, jumped, paused and resumed, shot, struck, and went back to the menu"
