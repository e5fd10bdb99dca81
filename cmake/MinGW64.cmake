# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, which std::thread and std::mutex need). The programs it builds run
# under Wine for the tests:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The programs carry the compiler's own run-time (libstdc++, libgcc,
# winpthread), so that the .exe runs from a plain folder or a zip.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Tests run the programs under Wine.
find_program(VB420_WINE NAMES wine64 wine)
if(VB420_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VB420_WINE})
endif()
