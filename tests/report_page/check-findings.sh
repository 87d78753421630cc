#!/usr/bin/env bash
# The findings lead the page, though the report has them last: errors, then warnings, then information,
# each in the report's order, coloured by severity (its class) and with its advice and facts; a findings
# section with no finding says "No problems found."; a report without one (of a Corvane before the
# findings: complete.xml without them and without the header's names) says that it holds none. The outcome
# of a failed run names the section it stopped in, never the inventory or the findings.
# Usage: check-findings.sh BUILD
set -uo pipefail
check='report-page-findings'
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
work=$1/report_page/findings
rm -rf "$work"
mkdir -p "$work"
for name in findings no-findings; do
    make_page "$pages/reports/$name.xml" "$work/$name.html" || fail "xsltproc failed on reports/$name.xml"
done
perl -0pe 's/^<Computer>[^\n]*\n<User>[^\n]*\n//m; s/<ReportSection id="Inventory".*?<\/ReportSection><ReportSection id="Findings".*?<\/ReportSection>//s' \
    "$root/tests/e2e/expected/complete.xml" >"$work/earlier.xml"
make_page "$work/earlier.xml" "$work/complete.html" || fail "xsltproc failed on complete.xml without its findings"
make_page "$root/tests/e2e/expected/m365-wow64.xml" "$work/m365-wow64.html" || fail "xsltproc failed on m365-wow64.xml"

page=$work/findings.html
expect() {
    local got
    got=$(xpath "$1" "$2")
    [ "$got" = "$3" ] || fail "$(basename "$1"): $2 is \"$got\", not \"$3\""
}
# The findings' heading is the page's first, before every section's.
expect "$page" "string(//h2[1]/@id)" findings
expect "$page" "count(//h2)" 4
# Class, severity, rule and advice of each finding in the order shown.
expected="finding sev-error|Error|R1|What to do: Install or repair Outlook; its setup registers it below HKLM\\SOFTWARE\\Clients\\Mail.
finding sev-error|Error|R3|What to do: Repair Office (Control Panel, Programs and Features, Microsoft Office, Change, Repair).
finding sev-warning|Warning|R5|What to do: Make Outlook the default mail program (Control Panel, Default Programs), then run Corvane again.
finding sev-information|Information|R9|"
shown=""
count=$(xpath "$page" "count(//div[contains(@class, 'finding')])")
for i in $(seq 1 "$count"); do
    div="(//div[contains(@class, 'finding')])[$i]"
    shown+="$(xpath "$page" "string($div/@class)")|$(xpath "$page" "string($div//span[@class='severity'])")"
    shown+="|$(xpath "$page" "string($div//span[@class='rule'])")|$(xpath "$page" "string($div/p[@class='advice'])")"$'\n'
done
[ "${shown%$'\n'}" = "$expected" ] || fail "the findings are shown as"$'\n'"$shown"
expect "$page" "string(//p[@class='count'])" "Errors: 2, warnings: 1, information: 1."
# A fact that is an error marker is highlighted and named.
expect "$page" "string((//div[contains(@class, 'finding')])[2]//tr[th='Version information']/td/span[@class='error-name'])" \
    "ERROR_RESOURCE_DATA_NOT_FOUND: the file has no resources (no version information)"
# The run failed in MAPI Configuration, the last section but the findings.
expect "$page" "string(//tr[th='Outcome']/td)" \
    "Failed: a step of the test failed in MAPI Configuration; the sections below hold what was found up to there."
expect "$page" "string(//tr[th='Computer']/td)" PC042
expect "$page" "string(//tr[th='User']/td)" jsmith

page=$work/no-findings.html
expect "$page" "string(//h2[1]/following-sibling::p[1])" "No problems found."
expect "$page" "count(//div[contains(@class, 'finding')])" 0
expect "$page" "string(//tr[th='Outcome']/td/span)" Stopped
page=$work/complete.html
expect "$page" "string(//h2[1]/following-sibling::p[1])" "This report holds no findings."
expect "$page" "count(//tr[th='Computer'] | //tr[th='User'])" 0
# A run that failed in MAPI Configuration, with the inventory and the findings after it.
page=$work/m365-wow64.html
expect "$page" "string(//tr[th='Outcome']/td)" \
    "Failed: a step of the test failed in MAPI Configuration; the sections below hold what was found up to there."
expect "$page" "string(//h2[last()])" Inventory
expect "$page" "string(//div[contains(@class, 'finding')][1]//span[@class='rule'])" R1
[ $status -eq 0 ] && echo "ok ($check): findings first and by severity, an empty section and a report without one"
exit $status
