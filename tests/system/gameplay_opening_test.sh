#!/usr/bin/env bash
# The real game under Xvfb, played from the keyboard: start a game, walk, jump, crouch and
# shoot, pause and resume with a direction key, strike standing, then Escape back to the menu
# and quit from there. The view must move while the hero walks and jumps, stand still while
# the game is paused, and nothing may stay in the temporary folder. With SCREENS_DIR set, the
# screenshots taken along the way are copied there.
#   gameplay_opening_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

for tool in convert xwd; do command -v "$tool" >/dev/null || skip "no $tool"; done

# The game in a window rather than full screen: Xvfb has no window manager to make one fill
# the screen. A copy of the program folder carries that setting.
cp -r "$GAME_DIR" "$work/game"
GAME_DIR=$work/game
sed -i 's/^DDraw=.*/DDraw=0/' "$GAME_DIR/Zendor Vostrik.INI"

# The game window as a PNG in the work folder; "after SECONDS NAME" takes it after a pause.
shot() {
  rm -f "$work/$1.png"
  xwd -silent -id "$window" >"$work/$1.xwd" && convert "xwd:$work/$1.xwd" "$work/$1.png"
}
after() { sleep "$1"; shot "$2"; }

# A digest of the pixels alone: two shots compare equal exactly when the picture is the same.
pixels() { convert "$work/$1.png" rgb:- | sha1sum | cut -d' ' -f1; }

# True when the mean brightness (0..1) of the w x h block at (x, y) of shot $1 is above $6.
brighter() {
  awk -v m="$(convert "$work/$1.png" -crop "$2x$3+$4+$5" +repage -format '%[fx:mean]' info:)" \
    -v t="$6" 'BEGIN { exit !(m > t) }'
}

# Takes shot $2 until it differs from shot $1, for up to $3 seconds; false if it never does.
shot_until_changed() {
  for _ in $(seq $(($3 * 4))); do
    sleep 0.25
    shot "$2" && [ "$(pixels "$1")" != "$(pixels "$2")" ] && return 0
  done
  return 1
}

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game ended $1"; }

start_xvfb
start_game
wait_for_window

# Up to 60 s for the menu: its title lit, the corner above it black. The window holds the
# 256 x 192 picture at a whole zoom.
zoom=$(($(xwininfo -id "$window" | awk '/Width:/ { print $2 }') / 256))
[ "$zoom" -ge 1 ] || zoom=1
for try in $(seq 121); do
  [ "$try" -le 120 ] || fail "the menu did not come up"
  sleep 0.5
  shot menu 2>/dev/null || continue  # the window may not be mapped yet
  brighter menu $((144 * zoom)) $((9 * zoom)) $((56 * zoom)) $((16 * zoom)) 0.1 &&
    ! brighter menu $((40 * zoom)) $((8 * zoom)) 0 0 0.01 && break
done

# Up to 30 s for a game on screen: the panel lit below the playfield.
press 1
for try in $(seq 61); do
  [ "$try" -le 60 ] || fail "no game came up after 1 in the menu"
  sleep 0.5
  shot start
  brighter start 240 64 8 128 0.1 && break
done
after 1 start

# Machines under load run the game slowly: keys are held until the picture answers.
xdotool keydown Right
shot_until_changed start walked 20 || fail "walking right did not move the view"
sleep 1
xdotool keyup Right
after 0.3 walked
xdotool keydown Up
after 0.6 jump
xdotool keyup Up
sleep 2.5  # up, the hang at the top, down and landed
alive "during a jump"
xdotool keydown Down
after 0.4 crouch
press ctrl
after 0.3 shot
sleep 0.5
xdotool keyup Down
sleep 0.4

# Paused, the picture holds; the right key resumes and the view moves on. This comes before
# the close attack: a hero still striking ignores the direction keys, and on a slow machine
# the strike could outlast any fixed wait.
press Pause
for _ in $(seq 40); do  # the pause is taken at the next frame
  after 0.25 paused
  after 0.5 still_paused
  [ "$(pixels paused)" = "$(pixels still_paused)" ] && break
done
after 1 still_paused
[ "$(pixels paused)" = "$(pixels still_paused)" ] || fail "the picture changed during the pause"
xdotool keydown Right
shot_until_changed still_paused resumed 20 || fail "the right key did not resume the game"
sleep 1
xdotool keyup Right
after 0.3 resumed
press ctrl
after 0.2 attack
sleep 0.6
alive "after a close attack"
press Escape
after 1 back_to_menu
alive "after Escape in the game"
quit_from_menu

if [ -n "${SCREENS_DIR:-}" ]; then
  mkdir -p "$SCREENS_DIR"
  for name in start walked jump crouch shot attack paused resumed back_to_menu; do
    cp "$work/$name.png" "$SCREENS_DIR/play_$name.png"
  done
fi
echo "PASS: walked, jumped, shot, struck, paused and resumed, and went back to the menu"
