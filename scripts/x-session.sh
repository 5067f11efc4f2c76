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
    local config attempt
    # OPENBOX_CONFIG: another configuration, such as openbox's own default one.
    config="${OPENBOX_CONFIG:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/openbox.xml}"
    # The window manager is started again if it is not up after 5 s (an X server that was not
    # yet accepting connections); the tests need it.
    for attempt in 1 2 3; do
        openbox --config-file "$config" >/dev/null 2>&1 &
        OPENBOX_PID=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break 2
            sleep 0.05
        done
        echo "window manager not up (attempt $attempt)" >&2
        kill "$OPENBOX_PID" 2>/dev/null || true
    done
    eval "$(dbus-launch --sh-syntax)"
    trap stop_x_session EXIT
}

stop_x_session() {
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    kill "${OPENBOX_PID:-}" "${XVFB_PID:-}" 2>/dev/null
    wait 2>/dev/null || true
}
