#!/usr/bin/env bash
# Installs everything Corvane needs to build and test on Debian 12 (run as root).
# Quick no-op when all packages are already there.
set -euo pipefail

packages=(
    cmake make python3
    g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine32:i386 wine64
    xvfb xauth x11-utils imagemagick
    libxml2-utils
    googletest
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-prerequisites: missing ${missing[*]}; run this script as root" >&2
    exit 1
fi

echo "install-prerequisites: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
