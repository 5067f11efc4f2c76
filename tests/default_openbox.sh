#!/usr/bin/env bash
# Runs a test program on a virtual X server of its own whose window manager is openbox with
# the configuration it comes with, which takes Ctrl+Alt+arrows for switching desktops.
set -euo pipefail
. "$(dirname "$0")/../scripts/x-session.sh"
OPENBOX_CONFIG=/etc/xdg/openbox/rc.xml start_x_session
"$@"
