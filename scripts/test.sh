#!/usr/bin/env bash
# Installs the prerequisites, builds Corvane and its tests, and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}

"$root/scripts/install-prerequisites.sh"
"$root/scripts/build.sh" "$build"

export WINEPREFIX="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

# One X server for the whole run (Wine makes no window without one) and a warm wineserver.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    "$root/scripts/ctest-under-wine.sh" "$build" "$@"
