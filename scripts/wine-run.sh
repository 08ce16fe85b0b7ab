#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, so tests never touch
# the user's ~/.wine. WINEPREFIX may be set by the caller; otherwise the prefix lives in
# build/wine-prefix of this checkout and is created on first use.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# A prefix counts as made once its system folder holds kernel32.dll: a wineboot that was
# cut short leaves system.reg behind with an empty system32, and every program would then
# fail with "could not load kernel32.dll". Such a prefix is made again, under a lock so
# that two programs started together never make it at the same time.
prefix_ready() { [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; }
# Wine does not find the fonts of Debian's fonts-wine in a prefix of its own, and without
# Marlett it draws every caption button and check mark as a letter ("r" for close). The
# fonts go into the prefix's font folder, which Wine reads at every start; marlett.ttf, copied
# last, tells that they are there. Each file arrives whole under its final name, so a program
# started meanwhile never reads half a font.
fonts=$WINEPREFIX/drive_c/windows/Fonts
wine_fonts() {
    if command -v dpkg >/dev/null 2>&1 && dpkg -L fonts-wine >/dev/null 2>&1; then
        dpkg -L fonts-wine | grep -E '\.(ttf|fon)$'
    elif [ -d /usr/share/wine/fonts ]; then
        ls -d /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon 2>/dev/null
    fi
}
fonts_ready() { [ -f "$fonts/marlett.ttf" ] || [ -z "$(wine_fonts)" ]; }
add_fonts() {
    mkdir -p "$fonts"
    local font name
    for font in $(wine_fonts | grep -v '/marlett\.ttf$') $(wine_fonts | grep '/marlett\.ttf$'); do
        name=$(basename "$font")
        [ -f "$fonts/$name" ] && continue
        cp "$font" "$fonts/$name.part" && mv -f "$fonts/$name.part" "$fonts/$name"
    done
}
if ! prefix_ready || ! fonts_ready; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    for attempt in 1 2 3; do
        prefix_ready && break
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >"$WINEPREFIX.log" 2>&1 || true
        wineserver -w || true
        prefix_ready || echo "wine-run: making the Wine prefix failed (attempt $attempt, see $WINEPREFIX.log)" >&2
    done
    prefix_ready && ! fonts_ready && add_fonts
    flock -u 9
    exec 9>&-
fi
exec wine "$@"
