#!/usr/bin/env bash
# The desktop entry and the AppStream description pass their validators (when the
# validators are installed: desktop-file-utils, appstream).
set -eu
dir=$1
ran=0
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$dir/bg.kestramo.Kestramo.desktop"; ran=1
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$dir/bg.kestramo.Kestramo.metainfo.xml"; ran=1
fi
[ "$ran" = 1 ] || exit 77
