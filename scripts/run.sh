#!/usr/bin/env bash
# The main job: installs what is missing, builds Corvane.exe and Corvane64.exe and starts one of them under
# Wine on a sample machine.
# With a display the window opens for you; without one the real window runs under Xvfb, Execute is
# pressed through the window's own controls, and the event list, a screenshot and the report are shown.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${CORVANE_BUILD:-$root/build}
machine=sample
program=
prefix=
headless=no
install_and_build=yes

usage() {
    cat <<'EOF'
usage: scripts/run.sh [--machine NAME | --untouched | --prefix PATH] [--program Corvane|Corvane64]
                     [--headless] [--no-build]

Starts Corvane.exe or Corvane64.exe under Wine on a machine to examine:
  (default)        the sample machine: a fresh Wine prefix with a simulated Outlook 2003 installation
  --machine NAME   another sample machine of tests/fixtures/machines (NAME.machine), made afresh
  --untouched      a fresh copy of a Wine prefix just as wineboot made it
  --prefix PATH    an existing Wine prefix, examined as it is (nothing is added to it)
  --program NAME   Corvane (the 32-bit program) or Corvane64 (the 64-bit one); by default Corvane where
                   this host runs 32-bit code, otherwise Corvane64
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
    --program)
        [ $# -ge 2 ] || { usage >&2; exit 2; }
        program=$2
        shift
        ;;
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
    say "Building Corvane.exe and Corvane64.exe into $build"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$CORVANE_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target Corvane run_corvane corvane_fixtures corvane_other
fi
. "$root/scripts/target.sh"
program=${program:-$CORVANE_PROGRAM}
arch=$(corvane_program_arch "$program") || { echo "run: --program is Corvane or Corvane64, not '$program'" >&2; exit 2; }
if [ "$arch" = i686 ] && ! corvane_runs_32bit; then
    echo "run: Corvane.exe is a 32-bit program, and this host runs no 32-bit code; run --program Corvane64" >&2
    exit 1
fi
# The program, with its own test runner, is in the build of its architecture.
tree=$(corvane_tree "$build" "$arch")
CORVANE_ARCH=$arch
. "$root/scripts/target.sh"
[ -f "$tree/$program.exe" ] || { echo "run: no $tree/$program.exe; build it first" >&2; exit 1; }
echo "Program: $program.exe ($([ "$arch" = i686 ] && echo 32-bit || echo 64-bit))"

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
    "$root/scripts/sample-machine.sh" --build "$build" --arch "$arch" "$prefix" "$machine"
fi
export WINEPREFIX=$prefix

# Corvane writes its report into its own folder unless told otherwise.
report=$tree/Corvane.xml
rm -f "$report" "$tree/Corvane.html"

if [ $headless = no ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    say "$program.exe is open on $DISPLAY: press Execute, and close the window when done"
    "$CORVANE_WINE" "$tree/$program.exe" || true
    if [ -f "$report" ]; then
        say "Report"
        echo "Corvane.xml: $report"
        xmllint --noout --schema "$build/Corvane.xsd" "$report"
        [ ! -f "$tree/Corvane.html" ] || echo "Corvane.html (the report's readable page, beside it): $tree/Corvane.html"
    fi
    exit 0
fi

say "No display: $program.exe runs under Xvfb, and Execute is pressed for you"
out=$build/run
mkdir -p "$out"
rm -f "$out/rows.txt" "$out/listing.txt" "$out/report-path.txt" "$out/Corvane.png"
windows() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }
frames=()
[ $own_prefix = yes ] && frames=(--draw-frames)
status=0
# The prefix's programs end before the X server they were shown on.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '"$CORVANE_WINE" "$@"; status=$?; wineserver -w; exit $status' \
    _ "$tree/tests/run_corvane.exe" "${frames[@]}" --listing "$(windows "$out/listing.txt")" \
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
    page=$(dirname "$report")/Corvane.html
    if [ -f "$page" ]; then
        echo "Corvane.html (the report's readable page, beside it): $page"
    else
        echo "No Corvane.html was written beside the report (the rows above say why)."
    fi
else
    echo "No report was saved (the last rows above say why)."
fi
