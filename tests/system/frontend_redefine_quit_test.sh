#!/usr/bin/env bash
# The real game under Xvfb: redefine all six keys (Escape among them, which must not quit),
# quit from the menu with Escape, close the farewell box. Nothing of the run may stay in the
# temporary folder.
#   frontend_redefine_quit_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

need_pictures
windowed_copy
start_xvfb
start_game
wait_for_window
wait_until 180 menu_shown menu || fail "the menu did not come up"

# Each key is pressed once the prompt has answered the one before: the first prompt replaces
# the menu, each key the prompt, and the sixth brings the menu back.
press 2
wait_until 60 changed_from menu prompt0 || fail "2 in the menu did not ask for the keys"
step=0
for key in Escape a b c d; do
  press "$key"
  wait_until 60 changed_from "prompt$step" "prompt$((step + 1))" ||
    fail "the prompt did not move on after $key"
  step=$((step + 1))
done
press e
wait_until 120 menu_shown menu_again || fail "the menu did not come back after the sixth key"
kill -0 "$game_pid" 2>/dev/null || fail "Escape during the redefinition ended the game"
[ -n "$(temp_files)" ] || fail "the running game has no temporary files"
quit_from_menu
echo "PASS: redefined, quit and left nothing behind"
