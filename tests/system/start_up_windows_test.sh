#!/usr/bin/env bash
# The real game under Xvfb: while it loads, the splash window shows the title picture in the
# middle of the screen; then the black cover window hides the whole desktop behind the game's
# window, in the plain windowed path too; after quitting neither is left.
#   start_up_windows_test.sh GAME_DIR
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"
for tool in convert xwd; do command -v "$tool" >/dev/null || skip "no $tool"; done

windowed_copy

# The id of the mapped (viewable) window titled exactly $1, if any.
viewable() {
  local id
  for id in $(xwininfo -root -tree | sed -n "s/^ *\(0x[0-9a-f]*\) \"$1\".*/\1/p"); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$id"; return 0; }
  done
  return 1
}
root_shot() { xwd -silent -root >"$work/$1.xwd" && convert "xwd:$work/$1.xwd" "$work/$1.png"; }
mean_of() {  # mean brightness (0..1) of the w x h block at (x, y) of shot $1
  convert "$work/$1.png" -crop "$2x$3+$4+$5" +repage -format '%[fx:mean]' info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

start_xvfb 1024x768 -wr  # a white desktop
# The splash lasts as long as loading does: a shot showing its picture, taken while the
# window is still up after the shot, shows it. Should loading outrun the look, the game is started again (up to three times).
splash=
for attempt in 1 2 3; do
  start_game
  for _ in $(seq 1000); do
    splash=$(viewable 'Zendor Vostrik XXI (loading)') && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended during start-up"
    sleep 0.01
  done
  [ -n "$splash" ] || fail "no splash window while the game loaded"
  splash_size=$(xwininfo -id "$splash" 2>&1 |
    awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
  shown=
  while viewable 'Zendor Vostrik XXI (loading)' >/dev/null; do  # until painted, while it is up
    xwd -silent -id "$splash" >"$work/splash.xwd" 2>/dev/null &&
      convert "xwd:$work/splash.xwd" "$work/splash.png" || break
    viewable 'Zendor Vostrik XXI (loading)' >/dev/null || break
    above 0.9 "$(mean_of splash 256 192 0 0)" && { shown=1; break; }
  done
  [ -z "$shown" ] || break
  [ "$attempt" -lt 3 ] || fail "the splash never stayed long enough for a look"
  kill -KILL "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
done
[ "$splash_size" = 256x192 ] || fail "the splash window is $splash_size, not the title picture's size"
wait_for_window
for _ in $(seq 300); do
  viewable Negro >/dev/null && ! viewable 'Zendor Vostrik XXI (loading)' >/dev/null && break
  sleep 0.1
done
viewable Negro >/dev/null || fail "no black cover window behind the game"
viewable 'Zendor Vostrik XXI (loading)' >/dev/null && fail "the splash stayed after loading"
# Up to 60 s for the game's picture in the middle of the screen; the desktop around it black.
for try in $(seq 121); do
  [ "$try" -le 120 ] || fail "the game's picture did not come up"
  sleep 0.5
  root_shot menu
  above "$(mean_of menu 56 16 $((384 + 144)) $((288 + 9)))" 0.1 && break
done
above 0.001 "$(mean_of menu 300 300 0 0)" || fail "the desktop shows around the windowed game"
quit_from_menu
[ -z "$(viewable Negro || true)" ] || fail "the cover window stayed after the game"
root_shot after
above "$(mean_of after 1024 768 0 0)" 0.99 || fail "something of the game stayed on the desktop"
echo "PASS: splash while loading, the black cover behind the game, both gone at the end"
