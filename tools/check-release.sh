#!/usr/bin/env bash
# A release folder kept lean: every file within its size budget (a file that grows past it,
# say a program that took its debugging information along or a page that swallowed a
# second font, fails with its name and size; a file with no budget fails too, so that a new
# one gets one), the Windows program with no debugging sections at all, and both programs
# hardened: a release that loses a hardening feature fails with its name. Every file that
# states the licence states it in LICENSE's words, and every library linked into the
# Windows program or the page is named in NOTICES.
# usage: check-release.sh DIST_FOLDER (the dist folder of a tree that ./build.sh dist built)
set -euo pipefail
budget() {
    case "$1" in
    kestramo.exe) echo $((1536 * 1024)) ;;
    kestramo-*-setup.exe | kestramo-*.msi) echo $((1024 * 1024)) ;;
    kestramo.html | kestramo-*-web.zip | guide-bg.html) echo $((512 * 1024)) ;;
    kestramo_*_amd64.deb) echo $((200 * 1024)) ;;
    0-*.html) echo $((8 * 1024)) ;; # the way in
    SHA256SUMS) echo $((4 * 1024)) ;;
    LICENSE.txt | NOTICES.txt) echo $((64 * 1024)) ;;
    esac
}
status=0
for path in "$1"/*; do
    file=$(basename "$path")
    size=$(stat -c %s "$path")
    limit=$(budget "$file")
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

# The licence stated in the same words everywhere: LICENSE's third line, after its second
# (the holders of rights) where a file names both. Programs keep their version record's
# texts in UTF-16.
holders=$(sed -n 2p "$1/LICENSE.txt")
licence=$(sed -n 3p "$1/LICENSE.txt")
states() { # FILE TEXT [utf-16-le]: the file carries the text
    /usr/bin/python3 -c 'import sys; sys.exit(sys.argv[2].encode(sys.argv[3])
        not in open(sys.argv[1], "rb").read())' "$1" "$2" "${3:-utf-8}"
}
msi=$(echo "$1"/kestramo-*.msi)
msiextract -C "$unpacked/msi" "$msi" >/dev/null
unzip -q -d "$unpacked/web" "$1"/kestramo-*-web.zip
gunzip -c "$unpacked/usr/share/man/man1/kestramo.1.gz" >"$unpacked/kestramo.1"
gunzip -c "$unpacked/usr/share/man/bg/man1/kestramo.1.gz" >"$unpacked/kestramo.bg.1"
for file in "$unpacked/usr/share/doc/kestramo/copyright" "$unpacked/kestramo.1" \
    "$unpacked/kestramo.bg.1" "$unpacked"/usr/share/metainfo/*.xml "$1/kestramo.html" \
    "$unpacked/web/kestramo/index.html" "$1/guide-bg.html"; do
    states "$file" "$licence" || { echo "terms: ${file#"$unpacked/"} does not state the licence" >&2; status=1; }
done
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$unpacked"/usr/share/metainfo/*.xml ||
    { echo "terms: the AppStream file names another licence" >&2; status=1; }
grep -q '^License: GPL-3.0-or-later$' "$unpacked/usr/share/doc/kestramo/copyright" ||
    { echo "terms: the .deb's copyright names another licence" >&2; status=1; }
for file in "$1/kestramo.exe" "$1"/kestramo-*-setup.exe; do
    states "$file" "$holders $licence" utf-16-le ||
        { echo "terms: $(basename "$file")'s version record does not state the licence" >&2; status=1; }
done
[ "$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ARPCOMMENTS" { print $2 }')" = \
    "$holders $licence" ] || { echo "terms: $(basename "$msi") does not state the licence" >&2; status=1; }
states "$1/kestramo.html" "$(cat "$1/LICENSE.txt")" && states "$1/kestramo.html" "SIL OPEN FONT LICENSE" ||
    { echo "terms: kestramo.html lacks the licence's text or its font's licence" >&2; status=1; }
for file in LICENSE.txt NOTICES.txt; do
    found=$(find "$unpacked/msi" -name "$file" | head -1)
    [ -n "$found" ] && cmp -s "$found" "$1/$file" ||
        { echo "terms: $(basename "$msi") does not carry $file" >&2; status=1; }
done

# Every library linked into the Windows program or the page is part of a work that NOTICES
# names (the release build keeps each program's list, by tools/traced_link.sh).
work_of() {
    case "$1" in
    libkestramo_*.a | objects.a) echo "Kestramo" ;;
    libgcc*.a | libstdc++*.a | libssp*.a) echo "GCC runtime libraries" ;;
    libpthread.a | libwinpthread*.a) echo "winpthreads" ;;
    libmingw32.a | libmingwex.a | libmoldname.a | libmsvcrt.a | libkernel32.a | libuser32.a | \
        libgdi32.a | libcomctl32.a | libcomdlg32.a | libadvapi32.a | libshell32.a | libole32.a | \
        liboleaut32.a | libuuid.a | libwinspool.a) echo "MinGW-w64 runtime" ;;
    libc.a | libc-*.a) echo "musl C library" ;;
    libc++abi*.a) echo "libc++abi" ;;
    libc++*.a) echo "libc++" ;;
    libunwind*.a) echo "libunwind" ;;
    libcompiler_rt*.a) echo "compiler-rt" ;;
    libdlmalloc*.a) echo "dlmalloc" ;;
    libstubs*.a | libnoexit*.a) echo "Emscripten run time" ;;
    esac
}
for list in "$1/../build-dist-windows/kestramo.libraries" "$1/../build-dist-web/kestramo_page.libraries"; do
    if [ ! -s "$list" ]; then
        echo "notices: no list of the libraries linked, $list" >&2
        status=1
        continue
    fi
    while read -r library; do
        work=$(work_of "$library")
        if [ -z "$work" ]; then
            echo "notices: $(basename "$list" .libraries) links $library, part of no work NOTICES names" >&2
            status=1
        elif [ "$work" != Kestramo ] && ! grep -qF "$work" "$1/NOTICES.txt"; then
            echo "notices: $(basename "$list" .libraries) links $library, but NOTICES does not name $work" >&2
            status=1
        fi
    done <"$list"
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
[ $status -eq 0 ] && echo "release: every size, term, notice and hardening feature checked is there"
exit $status
