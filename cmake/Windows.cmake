# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build: the Qt-free core, vb420cli and the core and end-to-end
# tests, never the simulated radio, which stays a Linux program. Cross-compiled
# (cmake/MinGW64.cmake) there is no Qt for Windows, so no desktop program
# either; docs/WINDOWS.md tells how it is built on Windows itself.
if(CMAKE_CROSSCOMPILING)
  set(VB420_GUI OFF CACHE BOOL "Build the Qt desktop program" FORCE)
  set(VB420_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)
  # No ccache holds these objects on a fresh machine: the libraries compile
  # several files to a unit, as the test programs do, to keep the stage in
  # its time. Three libraries whose files share helper names at file level
  # compile file by file.
  set(CMAKE_UNITY_BUILD ON)
  cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL set_target_properties
                 vb420zones vb420ed_features vb420ed_signalling PROPERTIES UNITY_BUILD OFF)
endif()
set(VB420_PCH OFF CACHE BOOL "Precompile the Qt and GoogleTest headers" FORCE)
# Windows 7 and later (ReplaceFileW, SetFilePointerEx); the lean headers.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)

# No GoogleTest for the cross compiler comes with the system: Debian's
# googletest package holds its sources, built here with the cross compiler.
if(VB420_TESTS AND NOT CMAKE_CROSSCOMPILING)
  find_package(GTest QUIET)
endif()
if(VB420_TESTS AND NOT TARGET GTest::gtest)
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
