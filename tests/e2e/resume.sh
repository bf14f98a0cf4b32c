#!/usr/bin/env bash
# A position left in one run of the program is where the next run resumes: `tivora FILE` is played,
# the process is asked to terminate, and a second process must carry on past the first one's point.
set -u
program=$1
source "$(dirname "$0")/userhome.sh"
trap 'rm -rf "$work"' EXIT
film=$work/film.mp4
make_film "$film"

play_for() {  # seconds; prints the exit status after the terminate request
    # On its own, so that a Tivora already running for this user does not take the film.
    "$program" --new-instance "$film" >"$work/run.log" 2>&1 &
    local pid=$!
    sleep "$1"
    kill -TERM "$pid"
    wait "$pid"
    echo $?
}

status=$(play_for 8)
first=$(position "$film")
if [ "$status" -ne 0 ] || [ -z "$first" ] || ! awk -v p="$first" 'BEGIN { exit !(p >= 3) }'; then
    echo "FAIL: first run: status $status, position '${first}'"
    cat "$work/run.log" "$store" 2>/dev/null | head -20
    exit 1
fi
echo "PASS: first run left the film at ${first} s"

status=$(play_for 6)
second=$(position "$film")
if [ "$status" -ne 0 ] || [ -z "$second" ] ||
    ! awk -v a="$first" -v b="$second" 'BEGIN { exit !(b > a + 1) }'; then
    echo "FAIL: second run: status $status, position '${second}' after ${first} s"
    cat "$work/run.log" "$store" 2>/dev/null | head -20
    exit 1
fi
echo "PASS: second run resumed and left the film at ${second} s"
