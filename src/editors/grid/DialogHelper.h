// SPDX-License-Identifier: GPL-3.0-or-later
// The chores every editor view and dialog shares: filling combo boxes from
// (text entry, value) tables, placing a drop-down over another control,
// captions from the text table, showing and stacking groups of controls,
// preparing filtered edit boxes and opening the help at a context number.
#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QWidget;

namespace vb420 {

class CFilterEdit;
class TextTable;

// One row of a combo table: what is shown and what is stored.
struct ComboRow {
  int textEntry;
  int value;
};

class CDialogHelper {
 public:
  static CDialogHelper& Instance();

  // The list shows the texts in table order, each row keeping its value.
  void FillCombo(QComboBox* combo, const std::vector<ComboRow>& rows, TextTable& text) const;
  // Row whose item data is `value`, -1 when none.
  static int RowOfValue(const QComboBox* combo, int value);

  // Places `combo` over `over`, selects the row whose text is `text` (none
  // when no row matches), hides `over` and optionally gives the combo the focus.
  void PlaceCombo(QComboBox* combo, QWidget* over, const QString& text, bool takeFocus) const;
  // The reverse: shows the covered control again, hides and disables the combo.
  void ReleaseCombo(QComboBox* combo, QWidget* covered, bool clearText) const;

  void SetCaptions(const std::vector<std::pair<QWidget*, int>>& controls, TextTable& text) const;
  void ShowGroup(const std::vector<QWidget*>& controls, bool show) const;
  // Stacks the visible controls from a top margin of 40 pixels, each row 10
  // pixels below the bottom of the one before.
  void StackControls(const std::vector<QWidget*>& controls, int top = 40, int gap = 10) const;

  void PrepareEdit(CFilterEdit* edit, int mode, int limit, bool dialogFont = false) const;
  void SetDialogFont(const QFont& f) { dialogFont_ = f; }

  // Opens the help at a context number after cancelling every mode (pop-ups,
  // mouse capture) of the program's windows. The application installs the
  // opener.
  void OpenHelp(QWidget* view, int context) const;
  void SetHelpOpener(std::function<void(int)> opener) { helpOpener_ = std::move(opener); }

 private:
  QFont dialogFont_;
  std::function<void(int)> helpOpener_;
};

}  // namespace vb420
