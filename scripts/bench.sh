#!/usr/bin/env bash
# Runs the benchmarks under Wine (bench/): start-up, audit, repair, footprint and the console
# report, each against a baseline measured in the same run. Prints the table and writes it to
# build/bench.txt. bench.sh [BUILD_DIR]: the Windows build that Wine can run here (see
# scripts/test-arch.sh); the product's i686 Quendry.exe (build/win32, or $QUENDRY_PRODUCT) is
# reported too when it has been built. Each figure is measured in BENCH_ROUNDS (3) rounds, each
# of BENCH_STARTUP_RUNS (9), BENCH_AUDIT_ROUNDS (21) and BENCH_REPAIR_RUNS (3) repetitions.
set -uo pipefail
cd "$(dirname "$0")/.."
arch=$(scripts/test-arch.sh)
build=${1:-build/$([ "$arch" = i686 ] && echo win32 || echo win64)}
product=${QUENDRY_PRODUCT:-build/win32/Quendry.exe}
out=${BENCH_OUT:-build/bench.txt}

cmake --build "$build" --target quendry_bench -j "${JOBS:-$(nproc)}" >/dev/null || exit 1

args=(--rounds "${BENCH_ROUNDS:-3}" --startup-runs "${BENCH_STARTUP_RUNS:-9}" --audit-rounds "${BENCH_AUDIT_ROUNDS:-21}"
    --repair-runs "${BENCH_REPAIR_RUNS:-3}")
# Wine's drive Z: is the root of the file system.
# (Where Wine runs the product itself, its row is already there.)
[ -f "$product" ] && [ "$(realpath "$product")" != "$(realpath "$build/Quendry.exe")" ] &&
    args+=(--product "Z:$(realpath "$product" | tr / '\\')")

source scripts/wine-env.sh
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
header="Quendry benchmarks, $(date +%F)
Machine: $(nproc) cores (${cpu:-unknown CPU}), $(uname -sr), Debian $(cat /etc/debian_version \
2>/dev/null || echo '?'), $("$WINE" --version 2>/dev/null)
Programs run: $build"

echo "Running the benchmarks under Wine (about ${BENCH_ROUNDS:-3} x 2.5 minutes)..." >&2
table=$(mktemp)
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 scripts/with-display.sh scripts/wine-run.sh \
    "$build/quendry_bench.exe" "${args[@]}" >"$table"
status=$?
mkdir -p "$(dirname "$out")"
{ echo "$header"; tr -d '\r' <"$table"; } | tee "$out"
rm -f "$table"
echo "Written to $out" >&2
exit $status
