#!/usr/bin/env bash
# One entry for every task: ./build.sh run | test | screenshot
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() {
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build_dir" -j "$jobs"
}

case "${1:-}" in
run)
    tools/install-deps.sh
    configure_and_build
    exec "$build_dir/kestramo"
    ;;
test)
    tools/install-deps.sh
    configure_and_build
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
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
    echo "usage: ./build.sh run | test | screenshot [file.png]" >&2
    exit 2
    ;;
esac
