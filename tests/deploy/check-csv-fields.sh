#!/usr/bin/env bash
# What reaches the summary's CSV from a machine is data, never a formula: a field that a spreadsheet would
# take for one (its first character '=', '+', '-', '@', a tab or a carriage return) starts with an
# apostrophe inside its quotes, whether it comes from a folder's name, the report's header or its body;
# other fields are left as they are. The error code is taken only from a marker that Corvane writes
# ("##ERROR:0x" and eight hex digits, "##", the whole text of a structure or member), never from a
# registry value of the user's, in a section of the test's steps: the section a failed run stopped in and
# its first error code are never the inventory's nor the findings'. The ids of the findings are data too.
# Each case is one small failed report in a folder of its own.
# Usage: check-csv-fields.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1/deploy/csv-fields
rm -rf "$work"
mkdir -p "$work/reports"

# A report that failed in its MAPI step: header names ($1, XML), system name and version ($2, $3), a
# registry value of the user's ($4), the text of the MAPI library's version structure ($5), and the
# sections after the steps' (${6:-}, XML).
report() {
    cat <<REPORT
<?xml version='1.0' encoding='utf-8' ?>
<Report Type="CompatibilityTest" Version="2.0">
<ReportHeader>
<Title>Corvane</Title>$1
<Process>
<StartedAt>2024-05-06 07:08:09</StartedAt>
<FailedAt>2024-05-06 07:08:10</FailedAt>
</Process><CreatedAt>2024-05-06 07:08:10</CreatedAt>
</ReportHeader><ReportData>
<ReportSection id="SystemInfo" Title="System Information">
<DataStruct Name="os_info" Title="System">
<DataMember Name="os_name">$2</DataMember>
<DataMember Name="os_version">$3</DataMember>
</DataStruct></ReportSection><ReportSection id="MailClients" Title="Mail Clients Configuration">
<DataList Type="RegHive" Name="HKCU\Software\Microsoft\Office\11.0\Outlook">
<DataItem Type="REG_SZ" Name="Note">$4</DataItem>
</DataList></ReportSection><ReportSection id="MAPIConfig" Title="MAPI Configuration">
<DataStruct Type="VersionInfo" ModulePath="C:\windows\system32\MAPISTUB.DLL">$5</DataStruct>
</ReportSection>${6:-}</ReportData></Report>
REPORT
}

# One case: folder, header names, system, version, registry value of the user's, the MAPI structure's text,
# the CSV line that the report must give, and the sections after the steps'.
folders=()
lines=()
row() {
    folders+=("$1")
    lines+=("$7")
    mkdir "$work/reports/$1"
    report "$2" "$3" "$4" "$5" "$6" "${8:-}" >"$work/reports/$1/Corvane.xml"
}
tail='"","","","","MAPIConfig"'
# A report without findings has neither their numbers nor their ids.
none=',"","",""'
row '=HYPERLINK("x?"&A1).bob' '' 'Windows NT 10.0' '10.0.18362 ' '' '' \
    "\"'=HYPERLINK(\"\"x?\"\"&A1)\",\"bob\",\"failed\",\"Windows NT 10.0\",\"10.0.18362 \",$tail,\"\"$none"
row "PC2.+cmd|'x\"y'!A0" '' 'Windows XP' '5.1.2600 SP3' '' '##ERROR:0x80070002##' \
    "\"PC2\",\"'+cmd|'x\"\"y'!A0\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"0x80070002\"$none"
row '-2+3.@SUM(1+1)' '' 'Windows XP' '5.1.2600 SP3' '' '' \
    "\"'-2+3\",\"'@SUM(1+1)\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"\"$none"
row 'PC4.dave' '' 'Windows XP' '5.1.2600 SP3' '##ERROR:=HYPERLINK("http://x.test","open")##' '##ERROR:0x80070002##' \
    "\"PC4\",\"dave\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"0x80070002\"$none"
row 'PC5.erin' '' 'Windows XP' '5.1.2600 SP3' '##ERROR:0x00000000##' '' \
    "\"PC5\",\"erin\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"\"$none"
row 'PC6.frank' '' '&#9;=1+1' '&#13;-1' '' '' \
    "\"PC6\",\"frank\",\"failed\",\"'"$'\t'"=1+1\",\"'"$'\r'"-1\",$tail,\"\"$none"
row 'PC7.grace' '<Computer>+PC7</Computer><User>@grace</User>' 'Windows XP' '5.1.2600 SP3' '' '' \
    "\"'+PC7\",\"'@grace\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"\"$none"
row 'PC8.john.smith' '<Computer></Computer>' 'Windows = XP' '-' '-1' '##ERROR:0x800700021##' \
    "\"PC8\",\"john.smith\",\"failed\",\"Windows = XP\",\"'-\",$tail,\"\"$none"
row 'PC9.ivan' '' 'Windows XP' '5.1.2600 SP3' '' '##ERROR:0x8007000e##' \
    "\"PC9\",\"ivan\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"\"$none"
row 'PC10.judy' '' 'Windows XP' '5.1.2600 SP3' '' '##ERROR:0x80070583##&#10;' \
    "\"PC10\",\"judy\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"0x80070583\"$none"

# An inventory whose structure holds a marker and findings whose id would start a formula.
row 'PC11.kim' '' 'Windows XP' '5.1.2600 SP3' '' '' \
    "\"PC11\",\"kim\",\"failed\",\"Windows XP\",\"5.1.2600 SP3\",$tail,\"\",\"1\",\"1\",\"'=R1 R9\"" \
    '<ReportSection id="Inventory" Title="Inventory">
<DataStruct Type="Inventory" Name="ClickToRun">##ERROR:0x80070005##</DataStruct>
</ReportSection><ReportSection id="Findings" Title="Findings">
<Finding Id="=R1" Severity="Error">
<Message>m</Message>
<Advice>a</Advice>
</Finding><Finding Id="R9" Severity="Warning">
<Message>m</Message>
<Advice>a</Advice>
</Finding></ReportSection>'

"$root/deploy/summarize.sh" "$work/reports" >"$work/summary.csv" 2>"$work/stderr"
code=$?
status=0
fail() {
    echo "FAIL (deploy-csv-fields): $*" >&2
    status=1
}
[ $code -eq 0 ] || fail "summarize.sh ended with $code: $(cat -v "$work/stderr")"
for i in "${!folders[@]}"; do
    grep -qxF -- "${lines[i]}" "$work/summary.csv" || fail "${folders[i]}: no line $(cat -v <<<"${lines[i]}")"
done
count=$(($(wc -l <"$work/summary.csv") - 1))
[ $count -eq ${#folders[@]} ] || fail "$count lines in the summary, not ${#folders[@]}"
[ $status -eq 0 ] || { echo "the summary was:"; cat -v "$work/summary.csv"; } >&2
[ $status -eq 0 ] && echo "ok (deploy-csv-fields): ${#folders[@]} hostile and plain reports, no field a formula, error codes Corvane's own"
exit $status
