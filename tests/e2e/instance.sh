#!/usr/bin/env bash
# One running program per user: a socket left by a crashed run is taken over, a later start hands
# its film to the running program and ends at once, and messages that are not a start's are
# ignored without harm. The user is this script's own runtime folder, so parallel tests and a
# Tivora the developer runs stay apart.
set -u
program=$1
source "$(dirname "$0")/userhome.sh"
pids=()
trap 'kill -KILL "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
endpoint=$XDG_RUNTIME_DIR/tivora
film=$work/film.mp4
decoy=$work/decoy.mp4

make_film "$film"
make_film "$decoy"

fail() {
    echo "FAIL: $*"
    cat "$work"/*.log "$store" 2>/dev/null | head -30
    exit 1
}

socket() {  # stale | probe | send FILE | hold SECONDS: what a stranger does at the endpoint
    python3 - "$endpoint" "$@" <<'PY'
import socket, sys, time
path, what = sys.argv[1], sys.argv[2]
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
if what == "stale":  # a socket file nobody listens on, as a killed run leaves it
    s.bind(path)
    sys.exit(0)
try:
    s.connect(path)
except OSError:
    sys.exit(1)
if what == "send":
    s.sendall(open(sys.argv[3], "rb").read())
elif what == "hold":  # half a message, then silence
    s.sendall(b'{"tivora":1,"open":')
    time.sleep(float(sys.argv[3]))
PY
}


# A crashed run's socket file does not stop the next start from becoming the running program.
socket stale && [ -S "$endpoint" ] || fail "no stale socket file"
"$program" >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
for _ in $(seq 100); do
    socket probe && break
    kill -0 "$first" 2>/dev/null || fail "first start ended"
    sleep 0.3
done
socket probe || fail "first start does not listen at $endpoint"
echo "PASS: a stale socket file was taken over"

socket hold 5 &
holder=$!
pids+=("$holder")

# A later start, while a stranger holds a connection open, hands its film over and ends.
start=$(date +%s%N)
(cd "$work" && timeout 20 "$program" film.mp4 >"$work/second.log" 2>&1)
status=$?
took=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 0 ] || fail "second start: status $status"
[ "$took" -lt 5000 ] || fail "second start took $took ms"
echo "PASS: a second start handed its film over and ended in $took ms"

# Messages that are not a start's request: each ignored, the film goes on, the decoy never plays.
sleep 1
printf 'garbage\n\001\377' >"$work/garbage.msg"
head -c 100000 /dev/zero >"$work/long.msg"
printf '{"tivora":2,"open":"%s"}' "$decoy" >"$work/version.msg"
printf '{"tivora":1,"open":"decoy.mp4"}' >"$work/relative.msg"
for message in garbage long version relative; do
    socket send "$work/$message.msg"
done
sleep 7
wait "$holder"
kill -0 "$first" 2>/dev/null || fail "the running program ended"
kill -TERM "$first"
wait "$first"
status=$?
played=$(position "$film")
[ "$status" -eq 0 ] || fail "running program: status $status after the terminate request"
[ -n "$played" ] || fail "the running program did not play the handed-over film"
[ -z "$(position "$decoy")" ] || fail "a message that was no start's request played the decoy"
[ ! -e "$endpoint" ] || fail "the socket outlived the program"
for why in "not a Tivora message" "message too long" "unknown message version" \
    "not an absolute path" "timed out"; do
    grep -q "tivora.app: ignored a message from another start: .*$why" "$work/first.log" ||
        fail "no warning for a message: $why"
done
echo "PASS: the running program played the film to ${played} s and ignored the strangers"
