#!/usr/bin/env bash
# Sets up, builds and runs the launcher under Wine.
#
# Until the installer exists, this first records a current-user installation in Wine's
# registry as the installer will (HKCU\Software\Morvane\Orvan with Title, Version, Path and
# Installed) and, when the launcher has no options yet, writes fresh options and a freshly
# built catalog (orvan-cli rebuild, as the installer does). Then it starts Orvan.exe with its
# search window shown ("-v").
#
# With a display the launcher runs in the foreground. Without one, the script starts a
# virtual display (Xvfb), types into the search window and saves screenshots to
# build/screenshots/: the run page after typing a catalog name and after typing 2+3, the
# robot page, the settings dialog's three tabs (the status tab during a rebuild), the
# catalog path editor, and a message dialog. Then it ends the launcher.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
echo "run: building Orvan.exe"
"$root/scripts/build.sh" windows >"$root/build/run-build.log" 2>&1 || { tail -n 40 "$root/build/run-build.log"; exit 1; }
exe=$root/build/windows/src/app/Orvan.exe
cli=$root/build/windows/src/cli/orvan-cli.exe
wine_run=$root/scripts/wine-run.sh

export WINEPREFIX=${WINEPREFIX:-$root/build/wine-prefix} WINEDEBUG=-all
# shellcheck source=xvfb.sh
. "$root/scripts/xvfb.sh"

