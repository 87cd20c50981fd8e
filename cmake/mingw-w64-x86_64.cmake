# Cross compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
#
# The "posix" variant of the compiler is taken when it is there: its C++ library has
# std::thread and std::mutex, which the "win32" variant lacks. Programs are linked statically
# (libstdc++, libgcc, winpthread) so that a .exe runs on its own, on Windows or under Wine,
# without MinGW's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLVANE_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_CXX_COMPILER NAMES ${QUILLVANE_MINGW_TRIPLE}-g++-posix ${QUILLVANE_MINGW_TRIPLE}-g++
             REQUIRED)
# GoogleTest's own CMake project enables C as well.
find_program(CMAKE_C_COMPILER NAMES ${QUILLVANE_MINGW_TRIPLE}-gcc-posix ${QUILLVANE_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUILLVANE_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and build-time steps run the Windows programs under Wine when it is installed.
# Debian's wine64 package puts its loader in /usr/lib/wine; the wine package adds /usr/bin/wine.
find_program(QUILLVANE_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(QUILLVANE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLVANE_WINE})
endif()
