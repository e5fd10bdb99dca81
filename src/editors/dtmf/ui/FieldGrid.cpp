// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/dtmf/ui/FieldGrid.h"

#include <algorithm>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

#include "editors/forms/FieldSets.h"
#include "editors/grid/FilterEdit.h"
#include "lang/TextTable.h"

namespace vb420 {

using forms::ControlKind;
using forms::FormEngine;

CFieldGrid::CFieldGrid(RadioData& data, TextTable& text, bool voting, std::unique_ptr<forms::RecordLocator> locator,
                       std::vector<Column> columns, int rows, int page, QWidget* parent)
    : CEditGrid(parent), data_(data), text_(text), voting_(voting), locator_(std::move(locator)),
      columns_(std::move(columns)), page_(page) {
  SetTextTable(&text);
  const int cols = static_cast<int>(columns_.size()) + 1;
  SetSize(rows + 1, cols);
  std::vector<ColumnDescriptor> desc{{359, 36, kAlignCentre, 1}};
  for (const Column& c : columns_) desc.push_back({c.field->labelEntry, c.width, c.alignment, 1});
  SetupColumns(desc.data(), 0, cols);
  NumberRows(1);
  Model()->SetRowFiller([this](int row, std::vector<QString>& cells) {
    const forms::FormContext ctx = RowContext(row);
    for (size_t c = 0; c < columns_.size(); ++c)
      cells[c + 1] = QString::fromStdString(forms::SettingText(ctx, *columns_[c].field));
  });
  setMinimumWidth(FullWidth());

  edit_ = new CFilterEdit(this);
  edit_->setObjectName("cellEdit");
  edit_->hide();
  list_ = new QComboBox(this);
  list_->setObjectName("cellList");
  list_->hide();
  connect(list_, &QComboBox::activated, this, [this](int) {
    CommitEdit();
    setFocus();
  });

  connect(this, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { Open(e, false); });
  connect(this, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) { Open(nullptr, true); });
  connect(this, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Escape) {
      CancelEdit();
      return;
    }
    const int row = EditRow();
    CommitEdit();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) Advance(1, mods);
    else if (key == Qt::Key_Up) SetCurrent(std::max(1, row - 1), Col());
    else if (key == Qt::Key_Down) SetCurrent(std::min(Rows() - 1, row + 1), Col());
    setFocus();
  });
  connect(this, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitEdit();
  });
}

CFieldGrid::~CFieldGrid() = default;

forms::FormContext CFieldGrid::RowContext(int row) const {
  return forms::FormContext(data_, text_, voting_, {page_, row - 1}, locator_.get());
}

void CFieldGrid::Open(QKeyEvent* key, bool enter) {
  const int row = Row();
  const int col = Col();
  if (row < 1 || col < 1 || col > static_cast<int>(columns_.size())) return;
  const forms::FieldDescriptor& d = *columns_[static_cast<size_t>(col - 1)].field;
  const forms::FormContext ctx = RowContext(row);
  if (!FormEngine::Enabled(ctx, forms::FormPage{}, d)) return;
  const QString current = Text(row, col);
  if (d.kind == ControlKind::Combo) {
    list_->clear();
    for (const std::string& t : FormEngine::ChoiceTexts(ctx, d)) list_->addItem(QString::fromStdString(t));
    ShowList(list_, current, true);
    if (key && !key->text().isEmpty()) {
      // A typed letter picks the first row that starts with it.
      const int at = list_->findText(key->text(), Qt::MatchStartsWith);
      if (at >= 0) list_->setCurrentIndex(at);
    }
    return;
  }
  edit_->SetInputMode(FormEngine::InputMode(ctx, d));
  edit_->SetDecimalSeparator(data_.field.DecimalSeparator());
  int limit = d.maxLength;
  if (d.encoding == forms::Encoding::Name) limit = FormEngine::TextWidth(ctx, d);
  if (d.encoding == forms::Encoding::Digits) limit = d.textWidth * 2;
  edit_->setMaxLength(limit > 0 ? limit : 32767);
  if (key && !enter && (key->text().isEmpty() || !edit_->Accepts(key->text().at(0)))) return;
  ShowEdit(edit_, enter ? current : QString(), true);
  if (key) {
    edit_->clear();
    QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(edit_, &copy);
  }
}

void CFieldGrid::CommitEdit() {
  const int kind = EditorKindOpen();
  if (!kind) return;
  const int row = EditRow();
  const int col = EditCol();
  const forms::FieldDescriptor& d = *columns_[static_cast<size_t>(col - 1)].field;
  forms::FormContext ctx = RowContext(row);
  if (kind == kDropList) {
    const int chosen = list_->currentIndex();
    const QString saved = SavedCellText();
    HideEditor(false);
    const auto rows = FormEngine::Choices(ctx, d);
    if (chosen < 0 || chosen >= static_cast<int>(rows.size()) ||
        (list_->itemText(chosen) == saved && FormEngine::CurrentRow(ctx, d) == chosen)) {
      Model()->RefillRow(row);
      return;
    }
    FormEngine::StoreRow(ctx, d, chosen);
  } else {
    const QString saved = SavedCellText();
    const QString typed = edit_->text();
    HideEditor(false);
    if (typed == saved) {
      SetText(row, col, saved);
      return;
    }
    std::string t = typed.toStdString();
    FormEngine::StoreText(ctx, d, t);
  }
  Model()->RefillAll();
  Q_EMIT Stored(row, col);
}

}  // namespace vb420
