#!/usr/bin/env bash
# Runs a command with Wine made ready for tests: a private prefix of its own for this run,
# no debug chatter, no Mono or Gecko prompts, no menu entries written into HOME, Wine's own
# fonts in the prefix (its caption buttons need Marlett), Wine drawing its own window
# frames (there is no window manager on the virtual screen), and one wineserver kept
# running for the whole run. The caller provides the display (xvfb-run).
set -euo pipefail
prefix=$(mktemp -d "${TMPDIR:-/tmp}/kestramo-wine.XXXXXX")
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wineboot -i >/dev/null 2>&1
wineserver -w # the prefix is ready once its first server has ended
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
wineserver -p || true # from here on one server for every test
# Wine's own services start with the first program and live on: started here, they hold
# no test's output open (a test runner would wait for them to close it).
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
"$@"
