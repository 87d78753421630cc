#!/usr/bin/env bash
# Every page is valid HTML (xmllint's HTML parser says nothing, tidy neither error nor warning) and needs
# nothing outside itself: no script, frame, object, image, form or linked style sheet, no event handler or
# inline style attribute, no link but to its own headings (#...), and no url(, @import or expression( in
# its style sheet. The doctype's public identifier names HTML 4.01 and is not fetched.
# Usage: check-self-contained.sh BUILD
set -uo pipefail
check='report-page-self-contained'
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
command -v tidy >/dev/null || {
    echo "SKIPPED ($check): tidy is not installed (scripts/install-prerequisites.sh installs it)"
    exit 77
}
work=$1/report_page/self-contained
rm -rf "$work"
mkdir -p "$work"
elements='//script|//noscript|//iframe|//frame|//frameset|//object|//embed|//applet|//img|//image|//svg|//math'
elements+='|//video|//audio|//source|//track|//picture|//link|//base|//form|//input|//button|//meta[@http-equiv!="Content-Type"]'
for report in "${reports[@]}"; do
    name=$(basename "$report" .xml)
    page=$work/$name.html
    make_page "$report" "$page" || {
        fail "xsltproc failed on $report"
        continue
    }
    said=$(xmllint --html --noout "$page" 2>&1)
    [ -z "$said" ] || fail "$name: xmllint --html says: $said"
    said=$(tidy -q -e "$page" 2>&1)
    [ $? -eq 0 ] || fail "$name: tidy says: $said"
    found=$(xpath "$page" "count($elements)")
    [ "$found" = 0 ] || fail "$name: $found elements that load or run something"
    found=$(xpath "$page" "count(//@*[starts-with(translate(name(), 'ON', 'on'), 'on')] | //@style | //@src
        | //@background | //@data | //@action | //@srcset | //@poster | //@codebase | //@href[not(starts-with(., '#'))])")
    [ "$found" = 0 ] || fail "$name: $found attributes that run or fetch something: $(xpath "$page" '//@href | //@src')"
    # Each in-page link leads to a heading of the page.
    while IFS= read -r target; do
        [ -n "$target" ] || continue
        [ "$(xpath "$page" "count(//*[@id = '$target'])")" = 1 ] || fail "$name: the link #$target leads nowhere"
    done < <(xpath "$page" '//a/@href' | sed -n 's/^ href="#\(.*\)"$/\1/p')
    style=$(xpath "$page" 'string(//style)')
    grep -qiE 'url\(|@import|expression\(|behavior:|-moz-binding' <<<"$style" &&
        fail "$name: the style sheet fetches or runs something"
done
[ $status -eq 0 ] && echo "ok ($check): ${#reports[@]} pages valid, each one needing nothing outside itself"
exit $status
