#!/usr/bin/env bash
# The real game under Xvfb: redefine all six keys (Escape among them, which must not quit),
# quit from the menu with Escape, close the farewell box. Nothing of the run may stay in the
# temporary folder.
#   frontend_redefine_quit_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

start_xvfb
start_game
wait_for_window
sleep 5  # the loading screen, then the menu

press 2
sleep 1
for key in Escape a b c d e; do
  press "$key"
  sleep 0.5
done
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "Escape during the redefinition ended the game"
[ -n "$(temp_files)" ] || fail "the running game has no temporary files"
quit_from_menu
echo "PASS: redefined, quit and left nothing behind"
