# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local --strip   (or: cpack -G DEB in build/)
#
# Layout below the prefix:
#   bin/vb420  bin/vb420cli  bin/vb420sim
#   lib/vb420/modules/vb420audio.so
#   share/vb420/vb420.lng  share/vb420/help/<lang>/
#   share/applications/vb420.desktop  share/icons/hicolor/scalable/apps/vb420.svg
#   share/man/man1/vb420.1.gz  vb420cli.1.gz  vb420sim.1.gz
#   share/bash-completion/completions/vb420cli
#   share/doc/vb420/README.md  LICENSE  copyright  changelog.Debian.gz
# The programs find share/vb420 from their own folder (../share/vb420), so the
# installed tree keeps working when its prefix is copied or moved elsewhere.
include(GNUInstallDirs)

# An installed program never falls back to the source tree; the build tree's
# programs do (src/CMakeLists.txt gives src/lang/ResourcePaths.cpp the folders).

set(VB420_INSTALL_DATA "${CMAKE_INSTALL_DATADIR}/vb420")
set(VB420_INSTALL_DOC "${CMAKE_INSTALL_DATADIR}/doc/vb420")
foreach(_prog vb420 vb420cli vb420sim)
  if(TARGET ${_prog})
    install(TARGETS ${_prog} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endif()
endforeach()
# The alert-tone test's audio output, loaded by the program when needed.
if(TARGET vb420audio)
  install(TARGETS vb420audio LIBRARY DESTINATION "${VB420_AUDIO_INSTALL_DIR}")
endif()
install(FILES "${VB420_RESOURCE_DIR}/vb420.lng" DESTINATION "${VB420_INSTALL_DATA}")
install(DIRECTORY "${VB420_RESOURCE_DIR}/help" DESTINATION "${VB420_INSTALL_DATA}"
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
if(TARGET vb420)
  install(FILES "${VB420_RESOURCE_DIR}/vb420.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${VB420_RESOURCE_DIR}/vb420.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
install(FILES "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/LICENSE" DESTINATION "${VB420_INSTALL_DOC}")

# Who answers for the package: the Maintainer field, the changelog's
# signature and the copyright file's contact all come from here.
set(VB420_MAINTAINER "VB-420 Maintainers <maintainers@vb420.org>" CACHE STRING
    "Name <address> of the package's maintainer")
set(VB420_HOMEPAGE "https://vb420.org/" CACHE STRING "Where the sources are published")
# The packaging of this version (vb420_1.20-1_amd64.deb), and the date of
# this release (RFC 5322): the entry that leads changelog.Debian.
set(VB420_DEBIAN_RELEASE 1)
set(VB420_RELEASE_DATE "Mon, 07 Dec 2026 12:00:00 +0000")

# Manual pages, written at build time from each program's --help (and every
# verb's, for vb420cli) by tools/manpage, and compressed as Debian wants them.
set(_man "${CMAKE_BINARY_DIR}/man")
set(_man_pages)
function(vb420_man_page prog what)
  if(NOT TARGET ${prog})
    return()
  endif()
  add_custom_command(
    OUTPUT "${_man}/${prog}.1.gz"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${_man}"
    COMMAND vb420manpage "$<TARGET_FILE:${prog}>" ${prog} "${what}" "${_man}/${prog}.1" ${ARGN}
    COMMAND gzip -9nf "${_man}/${prog}.1"
    DEPENDS ${prog} vb420manpage
    COMMENT "Manual page of ${prog}"
    VERBATIM)
  set(_man_pages ${_man_pages} "${_man}/${prog}.1.gz" PARENT_SCOPE)
endfunction()
vb420_man_page(vb420 "programming application for VT series two-way radios")
vb420_man_page(vb420cli "command-line tool of the VB-420 radio programming software" --verbs)
vb420_man_page(vb420sim "simulated VT series radio on a pseudo-terminal")
add_custom_target(vb420_man_pages ALL DEPENDS ${_man_pages})
install(FILES ${_man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# Bash completion of vb420cli: verbs, options and the setting keys of the
# data file on the line.
install(FILES "${CMAKE_SOURCE_DIR}/resources/completion/vb420cli" DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")

# What a Debian package carries about itself: the copyright in the
# machine-readable format and the compressed changelog (gzip -n: no name or
# time stamp inside, so the package builds the same twice).
configure_file("${CMAKE_SOURCE_DIR}/packaging/copyright.in" "${CMAKE_BINARY_DIR}/packaging/copyright" @ONLY)
configure_file("${CMAKE_SOURCE_DIR}/packaging/changelog.Debian.in" "${CMAKE_BINARY_DIR}/packaging/changelog.Debian" @ONLY)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz"
  COMMAND gzip -9nkf "${CMAKE_BINARY_DIR}/packaging/changelog.Debian"
  DEPENDS "${CMAKE_BINARY_DIR}/packaging/changelog.Debian"
  VERBATIM)
add_custom_target(vb420_changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz")
install(FILES "${CMAKE_BINARY_DIR}/packaging/copyright" "${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz"
        DESTINATION "${VB420_INSTALL_DOC}")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME vb420)

# The Debian package: cpack -G DEB (or the "package" target) in the build folder.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "vb420")
set(CPACK_PACKAGE_VENDOR "VB-420")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for VT series two-way radios")
# The long description under the summary; Debian shows it as it is: lines
# under 80 columns, a lone "." for a blank line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "VB-420 reads the programming of VT series land-mobile radios (VHF and UHF
mobiles and portables on conventional channels, LTR and PassPort trunking)
over the serial programming cable, edits it in one window per area of the
radio's memory, keeps it in data files and writes it back into the radio.
.
The package holds the desktop program vb420 (Qt 6), the command-line tool
vb420cli for scripts and fleets of radios, and the simulated radio vb420sim
for practice and tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VB420_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VB420_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION "hamradio")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without Qt's translations its own dialogs (file choosers, print dialogs)
# stay English in a Spanish session.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${VB420_DEBIAN_RELEASE}")
# Folders as Debian expects them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(VB420_TESTS)
  # Install into a temporary prefix, move it, run the programs from there.
  add_test(NAME test_install
           COMMAND "${CMAKE_SOURCE_DIR}/tests/install/install_test.sh" "${CMAKE_BINARY_DIR}")
  set_tests_properties(test_install PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  add_test(NAME test_package
           COMMAND "${CMAKE_SOURCE_DIR}/tests/install/package_test.sh" "${CMAKE_BINARY_DIR}")
  set_tests_properties(test_package PROPERTIES TIMEOUT 600)
  # The bash completion against the built tool.
  add_test(NAME test_completion
           COMMAND bash "${CMAKE_SOURCE_DIR}/tests/install/completion_test.sh" "${CMAKE_BINARY_DIR}" "${CMAKE_SOURCE_DIR}")
endif()
