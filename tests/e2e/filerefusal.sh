#!/usr/bin/env bash
# A FILE that cannot be played, given on the command line with a screen there (opened from a file
# manager, say), is also told in a message box; the program ends with status 2 once it is
# answered, as in a terminal. SHOTS=folder keeps a picture of each box.
set -u
program=$1
source "$(dirname "$0")/userhome.sh"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check() {  # name file expected-line
    local name=$1 file=$2 line=$3
    "$program" --new-instance "$file" >"$work/out" 2>"$work/err" &
    local pid=$! box=
    for _ in $(seq 200); do
        box=$(xdotool search --onlyvisible --pid "$pid" --name '^Tivora$' 2>/dev/null | head -1)
        [ -n "$box" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$box" ]; then
        fail "$name: no message box"
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        return
    fi
    [ -n "${SHOTS:-}" ] && sleep 0.5 && import -window "$box" "$SHOTS/refusal-$name.png"
    kill -0 "$pid" 2>/dev/null || fail "$name: ended before the box was answered"
    xdotool windowfocus --sync "$box" key Return
    local status=
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && { fail "$name: still running after the answer"; kill -KILL "$pid"; }
    wait "$pid"
    status=$?
    [ "$status" -eq 2 ] || fail "$name: ended with status $status, not 2"
    grep -qF -- "$line" "$work/err" || fail "$name: no '$line' on stderr"
    echo "PASS: $name: a message box, then status $status"
}

check missing "$work/no such film.rmvb" "no such file:"
mkdir "$work/a folder"
check folder "$work/a folder" "cannot read file:"

# Without a screen only the terminal hears of it.
output=$(env -u DISPLAY QT_QPA_PLATFORM= timeout 20 "$program" --new-instance "$work/none.rm" 2>&1)
status=$?
[ "$status" -eq 2 ] && grep -qF "no such file:" <<<"$output" &&
    echo "PASS: without a screen: the message and status 2" ||
    fail "without a screen: status $status, '$output'"

[ "$failures" -eq 0 ]
