#!/usr/bin/env bash
# Starts the real program on a recording under the test X server, checks that its main
# window appears with its caption and that the work folder is made, then closes it the way
# a user does (the window manager's close) and expects a clean exit with the Scroll Lock
# light off.
set -euo pipefail
program=$1
media=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

xset led named "Scroll Lock"
STENOVA_HOME=$home QT_QPA_PLATFORM=xcb "$program" "$media" /l &
pid=$!

win=""
for _ in $(seq 100); do
    win=$(xdotool search --all --pid "$pid" --name "Программа для набора текста" 2>/dev/null | head -1) || true
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "main window did not appear"; kill "$pid"; exit 1; }
[ -d "$home/AvtoSave" ] || { echo "AvtoSave was not created"; kill "$pid"; exit 1; }
# The light follows the between-bookmarks loop, which is off.
xset q | grep -q 'Scroll Lock: *off' || { echo "Scroll Lock light was not synchronised"; kill "$pid"; exit 1; }

# Alt+F4 is the window manager's close, as a user would press it. A window manager that has
# just started may not have made the window active yet, so the close is tried again.
for _ in $(seq 10); do
    xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 2>/dev/null || true
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 "$pid" 2>/dev/null; then echo "program did not exit after close"; kill "$pid"; exit 1; fi
wait "$pid"
echo "program started on $media, showed its window and exited cleanly"
