#!/usr/bin/env bash
# Fails when game or tool code includes SDL or FluidSynth, or a header of the SDL back end. Only
# the back end itself (src/platform/sdl/) and the programs that choose it (the main.cpp of each
# binary, the replay runner's window in tools/replay/) may; tests and benchmarks of the back end are free to.
#
#   sdl_boundary_check.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2
hits=$(grep -rnE '#include *[<"](SDL|fluidsynth|platform/sdl/)' src tools \
  --include='*.cpp' --include='*.h' |
  grep -vE '^(src/platform/sdl/|src/app/main\.cpp:|tools/[a-z_]+/main\.cpp:|tools/replay/)')
if [ -n "$hits" ]; then
  echo "SDL or FluidSynth outside the back end and the programs that choose it:"
  echo "$hits"
  exit 1
fi
