#!/usr/bin/env bash
# One CSV line for each report on the reports share, laid out as "/run /out:\\server\reports$\%COMPUTERNAME%.%USERNAME%"
# leaves it (REPORTS/MACHINE.USER/Corvane.xml, one folder deep), after a line of column names; sorted by folder.
# Usage: summarize.sh REPORTS > summary.csv
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ $# -eq 1 ] && [ -d "$1" ] || {
    echo "usage: summarize.sh REPORTS > summary.csv" >&2
    exit 2
}
header=yes
while IFS= read -r -d '' report; do
    # A report cut short (a share that went away mid-save) is named and left out; the others still count.
    if xsltproc --stringparam path "$report" --stringparam header "$header" "$here/corvane-csv.xsl" "$report"; then
        header=no
    else
        echo "summarize: $report is no readable report; left out" >&2
    fi
done < <(find "$1" -mindepth 2 -maxdepth 2 -name Corvane.xml -print0 | LC_ALL=C sort -z)
if [ $header = yes ]; then
    echo "summarize: no readable MACHINE.USER/Corvane.xml below $1" >&2
    exit 1
fi
