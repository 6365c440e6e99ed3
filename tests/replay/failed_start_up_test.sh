#!/usr/bin/env bash
# zendor-replay on a program whose start-up fails: exit status 1, a trace that ends with the
# reason "error", and every line valid UTF-8 although the message names a folder whose name is
# not.
#
#   failed_start_up_test.sh REPLAY GAME_DIR
set -uo pipefail
replay=$1
game=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "0 down ESC" > "$work/script.txt"
blocked=$work/$'\xff\xfe'-a-file-not-a-folder
: > "$blocked"
TMPDIR=$blocked "$replay" --program-folder "$game" --trace "$work/trace.jsonl" "$work/script.txt"
status=$?
if [ "$status" -ne 1 ]; then
  echo "exit status $status, expected 1"
  exit 1
fi
if ! tail -n 1 "$work/trace.jsonl" | grep -q '"type":"exit".*"reason":"error"'; then
  echo "the trace does not end with the reason \"error\":"
  cat "$work/trace.jsonl"
  exit 1
fi
if ! iconv -f UTF-8 -t UTF-8 "$work/trace.jsonl" > /dev/null; then
  echo "the trace is not valid UTF-8:"
  cat -v "$work/trace.jsonl"
  exit 1
fi
grep -q 'u00ff' "$work/trace.jsonl" || { echo "the folder's name is missing"; exit 1; }
