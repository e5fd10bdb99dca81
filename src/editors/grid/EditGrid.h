// SPDX-License-Identifier: GPL-3.0-or-later
// The editing grid every table editor is built on: a header row (row 0), a
// record-number column (column 0) and data cells that only show texts. The
// view that owns a grid keeps the data in the image; to edit a cell it opens
// an in-cell editor (an edit box, an edit box with a button, a drop-down list
// or an editable combo box) exactly over the cell, stores what the user typed
// and redraws the row.
//
// Coordinates follow the header-row convention: row 0 is the header row,
// column 0 the record-number column, data cells start at (1, 1).
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <vector>

class QComboBox;
class QMenu;
class QAbstractButton;

namespace vb420 {

class CFilterEdit;
class TextTable;

// One column of a grid: caption text entry, width in pixels, alignment code
// (2 left, 4 centre, 8 right) and the proportional-font flag (0: the data
// cells are set in "Courier").
struct ColumnDescriptor {
  int captionEntry;
  int width;
  int alignment;
  int proportional;
};
constexpr int kAlignLeft = 2;
constexpr int kAlignCentre = 4;
constexpr int kAlignRight = 8;

// Grid pop-up menu commands.
constexpr int kCmdGridDelete = 32740;
constexpr int kCmdGridCopy = 32741;
constexpr int kCmdGridPaste = 32742;
constexpr int kCmdGridToClip = 32797;
constexpr int kCmdGridToClipTitle = 32811;

// Cell texts of a grid. A view can hand in a row filler: rows are then filled
// only when they are first drawn or read, so that showing another zone costs
// the visible rows, not all 250.
class CGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using RowFiller = std::function<void(int row, std::vector<QString>& cells)>;
  // Fills a row's texts and marks the cells shown greyed (fields that
  // cannot be changed now).
  using GreyRowFiller = std::function<void(int row, std::vector<QString>& cells, std::vector<char>& grey)>;

  explicit CGridModel(QObject* parent = nullptr);

  // Rows and columns including the header row and column 0.
  void SetSize(int rows, int cols);
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }

  QString Text(int row, int col) const;
  void SetText(int row, int col, const QString& text);
  void SetRowFiller(RowFiller f) { filler_ = std::move(f); }
  void SetRowFiller(GreyRowFiller f) { greyFiller_ = std::move(f); }
  bool Greyed(int row, int col) const;
  // Marks every data row (or one row) to be filled again.
  void RefillAll();
  void RefillRow(int row);

  void SetColumnFormat(int col, int alignment, bool fixedFont);
  bool FixedFont(int col) const {
    return col >= 0 && col < static_cast<int>(fixedFont_.size()) && fixedFont_[static_cast<size_t>(col)];
  }
  void SetHeaderLook(bool enabledLook) { enabledLook_ = enabledLook; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void EnsureRow(int row) const;

  int rows_ = 1;
  int cols_ = 1;
  // cells_[row][col] for rows 0..rows-1; row 0 holds the captions.
  mutable std::vector<std::vector<QString>> cells_;
  mutable std::vector<char> stale_;
  mutable std::vector<std::vector<char>> grey_;  // per row, empty when none is grey
  std::vector<int> align_;
  std::vector<char> fixedFont_;
  RowFiller filler_;
  GreyRowFiller greyFiller_;
  bool enabledLook_ = true;
};

// The face of every fixed-pitch column and line (grids, message lines): the
// platform's fixed font at the size of the other cells when its characters
// all advance alike, else the first installed monospaced face that does.
QFont FixedPitchFace();
QFont GridFixedFont();
// True when every character a fixed column shows has the same advance.
bool HasEqualAdvances(const QFont& font);

// Puts text on the clipboard; false when the clipboard could not be taken.
using ClipboardWriter = std::function<bool(const QString&)>;
// Tries up to three times, stopping at the first success.
bool PutClipboardText(const QString& text, const ClipboardWriter& writer = {});

class CEditGrid : public QTableView {
  Q_OBJECT
 public:
  enum EditorKind { kNoEditor = 0, kEditBox = 1, kEditButton = 2, kDropList = 3, kEditCombo = 4 };
  enum FocusPolicyCode { kNeverFocus = 0, kFocusWhenEnabled = 1, kAlwaysFocus = 2 };

  explicit CEditGrid(QWidget* parent = nullptr);

  CGridModel* Model() const { return model_; }
  void SetTextTable(TextTable* text) { text_ = text; }

