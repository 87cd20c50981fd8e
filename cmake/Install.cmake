# Installation and packaging.
#
# `cmake --install` puts the two programs in bin/, and on Linux the window's launcher entry and
# icons and the manual page of quillvane-cli under share/ (packaging/). CPack makes a Debian
# package of the same tree (`cpack` in the build directory); a Windows build packs a zip.
include(GNUInstallDirs)

foreach(program quillvane quillvane-cli)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${CMAKE_BINARY_DIR}/packaging)

# A Windows build without the window (no Qt for Windows at hand, as in the cross build) still
# compiles the window's resources, so that the resource script and the icon are known to be
# sound.
if(WIN32 AND NOT TARGET quillvane)
    include(${PROJECT_SOURCE_DIR}/cmake/WindowsResources.cmake)
    quillvane_windows_resources(script)
    add_library(quillvane_window_resources OBJECT ${script})
endif()

# Debian wants the licence as share/doc/<package>/copyright; a Windows zip carries it beside bin/.
if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
elseif(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillvane
            RENAME copyright)
endif()

set(QUILLVANE_PACKAGE_MAINTAINER "The Quillvane developers <maintainers@quillvane.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME quillvane)
set(CPACK_PACKAGE_VENDOR "The Quillvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision: the package's history is packaging/changelog, whose latest entry must
# name the same version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list and copy fonts under the full names stored in them")
# The package's long description, in lines under 80 columns; an empty line between paragraphs.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quillvane reads the full name of each TrueType (.ttf) and Type 1 (.pfb) font\n"
    "of a directory out of the font file itself. It shows the naming data of the\n"
    "selected font, copies every font into a sub-directory under a file name made\n"
    "from its full name (Type 1 fonts with their .pfm, .afm, .inf and .mmm files),\n"
    "and writes an HTML page that lists the fonts by name. The font files\n"
    "themselves are never changed.\n"
    "\n"
    "The package holds the window program, quillvane, and its command-line\n"
    "companion, quillvane-cli, for scripts.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps (package dpkg-dev), with the
# versions the build was linked against. It cannot see what Qt loads at run time: the platform
# plugins without which the window cannot open (xcb among them) are a dependency of
# their own.
find_program(QUILLVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TARGET quillvane)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
if(QUILLVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
elseif(TARGET quillvane)
    message(STATUS "dpkg-shlibdeps not found (package dpkg-dev): the Debian package names its "
                   "dependencies by hand")
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6core6 (>= 6.2), qt6-qpa-plugins, libstdc++6, libc6")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libstdc++6, libc6")
endif()

include(CPack)
