#!/usr/bin/env bash
# Installs what is missing, builds Tivora with warnings as errors, checks src/ with clang-tidy and
# runs every test with ctest; then the same tests in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzz target. Arguments go to each ctest
# (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

scripts/bootstrap.sh
cmake --preset dev
cmake --build --preset dev --parallel "$jobs"
scripts/tidy.sh build/dev
ctest --preset dev "$@"

cmake --preset asan
cmake --build --preset asan --parallel "$jobs"
ctest --preset asan "$@"

if command -v clang++ >/dev/null; then
  cmake --preset fuzz
  cmake --build --preset fuzz --parallel "$jobs"
  ctest --preset fuzz "$@"
else
  echo "test: no clang++, fuzz targets skipped"
fi
