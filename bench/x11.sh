# Shell functions the benches' X server scripts share; sourced, not run.

# Geometry of a window as "X Y W H". Without a window, xwininfo would wait for a click on one.
geometry() {
  [ -n "$1" ] || return 1
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# The first visible window whose name matches, waited for up to 30 s. xdotool's own waiting
# search fails outright when a window goes while it looks, so it is asked again instead.
window_named() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "bench: no window named $1" >&2
  return 1
}
