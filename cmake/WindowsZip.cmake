# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows zip of the command-line tool (cpack -G ZIP in the cross build
# folder): one folder holding vb420cli.exe with the language file and the help
# beside it, where the program looks for them first, and the licence.
#
#   vb420cli-<version>-win64/
#     vb420cli.exe  vb420.lng  help/en/  help/sp/  LICENSE.txt  README.md
install(TARGETS vb420cli RUNTIME DESTINATION .)
# A build on Windows with Qt also has the desktop program (windeployqt then
# adds Qt's libraries beside it: docs/WINDOWS.md).
if(TARGET vb420)
  install(TARGETS vb420 RUNTIME DESTINATION .)
endif()
install(FILES "${VB420_RESOURCE_DIR}/vb420.lng" DESTINATION .)
install(DIRECTORY "${VB420_RESOURCE_DIR}/help" DESTINATION .
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
install(FILES "${CMAKE_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
install(FILES "${CMAKE_SOURCE_DIR}/README.md" DESTINATION .)

set(CPACK_GENERATOR "ZIP")
set(CPACK_PACKAGE_NAME "vb420cli")
set(CPACK_PACKAGE_VENDOR "VB-420")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "vb420cli-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
