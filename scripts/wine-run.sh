#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's prefix: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
ensure_prefix
exec "$WINE" "$@"
