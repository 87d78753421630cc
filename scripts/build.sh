#!/usr/bin/env bash
# Configures and builds Corvane.exe and the test programs into a build folder (default: build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
. "$root/scripts/target.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$CORVANE_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2
