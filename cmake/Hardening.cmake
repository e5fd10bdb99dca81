# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening of the shipped programs.
#
# Every build links with full RELRO and immediate binding (-z relro -z now)
# and as position-independent executables; that costs a relink, nothing
# else. Release builds (-DCMAKE_BUILD_TYPE=Release or MinSizeRel, or
# -DVB420_HARDENING=ON) also compile with fortified library calls and
# stack protection, which changes every object: the day-to-day
# RelWithDebInfo build leaves them out so its compiled objects stay shared
# through ccache. Sanitizer and fuzzing builds get none of it (their
# run-times bring their own checks and dislike fortified calls).
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  set(_vb420_harden_default ON)
else()
  set(_vb420_harden_default OFF)
endif()
option(VB420_HARDENING "Compile with -D_FORTIFY_SOURCE=2 -fstack-protector-strong -fPIE" ${_vb420_harden_default})

# The Windows linker knows neither RELRO nor PIE as ELF has them.
if(NOT VB420_SANITIZE AND NOT VB420_FUZZ AND NOT WIN32)
  include(CheckPIESupported)
  check_pie_supported(OUTPUT_VARIABLE _vb420_pie LANGUAGES CXX)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
  if(VB420_HARDENING)
    add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  else()
    # Executables are linked as PIE all the same when the compiler makes
    # position-independent code by default (Debian's compilers do).
    include(CheckCXXSourceCompiles)
    check_cxx_source_compiles("#ifndef __PIE__\n#error not PIE\n#endif\nint main() { return 0; }" VB420_DEFAULT_PIE)
    if(VB420_DEFAULT_PIE)
      add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-pie>)
    endif()
  endif()
endif()
