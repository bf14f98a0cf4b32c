#!/usr/bin/env bash
# Memory over a long session: CYCLES rounds (default 200) of opening a film from the demo
# portal's list, playing it for 1.5 s, stopping and going back to the hall, in Tivora's real
# windows (bench/soak/soak.cpp). Prints the total PSS and the process count of the program's
# process tree after the first round and after the last, and the growth. Needs xvfb-run and a
# release build (cmake --preset release && cmake --build --preset release).
#
#   bench/soak.sh [CYCLES] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

cycles=${1:-200}
build=$(realpath -m "${2:-build/release}")
soak=$build/bench/tivora-bench-soak
[ -x "$soak" ] || { echo "bench: no $soak; make a release build first" >&2; exit 2; }
command -v xvfb-run >/dev/null || { echo "bench: xvfb-run is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="${BENCH_CHROMIUM_FLAGS:---disable-gpu --disable-background-networking}"
xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX" "$soak" "$cycles" 2>"$work/stderr" ||
  { tail -20 "$work/stderr" >&2; exit 1; }
