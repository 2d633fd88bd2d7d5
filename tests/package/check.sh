#!/bin/sh
# Checks the Debian packages that `make package` built, quillet, libquillet1 and libquillet-dev:
# they hold exactly the files of an installation, all under /usr and nothing from the build tree;
# the metadata and manual pages pass their validators; unpacked together, quillet-cli runs with
# the library, and C callers built with pkg-config and with CMake's find_package work; lintian
# finds no error and nothing amiss with the library's versioning (other warnings are printed).
set -eu
cd "$(dirname "$0")/../.."

found=$(find build/package -maxdepth 1 -name '*.deb' 2>/dev/null | LC_ALL=C sort)
names=$(echo "$found" | sed 's|.*/||; s|_.*||' | tr '\n' ' ')
if [ "$names" != "libquillet-dev libquillet1 quillet " ]; then
    echo "package check: expected one .deb each of quillet, libquillet1 and libquillet-dev in" >&2
    echo "build/package, found: $(echo $found)" >&2
    echo "Remove any old ones (rm build/package/*.deb) and run 'make package'." >&2
    exit 1
fi
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)
lib=usr/lib/$multiarch

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"

# Every entry of the named package but the folders must be one of the files given after its name
# or its own copyright and changelog: this keeps out build paths, static libraries and test
# programs alike. All three are unpacked into one root, as they are installed together.
check_files() {
    package=$(echo build/package/"$1"_*.deb)
    doc=usr/share/doc/$1
    shift
    echo "Contents of $package:"
    dpkg-deb --contents "$package"
    printf './%s\n' "$@" "$doc/changelog.Debian.gz" "$doc/copyright" | LC_ALL=C sort \
        > "$scratch/expected"
    dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '/$' | LC_ALL=C sort > "$scratch/files"
    if ! diff -u "$scratch/expected" "$scratch/files"; then
        echo "package check: $package's files differ from those expected (- missing, + extra)" >&2
        exit 1
    fi
    if dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '^\./$' | grep -v '^\./usr/'; then
        echo "package check: the entries above of $package are outside /usr" >&2
        exit 1
    fi
    dpkg-deb --extract "$package" "$root"
}
check_files quillet usr/bin/quillet usr/bin/quillet-cli usr/share/applications/quillet.desktop \
    usr/share/icons/hicolor/16x16/apps/quillet.png usr/share/icons/hicolor/32x32/apps/quillet.png \
    usr/share/icons/hicolor/scalable/apps/quillet.svg usr/share/man/man1/quillet-cli.1.gz \
    usr/share/man/man1/quillet.1.gz usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml \
    usr/share/quillet/quillet.html
check_files libquillet1 "$lib/libquillet.so.1" "$lib/libquillet.so.1.0.0"
check_files libquillet-dev usr/include/quillet.h "$lib/libquillet.so" "$lib/pkgconfig/quillet.pc" \
    "$lib/cmake/quillet/quilletConfig.cmake" "$lib/cmake/quillet/quilletConfigVersion.cmake" \
    "$lib/cmake/quillet/quilletTargets.cmake" "$lib/cmake/quillet/quilletTargets-release.cmake"

if grep -rlF "$PWD" "$root"; then
    echo "package check: the files above name the build folder $PWD" >&2
    exit 1
fi
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.quillet.Quillet.metainfo.xml"
desktop-file-validate "$root/usr/share/applications/quillet.desktop"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(gzip -dc "$page" | groff -ww -man -z 2>&1)
    if [ -n "$warnings" ]; then
        printf 'package check: %s:\n%s\n' "$page" "$warnings" >&2
        exit 1
    fi
done

# The unpacked quillet-cli must take the unpacked library, through its run path, and work.
cli="$root/usr/bin/quillet-cli"
if ! ldd "$cli" | grep -qF "libquillet.so.1 => $root/"; then
    echo "package check: the unpacked quillet-cli does not load the unpacked library:" >&2
    ldd "$cli" >&2
    exit 1
fi
version=$("$cli" --version)
if [ "$version" != "quillet-cli 1.00" ]; then
    echo "package check: quillet-cli --version printed '$version', not 'quillet-cli 1.00'" >&2
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
    echo "package check: the unpacked quillet-cli did not cut the intro off as expected" >&2
    exit 1
fi

# A C caller built against the unpacked development files, once with pkg-config and once with
# find_package, must cut the same image the same way.
mkdir "$scratch/caller"
cat > "$scratch/caller/caller.c" <<'EOF'
#include <quillet.h>

int main(int argc, char** argv) {
    return argc == 3 ? RemoveIntroAuto(argv[1], argv[2], 0, 0) : 64;
}
EOF
cat > "$scratch/caller/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(caller C)
find_package(quillet 1 REQUIRED)
add_executable(caller caller.c)
target_link_libraries(caller PRIVATE quillet::quillet)
EOF
cc -o "$scratch/caller-pkg-config" "$scratch/caller/caller.c" $(PKG_CONFIG_SYSROOT_DIR="$root" \
    PKG_CONFIG_LIBDIR="$root/$lib/pkgconfig" pkg-config --cflags --libs quillet)
cmake -S "$scratch/caller" -B "$scratch/caller-build" -DCMAKE_PREFIX_PATH="$root/usr" > /dev/null
cmake --build "$scratch/caller-build" > /dev/null
for caller in "$scratch/caller-pkg-config" "$scratch/caller-build/caller"; do
    if ! LD_LIBRARY_PATH="$root/$lib" "$caller" "$scratch/game.gba" "$caller.gba" ||
        ! cmp "$scratch/cut.gba" "$caller.gba"; then
        echo "package check: $caller did not cut the intro off as quillet-cli did" >&2
        exit 1
    fi
done

# Besides errors, any tag about the library's soname, shlibs, symbols or ldconfig trigger fails.
status=0
# Its caches go into the scratch folder: lintian leaves them behind in the temporary folder.
TMPDIR="$scratch" lintian --fail-on error --display-info $found > "$scratch/lintian" 2>&1 ||
    status=$?
cat "$scratch/lintian"
if [ "$status" -ne 0 ] ||
    grep -qE 'shared-library|shlib|soname|symbols-|ldconfig-trigger' "$scratch/lintian"; then
    echo "package check: lintian finds an error, or the library's versioning amiss: see above" >&2
    exit 1
fi
echo "package check: $(echo $found) are fine"
