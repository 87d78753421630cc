#!/usr/bin/env bash
# README.md's table of Corvane's exit codes is the run results' enumeration: one row per enumerator of
# engine/RunResult.h, its value and the comment line above it, in the same order. Usage: check-exit-codes.sh [ROOT]
# With --print, prints the table as it must read.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
print=0
for argument in "$@"; do
    case $argument in
    --print) print=1 ;;
    *) root=$argument ;;
    esac
done
expected=$(printf '| Exit code | Meaning |\n|---:|---|\n'
    awk 'match($0, /^ *\/\/ /) { meaning = substr($0, RLENGTH + 1); next }
        match($0, /^ *Run[A-Za-z]* = -?[0-9]+,$/) { value = $3; sub(/,$/, "", value)
            print "| " value " | " meaning " |"; meaning = "" }' "$root/engine/RunResult.h")
if [ $print -eq 1 ]; then
    printf '%s\n' "$expected"
    exit 0
fi
# The first table with that heading, up to the blank line after it.
actual=$(awk '$0 == "| Exit code | Meaning |" { inside = 1 } inside && $0 == "" { exit } inside { print }' \
    "$root/README.md")
rows=$(printf '%s\n' "$expected" | wc -l)
[ "$rows" -gt 3 ] || { echo "FAIL: engine/RunResult.h names no run results" >&2; exit 1; }
if [ "$expected" != "$actual" ]; then
    diff -u <(printf '%s\n' "$actual") <(printf '%s\n' "$expected")
    echo "FAIL: README's exit codes are not the run results of engine/RunResult.h (above: - README, + header)" >&2
    exit 1
fi
echo "ok: README's table lists the $((rows - 2)) run results as engine/RunResult.h names them"
