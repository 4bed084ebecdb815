#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer
# into ${BUILD_DIR:-build-asan} and runs every test under them, leak
# detection on. Arguments go to ctest (e.g. -R tst_scripting).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build-asan}
export BUILD_TYPE=RelWithDebInfo
"$root/scripts/setup.sh" -DVELDMARK_SANITIZE=ON

# Only allocations that libraries outside the project keep on purpose are
# suppressed (fontconfig, Qt's offscreen plug-in); see the file.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# pymalloc hands out memory ASan cannot see into; plain malloc lets it check.
export PYTHONMALLOC=malloc
cd "$BUILD_DIR"
ctest --output-on-failure -j2 "$@"
