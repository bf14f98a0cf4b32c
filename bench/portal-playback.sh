#!/usr/bin/env bash
# A portal film played three ways, on the same X server, software decoding everywhere; runs
# alternate:
#
#  (a) tivora: Tivora's play page with Tivora's own player laid over the page's video element;
#  (b) page:   the same play page playing the film in its own <video> (Tivora's player turned off
#              for the portal, as its per-portal setting does);
#  (c) mpv:    the mpv program playing the same address in a window of the video area's size, with
#              the subtitle file the page names, which (a) and (b) show too.
#
#  cpu:         CPU seconds per second of playback of the demo portal's 720p H.264/AAC film, over
#               the whole process tree (WebEngine's page and GPU processes included), between 3 s
#               and 9 s after the play command.
#  first frame: milliseconds from the play command (the play page into the full-window pane, the
#               pane shown, as the play picture does) to the film's first frame on screen (its red
#               colour bar), (a) and (b) only.
#
# (a) and (b) run bench/portalplay (Tivora's main window with its real services, the play command
# on a signal) against the demo portal program on loopback. Prints each run, the medians and the
# ratios. Needs: mpv, xvfb-run, xdotool, xwininfo, a C compiler with libX11, and a build (default
# build/release; the dev build works too).
#
#   bench/portal-playback.sh [RUNS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
build=$(realpath -m "${2:-build/release}")
for program in bin/tivora-portal bench/tivora-bench-portalplay; do
  [ -x "$build/$program" ] || { echo "bench: no $build/$program; build it first" >&2; exit 2; }
done
for tool in mpv xvfb-run xdotool xwininfo cc; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 2; }
done

work=$(mktemp -d)
cc -O2 -o "$work/firstpixel" bench/firstpixel.c -lX11 -l:libXtst.so.6
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$build/bin/tivora-portal" --port "$port" --db "$work/portal.db" >/dev/null 2>&1 & portal=$!
trap 'kill $portal 2>/dev/null; rm -rf "$work"' EXIT
root="http://127.0.0.1:$port"
for _ in $(seq 100); do curl -sf "$root/ty_00.html" >/dev/null 2>&1 && break; sleep 0.1; done

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export WORK="$work" ROOT="$root" FILM="$root/media/hd.mp4" SUBTITLES="$root/media/hd.zh.srt" DRIVER="$build/bench/tivora-bench-portalplay"
xvfb=(xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX")
# mpv tries the audio outputs Tivora tries: without sound, its own list ends in SDL's slow failure.
mpv_options=(--vo=gpu --gpu-context=x11egl --hwdec=no --no-config --really-quiet --no-terminal
             --ao=pipewire,pulse,alsa,jack)

cp bench/x11.sh "$work/lib.sh"
cat >> "$work/lib.sh" <<'INNER'
# CPU ticks of a process and all its descendants, with those of descendants already reaped.
tree_ticks() {
  awk -v root="$1" '
    FNR == 1 { line = $0; sub(/^[0-9]+ \(.*\) /, "", line); split(line, f, " ");
               pid = FILENAME; sub(/^\/proc\//, "", pid); sub(/\/stat$/, "", pid);
               parent[pid] = f[2]; ticks[pid] = f[12] + f[13] + f[14] + f[15]; nextfile }
    END { keep[root] = 1; changed = 1
          while (changed) { changed = 0; for (p in parent) if (!(p in keep) && (parent[p] in keep)) { keep[p] = 1; changed = 1 } }
          for (p in keep) sum += ticks[p]; print sum }' /proc/[0-9]*/stat 2>/dev/null; }
cpu() {  # cpu PID: CPU s per s of the tree between 3 s and 9 s from now
  sleep 3; local a b; a=$(tree_ticks "$1"); sleep 6; b=$(tree_ticks "$1")
  awk -v a="$a" -v b="$b" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.4f\n", (b - a) / hz / 6 }'; }
stop() {
  kill "$1" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null || true; }
start_driver() {  # start_driver [--page-video]: the main window up, its film list loaded
  "$DRIVER" "$ROOT" 1001 "$@" >/dev/null 2>&1 & pid=$!
  window_named '^Tivora$' >/dev/null
  sleep 3; }
INNER

cat > "$work/size.sh" <<'INNER'
. "$WORK/lib.sh"
start_driver
kill -USR1 "$pid"
geometry "$(window_named '^tivora-video$')"
stop "$pid"
INNER

cat > "$work/driver-cpu.sh" <<'INNER'
. "$WORK/lib.sh"
start_driver "$@"
kill -USR1 "$pid"
cpu "$pid"; stop "$pid"
INNER

cat > "$work/driver-first.sh" <<'INNER'
. "$WORK/lib.sh"
start_driver "$@"
"$WORK/firstpixel" --red "$RX" "$RY" kill -USR1 "$pid"
stop "$pid"
INNER

cat > "$work/mpv-cpu.sh" <<'INNER'
. "$WORK/lib.sh"
mpv "$@" --geometry="$SIZE" --sub-file="$SUBTITLES" "$FILM" 2>/dev/null & pid=$!
cpu "$pid"; stop "$pid"
INNER

read -r vx vy vw vh < <("${xvfb[@]}" bash "$work/size.sh")
# The film's first frame is told by its leftmost colour bar, red: the pane's placeholder and the
# page are drawn before it.
export SIZE="${vw}x${vh}" RX=$((vx + vw / 14)) RY=$((vy + vh / 2))
echo "video area: $SIZE px at $vx,$vy (mpv at the same size)"

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { awk -v t="$1" -v m="$2" 'BEGIN { printf "%.2f", t / m }'; }
ac=() bc=() mc=() af=() bf=()
for ((i = 1; i <= runs; i++)); do
  ac+=("$("${xvfb[@]}" bash "$work/driver-cpu.sh")")
  bc+=("$("${xvfb[@]}" bash "$work/driver-cpu.sh" --page-video)")
  mc+=("$("${xvfb[@]}" bash "$work/mpv-cpu.sh" "${mpv_options[@]}")")
  af+=("$("${xvfb[@]}" bash "$work/driver-first.sh")")
  bf+=("$("${xvfb[@]}" bash "$work/driver-first.sh" --page-video)")
  echo "run $i: cpu (a) tivora ${ac[-1]} (b) page ${bc[-1]} (c) mpv ${mc[-1]} (s per s);" \
       "first frame (a) ${af[-1]} (b) ${bf[-1]} (ms)"
done
a=$(median "${ac[@]}") b=$(median "${bc[@]}") m=$(median "${mc[@]}")
echo "median CPU s per s: (a) tivora $a, (b) page $b, (c) mpv $m;" \
     "(a)/(c) $(ratio "$a" "$m") (goal <= 1.10), (a)/(b) $(ratio "$a" "$b") (goal <= 0.50)"
a=$(median "${af[@]}") b=$(median "${bf[@]}")
echo "median ms from play command to first frame: (a) tivora $a, (b) page $b, (a)/(b) $(ratio "$a" "$b") (goal <= 1.00)"
