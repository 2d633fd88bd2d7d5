#!/bin/sh
# Installs the Debian packages that building and testing Quillet need, if any is missing.
set -eu

# Besides the build (libgcrypt for the hashes of dump lists, pugixml for the XML ones): clang's
# libFuzzer for `make fuzz`, Python and GNU time for `make bench`, the tools that build and check
# the Debian package, and for the Windows builds MinGW-w64 (the win32 thread model) with libgcrypt
# and libgpg-error built for it, which the Windows programs link in, NSIS for their installers,
# and Wine, whose wine32 runs the 32-bit programs and wine64 creates and serves the Wine prefix
# natively.
# For the web page, clang's WebAssembly target with the WASI C and C++ libraries, and Chromium
# for its tests.
packages="
    build-essential
    cmake
    ninja-build
    pkg-config
    qt6-base-dev
    qt6-base-dev-tools
    libgl-dev
    libcli11-dev
    libgcrypt20-dev
    libpugixml-dev
    fonts-dejavu-core
    fonts-liberation2
    clang-14
    libclang-rt-14-dev
    python3
    xvfb
    xauth
    xdotool
    strace
    time
    dpkg-dev
    file
    groff-base
    appstream
    desktop-file-utils
    lintian
    g++-mingw-w64-i686-win32
    g++-mingw-w64-x86-64-win32
    libgcrypt-mingw-w64-dev
    libgpg-error-mingw-w64-dev
    nsis
    wine
    wine32:i386
    wine64
    fonts-wine
    chromium
    wasi-libc
    libclang-rt-14-dev-wasm32
    libc++-14-dev-wasm32
    libc++abi-14-dev-wasm32
    lld-14
"

# Runs a command as root: directly, or with sudo. Without either, says what to run and stops.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "install-deps: $* needs root, and this system has no sudo. Run this script as root:" >&2
        echo "    su -c 'sh $(cd "$(dirname "$0")" && pwd)/install-deps.sh'" >&2
        exit 1
    fi
}

# Installs those of the given packages that are missing.
install() {
    missing=""
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $package"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update
    # shellcheck disable=SC2086 # the list is meant to split into words
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

# shellcheck disable=SC2086 # the list is meant to split into words
install $packages

# Some virtual machines run no 32-bit x86 programs, Wine's 32-bit side among them. There QEMU's
# user-mode emulator runs them, registered with the kernel for every i386 program.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    install qemu-user
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e $binfmt/register ] || as_root mount -t binfmt_misc binfmt_misc $binfmt
    # The start of an i386 program's ELF header, and which of its bits to compare.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    if [ ! -e $binfmt/qemu-i386 ]; then
        printf '%s\n' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" |
            as_root tee $binfmt/register >/dev/null
    fi
    /lib/ld-linux.so.2 --version >/dev/null
fi

# The web page's tests run on Node with playwright-core from npm: Debian's nodejs and npm unless
# the commands are there already (NodeSource's nodejs, for one, brings its own npm, which
# conflicts with Debian's). playwright-core comes at the version of package-lock.json, into
# node_modules here, and downloads no browser; npm's cache is a temporary folder, not the home.
command -v node >/dev/null || install nodejs
command -v npm >/dev/null || install npm
cd "$(dirname "$0")/.."
version() {
    node -p "require('./$1').$2" 2>/dev/null || true
}
if [ "$(version package-lock.json 'packages["node_modules/playwright-core"].version')" != \
    "$(version node_modules/playwright-core/package.json version)" ]; then
    npm_cache=$(mktemp -d)
    trap 'rm -rf "$npm_cache"' EXIT
    npm ci --cache "$npm_cache" --no-audit --no-fund --no-update-notifier
fi
