#!/usr/bin/env bash
# Counts how often a portable copy on the Desktop rewrites its catalog file while nothing
# but itself changes there: the Desktop is one of the default catalog paths, so the copy's
# own options and catalog files lie in a watched tree. Runs Orvan.exe under Wine in a fresh
# prefix of its own with a virtual display, lets the catch-up rebuild (half a minute after
# start) write the catalog once, then counts the rewrites over the next 75 seconds.
#   bench/portable_saves.sh [ORVAN_EXE]   (default: build/windows/src/app/Orvan.exe)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "${1:-$root/build/windows/src/app/Orvan.exe}")
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# shellcheck source=../scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
cleanup() { orvan_stop_display; rm -rf "$work"; }
trap cleanup EXIT
orvan_start_display
wineboot -i >/dev/null 2>&1
desktop=$(winepath -u 'C:\users\'"$(id -un)"'\Desktop' 2>/dev/null | tr -d '\r')
# Wine links the Desktop to the user's own; the copy gets one inside the prefix.
if [ -L "$desktop" ]; then rm "$desktop"; fi
mkdir -p "$desktop"
cp "$exe" "$desktop/Orvan.exe"
: >"$desktop/Orvan.ini"
catalog=$desktop/Orvan_Catalog.xml
wine "$desktop/Orvan.exe" >/dev/null 2>&1 &
stamp() { stat -c '%i %Y %s' "$catalog" 2>/dev/null || echo none; }
count_rewrites() { # seconds
    local last now n=0 end=$((SECONDS + $1))
    last=$(stamp)
    while [ $SECONDS -lt $end ]; do
        sleep 0.2
        now=$(stamp)
        if [ "$now" != "$last" ]; then n=$((n + 1)); last=$now; fi
    done
    echo "$n"
}
first=$(count_rewrites 40)
echo "portable_saves: $first rewrites in the first 40 s (the catch-up rebuild writes the file once)"
later=$(count_rewrites 75)
echo "portable_saves: $later rewrites in the 75 s after that"
wineserver -k >/dev/null 2>&1 || true