  // ---- shape and texts -----------------------------------------------------
  void SetSize(int rows, int cols);
  int Rows() const { return model_->Rows(); }
  int Cols() const { return model_->Cols(); }
  int SetupColumns(const ColumnDescriptor* columns, int headerRow, int count);
  void NumberRows(int firstRow);
  void SetRowTexts(const std::vector<std::pair<int, QString>>& pairs);
  QString Text(int row, int col) const { return model_->Text(row, col); }
  void SetText(int row, int col, const QString& t) { model_->SetText(row, col, t); }

  // ---- current cell and selection --------------------------------------------
  int Row() const;
  int Col() const;
  void SetCurrent(int row, int col);
  int TopRow() const;
  void SetTopRow(int row);
  void SetRowSelectMode(bool on);
  bool RowSelectState() const { return rowSelect_; }
  void SelectedRows(int& first, int& last) const;
  // Selects rows first..last in the row-selection highlight.
  void SelectRows(int first, int last);
  int PageRows() const;

  // ---- in-cell editors -----------------------------------------------------
  int ShowEdit(CFilterEdit* editor, const QString& text, bool takeFocus, QAbstractButton* button = nullptr);
  int ShowList(QComboBox* combo, const QString& text, bool takeFocus);
  int ShowCombo(QComboBox* combo, const QString& text, bool takeFocus);
  int HideEditor(bool clearText);
  // Puts the saved cell text back and closes the editor (Escape, a message box).
  void CancelEdit();
  int EditorKindOpen() const { return editorKind_; }
  QWidget* Editor() const { return editor_; }
  QString SavedCellText() const { return savedText_; }
  // Row and column the open editor covers.
  int EditRow() const { return editRow_; }
  int EditCol() const { return editCol_; }
  // The editor's place for the current cell (off-screen when not visible).
  QRect EditorRect(int kind) const;

  // ---- moving --------------------------------------------------------------
  void PageUp();
  void PageDown();
  // After a value was entered: n columns to the right, continuing on the
  // following rows; nothing moves with Shift or Control held or past the end.
  void Advance(int n, Qt::KeyboardModifiers mods = Qt::NoModifier);
  void SetWrapNavigation(bool on) { wrap_ = on; }
  bool WrapNavigation() const { return wrap_; }
  void SetFocusPolicyCode(int code) { focusCode_ = code; }
  bool EnterReleased() const { return enterReleased_; }
  void SetEnterReleased(bool on) { enterReleased_ = on; }
  // Makes the grid send Tab or Shift+Tab as the user would.
  void SendTab(bool backwards);

  // ---- look -----------------------------------------------------------------
  // Makes the grid as wide as its columns plus a vertical scroll bar, and,
  // when not every row fits its home rectangle, cuts its height to the
  // bottom of the last whole row, so that it shows whole rows and no empty
  // space.
  void FitToRows();
  void SetHomeRect(const QRect& r) { home_ = r; }
  QRect HomeRect() const { return home_; }
  // Enabled: the style's colours. Disabled look: the fixed cells in the
  // inactive-border colour and every text in the grey-text colour.
  void SetEnabledLook(bool enabled);
  bool EnabledLook() const { return enabledLook_; }
  // Width that shows every column and a vertical scroll bar; height of the
  // header row and `rows` data rows.
  int FullWidth() const;
  int HeightForRows(int rows) const;
  // A stretching grid fills its width: the data columns share the space
  // beyond the widths of the table in proportion to them (a narrower grid
  // scrolls sideways). The widths in force at the call are the table's.
  void SetStretch(bool on);
  bool Stretches() const { return stretch_; }
  int RowHeight() const;
  // Keeps a neighbouring control in place relative to the grid whenever the
  // grid is moved or resized: kAnchorRight keeps the distance of its left
  // edge to the grid's right edge, kAnchorBottom the distance of its bottom
  // to the grid's bottom, kAnchorTop the distance of its top to the grid's
  // bottom and kAnchorRightEdge the distance of its right edge to the grid's
  // right edge. The distances are those of the moment of the call.
  enum Anchor { kAnchorRight = 1, kAnchorBottom = 2, kAnchorTop = 4, kAnchorRightEdge = 8 };
  void MoveRelative(QWidget* control, int anchors);

