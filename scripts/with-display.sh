#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a virtual one (Xvfb) made for it. Wine's
# server is waited for before the virtual display goes away; what still runs a minute after the
# command is named and ended, so that the run always ends.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ -n "${DISPLAY:-}" ]; then
    "$@"
    exit $?
fi
quoted=$(printf '%q ' "$@")
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c \
    "source \"$root/scripts/wine-env.sh\"; $quoted; rc=\$?; end_wine 60; exit \$rc"
