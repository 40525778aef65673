#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's prefix: wine-run.sh PROGRAM.exe [ARGS...].
# A Windows program it leaves running is named and ended when it is done.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
before=$(wine_programs | awk '{print $1}' | tr '\n' ' ')
"$WINE" "$@"
rc=$?
end_stragglers "$before"
exit $rc
