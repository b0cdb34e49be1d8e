# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of an installation: `cpack -G DEB` in the build folder makes
# lumidra_<version>_<arch>.deb. Its library dependencies are read from the programs by
# dpkg-shlibdeps (packages dpkg-dev and file).

# The changelog of a native package, compressed as Debian wants it.
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
    OUTPUT ${changelog}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog
    COMMENT "Compressing the changelog")
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/lumidra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumidra)
set(CPACK_PACKAGE_VENDOR "The Lumidra developers")
set(CPACK_PACKAGE_CONTACT "The Lumidra developers <lumidra@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for pinhole photography")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumidra works out the numbers that pinhole photographers need: the optimal\n\
pinhole for a focal length, exposure times corrected for the reciprocity\n\
failure of a film, the angle of view, the magnification, and Fresnel zone\n\
plates with a printable PDF. lumidra-calc computes the same on the command\n\
line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.org/lumidra/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (xcb, wayland) at run time, so no library dependency names
# them: the window cannot open without this package.
if(LUMIDRA_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()

include(CPack)
