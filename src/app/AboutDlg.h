// SPDX-License-Identifier: GPL-3.0-or-later
// Help, About: the program's picture, name, version and notices.
#pragma once

#include <QDialog>

namespace vb420 {

class TextTable;

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  CAboutDlg(TextTable& text, QWidget* parent = nullptr);
};

// The program icon, drawn once.
QIcon ProgramIcon();

}  // namespace vb420
