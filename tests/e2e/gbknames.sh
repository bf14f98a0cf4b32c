#!/usr/bin/env bash
# File names that are not UTF-8 (GBK, as discs and archives made on Chinese Windows bring them)
# play from the command line and through a hand-over; a start whose hand-over the running program
# does not take (it hangs) says so and plays its film itself.
set -u
program=$1
source "$(dirname "$0")/userhome.sh"
pids=()
trap 'kill -CONT "${pids[@]}" 2>/dev/null; kill -KILL "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
endpoint=$XDG_RUNTIME_DIR/tivora

fail() {
    echo "FAIL: $*"
    cat "$work"/*.log "$store" 2>/dev/null | head -30
    exit 1
}

# 第一集, 第二集, 第三集 in GBK; the store keeps them as the names they read as.
first=$work/$'\xb5\xda\xd2\xbb\xbc\xaf'.mp4
second=$work/$'\xb5\xda\xb6\xfe\xbc\xaf'.mp4
third=$work/$'\xb5\xda\xc8\xfd\xbc\xaf'.mp4
for film in "$first" "$second" "$third"; do make_film "$film"; done

played_at_least() {  # readable path, seconds
    local at
    at=$(position "$1")
    [ -n "$at" ] && awk -v p="$at" -v least="$2" 'BEGIN { exit !(p >= least) }'
}

listening() {
    python3 -c 'import socket,sys; s=socket.socket(socket.AF_UNIX); s.connect(sys.argv[1])' \
        "$endpoint" 2>/dev/null
}

wait_listening() {  # pid
    for _ in $(seq 100); do
        listening && return 0
        kill -0 "$1" 2>/dev/null || fail "the program ended"
        sleep 0.3
    done
    fail "the program does not listen at $endpoint"
}

# From the command line, by a name relative to a folder.
(cd "$work" && exec "$program" --new-instance "$(basename "$first")") >"$work/cli.log" 2>&1 &
pid=$!
pids+=("$pid")
sleep 12
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "command line: status $status"
played_at_least "$work/第一集.mp4" 3 || fail "the GBK-named film did not play from the command line"
echo "PASS: a GBK-named film played from the command line to $(position "$work/第一集.mp4") s"

# Handed over to the running program.
"$program" >"$work/running.log" 2>&1 &
running=$!
pids+=("$running")
wait_listening "$running"
start=$(date +%s%N)
timeout 20 "$program" "$second" >"$work/handover.log" 2>&1
status=$?
took=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 0 ] || fail "hand-over: status $status"
[ "$took" -lt 3000 ] || fail "hand-over took $took ms"
sleep 9

# A running program that hangs: the new start waits for its answer, then plays the film itself.
kill -STOP "$running"
start=$(date +%s%N)
"$program" "$third" >"$work/hung.log" 2>&1 &
alone=$!
pids+=("$alone")
for _ in $(seq 50); do
    grep -q "did not take the request" "$work/hung.log" && break
    kill -0 "$alone" 2>/dev/null || fail "the start beside a hung program ended"
    sleep 0.2
done
took=$((($(date +%s%N) - start) / 1000000))
grep -q "tivora.app: the running Tivora .* did not take the request within 3 s" "$work/hung.log" ||
    fail "no word of the unanswered hand-over"
[ "$took" -lt 6000 ] || fail "the unanswered hand-over took $took ms"
sleep 10
kill -TERM "$alone"
wait "$alone"
status=$?
[ "$status" -eq 0 ] || fail "start beside a hung program: status $status"
played_at_least "$work/第三集.mp4" 3 || fail "the start beside a hung program did not play its film"
echo "PASS: beside a hung program, the start said so after $took ms and played its film"

kill -CONT "$running"
for _ in $(seq 50); do
    grep -q "came too late" "$work/running.log" && break
    sleep 0.1
done
kill -TERM "$running"
wait "$running"
played_at_least "$work/第二集.mp4" 3 || fail "the handed-over GBK-named film did not play"
grep -q "ignored a request from another start: it came too late" "$work/running.log" ||
    fail "the program that hung took the request its start had given up on"
echo "PASS: a GBK-named film handed over played to $(position "$work/第二集.mp4") s"
