#!/usr/bin/env bash
# The Windows Installer package, as an administrator deploys it: its tables first (msiinfo),
# then under Wine in a private prefix of its own (run inside tools/with-wine.sh): a silent
# install, an upgrade in place by the next version's package with the same upgrade code, a
# downgrade refused, and a silent removal that leaves nothing behind.
# usage: windows_msi.sh MSI SOURCE_DIR EXE GUIDE VERSION
set -u
msi=$1 source=$2 exe=$3 guide=$4 version=$5
next=$(awk -v v="$version" 'BEGIN { printf "%.2f", v + 0.01 }')
. "$(dirname "$0")/windows_checks.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestramo-msi-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
upgrade_code='{C19FA532-FD94-4026-9A2F-CC32F12DA52D}'

# A table's rows, without the three header lines of msiinfo's export.
rows() { msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'; }
property() { rows "$1" Property | awk -F '\t' -v name="$2" '$1 == name { print $2 }'; }

# --- The tables ---
check "ProductVersion $version" '[ "$(property "$msi" ProductVersion)" = "$version" ]'
check "the fixed UpgradeCode" '[ "$(property "$msi" UpgradeCode)" = "$upgrade_code" ]'
check "per machine (ALLUSERS 1)" '[ "$(property "$msi" ALLUSERS)" = 1 ]'
check "Bulgarian (ProductLanguage 1026, code page 1251)" \
    '[ "$(property "$msi" ProductLanguage)" = 1026 ] &&
     msiinfo export "$msi" _ForceCodepage | grep -q "^1251	_ForceCodepage"'
check "the product icon in the Icon table, for Programs and Features" \
    '[ "$(property "$msi" ARPPRODUCTICON)" = kestramo.ico ] && rows "$msi" Icon | grep -q "^kestramo.ico"'
# Shortcut: folder, name, target, icon.
shortcut() { rows "$msi" Shortcut | awk -F '\t' '{ print $2 "|" $3 "|" $5 "|" $9 }'; }
check "a Start-menu shortcut to the program with its icon" \
    '[ "$(shortcut)" = "ProgramMenuFolder|Kestramo|[#kestramo.exe]|kestramo.ico" ]'
check "the shortcut described in Bulgarian" \
    'rows "$msi" Shortcut | grep -q "Физическо възпитание - време за реакция"'
check "a downgrade stops with a Bulgarian message" \
    'rows "$msi" LaunchCondition | grep -q "^NOT NEWER_VERSION_FOUND	На този компютър вече е инсталирана по-нова версия"'
check "older versions found and removed, newer ones only found" \
    '[ "$(rows "$msi" Upgrade | sort)" = "$(printf "%s\t0.0.0\t%s\t\t256\t\tOLDER_VERSION_FOUND\n%s\t%s\t\t\t2\t\tNEWER_VERSION_FOUND\n" "$upgrade_code" "$version" "$upgrade_code" "$version" | sort)" ] &&
     rows "$msi" InstallExecuteSequence | grep -q "^RemoveExistingProducts"'
summary=$(msiinfo suminfo "$msi")
check "summary: title, author, subject and comments" \
    'grep -q "^Title: Installation Database" <<<"$summary" && grep -q "^Author: the Kestramo authors" <<<"$summary" &&
     grep -q "^Subject: Kestramo $version: време за реакция" <<<"$summary" && grep -q "^Comments: Упражнение" <<<"$summary"'
check "summary: 64-bit, Bulgarian" 'grep -q "^Template: x64;1026" <<<"$summary"'
# The program inside is the stripped one that the release ships.
(cd "$work" && msiextract -C extracted "$msi" >/dev/null)
inside=$(find "$work/extracted" -name kestramo.exe | head -1)
check "the program inside is the one built" '[ -n "$inside" ] && cmp -s "$inside" "$exe"'

# --- Under Wine ---
# A package of the next version with the same upgrade code, from the same sources.
newer=$work/kestramo-$next.msi
/usr/bin/python3 "$source/tools/make_msi.py" "$source/packaging/windows/kestramo.wxs" "$exe" \
    "$guide" "$source/packaging/windows/kestramo.ico" "$next" "$newer"
code_of() { property "$1" ProductCode; }
old_code=$(code_of "$msi") new_code=$(code_of "$newer")
check "each version its own product code" '[ -n "$old_code" ] && [ "$old_code" != "$new_code" ]'

dir=$(unix 'C:\Program Files\Kestramo')
# The installer's own record of a product, with its icon: the GUID's packed form.
packed() {
    /usr/bin/python3 -c 'import sys; g = sys.argv[1].strip("{}").replace("-", "")
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$1"
}
products='HKLM\Software\Classes\Installer\Products'
# Wine sets ProgramMenuFolder to the installing user's menu whatever ALLUSERS says (a FIXME
# in its msi.dll); Windows takes the all-users menu for a per-machine package.
menu=$(unix "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
lnk_count() { find "$WINEPREFIX/drive_c" -iname 'Kestramo.lnk' | wc -l; }

msiexec /i "$(winepath -w "$msi")" /qn
status=$?
check "silent install: exit 0 ($status)" '[ $status -eq 0 ]'
check "program, guide, terms and notices under Program Files" \
    'cmp -s "$dir/kestramo.exe" "$exe" && cmp -s "$dir/guide-bg.html" "$guide" &&
     cmp -s "$dir/LICENSE.txt" "$source/LICENSE" && cmp -s "$dir/NOTICES.txt" "$source/NOTICES"'
check "Start-menu shortcut to the program" \
    '[ -f "$menu/Kestramo.lnk" ] && grep -a -q -i "Kestramo.kestramo\.exe" "$menu/Kestramo.lnk"'
key="$uninstall\\$old_code"
check "Programs and Features: name, version $version, publisher, the licence" \
    '[ "$(value "$key" DisplayName)" = Kestramo ] && [ "$(value "$key" DisplayVersion)" = "$version" ] &&
     [ "$(value "$key" Publisher)" = "the Kestramo authors" ] &&
     [ "$(value "$key" Comments)" = "$(sed -n "2,3p" "$source/LICENSE" | paste -sd " ")" ]'
check "Programs and Features: the guide as its help link" \
    '[ "$(value "$key" HelpLink)" = "C:\Program Files\Kestramo\guide-bg.html" ]'
check "Programs and Features: removal by msiexec, no change offered" \
    '[ "$(value "$key" UninstallString)" = "MsiExec.exe /X$old_code" ] && [ "$(value "$key" NoModify)" = 0x1 ]'
# Windows Installer keeps a product's icon with its own record, where Programs and Features
# reads it, not as the uninstall key's DisplayIcon.
icon=$(value "$products\\$(packed "$old_code")" ProductIcon)
check "Programs and Features: the icon ($icon)" \
    '[ -n "$icon" ] && cmp -s "$(unix "$icon")" "$source/packaging/windows/kestramo.ico"'

msiexec /i "$(winepath -w "$newer")" /qn
status=$?
check "upgrade to $next in place: exit 0 ($status)" '[ $status -eq 0 ]'
check "one entry in Programs and Features, version $next" \
    '[ "$(entries)" = "$new_code" ] && [ "$(value "$uninstall\\$new_code" DisplayVersion)" = "$next" ]'
check "$version gone from the installer's records" '! wine reg query "$products\\$(packed "$old_code")" >/dev/null 2>&1'
check "one program, one shortcut" '[ -f "$dir/kestramo.exe" ] && [ "$(lnk_count)" -eq 1 ]'

msiexec /i "$(winepath -w "$msi")" /qn
status=$?
# 1603, as the shell sees it: the low byte of the exit code.
check "downgrade to $version refused ($status)" '[ $status -eq $((1603 % 256)) ]'
check "$next still installed after the refused downgrade" \
    '[ "$(entries)" = "$new_code" ] && [ -f "$dir/kestramo.exe" ]'

msiexec /x "$(winepath -w "$newer")" /qn
status=$?
check "silent removal: exit 0 ($status)" '[ $status -eq 0 ]'
check "no file left: program, guide, folder" '[ ! -e "$dir" ]'
check "no shortcut left" '[ "$(lnk_count)" -eq 0 ]'
check "no entry left in Programs and Features" '[ -z "$(entries)" ]'
check "no record left with the installer" \
    '! wine reg query "$products\\$(packed "$new_code")" >/dev/null 2>&1 &&
     ! wine reg query "HKLM\Software\Classes\Installer\UpgradeCodes\\$(packed "$upgrade_code")" >/dev/null 2>&1'

report_checks msi
[ $fail -eq 0 ]
