# The Debian package (`make package`, or `cpack -G DEB` in a build tree), built by CPack from
# the install rules of cmake/Install.cmake with the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hopla)
# The version of project() in CMakeLists.txt, the same one `--version` prints.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "steer a bouncing ball through 21 stages of tiles")
set(CPACK_PACKAGE_DESCRIPTION
    "Hopla is a small action game in one window. A ball bounces under gravity
and the arrow keys push it left and right: steer it through 21 stages of
walls, breakable blocks, springs and launchers, and leave each stage through
the opening in its right-hand wall. A game has 9 balls; clear the last stage
for the ending and a final score.
.
The package holds the game, hopla-sim (the same game on a virtual clock,
driven by a script, for testing and replaying), hopla-solve (which finds key
presses that clear stages and writes them as demos), the menu entry, the icon
and the manual pages.")
# Nobody has published the game yet: whoever does sets their own name and address here.
set(HOPLA_MAINTAINER "Hopla developers <hopla@users.noreply.invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${HOPLA_MAINTAINER}")

# Debian wants a changelog in every package; this one has a single entry for the version
# built, dated as the release (cmake/Install.cmake).
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog
               @ONLY)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(hopla_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # hopla_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries; the text needs a Japanese face that fontconfig finds.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
