#!/usr/bin/env bash
# The real game under Xvfb, stopped from outside. A run killed outright leaves its files; the
# next start removes them; SIGTERM and SIGINT each end a run cleanly with nothing left behind.
#   frontend_signals_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

start_xvfb
for signal in KILL TERM INT; do
  start_game
  # The window comes up once start-up has written every temporary file.
  wait_for_window
  kill -"$signal" "$game_pid"
  if [ "$signal" = KILL ]; then  # a run killed without warning cannot clean up
    { wait "$game_pid"; } 2>/dev/null || true
    game_pid=
    leftovers=$(temp_files | wc -l)
    [ "$leftovers" -gt 0 ] || fail "the killed run left nothing to clean up"
  else
    expect_clean_exit 60 "after SIG$signal"
  fi
done
echo "PASS: the killed run's $leftovers files were removed; SIGTERM and SIGINT left nothing behind"
