#!/usr/bin/env bash
# Starts the wizard under Wine: on the current display, or, on a machine without one, on a
# virtual display whose picture is saved so that it can be looked at.
set -uo pipefail
exe=${1:?usage: run.sh Quendry.exe}
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE" "$exe"
fi
out="$root/build/screenshots"
mkdir -p "$out"
echo "No display: running the wizard on a virtual display for a few seconds."
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
    "$WINE" "$1" & pid=$!
    for i in $(seq 1 60); do
        win=$(xdotool search --name "^Quendry$" 2>/dev/null | head -n 1)
        [ -n "$win" ] && break
        sleep 0.5
    done
    sleep 2
    [ -n "$win" ] && import -window root "$2" 2>/dev/null
    "$WINESERVER" -k; wait $pid 2>/dev/null; true' _ "$exe" "$out/run.png"
echo "The welcome page is in $out/run.png. To use the wizard, run 'make run' where DISPLAY is set."
