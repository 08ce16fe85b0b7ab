#!/usr/bin/env bash
# Installs and removes the program under Wine with install_probe.exe and reads the result
# with tools that are not ours: `wine reg query` for the registry, lnkinfo (Debian's
# liblnk-utils) for the shortcut files, cmp for the copied program file. One scope after
# the other, then a program folder that cannot be created.
# Usage: run_install_checks.sh PATH/TO/install_probe.exe
# Ends with one line "install: N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
probe=${1:?usage: run_install_checks.sh install_probe.exe}
export WINEPREFIX=${WINEPREFIX:-$root/build/wine-prefix} WINEDEBUG=-all
wine_run=$root/scripts/wine-run.sh

passed=0
failed=0
check() { # NAME COMMAND...: the command succeeds
    local name=$1
    shift
    if "$@" >/dev/null 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $scope: $name"
        return 1
    fi
}
# Wine's console output ends its lines with CR LF.
probe() { "$wine_run" "$probe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The string data of one value as `reg query KEY /v NAME` lists it.
reg_value() { reg_query "$1" /v "$2" | sed -nE "s/^ +$2 +REG_SZ +(.*)$/\1/p"; }
lnk_field() { lnkinfo "$1" 2>/dev/null | sed -nE "s/^\t$2\t*: (.*)$/\1/p"; }
unix_path() { winepath -u "$1" 2>/dev/null; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Installed from a download folder that carries the translations, under the program's own
# name, as a release does: the removal deletes the program file by that name.
mkdir -p "$work/download/Languages"
cp "$probe" "$work/download/Orvan.exe"
cp "$root"/res/languages/*.lng "$work/download/Languages/"
probe="$work/download/Orvan.exe"

scope=setup
mapfile -t folders < <(probe folders)
check "the probe names the start menus and the application data" test ${#folders[@]} -eq 3
user_menu=$(unix_path "${folders[0]}")
common_menu=$(unix_path "${folders[1]}")
app_data=$(unix_path "${folders[2]}")

work_win=$(winepath -w "$work" 2>/dev/null)
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

for scope in user all; do
    if [ "$scope" = all ]; then
        hive=HKLM menu=$common_menu other=HKCU
    else
        hive=HKCU menu=$user_menu other=HKLM
    fi
    key="$hive\\Software\\Morvane\\Orvan"
    run_key="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
    typed="$work_win\\Program Files $scope\\Morvane\\Orvan\\"
    target="${typed}Orvan.exe"
    target_unix="$work/Program Files $scope/Morvane/Orvan/Orvan.exe"

    probe install "$typed" "$scope" >"$work/out" 
    check "install succeeds" test $? -eq 0
    check "install asks whether to start the program" grep -q '^Question: Orvan! is now successfully installed' "$work/out"

    check "the program file is copied byte for byte" cmp -s "$probe" "$target_unix"
    for language in "$work"/download/Languages/*.lng; do
        check "$(basename "$language") is copied" \
            cmp -s "$language" "$work/Program Files $scope/Morvane/Orvan/Languages/$(basename "$language")"
    done
    check "Title" test "$(reg_value "$key" Title)" = "Orvan! @ morvane.example"
    check "Version" test "$(reg_value "$key" Version)" = "0.1 Beta 1"
    check "Path as typed" test "$(reg_value "$key" Path)" = "$typed"
    installed=$(reg_value "$key" Installed)
    # The day in the locale's short form, whichever the prefix has.
    check "Installed names the user and the day" \
        grep -qE "^[^ ]+ @ ([0-9]{1,2}[./-][0-9]{1,2}[./-][0-9]{4}|[0-9]{4}-[0-9]{2}-[0-9]{2})( |$)" \
        <<<"$installed" || echo "  Installed: $installed"
    check "the Run value names the installed file in quotes" test "$(reg_value "$run_key" Orvan)" = "\"$target\""
    check "nothing under the other root" bash -c "! wine reg query '$other\\Software\\Morvane\\Orvan' >/dev/null 2>&1"

    while IFS='|' read -r title arguments description; do
        link="$menu/Morvane/Orvan/$title.lnk"
        check "$title: target" test "$(lnk_field "$link" 'Local path')" = "$target"
        check "$title: working folder" test "$(lnk_field "$link" 'Working directory')" = "$typed"
        check "$title: arguments" test "$(lnk_field "$link" 'Command line arguments')" = "$arguments"
        check "$title: description" test "$(lnk_field "$link" 'Description')" = "$description"
    done <<'EOF'
Orvan!||This will run Orvan!
Orvan! Uninstall & Repair|-install|This will uninstall/repair current installation of Orvan!
Orvan! Options|-options|This will show Orvan! option dialog.
EOF
    check "fresh options" test -f "$app_data/Morvane/Orvan/Orvan.ini"
    check "a fresh catalog" grep -q '<catalog' "$app_data/Morvane/Orvan/Orvan_Catalog.xml"

    probe remove >"$work/out"
    check "remove succeeds" test $? -eq 0
    check "remove says goodbye" grep -q '^Notice: Orvan! is now uninstalled' "$work/out"
    check "the key is gone" bash -c "! wine reg query '$key' >/dev/null 2>&1"
    check "the Run value is gone" test -z "$(reg_value "$run_key" Orvan)"
    check "the program file and folder are gone" test ! -e "$work/Program Files $scope/Morvane/Orvan"
    check "the parent folder stays" test -d "$work/Program Files $scope/Morvane"
    check "the shortcuts are gone" test ! -e "$menu/Morvane/Orvan"
    check "the options are gone" test ! -e "$app_data/Morvane/Orvan"
done

scope=failure
printf 'a file where the folder would go' >"$work/occupied"
typed="$work_win\\occupied\\Orvan"
probe install "$typed" user >"$work/out"
check "a folder that cannot be created fails the install" test $? -eq 1
check "and says which folder" grep -qxF "Error: Cannot create folder \"$typed\"." "$work/out"
check "and writes no key" bash -c "! wine reg query 'HKCU\\Software\\Morvane\\Orvan' >/dev/null 2>&1"
check "and makes no shortcut" test ! -e "$user_menu/Morvane/Orvan"

echo "install: $passed passed, $failed failed"
