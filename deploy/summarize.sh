#!/usr/bin/env bash
# One CSV line for each report on the reports share, laid out as "/run /out:\\server\reports$\%COMPUTERNAME%.%USERNAME%"
# leaves it (REPORTS/MACHINE.USER/Corvane.xml, one folder deep), after a line of column names; sorted by folder.
# Every report and every folder's name is what one machine's user could have written: a report that Corvane
# cannot have written is named on standard error with the reason, and left out; the others still count.
# Usage: summarize.sh REPORTS > summary.csv
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ $# -eq 1 ] && [ -d "$1" ] || {
    echo "usage: summarize.sh REPORTS > summary.csv" >&2
    exit 2
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Standard input for the console: control characters (C0, DEL, and C1 in UTF-8), which could drive the
# terminal, each as '?'.
shown() {
    LC_ALL=C sed -e 's/[\x01-\x09\x0b-\x1f\x7f]/?/g' -e 's/\xc2[\x80-\x9f]/?/g'
}
left_out() {
    printf 'summarize: %s %s; left out\n' "${1//$'\n'/?}" "$2" | shown >&2
}

# Why Corvane cannot have written the report in file $1, or nothing. It writes UTF-8 behind an XML
# declaration and never a document type declaration. One could declare entities that read files of the
# machine that makes the summary (xsltproc reads a local file even with --nonet), and one in another
# encoding (UTF-16, UTF-7) would not show itself in the file's bytes.
refusal() {
    local LC_ALL=C first
    local declaration="^<\?xml[[:space:]]+version=(\"[^\"]*\"|'[^']*')([[:space:]]+encoding=(\"[Uu][Tt][Ff]-8\"|'[Uu][Tt][Ff]-8'))?([[:space:]]+standalone=(\"[^\"]*\"|'[^']*'))?[[:space:]]*\?>"
    first=$(head -c 200 "$1" | head -n 1 | tr -d '\000')
    if [[ ! $first =~ ^'<?xml'[[:space:]] ]]; then
        echo "does not begin with an XML declaration"
    elif [[ ! $first =~ $declaration ]]; then
        echo "is not in UTF-8"
    elif grep -a -q -i -e '<!DOCTYPE' -e '<!ENTITY' "$1"; then
        echo "holds a document type declaration"
    fi
}

# Text $1 as an XPath literal for xsltproc's --param: --stringparam takes no value with both kinds of quote,
# and no XPath literal holds a control character (each made '?') or bytes that are not UTF-8 (left out).
literal() {
    local text q="'"
    text=$(printf '%s' "$1" | { iconv -f UTF-8 -t UTF-8 -c || true; } | LC_ALL=C tr '\001-\037\177' '?')
    printf "concat('', '%s')" "${text//$q/$q, \"$q\", $q}"
}

header=yes
while IFS= read -r -d '' report; do
    # Corvane.xml itself, not a link to another file: a link could name one of this machine's.
    if [ -L "$report" ] || [ ! -f "$report" ]; then
        left_out "$report" "is not a plain file"
        continue
    fi
    # What is checked is what is summed up: a copy, made without following a link put in its place since.
    copy=$work/Corvane.xml
    if ! dd if="$report" of="$copy" iflag=nofollow status=none 2>/dev/null; then
        left_out "$report" "cannot be read"
        continue
    fi
    why=$(refusal "$copy")
    if [ -n "$why" ]; then
        left_out "$report" "$why"
        continue
    fi
    # A report cut short (a share that went away mid-save) is no readable report.
    if xsltproc --nonet --novalid --param path "$(literal "$report")" --stringparam header "$header" \
        "$here/corvane-csv.xsl" "$copy" 2>"$work/errors"; then
        header=no
    else
        errors=$(cat "$work/errors")
        printf '%s\n' "${errors//"$copy"/"$report"}" | shown >&2
        left_out "$report" "is no readable report"
    fi
done < <(find "$1" -mindepth 2 -maxdepth 2 -name Corvane.xml -print0 2>"$work/unlisted" | LC_ALL=C sort -z)
# Folders that could not be listed, as find names them.
shown <"$work/unlisted" >&2
if [ $header = yes ]; then
    printf 'summarize: no readable MACHINE.USER/Corvane.xml below %s\n' "$1" | shown >&2
    exit 1
fi
