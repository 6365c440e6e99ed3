#!/usr/bin/env bash
# Installs the dependencies, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
exec build/release/game/zendor
