#!/usr/bin/env bash
# Installs the Debian packages Kestramo needs that are missing; does nothing when all are
# present. With --display it adds what running the window headless and screenshots need,
# with --memcheck valgrind, with --accessibility the accessibility bus and its Python client,
# with --screen-reader Orca, speech-dispatcher with espeak-ng, and xdotool to drive by keys,
# with --format clang-format, with --package what makes and checks the Debian package (and
# a 64-bit ARM compiler, to try the hardening chosen for that processor),
# with --wayland a headless Weston with its X bridge and Qt's Wayland plugin, with
# --desktop a virtual screen and Qt's GTK theme, to meet a desktop's dark scheme, with
# --windows the cross-compiler for Windows, NSIS, and wixl with the MSI library that
# mends its packages, with --wine Wine to run what it makes,
# with --web the WebAssembly compiler, the font tools for the page's own font, and a
# headless Chromium with its driver to test the page (and poppler to read its print),
# WebKitGTK's driver and Firefox ESR for the other engines, and nginx and Apache's server
# (not its service) to serve the web app as documented, with --dist diffoscope to show
# how two builds differ.
set -euo pipefail

# (Qt's private headers: a test switches its accessibility on as Qt's own tests do.)
packages=(cmake make g++ dpkg-dev libgtest-dev qt6-base-dev qt6-base-private-dev qt6-qpa-plugins
    qt6-translations-l10n fontconfig fonts-liberation2)
for option in "$@"; do
    case "$option" in
    --display) packages+=(xvfb xauth imagemagick) ;;
    --memcheck) packages+=(valgrind) ;;
    --accessibility) packages+=(dbus at-spi2-core python3-pyatspi) ;;
    --screen-reader) packages+=(orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
        xdotool xvfb) ;;
    --format) packages+=(clang-format) ;;
    --package) packages+=(dpkg-dev file lintian desktop-file-utils appstream
        g++-aarch64-linux-gnu) ;;
    --desktop) packages+=(xvfb xauth qt6-gtk-platformtheme) ;;
    --windows) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest nsis
        wixl msitools gir1.2-libmsi-1.0 python3-gi) ;;
    --wine) packages+=(wine wine64 fonts-wine xvfb xauth) ;;
    --wayland) packages+=(weston xwayland qt6-wayland) ;;
    --dist) packages+=(diffoscope-minimal devscripts unzip) ;;
    --web) packages+=(emscripten nodejs node-acorn python3-fonttools python3-brotli chromium
        chromium-driver python3-selenium python3-pil poppler-utils webkit2gtk-driver
        firefox-esr xvfb xauth nginx-light apache2-bin media-types) ;;
    *) echo "install-deps: unknown option $option" >&2; exit 2 ;;
    esac
    # npm, for Firefox's client, from Debian only where the machine's Node has none.
    if [ "$option" = --web ] && ! command -v npm >/dev/null 2>&1; then packages+=(npm); fi
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: these packages are missing and there is no sudo: ${missing[*]}" >&2
    exit 1
fi
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
