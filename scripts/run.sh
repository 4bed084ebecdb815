#!/usr/bin/env bash
# Builds everything and runs the main job.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
echo "Built the dialog library. There is nothing to run yet: the host and its example scripts come later."
