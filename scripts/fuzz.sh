#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, ASan, UBSan) and runs each for a bounded
# time: FUZZ_SECONDS each (60 unless set). Names given on the command line run only those targets.
# New inputs go to build/fuzz/corpus/<target> (the seeds in fuzz/corpus/<target> are only read);
# an input that breaks a target is kept in build/fuzz/artifacts/<target>/. Exits 1 when anything
# was found.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build/fuzz}
targets=(printf_fuzz version_block_fuzz registry_value_fuzz host_reply_fuzz image_match_fuzz
    program_image_fuzz)
[ $# -eq 0 ] || targets=("$@")

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DQUENDRY_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "${JOBS:-$(nproc)}" >/dev/null

found=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    log="$build/$target.log"
    mkdir -p "$corpus" "$artifacts"
    set +e
    "$build/fuzz/$target" "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        >"$log" 2>&1
    status=$?
    set -e
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        echo "fuzz: $target: ${runs:-?} executions in ${seconds} s, nothing found"
    else
        found=1
        echo "fuzz: $target: FOUND a failing input after ${runs:-?} executions (exit $status)"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -n 5 || true
        ls "$artifacts" | sed 's/^/fuzz:   input kept: /' || true
        echo "fuzz:   log: $log"
    fi
done
exit "$found"
