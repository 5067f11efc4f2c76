#!/usr/bin/env bash
# Starts the program on a recording; without a display, on a virtual X server.
set -euo pipefail
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$@"
fi
echo "No display found: starting Stenova on a virtual X server (Xvfb)."
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$@"
