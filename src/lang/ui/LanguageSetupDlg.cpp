// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/ui/LanguageSetupDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/HelpContexts.h"
#include "lang/TextTable.h"
#include "lang/ui/HelpSystem.h"

namespace vb420 {

CLanguageSetupDlg::CLanguageSetupDlg(TextTable& text, HelpSystem* help, QWidget* parent) : QDialog(parent) {
  auto T = [&text](int n) { return QString::fromStdString(text.Text(n)); };
  setWindowTitle(T(233));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(T(234), this));
  list_ = new QListWidget(this);
  list_->setMinimumHeight(90);
  const LanguageInfo* current = LanguageByName(text.CurrentLanguage());
  for (const LanguageInfo& lang : Languages()) {
    if (text.ColumnOf(lang.name) == 0) continue;  // not in this file
    auto* item = new QListWidgetItem(T(lang.textEntry), list_);
    item->setData(Qt::UserRole, lang.key);
    if (current && current->key == lang.key) list_->setCurrentItem(item);
  }
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(T(13), QDialogButtonBox::AcceptRole);
  buttons->addButton(T(14), QDialogButtonBox::RejectRole);
  QPushButton* helpButton = buttons->addButton(T(16), QDialogButtonBox::HelpRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  if (help) {
    connect(helpButton, &QPushButton::clicked, this, [this, help] { help->Show(this, kHelpLanguage); });
    InstallHelpKey(this, *help, [] { return kHelpLanguage; });
  } else {
    helpButton->setEnabled(false);
  }
  layout->addWidget(buttons);
}

int CLanguageSetupDlg::SelectedKey() const {
  QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

void CLanguageSetupDlg::SelectKey(int key) {
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->data(Qt::UserRole).toInt() == key) list_->setCurrentRow(i);
}

}  // namespace vb420
