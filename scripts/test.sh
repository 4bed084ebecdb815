#!/usr/bin/env bash
# Installs what the tests, benchmarks, fuzzers and packaging need, builds
# everything and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2
