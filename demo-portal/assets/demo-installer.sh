#!/bin/sh
# Tivora demo installer: installs nothing, only leaves a note beside itself to show it ran.
here=$(dirname "$0")
printf 'Tivora demo installer ran at %s\n' "$(date '+%Y-%m-%d %H:%M:%S')" > "$here/tivora-installer-ran.txt"
exit 0
