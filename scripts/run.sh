#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The main job: builds the host and the plug-in, then runs the example query
# through the host. With a display the dialogs open for a person; without one
# the host runs offscreen and a simulated user answers them as the example's
# answers file says, saving their pictures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
SETUP=example "$root/scripts/setup.sh"

output=$build/example-run
rm -rf "$output"
options=()
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]] || [[ ${QT_QPA_PLATFORM:-} == offscreen ]]; then
    export QT_QPA_PLATFORM=offscreen
    # Qt wants a private runtime folder and complains on every run without one.
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        export XDG_RUNTIME_DIR
        trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
    fi
    answers=$root/examples/veldmark_query.answers.json
    echo "No display: a simulated user answers the dialogs as ${answers#"$root"/} says."
    options+=(--answers "$answers" --pictures "$output/pictures")
fi

echo
"$build/host/veldmark-script-host" "${options[@]}" "$root/examples/veldmark_query.py" "$output"
