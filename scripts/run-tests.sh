#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# Tests that need a display run on a virtual X server with a window manager.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTENOVA_SANITIZE=ON -DSTENOVA_TESTS=ON
cmake --build build-test -j "$(nproc)"

# Any sanitizer report ends the test process with an error.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

. scripts/x-session.sh
start_x_session

cd build-test
ctest --output-on-failure --timeout 300 -j 2 "$@"
