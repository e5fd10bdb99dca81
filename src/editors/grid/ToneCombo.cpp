// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/ToneCombo.h"

#include "data/FieldCodec.h"
#include "editors/grid/FilterEdit.h"
#include "lang/TextTable.h"

namespace vb420 {

CToneCombo::CToneCombo(QWidget* parent) : QComboBox(parent), edit_(new CFilterEdit) {
  setEditable(true);
  setLineEdit(edit_);
  // Qt completes a typed text inline from the list ("71" would become
  // 71.9); a typed tone goes through the tone rule and nothing else.
  setCompleter(nullptr);
  edit_->SetInputMode(kInputTone);
  edit_->setMaxLength(5);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
}

void CToneCombo::Fill(const CFieldCodec& codec, TextTable& text) {
  edit_->SetDecimalSeparator(codec.DecimalSeparator());
  QStringList rows;
  rows.reserve(kToneListRows);
  rows << QString::fromStdString(text.Text(362));
  for (int row = 1; row < kToneListRows; ++row)
    rows << QString::fromStdString(codec.LocalizeDecimal(codec.ToneListText(row)));
  const QString keep = currentText();
  clear();
  addItems(rows);
  setEditText(keep);
}

}  // namespace vb420
