// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/DialogHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "editors/grid/FilterEdit.h"
#include "lang/TextTable.h"

namespace vb420 {

CDialogHelper& CDialogHelper::Instance() {
  static CDialogHelper helper;
  return helper;
}

void CDialogHelper::FillCombo(QComboBox* combo, const std::vector<ComboRow>& rows, TextTable& text) const {
  if (!combo) return;
  combo->clear();
  for (const ComboRow& r : rows) combo->addItem(QString::fromStdString(text.Text(r.textEntry)), r.value);
}

int CDialogHelper::RowOfValue(const QComboBox* combo, int value) {
  if (!combo) return -1;
  for (int i = 0; i < combo->count(); ++i)
    if (combo->itemData(i).toInt() == value) return i;
  return -1;
}

void CDialogHelper::PlaceCombo(QComboBox* combo, QWidget* over, const QString& text, bool takeFocus) const {
  if (!combo || !over) return;
  if (combo->parentWidget() != over->parentWidget()) combo->setParent(over->parentWidget());
  combo->setGeometry(over->geometry().x(), over->geometry().y(), over->width(), combo->sizeHint().height());
  combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
  over->hide();
  combo->setEnabled(true);
  combo->show();
  combo->raise();
  if (takeFocus) combo->setFocus(Qt::OtherFocusReason);
}

void CDialogHelper::ReleaseCombo(QComboBox* combo, QWidget* covered, bool clearText) const {
  if (covered) covered->show();
  if (!combo) return;
  combo->hide();
  combo->setEnabled(false);
  if (clearText) {
    if (combo->isEditable()) combo->setEditText(QString());
    combo->setCurrentIndex(-1);
  }
}

void CDialogHelper::SetCaptions(const std::vector<std::pair<QWidget*, int>>& controls, TextTable& text) const {
  for (const auto& [w, entry] : controls) {
    const QString t = QString::fromStdString(text.Text(entry));
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(t);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);
    else if (w) w->setWindowTitle(t);
  }
}

void CDialogHelper::ShowGroup(const std::vector<QWidget*>& controls, bool show) const {
  for (QWidget* w : controls)
    if (w) w->setVisible(show);
}

void CDialogHelper::StackControls(const std::vector<QWidget*>& controls, int top, int gap) const {
  int y = top;
  for (QWidget* w : controls) {
    if (!w || w->isHidden()) continue;
    w->move(w->x(), y);
    y += w->height() + gap;
  }
}

void CDialogHelper::PrepareEdit(CFilterEdit* edit, int mode, int limit, bool dialogFont) const {
  if (!edit) return;
  edit->SetInputMode(mode);
  if (limit > 0) edit->setMaxLength(limit);
  if (dialogFont) edit->setFont(dialogFont_);
}

void CDialogHelper::OpenHelp(QWidget* view, int context) const {
  // Nothing may keep the mouse or a pop-up while the help window comes up.
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (QWidget* grabber = QWidget::keyboardGrabber()) grabber->releaseKeyboard();
  (void)view;
  if (helpOpener_) helpOpener_(context);
}

}  // namespace vb420
