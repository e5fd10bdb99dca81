# SPDX-License-Identifier: GPL-3.0-or-later
# vb420_qt_test_program(NAME SOURCES <files> LIBS <libs> [PCH <target>])
#
# One Qt Test program for several test classes (see QtTestMain.h). After the
# program is built it writes its CTest entries, one per test function, each
# run in a process of its own: a failure names its program, class and
# function ("test_ui_zones.ZoneInfoTest.newChannelThreeGoesAfterTwoWithItsDefaults").
function(vb420_qt_test_program name)
  cmake_parse_arguments(P "" "PCH" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  # The precompiled Qt headers of a target built with the same flags.
  if(P_PCH AND VB420_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_precompile_headers(${name} REUSE_FROM ${P_PCH})
  endif()
  # Eight files to a compile unit, as the GoogleTest programs.
  set_target_properties(${name} PROPERTIES AUTOMOC ON UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  target_link_libraries(${name} PRIVATE vb420qttestmain ${P_LIBS})
  set(_tests "${CMAKE_CURRENT_BINARY_DIR}/${name}_tests.cmake")
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND "$<TARGET_FILE:${name}>" --ctest-file "${_tests}" ${name} "$<TARGET_FILE:${name}>"
    BYPRODUCTS "${_tests}"
    VERBATIM)
  # Read by ctest: the entries once the program is built, else one entry that
  # fails and says so.
  set(_include "${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake")
  file(WRITE "${_include}"
    "if(EXISTS \"${_tests}\")\n  include(\"${_tests}\")\nelse()\n"
    "  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_include}")
endfunction()
