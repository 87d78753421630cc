#!/usr/bin/env bash
# Reports that a machine's user has planted on the reports share, beside good ones: deploy/summarize.sh
# must leave each out, name it (and why) on standard error without letting its name drive the terminal,
# and sum up the good ones, and no text of the summarising machine's own files may reach the CSV or the
# console. Corvane writes UTF-8 behind an XML declaration and never a document type declaration, whose
# entities are what would read those files; a link would read them directly.
# Usage: check-planted.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1/deploy/planted
rm -rf "$work"
mkdir -p "$work/reports" "$work/private"
secret=$work/private/secret.txt
token=PRIVATE-TEXT-OF-THE-SUMMARISING-MACHINE
echo "$token" >"$secret"
# The sample machine's report without the names in its header: the summary takes them from its folder.
good=$work/complete.xml
sed -e '/^<Computer>/d' -e '/^<User>/d' "$root/tests/e2e/expected/complete.xml" >"$good"
# A good report, with the secret's token as its system's name: readable, but only through a link.
sed "s|>Windows XP Service Pack 3</DataMember>|>$token</DataMember>|" "$good" >"$work/private/report.xml"

# A good report whose system name is an entity reference, after a document type declaration ($1).
with_doctype() {
    sed -e "1a $1" -e 's|>Windows XP Service Pack 3</DataMember>|>\&x;</DataMember>|' "$good"
}
external_entity() { with_doctype "<!DOCTYPE Report [<!ENTITY x SYSTEM \"file://$secret\">]>"; }
parameter_entity() {
    echo "<!ENTITY x SYSTEM \"file://$secret\">" >"$work/private/entities.dtd"
    with_doctype "<!DOCTYPE Report [<!ENTITY % p SYSTEM \"file://$work/private/entities.dtd\"> %p;]>"
}
external_subset() { with_doctype "<!DOCTYPE Report SYSTEM \"file://$work/private/entities.dtd\">"; }
# The same report in UTF-7, where no '<' is written as itself, or in UTF-16 behind its byte order mark.
utf7() {
    echo '<?xml version="1.0" encoding="UTF-7"?>'
    external_entity | sed 1d | iconv -f UTF-8 -t UTF-7
}
utf16() { external_entity | sed 's/encoding=.utf-8./encoding="UTF-16"/' | iconv -f UTF-8 -t UTF-16; }
utf8_bom() { printf '\357\273\277'; external_entity; }
# Corvane.xml as a link to a file outside the share, and as a folder.
link() { ln -s "$work/private/report.xml" "$2"; }
folder() { mkdir "$2"; }
# XInclude is no markup that a summary of reports follows: the report is summed up, the file not read.
xinclude() {
    sed "s|<Title>Corvane</Title>|<Title xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"file://$secret\" parse=\"text\"/></Title>|" "$good"
}

# Folder on the share | how its Corvane.xml is made | what standard error must say of it ("" for a report
# that is summed up).
cases=(
    "PC101.mallory|external_entity|document type declaration"
    "PC102.mallory|parameter_entity|document type declaration"
    "PC103.mallory|external_subset|document type declaration"
    "PC104.mallory|utf7|UTF-8"
    "PC105.mallory|utf16|XML declaration"
    "PC106.mallory|utf8_bom|XML declaration"
    "PC107.mallory|link|not a plain file"
    "PC108.mallory|folder|not a plain file"
    "PC109.mallory|xinclude|"
    $'PC110\e]2;owned\a\e[2J.mallory|external_entity|document type declaration'
)
for row in "${cases[@]}"; do
    IFS='|' read -r name make reason <<<"$row"
    mkdir "$work/reports/$name"
    if [ "$make" = link ] || [ "$make" = folder ]; then
        "$make" "" "$work/reports/$name/Corvane.xml"
    else
        "$make" >"$work/reports/$name/Corvane.xml"
    fi
done
for name in PC001.alice PC002.bob; do
    mkdir "$work/reports/$name"
    cp "$good" "$work/reports/$name/Corvane.xml"
done

"$root/deploy/summarize.sh" "$work/reports" >"$work/summary.csv" 2>"$work/stderr"
code=$?
status=0
fail() {
    echo "FAIL (deploy-planted): $*" >&2
    status=1
}
[ $code -eq 0 ] || fail "summarize.sh ended with $code"
if grep -q "$token" "$work/summary.csv" "$work/stderr"; then
    fail "the text of a file of the summarising machine reached the summary:"
    grep -n "$token" "$work/summary.csv" "$work/stderr" | cat -v >&2
fi
named=yes
for row in "${cases[@]}"; do
    IFS='|' read -r name make reason <<<"$row"
    shown=$(printf '%s' "$name" | LC_ALL=C tr '\000-\037\177' '?')
    message=$(grep -F "/$shown/Corvane.xml" "$work/stderr")
    if [ -z "$reason" ]; then
        [ -z "$message" ] || fail "$make: a report to sum up was left out: $message"
        grep -q "^\"${name%%.*}\"," "$work/summary.csv" || fail "$make: no line for $name"
    elif [ -z "$message" ] || [[ $message != *"$reason"* ]]; then
        fail "$make: standard error does not name $shown/Corvane.xml with \"$reason\""
        named=no
    fi
done
[ $named = yes ] || { echo "standard error was:"; cat -v "$work/stderr"; } >&2
if LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$work/stderr"; then
    fail "standard error holds control characters from a folder's name:"
    cat -v "$work/stderr" >&2
fi
lines=$(grep -c '^"PC' "$work/summary.csv")
[ "$lines" -eq 3 ] || fail "$lines lines in the summary, not 3 (two good reports and the one with an XInclude)"
[ $status -eq 0 ] && echo "ok (deploy-planted): ${#cases[@]} planted reports left out or made harmless, 2 good ones summed up"
exit $status
