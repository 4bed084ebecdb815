#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Runs the compatibility scripts (tests/compat/) through the stand-in host
# built with our bridge and through the one built against the real PythonQt,
# and shows where they print differently; exits 1 on a difference that is not
# listed as deliberate in tests/compat/deliberate.txt. Needs a PythonQt build
# in ${PYTHONQT_DIR:-../shared/pythonqt} (beside the repository).
#
#   bash scripts/compat.sh            build the two hosts and plug-ins, compare
#   bash scripts/compat.sh --record   write tests/compat/expected/ again
#   bash scripts/compat.sh --suite    also build every test against the real
#                                     PythonQt and run them all there
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
pythonqt=${PYTHONQT_DIR:-$root/../shared/pythonqt}
if [[ ! -f $pythonqt/include/PythonQt.h ]]; then
    echo "No PythonQt build in $pythonqt (set PYTHONQT_DIR)." >&2
    exit 2
fi
pythonqt=$(cd "$pythonqt" && pwd)
ours=${BUILD_DIR:-$root/build}
real=${PYTHONQT_BUILD_DIR:-$root/build-pythonqt}

mode=compare
case ${1:-} in
    "") ;;
    --record) mode=record ;;
    --suite) mode=suite ;;
    *) echo "usage: $0 [--record|--suite]" >&2; exit 2 ;;
esac

# Only what the scripts run: the host and the plug-in, each way.
BUILD_DIR=$ours BUILD_TARGETS="veldmark-script-host veldmarkplugin" "$root/scripts/setup.sh"
BUILD_DIR=$real BUILD_TARGETS="veldmark-script-host veldmarkplugin" "$root/scripts/setup.sh" \
    -DCMAKE_PREFIX_PATH="$pythonqt"
if ! grep -q "^PYTHONQT_LIBRARY:FILEPATH=$pythonqt/" "$real/CMakeCache.txt"; then
    echo "$real is not built against $pythonqt." >&2
    exit 2
fi

hosts=(--host "$ours/host/veldmark-script-host" --plugins "$ours/plugins"
       --reference-host "$real/host/veldmark-script-host" --reference-plugins "$real/plugins")
compat=(/usr/bin/python3 "$root/tests/compat/compat.py")
if [[ $mode == record ]]; then
    exec "${compat[@]}" record "${hosts[@]}"
fi

status=0
"${compat[@]}" compare "${hosts[@]}" || status=$?
if [[ $mode == suite ]]; then
    cmake --build "$real"
    (cd "$real" && ctest --output-on-failure -j2) || status=1
fi
exit $status
