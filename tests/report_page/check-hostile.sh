#!/usr/bin/env bash
# Text from the machine is shown as text: a report (reports/hostile.xml) whose header, section titles,
# registry key and value names, types and data, structure titles and findings hold markup, <script>,
# quotes, ampersands, entity-like text and control characters gives a page without one element of
# theirs, and shows each of them as the report has it: the control characters (and the marks that turn
# a line around) as <U+XXXX>. Only a whole error marker is highlighted.
# Usage: check-hostile.sh BUILD
set -uo pipefail
check='report-page-hostile'
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
work=$1/report_page/hostile
rm -rf "$work"
mkdir -p "$work"
# Nothing written is ever taken as markup, whatever a processor would make of it.
grep -q 'disable-output-escaping' "$stylesheet" && fail "the stylesheet turns escaping off somewhere"
page=$work/hostile.html
make_page "$pages/reports/hostile.xml" "$page" || {
    echo "FAIL ($check): xsltproc failed" >&2
    exit 1
}

# XPath of the element that shows it | the text that it must show, exactly.
cases=(
    "//title|Corvane report: PC<script>alert(\"computer\")</script>"
    "//tr[th='Computer']/td|PC<script>alert(\"computer\")</script>"
    "//tr[th='User']/td|o'brien & \"sons\" <b>bold</b>"
    "//tr[th='Program']/td|<img src=x onerror=alert(1)>: what it saw of MAPI is what mail programs of its bitness see"
    "//tr[th='Completed']/td|</td></tr></table><iframe src=\"http://x.test/\">"
    "//h2[@id='section-1']|</h2><script>alert('title')</script>"
    "//a[@href='#section-1']|</h2><script>alert('title')</script>"
    "//h2[@id='section-1']/following-sibling::div[1]/p|OSWindows <XP> & \"friends\""
    "//tr[th='Suite']/td|<style>body{background:url(http://x.test/a.png)}</style>"
    "//tr[th='System Language']/td|<a href=\"http://x.test/\">English</a> en_US"
    "//tr[th='Windows Folder']/td|C:\\windows<U+0009>tab<U+000A>line<U+000D>return<U+007F>delete<U+0085>next line<U+009B>csi"
    "//tr[th='<Name with=\"markup\">']/td|C:\\<U+202E>gnp.exe"
    "//div[@class='block']/div/p[@class='block-title']|Subkey\"><img src=x onerror=alert(2)>"
    "//td[.='</td><td>']/following-sibling::td[2]|</td></tr></table><script src=\"http://x.test/s.js\"></script>"
    "//td[.='amp']/following-sibling::td[2]|&amp; &lt;not an entity&gt; &#60; &nbsp;"
    "//td[.='comment']/following-sibling::td[2]|<!-- --> ]]> <![CDATA[x]]> <?php ?>"
    "//td[.='quotes']/following-sibling::td[2]|'single' \"double\" \`back\`"
    "//td[.='not a marker']/following-sibling::td[2]|##ERROR:<b>0x8007000e</b>##"
    "//td[.='javascript']/following-sibling::td[2]|javascript:alert(3)"
    "//td[.='(Default)']/following-sibling::td[1]|<REG_SZ>"
    "//td[.='(Default)']/following-sibling::td[2]|<b>Outlook</b>"
    "//p[@class='block-title'][span='script']/following-sibling::p|alert(\"element\")"
    "//div[contains(@class, 'finding')]/p[1]|<script> <script>alert(\"message\")</script> <R1>"
    "//p[@class='advice']|What to do: Open <a href=\"http://x.test/\">this</a> & that"
    "//table[@class='facts']//tr|<i>fact</i>\"><img src=x>"
)
for row in "${cases[@]}"; do
    where=${row%%|*}
    want=${row#*|}
    got=$(xpath "$page" "string($where)")
    [ "$got" = "$want" ] || fail "$where shows \"$got\", not \"$want\""
done
count=$(xpath "$page" 'count(//script | //img | //iframe | //style[position() > 1] | //b | //i | //u | //a[not(starts-with(@href, "#"))])')
[ "$count" = 0 ] || fail "$count elements of the report's text became elements of the page"
# Corvane's markers, and the registry value that a user wrote as one, are highlighted; nothing else is.
markers=$(xpath "$page" "count(//span[@class='error-code'])")
[ "$markers" = 5 ] || fail "$markers highlighted error markers, not 5"
names=$(xpath "$page" "count(//span[@class='error-name'])")
[ "$names" = 4 ] || fail "$names named error codes, not 4 (0x12345678 has no name)"
[ $status -eq 0 ] && echo "ok ($check): ${#cases[@]} hostile texts shown as text, no element of theirs in the page"
exit $status
