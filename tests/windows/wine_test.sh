#!/bin/sh
# The Windows build under Wine, in the Wine prefix named by WINEPREFIX.
#   start                    starts one Wine server and Wine's own services for all the tests,
#                            creating the prefix on first use
#   dll PROGRAM              runs the library's test program in a new folder
#   cli LINUX_CLI CLI_EXE    quillet-cli.exe must write the same bytes and print the same lines
#                            as the Linux build's quillet-cli
#   stop                     ends the server and everything that runs in it
set -eu
case $1 in
start)
    # Wine's own programs in a new prefix are 64-bit: its 64-bit loader starts them directly.
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
    mkdir -p "$WINEPREFIX"
    # The server and Wine's services outlive this command: they must not hold its output, which
    # the test runner waits on.
    if ! { wineserver -p && "$wine64" wineboot -i; } >wine-start.log 2>&1 </dev/null; then
        cat wine-start.log >&2
        exit 1
    fi
    ;;
dll)
    rm -rf dll_test && mkdir dll_test && cd dll_test
    wine "$2"
    ;;
cli)
    linux_cli=$2 cli_exe=$3
    if [ ! -x "$linux_cli" ]; then
        echo "$linux_cli is missing: build the default preset first (make build)" >&2
        exit 1
    fi
    rm -rf cli_test && mkdir -p cli_test/linux cli_test/windows && cd cli_test
    # A game of odd size and an intro, deterministic bytes, joined by the Linux build.
    seq 1 300000 | head -c 1000001 >game.gba
    seq 7 7 100000 | head -c 32768 >intro.gba
    "$linux_cli" add game.gba intro.gba -o image.gba >/dev/null
    cp image.gba linux/ && cp image.gba windows/
    (cd linux && "$linux_cli" remove image.gba && "$linux_cli" info image.gba image-p.gba) >linux.txt
    # quillet-cli.exe runs from another folder than its own, so it finds quillet.dll beside it.
    (cd windows && wine "$cli_exe" remove image.gba && wine "$cli_exe" info image.gba image-p.gba) \
        >windows.crlf
    tr -d '\r' <windows.crlf >windows.txt
    cmp linux/image-p.gba windows/image-p.gba
    diff linux.txt windows.txt
    cat windows.txt
    ;;
stop)
    wineserver -k
    ;;
esac
