#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Builds the fuzzers (clang, ASan+UBSan, libFuzzer) into ${BUILD_DIR:-build-fuzz}
# and runs each for ${FUZZ_SECONDS:-60} seconds from its seed corpus. New
# inputs go to the build directory; a crash leaves its input there as
# crash-* and fails the script. Extra arguments go to every fuzzer.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build-fuzz}
export BUILD_TYPE=RelWithDebInfo
export BUILD_TARGETS="fuzz_displaydata fuzz_selection"
CC=clang-14 CXX=clang++-14 "$root/scripts/setup.sh" -DVELDMARK_SANITIZE=ON -DVELDMARK_FUZZ=ON

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
seconds=${FUZZ_SECONDS:-60}
for name in displaydata selection; do
    corpus=$BUILD_DIR/corpus/$name
    mkdir -p "$corpus" "$BUILD_DIR/artifacts"
    echo "== fuzz_$name for ${seconds}s"
    "$BUILD_DIR/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
        -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$BUILD_DIR/artifacts/$name-" \
        "$@" "$corpus" "$root/fuzz/corpus/$name"
done
