#!/bin/sh
# Installs the Debian packages that building and testing Quillet need, if any is missing.
set -eu

packages="
    build-essential
    cmake
    ninja-build
    pkg-config
    qt6-base-dev
    qt6-base-dev-tools
    libgl-dev
    libgtest-dev
    libcli11-dev
    fonts-dejavu-core
    fonts-liberation2
    clang-14
    libclang-rt-14-dev
    python3
    time
    dpkg-dev
    file
    groff-base
    appstream
    desktop-file-utils
    lintian
"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
echo "Installing:$missing"
$sudo apt-get update
# shellcheck disable=SC2086 # the list is meant to split into words
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
