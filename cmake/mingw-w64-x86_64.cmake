# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the posix thread model, so
# std::thread and friends work). Only the plain C++ parts build this way; Qt is not cross-built.
#
#   cmake --preset windows        (or -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELLIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELLIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLIN_MINGW_PREFIX}-windres)

# Look for headers and libraries in the cross environment only, programs on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${PELLIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries (libgcc, libstdc++, winpthread) are linked in, so each .exe runs on its
# own, under Wine or on a Windows machine, without DLLs copied beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and the test discovery start the .exe files through Wine when it is there. Debian keeps
# the 64-bit loader outside PATH unless the wine package's wrapper is installed.
find_program(PELLIN_WINE64 NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PELLIN_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PELLIN_WINE64})
endif()
