#!/usr/bin/env bash
# Runs CTest with the wineserver of the test prefix kept running, and shuts it down afterwards.
set -uo pipefail
build=$1
shift
export WINEARCH=win32 WINEDEBUG=-all
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 "$@"
