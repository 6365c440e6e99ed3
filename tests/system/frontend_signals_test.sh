#!/usr/bin/env bash
# The real game under Xvfb, stopped from outside. A run killed outright leaves its files; the
# next start removes them; SIGTERM and SIGINT each end a run cleanly with nothing left behind.
#
#   frontend_signals_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

start_xvfb

# A run killed without warning cannot clean up.
start_game
wait_for_window
sleep 5
kill -KILL "$game_pid"
wait_for_exit 5 || fail "the killed game did not end"
leftovers=$(temp_files | wc -l)
[ "$leftovers" -gt 0 ] || fail "the killed run left nothing to clean up"

for signal in TERM INT; do
  start_game
  wait_for_window
  sleep 5
  kill -"$signal" "$game_pid"
  wait_for_exit 10 || fail "SIG$signal did not end the game"
  check_clean_exit "after SIG$signal"
  [ -z "$(temp_files)" ] || fail "left behind after SIG$signal: $(temp_files)"
done
echo "PASS: the killed run's $leftovers files were removed; SIGTERM and SIGINT left nothing behind"
