#!/usr/bin/env bash
# The real game under Xvfb with a damaged sound effect (the menu chime, cut short) and a damaged
# theme (the menu theme, its track running past the end of the file): it names each shipped
# file once on standard error, reaches the menu, plays, and quits cleanly with nothing left in
# its temporary folder.
#   damaged_audio_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

need_pictures
windowed_copy
sound=SND/Efecto0.SND
theme=MUS/Tema5.MUS
truncate -s 1000 "$GAME_DIR/$sound"
truncate -s -10 "$GAME_DIR/$theme"

start_xvfb
start_game
wait_for_window
wait_until 180 menu_shown menu || fail "the menu did not come up"
for file in "$sound" "$theme"; do
  named=$(grep -c -F "$file" "$work/game.log" || true)
  [ "$named" = 1 ] || fail "$file is named $named times on standard error, not once"
done
press 1
wait_until 120 game_shown game || fail "no game came up after 1 in the menu"
press Escape
wait_until 120 menu_shown back_to_menu || fail "Escape in the game did not return to the menu"
quit_from_menu
echo "PASS: the damaged sound and theme were named once each; the game played and quit cleanly"
