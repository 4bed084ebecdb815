#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Builds the host and the plug-in and makes the Debian package of their
# install (cmake/install.cmake shows the layout) in ${BUILD_DIR:-build}/package.
# Install it with `dpkg -i`.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
SETUP=package "$root/scripts/setup.sh"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package"
