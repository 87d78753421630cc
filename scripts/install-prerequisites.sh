#!/usr/bin/env bash
# Installs everything Corvane needs to build and test on Debian 12 (run as root).
# Quick no-op when all packages are already there.
#
# A package mirror can be mid-sync: one index of `apt-get update` fails ("File has unexpected size ...
# Mirror sync in progress?"), and the install then finds amd64 and i386 versions of a multi-arch library
# that cannot be matched. Such an update is reported and not fatal, the install is retried against the
# release's own suite, and when 32-bit Wine still cannot be installed the script goes on without it:
# scripts/target.sh then builds and tests the x86_64 variant, as on hosts that run no 32-bit code.
#
# A dry run of the fallback: CORVANE_APT_I386_PIN=0 pins the 32-bit packages to a version that does not
# exist, so that every attempt that includes them fails and the 64-bit-only path is taken.
set -euo pipefail

common=(
    cmake make python3
    g++-mingw-w64-i686-win32 mingw-w64-i686-dev g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev
    wine wine64 fonts-wine
    xvfb xauth x11-utils imagemagick
    libxml2-utils xsltproc tidy
    chromium
    googletest
)
i386=(wine32:i386)

missing_of()
{
    local p status
    for p in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
        [ "$status" = installed ] || echo "$p"
    done
}

mapfile -t missing_common < <(missing_of "${common[@]}")
mapfile -t missing_i386 < <(missing_of "${i386[@]}")
if [ -n "${CORVANE_APT_I386_PIN:-}" ]; then
    missing_i386=("${missing_i386[@]/%/=$CORVANE_APT_I386_PIN}")
fi
missing=("${missing_common[@]}" "${missing_i386[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-prerequisites: missing ${missing[*]}; run this script as root" >&2
    exit 1
fi

echo "install-prerequisites: installing ${missing[*]}"
if [ ${#missing_i386[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
if ! apt-get update -q; then
    echo "install-prerequisites: apt-get update failed for some indexes (a mirror mid-sync?); going on with what it fetched" >&2
fi

install()
{
    apt-get install -y -q --no-install-recommends "$@"
}

install "${missing[@]}" && exit 0

suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "install-prerequisites: the install failed; retrying against the release's own suite ($suite)" >&2
install -t "$suite" "${missing[@]}" && exit 0

if [ ${#missing_i386[@]} -gt 0 ]; then
    echo "install-prerequisites: trying without the 32-bit packages (${missing_i386[*]})" >&2
    if [ ${#missing_common[@]} -eq 0 ] || install "${missing_common[@]}" || install -t "$suite" "${missing_common[@]}"; then
        echo "install-prerequisites: 32-bit Wine could not be installed; building and testing the 64-bit (x86_64) variant only"
        exit 0
    fi
fi
echo "install-prerequisites: could not install ${missing[*]}" >&2
exit 1
