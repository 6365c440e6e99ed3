#!/usr/bin/env bash
# Runs one scenario with zendor-replay and compares its trace with the expected one.
#
#   run_scenario.sh REPLAY GAME_DIR SCENARIO_DIR
#
# A scenario folder holds:
#   script.txt      the timed keys
#   expected.jsonl  the expected trace (checked by hand before it was committed)
#   README          one sentence: what the scenario proves and what in the trace to watch
#   args            optional extra zendor-replay options on one line (@WORK@ names the scratch
#                   folder, e.g. for snapshots)
#   select          optional extended regular expression: only matching trace lines are compared
#   fields          optional frame fields the scenario proves, separated by spaces, commas or
#                   lines (zendor-replay --trace-fields): frame lines keep only these, their
#                   time and their number; add --trace-changes to args to keep only the frames
#                   where one of them changed
#   folder/         optional files laid over a copy of the program folder (a map, an INI file)
# UPDATE_SCENARIOS=1 rewrites expected.jsonl from the run instead of comparing.
set -euo pipefail
replay=$1
game=$2
dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

folder=$game
if [ -d "$dir/folder" ]; then
  mkdir -p "$work/game"
  cp -r "$game/." "$work/game/"
  cp -r "$dir/folder/." "$work/game/"
  folder=$work/game
fi
args=()
if [ -f "$dir/args" ]; then
  read -r -a args < <(sed "s|@WORK@|$work|g" "$dir/args")
fi
if [ -f "$dir/fields" ]; then
  args+=(--trace-fields "$(tr -s ' ,\t\r\n' ',' < "$dir/fields" | sed 's/^,//; s/,$//')")
fi

TMPDIR=$work "$replay" --program-folder "$folder" --trace "$work/trace.jsonl" "${args[@]}" \
  "$dir/script.txt"

filter() {
  if [ -f "$dir/select" ]; then grep -E -f "$dir/select" "$1" || true; else cat "$1"; fi
}
filter "$work/trace.jsonl" > "$work/actual.jsonl"

if [ "${UPDATE_SCENARIOS:-}" = 1 ]; then
  cp "$work/actual.jsonl" "$dir/expected.jsonl"
  echo "updated $dir/expected.jsonl"
else
  diff -u "$dir/expected.jsonl" "$work/actual.jsonl" | head -n 60
  cmp -s "$dir/expected.jsonl" "$work/actual.jsonl"
fi

# Nothing of the run may stay behind in the game's temporary folder.
leftover=$(find "$work/zendor-$(id -u)" -mindepth 1 2>/dev/null | head -n 5)
if [ -n "$leftover" ]; then
  echo "left behind in the temporary folder:"
  echo "$leftover"
  exit 1
fi
