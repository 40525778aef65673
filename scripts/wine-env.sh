# Sourced by the scripts that start Wine: the project's own prefix and quiet, reproducible settings.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
# The wine64 loader starts 32-bit programs through the 32-bit loader (natively, or inside the
# emulator that scripts/i386-emulation.sh registered), and 64-bit programs itself.
if [ -x /usr/lib/wine/wine64 ]; then WINE=/usr/lib/wine/wine64; else WINE=$(command -v wine64 || command -v wine); fi
export WINE
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINESERVER
# Tests that see a difference the emulator makes (the code Wine gives a page fault) read this.
if grep -qsx enabled /proc/sys/fs/binfmt_misc/quendry-i386; then
    export QUENDRY_I386_EMULATED=1
fi

# The settings the tests rely on, applied once to a new prefix and to one made before them.
prefix_settings=2
ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 || true
    fi
    if [ "$(cat "$WINEPREFIX/.quendry-settings" 2>/dev/null)" != "$prefix_settings" ]; then
        # A crash ends the crashed program, nothing more: by default Wine starts winedbg, whose
        # crash dialog waits under the virtual display for a click that never comes and keeps
        # the server alive. A debugger command that can't be started ends the program at once.
        local view
        for view in 64 32; do
            "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
                /v Debugger /d no-debugger /f "/reg:$view" >/dev/null 2>&1 || true
        done
        # The faces Windows users see. Debian's Wine looks for its own fonts (fonts-wine, Tahoma
        # among them) under "<data dir>\..\fonts", a path it can't open, so it never finds
        # them there and draws Tahoma in whatever fontconfig offers (DejaVu Sans, much wider).
        # It does load every font in the prefix's own Fonts folder. Arial becomes Liberation
        # Sans, which has Arial's metrics.
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        [ ! -d /usr/share/wine/fonts ] || cp /usr/share/wine/fonts/* "$fonts/"
        "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' \
            /f >/dev/null 2>&1 || true
        echo "$prefix_settings" >"$WINEPREFIX/.quendry-settings"
    fi
    "$WINESERVER" -w || true
}

# The Linux processes of the Windows programs running in this prefix, but Wine's own (its server
# and the programs of C:\windows), one "pid command line" each.
wine_programs() {
    local pid cmd
    for pid in $(pgrep -u "$(id -u)" .); do
        cmd=$( { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null) || continue
        # A Windows program's command line names it by its Windows path.
        [[ "$cmd" =~ [A-Za-z]:\\ ]] || continue
        case "${cmd,,}" in
            *'c:\windows\'*) continue ;;
        esac
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "$pid $cmd"
    done
}

# Ends the Windows programs still running that were not running when `before` (a list of pids)
# was taken, after `grace` seconds, and names each on the error stream. A program left behind
# would keep the test runner waiting for the end of the output it inherited.
end_stragglers() {
    local before=$1 grace=${2:-5} left i
    for ((i = 0; i <= grace * 10; i++)); do
        left=$(wine_programs | awk -v before=" $before " 'index(before, " " $1 " ") == 0')
        [ -n "$left" ] || return 0
        sleep 0.1
    done
    echo "Windows programs still running after the test; ending them:" >&2
    echo "$left" | sed 's/^/  /' >&2
    echo "$left" | awk '{print $1}' | xargs -r kill -KILL 2>/dev/null
    return 0
}

# Waits for Wine's server to end, at most `limit` seconds; what still runs then is named on the
# error stream and ended.
end_wine() {
    local limit=${1:-60}
    timeout "$limit" "$WINESERVER" -w && return 0
    echo "Wine was still running $limit s after the tests; ending what runs:" >&2
    wine_programs | sed 's/^/  /' >&2
    "$WINESERVER" -k
    timeout 10 "$WINESERVER" -w || true
}
