// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "data/ui/ModelInfoDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "lang/HelpContexts.h"
#include "lang/TextTable.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

CModelInfoDlg::CModelInfoDlg(RadioData& data, MessageHelper& msg, HelpSystem* help, QWidget* parent)
    : QDialog(parent), data_(data), msg_(msg) {
  setWindowTitle(msg.T(197));
  auto* layout = new QVBoxLayout(this);
  auto* lists = new QHBoxLayout;
  models_ = new QListWidget(this);
  bands_ = new QListWidget(this);
  models_->setObjectName("modelList");
  bands_->setObjectName("bandList");
  for (const auto& [name, number] : ModelRecord::ModelList(msg.Text())) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), models_);
    item->setData(Qt::UserRole, number);
  }
  const int fontH = models_->fontMetrics().height();
  models_->setMinimumSize(models_->sizeHintForColumn(0) + 40, fontH * 12);
  bands_->setMinimumWidth(bands_->fontMetrics().horizontalAdvance("450-520 MHz") + 60);
  auto* modelBox = new QGroupBox(msg.T(198), this);
  auto* bandBox = new QGroupBox(msg.T(199), this);
  (new QVBoxLayout(modelBox))->addWidget(models_);
  (new QVBoxLayout(bandBox))->addWidget(bands_);
  lists->addWidget(modelBox, 3);
  lists->addWidget(bandBox, 2);
  layout->addLayout(lists);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(msg.T(13), QDialogButtonBox::AcceptRole);
  buttons->addButton(msg.T(14), QDialogButtonBox::RejectRole);
  QPushButton* helpButton = buttons->addButton(msg.T(16), QDialogButtonBox::HelpRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &CModelInfoDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  if (help) {
    connect(helpButton, &QPushButton::clicked, this, [this, help] { help->Show(this, kHelpModelDialog); });
    InstallHelpKey(this, *help, [this] { return HelpContext(); });
  } else {
    helpButton->setEnabled(false);
  }

  connect(models_, &QListWidget::currentRowChanged, this, [this](int) { FillBands(ChosenModel(), -1); });
  const int current = data_.model.ModelNumber();
  SelectModel(current < 0 ? 0 : current);
  FillBands(ChosenModel(), data_.model.BandCode());
}

int CModelInfoDlg::HelpContext() const {
  if (models_->hasFocus()) return kHelpModelList;
  if (bands_->hasFocus()) return kHelpBandList;
  return kHelpModelDialog;
}

void CModelInfoDlg::FillBands(int model, int selectCode) {
  if (selectCode < 0) selectCode = data_.model.BandCode();
  bands_->clear();
  int selected = 0;
  for (const auto& [text, code] : ModelRecord::BandList(model)) {
    auto* item = new QListWidgetItem(QString::fromStdString(text), bands_);
    item->setData(Qt::UserRole, code);
    if (code == selectCode) selected = bands_->count() - 1;
  }
  if (bands_->count() > 0) bands_->setCurrentRow(selected);
}

int CModelInfoDlg::ChosenModel() const {
  QListWidgetItem* item = models_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

uint8_t CModelInfoDlg::ChosenBand() const {
  QListWidgetItem* item = bands_->currentItem();
  return item ? static_cast<uint8_t>(item->data(Qt::UserRole).toInt()) : 0xFF;
}

void CModelInfoDlg::SelectModel(int model) {
  for (int i = 0; i < models_->count(); ++i)
    if (models_->item(i)->data(Qt::UserRole).toInt() == model) models_->setCurrentRow(i);
}

void CModelInfoDlg::SelectBand(uint8_t bandCode) {
  for (int i = 0; i < bands_->count(); ++i)
    if (bands_->item(i)->data(Qt::UserRole).toInt() == bandCode) bands_->setCurrentRow(i);
}

void CModelInfoDlg::accept() {
  const int model = ChosenModel();
  const uint8_t band = ChosenBand();
  if (model < 0 || band == 0xFF) return;
  const ModelChangePlan plan = PlanModelChange(data_, msg_.Text(), model, band);
  if (!plan.warning.empty() &&
      msg_.Warning(QString::fromStdString(plan.warning), kMsgOkCancel, MessageHelper::kWarningCaption, this) != kIdOk)
    return;
  flags_ = plan.flags;
  QDialog::accept();
}

CSaveTypeDlg::CSaveTypeDlg(TextTable& text, HelpSystem* help, QWidget* parent) : QDialog(parent) {
  auto T = [&text](int n) { return QString::fromStdString(text.Text(n)); };
  setWindowTitle(QStringLiteral("VB-420"));
  auto* layout = new QVBoxLayout(this);
  const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + 6;
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(margin);
  layout->addWidget(new QLabel(T(333), this));
  auto* row = new QHBoxLayout;
  auto* dat = new QPushButton(T(524), this);
  auto* sdt = new QPushButton(T(525), this);
  // The user may change their mind: Cancel (and Escape) saves nothing.
  auto* cancel = new QPushButton(T(14), this);
  dat->setObjectName("datButton");
  sdt->setObjectName("sdtButton");
  cancel->setObjectName("cancelButton");
  dat->setDefault(true);
  row->addWidget(dat);
  row->addWidget(sdt);
  row->addStretch(1);
  row->addSpacing(margin);
  row->addWidget(cancel);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(dat, &QPushButton::clicked, this, [this] { Choose(0); });
  connect(sdt, &QPushButton::clicked, this, [this] { Choose(1); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  if (help) InstallHelpKey(this, *help, [] { return kHelpSaveType; });
}

void CSaveTypeDlg::Choose(int type) {
  choice_ = type;
  accept();
}

}  // namespace vb420
