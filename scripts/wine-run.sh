#!/usr/bin/env bash
# Runs one Windows program under Wine in a 32-bit prefix (64-bit where the host runs no 32-bit code) (CTest's cross-compiling emulator).
# WINEPREFIX selects the prefix; it is created on first use.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
# WINEPREFIX_TEMPLATE: the prefix is a fresh copy of that one for every run (tests that change
# system-wide registrations work on a copy of their own).
if [ -n "${WINEPREFIX_TEMPLATE:-}" ]; then
    WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
fi
"$here/wine-prefix.sh" "$WINEPREFIX" ${WINEPREFIX_TEMPLATE:+"$WINEPREFIX_TEMPLATE"}
. "$here/target.sh"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec "$CORVANE_WINE" "$@"
