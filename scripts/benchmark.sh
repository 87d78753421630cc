#!/usr/bin/env bash
# Benchmark: whole runs of the engine on sample machines of growing size (10, 100 and 1,000 mail client
# subkeys; language keys of 1,000, 10,000 and 50,000 values), quiet and verbose on the real main dialog,
# against a raw baseline of the same registry calls, DOM appends and save. Prints a table of figures;
# it times nothing as a test. Each size runs in a process of its own, in a prefix copy of its own.
#
# Usage: scripts/benchmark.sh [SIZE...]   where SIZE is CLIENTS:VALUES:REPEATS (default: the three sizes)
# CORVANE_BUILD selects the build folder (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10:1000:3 100:10000:3 1000:50000:1)

"$root/scripts/install-prerequisites.sh"
"$root/scripts/build.sh" "$build" >/dev/null
"$root/scripts/wine-prefix.sh" "$build/wineprefix"

export WINEPREFIX="$build/wineprefix-benchmark" WINEPREFIX_TEMPLATE="$build/wineprefix"
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for size in "${sizes[@]}"; do
    IFS=: read -r clients values repeats <<<"$size"
    # One process per mode, so that each peak working set is that mode's first run alone.
    for mode in b q v; do
        echo "benchmark: $clients clients, $values language values, $repeats repeats, mode $mode" >&2
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
            "$root/scripts/wine-run.sh" "$build/tests/bench/corvane_bench.exe" "$clients" "$values" "$repeats" \
            "$mode" 2>/dev/null | tr -d '\r' | grep '^BENCH' | tee -a "$results" >&2
    done
done

python3 - "$results" <<'PY'
import sys
rows = {}
machines = {}
for line in open(sys.argv[1]):
    fields = line.split()
    if len(fields) < 2:
        continue
    values = dict(f.split('=', 1) for f in fields[1:] if '=' in f)
    key = (int(values.get('clients', 0)), int(values.get('values', 0)))
    if fields[1] == 'machine':
        machines.setdefault(key, values)
    elif 'mode' in values:
        rows.setdefault(key, {})[values['mode']] = values
print()
print(f"{'clients':>7} {'values':>7} {'mode':>8} {'wall ms':>10} {'items/s':>9} {'rows':>7} {'rows/s':>8} "
      f"{'report KB':>10} {'peak MB':>8} {'x base':>7}")
previous = None
for key in sorted(rows):
    modes = rows[key]
    base = float(modes.get('baseline', {}).get('ms', 0)) or None
    for mode in ('baseline', 'quiet', 'verbose'):
        m = modes.get(mode)
        if not m:
            continue
        ms = float(m['ms'])
        items = int(m['items'])
        rowcount = int(m['rows'])
        ratio = f"{ms / base:7.2f}" if base else '      -'
        print(f"{key[0]:>7} {key[1]:>7} {mode:>8} {ms:>10.1f} {items / ms * 1000:>9.0f} {rowcount:>7} "
              f"{rowcount / ms * 1000:>8.0f} {int(m['bytes']) / 1024:>10.1f} {float(m['peak_mb']):>8.1f} {ratio}")
print()
for key in sorted(machines):
    print(f"machine {key[0]} clients, {key[1]} values: peak working set {machines[key].get('peak_mb')} MB "
          f"after writing the machine, before the first run")
print()
keys = sorted(rows)
for a, b in zip(keys, keys[1:]):
    for mode in ('baseline', 'quiet', 'verbose'):
        if mode in rows[a] and mode in rows[b]:
            growth = float(rows[b][mode]['ms']) / float(rows[a][mode]['ms'])
            work = int(rows[b][mode]['items']) / max(1, int(rows[a][mode]['items']))
            print(f"{mode:>8}: {a[1]} -> {b[1]} values ({work:.1f} times the items) costs {growth:.1f} times the time "
                  f"({growth / work:.2f} times as fast as the items)")

# A verbose row's cost is what the verbose run costs beyond the quiet run of the same machine, per row; its
# floor is one bare cross-thread SendMessageW to the event list, measured in the verbose run's own process.
print()
print(f"{'clients':>7} {'values':>7} {'rows':>7} {'row us':>8} {'floor us':>9} {'x floor':>8} "
      f"{'peak MB verbose':>16} {'x base':>7}")
for key in keys:
    modes = rows[key]
    v, q, b = modes.get('verbose'), modes.get('quiet'), modes.get('baseline')
    if not v or not q:
        continue
    rowcount = max(1, int(v['rows']) - int(q['rows']))
    per_row = (float(v['ms']) - float(q['ms'])) * 1000 / rowcount
    floor = float(v.get('floor_us', 0))
    multiple = f"{per_row / floor:8.2f}" if floor else '       -'
    memory = f"{float(v['peak_mb']) / float(b['peak_mb']):7.2f}" if b else '      -'
    print(f"{key[0]:>7} {key[1]:>7} {rowcount:>7} {per_row:>8.1f} {floor:>9.1f} {multiple} "
          f"{float(v['peak_mb']):>16.1f} {memory}")
PY
