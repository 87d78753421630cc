#!/usr/bin/env bash
# Fails when an executable imports a function that is not on the list of what Windows XP SP3 provides:
# the loader of Windows XP refuses to start a program with even one such import.
# Usage: check-imports.sh LIST EXECUTABLE...
set -uo pipefail
list=$1
shift

# The objdump that reads the executable's format, chosen by the machine field of its PE header (an
# i686 objdump does not know the x86-64 format): i686-w64-mingw32-objdump for x86, x86_64-w64-mingw32-
# objdump for x64.
objdump_for() {
    local offset machine
    offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
    [ -n "$offset" ] || return 1
    machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
    case $machine in
    014c) echo i686-w64-mingw32-objdump ;;
    8664) echo x86_64-w64-mingw32-objdump ;;
    *) return 1 ;;
    esac
}

# The list's pairs, "DLL function" with the DLL's name in capitals; comments and blank lines dropped.
allowed=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | awk '{ print toupper($1), $2 }' | sort -u)

status=0
for exe in "$@"; do
    if ! objdump=$(objdump_for "$exe"); then
        echo "check-imports: $exe is no x86 or x64 PE file" >&2
        status=1
        continue
    fi
    if ! table=$("$objdump" -p "$exe"); then
        echo "check-imports: $objdump -p $exe failed" >&2
        status=1
        continue
    fi
    # objdump -p lists each DLL's imports below its "DLL Name:" line, one "<vma> <hint> <name>" row each;
    # an import by ordinal has no name and is shown by its ordinal.
    imports=$(awk '
        /^The Import Tables/ { inside = 1; next }
        /^[A-Za-z]/ { inside = 0; dll = "" }
        !inside { next }
        /^[[:space:]]*DLL Name:/ { dll = toupper($3); next }
        dll != "" && /^\t[0-9a-f]+\t/ { print dll, (NF >= 3 ? $3 : "#" $2) }
    ' <<<"$table" | sort -u)
    if [ -z "$imports" ]; then
        echo "check-imports: no imports found in $exe" >&2
        status=1
        continue
    fi
    missing=$(comm -23 <(echo "$imports") <(echo "$allowed"))
    count=$(wc -l <<<"$imports")
    if [ -n "$missing" ]; then
        echo "$exe imports what Windows XP SP3 does not provide (not on $(basename "$list")):"
        sed 's/^/    /' <<<"$missing"
        status=1
    else
        echo "$exe: all $count imports are on $(basename "$list")"
    fi
done
exit $status
