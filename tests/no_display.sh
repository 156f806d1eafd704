#!/usr/bin/env bash
# Started with no display to reach, the program says so in one line and exits with an
# error status: no abort, no core dump, no Qt backtrace.
set -u
program=$1
for display in "" ":97"; do
    output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$program" 2>&1)
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$status" -eq 0 ] || [ "$status" -ge 128 ]; then
        echo "FAIL: DISPLAY='$display' exited with status $status"; exit 1
    fi
    if [ "$lines" -ne 1 ] || ! printf '%s' "$output" | grep -q 'няма достъпен графичен екран'; then
        echo "FAIL: DISPLAY='$display' printed:"; printf '%s\n' "$output"; exit 1
    fi
    echo "ok: DISPLAY='$display': $output"
done
