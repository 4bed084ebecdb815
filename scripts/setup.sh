#!/usr/bin/env bash
# Shared set-up: installs the Debian packages the build needs (only those
# missing), then configures and builds into ${BUILD_DIR:-build} as
# ${BUILD_TYPE:-Release}. Arguments go to CMake's configure step.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}

packages=(
    g++ cmake ninja-build pkg-config
    qtbase5-dev qtbase5-dev-tools
    qttools5-dev qttools5-dev-tools
    python3-dev pybind11-dev
    fonts-dejavu-core fontconfig
    libbenchmark-dev python3-pyqt5
    clang-14 libclang-rt-14-dev
    python3-mypy
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "Run as root to install the missing packages." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" \
    -DPython3_EXECUTABLE=/usr/bin/python3 "$@"
cmake --build "$build" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
