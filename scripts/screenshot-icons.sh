#!/usr/bin/env bash
# Screenshot of every event icon of both strips at indents 0 to 3, under Xvfb: build/screenshots/icons.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}
"$root/scripts/build.sh" "$build"
mkdir -p "$build/screenshots"
export WINEPREFIX="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    "$1/scripts/wine-run.sh" "$2/tests/icon_sheet.exe" 8 &
    sleep 6
    import -window root "$2/screenshots/icons.png"
    wait' _ "$root" "$build"
echo "$build/screenshots/icons.png"
