// SPDX-License-Identifier: GPL-3.0-or-later
// A grid whose columns are field descriptors and whose rows are records of
// one list: each cell shows and stores through the form engine (the same
// descriptors `vb420cli settings` uses), with an edit box for typed values
// and a drop-down list for choices.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "editors/forms/FormEngine.h"
#include "editors/grid/EditGrid.h"

class QComboBox;

namespace vb420 {

class CFilterEdit;

class CFieldGrid : public CEditGrid {
  Q_OBJECT
 public:
  struct Column {
    const forms::FieldDescriptor* field;
    int width;
    int alignment;
  };
  // `rows` data rows under a header; column 0 numbers the rows (text entry
  // 359). The cursor of row r is {page, r - 1}.
  CFieldGrid(RadioData& data, TextTable& text, bool voting, std::unique_ptr<forms::RecordLocator> locator,
             std::vector<Column> columns, int rows, int page = -1, QWidget* parent = nullptr);
  ~CFieldGrid() override;

  void Refill() { Model()->RefillAll(); }
  // Stores what an open cell editor holds.
  void CommitEdit();
  CFilterEdit* CellEdit() const { return edit_; }
  QComboBox* CellList() const { return list_; }
  // A context for row r (1-based grid row).
  forms::FormContext RowContext(int row) const;

 Q_SIGNALS:
  void Stored(int row, int col);

 private:
  void Open(QKeyEvent* key, bool enter);

  RadioData& data_;
  TextTable& text_;
  bool voting_;
  std::unique_ptr<forms::RecordLocator> locator_;
  std::vector<Column> columns_;
  int page_;
  CFilterEdit* edit_ = nullptr;
  QComboBox* list_ = nullptr;
};

}  // namespace vb420
