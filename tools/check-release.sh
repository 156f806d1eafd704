#!/usr/bin/env bash
# A release folder kept lean: every file within its size budget (a file that grows past it,
# say a program that took its debugging information along or a page that swallowed a
# second font, fails with its name and size; a file with no budget fails too, so that a new
# one gets one), the Windows program with no debugging sections at all, and both programs
# hardened: a release that loses a hardening feature fails with its name.
# usage: check-release.sh DIST_FOLDER
set -euo pipefail
declare -A budget=(
    [kestramo.exe]=$((1536 * 1024))
    [kestramo-1.00-setup.exe]=$((1024 * 1024))
    [kestramo-1.00.msi]=$((1024 * 1024))
    [kestramo.html]=$((512 * 1024))
    [kestramo-1.00-web.zip]=$((512 * 1024))
    [kestramo_1.00_amd64.deb]=$((200 * 1024))
    [guide-bg.html]=$((512 * 1024))
    [SHA256SUMS]=$((4 * 1024))
    [LICENSE.txt]=$((8 * 1024))
    [NOTICES.txt]=$((32 * 1024))
)
status=0
for path in "$1"/*; do
    file=$(basename "$path")
    size=$(stat -c %s "$path")
    limit=${budget[$file]:-}
    if [ -z "$limit" ]; then
        echo "sizes: $file ($size bytes) has no size budget" >&2
        status=1
    elif [ "$size" -gt "$limit" ]; then
        echo "sizes: $file is $size bytes, over its budget of $limit" >&2
        status=1
    else
        echo "sizes: $file $size bytes (budget $limit)"
    fi
done
debug=$(x86_64-w64-mingw32-objdump -h "$1/kestramo.exe" | awk '$2 ~ /^\.debug/ { print $2 }')
if [ -n "$debug" ]; then
    echo "sizes: kestramo.exe carries debugging sections:" $debug >&2
    status=1
fi

# The Linux program as the .deb installs it, by Debian's own checker: every line it can
# judge must pass. On Debian 12 no program can show control-flow protection there (the C
# library's start files lack the marking that the linker needs from every object), so that
# line is judged here instead: code built with it starts its functions with endbr64, where
# without it only the compiler's start files bring a handful.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$1"/kestramo_*_amd64.deb "$unpacked"
program=$unpacked/usr/bin/kestramo
hardening-check --nocfprotection "$program" || status=1
marked=$(objdump -d "$program" | grep -c endbr64 || true)
if [ "$marked" -lt 100 ]; then
    echo "hardening: kestramo has $marked endbr64 marks: built without control-flow protection" >&2
    status=1
fi

# The terms stated once: every file that states them carries LICENSE.txt's very text.
terms=$(cat "$1/LICENSE.txt")
stated=$(awk 'text; /^License: / && ++n == 2 { text = 1 }' \
    "$unpacked/usr/share/doc/kestramo/copyright" | sed 's/^ //; s/^\.$//')
[ "$stated" = "$terms" ] || { echo "terms: the .deb's copyright differs from LICENSE.txt" >&2; status=1; }
/usr/bin/python3 -c 'import sys; page = open(sys.argv[2], encoding="utf-8").read()
sys.exit(open(sys.argv[1], encoding="utf-8").read().strip() not in page
         or "SIL OPEN FONT LICENSE Version 1.1" not in page)' "$1/LICENSE.txt" "$1/kestramo.html" ||
    { echo "terms: kestramo.html lacks the terms or its font's licence" >&2; status=1; }
msiextract -C "$unpacked/msi" "$1/kestramo-1.00.msi" >/dev/null
for file in LICENSE.txt NOTICES.txt; do
    found=$(find "$unpacked/msi" -name "$file" | head -1)
    [ -n "$found" ] && cmp -s "$found" "$1/$file" ||
        { echo "terms: kestramo-1.00.msi does not carry $file" >&2; status=1; }
done
if ! grep -qaF "$(head -1 "$1/NOTICES.txt")" "$1/kestramo.exe"; then
    echo "terms: kestramo.exe does not carry its notices" >&2
    status=1
fi

# The Windows program: address-space randomisation (64-bit), no execution of data, ready
# for Remote Desktop, and the stack protector's check linked in from the static libssp.
characteristics=$(x86_64-w64-mingw32-objdump -p "$1/kestramo.exe")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
    if ! grep -qw "$flag" <<<"$characteristics"; then
        echo "hardening: kestramo.exe lacks $flag in its PE header" >&2
        status=1
    fi
done
if ! grep -qa "stack smashing detected" "$1/kestramo.exe"; then
    echo "hardening: kestramo.exe has no stack protector" >&2
    status=1
fi
[ $status -eq 0 ] && echo "release: every size, term and hardening feature checked is there"
exit $status
