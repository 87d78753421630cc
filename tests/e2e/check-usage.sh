#!/usr/bin/env bash
# Command lines that Corvane.exe cannot use, and output folders it cannot make: each must end with its
# exit code, say why on the output it was given, and leave drive C: of a fresh sample machine with the
# same files and folders, no file changed (a folder made before one that cannot be is removed again).
# /? prints the usage and ends with 0.
# Usage: check-usage.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/target.sh"
build=$1
work=$build/e2e/usage
prefix=$work/prefix
status=0

fail() {
    echo "FAIL (usage): $*" >&2
    exit 1
}

mkdir -p "$work"
"$root/scripts/sample-machine.sh" --build "$build" "$prefix" sample >/dev/null || fail "the machine could not be made"
export LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
"$CORVANE_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
# The program of this build, which the host runs.
program=$build/$CORVANE_PROGRAM.exe
[ -f "$program" ] || fail "no $program"

# Every folder of drive C:, and every file with its size and time of change.
snapshot() { (cd "$prefix/drive_c" && find . \( -type f -printf '%p %s %T@\n' \) -o -printf '%p\n' | LC_ALL=C sort); }

# Exit code (as the shell sees its low eight bits), the line that must come first, then the arguments.
while IFS='|' read -r code first arguments; do
    [ -n "$code" ] || continue
    read -ra argv <<<"$arguments"
    before=$(snapshot)
    "$CORVANE_WINE" "$program" "${argv[@]}" </dev/null >"$work/output.txt" 2>/dev/null
    got=$?
    output=$(tr -d '\r' <"$work/output.txt")
    if [ "$got" -ne "$code" ]; then
        echo "FAIL (usage): $CORVANE_PROGRAM.exe $arguments ended with $got, not $code" >&2
        status=1
    fi
    if [ "$(head -n 1 <<<"$output")" != "$first" ]; then
        printf 'FAIL (usage): %s.exe %s printed:\n%s\n' "$CORVANE_PROGRAM" "$arguments" "$output" >&2
        status=1
    fi
    if [ "$code" -ne 0 ] && [ "$code" -ne 255 ] && ! grep -q '^Usage: Corvane' <<<"$output"; then
        echo "FAIL (usage): $CORVANE_PROGRAM.exe $arguments printed no usage" >&2
        status=1
    fi
    if [ "$(snapshot)" != "$before" ]; then
        diff <(echo "$before") <(snapshot) >&2
        echo "FAIL (usage): $CORVANE_PROGRAM.exe $arguments changed drive C:" >&2
        status=1
    fi
done <<'CASES'
0|Usage: Corvane [/run [/quiet] [/noreport] [/out:FOLDER]]|/?
0|Usage: Corvane [/run [/quiet] [/noreport] [/out:FOLDER]]|/run /bogus -?
87|Unknown argument: run|run
87|Unknown argument: /bogus|/run /out:C:\Reports\made /bogus
87|Unknown argument: /out|/run /out
87|Given more than once: /RUN|/run /RUN
87|/quiet is an option of /run.|/quiet
87|/out:C:\Reports\made is an option of /run.|/out:C:\Reports\made
87|/out: names no folder.|/run /out:
87|-out:C:\Reports\made has no use with /noreport.|/run /noreport -out:C:\Reports\made
255|The output folder C:\Reports\%CORVANE_NO_SUCH_VARIABLE% cannot be made. (0x800700CB)|/run /out:C:\Reports\%CORVANE_NO_SUCH_VARIABLE%
255|The output folder C:\Reports\made\a<b cannot be made. (0x8007007B)|/run /out:C:\Reports\made\a<b
87|/out:Reports is no full folder: give a drive (C:\Reports) or a share (\\server\share).|/run /out:Reports
87|/out:C:Reports is no full folder: give a drive (C:\Reports) or a share (\\server\share).|/run /out:C:Reports
87|/out:\\?\C:\Reports is no full folder: give a drive (C:\Reports) or a share (\\server\share).|/run /out:\\?\C:\Reports
87|/out:C:\Reports\NUL names a device, not a folder.|/run /out:C:\Reports\NUL
87|/out:C:\Reports\com1.txt\made names a device, not a folder.|/run /quiet /out:C:\Reports\com1.txt\made
CASES

[ $status -eq 0 ] && echo "ok (usage): every command line ended as it should and left drive C: as it was"
exit $status
