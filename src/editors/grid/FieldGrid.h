// SPDX-License-Identifier: GPL-3.0-or-later
// The grid of every list window: its columns are field descriptors and its
// rows records of one list or zone. Each cell shows and stores through the
// form engine (the same descriptors `vb420cli settings` uses), so the whole
// editing protocol lives here once and every list behaves alike:
//
//  - the in-cell editor follows the field: an edit box with the field's
//    input filter and length (texts and numbers, whose spin steps are
//    Alt+Up and Alt+Down), a drop-down list for choices and check boxes, an
//    editable list (the tone combo) for fields that take both;
//  - a typed character opens the editor and goes into it; Enter opens it on
//    the cell's text; Enter, Tab, Shift+Tab and the arrows store and move;
//    Escape puts the cell back;
//  - a row whose record does not exist opens only the column that creates
//    it; a disabled field does not open and its cell is greyed;
//  - Ctrl+C copies the cells as tab-separated text (Ctrl+Shift+C with the
//    column headings), Ctrl+V of text from another program stores it cell
//    by cell through the typing rules with one message for the refused
//    cells, Delete clears through the same rules;
//  - the window may claim Copy, Paste and Delete for its own commands (its
//    record copy buffer): the keys and the pop-up menu then run them, ahead
//    of any shortcut elsewhere in the main window;
//  - the open editor is announced by the heading of its column.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "editors/forms/FieldSets.h"
#include "editors/forms/FormEngine.h"
#include "editors/grid/EditGrid.h"

class QComboBox;

namespace vb420 {

class CFilterEdit;
class CToneCombo;
class RadioData;

class CFieldGrid : public CEditGrid {
  Q_OBJECT
 public:
  struct Column {
    const forms::FieldDescriptor* field = nullptr;
    int width = 60;
    int alignment = kAlignLeft;
    // The heading's text entry; -1 takes the field's label.
    int captionEntry = -1;
    // The data cells in the fixed-pitch face (names).
    bool fixedFont = false;
  };
  // The record grid row `row` (1-based) shows, bound to the image.
  using Binder = std::function<std::unique_ptr<forms::BoundRecord>(int row)>;
  // Whether the record of a row exists (unset: when the row's fields find
  // their record in the image).
  using RowTest = std::function<bool(int row)>;
  // Asked before a cell opens: may move the cell, or refuse (false) after
  // telling the user why.
  using OpenCheck = std::function<bool(int& row, int& col)>;
  // Shows a message of the text table (a store's warning, the count of
  // refused pasted cells).
  using Notice = std::function<void(const QString& text)>;
  // Runs one of the window's claimed commands (kCmdGridCopy, kCmdGridPaste,
  // kCmdGridDelete, ...).
  using CommandRunner = std::function<void(int command)>;

  CFieldGrid(RadioData& data, TextTable& text, Binder binder, std::vector<Column> columns, int rows,
             QWidget* parent = nullptr);
  // Rows of a list whose records `locator` finds: the cursor of row r is
  // {page, r - 1}.
  CFieldGrid(RadioData& data, TextTable& text, bool voting, std::unique_ptr<forms::RecordLocator> locator,
             std::vector<Column> columns, int rows, int page = -1, QWidget* parent = nullptr);
  ~CFieldGrid() override;

  // A list whose length follows the image (a loaded file).
  void SetRowCount(int rows);
  // The heading and width of the record-number column (column 0).
  void SetNumberColumn(int captionEntry, int width);
  void SetRowTest(RowTest test) { rowTest_ = std::move(test); }
  // What the record of a row is called in an undo step ("Zone 1 Channel 5");
  // unset: the step is named by the field alone.
  void SetRecordName(std::function<QString(int row)> name) { recordName_ = std::move(name); }
  void SetOpenCheck(OpenCheck check) { openCheck_ = std::move(check); }
  void SetNotice(Notice notice) { notice_ = std::move(notice); }
  // The window runs these commands itself; their keys and menu items reach
  // it whatever else claims the same shortcut.
  void ClaimCommands(std::vector<int> commands, CommandRunner run);
  bool Claims(int command) const;
  // The pop-up menu: the long one (with to Clip) or the short one, and
  // whether the window has something to paste.
  void SetPopup(bool longMenu, std::function<bool()> canPaste = {});

  void Refill() { Model()->RefillAll(); }
  // Stores what an open cell editor holds.
  void CommitEdit();
  // The in-cell editors, made when first needed (opening a list window
  // costs none of them).
  CFilterEdit* CellEdit() const;
  QComboBox* CellList() const;
  CToneCombo* CellCombo() const;

  int FieldColumns() const { return static_cast<int>(columns_.size()); }
  const forms::FieldDescriptor* Field(int col) const;
  std::unique_ptr<forms::BoundRecord> Bind(int row) const { return binder_(row); }
  bool RowExists(int row) const;
  // Whether the cell can be changed now (its record exists or it creates
  // it, and its field is enabled).
  bool CellEditable(int row, int col) const;

  // One cell's text stored by the rules of typing it (a list field takes
  // one of its row texts); false when refused, the cell unchanged.
  bool StoreCellText(int row, int col, const QString& text);
  // Delete: the current cell, or every cell of the selected rows, emptied
  // through the field rules (fields that cannot be empty keep their value).
  void ClearCells();

 Q_SIGNALS:
  // After a store made by the grid (typed, chosen, pasted, cleared); `col`
  // is 0 when several cells were stored.
  void Stored(int row, int col);

 protected:
  bool ClaimsKey(const QKeyEvent* e) const override;

 private:
  void Build(int rows);
  void Open(QKeyEvent* key, bool enter);
  void LeaveKey(int key, Qt::KeyboardModifiers mods);
  void Spin(int direction);
  void ViewKey(QKeyEvent* e);
  void Popup(const QPoint& globalPos, int row);
  void RunCommand(int command);
  void AfterStore(int row, int col, int message);
  // Names the undo step of a store into (row, col): the record and the field.
  void NameStep(int row, int col) const;
  // `pasted` as typing it into an edit box of that filter and length would
  // leave it; false when the box would not take it.
  bool TypedAsInTheCell(const QString& pasted, int mode, int maxLength, QString& typed) const;
  int EditLength(const forms::FormContext& ctx, const forms::FieldDescriptor& d) const;
  void FillRow(int row, std::vector<QString>& cells, std::vector<char>& grey) const;

  RadioData& data_;
  TextTable& text_;
  Binder binder_;
  std::vector<Column> columns_;
  std::vector<ColumnDescriptor> desc_;
  RowTest rowTest_;
  std::function<QString(int row)> recordName_;
  OpenCheck openCheck_;
  Notice notice_;
  std::vector<int> claimed_;
  CommandRunner run_;
  bool longMenu_ = false;
  std::function<bool()> canPaste_;
  mutable CFilterEdit* edit_ = nullptr;
  mutable QComboBox* list_ = nullptr;
  mutable CToneCombo* combo_ = nullptr;
  mutable CFilterEdit* probe_ = nullptr;
};

// The name of the change a window has just made, for the undo history (the
// program's undo controller takes it with the change it records next).
void NameNextStep(const QString& name);
QString TakeNextStepName();

}  // namespace vb420
