#!/bin/sh
# Checks the Debian package that `make package` built: it holds exactly the files of an
# installation, all under /usr and nothing from the build tree; its metadata and manual pages
# pass their validators; its quillet-cli runs from an unpacked copy with the library beside it;
# and lintian finds no error in it (warnings are printed, not fatal).
set -eu
cd "$(dirname "$0")/.."

set -- build/package/quillet_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "check-package: expected one build/package/quillet_*.deb, found: $*" >&2
    echo "Remove any old one and run 'make package'." >&2
    exit 1
fi
package=$1
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)

expected="./usr/bin/quillet
./usr/bin/quillet-cli
./usr/include/quillet.h
./usr/lib/$multiarch/libquillet.so
./usr/share/applications/quillet.desktop
./usr/share/doc/quillet/changelog.Debian.gz
./usr/share/doc/quillet/copyright
./usr/share/icons/hicolor/16x16/apps/quillet.png
./usr/share/icons/hicolor/32x32/apps/quillet.png
./usr/share/icons/hicolor/scalable/apps/quillet.svg
./usr/share/man/man1/quillet-cli.1.gz
./usr/share/man/man1/quillet.1.gz
./usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml"

echo "Contents of $package:"
dpkg-deb --contents "$package"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Every entry but the folders must be one of the expected files: this keeps out build paths,
# static libraries and test programs alike.
dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '/$' | LC_ALL=C sort > "$scratch/files"
echo "$expected" | LC_ALL=C sort > "$scratch/expected"
if ! diff -u "$scratch/expected" "$scratch/files"; then
    echo "check-package: the package's files differ from the expected ones (- missing, + extra)" >&2
    exit 1
fi
if dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '^\./$' | grep -v '^\./usr/'; then
    echo "check-package: the entries above are outside /usr" >&2
    exit 1
fi

root="$scratch/root"
dpkg-deb --extract "$package" "$root"
if grep -rlF "$PWD" "$root"; then
    echo "check-package: the files above name the build folder $PWD" >&2
    exit 1
fi
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml"
desktop-file-validate "$root/usr/share/applications/quillet.desktop"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(gzip -dc "$page" | groff -ww -man -z 2>&1)
    if [ -n "$warnings" ]; then
        printf 'check-package: %s:\n%s\n' "$page" "$warnings" >&2
        exit 1
    fi
done

# The unpacked quillet-cli must take the unpacked library, through its run path, and work.
cli="$root/usr/bin/quillet-cli"
if ! ldd "$cli" | grep -qF "libquillet.so => $root/"; then
    echo "check-package: the unpacked quillet-cli does not load the unpacked library:" >&2
    ldd "$cli" >&2
    exit 1
fi
version=$("$cli" --version)
if [ "$version" != "quillet-cli 1.00" ]; then
    echo "check-package: quillet-cli --version printed '$version', not 'quillet-cli 1.00'" >&2
    exit 1
fi
# An image whose entry branch jumps to offset 0x100, where an 8-byte intro begins: cut off,
# it keeps its first 256 bytes with the standard entry branch.
printf '\076\000\000\352' > "$scratch/game.gba"
head -c 252 /dev/zero >> "$scratch/game.gba"
printf 'INTRO!!!' >> "$scratch/game.gba"
"$cli" --quiet remove --cut -o "$scratch/cut.gba" "$scratch/game.gba"
if [ "$(wc -c < "$scratch/cut.gba")" -ne 256 ] ||
    [ "$(od -An -tx1 -N4 "$scratch/cut.gba" | tr -d ' ')" != "2e0000ea" ]; then
    echo "check-package: the unpacked quillet-cli did not cut the intro off as expected" >&2
    exit 1
fi

lintian --fail-on error --display-info "$package"
echo "check-package: $package is fine"
