#!/usr/bin/env bash
# Screenshots of HTML pages (Corvane.html, the fleet's index.html) for a person to look at, taken by
# headless Chromium at a desktop width: OUTDIR/NAME.png for each PAGE NAME.html. The pages need nothing
# outside themselves; Chromium runs without its sandbox (it refuses to start as root with it) and with a
# profile of its own that is removed afterwards.
# Usage: screenshot-pages.sh OUTDIR PAGE...
#   CORVANE_SCREEN_SIZE=1280,1600 (the default) chooses the window's width and height.
set -euo pipefail
[ $# -ge 2 ] || {
    echo "usage: screenshot-pages.sh OUTDIR PAGE..." >&2
    exit 2
}
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || {
    echo "screenshot-pages: chromium is not installed (scripts/install-prerequisites.sh installs it)" >&2
    exit 1
}
out=$1
shift
mkdir -p "$out"
out=$(cd "$out" && pwd)
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
status=0
for page in "$@"; do
    [ -f "$page" ] || {
        echo "screenshot-pages: $page is no file" >&2
        status=1
        continue
    }
    file=$(cd "$(dirname "$page")" && pwd)/$(basename "$page")
    png=$out/$(basename "$page" .html).png
    rm -f "$png"
    "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
        --user-data-dir="$profile" --window-size="${CORVANE_SCREEN_SIZE:-1280,1600}" \
        --screenshot="$png" "file://$file" >"$profile/log" 2>&1 || true
    if [ -s "$png" ]; then
        echo "$png"
    else
        echo "screenshot-pages: no screenshot of $page; Chromium said:" >&2
        cat "$profile/log" >&2
        status=1
    fi
done
exit $status
