#!/usr/bin/env bash
# The examples in README.md are those of real runs: every fenced block that follows a line
# "<!-- e2e: NAME/FILE -->" must equal the file BUILD/e2e/PROGRAM/NAME/FILE of the end-to-end run NAME,
# with the timestamps of both masked, and the computer and user names that the run saw (check-run.sh kept
# them in the run's file "names") shown as %COMPUTERNAME% and %USERNAME%, as the expected files show them.
# The README shows Corvane.exe's report; a run of the other program differs from it in the header's
# Program element, which is masked too, and, on a machine whose Outlook follows the program's bitness, in
# the bitness that OUTLOOK.EXE's header gives, which the README shows as Corvane.exe's "32-bit".
# Usage: check-readme.sh BUILD PROGRAM
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readme=$here/../../README.md
build=$1
runs=$build/e2e/$2
stamp='[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'
mask() {
    sed -E -e "s/$stamp/YYYY-MM-DD hh:mm:ss/g" -e 's|^<Program>[^<]*</Program>$|<Program>...</Program>|' \
        -e 's/^( *\[summary\] Outlook Bitness: )64-bit( \(OUTLOOK\.EXE machine\))$/\132-bit\2/'
}
# The run's names as the expected files show them.
names() {
    COMPUTER=$1 USER_NAME=$2 perl -p "$here/mask-names.pl"
}
status=0
checked=0
for source in $(sed -n 's/^<!-- e2e: \([^ ]*\) -->$/\1/p' "$readme"); do
    # The block after the marker, without its fences.
    block=$(awk -v marker="<!-- e2e: $source -->" '
        $0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$readme" | mask)
    [ -f "$runs/$source" ] || { echo "FAIL: README shows $source, but that run left no such file" >&2; status=1; continue; }
    run=$runs/${source%%/*}
    [ -f "$run/names" ] || { echo "FAIL: the run of $source left no names" >&2; status=1; continue; }
    actual=$(names "$(sed -n 1p "$run/names")" "$(sed -n 2p "$run/names")" <"$runs/$source" | mask)
    if [ "$block" != "$actual" ]; then
        diff -u <(printf '%s\n' "$block") <(printf '%s\n' "$actual")
        echo "FAIL: README's example of $source is not what the run gives (above: - README, + run)" >&2
        status=1
    fi
    checked=$((checked + 1))
done
[ $checked -gt 0 ] || { echo "FAIL: README.md shows no examples to check" >&2; exit 1; }
[ $status -eq 0 ] && echo "ok: README's $checked examples are those of the runs"
exit $status
