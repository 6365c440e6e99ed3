#!/usr/bin/env bash
# The set-up program's screen under Xvfb with real key presses: a window instead of the
# full-screen canvas, fit to screen on, the desktop's size, difficulty 3, saved with Enter;
# the INI files then hold the new values and still hold the line the set-up does not manage. The
# window carries the class the desktop entry names, so the desktop shows it as the game's.
#   setup_screen_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"
[ -x "$GAME_DIR/zendor-setup" ] || skip "no zendor-setup in $GAME_DIR"
command -v xprop >/dev/null || skip "no xprop"

folder=$work/program
mkdir -p "$folder"
ln -s "$GAME_DIR/ART" "$folder/ART"
printf '[Pantalla]\r\nDDraw=1\r\nMyOwnKey=kept\r\n' >"$folder/Zendor Vostrik.INI"

start_xvfb
SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
  "$GAME_DIR/zendor-setup" --program-folder "$folder" >"$work/game.log" 2>&1 &
game_pid=$!

window=
for _ in $(seq 200); do
  kill -0 "$game_pid" 2>/dev/null || fail "zendor-setup ended before its window appeared"
  window=$(xdotool search --onlyvisible --name '^Zendor Vostrik XXI Set-Up$' 2>/dev/null |
    head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no set-up window after 20 s"
timeout 20 xdotool windowfocus --sync "$window" || fail "the set-up window did not take the keyboard focus"

entry=$(dirname "$0")/../../dist/example.zendor_vostrik.ZendorVostrik.desktop
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wm_class" ] || fail "the desktop entry names no window class"
xprop -id "$window" WM_CLASS | grep -qF "\"$wm_class\"" ||
  fail "window class $(xprop -id "$window" WM_CLASS), the desktop entry expects $wm_class"

# Display: window. Fit to screen: on. Screen size: the first the desktop offers. Difficulty: 3.
xdotool key Right Down Right Down Right Down Right Right Right Return

for _ in $(seq 200); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "zendor-setup did not end after Enter"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" = 0 ] || fail "zendor-setup ended with status $status"

main=$(cat "$folder/Zendor Vostrik.INI")
for line in DDraw=0 PantallaCompleta=1 Ancho=1024 Alto=768 Dificultad=3 MyOwnKey=kept; do
  grep -q "^$line"$'\r'"\$" "$folder/Zendor Vostrik.INI" || fail "no $line in: $main"
done
[ ! -e "$folder/Brinmoor.INI" ] || fail "the sound settings were written though unchanged"
echo "PASS: the set-up screen saved what was chosen with the keys"
