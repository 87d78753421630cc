#!/usr/bin/env bash
# One CSV line for each report on the reports share, laid out as "/run /out:\\server\reports$\%COMPUTERNAME%.%USERNAME%"
# leaves it (REPORTS/MACHINE.USER/Corvane.xml, one folder deep), after a line of column names; sorted by folder.
# Every report and every folder's name is what one machine's user could have written: a report that Corvane
# cannot have written is named on standard error with the reason, and left out; the others still count.
#
# With FOLDER, the CSV is FOLDER/summary.csv, and beside it FOLDER/index.html, a page with one row for each
# report (machine, user, outcome, the numbers of errors and warnings among its findings, and a link to its
# page), and FOLDER/pages/, each report's page made with report/Corvane.xsl, as Corvane makes Corvane.html.
# The pages are made here from the report that was checked, never taken from the share, nor written there:
# a Corvane.html on the share is whatever that folder's user put there (script included) and would open
# from the index in the summarising administrator's browser, and the folder is that user's, who could
# have put a link where a page would be written. FOLDER may not be inside REPORTS; pages/ is made anew.
# Usage: summarize.sh REPORTS > summary.csv
#        summarize.sh REPORTS FOLDER
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage() {
    printf 'usage: summarize.sh REPORTS > summary.csv\n       summarize.sh REPORTS FOLDER\n' >&2
    exit 2
}
{ [ $# -eq 1 ] || [ $# -eq 2 ]; } && [ -d "$1" ] || usage
reports=$1
out=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Standard input for the console: control characters (C0, DEL, and C1 in UTF-8), which could drive the
# terminal, each as '?'.
shown() {
    LC_ALL=C sed -e 's/[\x01-\x09\x0b-\x1f\x7f]/?/g' -e 's/\xc2[\x80-\x9f]/?/g'
}
# FOLDER is the summarising administrator's own: never the share, nor a folder below it.
if [ -n "$out" ]; then
    out=$(realpath -m -- "$out")
    shared=$(realpath -- "$reports")
    if [ "$out" = "$shared" ] || [[ $out == "$shared"/* ]]; then
        printf 'summarize: %s is inside %s, where users write; the summary goes elsewhere\n' "$2" "$1" | shown >&2
        exit 2
    fi
    mkdir -p -- "$out"
fi

omitted=0
left_out() {
    printf 'summarize: %s %s; left out\n' "${1//$'\n'/?}" "$2" | shown >&2
    omitted=$((omitted + 1))
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

# The index's row of the report whose copy is $copy and whose file on the share is $1, and its page in pages/:
# "NNN-NAME.html", NNN its row and NAME its folder's name with every character but letters, digits, '.',
# '_' and '-' made '_'.
index_row() {
    local folder=${1%/*} name page
    folder=${folder##*/}
    name=$(printf '%s' "$folder" | LC_ALL=C tr -c 'A-Za-z0-9._-' '_' | cut -c1-64)
    page=pages/$(printf '%03d' $((rows + 1)))-$name.html
    # The row without the document type declaration that the stylesheet puts before all it writes.
    if ! xsltproc --nonet --novalid "$stylesheet" "$copy" >"$work/$page" ||
        ! xsltproc --nonet --novalid --param index-link "'$page'" --param index-folder "$(literal "$folder")" \
            "$stylesheet" "$copy" >"$work/row" || [ "$(head -n 1 "$work/row")" != "$doctype" ]; then
        rm -f "$work/$page"
        return 1
    fi
    tail -n +2 "$work/row" >>"$work/rows"
    rows=$((rows + 1))
}
stylesheet=$here/../report/Corvane.xsl
doctype='<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01//EN">'
rows=0
if [ -n "$out" ]; then
    mkdir "$work/pages"
    : >"$work/rows"
    exec 3>"$work/summary.csv"
else
    exec 3>&1
fi

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
        "$here/corvane-csv.xsl" "$copy" 2>"$work/errors" >&3; then
        header=no
        if [ -n "$out" ] && ! index_row "$report" 2>"$work/errors"; then
            errors=$(cat "$work/errors")
            printf '%s\n' "${errors//"$copy"/"$report"}" | shown >&2
            printf 'summarize: %s has no page in the index\n' "${report//$'\n'/?}" | shown >&2
        fi
    else
        errors=$(cat "$work/errors")
        printf '%s\n' "${errors//"$copy"/"$report"}" | shown >&2
        left_out "$report" "is no readable report"
    fi
done < <(find "$reports" -mindepth 2 -maxdepth 2 -name Corvane.xml -print0 2>"$work/unlisted" | LC_ALL=C sort -z)
# Folders that could not be listed, as find names them.
shown <"$work/unlisted" >&2
omitted=$((omitted + $(wc -l <"$work/unlisted")))
exec 3>&-
if [ $header = yes ]; then
    printf 'summarize: no readable MACHINE.USER/Corvane.xml below %s\n' "$reports" | shown >&2
    exit 1
fi
[ -n "$out" ] || exit 0

# The index: a page of its own, whose every text from a machine comes through the stylesheet.
{
    cat <<'HEAD'
<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01//EN">
<html lang="en"><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8"><title>Corvane reports</title><style type="text/css">
body { margin: 12px 24px; color: #1b1b1b; background: #fff; font-family: "Segoe UI", Tahoma, Verdana, Arial, sans-serif; font-size: 10pt; }
h1 { margin: 0 0 6px 0; color: #003a70; font-size: 18pt; font-weight: normal; }
table { border-collapse: collapse; }
th, td { padding: 3px 10px; border-bottom: 1px solid #e4e8ec; text-align: left; vertical-align: top; }
th { border-bottom: 1px solid #c7d3e0; background: #eef2f6; color: #333; font-weight: normal; }
.number { text-align: right; }
.errors { color: #fff; background: #c42b1c; font-weight: bold; }
.warnings { background: #fff4ce; color: #8a5a00; font-weight: bold; }
.completed { color: #107c10; font-weight: bold; }
.stopped { color: #8a5a00; font-weight: bold; }
.failed { color: #c42b1c; font-weight: bold; }
.unknown { color: #555; font-weight: bold; }
.empty, .unseen { color: #888; font-style: italic; }
.error-code, .error-name { color: #a4262c; }
@media print { body { margin: 0; font-size: 9pt; } a { color: #000; } .errors, .warnings { -webkit-print-color-adjust: exact; print-color-adjust: exact; } }
</style></head><body>
<h1>Corvane reports</h1>
HEAD
    printf '<p>%d reports, by folder; %d left out (summarize.sh named each and why).</p>\n' $rows $omitted
    printf '<table summary="One row for each report"><tr><th>Machine</th><th>User</th><th>Outcome</th>'
    printf '<th class="number">Errors</th><th class="number">Warnings</th><th>Page</th></tr>\n'
    cat "$work/rows"
    printf '</table>\n</body></html>\n'
} >"$work/index.html"
rm -rf -- "$out/pages"
mv -- "$work/pages" "$out/pages"
mv -- "$work/summary.csv" "$out/summary.csv"
mv -- "$work/index.html" "$out/index.html"
