# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local     (or: cpack -G DEB in build/)
#
# Layout below the prefix:
#   bin/vb420  bin/vb420cli  bin/vb420sim
#   share/vb420/vb420.lng  share/vb420/help/<lang>/
#   share/applications/vb420.desktop  share/icons/hicolor/scalable/apps/vb420.svg
# The programs find share/vb420 from their own folder (../share/vb420), so the
# installed tree keeps working when its prefix is copied or moved elsewhere.
include(GNUInstallDirs)

# An installed program never falls back to the source tree; the build tree's
# programs do (src/CMakeLists.txt gives src/lang/ResourcePaths.cpp the folders).

set(VB420_INSTALL_DATA "${CMAKE_INSTALL_DATADIR}/vb420")
foreach(_prog vb420 vb420cli vb420sim)
  if(TARGET ${_prog})
    install(TARGETS ${_prog} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endif()
endforeach()
install(FILES "${VB420_RESOURCE_DIR}/vb420.lng" DESTINATION "${VB420_INSTALL_DATA}")
install(DIRECTORY "${VB420_RESOURCE_DIR}/help" DESTINATION "${VB420_INSTALL_DATA}"
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
if(TARGET vb420)
  install(FILES "${VB420_RESOURCE_DIR}/vb420.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${VB420_RESOURCE_DIR}/vb420.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
install(FILES "${CMAKE_SOURCE_DIR}/README.md" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/vb420")

# The Debian package: cpack -G DEB (or the "package" target) in the build folder.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "vb420")
set(CPACK_PACKAGE_VENDOR "VB-420")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programming software for VT series two-way radios")
set(CPACK_PACKAGE_DESCRIPTION "VB-420 reads, edits, saves and writes the programming of VT series \
land-mobile radios (conventional, LTR and PassPort trunking) over the serial programming cable. \
It holds the desktop program vb420, the command-line tool vb420cli and the simulated radio vb420sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VB-420 maintainers <vb420@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "hamradio")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
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
endif()
