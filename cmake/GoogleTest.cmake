# GoogleTest for the unit tests. A native build uses the installed library (libgtest-dev). A
# cross build cannot link that one: it builds GoogleTest from Debian's source package
# (googletest, in /usr/src/googletest) with the cross compiler, as part of this build.
if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest REQUIRED)
    return()
endif()

set(QUILLVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built with the cross compiler for the unit tests")
if(NOT EXISTS ${QUILLVANE_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${QUILLVANE_GOOGLETEST_SOURCE} "
                        "(Debian package googletest); or configure with -DQUILLVANE_BUILD_TESTS=OFF")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: its headers are included as system headers, so our warning flags do not reach them.
add_subdirectory(${QUILLVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
