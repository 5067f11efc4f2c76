#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# Tests that need a display run on a virtual X server with a window manager.
#   run-tests.sh [ctest options]
#   run-tests.sh --unit [googletest options]
# --unit builds and runs only the fast tests (no display, no real player) in one process,
# in seconds; `ctest -L unit` runs the same tests in two processes side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
unit=false
if [ "${1:-}" = "--unit" ]; then
    unit=true
    shift
fi

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTENOVA_SANITIZE=ON -DSTENOVA_TESTS=ON
if $unit; then
    cmake --build build-test -j "$(nproc)" --target unit_tests
else
    cmake --build build-test -j "$(nproc)"
fi

# Any sanitizer report ends the test process with an error.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

if $unit; then exec build-test/tests/unit_tests "$@"; fi

. scripts/x-session.sh
start_x_session

cd build-test
ctest --output-on-failure --timeout 300 -j 2 "$@"
