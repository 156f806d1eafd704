#!/usr/bin/env bash
# The program in a folder pupils can write to, with an accessibility library planted beside
# it (run inside tools/with-wine.sh). Wine is told to prefer a library found on disk to its
# own, as Windows loads any library that is not a known system one: the program must still
# take the system's, and the planted one must never run.
set -u
program=$1 planted=$2
folder=$(mktemp -d "${TMPDIR:-/tmp}/kestramo-planted.XXXXXX")
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/kestramo.exe"
cp "$planted" "$folder/OLEACC.dll"
WINEDEBUG=+loaddll WINEDLLOVERRIDES="$WINEDLLOVERRIDES;oleacc=n,b" \
    wine "$folder/kestramo.exe" </dev/null >/dev/null 2>"$folder/loads" &
running=$!
# The window loads the accessibility library as it is made.
for _ in $(seq 120); do
    grep -qi 'loaddll.*oleacc' "$folder/loads" && break
    [ -e "$folder/planted-library-ran" ] && break
    sleep 0.25
done
sleep 1
kill "$running" 2>/dev/null
wait "$running" 2>/dev/null
loaded=$(grep -i 'loaddll.*oleacc' "$folder/loads" | tr -d '\r')
echo "${loaded:-the accessibility library was never loaded}"
if [ -e "$folder/planted-library-ran" ] || ! grep -q 'builtin' <<<"$loaded" || grep -q 'native' <<<"$loaded"; then
    echo "FAIL: the library planted beside the program was loaded"
    exit 1
fi
echo "ok: the system's own accessibility library, the planted one never ran"
