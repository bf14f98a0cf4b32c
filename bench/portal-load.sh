#!/usr/bin/env bash
# Load on the demo portal program: CONNECTIONS keep-alive connections (default 50) for SECONDS
# (default 30), each a visitor going round the film list, a search, adding a favourite and listing
# the favourites (bench/portal/load.py). Prints requests/s, p50, p99 and the errors, and checks
# that every favourite added is listed afterwards; then holds 1,000 idle connections open and
# prints the portal's threads and memory (bench/portal/idle.py). Needs python3 and a built
# tivora-portal (scripts/run.sh builds it).
#
#   bench/portal-load.sh [CONNECTIONS] [SECONDS] [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."

connections=${1:-50}
seconds=${2:-30}
portal=$(realpath -m "${3:-build/release}")/bin/tivora-portal
[ -x "$portal" ] || { echo "bench: no $portal; build it first" >&2; exit 2; }
command -v python3 >/dev/null || { echo "bench: python3 is needed" >&2; exit 2; }

work=$(mktemp -d)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$portal" --port "$port" --db "$work/portal.sqlite" >"$work/portal.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
  sleep 0.1
done
status=0
python3 bench/portal/load.py "$port" "$connections" "$seconds" || status=$?
python3 bench/portal/idle.py "$port" "$pid" 1000
exit "$status"
