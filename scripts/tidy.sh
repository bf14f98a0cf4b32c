#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over every source file of src/, using the compile
# commands of a configured build (default build/dev). Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/dev}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy: no $build/compile_commands.json; configure first (cmake --preset dev)" >&2
  exit 2
fi
tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14)
"$tidy" -p "$build" -quiet -j "$(nproc)" "^$(pwd)/src/.*\.cpp$"
