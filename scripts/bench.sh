#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Builds everything, then times the dialogs' hot paths against their floors
# and prints the table of ratios. Extra arguments go to the benchmark program
# (e.g. --repetitions=9, or Google Benchmark's --benchmark_filter=Tick).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
"${BUILD_DIR:-$root/build}/bench/veldmark-bench" "$@"
