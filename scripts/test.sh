#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Installs what the tests, benchmarks, fuzzers and packaging need, builds
# everything and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2
