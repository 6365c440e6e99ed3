#!/usr/bin/env bash
# Fuzzes the game's file readers with libFuzzer.
#
#   scripts/fuzz.sh TARGET|all SECONDS
#
# TARGET is one of: profile map picture wav midi replay_script soundfont. Builds the `fuzz` preset (clang)
# and the debug build's game files (the seeds), then runs each target for SECONDS under nice,
# starting from its committed corpus (tests/fuzz/corpus/TARGET) and the shipped files of its
# kind. New interesting inputs collect in build/fuzz/corpus/TARGET; an input that makes a target
# fail is written to build/fuzz/findings/TARGET/ and the script exits non-zero: fix the fault
# and commit the input to tests/fuzz/corpus/TARGET, where the normal build's ctest replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
all=(profile map picture wav midi replay_script soundfont)
target=${1:?usage: scripts/fuzz.sh TARGET|all SECONDS}
seconds=${2:?usage: scripts/fuzz.sh TARGET|all SECONDS}
if [ "$target" = all ]; then targets=("${all[@]}"); else targets=("$target"); fi
skip=77  # what CTest counts as skipped
if ! command -v clang++ >/dev/null ||
    [ -z "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a | grep /)" ] ||
    [ ! -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
  echo "SKIP: clang with libFuzzer is not installed (scripts/setup.sh installs it)"
  exit $skip
fi

if [ ! -f build/debug/game/.datagen-stamp ]; then
  cmake --preset debug >/dev/null
  cmake --build --preset debug --target game_files -j"$(nproc)" >/dev/null
fi
cmake --preset fuzz >/dev/null
if ! cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz-}" \
    > build/fuzz/build.log 2>&1; then
  tail -n 40 build/fuzz/build.log >&2
  exit 1
fi

# A small quarantine lets the level strip's large pictures reuse their memory.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=32
status=0
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t
  findings=build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  # Seed folders are read as they are; single seed files join the working corpus.
  seeds=()
  while IFS= read -r seed; do
    if [ -d "$seed" ]; then seeds+=("$seed"); elif [ -f "$seed" ]; then cp "$seed" "$work/"; fi
  done < "build/fuzz/fuzz-seeds/$t.txt"
  # Short inputs keep the theme reader quick: a long theme mostly repeats what a short one tests.
  extra=()
  case $t in
    midi) extra=(-max_len=16384) ;;
  esac
  echo "fuzzing $t for $seconds s"
  # Work inside the findings folder: the runs leave nothing beside the sources.
  if ! nice -n 10 "build/fuzz/tests/fuzz/fuzz-$t" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -malloc_limit_mb=512 -close_fd_mask=2 -print_final_stats=1 \
      -artifact_prefix="$findings/" "${extra[@]}" "$work" "tests/fuzz/corpus/$t" "${seeds[@]}" \
      > "build/fuzz/$t.log" 2>&1; then
    echo "fuzz-$t found a fault: see build/fuzz/$t.log and $findings/" >&2
    tail -n 40 "build/fuzz/$t.log" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build/fuzz/$t.log" || true
done
exit $status
