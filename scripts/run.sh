#!/usr/bin/env bash
# Sets up, builds and runs the program under Wine as a user meets it the first time.
#
# The run starts from a fresh Wine prefix of its own (build/run-prefix; a WINEPREFIX given
# by the caller is used as it is). There Orvan.exe finds no installation and hands over to
# its installer. With a display the rest is the user's. Without one, the script starts a
# virtual display (Xvfb), saves the installer (installer.png), installs for the current user
# into C:\Orvan\ of the prefix, answers Yes to start the installed launcher, and then types
# into the launcher's search window and saves screenshots to build/screenshots/: the
# settings dialog's three tabs (the status tab during a rebuild) and its catalog path
# editor, the run page after typing a catalog name, the details window of that entry,
# the run page after typing 2+3, the Quick page with that entry pinned (Ctrl+D), the Notes
# page with a note, the Clipboard page with the note copied, the robot page, and a message
# dialog. Then it switches
# the launcher to German and saves its settings dialog and search window again
# (de-settings.png, de-search.png), copies the search window, the settings dialog and the
# installer to docs/images/ for the README, and ends the launcher.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
echo "run: building Orvan.exe"
"$root/scripts/build.sh" windows >"$root/build/run-build.log" 2>&1 || { tail -n 40 "$root/build/run-build.log"; exit 1; }
exe=$root/build/windows/src/app/Orvan.exe
wine_run=$root/scripts/wine-run.sh

if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=$root/build/run-prefix
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    echo "run: a fresh Wine prefix in build/run-prefix"
fi
export WINEDEBUG=-all
# shellcheck source=xvfb.sh
. "$root/scripts/xvfb.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${ORVAN_HEADLESS:-}" ]; then
    echo "run: starting Orvan.exe on $DISPLAY: it shows its installer first"
    exec "$wine_run" "$exe" "$@"
fi

# Xvfb has no window manager to draw frames and captions: for this run Wine draws them
# itself (and does not wait for a manager when a window hides).
unmanaged='HKCU\Software\Wine\AppDefaults\Orvan.exe\X11 Driver'
finish() {
    orvan_stop_display
    wineserver -k >/dev/null 2>&1 || true
}
trap finish EXIT
# The display comes before any Wine process: the processes of a prefix share one
# wineserver, which keeps the display it was started with.
orvan_start_display
echo "run: no display found; started Xvfb on $DISPLAY"
"$wine_run" reg add "$unmanaged" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
shots=$root/build/screenshots
mkdir -p "$shots"

find_window() { # title pattern, tries of half a second: prints the first visible match
    local found=
    for _ in $(seq 1 "$2"); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && break
        sleep 0.5
    done
    echo "$found"
}
shot() { # name [window]: saves the window (or the whole screen) as build/screenshots/NAME.png
    sleep 0.7
    import -window "${2:-$window}" "$shots/$1.png" 2>/dev/null || import -window root "$shots/$1.png"
    echo "run: saved build/screenshots/$1.png"
}

# Not installed: the program hands over to its installer (elevated on Windows; under Wine
# an ordinary start) and ends.
"$wine_run" "$exe" "$@" >/dev/null 2>&1 || true
installer=$(find_window '^Install of Orvan! @ morvane.example$' 120)
if [ -z "$installer" ]; then
    echo "run: the installer did not appear"
    exit 1
fi
window=$installer
shot installer
# The keyboard, as a user would: Tab from Install to the language, the hot key, the program
# folder; then the scope ("Current user") and Enter for Install.
xdotool windowfocus --sync "$installer" 2>/dev/null || true
xdotool key --delay 100 Tab Tab Tab ctrl+a
xdotool type --delay 30 'C:\Orvan\'
xdotool key --delay 100 Tab Down
shot installer-filled
xdotool key Return
question=$(find_window '^Question$' 240)
if [ -z "$question" ]; then
    echo "run: the installation did not finish (no question appeared)"
    exit 1
fi
echo "run: installed for the current user into C:\Orvan\ of the prefix"
shot installed-question "$question"
# Yes: the installed launcher starts (resident, waiting for its hot key) and the installer
# ends.
xdotool windowfocus --sync "$question" 2>/dev/null || true
xdotool key Return
sleep 3
# "-options" asks the running launcher to show its search window and its settings dialog.
"$wine_run" 'C:\Orvan\Orvan.exe' -options >/dev/null 2>&1 || true

title='Orvan! @ morvane.example'
window=$(find_window "^$title\$" 60)
if [ -z "$window" ]; then
    echo "run: the launcher's search window did not appear"
    exit 1
