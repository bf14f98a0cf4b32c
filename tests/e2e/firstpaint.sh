#!/usr/bin/env bash
# The main window's first paint waits for nothing it does not show: not for a portal that takes
# connections and never answers, nor for the libraries of the player and the downloader. The
# program still ends promptly when asked, with every load outstanding.
set -u
program=$1
source "$(dirname "$0")/userhome.sh"
pids=()
trap 'kill -KILL "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    head -40 "$work/tivora.log"
    exit 1
}

# Accepts every connection, reads what it is sent and answers nothing.
python3 - "$work/port" <<'PY' &
import socket, sys, threading
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(64)
open(sys.argv[1], "w").write(str(listener.getsockname()[1]))
held = []
while True:
    connection, _ = listener.accept()
    held.append(connection)
PY
pids+=($!)
disown
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
root=http://127.0.0.1:$(cat "$work/port")

TIVORA_TRACE_STARTUP=1 "$program" --new-instance --portal-root "$root" >"$work/tivora.log" 2>&1 &
tivora=$!
pids+=("$tivora")
for _ in $(seq 200); do
    grep -q "main window first paint" "$work/tivora.log" && break
    kill -0 "$tivora" 2>/dev/null || fail "the program ended"
    sleep 0.1
done
painted=$(awk '/main window first paint/ {print int($2)}' "$work/tivora.log")
[ -n "$painted" ] || fail "the main window was not painted within 20 s"
grep -q "Tivora/WebBrowser1 document complete" "$work/tivora.log" &&
    fail "the film list completed, so the portal answered after all"
[ "$painted" -lt 10000 ] || fail "first paint only after $painted ms"
echo "PASS: main window painted after $painted ms while the portal says nothing"
for library in libmpv libcurl; do
    grep -q "/$library\.so" "/proc/$tivora/maps" && fail "$library is loaded at start"
done
echo "PASS: neither libmpv nor libcurl is loaded at start"

kill -TERM "$tivora"
for _ in $(seq 100); do kill -0 "$tivora" 2>/dev/null || break; sleep 0.1; done
kill -0 "$tivora" 2>/dev/null && fail "still running 10 s after SIGTERM"
wait "$tivora"
status=$?
[ "$status" -eq 0 ] || fail "ended with status $status"
echo "PASS: ended at once with its loads outstanding"
