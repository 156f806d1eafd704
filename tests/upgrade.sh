#!/usr/bin/env bash
# A release installed over the one before it, as a school upgrades: under Wine (which is
# not Windows), the MSI and then the setup, each in a prefix of its own; with apt, the .deb.
# Each time the program has one entry, the newer release's files are in place, and nothing
# of the older one is left.
# usage: upgrade.sh OLD_DIST NEW_DIST (two release folders that ./build.sh dist made)
set -u
here=$(cd "$(dirname "$0")" && pwd)
export LC_ALL=C

# Wine's part, run once for each kind of package inside tools/with-wine.sh.
if [ "$1" = --under-wine ]; then
    kind=$2 old=$3 new=$4 from=$5 to=$6
    . "$here/windows_checks.sh"
    dir=$(unix 'C:\Program Files\Kestramo')
    if [ "$kind" = msi ]; then
        install() { msiexec /i "$(winepath -w "$1"/kestramo-*.msi)" /qn; }
        kept="LICENSE.txt NOTICES.txt guide-bg.html kestramo.exe"
    else
        install() { wine "$1"/kestramo-*-setup.exe /S /AllUsers; }
        kept="LICENSE.txt NOTICES.txt kestramo.exe uninstall.exe"
    fi
    install "$old"
    check "$kind: $from installed" '[ "$(value "$uninstall\\$(entries)" DisplayVersion)" = "$from" ]'
    install "$new"
    check "$kind: upgraded to $to in place, one entry" \
        '[ "$(entries | wc -l)" = 1 ] && [ "$(value "$uninstall\\$(entries)" DisplayVersion)" = "$to" ]'
    check "$kind: the newer program, and no file of the older release left" \
        'cmp -s "$dir/kestramo.exe" "$new/kestramo.exe" && [ "$(cd "$dir" && ls | sort | xargs)" = "$kept" ]'
    report_checks "upgrade $kind"
    [ $fail -eq 0 ]
    exit
fi

old=$1 new=$2
version() { ls "$1"/kestramo-*.msi | sed 's/.*kestramo-\(.*\)\.msi$/\1/'; }
from=$(version "$old") to=$(version "$new")
echo "upgrade: $from to $to"
status=0
for kind in msi setup; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$here/../tools/with-wine.sh" \
        "$here/upgrade.sh" --under-wine "$kind" "$old" "$new" "$from" "$to" || status=1
done

# The .deb, installed on this very system with apt: only where Kestramo is not installed
# already, and put back to that afterwards.
if dpkg-query -W kestramo >/dev/null 2>&1; then
    echo "upgrade deb: skipped, Kestramo is installed on this system"
    exit $status
fi
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
trap '"${as_root[@]}" apt-get purge -y -qq kestramo >/dev/null 2>&1' EXIT
apt_install() { "${as_root[@]}" apt-get install -y -qq --no-install-recommends "$(realpath "$1")" >/dev/null; }
installed() { dpkg-query -W -f='${Version}' kestramo 2>/dev/null; }
apt_install "$old"/kestramo_*_amd64.deb
[ "$(installed)" = "$from" ] && echo "ok: deb: $from installed" || { echo "FAIL: deb: $from not installed"; status=1; }
apt_install "$new"/kestramo_*_amd64.deb
unpacked=$(mktemp -d)
dpkg-deb -x "$new"/kestramo_*_amd64.deb "$unpacked"
if [ "$(installed)" = "$to" ] && cmp -s /usr/bin/kestramo "$unpacked/usr/bin/kestramo" &&
    [ "$(dpkg -L kestramo | sort | xargs)" = "$(dpkg-deb -c "$new"/kestramo_*_amd64.deb |
        awk '{ sub(/^\./, "", $6); sub(/\/$/, "", $6); print ($6 == "" ? "/." : $6) }' | sort | xargs)" ]; then
    echo "ok: deb: upgraded to $to with apt, its files alone"
else
    echo "FAIL: deb: $to not in place of $from"
    status=1
fi
rm -rf "$unpacked"
exit $status
