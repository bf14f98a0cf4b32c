#!/usr/bin/env bash
# Installs what is missing, builds Tivora with warnings as errors and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset dev
cmake --build --preset dev
ctest --preset dev "$@"
