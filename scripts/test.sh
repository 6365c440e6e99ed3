#!/usr/bin/env bash
# Installs the dependencies, builds the debug configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test. Tests that need a real window start their
# own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset debug
cmake --build --preset debug -j"$(nproc)"
ctest --preset debug -j"$(nproc)" --timeout 900
