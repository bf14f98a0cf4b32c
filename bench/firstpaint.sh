#!/usr/bin/env bash
# The main window's first paint: milliseconds from the process start until 90 % of the window's
# pixels are painted (no longer the unpainted background), for Tivora's default start (the demo
# portal in its process) against a bare Qt Widgets program showing a window of the same size with
# Chinese text (bench/firstpaint/reference.cpp). Same X server, one warm-up each, then alternating
# runs; prints each run (window mapped / painted), the medians and the ratio, then one traced
# Tivora start to show where its time goes. bench/firstpaint/windowpaint.c does the measuring.
#
# Needs xvfb-run, a C compiler with libx11-dev and a release build (cmake --preset release &&
# cmake --build --preset release).
#
#   bench/firstpaint.sh [RUNS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
build=$(realpath -m "${2:-build/release}")
for program in bin/tivora bench/tivora-bench-firstpaint-reference; do
  [ -x "$build/$program" ] || { echo "bench: no $build/$program; make a release build first" >&2; exit 2; }
done
for tool in xvfb-run cc python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/windowpaint" bench/firstpaint/windowpaint.c -lX11

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="${BENCH_CHROMIUM_FLAGS:---disable-gpu --disable-background-networking}"
# No session bus: each program would otherwise wait on libdbus's autolaunch differently.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus

cat >"$work/run.sh" <<'RUN'
set -euo pipefail
work=$1 build=$2 runs=$3
as_user() {  # name command...: runs it with a home of its own
  local home=$work/$1
  shift
  mkdir -p "$home/run" && chmod 700 "$home/run"
  HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/run "$@"
}
reference() { as_user reference "$work/windowpaint" reference "$build/bench/tivora-bench-firstpaint-reference" reference; }
tivora() { as_user tivora "$work/windowpaint" Tivora "$build/bin/tivora" --new-instance; }
reference >/dev/null && tivora >/dev/null  # warm-up: files cached, profile and database made
for i in $(seq "$runs"); do
  r=$(reference) t=$(tivora)
  echo "run $i: reference mapped/painted $r ms, tivora $t ms"
  echo "$r" >>"$work/reference.txt"
  echo "$t" >>"$work/tivora.txt"
done
python3 - "$work" <<'PY'
import statistics, sys
work = sys.argv[1]
def column(name, i):
    return [float(line.split()[i]) for line in open(f"{work}/{name}.txt") if line[0].isdigit()]
r, t = statistics.median(column("reference", 1)), statistics.median(column("tivora", 1))
rm, tm = statistics.median(column("reference", 0)), statistics.median(column("tivora", 0))
print(f"median reference: mapped {rm:.0f} ms, painted {r:.0f} ms")
print(f"median tivora:    mapped {tm:.0f} ms, painted {t:.0f} ms")
print(f"ratio tivora/reference (painted): {t / r:.2f}")
PY
echo "one traced start (ms since the program's libraries were loaded):"
TIVORA_TRACE_STARTUP=1 WINDOWPAINT_LINGER_MS=3000 as_user tivora "$work/windowpaint" Tivora "$build/bin/tivora" --new-instance \
  2>&1 >/dev/null | grep -E "tivora.trace" | sed -n '1,40p' || true
RUN
xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX" bash "$work/run.sh" "$work" "$build" "$runs"
