#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Media are generated into the build folder once.
set -euo pipefail
build=${1:-build-bench}
media="$build/bench-media"
mkdir -p "$media"
"$build/bench/bench_playback" "$media" "$build/samples/sample.wav"
"$build/bench/bench_bookmarks"
"$build/bench/bench_loops" "$build/samples/sample.wav" "$build/samples/sample.mp3"
"$build/bench/bench_external_stall"
"$build/bench/bench_editor_tools"
"$build/bench/bench_recovery"
# The desktop figures need an X server with a window manager.
. scripts/x-session.sh
start_x_session
"$build/bench/bench_desktop" "$build/bench/bench_editor" "$build/samples/sample.wav" tests/gtk_editor.py
"$build/bench/bench_memory" "$build/samples/sample.wav" "$build/samples/sample.mp4"
"$build/bench/bench_documents"
