#!/usr/bin/env bash
# Sets up, builds and runs the launcher under Wine. Without a display it starts a virtual
# one (Xvfb), lets the launcher run for a few seconds, saves a screenshot to
# build/screenshots/ and stops it again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
echo "run: building Orvan.exe"
"$root/scripts/build.sh" windows >"$root/build/run-build.log" 2>&1 || { tail -n 40 "$root/build/run-build.log"; exit 1; }
exe=$root/build/windows/src/app/Orvan.exe

export WINEPREFIX=$root/build/wine-prefix WINEDEBUG=-all
# shellcheck source=xvfb.sh
. "$root/scripts/xvfb.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${ORVAN_HEADLESS:-}" ]; then
    echo "run: starting Orvan.exe on $DISPLAY (end it from its tray menu or with Alt+F4)"
    exec "$root/scripts/wine-run.sh" "$exe" "$@"
fi

trap orvan_stop_display EXIT
orvan_start_display
echo "run: no display found; started Xvfb on $DISPLAY"
shots=$root/build/screenshots
mkdir -p "$shots"
"$root/scripts/wine-run.sh" "$exe" "$@" &
pid=$!
for _ in $(seq 1 ${ORVAN_RUN_SECONDS:-8}); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
done
import -window root "$shots/desktop.png"
echo "run: screenshot saved to build/screenshots/desktop.png"
if kill -0 "$pid" 2>/dev/null; then
    echo "run: Orvan.exe is running; stopping it"
    wineserver -k >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
else
    code=0
    wait "$pid" || code=$?
    echo "run: Orvan.exe ended with exit code $code"
fi
