#!/bin/sh
# The Windows build under Wine, in the Wine prefix named by WINEPREFIX.
#   start                    starts one Wine server and Wine's own services for all the tests,
#                            creating the prefix on first use
#   program CLI_EXE          runs quillet-cli.exe and the library on a removal, and on a device
#   installer INSTALLER      installs silently for this user, with the folder on the user's PATH,
#                            runs the installed quillet-cli.exe, and uninstalls silently, which
#                            must leave nothing behind and the PATH as it was, of its type; then
#                            installs into two other folders in turn
#   stop                     ends the server and everything that runs in it
set -eu

# In a new folder of the name given, the command that follows, a quillet-cli.exe, cuts an 8-byte
# intro off an image whose entry branch jumps to offset 256.
cuts_intro() {
    rm -rf "$1" && mkdir "$1" && cd "$1" && shift
    { printf '\076\000\000\352'; head -c 252 /dev/zero; printf 'INTRO!!!'; } >game.gba
    "$@" -q remove --cut game.gba
    { printf '\056\000\000\352'; head -c 252 /dev/zero; } | cmp - game-p.gba
}

case $1 in
start)
    # Wine's own programs in a new prefix are 64-bit: its 64-bit loader starts them directly.
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
    mkdir -p "$WINEPREFIX"
    # The server and Wine's services outlive this command: they must not hold its output, which
    # the test runner waits on.
    # Without a window manager, Wine waits at every hidden window unless it manages them itself;
    # a crash must end the program rather than wait on a dialog; the screen has 96 dpi.
    # A server that an earlier run left running serves as well.
    if ! { { wineserver -p 2>/dev/null || true; } && "$wine64" wineboot -i &&
        "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        "$wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
        "$wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f
    } >wine-start.log 2>&1 </dev/null; then
        cat wine-start.log >&2
        exit 1
    fi
    ;;
program)
    # quillet-cli.exe with the library that it imports, which refuses a device and leaves no
    # hidden new file behind.
    cuts_intro program_test wine "$2"
    test "$(wine "$2" -q remove -o NUL game.gba 2>/dev/null || echo $?)" = 2
    test "$(ls -A)" = "$(ls)"
    ;;
installer)
    wine64=/usr/lib/wine/wine64
    user="$WINEPREFIX/drive_c/users/$(id -un)/AppData"
    programs="$user/Local/Programs/Quillet" shortcut="$user/Roaming/Microsoft/Windows/Start Menu/Programs/Quillet.lnk"
    key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'
    # The user's PATH, its type and value as reg shows them.
    path() { "$wine64" reg query 'HKCU\Environment' /v Path | tr -d '\r' | sed -n 's/^ *Path *//p'; }
    # The uninstaller in the folder $1 goes on in a copy of itself, and is done when the folder is
    # gone.
    uninstall() {
        "$wine64" "$1/Uninstall.exe" /S
        for _ in $(seq 100); do [ -e "$1" ] && sleep 0.1; done
        test ! -e "$1"
    }
    # The installation that a failed run may have left, where the installer would go again.
    "$wine64" reg delete "$key" /f 2>/dev/null || :
    # The folder is added at the end of the PATH and taken off again, leaving the other entries
    # and the PATH's type as they were.
    "$wine64" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\bin;C:\x' /f
    "$wine64" "$2" /S
    test -f "$shortcut"
    for value in QuietUninstallString EstimatedSize; do "$wine64" reg query "$key" /v $value; done
    test "$(path)" = "REG_EXPAND_SZ    C:\\bin;C:\\x;C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quillet"
    cuts_intro installer_test "$wine64" "$programs/quillet-cli.exe"
    uninstall "$programs"
    test ! -e "$shortcut"
    test "$("$wine64" reg query "$key" >/dev/null 2>&1 || echo $?)" = 1
    test "$(path)" = 'REG_EXPAND_SZ    C:\bin;C:\x'
    # In a PATH of plain text, whose %X% names no variable: installed again without a folder,
    # it goes where it went; installed elsewhere, it takes its entry off; a folder that was on
    # the PATH before stays on it.
    "$wine64" reg add 'HKCU\Environment' /v Path /t REG_SZ /d 'C:\q;%X%' /f
    "$wine64" "$2" /S '/D=C:\q2'
    "$wine64" "$2" /S
    test "$(path)" = 'REG_SZ    C:\q;%X%;C:\q2'
    "$wine64" "$2" /S '/D=C:\q'
    uninstall "$WINEPREFIX/drive_c/q"
    test "$(path)" = 'REG_SZ    C:\q;%X%'
    rm -r "$WINEPREFIX/drive_c/q2"
    "$wine64" reg delete 'HKCU\Environment' /v Path /f
    ;;
stop)
    wineserver -k && wineserver -w
    # Debian's Wine keeps the server's socket in a folder of its own in the temporary folder,
    # named in the prefix, and leaves the folder behind.
    folder=$(cat "$WINEPREFIX/wineserver" 2>/dev/null || true)
    [ -z "$folder" ] || rm -rf "${TMPDIR:-/tmp}/$folder"
    ;;
esac
