#!/usr/bin/env bash
# Local playback in Tivora's player against the mpv program, on the same X server, with a
# window whose video area has the same size, software decoding for both. Runs alternate.
#
#  cpu:         CPU seconds the player process uses per second of playback of a 720p H.264
#               file, between 3 s and 9 s after start (start-up excluded).
#  first frame: milliseconds from choosing a file (the press of Return in Tivora's open dialog;
#               the write of a loadfile to mpv's IPC socket) to its first frame on screen, both
#               timed from that moment itself (not from the end of the program that acted,
#               whose own start and end differ between the two), both players busy with
#               a black film before. The film has a red square in its centre, and the centre of
#               the video area counts only once it is that red: a placeholder, a background or
#               a dialog's leftovers drawn first do not count. A film neither player has
#               played before: Tivora starts each run with no remembered state, so it does not
#               resume the film where an earlier run left it.
#
# Prints each run, the medians and the ratios. Needs: ffmpeg, mpv, xvfb-run, xdotool, xwininfo,
# ImageMagick's import, a C compiler with libX11, and a built Tivora (default
# build/release/bin/tivora).
#
#   bench/player.sh [RUNS] [TIVORA]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
tivora=$(realpath -m "${2:-build/release/bin/tivora}")
for tool in ffmpeg mpv xvfb-run xdotool xwininfo import cc; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed" >&2; exit 2; }
done
[ -x "$tivora" ] || { echo "bench: no $tivora; build it first (scripts/run.sh builds it)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/firstpixel" bench/firstpixel.c -lX11 -l:libXtst.so.6
film="$work/ab01.mp4"
black="$work/black.mp4"
encode=(-c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac)
ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=30,drawbox=x=560:y=280:w=160:h=160:color=red:t=fill \
  -f lavfi -i sine=frequency=440 \
  -t 30 "${encode[@]}" "$film"
ffmpeg -loglevel error -y -f lavfi -i color=black:size=1280x720:rate=30 -f lavfi -i sine=frequency=220 \
  -t 60 "${encode[@]}" "$black"

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
export WORK="$work" FILM="$film" BLACK="$black" TIVORA="$tivora"
xvfb=(xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX")
# mpv tries the audio outputs Tivora tries: without sound, its own list ends in SDL's slow failure.
mpv_options=(--vo=gpu --gpu-context=x11egl --hwdec=no --no-config --really-quiet --no-terminal
             --ao=pipewire,pulse,alsa,jack)

# The scripts below run inside one X server each. Geometry as "X Y W H" of a window.
cp bench/x11.sh "$work/lib.sh"
cat >> "$work/lib.sh" <<'INNER'
# Each run as a first run: a film played to 9 s in one run would be resumed there in the next.
state=$(mktemp -d -p "$WORK")
export XDG_DATA_HOME="$state/data" XDG_CONFIG_HOME="$state/config"
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
cpu() {  # cpu PID: CPU s per s between 3 s and 9 s after start
  sleep 3; local a b; a=$(ticks "$1"); sleep 6; b=$(ticks "$1")
  awk -v a="$a" -v b="$b" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.4f\n", (b - a) / hz / 6 }'; }
stop() {  # a player busy with a message box may outlive a polite kill
  kill "$1" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null; wait "$1" 2>/dev/null || true; }
INNER

cat > "$work/tivora-size.sh" <<'INNER'
. "$WORK/lib.sh"
"$TIVORA" --new-instance "$BLACK" >/dev/null 2>&1 & pid=$!
read -r _ _ w h < <(geometry "$(window_named '^tivora-video$')")
stop "$pid"
echo "${w}x${h}"
INNER

cat > "$work/tivora-cpu.sh" <<'INNER'
. "$WORK/lib.sh"
"$TIVORA" --new-instance "$FILM" >/dev/null 2>&1 & pid=$!
cpu "$pid"; stop "$pid"
INNER

cat > "$work/mpv-cpu.sh" <<'INNER'
. "$WORK/lib.sh"
mpv "$@" --geometry="$SIZE" "$FILM" 2>/dev/null & pid=$!
cpu "$pid"; stop "$pid"
INNER

cat > "$work/tivora-first.sh" <<'INNER'
. "$WORK/lib.sh"
"$TIVORA" --new-instance "$BLACK" >/dev/null 2>&1 & pid=$!
read -r vx vy vw vh < <(geometry "$(window_named '^tivora-video$')")
top=$(window_named '^black.mp4$')
read -r tx ty tw th < <(geometry "$top")
[ -n "$vh" ] && [ -n "$th" ] || { stop "$pid"; exit 1; }
# The start-up's server-connection window may still lie over the player: wait until it is gone.
for _ in $(seq 300); do xdotool search --onlyvisible --name '^服务器连接$' >/dev/null || break; sleep 0.1; done
sleep 2
# The open button lies under the white file list, right of the video: the first pixel down that
# column that is not the list's white is its top edge.
bx=$((vx + vw + 20)) from=$((vy + vh / 2))
by=$(import -window root -crop "1x$((ty + th - from))+$bx+$from" -depth 8 txt:- |
  awk -v from="$from" 'NR > 1 && $3 != "#FFFFFF" { split($1, at, /[,:]/); print from + at[2]; exit }')
[ -n "$by" ] || { echo "no open button" >&2; stop "$pid"; exit 1; }
xdotool mousemove "$bx" $((by + 12)) click 1
sleep 2
xdotool type --delay 0 "$FILM"
sleep 0.5
xdotool mousemove $((tx + tw + 100)) $((ty + th + 100))
"$WORK/firstpixel" --red $((vx + vw / 2)) $((vy + vh / 2)) --key Return
stop "$pid"
INNER

cat > "$work/mpv-first.sh" <<'INNER'
. "$WORK/lib.sh"
mpv "$@" --geometry="$SIZE" --input-ipc-server="$WORK/mpv.sock" "$BLACK" 2>/dev/null & pid=$!
read -r vx vy vw vh < <(geometry "$(window_named 'black.mp4')")
[ -n "$vh" ] || { stop "$pid"; exit 1; }
sleep 2
"$WORK/firstpixel" --red $((vx + vw / 2)) $((vy + vh / 2)) --ipc "$WORK/mpv.sock" \
  "{\"command\": [\"loadfile\", \"$FILM\"]}"
stop "$pid"
INNER

SIZE=$("${xvfb[@]}" bash "$work/tivora-size.sh")
export SIZE
echo "video area: $SIZE px in both"

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { awk -v t="$1" -v m="$2" 'BEGIN { printf "%.2f", t / m }'; }
# measure SCRIPT [ARGS...]: its figure. A run that the X server's tools failed before it measured
# anything is made again (up to three times); a player that fails (a timeout) ends the bench.
measure() {
  local figure
  for _ in 1 2 3; do
    figure=$("${xvfb[@]}" bash "$@") || true
    [[ $figure =~ ^[0-9.]+$ ]] && { echo "$figure"; return 0; }
    [ -n "$figure" ] && break
    echo "bench: $(basename "$1") could not measure; again" >&2
  done
  echo "bench: $(basename "$1") failed: ${figure:-no figure}" >&2
  return 1
}
tc=() mc=() tf=() mf=()
for ((i = 1; i <= runs; i++)); do
  tc+=("$(measure "$work/tivora-cpu.sh")")
  mc+=("$(measure "$work/mpv-cpu.sh" "${mpv_options[@]}")")
  tf+=("$(measure "$work/tivora-first.sh")")
  mf+=("$(measure "$work/mpv-first.sh" "${mpv_options[@]}")")
  echo "run $i: cpu tivora ${tc[-1]} mpv ${mc[-1]} (s per s); first frame tivora ${tf[-1]} mpv ${mf[-1]} (ms)"
done
t=$(median "${tc[@]}") m=$(median "${mc[@]}")
echo "median CPU s per s of playback: tivora $t, mpv $m, ratio $(ratio "$t" "$m")"
t=$(median "${tf[@]}") m=$(median "${mf[@]}")
echo "median ms from choice to first frame: tivora $t, mpv $m, ratio $(ratio "$t" "$m")"