fi
keys() { # window keys...: keys for a window of the launcher
    local target=$1
    shift
    xdotool windowfocus --sync "$target" 2>/dev/null || true
    xdotool key --delay 120 "$@"
}
# On a busy machine a stopped rebuild may still be unwinding, and the dialog refuses to close
# until it has: Escape until it is gone, so that the search window is not photographed
# behind a dialog that still runs.
cancel_settings() { # window title-pattern
    for _ in $(seq 1 40); do
        xdotool search --onlyvisible --name "$2" >/dev/null 2>&1 || break
        keys "$1" Escape
        sleep 0.5
    done
}
settings=$(find_window '^Options$' 30)
if [ -n "$settings" ]; then
    shot settings-general "$settings"
    keys "$settings" ctrl+Tab
    shot settings-catalog "$settings"
    # A path with its editor: the grid's menu by a right click on a row, then Add.
    xdotool mousemove --window "$settings" 200 150 click 3
    sleep 0.5
    xdotool key --delay 120 Down Return
    editor=$(find_window '^Catalog path$' 20)
    if [ -n "$editor" ]; then
        # The whole Windows folder, every file at unlimited depth: long enough a rebuild
        # for its progress to be seen.
        xdotool type --delay 30 'C:\windows'
        keys "$editor" Tab Tab
        xdotool type --delay 30 '*.*'
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
    sleep 0.5
    cancel_settings "$settings" '^Options$'
else
    echo "run: (the settings dialog did not appear)"
fi
appdata=$("$wine_run" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
catalog=$(winepath -u "$appdata\\Morvane\\Orvan\\Orvan_Catalog.xml" 2>/dev/null)
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
# Ctrl+D pins the selected row to the Quick page.
keys "$window" ctrl+d
# The details window of the selected entry: the details button right of the details area
# (its place in the window: frame, page control, tab row, then the button on the page).
xdotool mousemove --window "$window" "${ORVAN_DETAILS_X:-273}" "${ORVAN_DETAILS_Y:-181}" click 1
details=
for _ in $(seq 1 20); do
    details=$(xdotool search --onlyvisible --name '^Details$' 2>/dev/null | head -n 1 || true)
    [ -n "$details" ] && break
    sleep 0.3
done
if [ -n "$details" ]; then
    shot details "$details"
    xdotool key Escape
    sleep 0.5
else
    echo "run: (the details window did not appear)"
fi
typeinto '2+3'
shot run-calculator
# The three pages after the run page, each one Ctrl+Tab further: the pinned entry, a note
# (copied with Ctrl+A, Ctrl+C) and the clipboard's history holding it.
keys "$window" ctrl+Tab
shot quick
keys "$window" ctrl+Tab
xdotool type --delay 30 'Notes are kept as they are typed.'
xdotool key --delay 120 Return
xdotool type --delay 30 'Orvan! @ morvane.example'
keys "$window" ctrl+a ctrl+c
shot notes
keys "$window" ctrl+Tab
shot clipboard
# The robot page: its tab, then a few lines for the robot.
xdotool mousemove --window "$window" 235 38 click 1
sleep 0.3
for line in 'calc 2+3*4' 'rnd 6' 'version'; do
    xdotool type --delay 30 "$line"
    xdotool key Return
done
shot robot
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

# The same launcher in German: the options name the language, and the next start shows
# every window with the translation from the Languages folder the installer copied.
wineserver -k >/dev/null 2>&1 || true
options=$(winepath -u "$appdata\\Morvane\\Orvan\\Orvan.ini" 2>/dev/null)
if [ -f "$options" ]; then
    # The options file is UTF-16 with a byte-order mark.
    iconv -f UTF-16 -t UTF-8 "$options" | sed -E 's/^Language=.*/Language=1031/' |
        iconv -f UTF-8 -t UTF-16 >"$options.new" && mv "$options.new" "$options"
    "$wine_run" 'C:\Orvan\Orvan.exe' -options >/dev/null 2>&1 &
    window=$(find_window "^$title\$" 60)
    settings=$(find_window '^Optionen$' 30)
    if [ -n "$settings" ]; then
        shot de-settings "$settings"
        cancel_settings "$settings" '^Optionen$'
    else
        echo "run: (the German settings dialog did not appear)"
    fi
    if [ -n "$window" ]; then
        typeinto '2+3'
        shot de-search
    else
        echo "run: (the German search window did not appear)"
    fi
else
    echo "run: (no options file to switch to German)"
fi
# The README opens with three of the pictures; every run copies them anew, so that they show
# the program as it is.
mkdir -p "$root/docs/images"
for picture in run-catalog settings-general installer; do
    if [ -f "$shots/$picture.png" ]; then
        cp "$shots/$picture.png" "$root/docs/images/$picture.png"
        echo "run: copied $picture.png to docs/images/"
    fi
done
echo "run: ending Orvan.exe"
wineserver -k >/dev/null 2>&1 || true

