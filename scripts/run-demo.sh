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
# The demo's relay modules: relaysim on a pseudo-terminal, named as COM1, stopped with the program.
# Its traffic goes to relaysim.log beside the demo.
"$build/tools/relaysim/relaysim" >"$demo/relaysim.log" 2>&1 &
relaysim=$!
trap 'kill "$relaysim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -s "$demo/relaysim.log" ] && break
    sleep 0.1
done
device=$(head -n 1 "$demo/relaysim.log")
set_registry() { # name value: the [Vantrell] value in the registry file
    local file=$COURTORIA_REGISTRY tmp
    tmp=$(mktemp)
    touch "$file"
    awk -v key="$1" -v value="$2" '
        /^\[/ { if (group && !done) { print key "=" value; done = 1 } group = ($0 == "[Vantrell]") }
        group && index($0, key "=") == 1 { if (!done) print key "=" value; done = 1; next }
        { print }
        END { if (!done) { if (!group) print "[Vantrell]"; print key "=" value } }' "$file" >"$tmp"
    mv "$tmp" "$file"
}
set_registry COM1 "$device"
# The demo's card terminal: scardsim's libscard32.so, found on the library path. Cards go in with
# build/tools/scardsim/scardsim (see the README).
export LD_LIBRARY_PATH="$build/tools/scardsim${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/src/app/courtoria"
else
    "$build/src/app/courtoria"
fi

