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
junit=$(cd "$build" && pwd)/Testing/corvane-junit.xml
rm -f "$junit"
ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 --output-junit "$junit" "$@"
status=$?

# The tests that did not run, each with the step it could not take (its SKIPPED line), in one block after
# CTest's summary: a reader of the log sees at once which of the program's runs were not made.
if [ -f "$junit" ]; then
    skipped=$(xmllint --xpath '//testcase[skipped]/@name' "$junit" 2>/dev/null | sed -E 's/ *name="([^"]*)"/\1\n/g')
    if [ -n "$skipped" ]; then
        echo
        echo "Skipped tests ($(grep -c . <<<"$skipped")), not run on this host:"
        while IFS= read -r test; do
            [ -n "$test" ] || continue
            reason=$(xmllint --xpath "string(//testcase[@name='$test']/system-out)" "$junit" 2>/dev/null |
                grep -m1 '^SKIPPED' | sed -E 's/^SKIPPED \([^)]*\): //')
            echo "    $test: ${reason:-no reason given}"
        done <<<"$skipped"
    fi
fi
exit $status
