#!/usr/bin/env bash
# The program's command line: help and version succeed, bad values fail with status 2 and a
# message, all without needing a display.
set -u
program=$1
failures=0
checks=0

check() {  # expected-status expected-text args...
    local want_status=$1 want_text=$2
    shift 2
    checks=$((checks + 1))
    local output status
    output=$(env -u DISPLAY QT_QPA_PLATFORM= "$program" "$@" 2>&1)
    status=$?
    if [ "$status" -ne "$want_status" ] || ! grep -qF -- "$want_text" <<<"$output"; then
        echo "FAIL: tivora $* -> status $status (want $want_status), output:"
        echo "$output" | head -5
        failures=$((failures + 1))
    else
        echo "PASS: tivora $*"
    fi
}

check 0 "--portal-root" --help
check 0 "Usage: tivora [options]" --help
check 0 "--new-instance" --help
check 0 "Tivora 1.0" --new-instance --version
check 0 "Tivora 1.0" --version
check 2 "not an absolute http(s) address" --portal-root ftp://vod.example.com
check 2 "not an absolute http(s) address" --portal-root vod.example.com
check 2 "not an absolute http(s) address" --site-root "http://"
check 2 "Missing value" --portal-root
check 2 "Unknown option" --frobnicate
check 2 "unexpected argument" http://vod.example.com
check 2 "unexpected argument" --new-instance http://vod.example.com

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
