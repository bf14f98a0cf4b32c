#!/usr/bin/env bash
# CPU cost of local playback: Tivora's player (started as `tivora FILE`) against the mpv program
# playing the same 720p H.264 file in a window of the same size on the same X server, software
# decoding for both. Runs alternate; each measures the CPU seconds the player process used per
# second of playback between 3 s and 9 s after start (start-up excluded). Prints medians and the
# ratio. Needs: ffmpeg, mpv, xvfb-run, a built Tivora (default build/release/bin/tivora).
#
#   bench/player-cpu.sh [RUNS] [TIVORA]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
tivora=${2:-build/release/bin/tivora}
for tool in ffmpeg mpv xvfb-run; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is needed (apt-get install $tool)" >&2; exit 2; }
done
[ -x "$tivora" ] || { echo "bench: no $tivora; build it first (scripts/run.sh builds it)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
film="$work/ab01.mp4"
ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=30 -f lavfi -i sine=frequency=440 \
  -t 30 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac "$film"

cat > "$work/measure.sh" <<'INNER'
#!/usr/bin/env bash
# measure.sh COMMAND...: CPU seconds per second of the started process between 3 s and 9 s.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
"$@" >/dev/null 2>&1 &
pid=$!
sleep 3
a=$(ticks "$pid")
sleep 6
b=$(ticks "$pid")
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
hz=$(getconf CLK_TCK)
awk -v a="$a" -v b="$b" -v hz="$hz" 'BEGIN { printf "%.4f\n", (b - a) / hz / 6 }'
INNER
chmod +x "$work/measure.sh"

export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=xcb
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
xvfb=(xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX")
# The player window's video area at its design size: 525x345 px.
mpv_cmd=(mpv --vo=gpu --gpu-context=x11egl --hwdec=no --geometry=525x345 --no-config
         --really-quiet --no-terminal "$film")
tivora_cmd=("$tivora" "$film")

tivora_runs=()
mpv_runs=()
for ((i = 1; i <= runs; i++)); do
  t=$("${xvfb[@]}" "$work/measure.sh" "${tivora_cmd[@]}")
  m=$("${xvfb[@]}" "$work/measure.sh" "${mpv_cmd[@]}")
  tivora_runs+=("$t")
  mpv_runs+=("$m")
  echo "run $i: tivora $t  mpv $m  (CPU s per s)"
done

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
t=$(median "${tivora_runs[@]}")
m=$(median "${mpv_runs[@]}")
echo "median CPU s per s of playback: tivora $t, mpv $m, ratio $(awk -v t="$t" -v m="$m" 'BEGIN { printf "%.2f", t / m }')"
