#!/usr/bin/env bash
# deploy/summarize.sh REPORTS FOLDER writes, beside FOLDER/summary.csv, FOLDER/index.html: one row for each
# report that is summed up (machine, user, outcome, the numbers of errors and warnings among its findings,
# a link to its page) and each page in FOLDER/pages, made from the report with report/Corvane.xsl. Folder
# names and reports are what a machine's user wrote: markup, quotes, ampersands, control characters, bytes
# that are not UTF-8 and characters that a link would read as its own ('#', '%', '?', ' ') are text in
# the index, never markup nor inside a link; a report that is left out gets no row and no page; nothing
# on the share is written, and no page is taken from it (a Corvane.html planted there, and one that is a
# link to a file of the summarising machine, are left as they are); FOLDER inside REPORTS is refused.
# Usage: check-index.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1/deploy/index
rm -rf "$work"
mkdir -p "$work/reports" "$work/private"
token=PRIVATE-TEXT-OF-THE-SUMMARISING-MACHINE
echo "$token" >"$work/private/secret.txt"
echo "$token" >"$work/private/victim.html"
# The sample machine's report without the names in its header, as a Corvane before them wrote it: its
# folder's name gives them. It has one warning among its findings.
complete=$work/complete.xml
sed -e '/^<Computer>/d' -e '/^<User>/d' "$root/tests/e2e/expected/complete.xml" >"$complete"
status=0
fail() {
    echo "FAIL (deploy-index): $*" >&2
    status=1
}

# Folder on the share | its report | the row that the index must show for it, in the summary's order
# ("" for a report that is left out): machine, user, outcome, errors, warnings. A report without names in
# its header takes them from its folder's name, split at the first '.', with control characters as '?'
# and bytes that are not UTF-8 left out.
cases=(
    "-rf.mallory|$complete|-rf|mallory|Completed|0|1"
    $'<script>alert(1)<\\script>\e[2J.o\'brien&amp;"x"|'"$complete"$'|<script>alert(1)<\\script>?[2J|o\'brien&amp;"x"|Completed|0|1'
    "PC 9#top%20?q=1.eve|$complete|PC 9#top%20?q=1|eve|Completed|0|1"
    "PC001.alice|$complete|PC001|alice|Completed|0|1"
    "PC042.jsmith|$root/tests/report_page/reports/findings.xml|PC042|jsmith|Failed in MAPI Configuration|2|1"
    "PC101.mallory|doctype|"
    "PC666.mallory|$root/tests/report_page/reports/hostile.xml|PC<script>alert(\"computer\")</script>|o'brien & \"sons\" <b>bold</b>|Completed|0|0"
    $'PC\xff10.frank|'"$complete|PC10|frank|Completed|0|1"
)
folders=()
expected=""
for row in "${cases[@]}"; do
    IFS='|' read -r folder report shown <<<"$row"
    mkdir "$work/reports/$folder"
    if [ "$report" = doctype ]; then
        sed "1a <!DOCTYPE Report [<!ENTITY x SYSTEM \"file://$work/private/secret.txt\">]>" "$complete" |
            sed 's|>Windows XP Service Pack 3</DataMember>|>\&x;</DataMember>|' >"$work/reports/$folder/Corvane.xml"
        continue
    fi
    cp "$report" "$work/reports/$folder/Corvane.xml"
    folders+=("$folder")
    expected+="$shown"$'\n'
