#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Shared set-up: installs the Debian packages the build needs (only those
# missing), then configures and builds into ${BUILD_DIR:-build} as
# ${BUILD_TYPE:-Release}. Arguments go to CMake's configure step.
#
# SETUP=example (scripts/run.sh) installs and builds only what running the
# example needs: the host, the plug-in and what they link; SETUP=package
# (scripts/package.sh) adds what packaging them needs. Otherwise it installs
# everything the tests, benchmarks, fuzzers and packaging need and builds
# ${BUILD_TARGETS:-everything}.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}

packages=(
    g++ cmake ninja-build
    qtbase5-dev qtbase5-dev-tools
    python3-dev
    fonts-dejavu-core fontconfig
)
configure=()
targets=()
case ${SETUP:-all} in
example | package)
    # A folder that the test command configured keeps its tests.
    [[ -f $build/CMakeCache.txt ]] || configure+=(-DBUILD_TESTING=OFF)
    targets=(veldmark-script-host veldmarkplugin)
    if [[ $SETUP == package ]]; then
        # help2man writes the host's manual page: the packagedocs target.
        packages+=(dpkg-dev help2man)
        targets+=(packagedocs)
    fi
    ;;
*)
    packages+=(
        qttools5-dev qttools5-dev-tools
        libbenchmark-dev python3-pyqt5
        clang-14 libclang-rt-14-dev
        dpkg-dev help2man lintian python3-mypy
    )
    configure+=(-DBUILD_TESTING=ON)
    read -r -a targets <<<"${BUILD_TARGETS:-}"
    ;;
esac

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

# The prefix /usr, as Debian's own packaging configures: `cpack -G DEB` then
# packages the multiarch layout, and `cmake --install <build> --prefix DIR`
# installs the same tree elsewhere.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" \
    -DCMAKE_INSTALL_PREFIX=/usr -DPython3_EXECUTABLE=/usr/bin/python3 "${configure[@]}" "$@"
build_options=()
if ((${#targets[@]})); then
    build_options=(--target "${targets[@]}")
fi
cmake --build "$build" "${build_options[@]}"
