#!/usr/bin/env bash
# The desktop entry and the AppStream description pass their validators, and the Debian
# package that cpack makes from this build is clean of lintian's errors and warnings.
set -eu
packaging=$1
build=$2
desktop-file-validate "$packaging/bg.kestramo.Kestramo.desktop"
appstreamcli validate --no-net "$packaging/bg.kestramo.Kestramo.metainfo.xml"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/kestramo_*.deb)
dpkg-deb --info "$deb" | sed -n '/Description/,$p'
# Root runs lintian too on these machines: it only reads the package.
lintian --allow-root --fail-on error,warning "$deb"
echo "lintian: $(basename "$deb") clean"
