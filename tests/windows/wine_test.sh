#!/bin/sh
# The Windows build under Wine, in the Wine prefix named by WINEPREFIX.
#   start                    starts one Wine server and Wine's own services for all the tests,
#                            creating the prefix on first use
#   dll PROGRAM              runs the library's test program on the worked examples and on
#                            refusals, in a new folder
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
    rm -rf dll_test && mkdir -p dll_test/sub && cd dll_test
    # A 4 MiB game with the standard entry branch, a 32 KiB intro, and the game with the intro
    # behind it, its entry branch jumping to 4,194,304: what insertion must make of the two.
    { printf '\056\000\000\352'; seq 1 1000000 | head -c 4194300; } >game.gba
    seq 7 7 1000000 | head -c 32768 >intro.gba
    { printf '\376\377\017\352'; tail -c +5 game.gba; tail -c +193 intro.gba
      printf '\000\056\000\000\352\000\000\000'; } >image.gba
    { cat game.gba; head -c 32584 /dev/zero | tr '\000' '\377'; } >filled.expected
    cp image.gba sub/image.gba && cp image.gba same.gba && printf keep >readonly.gba
    chmod a-w readonly.gba  # which Wine shows as the read-only attribute
    wine "$2" remove image.gba cut.gba 0 remove image.gba filled.gba 1 \
        remove '.\sub\image.gba' 'sub\filled.gba' 1 remove same.gba same.gba 1 \
        remove missing.gba out.gba 1 remove image.gba 'no folder\out.gba' 1 \
        remove image.gba readonly.gba 1 add game.gba intro.gba added.gba \
        remove - out.gba 1 remove image.gba - 1 add - intro.gba out.gba add game.gba - out.gba \
        add game.gba intro.gba - | tr -d '\r' >statuses
    cat statuses
    printf '%s\n' 'remove image.gba cut.gba 0: 0' 'remove image.gba filled.gba 1: 0' \
        'remove .\sub\image.gba sub\filled.gba 1: 0' 'remove same.gba same.gba 1: 0' \
        'remove missing.gba out.gba 1: 1' 'remove image.gba no folder\out.gba 1: 2' \
        'remove image.gba readonly.gba 1: 2' 'add game.gba intro.gba added.gba: 0' \
        'remove - out.gba 1: 1' 'remove image.gba - 1: 2' 'add - intro.gba out.gba: 1' \
        'add game.gba - out.gba: 1' 'add game.gba intro.gba -: 2' |
        diff - statuses
    # Each check on a line of its own, so that set -e ends the test at the first that fails.
    cmp cut.gba game.gba
    cmp filled.gba filled.expected
    cmp sub/filled.gba filled.expected
    cmp same.gba filled.expected
    cmp added.gba image.gba
    test "$(cat readonly.gba)" = keep
    # No output where a call failed, and no temporary file anywhere.
    test ! -e out.gba
    test ! -e 'no folder'
    test -z "$(find . -name '.quillet-*')"
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
