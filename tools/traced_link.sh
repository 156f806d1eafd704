#!/usr/bin/env bash
# Runs a link with the linker's trace on, and keeps in $1 the name of every library it read,
# one a line: the release check finds each of them named in NOTICES. Any other command of
# the link rule (an archiver, cmake -E) runs as it is.
# usage (CMake's RULE_LAUNCH_LINK): traced_link.sh LIBRARIES_FILE COMMAND...
set -uo pipefail
libraries=$1
shift
case "$(basename "$1")" in
*g++* | *gcc* | em++ | emcc) ;;
*) exec "$@" ;;
esac
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT
"$@" -Wl,--trace >"$trace"
status=$?
# GNU ld and wasm-ld both print each input as a path, an archive's members as archive(member).
grep -o '[^/( ]*\.a\((\|$\)' "$trace" | sed 's/($//' | sort -u >"$libraries"
grep -v '\.\(o\|obj\|a\|a(.*)\)$' "$trace" || true
exit $status
