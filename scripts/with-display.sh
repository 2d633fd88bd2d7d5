#!/bin/sh
# Runs a command on a virtual X display of its own (Xvfb) and returns its status once the display
# has ended too: xvfb-run stops its server without waiting for it, so that the server outlived the
# tests it served.
set -u
folder=$(mktemp -d) || exit 1
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$folder/display" 2>"$folder/log" &
server=$!
stop() {
    kill "$server" 2>/dev/null
    wait "$server"
    rm -rf "$folder"
}
trap 'stop; exit 130' INT HUP TERM
until [ -s "$folder/display" ]; do
    if ! kill -0 "$server" 2>/dev/null; then
        echo "Xvfb could not open a display:" >&2
        cat "$folder/log" >&2
        stop
        exit 1
    fi
    sleep 0.1
done
DISPLAY=:$(cat "$folder/display") "$@"
status=$?
stop
exit "$status"
