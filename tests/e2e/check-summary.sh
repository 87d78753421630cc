#!/usr/bin/env bash
# The fleet summary of deploy/: the expected report of every sample machine, laid out on the reports share
# as "/out:\\server\reports$\%COMPUTERNAME%.%USERNAME%" leaves it (REPORTS/MACHINE.USER/Corvane.xml: the
# run's name as the machine, "user" as the user), summed up by deploy/summarize.sh with xsltproc, must give
# the reviewed lines of expected/summary.csv: outcome, system, mail client, Outlook's settings and version, for a failed run
# the section it stopped in and the first error code its report holds, and the numbers of errors and
# warnings among its findings and their ids. The expected reports name the computer and the user as
# %COMPUTERNAME% and %USERNAME%; each copy names those of its folder, as a report on the share does.
# Usage: check-summary.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
share=$1/e2e/summary/share
rm -rf "$share"
for report in "$here"/expected/*.xml; do
    machine=$(basename "$report" .xml)
    mkdir -p "$share/$machine.user"
    sed -e "s/%COMPUTERNAME%/$machine/g" -e 's/%USERNAME%/user/g' "$report" >"$share/$machine.user/Corvane.xml"
done
"$root/deploy/summarize.sh" "$share" >"$1/e2e/summary/summary.csv" || {
    echo "FAIL (summary): summarize.sh failed" >&2
    exit 1
}
if ! diff -u "$here/expected/summary.csv" "$1/e2e/summary/summary.csv"; then
    echo "FAIL (summary): the summary differs from expected/summary.csv (above: - expected, + actual)" >&2
    exit 1
fi
echo "ok (summary): $(($(wc -l <"$1/e2e/summary/summary.csv") - 1)) reports, one line each, as reviewed"
