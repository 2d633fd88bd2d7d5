#!/bin/sh
# Fuzzes each target of a fuzz build from its seed corpus: for a fixed number of runs, about a
# minute each on a small machine, or for SECONDS seconds each when given.
# Usage: scripts/fuzz.sh BUILD_FOLDER [SECONDS]
set -eu
build=$1
seconds=${2:-}
# The library target writes its files in a scratch folder; in memory they cost no disk syncs.
if [ -d /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
for target in engine library fill_number lists; do
    case $seconds:$target in
    :engine) limit=-runs=5000000 ;;
    :library) limit=-runs=1000 ;;
    :fill_number) limit=-runs=300000 ;;
    :lists) limit=-runs=300000 ;;
    *) limit=-max_total_time=$seconds ;;
    esac
    # New inputs go to a folder of their own, not into the committed corpus.
    found=$(mktemp -d)
    "$build/tests/fuzz/${target}_fuzz" "$limit" -max_len=4096 -print_final_stats=1 \
        "$found" "tests/fuzz/$target"
    rm -rf "$found"
done
