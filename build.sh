#!/usr/bin/env bash
# One entry for every task: ./build.sh run | test | core | format | sanitize | memcheck |
# accessibility | test-screen-reader | wayland | windows | test-windows | web | test-web |
# bench | bench-windows | bench-web | screenshot | screenshot-web | screenshot-app | dist |
# test-dist
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
# The version, as CMakeLists.txt alone states it: the release files' names carry it.
version=$(sed -n 's/^project(Kestramo VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
# The release folder's way in, first in the folder and in Bulgarian ("start here").
way_in=0-ЗАПОЧНЕТЕ-ОТТУК.html
jobs=$(nproc 2>/dev/null || echo 2)

# Configures, then builds the targets named (everything when none is).
configure_and_build() {
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    if [ $# -eq 0 ]; then
        cmake --build "$build_dir" -j "$jobs"
    else
        cmake --build "$build_dir" -j "$jobs" --target "$@"
    fi
}

# The WebAssembly build: emscripten's optimiser finds Debian's acorn through NODE_PATH, and
# this Node runs its glue code only without Node's own fetch.
configure_web() {
    export NODE_PATH=/usr/share/nodejs
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=MinSizeRel \
        "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch" >/dev/null
}

# The teacher's guide, with its pictures taken from the real window of the Qt build in
# $build_dir: the Windows Installer package carries it beside the program.
make_guide() {
    cmake --build "$build_dir" -j "$jobs" --target kestramo_shots
    QT_QPA_PLATFORM=offscreen "$build_dir/kestramo_shots" "$build_dir/shots" >/dev/null
    /usr/bin/python3 tools/make_guide.py "$version" "$build_dir/shots" "$build_dir/guide-bg.html" \
        --start "$build_dir/$way_in"
}

# The Windows build, with the guide made on this machine's own build for its MSI.
configure_windows() {
    configure_and_build kestramo
    make_guide
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release "-DKESTRAMO_GUIDE=$PWD/$build_dir/guide-bg.html" >/dev/null
}

# The project's own sources, for the formatting check.
sources() {
    git ls-files '*.cpp' '*.h' 2>/dev/null || find app ui exercise speed tests bench -name '*.cpp' -o -name '*.h'
}

case "${1:-}" in
run)
    tools/install-deps.sh
    configure_and_build kestramo
    exec "$build_dir/kestramo"
    ;;
test)
    tools/install-deps.sh --package --desktop
    configure_and_build
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
    ;;
core)
    # The core and the headless binding alone, with Qt out of sight: a toolkit header
    # that creeps into the core fails this build.
    tools/install-deps.sh
    build_dir=build-core
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
    cmake --build "$build_dir" -j "$jobs"
    ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
    ;;
format)
    # Every source in the one style of .clang-format; fails on the first difference.
    tools/install-deps.sh --format
    sources | xargs clang-format --dry-run --Werror
    echo "format: $(sources | wc -l) files in style"
    ;;
sanitize)
    # The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
    tools/install-deps.sh
    build_dir=build-sanitize
    flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    cmake --build "$build_dir" -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" \
        -E 'test_desktop_gtk_dark|test_startup_small_screen'
    # (Those two run on a real X display, where the X keyboard library's own key-map strings
    # trip the strict string checks; the plain suite runs them.)
    ;;
bench)
    # Timing figures of the real form with the real clock; see bench/timing.cpp.
    tools/install-deps.sh --display
    configure_and_build
    cmake --build "$build_dir" -j "$jobs" --target kestramo_bench
    mkdir -p bench-results
    status=0
    QT_QPA_PLATFORM=offscreen "$build_dir/kestramo_bench" bench-results/timing-offscreen.json \
        "${2:-3}" || status=1
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
        "$build_dir/kestramo_bench" bench-results/timing-xcb.json "${2:-3}" || status=1
    exit $status
    ;;
