#!/bin/sh
# Opens the window program from a build folder, or says why it cannot.
set -eu
build_dir=$1
program="$build_dir/bin/quillet"
if [ ! -x "$program" ]; then
    echo "The window program is not built yet: everything else is built in $build_dir."
    exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open." >&2
    echo "Run this from a desktop session, or use quillet-cli." >&2
    exit 1
fi
exec "$program"
