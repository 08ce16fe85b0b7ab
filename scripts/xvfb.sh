# Sourced by the scripts that need a display: starts Xvfb on a free display number unless
# one is given, and stops it (and the project's wineserver) when the script exits.
orvan_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n=99
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
        n=$((n + 1))
    done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    ORVAN_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "xvfb: display :$n did not come up" >&2
    return 1
}

orvan_stop_display() {
    if [ -n "${WINEPREFIX:-}" ]; then
        WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${ORVAN_XVFB_PID:-}" ]; then
        kill "$ORVAN_XVFB_PID" 2>/dev/null || true
        wait "$ORVAN_XVFB_PID" 2>/dev/null || true
        ORVAN_XVFB_PID=
    fi
}
