#!/bin/sh
# Opens the window program of a build folder, or says plainly why it cannot.
set -eu
program="$1/bin/quillet"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open." >&2
    echo "Run this from a desktop session, or use $1/bin/quillet-cli." >&2
    exit 1
fi
exec "$program"
