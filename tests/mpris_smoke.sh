#!/usr/bin/env bash
# Drives the running program over the desktop's media-player interface with playerctl, as
# media keys and desktop controls do, and reads its state back the same way.
set -euo pipefail
program=$1
media=$2
home=$(mktemp -d)
pid=""
# SIGTERM ends the program with the saves of a close: its folder goes once it has ended.
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
ctl() { playerctl -p stenova "$@"; }

STENOVA_HOME=$home QT_QPA_PLATFORM=xcb "$program" "$media" &
pid=$!
for _ in $(seq 100); do
    [ "$(ctl status 2>/dev/null)" = "Stopped" ] && break
    sleep 0.1
done
[ "$(ctl status)" = "Stopped" ] || fail "status after opening is '$(ctl status 2>&1)'"
ctl metadata xesam:url | grep -q "sample.wav" || fail "metadata has no url of the sample"
length=$(ctl metadata mpris:length)
[ "$length" -gt 60000000 ] || fail "length $length us is not the sample's"

ctl play-pause
sleep 0.6
[ "$(ctl status)" = "Playing" ] || fail "play-pause did not start playback"
pos=$(ctl position)
awk -v p="$pos" 'BEGIN { exit !(p > 0.2 && p < 5) }' || fail "position $pos while playing"

ctl pause
[ "$(ctl status)" = "Paused" ] || fail "pause did not pause"
ctl position 30
pos=$(ctl position)
awk -v p="$pos" 'BEGIN { exit !(p > 29.99 && p < 30.01) }' || fail "position after a seek to 30 s is $pos"
ctl play-pause
sleep 0.3
[ "$(ctl status)" = "Playing" ] || fail "play-pause did not resume"
ctl stop
[ "$(ctl status)" = "Stopped" ] || fail "stop did not stop"
echo "status, metadata, play-pause, pause, position and stop work over the session bus"
