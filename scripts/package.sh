#!/usr/bin/env bash
# Builds the Debian package courtoria_VERSION_ARCH.deb in a build directory of its own, configured
# for the prefix /usr (COURTORIA_DEB_BUILD, default build-deb), and prints the package's path.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${COURTORIA_DEB_BUILD:-$here/build-deb}
# setup.sh installs what is missing and builds; the prefix only changes what is installed, so
# setting it afterwards rebuilds nothing but the manual pages.
COURTORIA_BUILD=$build "$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DCOURTORIA_SIMULATED_TERMINAL=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/courtoria_*.deb
(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$build/package" >/dev/null)
mv "$build"/package/courtoria_*.deb "$build/"
ls "$build"/courtoria_*.deb
