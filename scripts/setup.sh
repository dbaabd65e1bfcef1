#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), configures and builds.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6sql6-sqlite qt6-serialport-dev
          qt6-charts-dev libqt6opengl6-dev libgl-dev libzip-dev libgsf-1-dev python3-xlrd libsqlite3-dev libpq-dev
          postgresql-15 postgresql-client-15 libqt6sql6-psql
          xvfb xauth openbox clang-format
          librsvg2-bin desktop-file-utils dpkg-dev fakeroot file lintian)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    line="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run as root: apt-get update && $line" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
build=${COURTORIA_BUILD:-$here/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
