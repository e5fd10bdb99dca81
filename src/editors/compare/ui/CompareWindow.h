// SPDX-License-Identifier: GPL-3.0-or-later
// File > Compare With... and Compare With Radio...: the differences between
// the working programming and a data file (or what a radio holds), one line
// each, as `vb420cli diff` lists them. Double-clicking a line (or Enter)
// opens the window that shows that field, at its zone and record.
#pragma once

#include <QDialog>
#include <vector>

#include "editors/compare/ProgramDiff.h"

class QTreeWidget;
class QLabel;

namespace vb420 {

struct EditorContext;
class RadioData;

// Commands of the File menu.
constexpr int kCmdCompareWith = 110;
constexpr int kCmdCompareRadio = 111;
// F1 in the window.
constexpr int kHelpCompare = 0x1B000;
// Text entries of the window and its menu items.
constexpr int kCompareWithEntry = 1176;
constexpr int kCompareRadioEntry = 1177;

class CCompareWindow : public QDialog {
  Q_OBJECT
 public:
  // Compares the working programming with `other`, named `otherName`.
  CCompareWindow(EditorContext& ctx, RadioData& other, const QString& otherName, QWidget* parent = nullptr);

  QTreeWidget* List() const { return list_; }
  const std::vector<compare::DiffLine>& Lines() const { return lines_; }
  // Opens the window of line `row` at its field; false when none shows it.
  bool OpenLine(int row);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  EditorContext& ctx_;
  std::vector<compare::DiffLine> lines_;
  QTreeWidget* list_;
  QLabel* summary_;
};

// The commands (registered for the File menu; public for the tests).
void RunCompareWithFile(EditorContext& ctx, const QString& path);
void RunCompareWithRadio(EditorContext& ctx);

}  // namespace vb420
