# The Debian package: `cpack -G DEB` in a build directory configured with the prefix /usr
# (scripts/package.sh does both).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME courtoria)
set(CPACK_PACKAGE_VENDOR "Vantrell Software")
set(CPACK_PACKAGE_CONTACT "Vantrell Software <info@vantrell-software.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front desk for tennis and squash halls")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Courtoria shows a hall's courts on a floor plan with who is playing and for
how long, books courts in quarter-hour slots for players and members, bills
the playing time by hourly price and price profile, closes daily accounts,
switches court lights through serial relay modules and reads members' and
employees' chip cards.
.
The package holds the program, courtoria-install which creates an
installation, and simulators of the relay modules and the chip-card terminal.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vantrell-software.com")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# Library dependencies come from the binaries; Qt's database driver and the desktop's opener are
# loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\\\.git/")

include(CPack)