accessibility)
    # Through the accessibility bus alone, on a virtual screen: find the controls, press
    # «Почни» and read the counter as it advances.
    tools/install-deps.sh --display --accessibility
    configure_and_build
    dbus-run-session -- xvfb-run -a /usr/bin/python3 tests/qt/atspi_session.py "$build_dir/kestramo"
    ;;
test-screen-reader)
    # The window, then the page in a headed Chromium, with Orca and speech-dispatcher on a
    # virtual screen, driven by keys alone; what Orca said, read from its debug log, step
    # by step.
    tools/install-deps.sh --display --accessibility --screen-reader --web
    configure_and_build
    configure_web
    cmake --build build-web -j "$jobs" --target page
    dbus-run-session -- /usr/bin/python3 tests/qt/orca_session.py "$build_dir/kestramo"
    dbus-run-session -- /usr/bin/python3 tests/qt/orca_session.py "$build_dir/kestramo" \
        build-web/kestramo.html
    ;;
memcheck)
    # A scripted session (start-up, both tests, lookups, closing during a run) under
    # valgrind: no invalid read or write and no definite leak, or it fails.
    tools/install-deps.sh --memcheck
    configure_and_build
    cmake --build "$build_dir" -j "$jobs" --target kestramo_session
    QT_QPA_PLATFORM=offscreen valgrind --leak-check=full --errors-for-leak-kinds=definite \
        --show-leak-kinds=definite --error-exitcode=3 "$build_dir/kestramo_session"
    ;;
wayland)
    # The window on a headless Weston: with no platform chosen it goes through X and keeps
    # its fixed frame, its whole caption and its place in the middle.
    tools/install-deps.sh --wayland
    configure_and_build platform_probe
    tests/wayland.sh "$build_dir/tests/platform_probe"
    ;;
windows)
    # The Windows program on the plain Win32 controls, cross-compiled (static: it needs
    # nothing beside it), its setup program and its Windows Installer package.
    tools/install-deps.sh --windows
    configure_windows
    cmake --build build-windows -j "$jobs" --target kestramo setup msi
    echo "windows: build-windows/kestramo.exe build-windows/kestramo-$version-setup.exe" \
        "build-windows/kestramo-$version.msi"
    ;;
test-windows)
    # Under Wine on a virtual screen: the core's tests built for Windows, the real window
    # driven by mouse and key messages, the version record and icon, and the setup's
    # silent install and uninstall, the MSI's tables, and its silent install, upgrade and
    # removal. Wine is not Windows: this proves the logic.
    tools/install-deps.sh --windows --wine
    configure_windows
    cmake --build build-windows -j "$jobs"
    xvfb-run -a -s "-screen 0 1024x768x24" tools/with-wine.sh \
        ctest --test-dir build-windows --output-on-failure
    ;;
web)
    # The page: the core on the web binding, compiled to WebAssembly, as one HTML file.
    tools/install-deps.sh --web
    configure_web
    cmake --build build-web -j "$jobs" --target page
    echo "web: build-web/kestramo.html, $(stat -c %s build-web/kestramo.html) bytes"
    ;;
test-web)
    # The core's tests compiled to WebAssembly under Node, then the real page in headless
    # Chromium, WebKitGTK and Firefox ESR, driven from outside as a user drives it (the
    # client for Firefox comes from npm, pinned by tests/web/package-lock.json).
    tools/install-deps.sh --web
    npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
    configure_web
    cmake --build build-web -j "$jobs"
    ctest --test-dir build-web --output-on-failure
    ;;
bench-web)
    # The page's clock in headless Chromium beside a plain setInterval in the same page, the
    # delay from a tick to its frame, the load to the first paint and the file's size; a
    # letter test in every engine and with a CPU slowed 6x; a pupil's first load.
    tools/install-deps.sh --web
    configure_web
    npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
    cmake --build build-web -j "$jobs" --target page test_page
    xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/web_timing.py \
        build-web/kestramo.html
    ;;
