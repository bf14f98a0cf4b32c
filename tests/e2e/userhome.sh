# Sourced by the process-level tests: a user of their own (home, data, settings and runtime
# folders under $work), a generated film and a reading of the user's resume store.
work=$(mktemp -d)
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No session bus: without an address libdbus would autolaunch one through dbus-launch, which can
# hang the program's first accessibility query for good. The screen-saver inhibitor does without.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
store=$XDG_DATA_HOME/Tivora/Tivora/resume.json

make_film() {  # file: a 60 s test film
    ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=60 \
        -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$1" || { echo "FAIL: no test film"; exit 1; }
}

position() {  # file: the position the store holds for it, or nothing
    [ -f "$store" ] || return 0
    tr -d ' \n' <"$store" | grep -o "\"path\":\"$1\",\"position\":[0-9.]*" | sed 's/.*://'
}
