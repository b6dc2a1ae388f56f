# Cross-builds Horalia for 64-bit Windows on Debian with MinGW-w64 (the
# posix-thread compilers of g++-mingw-w64-x86-64-posix, windres from
# binutils-mingw-w64-x86-64). Programs link statically: one .exe with no
# DLL beside it. Wine runs them where CMake or CTest needs to.
# Usage: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HORALIA_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${HORALIA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HORALIA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HORALIA_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW-w64 tree only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${HORALIA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread inside the program, not beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine runs what the build or the tests start (CTest prefixes it to each test).
find_program(HORALIA_WINE NAMES wine wine64 NO_CMAKE_FIND_ROOT_PATH)
if(HORALIA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HORALIA_WINE})
endif()
