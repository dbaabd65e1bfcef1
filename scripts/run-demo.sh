#!/usr/bin/env bash
# Sets up, builds, creates a demo installation once and starts the program on it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build=${COURTORIA_BUILD:-$here/build}
demo=${COURTORIA_DEMO:-${XDG_DATA_HOME:-$HOME/.local/share}/Courtoria/demo}
export COURTORIA_REGISTRY=${COURTORIA_REGISTRY:-$demo/registry.ini}
export COURTORIA_USER_SETTINGS=${COURTORIA_USER_SETTINGS:-$demo/windows.ini}
if [ ! -f "$demo/Tables/Tennistables.sqlite" ]; then
    mkdir -p "$demo"
    "$build/tools/install/courtoria-install" --dir "$demo" --demo
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/src/app/courtoria"
fi
exec "$build/src/app/courtoria"
