#!/usr/bin/env bash
# Installs what is missing, builds Tivora with warnings as errors, checks src/ with clang-tidy and
# runs every test with ctest. Arguments go to ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset dev
cmake --build --preset dev --parallel "$(nproc)"
scripts/tidy.sh build/dev
ctest --preset dev "$@"
