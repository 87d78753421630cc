#!/usr/bin/env bash
# One whole run on a sample machine, checked end to end: makes the machine's prefix afresh, runs the real
# program through its window (run_corvane.exe of the program's own build), and compares the event rows
# and the report, with their timestamps masked, byte for byte with the reviewed files in
# tests/e2e/expected/. The computer and user names that Wine gives (the host's name and the Unix user) are
# masked as %COMPUTERNAME% and %USERNAME%, and the run's date among a finding's facts as YYYY-MM-DD. A saved report must validate against Corvane.xsd, and its times must be those that
# the rows show. The run's files stay in BUILD/e2e/PROGRAM/NAME: rows.txt, listing.txt (as scripts/run.sh
# prints the rows), findings.txt (the listing's findings), Corvane.xml, Corvane.png, and names (the
# computer's and the user's, which check-readme.sh masks as this script does).
#
# With EXPECTED, EXIT and FOLDER the run is "PROGRAM.exe /run" instead, with the options for VERBOSE and
# REPORT and the output folder FOLDER\%COMPUTERNAME%.%USERNAME% (one folder per machine and user, as on
# the fleet's drop box), where FOLDER is C:\Reports ("local") or \\server\share ("share", a folder of BUILD/e2e/PROGRAM/NAME that Wine's UNC mapping makes that share).
# Neither folder below it exists before. The run must show no window at any time (no X window is mapped
# while it runs), end with the exit code EXIT, print the rows of expected/EXPECTED.rows as "Copy all"
# writes them (console.txt) and save expected/EXPECTED.xml there: the same run as the window's.
#
# Usage: check-run.sh BUILD NAME PROFILE VERBOSE REPORT [PROGRAM [EXPECTED EXIT FOLDER]]
#   NAME     the run's name: expected/NAME.rows and expected/NAME.xml (the latter only when a report is
#            saved); the run's files go to BUILD/e2e/PROGRAM/NAME
#   PROFILE  the machine profile of tests/fixtures/machines
#   VERBOSE, REPORT  on or off: the two options of the window
#   PROGRAM  Corvane or Corvane64 (default: the one the build folder itself holds). The expected report
#            names the program that wrote it; for a run of the other program, or of Corvane.exe on 64-bit
#            Windows, the header's Program element is expected to say so. On a machine whose Outlook
#            modules are built for the program that runs there (a profile without "arch win64"), Outlook's
#            bitness read from OUTLOOK.EXE is the program's own: the expected files give Corvane.exe's
#            "32-bit", and a run of Corvane64.exe expects "64-bit" there. Nothing else may differ.
#   EXPECTED the window's run whose expected files a /run must give; EXIT its exit code (-2 and the like);
#            FOLDER local or share
# Exits 77 (skipped) for Corvane.exe on a host that runs no 32-bit code, after the steps that need none:
# the expected report validates, and a machine that is 64-bit Windows is made.
# Needs an X display (scripts/test.sh runs CTest under Xvfb).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/target.sh"
build=$1 name=$2 profile=$3 verbose=$4 report=$5 program=${6:-$CORVANE_PROGRAM}
expect=${7:-$2} exit=${8:-} folder=${9:-local}
# A /run gets an X server of its own: the check that it shows no window watches the whole screen, which
# the other tests that CTest runs at the same time would share.
if [ -n "$exit" ] && [ -z "${CORVANE_OWN_DISPLAY:-}" ]; then
    CORVANE_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$@"
fi
expected=$here/expected

fail() {
    echo "FAIL ($name): $*" >&2
    exit 1
}

arch=$(corvane_program_arch "$program") || fail "no program '$program'; there are Corvane and Corvane64"
# Where this host runs no 32-bit code, a run of Corvane.exe takes every step up to starting a 32-bit
# program and is then skipped, naming the step it could not take.
skip() {
    echo "SKIPPED ($name): $* (this host runs no 32-bit code: its kernel refuses it, dmesg says" \
        "\"32-bit emulation disabled\")"
    exit 77
}
tree=$(corvane_tree "$build" "$arch")
CORVANE_ARCH=$arch
. "$root/scripts/target.sh"
work=$build/e2e/$program/$name
prefix=$work/prefix

[ -n "${DISPLAY:-}" ] || fail "no X display; run through scripts/test.sh"
[ -f "$tree/tests/run_corvane.exe" ] || fail "no $tree/tests/run_corvane.exe; build it first"
mkdir -p "$work"
rm -f "$work"/rows.txt "$work"/listing.txt "$work"/rows.masked "$work"/Corvane.xml "$work"/Corvane.masked.xml "$work"/Corvane.png \
    "$work"/names "$work"/names.err "$work"/expected.rows "$work"/findings.txt \
    "$work"/console.txt "$work"/xev.txt
rm -rf "$work/share"

