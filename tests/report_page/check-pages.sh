#!/usr/bin/env bash
# xsltproc makes a page of every sample machine's expected report (tests/e2e/expected) and of the
# hand-made reports (reports/: findings of every severity, an empty findings section, hostile text); each
# page that has a reviewed one in expected/ is that page byte for byte, every hand-made report has one,
# and every reviewed page still has its report.
# Usage: check-pages.sh BUILD
set -uo pipefail
check='report-pages'
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
work=$1/report_page/pages
rm -rf "$work"
mkdir -p "$work"
for report in "${reports[@]}"; do
    name=$(basename "$report" .xml)
    if ! make_page "$report" "$work/$name.html"; then
        fail "xsltproc failed on $report"
    elif [ ! -f "$pages/expected/$name.html" ]; then
        [ "$(dirname "$report")" != "$pages/reports" ] || fail "no reviewed page expected/$name.html for $report"
    elif ! diff -u "$pages/expected/$name.html" "$work/$name.html"; then
        fail "the page of $report differs from expected/$name.html (above: - expected, + actual);" \
            "once reviewed: xsltproc report/Corvane.xsl ${report#"$root"/} > ${pages#"$root"/}/expected/$name.html"
    fi
done
for page in "$pages"/expected/*.html; do
    name=$(basename "$page" .html)
    [ -f "$root/tests/e2e/expected/$name.xml" ] || [ -f "$pages/reports/$name.xml" ] ||
        fail "expected/$name.html has no report"
done
[ $status -eq 0 ] && echo "ok ($check): ${#reports[@]} reports, each page made and those reviewed as reviewed"
exit $status
