#!/usr/bin/env bash
# Everything a fresh Debian 12 machine needs to build Velk Edit, then one of:
#   run       build and start the editor
#   test      build and run every test headless
#   sanitize  build into build-sanitize/ with AddressSanitizer and
#             UndefinedBehaviorSanitizer, and run every test there
#   build     just build
# Safe to run again: packages already present are not installed twice.
# VELK_WERROR=ON turns compiler warnings into errors (CI sets it).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode="${1:-build}"

case "$mode" in
    run | test | sanitize | build) ;;
    *)
        echo "usage: $0 [run|test|sanitize|build]" >&2
        exit 2
        ;;
esac

# libasan8 and libubsan1 are GCC 12's sanitizer run-times, for the sanitize mode;
# libx11-dev lets the status bar show the Caps Lock and Num Lock state;
# fonts-liberation2 draws "Courier New", the editor's default face, to its metrics.
packages=(g++ cmake make qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libbenchmark-dev
          fonts-dejavu-core fonts-liberation2 xvfb xauth poppler-utils libasan8 libubsan1)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The instrumented build gets a folder of its own: mixing its objects with the
# plain build's would force a full rebuild each time one switches.
build="${VELK_BUILD_DIR:-$here/build}"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_WERROR="${VELK_WERROR:-OFF}")
if [ "$mode" = sanitize ]; then
    build="${VELK_SANITIZE_BUILD_DIR:-$here/build-sanitize}"
    cmake_args+=(-DVELK_SANITIZE=ON)
fi

cmake -S "$here" -B "$build" "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

case "$mode" in
    run)
        exec "$build/bin/velkedit" "${@:2}"
        ;;
    test)
        cd "$build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error
        ;;
    sanitize)
        cd "$build"
        # Any finding ends the test process with a failing exit code, so ctest
        # counts it; options set by the caller come last and win.
        export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
        export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
        export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error
        ;;
esac
