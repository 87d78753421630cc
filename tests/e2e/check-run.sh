#!/usr/bin/env bash
# One whole run on a sample machine, checked end to end: makes the machine's prefix afresh, runs the real
# program through its window (run_corvane.exe of the program's own build), and compares the event rows
# and the report, with their timestamps masked, byte for byte with the reviewed files in
# tests/e2e/expected/. A saved report must validate against Corvane.xsd, and its times must be those that
# the rows show. The run's files stay in BUILD/e2e/PROGRAM/NAME: rows.txt, listing.txt (as scripts/run.sh
# prints the rows), Corvane.xml, Corvane.png.
#
# Usage: check-run.sh BUILD NAME PROFILE VERBOSE REPORT [PROGRAM]
#   NAME     the run's name: expected/NAME.rows and expected/NAME.xml (the latter only when a report is
#            saved); the run's files go to BUILD/e2e/PROGRAM/NAME
#   PROFILE  the machine profile of tests/fixtures/machines
#   VERBOSE, REPORT  on or off: the two options of the window
#   PROGRAM  Corvane or Corvane64 (default: the one the build folder itself holds). The expected report
#            names the program that wrote it; for a run of the other program, or of Corvane.exe on 64-bit
#            Windows, the header's Program element is expected to say so, and nothing else may differ.
# Exits 77 (skipped) for Corvane.exe on a host that runs no 32-bit code.
# Needs an X display (scripts/test.sh runs CTest under Xvfb).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/target.sh"
build=$1 name=$2 profile=$3 verbose=$4 report=$5 program=${6:-$CORVANE_PROGRAM}
expected=$here/expected

fail() {
    echo "FAIL ($name): $*" >&2
    exit 1
}

arch=$(corvane_program_arch "$program") || fail "no program '$program'; there are Corvane and Corvane64"
if [ "$arch" = i686 ] && ! corvane_runs_32bit; then
    echo "SKIPPED ($name): Corvane.exe is a 32-bit program, and this host runs no 32-bit code" \
        "(its kernel refuses it: dmesg says \"32-bit emulation disabled\")"
    exit 77
fi
tree=$(corvane_tree "$build" "$arch")
CORVANE_ARCH=$arch
. "$root/scripts/target.sh"
work=$build/e2e/$program/$name
prefix=$work/prefix

[ -n "${DISPLAY:-}" ] || fail "no X display; run through scripts/test.sh"
[ -f "$tree/tests/run_corvane.exe" ] || fail "no $tree/tests/run_corvane.exe; build it first"
mkdir -p "$work"
rm -f "$work"/rows.txt "$work"/listing.txt "$work"/rows.masked "$work"/Corvane.xml "$work"/Corvane.masked.xml "$work"/Corvane.png

"$root/scripts/sample-machine.sh" --build "$build" --arch "$arch" "$prefix" "$profile" ||
    fail "the machine could not be made"

# The same locale whatever the host's: the language rows and the ANSI code page depend on it.
export LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# A wineserver for the run, with the prefix's system processes started apart from CTest's output pipes.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
"$CORVANE_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

mkdir -p "$prefix/drive_c/Reports"
windows() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
"$CORVANE_WINE" "$tree/tests/run_corvane.exe" --draw-frames --output-folder 'C:\Reports' --verbose "$verbose" \
    --report "$report" --rows "$(windows "$work/rows.txt")" --listing "$(windows "$work/listing.txt")" \
    --screenshot "$work/Corvane.png" </dev/null ||
    fail "the run through the window did not finish"

stamp='[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'
mask() { sed -E "s/$stamp/YYYY-MM-DD hh:mm:ss/g" "$1" >"$2"; }
status=0

mask "$work/rows.txt" "$work/rows.masked"
if ! diff -u "$expected/$name.rows" "$work/rows.masked"; then
    echo "FAIL ($name): the event rows differ from expected/$name.rows (above: - expected, + actual)" >&2
    status=1
fi

started=$(head -n 1 "$work/rows.txt" | grep -oE "$stamp")
ended=$(tail -n 1 "$work/rows.txt" | grep -oE "$stamp")
[ -n "$started" ] && [ -n "$ended" ] || fail "the first and last rows carry no times"
[[ ! "$ended" < "$started" ]] || fail "the run ended ($ended) before it started ($started)"

saved=$prefix/drive_c/Reports/Corvane.xml
if [ "$report" = on ]; then
    [ -f "$saved" ] || fail "no Corvane.xml was saved"
    cp "$saved" "$work/Corvane.xml"
    mask "$work/Corvane.xml" "$work/Corvane.masked.xml"
    # What the header says of the program that ran, and of the Windows it ran on.
    if [ "$arch" = x86_64 ]; then
        bitness='64-bit'
    elif grep -q '^#arch=win64' "$prefix/system.reg"; then
        bitness='32-bit under WOW64'
    else
        bitness='32-bit'
    fi
    sed "s|^<Program>[^<]*</Program>\$|<Program>$bitness</Program>|" "$expected/$name.xml" >"$work/expected.xml"
    if ! cmp -s "$work/expected.xml" "$work/Corvane.masked.xml"; then
        diff -u "$work/expected.xml" "$work/Corvane.masked.xml"
        echo "FAIL ($name): the report differs from expected/$name.xml (above: - expected, + actual)" >&2
        status=1
    fi
    xmllint --noout --schema "$build/Corvane.xsd" "$work/Corvane.xml" || {
        echo "FAIL ($name): the report does not validate against Corvane.xsd" >&2
        status=1
    }
    # The start time is the first row's; the outcome and CreatedAt carry the end time of the last row.
    times=$(grep -oE "<(StartedAt|CompletedAt|AbortedAt|FailedAt|CreatedAt)>[^<]*<" "$work/Corvane.xml" |
        sed -E 's/<([A-Za-z]+)>([^<]*)</\1=\2/')
    want=$(printf 'StartedAt=%s\n%s=%s\nCreatedAt=%s' "$started" \
        "$(grep -oE '<(CompletedAt|AbortedAt|FailedAt)>' "$work/Corvane.xml" | tr -d '<>')" "$ended" "$ended")
    if [ "$times" != "$want" ]; then
        printf 'report times:\n%s\nrow times:\n%s\n' "$times" "$want" >&2
        echo "FAIL ($name): the report's times are not those of the rows" >&2
        status=1
    fi
else
    [ ! -e "$saved" ] || fail "a Corvane.xml was saved although the report option was off"
    [ ! -e "$expected/$name.xml" ] || fail "expected/$name.xml exists for a run without a report"
fi

if [ $status -eq 0 ]; then
    echo "ok ($name, $program.exe): the rows$([ "$report" = on ] && echo ' and the report') are as expected"
fi
exit $status
