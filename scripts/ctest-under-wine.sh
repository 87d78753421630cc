#!/usr/bin/env bash
# Runs CTest with the wineserver of the test prefix kept running, and shuts it down afterwards.
set -uo pipefail
build=$1
shift
. "$(dirname "${BASH_SOURCE[0]}")/target.sh"
export WINEDEBUG=-all
wineserver -p
# Starts the prefix's system processes now, detached from CTest: started by the first test instead,
# they would inherit its output pipes and CTest would wait on them for ever.
"$CORVANE_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 "$@"
