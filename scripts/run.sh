#!/usr/bin/env bash
# The main job: installs what is missing, builds Corvane.exe and starts it under Wine on a sample machine.
# With a display the window opens for you; without one the real window runs under Xvfb, Execute is
# pressed through the window's own controls, and the event list, a screenshot and the report are shown.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}
machine=sample
prefix=
headless=no
install_and_build=yes

usage() {
    cat <<'EOF'
usage: scripts/run.sh [--machine NAME | --untouched | --prefix PATH] [--headless] [--no-build]

Starts Corvane.exe under Wine on a machine to examine:
  (default)        the sample machine: a fresh Wine prefix with a simulated Outlook 2003 installation
  --machine NAME   another sample machine of tests/fixtures/machines (NAME.machine), made afresh
  --untouched      a fresh copy of a Wine prefix just as wineboot made it
  --prefix PATH    an existing Wine prefix, examined as it is (nothing is added to it)
  --headless       run under Xvfb and press Execute even when a display is there
  --no-build       use what the build folder holds: install nothing, build nothing
The build folder is build/ (or $CORVANE_BUILD).
EOF
}

while [ $# -gt 0 ]; do
    case $1 in
    --machine)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        machine=$2
        shift
        ;;
    --untouched) machine=untouched ;;
    --prefix)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        prefix=$2
        shift
        ;;
    --headless) headless=yes ;;
    --no-build) install_and_build=no ;;
    -h | --help)
        usage
        exit 0
        ;;
    *)
        usage >&2
        exit 2
        ;;
    esac
    shift
done

say() { printf '\n== %s\n' "$*"; }

if [ $install_and_build = yes ]; then
    say "Installing what is missing"
    "$root/scripts/install-prerequisites.sh"
    . "$root/scripts/target.sh"
    say "Building Corvane.exe into $build"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$CORVANE_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target Corvane run_corvane corvane_fixtures
fi
. "$root/scripts/target.sh"
[ -f "$build/Corvane.exe" ] || { echo "run: no $build/Corvane.exe; build it first" >&2; exit 1; }

export WINEDEBUG=-all
if [ -n "$prefix" ]; then
    # Someone's own prefix: whatever its architecture, nothing of ours goes into it.
    [ -f "$prefix/system.reg" ] || { echo "run: $prefix is not a Wine prefix (no system.reg)" >&2; exit 1; }
    prefix=$(cd "$prefix" && pwd)
    own_prefix=no
    say "Machine: the Wine prefix $prefix, as it is"
else
    prefix=$build/machines/$machine
    own_prefix=yes
    say "Machine: $machine, a fresh Wine prefix in $prefix"
    # The profile's opening comment says what the machine is.
    awk '!/^#/ || /^#$/ { exit } { sub(/^# ?/, "   "); print }' "$root/tests/fixtures/machines/$machine.machine" \
        2>/dev/null || true
    "$root/scripts/sample-machine.sh" --build "$build" "$prefix" "$machine"
fi
export WINEPREFIX=$prefix

# Corvane writes its report into its own folder unless told otherwise.
report=$build/Corvane.xml
rm -f "$report"

if [ $headless = no ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    say "Corvane is open on $DISPLAY: press Execute, and close the window when done"
    "$CORVANE_WINE" "$build/Corvane.exe" || true
    if [ -f "$report" ]; then
        say "Report"
        echo "Corvane.xml: $report"
        xmllint --noout --schema "$build/Corvane.xsd" "$report"
    fi
    exit 0
fi

say "No display: Corvane runs under Xvfb, and Execute is pressed for you"
out=$build/run
mkdir -p "$out"
rm -f "$out/rows.txt" "$out/listing.txt" "$out/report-path.txt" "$out/Corvane.png"
windows() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
frames=()
[ $own_prefix = yes ] && frames=(--draw-frames)
status=0
# The prefix's programs end before the X server they were shown on.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '"$CORVANE_WINE" "$@"; status=$?; wineserver -w; exit $status' \
    _ "$build/tests/run_corvane.exe" "${frames[@]}" --listing "$(windows "$out/listing.txt")" \
    --rows "$(windows "$out/rows.txt")" --report-path "$(windows "$out/report-path.txt")" \
    --screenshot "$out/Corvane.png" </dev/null || status=$?
[ $status -eq 0 ] || { echo "run: the run through the window did not finish (status $status)" >&2; exit 1; }

say "Event list (indented as in the window; the word in brackets names the row's icon)"
cat "$out/listing.txt"
say "Screenshot"
echo "$out/Corvane.png"
say "Report"
report=$(realpath -m "$(cat "$out/report-path.txt")")
if [ -f "$report" ]; then
    echo "Corvane.xml: $report"
    xmllint --noout --schema "$build/Corvane.xsd" "$report" 2>&1 | sed 's/ validates$/ validates against Corvane.xsd/'
else
    echo "No report was saved (the last rows above say why)."
fi
