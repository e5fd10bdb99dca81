// SPDX-License-Identifier: GPL-3.0-or-later
// The memory viewer: a hexadecimal view and editor of a raw buffer (the
// working image or the working extension area). The user edits a copy; the
// source changes only when OK is pressed and a byte differs.
#pragma once

#include "frame/ui/Workspace.h"

#include <QDialog>
#include <QString>

#include "data/Bytes.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vb420 {

class CEditGrid;
class CFilterEdit;
class TextTable;
class UiPrompter;
struct EditorContext;

// One viewer with its remembered position (the main window keeps two).
class CMemoryViewer {
 public:
  CMemoryViewer(ByteArea source, ByteArea copy, int size) : source_(source), copy_(copy), size_(size) {}

  // Empty: text entry 228.
  void SetTitle(const QString& title) { title_ = title; }
  QString Title() const { return title_; }
  // 1 when OK changed the source, 0 otherwise.
  int OpenWhole(QWidget* parent, TextTable& text, UiPrompter& prompter);
  int OpenWindow(QWidget* parent, TextTable& text, UiPrompter& prompter, int start, int count, const QString& caption);

  struct Position {
    int top = -1;  // -1: not yet remembered
    int row = -1;
    int col = 1;
  };
  Position& Remembered() { return remembered_; }
  ByteArea Source() const { return source_; }
  ByteArea Copy() const { return copy_; }
  int Size() const { return size_; }
  bool ShowChars() const { return showChars_; }
  void SetShowChars(bool on) { showChars_ = on; }

 private:
  int Run(QWidget* parent, TextTable& text, UiPrompter& prompter, int base, int rows, int firstCol, bool whole,
          const QString& caption);

  ByteArea source_;
  ByteArea copy_;
  int size_;
  QString title_;
  Position remembered_;
  bool showChars_ = true;
};

class CMemoryViewDlg : public QDialog {
  Q_OBJECT
 public:
  CMemoryViewDlg(CMemoryViewer& viewer, TextTable& text, int base, int rows, int firstCol, bool whole,
                 const QString& caption, QWidget* parent = nullptr);

  CEditGrid* Grid() const { return grid_; }
  QLineEdit* AddressBox() const { return address_; }
  QLabel* AddressStatic() const { return addressStatic_; }
  QCheckBox* CharBox() const { return chars_; }
  CFilterEdit* CellEdit() const { return edit_; }
  // Address of the byte under a cell, -1 on the gap column.
  int AddressOf(int row, int col) const;
  // Selects the byte's cell; false when it is not shown.
  bool GoTo(int address);
  // Rebuilds the columns with or without the character columns.
  void SetCharColumns(bool on);
  // OK: copies the edited bytes into the source when one differs.
  void Confirm();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillRow(int row, std::vector<QString>& cells) const;
  void OpenEdit(const QString& text, QKeyEvent* key);
  void CommitEdit();
  void ShowAddress();
  int ByteCol(int col) const;

  CMemoryViewer& viewer_;
  TextTable& text_;
  int base_;
  int rows_;
  bool whole_;
  bool charCols_;
  CEditGrid* grid_;
  CFilterEdit* edit_;
  QLineEdit* address_;
  QLabel* addressStatic_;
  QLabel* addressLabel_;
  QCheckBox* chars_;
};

// The Memory Map and EEPROM viewers of a main window, made on first use.
CMemoryViewer& ImageViewer(EditorContext& ctx);
CMemoryViewer& EepromViewer(EditorContext& ctx);
// Shows `count` bytes from `start` of the image (the editors' memory-map
// commands); refreshes the editors when OK changed a byte.
void ShowImageWindow(EditorContext& ctx, int start, int count, const QString& caption);

}  // namespace vb420
