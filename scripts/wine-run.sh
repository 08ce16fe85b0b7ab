#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, so tests never touch
# the user's ~/.wine. WINEPREFIX may be set by the caller; otherwise the prefix lives in
# build/wine-prefix of this checkout and is created on first use.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
exec wine "$@"
