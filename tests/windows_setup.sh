#!/usr/bin/env bash
# The setup program under Wine (run inside tools/with-wine.sh): it installs silently for
# all users and for the current user alone, registers the program in Programs and Features
# with its version, makes the Start-menu shortcut, and its uninstaller takes it all away.
set -u
setup=$1 version=$2
. "$(dirname "$0")/windows_checks.sh"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestramo'

for mode in AllUsers CurrentUser; do
    if [ $mode = AllUsers ]; then hive=HKLM; dir=$(unix 'C:\Program Files\Kestramo'); menu=$(unix 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
    else hive=HKCU; dir=$(unix "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\Kestramo"); menu=$(unix "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs"); fi
    wine "$setup" /S /$mode # wine returns when the setup has ended
    check "$mode: program, terms and notices installed" \
        '[ -f "$dir/kestramo.exe" ] && [ -f "$dir/uninstall.exe" ] && [ -f "$dir/LICENSE.txt" ] &&
         [ -f "$dir/NOTICES.txt" ]'
    check "$mode: Start-menu shortcut" '[ -f "$menu/Kestramo.lnk" ]'
    registered=""
    for _ in 1 2 3 4 5; do # Wine's registry may take a moment to show a fresh key
        registered=$(wine reg query "$hive\\$key" /v DisplayVersion 2>/dev/null | tr -d '\r' |
            awk '/DisplayVersion/ {print $3}')
        [ -n "$registered" ] && break
        sleep 0.5
    done
    check "$mode: registered with version $version ($registered)" '[ "$registered" = "$version" ]'
    # The uninstaller runs again from a copy of itself, so wine returns early: wait for it.
    wine "$(winepath -w "$dir/uninstall.exe")" /S /$mode
    for _ in $(seq 40); do [ -e "$dir" ] || break; sleep 0.25; done
    check "$mode: uninstalled" '[ ! -e "$dir" ] && [ ! -e "$menu/Kestramo.lnk" ]'
    check "$mode: unregistered" '! wine reg query "$hive\\$key" >/dev/null 2>&1'
done
report_checks setup
[ $fail -eq 0 ]
