#!/usr/bin/env bash
# Takes pictures of the wizard's first three pages in each language under a virtual display:
# docs/screenshots/<page>-<language>.png. Next is pressed with the Enter key, as a user would.
set -uo pipefail
build=${1:?usage: screenshots.sh BUILD_DIR}
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
out="$root/docs/screenshots"
mkdir -p "$out"
for lang in en_US de_DE; do
    short=${lang%%_*}
    LANG=$lang.UTF-8 LC_ALL=$lang.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
        "$WINE" "$1" & pid=$!
        for i in $(seq 1 60); do
            win=$(xdotool search --name "^Quendry$" 2>/dev/null | head -n 1)
            [ -n "$win" ] && break
            sleep 0.5
        done
        sleep 2
        for page in welcome versions repair; do
            [ -n "$win" ] && import -window "$win" "$2/$page-$3.png"
            xdotool windowfocus --sync "$win" key Return 2>/dev/null
            sleep 1.5
        done
        "$WINESERVER" -k; wait $pid 2>/dev/null; true' _ "$build/Quendry.exe" "$out" "$short"
    ls "$out"/*-"$short".png
done
