#!/usr/bin/env bash
# The long runs of the crash tests, whose short runs are part of `make test`: the program
# killed at ROUNDS random moments while text and bookmarks are typed (default 200), and closed
# CLOSES times on a busy machine (default 100). Prints the figures: words and bookmarks checked,
# the worst loss in seconds, closes that left the program running.
#   crash-harness.sh [ROUNDS] [CLOSES]    (after `make test` has built build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
export CRASH_ROUNDS=${1:-200} CLOSE_ROUNDS=${2:-100}
. scripts/x-session.sh
start_x_session
build-test/tests/crash_tests --gtest_filter='CrashSafety.KilledAtRandom*:CrashSafety.EveryClose*' 2>&1 |
    grep -E -A2 '^\[ *(OK|FAILED|PASSED) *\]|kills,|closes on|Failure|random seed'
