// SPDX-License-Identifier: GPL-3.0-or-later
// A list box as wide as the longest item it holds now, the way Qt's
// AdjustToContents policy makes it, without what setting that policy costs:
// Qt builds the pop-up list of every box the moment the policy is set (a
// list view, its frame and scrollers: about as much work as the rest of the
// box), and a form of a few hundred boxes paid for that at every opening.
// Here the pop-up is built when the list is first opened.
#pragma once

#include <QComboBox>

class QLineEdit;

namespace vb420 {

class CFitCombo : public QComboBox {
 public:
  explicit CFitCombo(QWidget* parent = nullptr);

  // Makes the box editable through `edit` (the box takes it over) without
  // building the pop-up now, as setEditable(true) would.
  void SetEditor(QLineEdit* edit);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
  void showPopup() override;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Invalidate();

  mutable QSize hint_;
  bool popupPrepared_ = false;
};

}  // namespace vb420
