#!/bin/sh
# Reads quillet.dll, quillet-cli.exe and quillet.exe as Windows loads them: the library exports
# RemoveIntroAuto at ordinal 1 and AddIntroAuto at ordinal 2 under their undecorated names and
# nothing else, on 32-bit Windows each returns with the __stdcall removal of its arguments, and
# the files import from system DLLs (and quillet-cli.exe from quillet.dll) only. Each file's
# version record names it and its version, and each program's manifest has it run with the
# user's own rights, quillet.exe at the monitor's DPI, both in the UTF-8 code page.
# Usage: check_binaries.sh OBJDUMP VERSION quillet.dll quillet-cli.exe quillet.exe
set -eu
objdump=$1 version=$2 dll=$3 exe=$4 window=$5
failed=0

# expect WHAT EXPECTED ACTUAL
expect() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1: $3"
    else
        printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
        failed=1
    fi
}

# Words on one line, sorted.
sorted() {
    tr ' ' '\n' | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//'
}

# The DLLs that a file imports from, in lower case as the builds spell them differently, and the
# names it imports from one of them.
imported_dlls() {
    "$objdump" -p "$1" | awk '/\tDLL Name:/ { print tolower($3) }' | tr '\n' ' ' | sorted
}
imported_names() {
    "$objdump" -p "$1" | awk -v dll="$2" '
        /\tDLL Name:/ { inside = ($3 == dll); getline; next }
        inside && NF == 0 { inside = 0 }
        inside { print $3 }' | tr '\n' ' ' | sorted
}

# "ORDINAL NAME RVA" for each entry of the export table, by ordinal. An export without a name
# shows as one with an empty name.
exports=$("$objdump" -p "$dll" | awk '
    /^Ordinal Base/ { base = $3 }
    /\+base\[/ { gsub(/[][]/, " "); rva[$3] = $4 }
    /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
    names && NF == 0 { names = 0 }
    names { gsub(/[][]/, " "); name[$1 + base] = $2 }
    END { for (ordinal in rva) print ordinal, name[ordinal], rva[ordinal] }' | sort -n)
expect "quillet.dll exports" "1 RemoveIntroAuto 2 AddIntroAuto" \
    "$(echo "$exports" | awk '{ printf "%s%s %s", separator, $1, $2; separator = " " }')"

# The return instructions of the function that an export leads to: __stdcall pops the arguments.
image_base=$("$objdump" -p "$dll" | awk '/^ImageBase/ { print $2 }')
returns() {
    rva=$(echo "$exports" | awk -v name="$1" '$2 == name { print $3 }')
    [ -n "$rva" ] || return 0
    "$objdump" -d --start-address="$(printf '0x%x' $((0x$image_base + 0x$rva)))" "$dll" | awk '
        /^[0-9a-f]+ <.*>:$/ { if (seen++) exit; next }
        seen && NF == 0 { exit }
        seen { split($0, part, "\t"); if (part[3] ~ /^ret/) { gsub(/ +/, " ", part[3]); print part[3] } }' |
        sort -u | tr '\n' ';' | sed 's/;$//'
}
if "$objdump" -f "$dll" | grep -q 'file format pei-i386'; then
    expect "RemoveIntroAuto returns with" "ret \$0x10" "$(returns RemoveIntroAuto)"
    expect "AddIntroAuto returns with" "ret \$0xc" "$(returns AddIntroAuto)"
fi

# No MinGW runtime DLL (libgcc, libstdc++, libwinpthread) is needed beside the files.
expect "quillet.dll imports from" "kernel32.dll msvcrt.dll" "$(imported_dlls "$dll")"
# libgcrypt and libgpg-error, linked in, bring ADVAPI32, USER32 and WS2_32; XmlLite, loaded from
# the system's folder when a list is read, a stream from SHLWAPI.
expect "quillet-cli.exe imports from" "advapi32.dll kernel32.dll msvcrt.dll quillet.dll \
shlwapi.dll user32.dll ws2_32.dll" "$(imported_dlls "$exe")"
expect "quillet-cli.exe imports from quillet.dll" "AddIntroAuto RemoveIntroAuto" \
    "$(imported_names "$exe" quillet.dll)"
# The window program loads quillet.dll when it needs it, so it runs and tells why without it.
expect "quillet.exe imports from" "comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll \
user32.dll" "$(imported_dlls "$window")"
# The texts of a file's version record, each after its name.
record() {
    strings -el "$1" | grep -x -A1 --no-group-separator -e FileDescription -e FileVersion \
        -e InternalName -e OriginalFilename -e ProductName -e ProductVersion | tr '\n' ' ' |
        sed 's/ $//'
}
expect "quillet.exe's version record" "FileDescription Quillet FileVersion 1.00 InternalName \
quillet OriginalFilename quillet.exe ProductName quillet ProductVersion 1.00" "$(record "$window")"
for file in "$dll|Quillet library" "$exe|Quillet command-line program"; do
    name=$(basename "${file%|*}")
    expect "$name's version record" "FileDescription ${file#*|} FileVersion $version InternalName \
${name%.*} OriginalFilename $name ProductName quillet ProductVersion $version" "$(record "${file%|*}")"
done
# The settings that a program's manifest asks for.
settings() {
    grep -ao -e '<requestedExecutionLevel level="[^"]*"' \
        -e '<[A-Za-z]* xmlns="http://schemas.microsoft.com/SMI/[^>]*>[^<]*' "$1" |
        sed 's/^<\([A-Za-z]*\) [a-z]*="\([^"]*\)"$/\1 \2/; s/^<\([A-Za-z]*\) .*>/\1 /' |
        tr '\n' ';' | sed 's/;$//'
}
expect "quillet.exe's manifest asks for" "requestedExecutionLevel asInvoker;\
dpiAware true/pm;dpiAwareness PerMonitorV2, PerMonitor;activeCodePage UTF-8" "$(settings "$window")"
expect "quillet-cli.exe's manifest asks for" "requestedExecutionLevel asInvoker;activeCodePage UTF-8" \
    "$(settings "$exe")"
exit $failed
