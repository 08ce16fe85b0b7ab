#!/usr/bin/env bash
# Installs and removes the program under Wine with install_probe.exe and reads the result
# with tools that are not ours: `wine reg query` for the registry, lnkinfo (Debian's
# liblnk-utils) for the shortcut files, cmp for the copied program file. One scope after
# the other, then a program folder that cannot be created. Given Orvan.exe as well, the
# silent installation and removal that package managers run: from a download named as the
# release names it, an update over it, the removal started from the installed copy (whose
# file a helper deletes once it has ended), and an installation that fails.
# Usage: run_install_checks.sh PATH/TO/install_probe.exe [PATH/TO/Orvan.exe]
# Ends with one line "install: N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
probe=${1:?usage: run_install_checks.sh install_probe.exe [Orvan.exe]}
program=${2:-}
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
reg_number() { reg_query "$1" /v "$2" | sed -nE "s/^ +$2 +REG_DWORD +(0x[0-9a-f]+)$/\1/p"; }
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
check "the probe names the start menus and the application data" test ${#folders[@]} -eq 4
user_menu=$(unix_path "${folders[0]}")
common_menu=$(unix_path "${folders[1]}")
app_data=$(unix_path "${folders[2]}")
local_app_data=$(unix_path "${folders[3]}")
local_app_data_win=${folders[3]}

work_win=$(winepath -w "$work" 2>/dev/null)
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

for scope in user all; do
    if [ "$scope" = all ]; then
        hive=HKLM menu=$common_menu other=HKCU
    else
        hive=HKCU menu=$user_menu other=HKLM
    fi
    key="$hive\\Software\\Morvane\\Orvan"
    entry="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvan"
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
    check "Apps & features: DisplayName" test "$(reg_value "$entry" DisplayName)" = "Orvan!"
    check "Apps & features: DisplayVersion" test "$(reg_value "$entry" DisplayVersion)" = "0.1.0-beta.1"
    check "Apps & features: Publisher" test "$(reg_value "$entry" Publisher)" = "Morvane"
    check "Apps & features: InstallLocation" test "$(reg_value "$entry" InstallLocation)" = "$typed"
    check "Apps & features: UninstallString" test "$(reg_value "$entry" UninstallString)" = "\"$target\" -install"
    check "Apps & features: QuietUninstallString" \
        test "$(reg_value "$entry" QuietUninstallString)" = "\"$target\" -silent-remove"
    size_kib=$(( ($(stat -c %s "$probe") + $(cat "$work"/download/Languages/*.lng | wc -c) + 1023) / 1024 ))
    check "Apps & features: EstimatedSize in KiB" test "$(( $(reg_number "$entry" EstimatedSize) ))" -eq "$size_kib"
    check "Apps & features: NoModify" test "$(reg_number "$entry" NoModify)" = 0x1

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
    check "the Apps & features entry is gone" bash -c "! wine reg query '$entry' >/dev/null 2>&1"
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

if [ -n "$program" ]; then
    scope=silent
    user_key='HKCU\Software\Morvane\Orvan'
    entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvan'
    run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
    folder_win="$local_app_data_win\\Programs\\Morvane\\Orvan\\"
    folder="$local_app_data/Programs/Morvane/Orvan"
    installed_win="${folder_win}Orvan.exe"
    log=$(unix_path "$("$wine_run" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")/Orvan-install.log
    rm -f "$log"
    # The standalone download, alone in its folder, under the release's name.
    mkdir -p "$work/standalone"
    cp "$program" "$work/standalone/Orvan-0.1.0-beta.1-win64.exe"
    silent() { "$wine_run" "$@" >/dev/null 2>&1; }
    # The helper ends after the removal; wait until the file is gone, for ten seconds at most.
    wait_gone() { for _ in $(seq 50); do [ -e "$1" ] || return 0; sleep 0.2; done; return 1; }

    silent "$work/standalone/Orvan-0.1.0-beta.1-win64.exe" -silent
    check "-silent succeeds" test $? -eq 0
    check "the program goes to the user's programs as Orvan.exe" cmp -s "$program" "$folder/Orvan.exe"
    for language in "$root"/res/languages/*.lng; do
        check "the translation $(basename "$language") it carries inside is installed" \
            cmp -s "$language" "$folder/Languages/$(basename "$language")"
    done
    check "the record's Path" test "$(reg_value "$user_key" Path)" = "$folder_win"
    check "nothing for all users" bash -c "! wine reg query 'HKLM\Software\Morvane\Orvan' >/dev/null 2>&1"
    check "the Apps & features entry" test "$(reg_value "$entry" QuietUninstallString)" = "\"$installed_win\" -silent-remove"
    check "autostart by default" test "$(reg_value "$run_key" Orvan)" = "\"$installed_win\""
    check "the shortcuts by default" test -f "$user_menu/Morvane/Orvan/Orvan!.lnk"
    check "the options" test -f "$app_data/Morvane/Orvan/Orvan.ini"
    check "the catalog is built" grep -q '<catalog' "$app_data/Morvane/Orvan/Orvan_Catalog.xml"
    # (The pattern's brackets keep it from matching the check's own command line.)
    check "no launcher was started" bash -c "! pgrep -f 'Programs[\\\\/]Morvane[\\\\/]Orvan[\\\\/]Orvan[.]exe' >/dev/null"
    check "the log says it installed" grep -q 'Installed: the program' "$log"

    # A newer download over it: an update in place.
    silent "$work/standalone/Orvan-0.1.0-beta.1-win64.exe" -silent
    check "-silent over an installation succeeds" test $? -eq 0
    check "the log says it updated" grep -q 'Updating the installation for the current user' "$log"

    # As Apps & features and winget run it: the installed copy removes itself.
    silent "$folder/Orvan.exe" -silent-remove
    check "-silent-remove from the installed copy succeeds" test $? -eq 0
    check "the record is gone" bash -c "! wine reg query '$user_key' >/dev/null 2>&1"
    check "the Apps & features entry is gone" bash -c "! wine reg query '$entry' >/dev/null 2>&1"
    check "the Run value is gone" test -z "$(reg_value "$run_key" Orvan)"
    check "the shortcuts are gone" test ! -e "$user_menu/Morvane/Orvan"
    check "the options are gone" test ! -e "$app_data/Morvane/Orvan"
    check "the program file and its folder go once the removal has ended" wait_gone "$folder"
    check "the log says the helper deleted it" grep -q '^  Deleted ".*Orvan.exe"\.' <(tr -d '\r' <"$log")

    # The helper's switch started by hand deletes nothing, not even the program itself.
    silent "$work/standalone/Orvan-0.1.0-beta.1-win64.exe" -finish-remove
    check "-finish-remove without its arguments fails" test $? -ne 0
    check "and marks nothing for deletion" bash -c "! wine reg query \
        'HKLM\\System\\CurrentControlSet\\Control\\Session Manager' /v PendingFileRenameOperations \
        2>/dev/null | grep -q 'Orvan-0.1.0-beta.1-win64'"
    check "and keeps the program" test -f "$work/standalone/Orvan-0.1.0-beta.1-win64.exe"

    # A log grown past a megabyte starts anew rather than growing for ever.
    head -c 1100000 /dev/zero | tr '\0' 'x' >"$log"
    silent "$work/standalone/Orvan-0.1.0-beta.1-win64.exe" -silent-remove
    check "-silent-remove with nothing installed succeeds" test $? -eq 0
    check "and a log past a megabyte starts anew" test "$(stat -c %s "$log")" -lt 4096
    check "with this run's lines" grep -q 'Orvan! is not installed: nothing to remove.' "$log"

    # A file where the program folder would go: nothing may stay half-installed.
    mkdir -p "$(dirname "$folder")"
    printf 'in the way' >"$folder"
    silent "$work/standalone/Orvan-0.1.0-beta.1-win64.exe" -silent
    check "a failed -silent exits non-zero" test $? -ne 0
    check "and leaves no record" bash -c "! wine reg query '$user_key' >/dev/null 2>&1"
    check "and no Apps & features entry" bash -c "! wine reg query '$entry' >/dev/null 2>&1"
    check "and no shortcut" test ! -e "$user_menu/Morvane/Orvan"
    check "and no options" test ! -e "$app_data/Morvane/Orvan"
    check "and logs why" grep -q 'Error: Cannot create folder' "$log"
    rm -f "$folder"
fi

echo "install: $passed passed, $failed failed"
