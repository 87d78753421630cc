#!/usr/bin/env bash
# The fleet recipe keeps two places apart: the program (and the task and wrapper that start it) where users
# may only read, the reports in a drop box where every user may create a folder. Every place that deploy/'s
# task, deploy/'s wrapper and the README's fleet steps name is read here: no program place may share a root
# with a report place (the same \\server\share, or one folder below the other), and each report folder is
# one level below the drop box's root, named %COMPUTERNAME%.%USERNAME% (a user may create folders only
# directly below it).
# Usage: check-places.sh BUILD
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
status=0
fail() {
    echo "FAIL (deploy-places): $*" >&2
    status=1
}

# Lines "SOURCE<TAB>program|reports|out<TAB>PATH": a program's folder, a report root, a report folder (/out:).
places() {
    local task=$root/deploy/Corvane-logon.xml ps1=$root/deploy/Invoke-Corvane.ps1 value out report_root
    value=$(xmllint --xpath "string(//*[local-name()='Exec']/*[local-name()='Command'])" "$task")
    printf 'Corvane-logon.xml\tprogram\t%s\n' "${value%\\*}"
    value=$(xmllint --xpath "string(//*[local-name()='Exec']/*[local-name()='Arguments'])" "$task")
    printf 'Corvane-logon.xml\tout\t%s\n' "$(sed -n 's/.*\/out:"\{0,1\}\([^" ]*\).*/\1/p' <<<"$value")"
    # The wrapper's defaults, and the folder that it hands to Corvane.
    value=$(sed -n "s/^ *\[string\]\$ProgramFolder *= *'\([^']*\)'.*/\1/p" "$ps1")
    printf 'Invoke-Corvane.ps1\tprogram\t%s\n' "$value"
    report_root=$(sed -n "s/^ *\[string\]\$ReportRoot *= *'\([^']*\)'.*/\1/p" "$ps1")
    printf 'Invoke-Corvane.ps1\treports\t%s\n' "$report_root"
    out=$(sed -n 's/^\$out = .*\/out:\([^`"]*\).*/\1/p' "$ps1")
    printf 'Invoke-Corvane.ps1\tout\t%s\n' "${out//\$ReportRoot/$report_root}"
    # The README's fleet sections: every program file named on a share, every /out: and -ReportRoot.
    sed -n '/^## Unattended runs for many machines/,/^## Layout/p' "$root/README.md" >"$work/fleet.md"
    grep -oE '\\\\[^ `"|]*\\(Corvane|Corvane64)\.exe|\\\\[^ `"|]*\\(Invoke-Corvane\.ps1|Corvane-logon\.xml)' \
        "$work/fleet.md" | while IFS= read -r value; do printf 'README.md\tprogram\t%s\n' "${value%\\*}"; done
    grep -oE '/out:\\\\[^ `"|]*' "$work/fleet.md" | while IFS= read -r value; do
        printf 'README.md\tout\t%s\n' "${value#/out:}"
    done
    grep -oE -- '-ReportRoot \\\\[^ `"|]*' "$work/fleet.md" | while IFS= read -r value; do
        printf 'README.md\treports\t%s\n' "${value#-ReportRoot }"
    done
}

# The \\server\share of a share path, in lower case; empty for a local path.
share_of() {
    local path=${1,,} server share
    [[ $path == '\\'* ]] || return 0
    path=${path#\\\\}
    server=${path%%\\*}
    share=${path#*\\}
    share=${share%%\\*}
    printf '\\\\%s\\%s' "$server" "$share"
}

# True when two places have a root in common: the same share, or one folder below (or equal to) the other.
share_a_root() {
    local a=${1,,} b=${2,,}
    a=${a%\\}
    b=${b%\\}
    if [ -n "$(share_of "$a")" ] && [ "$(share_of "$a")" = "$(share_of "$b")" ]; then return 0; fi
    [ "$a" = "$b" ] || [[ $a == "$b\\"* ]] || [[ $b == "$a\\"* ]]
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
places | sort -u >"$work/places"
programs=0
reports=0
while IFS=$'\t' read -r source kind path; do
    [ -n "$path" ] || { fail "$source: a $kind place that this check cannot read"; continue; }
    case $kind in
    program) programs=$((programs + 1)) ;;
    reports)
        reports=$((reports + 1))
        path=${path,,}
        [ "${path%\\}" = "$(share_of "$path")" ] ||
            fail "$source: the report root $path is not a share's root"
        ;;
    out)
        reports=$((reports + 1))
        [[ $path == '\\'* ]] || continue
        [ "${path,,}" = "$(share_of "$path")\\%computername%.%username%" ] ||
            fail "$source: /out:$path is not one folder %COMPUTERNAME%.%USERNAME% directly below a share"
        ;;
    esac
done <"$work/places"
while IFS=$'\t' read -r source kind program; do
    [ "$kind" = program ] && [ -n "$program" ] || continue
    while IFS=$'\t' read -r other kind report; do
        [ "$kind" != program ] && [ -n "$report" ] || continue
        if share_a_root "$program" "$report"; then
            fail "$source: the program in $program and the reports in $report ($other) share a root"
        fi
    done <"$work/places"
done <"$work/places"
[ $programs -ge 3 ] && [ $reports -ge 4 ] ||
    fail "found $programs program places and $reports report places, fewer than the task, wrapper and README name"
[ $status -eq 0 ] && echo "ok (deploy-places): $programs program places and $reports report places, no root shared"
exit $status