# The expected report, with a time where its times are masked, validates as the saved one must.
if [ "$report" = on ]; then
    sed 's/YYYY-MM-DD hh:mm:ss/2000-01-01 00:00:00/g' "$expected/$expect.xml" >"$work/expected-unmasked.xml"
    xmllint --noout --schema "$build/Corvane.xsd" "$work/expected-unmasked.xml" ||
        fail "expected/$expect.xml does not validate against Corvane.xsd"
fi
"$root/scripts/sample-machine.sh" --build "$build" --arch "$arch" "$prefix" "$profile"
case $? in
0) ;;
77) skip "could not make the 32-bit Windows of '$profile' for $program.exe$([ "$report" = on ] &&
    echo "; its expected report validates")" ;;
*) fail "the machine could not be made" ;;
esac

# The same locale whatever the host's: the language rows and the ANSI code page depend on it.
export LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ "$arch" = i686 ] && ! corvane_runs_32bit; then
    skip "made the machine '$profile' ($(sed -n 's/^#arch=//p' "$prefix/system.reg") prefix) but could not start" \
        "$program.exe on it"
fi
# A wineserver for the run, with the prefix's system processes started apart from CTest's output pipes.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
"$CORVANE_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
# A Windows environment variable as cmd.exe prints it. A start of cmd.exe on a loaded machine once printed
# nothing at all, so an empty answer is asked again, and what Wine said each time is kept for the failure.
wine_says() {
    local value attempt
    for attempt in 1 2 3; do
        value=$("$CORVANE_WINE" cmd.exe /c "echo %$1%" </dev/null 2>>"$work/names.err" | tr -d '\r') || true
        if [ -n "$value" ] && [ "$value" != "%$1%" ]; then
            printf '%s' "$value"
            return 0
        fi
        echo "attempt $attempt: cmd.exe printed '$value' for %$1%" >>"$work/names.err"
        sleep 1
    done
    return 1
}
# The names that the program will see, to be masked; kept for check-readme.sh.
computer=$(wine_says COMPUTERNAME) && user=$(wine_says USERNAME) ||
    fail "Wine names no computer or user: $(tr '\n' ' ' <"$work/names.err")"
printf '%s\n%s\n' "$computer" "$user" >"$work/names"

stamp='[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'
# Timestamps, the names and the run's date among a finding's facts.
mask() {
    sed -E "s/$stamp/YYYY-MM-DD hh:mm:ss/g" "$1" |
        COMPUTER=$computer USER_NAME=$user perl -p "$here/mask-names.pl" >"$2"
}
# Whether the profile, or one it includes, makes the machine 64-bit Windows for both programs.
profile_is_win64() {
    local file=$root/tests/fixtures/machines/$1.machine included
    grep -q '^arch win64' "$file" && return 0
    for included in $(sed -n 's/^include //p' "$file"); do
        profile_is_win64 "${included%.machine}" && return 0
    done
    return 1
}
# The expected file as this program must give it: on a machine whose Outlook follows the program's
# bitness, OUTLOOK.EXE's machine is Corvane64.exe's 64-bit where Corvane.exe's files say 32-bit, and so
# is Outlook's bitness among a finding's facts; the Windows Messaging Subsystem key that a finding names
# is the one of the program's own view.
adapt() {
    if [ "$arch" = x86_64 ] && ! profile_is_win64 "$profile"; then
        perl -0pe 's/^(1\|7\|Outlook Bitness: )32-bit( \(OUTLOOK\.EXE machine\))$/${1}64-bit$2/mg;
            s{^(<DataMember Type="String" Name="Bitness">)32-bit(</DataMember>\n<DataMember Type="String" Name="Source">OUTLOOK\.EXE machine</DataMember>)$}{${1}64-bit$2}mg;
            s{^(<Fact Name="Outlook">)32-bit(</Fact>)$}{${1}64-bit$2}mg if /OUTLOOK\.EXE machine/;
            s{^((?:1\|26\||<Message>)The Windows Messaging Subsystem key seen by )32-bit( programs )}{${1}64-bit$2}mg;
            s{^(<Fact Name="Windows Messaging Subsystem \()32-bit(\) MAPIX?">)}{${1}64-bit$2}mg' "$1"
    else
        cat "$1"
    fi
}
adapt "$expected/$expect.rows" >"$work/expected.rows"

