#!/usr/bin/env bash
# The real game's memory, the way a player runs it: the SDL back end under Xvfb, heard through
# SDL's disk audio driver. One run measures, during a game started from the menu:
#   - the private memory (RssAnon of /proc/PID/status) with the music on and with it off, and
#     what the music costs (the difference); beside it the file pages mapped in (RssFile, where
#     the SoundFont's samples are) and the memory locked (VmLck);
#   - the peak resident size (VmHWM) after each of GAMES games in a row, with the music on.
#   scripts/measure_memory.sh [GAME_DIR] [GAMES]    (defaults: build/release/game, 10)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
GAME_DIR=$(cd "${1:-$root/build/release/game}" && pwd)
GAMES=${2:-10}
. "$root/tests/system/xvfb_session.sh"
for tool in convert xwd; do command -v "$tool" >/dev/null || skip "no $tool"; done

# The game window as a PNG; true when the mean brightness of a block of it is above a level.
shot() { xwd -silent -id "$window" >"$work/$1.xwd" && convert "xwd:$work/$1.xwd" "$work/$1.png"; }
brighter() {
  awk -v m="$(convert "$work/$1.png" -crop "$2x$3+$4+$5" +repage -format '%[fx:mean]' info:)" \
    -v t="$6" 'BEGIN { exit !(m > t) }'
}
status_kb() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$game_pid/status"; }

# Waits up to 60 s for the menu (its title lit, the corner above it black) or a game (the panel
# lit below the playfield).
wait_for_menu() {
  for _ in $(seq 120); do
    sleep 0.5
    shot menu 2>/dev/null || continue
    brighter menu $((144 * zoom)) $((9 * zoom)) $((56 * zoom)) $((16 * zoom)) 0.1 &&
      ! brighter menu $((40 * zoom)) $((8 * zoom)) 0 0 0.01 && return 0
  done
  fail "the menu did not come up"
}
wait_for_game() {
  for _ in $(seq 120); do
    sleep 0.5
    shot game
    brighter game 240 64 8 128 0.1 && return 0
  done
  fail "no game came up after 1 in the menu"
}

# The largest RssAnon over three seconds of play, in kB.
anon_during_game() {
  local most=0 now
  for _ in $(seq 12); do
    now=$(status_kb RssAnon)
    [ "$now" -gt "$most" ] && most=$now
    sleep 0.25
  done
  echo "$most"
}

# Runs the game from folder $1 with the music switch $2 for $3 games; writes a line per game,
# "RssAnon VmHWM" in kB, to $work/$1.txt.
run() {
  local dir=$work/$1
  cp -r "$GAME_DIR/." "$dir/"
  sed -i 's/^DDraw=.*/DDraw=0/' "$dir/Zendor Vostrik.INI"
  printf '[Sonido]\r\nSND=1\r\nMUS=%s\r\n' "$2" >"$dir/Brinmoor.INI"
  GAME_DIR=$dir SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/$1.raw start_game
  wait_for_window
  zoom=$(($(xwininfo -id "$window" | awk '/Width:/ { print $2 }') / 256))
  [ "$zoom" -ge 1 ] || zoom=1
  wait_for_menu
  for _ in $(seq "$3"); do
    press 1
    wait_for_game
    echo "$(anon_during_game) $(status_kb VmHWM) $(status_kb VmLck) $(status_kb RssFile)" >>"$work/$1.txt"
    press Escape
    wait_for_menu
  done
  kill -TERM "$game_pid"
  expect_clean_exit 30 "after SIGTERM ($1)"
}

start_xvfb
run music-off 0 1
run music-on 1 "$GAMES"
anon_off=$(cut -d' ' -f1 "$work/music-off.txt")
anon_on=$(head -n 1 "$work/music-on.txt" | cut -d' ' -f1)
read -r _ _ locked_off file_off <"$work/music-off.txt"
read -r _ _ locked_on file_on <"$work/music-on.txt"
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "private memory during a game, music off: $((anon_off / 1024)) MB ($anon_off kB)"
echo "private memory during a game, music on:  $((anon_on / 1024)) MB ($anon_on kB)"
echo "the music costs: $(((anon_on - anon_off) / 1024)) MB ($((anon_on - anon_off)) kB)"
echo "file pages mapped in (RssFile), music off: $file_off kB, on: $file_on kB; locked (VmLck): $locked_off kB, $locked_on kB"
echo "peak resident size after each game, music on (kB):"
n=0
while read -r anon peak _; do
  n=$((n + 1))
  echo "  game $n: VmHWM $peak, RssAnon $anon"
done <"$work/music-on.txt"
