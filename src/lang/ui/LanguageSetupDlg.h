// SPDX-License-Identifier: GPL-3.0-or-later
// Language File Setup: chooses one of the languages the language file holds.
#pragma once

#include <QDialog>

class QListWidget;

namespace vb420 {

class TextTable;
class HelpSystem;

class CLanguageSetupDlg : public QDialog {
  Q_OBJECT
 public:
  CLanguageSetupDlg(TextTable& text, HelpSystem* help, QWidget* parent = nullptr);
  // Key of the chosen language (1 English, 2 Spanish), 0 when none.
  int SelectedKey() const;
  void SelectKey(int key);
  QListWidget* List() const { return list_; }

 private:
  QListWidget* list_;
};

}  // namespace vb420
