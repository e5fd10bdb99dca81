// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintOptionsDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "data/RadioData.h"
#include "lang/TextTable.h"
#include "lang/ui/HelpSystem.h"
#include "print/PrintPreview.h"
#include "print/core/PagePlan.h"

namespace vb420::print {

namespace {

QPointer<CPrintOptionsDlg>& OpenDialog() {
  static QPointer<CPrintOptionsDlg> dlg;
  return dlg;
}

// Order of the boxes on the dialog: the header blocks first, then the
// sections as they are printed.
constexpr int kBoxOrder[kCheckBoxCount] = {0, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14};

}  // namespace

CPrintOptionsDlg* CPrintOptionsDlg::Open() { return OpenDialog(); }

CPrintOptionsDlg::CPrintOptionsDlg(RadioData& data, TextTable& text, HelpSystem* help, QPrinter& printer,
                                   UiPrompter* prompter, QWidget* parent)
    : QDialog(parent), data_(data), text_(text), printer_(printer) {
  auto T = [&text](int n) { return QString::fromStdString(text.Text(n)); };
  setObjectName(QStringLiteral("printOptionsDlg"));
  setWindowTitle(T(126));
  OpenDialog() = this;

  auto* top = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* boxesGroup = new QGroupBox(this);
  auto* grid = new QGridLayout(boxesGroup);
  for (int i = 0; i < kCheckBoxCount; ++i) {
    const int option = kBoxOrder[i];
    auto* box = new QCheckBox(T(CheckBoxTextEntry(option)), boxesGroup);
    box->setObjectName(QStringLiteral("option%1").arg(option));
    box->setChecked(true);
    boxes_[static_cast<size_t>(option)] = box;
    // Header blocks in the first column, sections down both.
    grid->addWidget(box, i % 8, i / 8);
    connect(box, &QCheckBox::toggled, this, [this] { UpdateState(); });
  }
  left->addWidget(boxesGroup);

  auto* zones = new QHBoxLayout;
  zones->addWidget(new QLabel(T(127), this));
  auto make = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(3);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return e;
  };
  first_ = make("firstZone");
  last_ = make("lastZone");
  zones->addWidget(first_);
  zones->addWidget(new QLabel(QStringLiteral("-"), this));
  zones->addWidget(last_);
  zones->addStretch(1);
  left->addLayout(zones);
  // A value out of range is brought into range when the field loses the focus.
  connect(first_, &QLineEdit::editingFinished, this, [this] { ZoneFieldDone(true); });
  connect(last_, &QLineEdit::editingFinished, this, [this] { ZoneFieldDone(false); });

  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("pageCount"));
  left->addWidget(count_);
  top->addLayout(left, 1);

  auto* buttons = new QVBoxLayout;
  auto button = [&](int entry, const char* name) {
    auto* b = new QPushButton(T(entry), this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  print_ = button(13, "print");
  preview_ = button(47, "preview");
  cancel_ = button(14, "cancel");
  buttons->addSpacing(12);
  setup_ = button(32, "printerSetup");
  clearAll_ = button(34, "clearAll");
  selectAll_ = button(35, "selectAll");
  buttons->addSpacing(12);
  QPushButton* helpButton = button(16, "help");
  buttons->addStretch(1);
  top->addLayout(buttons);
  print_->setDefault(true);

  onPreview = [this, prompter](const PrintOptions& o) { RunPreview(data_, text_, o, this, prompter); };
  onPrint = [this, prompter](const PrintOptions& o) { return RunPrint(data_, text_, o, this, prompter); };
  onPrinterSetup = [this, prompter] {
    QPageSetupDialog dlg(&printer_, this);
    RunModal(dlg, prompter);
  };
  connect(print_, &QPushButton::clicked, this, &CPrintOptionsDlg::Print);
  connect(preview_, &QPushButton::clicked, this, &CPrintOptionsDlg::Preview);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(setup_, &QPushButton::clicked, this, [this] {
    if (onPrinterSetup) onPrinterSetup();
    UpdateState();
  });
  connect(clearAll_, &QPushButton::clicked, this, [this] {
    for (QCheckBox* b : boxes_) b->setChecked(false);
    boxes_[static_cast<size_t>(kBoxOrder[0])]->setFocus();
    UpdateState();
  });
  connect(selectAll_, &QPushButton::clicked, this, [this] {
    for (QCheckBox* b : boxes_) b->setChecked(true);
    UpdateState();
  });
  if (help) {
    connect(helpButton, &QPushButton::clicked, this, [this, help] { help->Show(this, kHelpPrint); });
    InstallHelpKey(this, *help, [this] {
      const QWidget* f = focusWidget();
      return f == preview_ ? kHelpPreview : f == setup_ ? kHelpPrinterSetup : kHelpPrint;
    });
  } else {
    helpButton->setEnabled(false);
  }
  ShowZones();
  UpdateState();
}

void CPrintOptionsDlg::ShowZones() {
  first_->setText(QString::number(options_.FirstZone()));
  last_->setText(QString::number(options_.LastZone()));
}

void CPrintOptionsDlg::ZoneFieldDone(bool first) {
  QLineEdit* e = first ? first_ : last_;
  const int v = ZoneFieldValue(e->text().toStdString());
  if (first) options_.SetFirstZone(v);
  else options_.SetLastZone(v);
  ShowZones();
  UpdateState();
}

void CPrintOptionsDlg::UpdateState() {
  for (int i = 0; i < kCheckBoxCount; ++i) options_.Set(i, boxes_[static_cast<size_t>(i)]->isChecked());
  const bool zones = options_.On(kOptZones);
  first_->setEnabled(zones);
  last_->setEnabled(zones);
  const bool any = options_.AnyChecked();
  print_->setEnabled(any);
  preview_->setEnabled(any);
  pages_ = PageCount(data_, options_, PrinterLandscape(printer_));
  count_->setText(QStringLiteral("%1 %2").arg(QString::fromStdString(text_.Text(128))).arg(pages_));
}

void CPrintOptionsDlg::Preview() {
  if (!options_.AnyChecked() || !onPreview) return;
  // The dialog waits behind the preview and comes back when it closes.
  setEnabled(false);
  onPreview(options_);
  setEnabled(true);
  activateWindow();
  UpdateState();  // the preview may have changed the orientation
}

void CPrintOptionsDlg::Print() {
  if (!options_.AnyChecked() || !onPrint) return;
  if (onPrint(options_)) accept();
}

}  // namespace vb420::print
