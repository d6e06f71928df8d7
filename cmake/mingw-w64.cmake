# Cross-compiles varistellar.exe for 64-bit Windows with Debian's mingw-w64
# (g++-mingw-w64-x86-64). The -posix flavour is preferred and -win32 taken
# when it is the one installed; either way the program links statically, so
# the executable needs no DLL beyond Windows' own.
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# Tests of the cross build run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARISTELLAR_MINGW_PREFIX x86_64-w64-mingw32)
foreach(flavour posix win32)
  find_program(VARISTELLAR_MINGW_CXX ${VARISTELLAR_MINGW_PREFIX}-g++-${flavour})
endforeach()
if(NOT VARISTELLAR_MINGW_CXX)
  find_program(VARISTELLAR_MINGW_CXX ${VARISTELLAR_MINGW_PREFIX}-g++ REQUIRED)
endif()
set(CMAKE_CXX_COMPILER ${VARISTELLAR_MINGW_CXX})
find_program(CMAKE_RC_COMPILER ${VARISTELLAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VARISTELLAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(VARISTELLAR_WINE wine)
if(VARISTELLAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARISTELLAR_WINE})
endif()
