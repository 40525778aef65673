# Sourced by the scripts that start Wine: the project's own prefix and quiet, reproducible settings.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
# The wine64 loader starts 32-bit programs through the 32-bit loader where the machine runs 32-bit
# code, and 64-bit programs itself.
if [ -x /usr/lib/wine/wine64 ]; then WINE=/usr/lib/wine/wine64; else WINE=$(command -v wine64 || command -v wine); fi
export WINE
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINESERVER

ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 || true
        "$WINESERVER" -w || true
    fi
}
