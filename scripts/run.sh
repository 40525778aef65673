#!/usr/bin/env bash
# Starts the wizard under Wine on the current display. On a machine without one it runs the
# console companion's report instead (quendry-cli.exe of the same build) and says how to open the
# wizard.
set -uo pipefail
exe=${1:?usage: run.sh Quendry.exe}
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE" "$exe"
fi
cli="$(dirname "$exe")/quendry-cli.exe"
echo "No display: running 'quendry-cli report' under Wine instead of the wizard."
echo
"$WINE" "$cli" report
rc=$?
"$WINESERVER" -w
echo
case $rc in
    0) echo "quendry-cli exit code 0: MDAC, Jet and every listed library are up to date." ;;
    1) echo "quendry-cli exit code 1: something needs attention (see above)." ;;
    *) echo "quendry-cli exit code $rc." ;;
esac
echo "To open the wizard, run 'make run' where DISPLAY is set: in a desktop session, or on a"
echo "virtual display that a VNC viewer can show (for example 'Xvfb :5 & x11vnc -display :5 &'"
echo "then 'DISPLAY=:5 make run')."
