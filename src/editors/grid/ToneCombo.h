// SPDX-License-Identifier: GPL-3.0-or-later
// The editable tone combo box of the editors.
#pragma once

#include <QComboBox>

namespace vb420 {

class CFieldCodec;
class CFilterEdit;
class TextTable;

// Off, then every QT and DQT tone with the locale's decimal separator. The
// edit part takes at most 5 characters: digits, D, I, N and the separator.
class CToneCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit CToneCombo(QWidget* parent = nullptr);
  void Fill(const CFieldCodec& codec, TextTable& text);
  CFilterEdit* Edit() const { return edit_; }

 private:
  CFilterEdit* edit_;
};

}  // namespace vb420
