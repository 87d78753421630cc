#!/usr/bin/env bash
# Runs one Windows program under Wine in a 32-bit prefix (CTest's cross-compiling emulator).
# WINEPREFIX selects the prefix; it is created on first use.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
"$here/wine-prefix.sh" "$WINEPREFIX"
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