done
# A page on the share with a script in it, and one that is a link to a file of this machine.
printf '<html><body><script>alert("planted")</script></body></html>\n' >"$work/reports/PC001.alice/Corvane.html"
ln -s "$work/private/victim.html" "$work/reports/PC 9#top%20?q=1.eve/Corvane.html"
state() { (cd "$work" && find reports private -printf '%p %y %s %l\n' | LC_ALL=C sort && cat private/*); }
before=$(state)

out=$work/summary
"$root/deploy/summarize.sh" "$work/reports" "$out" >"$work/stdout" 2>"$work/stderr"
code=$?
[ $code -eq 0 ] || fail "summarize.sh ended with $code: $(cat -v "$work/stderr")"
[ ! -s "$work/stdout" ] || fail "summarize.sh wrote to its standard output with FOLDER: $(head -c 200 "$work/stdout" | cat -v)"
[ "$(state)" = "$before" ] || fail "the share or this machine's files changed"
grep -rqF "$token" "$out" && fail "the text of a file of the summarising machine reached $out"
grep -rqF 'alert("planted")' "$out" && fail "the page planted on the share reached $out"
grep -q 'PC101.mallory/Corvane.xml holds a document type declaration; left out' "$work/stderr" ||
    fail "the report with a document type declaration was not named as left out: $(cat -v "$work/stderr")"
[ "$(wc -l <"$out/summary.csv")" -eq $((${#folders[@]} + 1)) ] || fail "summary.csv has not ${#folders[@]} reports"

index=$out/index.html
xpath() { xmllint --html --xpath "$1" "$index" 2>/dev/null; }
said=$(xmllint --html --noout "$index" 2>&1)
[ -z "$said" ] || fail "xmllint --html says: $said"
tidied=""
if command -v tidy >/dev/null; then
    said=$(tidy -q -e "$index" 2>&1) || fail "tidy says: $said"
else
    tidied=" (tidy is not installed: not checked with it)"
fi
count=$(xpath 'count(//*[not(self::html or self::head or self::meta or self::title or self::style or self::body
    or self::h1 or self::p or self::table or self::tbody or self::tr or self::th or self::td or self::span or self::a)])')
[ "$count" = 0 ] || fail "$count elements in the index that it does not make itself"
count=$(xpath 'count(//@*[not(name() = "class" or name() = "summary" or name() = "lang" or name() = "href"
    or name() = "http-equiv" or name() = "content" or name() = "type")])')
[ "$count" = 0 ] || fail "$count attributes in the index that it does not make itself"
[ "$(xpath 'string(//p)')" = "${#folders[@]} reports, by folder; 1 left out (summarize.sh named each and why)." ] ||
    fail "the index says: $(xpath 'string(//p)')"

shown=""
rows=$(xpath 'count(//tr[td])')
[ "$rows" = ${#folders[@]} ] || fail "$rows rows in the index, not ${#folders[@]}"
for i in $(seq 1 "$rows"); do
    row="(//tr[td])[$i]"
    for cell in 1 2 3 4 5; do
        shown+=$(xpath "string($row/td[$cell])")
        [ $cell -eq 5 ] && shown+=$'\n' || shown+='|'
    done
    link=$(xpath "string($row/td[6]/a/@href)")
    if [[ ! $link =~ ^pages/[0-9]{3}-[A-Za-z0-9._-]+\.html$ ]] || [ ! -f "$out/$link" ]; then
        fail "row $i links to \"$link\", not to a page of its own in pages/"
    elif ! xsltproc "$root/report/Corvane.xsl" "$work/reports/${folders[i - 1]}/Corvane.xml" |
        cmp -s - "$out/$link"; then
        fail "row $i's page $link is not the page of $(printf '%q' "${folders[i - 1]}")"
    fi
done
[ "$shown" = "$expected" ] || fail "the index's rows are"$'\n'"$(cat -v <<<"$shown")"$'\n'"not"$'\n'"$(cat -v <<<"$expected")"
[ "$(find "$out/pages" -type f | wc -l)" -eq ${#folders[@]} ] || fail "pages/ holds other pages than the rows'"

# The summary is never written into the share, where its users write.
"$root/deploy/summarize.sh" "$work/reports" "$work/reports/summary" >/dev/null 2>"$work/stderr"
code=$?
[ $code -eq 2 ] && [ ! -e "$work/reports/summary" ] ||
    fail "a FOLDER inside REPORTS was not refused (exit code $code, $(cat "$work/stderr"))"
[ $status -eq 0 ] && echo "ok (deploy-index): ${#folders[@]} rows of hostile and plain names as text, each linking to its page made here$tidied"
exit $status
