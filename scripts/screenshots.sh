#!/usr/bin/env bash
# Screenshots of Corvane.exe for a person to look at: the compact dialog, the expanded dialog after a
# verbose run, the event list's context menu, the folder picker and the About box, taken by the
# project's UI driver (tests/tools/UiScreens.cpp), at 96 DPI (100 %) and at 144 DPI (150 %), into
# OUTDIR/96 and OUTDIR/144.
# Usage: screenshots.sh [BUILD] [OUTDIR]
#   CORVANE_DPI="96 120" chooses other resolutions.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-${CORVANE_BUILD:-$root/build}}
build=$(cd "$build" && pwd) # Wine takes only an absolute prefix path
out=${2:-$build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cmake --build "$build" --target ui_screens >/dev/null

. "$root/scripts/target.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
for dpi in ${CORVANE_DPI:-96 144}; do
    export WINEPREFIX="$build/wineprefix-screenshots-$dpi"
    "$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/wineprefix"
    # Without a window manager Wine draws the caption and the frame itself.
    "$CORVANE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The display's resolution, as Windows' display settings set it.
    "$CORVANE_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    mkdir -p "$out/$dpi"
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c \
        '"$CORVANE_WINE" "$1/tests/ui_screens.exe" "$2"; status=$?; wineserver -k; exit $status' sh "$build" "$out/$dpi"
done
