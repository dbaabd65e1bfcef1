#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build=${COURTORIA_BUILD:-$here/build}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
