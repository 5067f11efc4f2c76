#!/usr/bin/env bash
# Runs the system volume tests against a private PulseAudio server with a null sink, in a
# home and runtime folder of their own, and stops the server whatever happens.
set -euo pipefail
tests=$1
dir=$(mktemp -d)
mkdir -m700 "$dir/home" "$dir/xdg"
export HOME=$dir/home XDG_RUNTIME_DIR=$dir/xdg
unset PULSE_SERVER PULSE_RUNTIME_PATH

stop_server() {
    # A test may have left the server stopped (SIGSTOP); it must run to hear the kill.
    pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null || true)
    [ -z "$pid" ] || kill -CONT "$pid" 2>/dev/null || true
    pulseaudio --kill 2>/dev/null || true
    for _ in $(seq 50); do pulseaudio --check 2>/dev/null || break; sleep 0.1; done
    rm -rf "$dir"
}
trap stop_server EXIT

pulseaudio --daemonize=yes --exit-idle-time=-1 --system=false -n \
    --load="module-null-sink sink_name=test_sink" --load=module-native-protocol-unix 2>/dev/null
pactl info >/dev/null
"$tests"
