#!/usr/bin/env bash
# The installed program as a user gets it: the install tree, moved away from where it was installed
# to show that the program finds its files by its own location; the program started from it on a
# new installation; the menu entry and manual pages; the Debian package and what lintian says of it.
# Usage: tst_package.sh BUILD_DIR LIBDIR
set -euo pipefail
build=$1
libdir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Stripped, so that a build-tree path in the binaries would be one the program uses, not debug data.
cmake --install "$build" --prefix "$work/staged/usr" --strip >"$work/install.log"
mv "$work/staged" "$work/moved"
root=$work/moved/usr
expected=(
    bin/courtoria bin/courtoria-install bin/relaysim bin/scardsim
    "$libdir/courtoria/libscard32.so"
    "share/courtoria/Help Browser/index.html"
    share/applications/courtoria.desktop
    share/icons/hicolor/scalable/apps/courtoria.svg
    share/man/man1/courtoria.1.gz share/man/man1/courtoria-install.1.gz
    share/man/man1/relaysim.1.gz share/man/man1/scardsim.1.gz
    share/doc/courtoria/copyright share/doc/courtoria/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/courtoria.png")
    file "$root/share/icons/hicolor/${size}x${size}/apps/courtoria.png" |
        grep -q "PNG image data, $size x $size" || fail "icon ${size}x${size} is not a PNG of that size"
done
for f in "${expected[@]}"; do
    [ -f "$root/$f" ] || fail "not installed: $f"
done
for f in courtoria courtoria-install relaysim scardsim; do
    [ -x "$root/bin/$f" ] || fail "not executable: bin/$f"
done
# By default the simulated terminal must not sit where the program loads a terminal library first.
[ ! -e "$root/bin/libscard32.so" ] || fail "the simulated terminal library shadows the system's"
[ -z "$(find "$root/bin" -mindepth 1 -type d)" ] || fail "a directory inside bin/"
if grep -rlF "$build" "$root" >"$work/paths"; then
    fail "build-tree path in: $(cat "$work/paths")"
fi

desktop-file-validate "$root/share/applications/courtoria.desktop"
grep -qx 'Icon=courtoria' "$root/share/applications/courtoria.desktop" || fail "menu entry names another icon"
for page in "$root"/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/share/man/man1/courtoria.1.gz" 2>/dev/null >"$work/courtoria.txt"
for section in "SINGLE INSTANCE" ENVIRONMENT FILES COURTORIA_REGISTRY COURTORIA_USER_SETTINGS; do
    grep -q "$section" "$work/courtoria.txt" || fail "courtoria(1) lacks $section"
done
LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/share/man/man1/courtoria-install.1.gz" 2>/dev/null >"$work/install.txt"
for section in OPTIONS "EXIT STATUS" "REFUSAL TO OVERWRITE" --demo; do
    grep -q -- "$section" "$work/install.txt" || fail "courtoria-install(1) lacks $section"
done

# A new installation made by the installed installer, and the installed program started on it
# without the build's library path; the card terminal stays off, so nothing else is needed.
export COURTORIA_REGISTRY=$work/registry.ini COURTORIA_USER_SETTINGS=$work/windows.ini
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$work/run"
unset LD_LIBRARY_PATH
"$root/bin/courtoria-install" --dir "$work/hall"
[ -f "$work/hall/Tables/Tennistables.sqlite" ] || fail "courtoria-install made no database"
status=0
"$root/bin/courtoria-install" --dir "$work/hall" 2>"$work/again.txt" || status=$?
[ "$status" -eq 1 ] || fail "a second courtoria-install exited with $status, not 1"
(cd "$work" && COURTORIA_UNATTENDED=1 COURTORIA_EXIT_AFTER_SHOW=1 timeout 60 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/bin/courtoria" >"$work/started.txt" 2>"$work/stderr.txt") ||
    fail "courtoria exited with $?: $(cat "$work/stderr.txt")"
grep -q "main window shown" "$work/started.txt" || fail "courtoria never showed its main window: $(cat "$work/stderr.txt")"

# The package, built by CPack from the same build; the library dependencies found by dpkg-shlibdeps.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/deb/courtoria_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6sql6-sqlite libc6; do
    grep -q "$dep" <<<"$depends" || fail "package does not depend on $dep: $depends"
done
dpkg-deb -c "$deb" >"$work/contents.txt"
for f in ./usr/bin/courtoria "./usr/share/courtoria/Help Browser/index.html" ./usr/share/man/man1/courtoria.1.gz \
    ./usr/share/applications/courtoria.desktop ./usr/share/doc/courtoria/copyright; do
    grep -qF " $f" "$work/contents.txt" || fail "package lacks $f"
done
if grep -E ' \./usr/local/|/bin/libscard32\.so' "$work/contents.txt"; then
    fail "package installs outside its places"
fi
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "tst_package: install tree, start, menu entry, manual pages and package checked"
