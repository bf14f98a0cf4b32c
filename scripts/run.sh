#!/usr/bin/env bash
# Installs what is missing, builds Tivora (the program, its skin library and the demo portal
# program; no tests) and starts it. Arguments go to the program
# (e.g. --portal-root http://vod.example.com).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)" --target tivora tivora-portal
if [ "$(id -u)" -eq 0 ]; then
  # Chromium's sandbox cannot run as root.
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/release/bin/tivora "$@"
