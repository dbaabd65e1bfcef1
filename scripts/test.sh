#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build=${COURTORIA_BUILD:-$here/build}
# The sources keep the style file at the root; a file off it fails the run like a failing test.
sources=$(cd "$here" && find src tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print)
if ! (cd "$here" && clang-format --dry-run --Werror $sources); then
    echo "Sources are not formatted: run clang-format -i on the files above." >&2
    exit 1
fi
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
