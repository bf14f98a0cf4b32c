#!/usr/bin/env bash
# Start-up of Tivora (bench/startup/measure.py has the details), runs alternating after one
# warm-up each; prints each run, the medians and the ratios.
#
#  page (default): Tivora with --portal-root at a loopback film-list page whose onload fires a
#                  beacon, against a bare one-view Qt WebEngine program (bench/startup/reference.cpp)
#                  loading that page; BENCH_FIVE_VIEWS=1 adds the reference with five views;
#  default:        Tivora's own start (the demo portal in its process) against Tivora with
#                  --portal-root at the demo portal program, both timed to the film list's
#                  DocumentComplete.
#
#  start:  milliseconds from process start to the film list;
#  memory: total PSS of the process tree (Chromium's processes included) 1 s later.
#
# BENCH_COMPARE=/path/to/another/tivora adds that build to the same alternation (before/after).
# Needs xvfb-run, python3 and a release build (cmake --preset release && cmake --build --preset
# release).
#
#   bench/startup.sh [page|default] [RUNS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

mode=page
case ${1:-} in page | default) mode=$1; shift ;; esac
runs=${1:-5}
build=$(realpath -m "${2:-build/release}")
for program in bin/tivora bin/tivora-portal bench/tivora-bench-reference; do
  [ -x "$build/$program" ] || { echo "bench: no $build/$program; make a release build first" >&2; exit 2; }
done
for tool in xvfb-run python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 2; }
done

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="${BENCH_CHROMIUM_FLAGS:---disable-gpu --disable-background-networking}"
xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX" \
  python3 bench/startup/measure.py "$mode" "$runs" "$build"