# PROGRAM.exe /run, watched by xev for any X window mapped while it runs: Wine maps one for every Windows
# window that is shown, and none other.
run_unattended() {
    local options=(/run) code watcher out='C:\Reports' reports=$prefix/drive_c/Reports
    local executable=$tree/$program.exe
    [ -f "$executable" ] || fail "no $executable"
    # Upper case and - as well as /, as the usage allows.
    [ "$verbose" = on ] || options+=(-QUIET)
    if [ "$folder" = share ]; then
        mkdir -p "$prefix/dosdevices/unc/server" "$work/share"
        ln -s "$work/share" "$prefix/dosdevices/unc/server/share"
        out='\\server\share\reports' reports=$work/share/reports
    fi
    if [ "$report" = on ]; then
        options+=("/Out:$out\\%COMPUTERNAME%.%USERNAME%")
    else
        options+=(/NoReport)
    fi
    [ ! -e "$reports" ] || fail "$reports exists before the run"

    xev -root -event substructure >"$work/xev.txt" 2>&1 &
    watcher=$!
    sleep 1
    "$CORVANE_WINE" "$executable" "${options[@]}" </dev/null >"$work/console.txt"
    code=$?
    sleep 1
    kill "$watcher" 2>/dev/null
    wait "$watcher" 2>/dev/null
    if grep -q MapNotify "$work/xev.txt"; then
        grep -A3 MapNotify "$work/xev.txt" >&2
        fail "a window was shown during $program.exe ${options[*]}"
    fi
    # The shell sees the low eight bits of the exit code, as Wine passes it on.
    [ "$code" -eq $(((exit + 256) % 256)) ] || fail "$program.exe ${options[*]} ended with $code, not $exit"
    [ "$report" = on ] || [ ! -e "$reports" ] || fail "a run without a report made $reports"

    # The expected rows as "Copy all" writes them: four spaces a level, then the text.
    awk -F'|' '{ n = $1; sub(/^[0-9]+\|[0-9]+\|/, ""); printf "%" (n * 4) "s%s\n", "", $0 }' \
        "$work/expected.rows" >"$work/expected-console.txt"
    tr -d '\r' <"$work/console.txt" >"$work/rows.txt"
    saved=$reports/$computer.$user/Corvane.xml
}

if [ -z "$exit" ]; then
    mkdir -p "$prefix/drive_c/Reports"
    windows() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
    "$CORVANE_WINE" "$tree/tests/run_corvane.exe" --draw-frames --output-folder 'C:\Reports' --verbose "$verbose" \
        --report "$report" --rows "$(windows "$work/rows.txt")" --listing "$(windows "$work/listing.txt")" \
        --screenshot "$work/Corvane.png" </dev/null ||
        fail "the run through the window did not finish"
    saved=$prefix/drive_c/Reports/Corvane.xml
    # The findings' part of the listing alone, for the README: its title and the rows below it.
    awk '$0 == "[section] Findings" { on = 1; print; next } on && /^\[/ { exit } on' "$work/listing.txt" \
        >"$work/findings.txt"
else
    run_unattended
fi

status=0

want_rows=$work/expected.rows
[ -z "$exit" ] || want_rows=$work/expected-console.txt
mask "$work/rows.txt" "$work/rows.masked"
if ! diff -u "$want_rows" "$work/rows.masked"; then
    echo "FAIL ($name): the event rows differ from expected/$expect.rows (above: - expected, + actual)" >&2
    status=1
fi

started=$(head -n 1 "$work/rows.txt" | grep -oE "$stamp")
ended=$(tail -n 1 "$work/rows.txt" | grep -oE "$stamp")
[ -n "$started" ] && [ -n "$ended" ] || fail "the first and last rows carry no times"
[[ ! "$ended" < "$started" ]] || fail "the run ended ($ended) before it started ($started)"

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
    adapt "$expected/$expect.xml" | sed "s|^<Program>[^<]*</Program>\$|<Program>$bitness</Program>|" >"$work/expected.xml"
    if ! cmp -s "$work/expected.xml" "$work/Corvane.masked.xml"; then
        diff -u "$work/expected.xml" "$work/Corvane.masked.xml"
        echo "FAIL ($name): the report differs from expected/$expect.xml (above: - expected, + actual)" >&2
        status=1
    fi
    xmllint --noout --schema "$build/Corvane.xsd" "$work/Corvane.xml" || {
        echo "FAIL ($name): the report does not validate against Corvane.xsd" >&2
        status=1
    }
    # The readable page beside the report is what xsltproc makes of that report with the same stylesheet.
    page=$(dirname "$saved")/Corvane.html
    if [ ! -f "$page" ]; then
        echo "FAIL ($name): no Corvane.html was written beside the report" >&2
        status=1
    elif ! xsltproc "$root/report/Corvane.xsl" "$work/Corvane.xml" >"$work/xsltproc.html" ||
        ! cmp -s "$work/xsltproc.html" "$page"; then
        diff -u "$work/xsltproc.html" "$page" | head -40
        echo "FAIL ($name): Corvane.html is not xsltproc's page of the same report (above: - xsltproc, + Corvane)" >&2
        status=1
    fi
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
    [ ! -e "$(dirname "$saved")/Corvane.html" ] || fail "a Corvane.html was written although the report option was off"
    [ ! -e "$expected/$expect.xml" ] || fail "expected/$expect.xml exists for a run without a report"
fi

if [ $status -eq 0 ]; then
    echo "ok ($name, $program.exe): the rows$([ "$report" = on ] && echo ' and the report') are as expected"
fi
exit $status
