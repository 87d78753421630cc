#!/usr/bin/env bash
# Long modes of the scale checks, beyond what CI runs: thousands of hostile registry seeds, and a soak of
# many more whole runs of the real window. Each runs in a prefix copy of its own.
#
# Usage: scripts/soak.sh [hostile SEEDS [FIRST]] [soak RUNS]
#   scripts/soak.sh                    hostile 5000 seeds from 1, then soak 2000 runs
#   scripts/soak.sh hostile 20000 1001
#   scripts/soak.sh soak 5000
# A failing hostile seed prints itself; replay it with CORVANE_HOSTILE_SEED=N (scripts/soak.sh hostile 1 N).
# CORVANE_BUILD selects the build folder (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}
[ $# -gt 0 ] || set -- hostile 5000 1 soak 2000

"$root/scripts/install-prerequisites.sh"
"$root/scripts/build.sh" "$build" >/dev/null
"$root/scripts/wine-prefix.sh" "$build/wineprefix"
export WINEPREFIX_TEMPLATE="$build/wineprefix"

run() {
    local prefix=$1
    shift
    WINEPREFIX="$build/wineprefix-$prefix" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$root/scripts/wine-run.sh" "$@"
}

number() { [[ $1 =~ ^[0-9]+$ ]]; }

status=0
while [ $# -gt 0 ]; do
    case $1 in
    hostile)
        shift
        seeds=5000
        first=1
        if number "${1:-}"; then seeds=$1; shift; fi
        if number "${1:-}"; then first=$1; shift; fi
        echo "soak: $seeds hostile seeds from $first" >&2
        CORVANE_HOSTILE_SEEDS=$seeds CORVANE_HOSTILE_FIRST_SEED=$first \
            run hostile-long "$build/tests/hostile/test_hostile.exe" || status=1
        ;;
    soak)
        shift
        runs=2000
        if number "${1:-}"; then runs=$1; shift; fi
        echo "soak: $runs whole runs of the real window" >&2
        CORVANE_SOAK_RUNS=$runs run soak-long "$build/tests/soak/test_soak.exe" || status=1
        ;;
    *)
        echo "soak: unknown mode $1 (hostile or soak)" >&2
        exit 2
        ;;
    esac
done
exit $status
