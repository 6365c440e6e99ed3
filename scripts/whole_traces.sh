#!/usr/bin/env bash
# Writes the whole trace of every scenario (every field of every line, audio included, no field
# filter) with the given build's zendor-replay, one file per scenario. Run it on two builds and
# compare the folders to show that a change moved nothing the game does:
#
#   scripts/whole_traces.sh OLD_CHECKOUT/build/debug /tmp/before
#   scripts/whole_traces.sh build/debug /tmp/after
#   diff -r /tmp/before /tmp/after && echo "every trace is the same"
#
# The scenarios are this checkout's (tests/scenarios/); the build may be of an older commit.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
for dir in "$here"/tests/scenarios/*/; do
  name=$(basename "$dir")
  work=$(mktemp -d)
  folder=$build/game
  if [ -d "$dir/folder" ]; then
    mkdir -p "$work/game"
    cp -r "$folder/." "$work/game/"
    cp -r "$dir/folder/." "$work/game/"
    folder=$work/game
  fi
  args=()
  if [ -f "$dir/args" ]; then
    read -r -a args < <(sed "s|@WORK@|$work|g; s| --trace-changes||; s| --trace-audio||" "$dir/args")
  fi
  status=0
  TMPDIR=$work "$build/zendor-replay" --program-folder "$folder" --trace "$out/$name.jsonl" \
    --trace-audio "${args[@]}" "$dir/script.txt" >/dev/null 2>&1 || status=$?
  echo "$status" >"$out/$name.status"
  rm -rf "$work"
done
echo "$(ls "$out"/*.jsonl | wc -l) traces in $out"