record_installation() {
    local folder installed key='HKCU\Software\Morvane\Orvan'
    "$wine_run" cmd /c exit >/dev/null 2>&1 || true # creates the prefix on first use
    folder=$(winepath -w "$(dirname "$exe")" 2>/dev/null)
    # Who and when, as the installer writes it: the logon name, " @ ", the short date and
    # the long time of Wine's default locale (English, United States).
    installed="$(id -un) @ $(LC_ALL=C date '+%-m/%-d/%Y %-I:%M:%S %p')"
    for pair in "Title=Orvan! @ morvane.example" "Version=0.1 Beta 1" "Path=$folder" \
                "Installed=$installed"; do
        "$wine_run" reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
    done
    echo "run: recorded a current-user installation in Wine's registry ($key, Path $folder)"
    local appdata options
    appdata=$("$wine_run" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
    options=$(winepath -u "$appdata\\Morvane\\Orvan\\Orvan.ini" 2>/dev/null)
    if [ ! -f "$options" ]; then
        "$wine_run" "$cli" rebuild >/dev/null 2>&1 || true
        echo "run: wrote fresh options and catalog to $appdata\\Morvane\\Orvan"
    fi
    catalog=${options%.ini}_Catalog.xml
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${ORVAN_HEADLESS:-}" ]; then
    record_installation
    echo "run: starting Orvan.exe -v on $DISPLAY (end it with Alt+F4, or from its tray menu)"
    exec "$wine_run" "$exe" -v "$@"
fi

# Xvfb has no window manager to draw frames and captions: for this run Wine draws them
# itself (and does not wait for a manager when a window hides).
unmanaged='HKCU\Software\Wine\AppDefaults\Orvan.exe\X11 Driver'
finish() {
    orvan_stop_display
    "$wine_run" reg delete "${unmanaged%\\X11 Driver}" /f >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
}
trap finish EXIT
# The display comes before any Wine process: the processes of a prefix share one
# wineserver, which keeps the display it was started with.
orvan_start_display
echo "run: no display found; started Xvfb on $DISPLAY"
record_installation
"$wine_run" reg add "$unmanaged" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
shots=$root/build/screenshots
mkdir -p "$shots"
"$wine_run" "$exe" -v "$@" &
pid=$!

title='Orvan! @ morvane.example'
window=
for _ in $(seq 1 60); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
if [ -z "$window" ]; then
    # A launcher that already runs in this prefix makes the new start end at once.
    echo "run: the search window did not appear (does Orvan.exe already run in $WINEPREFIX?)"
    exit 1
fi

shot() { # name: saves the search window (or the whole screen) as build/screenshots/NAME.png
    sleep 0.7
    import -window "${2:-$window}" "$shots/$1.png" 2>/dev/null || import -window root "$shots/$1.png"
    echo "run: saved build/screenshots/$1.png"
}
typeinto() { # text
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay 40 "$1"
}

# A catalog name: part of the first entry's display name, else a drive's listing.
name=$(grep -o '<name>[^<]*</name>' "$catalog" 2>/dev/null | head -n 1 | sed -E 's#</?name>##g' || true)
name=${name#.}
typeinto "${name:0:6}"
[ -n "$name" ] || typeinto 'c:\'
shot run-catalog
typeinto '2+3'
shot run-calculator
# The robot page: its tab, then a few lines for the robot.
xdotool mousemove --window "$window" 235 38 click 1
sleep 0.3
for line in 'calc 2+3*4' 'rnd 6' 'version'; do
    xdotool type --delay 30 "$line"
    xdotool key Return
done
shot robot
# The settings dialog, as a start with "-o" opens it in the running copy.
"$wine_run" "$exe" -o >/dev/null 2>&1 || true
find_visible() { # title: the first visible window with exactly that title
    local found=
    for _ in $(seq 1 30); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && break
        sleep 0.3
    done
    echo "$found"
}
keys() { # window keys...: keys for a window of the launcher
    local target=$1
    shift
    xdotool windowfocus --sync "$target" 2>/dev/null || true
    xdotool key --delay 120 "$@"
}
settings=$(find_visible 'Options')
if [ -n "$settings" ]; then
    shot settings-general "$settings"
    keys "$settings" ctrl+Tab
    shot settings-catalog "$settings"
    # A path with its editor: the grid's menu by a right click on a row, then Add.
    xdotool mousemove --window "$settings" 200 150 click 3
    sleep 0.5
    xdotool key --delay 120 Down Return
    editor=$(find_visible 'Catalog path')
    if [ -n "$editor" ]; then
        # The whole Windows folder, at unlimited depth: long enough a rebuild for its
        # progress to be seen.
        xdotool type --delay 30 'C:\windows'
        keys "$editor" Tab Tab
        xdotool type --delay 30 '*.dll;*.exe'
        shot path-editor "$editor"
        keys "$editor" Return
    else
        echo "run: (the path editor did not appear)"
    fi
    # The status tab while the catalog is rebuilt: Tab from the tabs to Rebuild, Space.
    keys "$settings" ctrl+Tab Tab space
    sleep 1
    shot settings-status "$settings"
    keys "$settings" space # Stop
    sleep 0.5
    keys "$settings" Escape # Cancel: nothing of it is kept
else
    echo "run: (the settings dialog did not appear)"
fi
# A message dialog: Enter on a file that no program opens makes the shell refuse, and the
# launcher shows the shell's failure text.
sample='C:\users\Public\orvan-sample.orvan-none'
sample_unix=$(winepath -u "$sample" 2>/dev/null)
echo "sample" >"$sample_unix"
xdotool mousemove --window "$window" 30 38 click 1
typeinto "$sample"
sleep 0.5
xdotool key Return
dialog=
for _ in $(seq 1 20); do
    dialog=$(xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.3
done
# The search window has hidden itself (AutoHide): the screen holds only the dialog, which
# trimming the empty desktop around it leaves with its frame and caption.
sleep 0.7
import -window root "$shots/message-dialog.png"
convert "$shots/message-dialog.png" -trim +repage "$shots/message-dialog.png" 2>/dev/null || true
echo "run: saved build/screenshots/message-dialog.png"
[ -n "$dialog" ] || echo "run: (no message dialog appeared)"
rm -f "$sample_unix"
echo "run: ending Orvan.exe"
wineserver -k >/dev/null 2>&1 || true
wait "$pid" 2>/dev/null || true
