#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a while.
#   run-fuzz.sh [SECONDS] [quick]   (default 10 seconds a target)
# quick: only the targets that build in seconds (the test suite's run); the settings target,
# which builds the whole program, is left out.
# A target's corpus is kept in build-fuzz/corpus/<target> and starts from
# tests/fuzz/seeds/<target> when there is one. A crash ends the script with an error, and the
# input that caused it is left in build-fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
quick=OFF
[ "${2:-}" = "quick" ] && quick=ON
CXX=clang++ cmake -S tests/fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DSTENOVA_FUZZ_QUICK=$quick >/dev/null
cmake --build build-fuzz -j "$(nproc)"
for target in build-fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    [ "$quick" = ON ] && [ "$name" = fuzz_settings_load ] && continue
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
    log="build-fuzz/$name.log"
    (cd build-fuzz && "./$name" -max_total_time="$seconds" -print_final_stats=1 "corpus/$name" \
        "${seeds[@]/#/../}") >"$log" 2>&1 || { tail -40 "$log"; echo "$name: a finding" >&2; exit 1; }
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$')
    echo "$name: ${seconds} s, $runs runs, $rate runs/s, corpus $(ls "$corpus" | wc -l) inputs, no finding"
done
