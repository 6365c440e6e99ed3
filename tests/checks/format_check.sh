#!/usr/bin/env bash
# Fails when a C++ file is not formatted as .clang-format says (clang-format 14, the version
# Debian ships and scripts/setup.sh installs). Other versions format differently: the check is
# skipped with them, and without clang-format.
#
#   format_check.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed"
  exit 77
fi
version=$(clang-format --version | grep -oE 'version [0-9]+' | grep -oE '[0-9]+')
if [ "$version" != 14 ]; then
  echo "clang-format $version formats differently from 14"
  exit 77
fi
find src tools tests bench -name '*.cpp' -o -name '*.h' | sort |
  xargs clang-format --dry-run -Werror