bench-windows)
    # The Windows clock's timing table under Wine, beside SetTimer in the same run. Wine
    # is not Windows: its timers differ, so the figures show the logic, not a Windows PC.
    tools/install-deps.sh --windows --wine
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-windows -j "$jobs" --target kestramo_bench_windows
    xvfb-run -a -s "-screen 0 1024x768x24" tools/with-wine.sh \
        wine build-windows/kestramo_bench_windows.exe
    ;;
dist)
    # Everything a teacher takes, built for release into dist/, with SHA256SUMS. The same
    # commit gives the same bytes: times come from the last commit, and the builder's
    # folder, umask, locale and time zone are kept out of the files.
    tools/install-deps.sh --package --windows --web --display
    # The release's time: SOURCE_DATE_EPOCH when the builder gives it (as for a source
    # archive), the last commit's otherwise.
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
            echo "dist: not a git checkout: give the release's time as SOURCE_DATE_EPOCH" \
                "(seconds since 1970, e.g. the commit's: git log -1 --format=%ct)" >&2
            exit 1
        }
    fi
    [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] || {
        echo "dist: SOURCE_DATE_EPOCH must be whole seconds since 1970, not '$SOURCE_DATE_EPOCH'" >&2
        exit 1
    }
    export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
    unset LANGUAGE
    umask 022
    rm -rf dist build-dist build-dist-windows build-dist-web
    mkdir dist
    build_dir=build-dist
    cmake -S . -B build-dist -DCMAKE_BUILD_TYPE=Release -DKESTRAMO_REPRODUCIBLE=ON \
        -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-dist -j "$jobs"
    (cd build-dist && cpack -G DEB >/dev/null)
    cp "build-dist/kestramo_${version}_amd64.deb" dist/
    make_guide
    cp build-dist/guide-bg.html "build-dist/$way_in" dist/
    cmake -S . -B build-dist-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DKESTRAMO_REPRODUCIBLE=ON -DBUILD_TESTING=OFF \
        "-DKESTRAMO_GUIDE=$PWD/build-dist/guide-bg.html" >/dev/null
    cmake --build build-dist-windows -j "$jobs" --target kestramo setup msi
    cp build-dist-windows/kestramo.exe "build-dist-windows/kestramo-$version-setup.exe" \
        "build-dist-windows/kestramo-$version.msi" dist/
    export NODE_PATH=/usr/share/nodejs
    emcmake cmake -S . -B build-dist-web -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DKESTRAMO_REPRODUCIBLE=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-dist-web -j "$jobs" --target page hosted
    cp build-dist-web/kestramo.html "build-dist-web/kestramo-$version-web.zip" dist/
    # The terms of use, and the notices of the work of others that the files embed.
    cp LICENSE dist/LICENSE.txt
    cp NOTICES dist/NOTICES.txt
    (cd dist && sha256sum "$way_in" "kestramo_${version}_amd64.deb" "kestramo-$version-setup.exe" \
        "kestramo-$version.msi" kestramo.exe kestramo.html "kestramo-$version-web.zip" \
        guide-bg.html LICENSE.txt NOTICES.txt >SHA256SUMS &&
        sha256sum -c SHA256SUMS)
    # The policy this release's page carries, for a server that is to send it as well.
    echo "dist: the page's Content-Security-Policy: $(sed -n \
        's/.*<meta http-equiv="Content-Security-Policy" content="\([^"]*\)">.*/\1/p' \
        build-dist-web/kestramo-web/index.html)"
    ;;
test-dist)
    # Three dist builds of this commit, one after the other: two from fresh clones with
    # another umask and locale, and one from a source archive (git archive) given the
    # commit's time. Every file must come out the same, byte for byte, and within its size.
    # Then a fourth, of the next version, upgrades the first's MSI, setup and .deb.
    tools/install-deps.sh --package --windows --wine --web --display --dist
    commit=$(git rev-parse HEAD)
    epoch=$(git log -1 --format=%ct "$commit")
    work=$(mktemp -d "${TMPDIR:-/tmp}/kestramo-test-dist.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    git clone -q . "$work/first"
    git clone -q . "$work/second-build"
    mkdir "$work/from-archive"
    git archive --format=tar "$commit" | tar -x -C "$work/from-archive"
    (cd "$work/first" && git checkout -q "$commit" && umask 022 && \
        LC_ALL=C.UTF-8 ./build.sh dist)
    (cd "$work/second-build" && git checkout -q "$commit" && umask 077 && \
        LC_ALL=C LANG=bg_BG.UTF-8 TZ=Europe/Sofia ./build.sh dist)
    (cd "$work/from-archive" && SOURCE_DATE_EPOCH=$epoch ./build.sh dist)
    status=0
    for build in second-build from-archive; do
        if [ "$(cd "$work/first/dist" && ls)" != "$(cd "$work/$build/dist" && ls)" ]; then
            echo "test-dist: the $build build made other files than the first" >&2
            status=1
        fi
        for file in $(cd "$work/first/dist" && ls); do
            if ! cmp -s "$work/first/dist/$file" "$work/$build/dist/$file"; then
                echo "test-dist: $file differs between the first and the $build build" >&2
                diffoscope --text - "$work/first/dist/$file" "$work/$build/dist/$file" || true
                status=1
            fi
        done
    done
    tools/check-release.sh "$work/first/dist" || status=1
    # The next release, from a copy of this tree whose version is changed in CMakeLists.txt
    # alone, installed over this one: its MSI, its setup and its .deb each upgrade in place.
    next=$(awk -v v="$version" 'BEGIN { printf "%.2f", v + 0.01 }')
    mkdir "$work/next"
    git archive --format=tar "$commit" | tar -x -C "$work/next"
    sed -i "s/^project(Kestramo VERSION $version /project(Kestramo VERSION $next /" \
        "$work/next/CMakeLists.txt"
    (cd "$work/next" && SOURCE_DATE_EPOCH=$epoch ./build.sh dist >/dev/null)
    tests/upgrade.sh "$work/first/dist" "$work/next/dist" || status=1
    for build in first second-build from-archive; do
        echo "test-dist: SHA256SUMS of the $build build"
        cat "$work/$build/dist/SHA256SUMS"
    done
    [ $status -eq 0 ] && echo "test-dist: $(ls "$work/first/dist" | wc -l) files," \
        "the same bytes in all three builds, each within its size"
    exit $status
    ;;
screenshot-app)
    # The page installed as an app: Chromium's app window on a virtual screen, the hosted
    # folder served from loopback.
    tools/install-deps.sh --web --display
    configure_web
    cmake --build build-web -j "$jobs" --target hosted
    xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 tools/app_screenshot.py \
        build-web/kestramo-web "${2:-docs/screenshot-web-app.png}"
    ;;
screenshot-web)
    # The page in headless Chromium, the viewport the size of the form: at start-up, or
    # (with "lookup") after a letter test with one letter looked up; at a device-pixel ratio.
    tools/install-deps.sh --web
    configure_web
    cmake --build build-web -j "$jobs" --target page test_page
    /usr/bin/python3 tools/page_screenshot.py build-web/kestramo.html \
        "${2:-docs/screenshot-web.png}" "${3:-1}" "${4:-start-up}"
    ;;
screenshot)
    # The real program on a virtual screen the size of its window, so the screen is the window.
    tools/install-deps.sh --display
    configure_and_build
    out=${2:-docs/screenshot.png}
    xvfb-run -a -s "-screen 0 476x345x24" sh -c \
        "'$build_dir/kestramo' & sleep 2; import -window root '$out'; kill \$! 2>/dev/null || true"
    echo "screenshot: $out"
    ;;
*)
    echo "usage: ./build.sh run | test | core | format | sanitize | memcheck | accessibility |" \
        "test-screen-reader | wayland | windows | test-windows | web | test-web |" \
        "bench [repeats] | bench-windows | bench-web | screenshot [file.png] |" \
        "screenshot-web [file.png] [ratio] [lookup] | dist | test-dist" >&2
    exit 2
    ;;
esac
