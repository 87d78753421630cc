# shellcheck shell=bash disable=SC2034,SC2154
# Sourced by the page checks, after each sets check (its name): the stylesheet, the reports whose pages
# are checked, and small tools.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
stylesheet=$root/report/Corvane.xsl
pages=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Every sample machine's expected report, and the hand-made ones of this folder (findings, hostile text).
# Each hand-made report has a reviewed page in expected/, and so have most sample machines; a machine whose
# report takes no shape that those lack needs none, its page still made and checked as HTML and by MSXML.
reports=("$root"/tests/e2e/expected/*.xml "$pages"/reports/*.xml)
status=0
fail() {
    echo "FAIL ($check): $*" >&2
    status=1
}
# The page of report $1 into file $2, as Corvane and deploy/summarize.sh make it.
make_page() {
    xsltproc --nonet --novalid "$stylesheet" "$1" >"$2"
}
# The result of XPath $2 on HTML page $1.
xpath() {
    xmllint --html --xpath "$2" "$1" 2>/dev/null
}
