# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers for the targets that parse the same large headers over
# and over: Qt's widgets (the program's windows, the GUI tests) and
# GoogleTest (the test programs). Only with g++: clang refuses a header
# precompiled under other macro definitions instead of ignoring it.
option(VB420_PCH "Precompile the Qt and GoogleTest headers" ON)

set(VB420_PCH_QT
  <QApplication> <QWidget> <QDialog> <QLabel> <QPushButton> <QComboBox> <QLineEdit>
  <QCheckBox> <QVBoxLayout> <QHBoxLayout> <QGridLayout> <QKeyEvent> <QString> <QStringList>
  <QAction> <QMenu> <QTimer> <QDialogButtonBox>
  <string> <vector> <map> <memory> <functional> <algorithm>)
set(VB420_PCH_GTEST <gtest/gtest.h> <gmock/gmock.h> <string> <vector> <map> <memory> <functional> <algorithm> <filesystem>)

function(vb420_pch target kind)
  if(NOT VB420_PCH OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  if(kind STREQUAL "qt")
    target_precompile_headers(${target} PRIVATE ${VB420_PCH_QT})
  elseif(kind STREQUAL "qttest")
    target_precompile_headers(${target} PRIVATE ${VB420_PCH_QT} <QTest> <QSignalSpy>)
  elseif(kind STREQUAL "gtest")
    target_precompile_headers(${target} PRIVATE ${VB420_PCH_GTEST})
  endif()
endfunction()
