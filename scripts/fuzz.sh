#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang (address and
# undefined-behaviour checks) and runs each for a while: every input of its
# corpus in fuzz/corpus/<target> first (a crash once found is kept there as
# a test case), then new inputs until the time is up.
#
#   scripts/fuzz.sh             about 20 seconds per target
#   scripts/fuzz.sh 3600        an hour per target
#
# New inputs go to <build>/fuzz/corpus, crashes to <build>/fuzz/crashes;
# copy a crash into fuzz/corpus/<target>/ once it is fixed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}/fuzz
seconds=${1:-20}

"$root/scripts/bootstrap.sh"
if [[ ! -f $build/CMakeCache.txt ]]; then
    CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"

declare -A corpus=([FormFileFuzz]=FormFile [BmpFuzz]=Bmp [IniFuzz]=Ini)
for target in FormFileFuzz BmpFuzz IniFuzz; do
    name=${corpus[$target]}
    mkdir -p "$build/corpus/$name" "$build/crashes/$name"
    log=$build/$target.log
    status=0
    "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$name/" "$build/corpus/$name" "$root/fuzz/corpus/$name" >"$log" 2>&1 ||
        status=$?
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    echo "$target: $runs inputs in $seconds s, exit code $status"
    if [[ $status -ne 0 ]]; then
        grep -E -A12 '^(==[0-9]+==ERROR|[A-Za-z]+Fuzz:|.*runtime error)' "$log" | head -16
        grep -E 'Test unit written to' "$log" || true
        exit "$status"
    fi
done
