# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build (cross-compiled with cmake/MinGW64.cmake): the Qt-free
# core, vb420cli and the core and end-to-end tests. Qt for Windows is not part
# of this build (docs/WINDOWS.md tells how the desktop program is built there),
# nor the simulated radio, which stays a Linux program.
set(VB420_GUI OFF CACHE BOOL "Build the Qt desktop program" FORCE)
set(VB420_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)
set(VB420_PCH OFF CACHE BOOL "Precompile the Qt and GoogleTest headers" FORCE)
# Windows 7 and later: ReplaceFileW, CancelIoEx, GetTickCount64.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)

# No GoogleTest for the cross compiler comes with the system: Debian's
# googletest package holds its sources, built here with the cross compiler.
if(VB420_TESTS)
  set(VB420_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources for the Windows build")
  if(NOT EXISTS "${VB420_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${VB420_GTEST_SOURCE} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${VB420_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  # Its build names the targets GTest::* itself, as the installed package does.
  foreach(_t gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${_t})
      add_library(GTest::${_t} ALIAS ${_t})
    endif()
  endforeach()
endif()
