#!/usr/bin/env bash
# Takes pictures of the wizard's first three pages and its window on databases in each language under a virtual display, at
# 96 and at 144 pixels per inch: docs/screenshots/<page>-<language>.png and
# <page>-<language>-144.png. Next is pressed with the Enter key, as a user would.
set -uo pipefail
build=${1:?usage: screenshots.sh BUILD_DIR}
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
out="$root/docs/screenshots"
mkdir -p "$out"
desktop='HKCU\Control Panel\Desktop'
for dpi in 96 144; do
    # Wine takes the pixel density from the prefix, read when a program starts.
    if [ "$dpi" = 96 ]; then
        "$WINE" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
        suffix=""
    else
        "$WINE" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        suffix="-$dpi"
    fi
    "$WINESERVER" -w
    for lang in en_US de_DE; do
        short=${lang%%_*}
        LANG=$lang.UTF-8 LC_ALL=$lang.UTF-8 xvfb-run -a -s "-screen 0 1600x1200x24 -dpi $dpi" bash -c '
            "$WINE" "$1" & pid=$!
            for i in $(seq 1 60); do
                win=$(xdotool search --name "^Quendry$" 2>/dev/null | head -n 1)
                [ -n "$win" ] && break
                sleep 0.5
            done
            sleep 2
            for page in welcome versions repair; do
                [ -n "$win" ] && import -window "$win" "$2/$page-$3.png"
                if [ "$page" = versions ]; then
                    # The window on databases, opened by its button'"'"'s access key, and closed.
                    xdotool windowfocus --sync "$win" key alt+d 2>/dev/null
                    sleep 3
                    db=$(xdotool search --name "databases here|Datenbanken" 2>/dev/null | head -n 1)
                    [ -n "$db" ] && import -window "$db" "$2/databases-$3.png"
                    [ -n "$db" ] && xdotool windowfocus --sync "$db" key Escape 2>/dev/null
                    sleep 1
                fi
                xdotool windowfocus --sync "$win" key Return 2>/dev/null
                sleep 1.5
            done
            "$WINESERVER" -k; wait $pid 2>/dev/null; true' _ "$build/Quendry.exe" "$out" "$short$suffix"
        ls "$out"/*-"$short$suffix".png
    done
done
"$WINE" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
"$WINESERVER" -w
