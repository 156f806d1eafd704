#!/usr/bin/env bash
# A release folder kept lean: every file within its size budget (a file that grows past it,
# say a program that took its debugging information along or a page that swallowed a
# second font, fails with its name and size; a file with no budget fails too, so that a new
# one gets one), and the Windows program with no debugging sections at all.
# usage: check-release.sh DIST_FOLDER
set -euo pipefail
declare -A budget=(
    [kestramo.exe]=$((1536 * 1024))
    [kestramo-1.00-setup.exe]=$((1024 * 1024))
    [kestramo-1.00.msi]=$((1024 * 1024))
    [kestramo.html]=$((512 * 1024))
    [kestramo_1.00_amd64.deb]=$((200 * 1024))
    [guide-bg.html]=$((512 * 1024))
    [SHA256SUMS]=$((4 * 1024))
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
exit $status
