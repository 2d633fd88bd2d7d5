#!/bin/sh
# The Windows build under Wine, in the Wine prefix named by WINEPREFIX.
#   start                    starts one Wine server and Wine's own services for all the tests,
#                            creating the prefix on first use
#   dll PROGRAM              runs the library's test program on the worked examples and on
#                            refusals, in a new folder
#   installer INSTALLER      installs silently for this user, runs the installed quillet-cli.exe,
#                            and uninstalls silently, which must leave nothing behind
#   stop                     ends the server and everything that runs in it
set -eu
case $1 in
start)
    # Wine's own programs in a new prefix are 64-bit: its 64-bit loader starts them directly.
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
    mkdir -p "$WINEPREFIX"
    # The server and Wine's services outlive this command: they must not hold its output, which
    # the test runner waits on.
    # Without a window manager, Wine waits at every hidden window unless it manages them itself;
    # a crash must end the program rather than wait on a dialog.
    if ! { wineserver -p && "$wine64" wineboot -i &&
        "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        "$wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    } >wine-start.log 2>&1 </dev/null; then
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
installer)
    wine64=/usr/lib/wine/wine64
    user="$WINEPREFIX/drive_c/users/$(id -un)/AppData"
    programs="$user/Local/Programs/Quillet" shortcut="$user/Roaming/Microsoft/Windows/Start Menu/Programs/Quillet.lnk"
    key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'
    rm -rf installer_test && mkdir installer_test && cd installer_test
    "$wine64" "$2" /S
    test -f "$shortcut"
    "$wine64" reg query "$key" /v QuietUninstallString
    # An entry branch that jumps to offset 256, where an 8-byte intro begins.
    { printf '\076\000\000\352'; head -c 252 /dev/zero; printf 'INTRO!!!'; } >game.gba
    "$wine64" "$programs/quillet-cli.exe" remove --cut game.gba
    test "$(wc -c <game-p.gba)" -eq 256
    # The uninstaller goes on in a copy of itself, and is done when the folder is gone.
    "$wine64" "$programs/Uninstall.exe" /S
    for _ in $(seq 100); do [ -e "$programs" ] && sleep 0.1; done
    test ! -e "$programs" && test ! -e "$shortcut" && ! "$wine64" reg query "$key" 2>/dev/null
    ;;
stop)
    wineserver -k
    ;;
esac
