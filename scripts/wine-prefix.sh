#!/usr/bin/env bash
# Makes a Wine prefix of the target architecture (scripts/target.sh) once (wineboot), or copies it from a template prefix.
# CORVANE_PREFIX_ARCH=win32 or win64 asks for a prefix of that architecture instead.
# Usage: wine-prefix.sh PREFIX [TEMPLATE]
set -euo pipefail
prefix=$1
template=${2:-}
[ -f "$prefix/system.reg" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/system.reg" ] && exit 0
. "$(dirname "${BASH_SOURCE[0]}")/target.sh"
arch=${CORVANE_PREFIX_ARCH:-$CORVANE_WINEARCH}
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX="$prefix"
if [ -n "$template" ]; then
    "$0" "$template"
    rm -rf "$prefix"
    # Hard links share the installed files; the registry files are copied, since they change.
    cp -al "$template" "$prefix"
    for hive in "$template"/*.reg; do
        cp --remove-destination "$hive" "$prefix/"
    done
    exit 0
fi
rm -rf "$prefix"
corvane_prefix_wine "$arch" wineboot -i >/dev/null 2>&1
wineserver -w
[ -f "$prefix/system.reg" ] || { echo "wine-prefix: wineboot made no prefix at $prefix" >&2; exit 1; }
# Wine's own fonts (Debian's fonts-wine, Marlett among them) are meant to be read from Wine's data folder,
# but Debian's Wine 8 asks for that folder by a path that still holds "..", which its own file layer
# refuses (c0000033): the caption buttons, drawn with Marlett, then show as the letters "0 1 r". Linked
# into the prefix's Fonts folder, where Wine always looks, the fonts are found.
mkdir -p "$prefix/drive_c/windows/Fonts"
for font in /usr/share/wine/fonts/*; do
    [ -e "$font" ] || continue
    target="$prefix/drive_c/windows/Fonts/$(basename "$font")"
    [ -e "$target" ] || ln -s "$font" "$target"
done
