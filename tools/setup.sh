#!/usr/bin/env bash
# Everything a fresh Debian 12 machine needs to build Velk Edit, then one of:
#   run    build and start the editor
#   test   build and run every test headless
#   build  just build
# Safe to run again: packages already present are not installed twice.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${VELK_BUILD_DIR:-$here/build}"
mode="${1:-build}"

packages=(g++ cmake make qt6-base-dev qt6-base-dev-tools libgl-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth poppler-utils)

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

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

case "$mode" in
    run)
        exec "$build/bin/velkedit" "${@:2}"
        ;;
    test)
        cd "$build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error
        ;;
    build)
        ;;
    *)
        echo "usage: $0 [run|test|build]" >&2
        exit 2
        ;;
esac
