# Sourced by the test and benchmark scripts: starts a virtual X server with a window manager
# and a session bus, exports DISPLAY, and stops them all on exit.
start_x_session() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
    openbox --config-file "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/openbox.xml" >/dev/null 2>&1 &
    OPENBOX_PID=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    eval "$(dbus-launch --sh-syntax)"
    trap stop_x_session EXIT
}

stop_x_session() {
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    kill "${OPENBOX_PID:-}" "${XVFB_PID:-}" 2>/dev/null
    wait 2>/dev/null || true
}
