#!/usr/bin/env bash
# MSXML 3's transformNode, which Corvane uses to write Corvane.html, gives xsltproc's page of every report
# that the page checks take but for two bytes' worth: the charset that MSXML names in the <meta> it adds to the head of
# a string result (UTF-16, where xsltproc names the stylesheet's utf-8) and the line end that xsltproc
# writes after the page. Run by Wine's cscript in a prefix of its own; Wine's msxml3 is built on libxslt,
# so this shows that the stylesheet keeps to what MSXML's interface takes (white space dropped from the
# stylesheet as MSXML loads it, no extension), not how Windows' own MSXML serialises a page.
# Usage: check-msxml.sh BUILD
set -uo pipefail
check='report-page-msxml'
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(cd "$1" && pwd)
work=$build/report_page/msxml
rm -rf "$work"
mkdir -p "$work"
command -v wineserver >/dev/null || {
    echo "SKIPPED ($check): Wine is not installed (scripts/install-prerequisites.sh installs it)"
    exit 77
}
. "$root/scripts/target.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=$build/report_page/wineprefix
if ! "$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/wineprefix" >"$work/prefix.log" 2>&1; then
    echo "FAIL ($check): no Wine prefix could be made: $(tail -n 3 "$work/prefix.log")" >&2
    exit 1
fi
windows() { printf 'Z:%s' "${1//\//\\}"; }
arguments=("$(windows "$stylesheet")" "$(windows "$work/cscript.log")")
for report in "${reports[@]}"; do
    arguments+=("$(windows "$report")" "$(windows "$work/$(basename "$report" .xml).utf16")")
done
corvane_prefix_wine "$CORVANE_WINEARCH" cscript //nologo "$(windows "$pages/msxml-page.js")" "${arguments[@]}" \
    >"$work/cscript.out" 2>&1
code=$?
wineserver -k 2>/dev/null
[ $code -eq 0 ] || fail "cscript ended with $code: $(cat "$work/cscript.log" "$work/cscript.out" 2>/dev/null | tr -d '\r')"
for report in "${reports[@]}"; do
    name=$(basename "$report" .xml)
    [ -f "$work/$name.utf16" ] || continue
    iconv -f UTF-16 -t UTF-8 "$work/$name.utf16" >"$work/$name.html"
    # xsltproc's page as MSXML names its string result, without xsltproc's last line end.
    make_page "$report" "$work/$name.xsltproc.html" || fail "xsltproc failed on $report"
    sed '2s|<meta http-equiv="Content-Type" content="text/html; charset=utf-8">|<meta http-equiv="Content-Type" content="text/html; charset=UTF-16">|' \
        "$work/$name.xsltproc.html" | head -c -1 >"$work/$name.expected"
    cmp -s "$work/$name.expected" "$work/$name.html" ||
        fail "MSXML's page of $name differs: $(diff "$work/$name.expected" "$work/$name.html" | head -n 6)"
done
[ $status -eq 0 ] && echo "ok ($check): ${#reports[@]} pages from MSXML's transformNode, each xsltproc's page but its charset and last line end"
exit $status
