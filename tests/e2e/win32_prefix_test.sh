#!/usr/bin/env bash
# The console report in a 32-bit Wine prefix (WINEARCH=win32): 32-bit Windows, one registry view,
# no answer for 64-bit programs, and a program under System32 is a 32-bit one. The prefix is made
# once, beside the project's 64-bit one. win32_prefix_test.sh QUENDRY-CLI.EXE
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=$1
export WINEPREFIX="$root/build/wineprefix-win32" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine
[ -x "$wine" ] || wine=$(command -v wine)
[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1
failed=0
expect() { # expect WHAT TEXT PATTERN: the text holds a line that is PATTERN
    grep -qxF -- "$3" <<<"$2" || { echo "FAILED: $1: no line \"$3\" in:"; echo "$2"; failed=1; }
}
report=$(timeout 120 "$wine" "$cli" report | tr -d '\r')
expect report "$report" "Windows is 32-bit: it has one registry view."
expect report "$report" "32-bit programs:"
if grep -qxF "64-bit programs:" <<<"$report"; then
    echo "FAILED: report: an answer for 64-bit programs on 32-bit Windows"
    failed=1
fi
program=$(timeout 60 "$wine" "$cli" report --program 'C:\windows\system32\notepad.exe' | tr -d '\r')
expect program "$program" "This program runs as 32-bit."
/usr/lib/wine/wineserver -w 2>/dev/null || wineserver -w
[ $failed = 0 ] && echo "passed"
exit $failed
