#!/usr/bin/env bash
# Start-up of Tivora against a bare one-view Qt WebEngine program (bench/startup/reference.cpp),
# both loading the same film-list page from loopback, runs alternating after one warm-up each.
#
#  start:  milliseconds from process start to the film list's onload beacon;
#  memory: total PSS of the process tree (Chromium's processes included) 1 s later.
#
# BENCH_FIVE_VIEWS=1 adds the reference with five views, four blank, as Tivora has panes.
# Prints each run, the medians and the ratios. Needs xvfb-run, python3 and a release build
# (cmake --preset release && cmake --build --preset release).
#
#   bench/startup.sh [RUNS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
build=$(realpath -m "${2:-build/release}")
for program in "$build/bin/tivora" "$build/bench/tivora-bench-reference"; do
  [ -x "$program" ] || { echo "bench: no $program; make a release build first" >&2; exit 2; }
done
for tool in xvfb-run python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 2; }
done

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX" \
  python3 bench/startup/measure.py "$runs" "$build/bin/tivora" "$build/bench/tivora-bench-reference"