  // ---- pop-up menu -----------------------------------------------------------
  // Whether the menu may open for a click on `row` (0: the header row).
  bool PopupAllowed(int row) const;
  // The short (Copy, Paste, Delete) or long menu (plus to Clip and to
  // Clip(w/Title)) with its enable rules; the caller owns it.
  QMenu* BuildPopupMenu(bool longMenu, bool canPaste, bool noCopy, QWidget* parent = nullptr) const;
  // Shows the menu at `globalPos` and returns the chosen command (0 none).
  // Copy also puts the rows on the clipboard as tab-separated text; Paste of
  // text from another program is done by the grid itself (see below) and
  // returns 0.
  int RunPopupMenu(const QPoint& globalPos, bool longMenu, bool canPaste, bool noCopy);

  // ---- spreadsheet interchange ---------------------------------------------------
  // Stores one pasted cell by the rules of typing it: false when the text
  // was refused (the cell keeps what it had). Set by the view that owns the
  // grid; without it the grid takes no pasted text.
  using CellStore = std::function<bool(int row, int col, const QString& text)>;
  // After a paste: redraw, and say how many cells were refused (0: none).
  using PasteDone = std::function<void(int refused)>;
  void SetCellStore(CellStore store, PasteDone done = {});
  bool TakesPastedText() const { return static_cast<bool>(cellStore_); }
  // The selected rows (or the current cell) as tab-separated lines, without
  // the record-number column; the column headings first when asked.
  QString SelectionText(bool headings) const;
  // Copies SelectionText to the clipboard.
  bool CopySelectionText(bool headings);
  // Whether the clipboard holds text this program did not put there (from a
  // spreadsheet): Ctrl+V and Paste then store it cell by cell.
  bool ClipboardHasForeignText() const;
  // Stores tab-separated text from the current cell (the first selected
  // row in row selection) to the right and down: one line a row, cells
  // split at tabs; empty cells and cells beyond the grid are skipped; a first
  // line that repeats the column headings is left out. Returns the number of
  // cells refused.
  int PasteText(const QString& text);

 Q_SIGNALS:
  // 1 focus in, 0 focus out, 2 paged (with the key).
  void Notify(int what, int key);
  void CellChanged(int row, int col);
  // Enter on the grid once it was released (opens the editor on the cell).
  void EnterPressed(Qt::KeyboardModifiers mods);
  // A character typed on the grid (opens the editor with that key).
  void CharTyped(QKeyEvent* event);
  // Other keys the grid does not use itself (Delete, F-keys...).
  void KeyToView(QKeyEvent* event);
  // Keys that leave an open editor: Enter, Escape, Tab, Up/Down, PageUp/Down.
  void EditorKey(int key, Qt::KeyboardModifiers mods);
  // The open editor lost the focus to another control (the owner commits).
  void EditorFocusOut(Qt::FocusReason reason);
  // Right button: where, and on which row (0 for the header row).
  void ContextMenuAsked(const QPoint& globalPos, int row);
  void Scrolled();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void changeEvent(QEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool event(QEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Keys the owner claims for its own commands: they reach the grid (and
  // through KeyToView the owner) before any shortcut of the window.
  virtual bool ClaimsKey(const QKeyEvent*) const { return false; }

 private:
  void PlaceEditor();
  // Ctrl+C, Ctrl+Shift+C (with headings) and Ctrl+V of foreign text.
  bool ClipboardKey(QKeyEvent* e);
  void UpdateSelection();
  void OpenCommon(QWidget* editor, int kind, const QString& text);
  void ExtendRowSelection(int delta);
  void ScrollEnded();
  void MoveAnchored();
  void StretchColumns();

  CGridModel* model_;
  TextTable* text_ = nullptr;
  bool stretch_ = false;
  std::vector<int> baseWidths_;
  QPointer<QWidget> editor_;
  QPointer<QAbstractButton> button_;
  int editorKind_ = kNoEditor;
  int editRow_ = 0;
  int editCol_ = 0;
  QString savedText_;
  bool wrap_ = false;
  int focusCode_ = kFocusWhenEnabled;
  bool enterReleased_ = true;
  bool rowSelect_ = false;
  int anchorRow_ = 1;
  QRect home_;
  bool enabledLook_ = true;
  // An edit box stays where it is while a scroll bar is dragged; it moves
  // onto its cell when the scroll ends.
  bool placePending_ = false;
  int scrollBarExtent_ = -1;
  struct Anchored {
    QPointer<QWidget> control;
    int anchors;
    int left, right, top, bottom;  // distances measured from the grid's right and bottom edges
  };
  std::vector<Anchored> anchored_;
  CellStore cellStore_;
  PasteDone pasteDone_;
};

}  // namespace vb420
