#!/usr/bin/env bash
# The libraries are floors: framework, report, the plain probe functions (probes/), the engine with its
# probes (engine/), the application (app/). Each may include its own floor and those below it, never one
# above: a call that runs upward would tie a lower floor to what is built on it. Fails naming every
# include that runs upward. Usage: check-layers.sh [SOURCE_ROOT]
set -uo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
floors=(framework report probes engine app)
floor_of() {
    local i
    for i in "${!floors[@]}"; do
        [ "${floors[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}
status=0
checked=0
for floor in "${floors[@]}"; do
    own=$(floor_of "$floor")
    while IFS= read -r file; do
        checked=$((checked + 1))
        while IFS=: read -r line target; do
            included=$(floor_of "${target%%/*}")
            if [ "$included" -gt "$own" ]; then
                echo "FAIL: ${file#"$root"/}:$line includes $target, a floor above ${floor}" >&2
                status=1
            fi
        done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"]*"/) {
                line = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", line); sub(/"$/, "", line)
                print FNR ":" line }' "$file")
    done < <(find "$root/$floor" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done
[ "$checked" -gt 0 ] || { echo "FAIL: no source found under $root" >&2; exit 1; }
[ $status -eq 0 ] && echo "ok: the includes of $checked files run only downward (${floors[*]})"
exit $status
