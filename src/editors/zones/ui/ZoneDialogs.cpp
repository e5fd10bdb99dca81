// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/ZoneDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "lang/HelpContexts.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {

QString T(EditorContext& ctx, int entry) { return QString::fromStdString(ctx.ws.text.Text(entry)); }

QDialogButtonBox* Buttons(EditorContext& ctx, QDialog* dlg, QPushButton** okOut = nullptr) {
  auto* box = new QDialogButtonBox(dlg);
  QPushButton* ok = box->addButton(T(ctx, 13).isEmpty() ? QStringLiteral("OK") : T(ctx, 13), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  box->addButton(T(ctx, 14).isEmpty() ? QStringLiteral("Cancel") : T(ctx, 14), QDialogButtonBox::RejectRole);
  QObject::connect(box, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
  if (okOut) *okOut = ok;
  // Every dialog here has OK and Cancel from this box; F1 explains them all.
  InstallHelpKey(dlg, ctx.help, [] { return kHelpZoneDialogs; });
  return box;
}

// A number box 1..250 with a spin that wraps.
QWidget* NumberWithSpin(CFilterEdit*& edit, CSpinButtons*& spin, int value) {
  auto* w = new QWidget;
  auto* h = new QHBoxLayout(w);
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(1);
  edit = new CFilterEdit;
  edit->SetInputMode(kInputDigits);
  edit->setMaxLength(3);
  edit->setFixedWidth(50);
  edit->setText(QString::number(value));
  spin = new CSpinButtons;
  h->addWidget(edit);
  h->addWidget(spin);
  h->addStretch();
  CFilterEdit* e = edit;
  QObject::connect(spin, &CSpinButtons::Step, e, [e](int dir) {
    std::string t = e->text().toStdString();
    int v = t.empty() ? 1 : std::atoi(t.c_str());
    v = CFieldCodec::Spin(v, 250, 1, 1, dir);
    e->setText(QString::number(v));
  });
  return w;
}

}  // namespace

// ---- Channel Copy -------------------------------------------------------------

CChannelCopyDlg::CChannelCopyDlg(EditorContext& ctx, int zone, int source, bool group, QWidget* parent)
    : QDialog(parent), ctx_(ctx), zone_(zone), source_(source) {
  setWindowTitle(T(ctx, group ? 451 : 450));
  auto* form = new QFormLayout;
  form->addRow(T(ctx, group ? 391 : 376), new QLabel(QString::number(source + 1)));
  form->addRow(T(ctx, group ? 391 : 376) + QStringLiteral(" →"), NumberWithSpin(target_, spin_, source + 1));
  auto* v = new QVBoxLayout(this);
  v->addLayout(form);
  v->addWidget(Buttons(ctx, this));
  target_->selectAll();
}

void CChannelCopyDlg::accept() {
  std::string t = target_->text().toStdString();
  const int target = JumpTarget(t);
  if (target >= 0 && target != source_) {
    result_ = ChannelCopy(ZonesOf(ctx_).zones, zone_, source_, target);
    if (result_.message) {
      ctx_.msg.Warning(T(ctx_, result_.message), kMsgOk, MessageHelper::kNoticeCaption, this);
      return;  // the dialog stays for another number
    }
  }
  QDialog::accept();
}

// ---- CH/GID Jump ----------------------------------------------------------------

CJumpDlg::CJumpDlg(EditorContext& ctx, int current, bool group, QWidget* parent) : QDialog(parent) {
  setWindowTitle(T(ctx, group ? 460 : 459));
  auto* form = new QFormLayout;
  form->addRow(T(ctx, group ? 391 : 376), NumberWithSpin(number_, spin_, current + 1));
  auto* v = new QVBoxLayout(this);
  v->addLayout(form);
  v->addWidget(Buttons(ctx, this));
  number_->selectAll();
}

void CJumpDlg::accept() {
  std::string t = number_->text().toStdString();
  target_ = JumpTarget(t);
  QDialog::accept();
}

// ---- Frequency Copy ---------------------------------------------------------------

CFreqCopyDlg::CFreqCopyDlg(EditorContext& ctx, int zone, int channel, QWidget* parent)
    : QDialog(parent), ctx_(ctx), zone_(zone), channel_(channel) {
  setWindowTitle(T(ctx, 453));
  std::string rx;
  ZonesOf(ctx).conv.RecordFieldText(zone, channel, 3, rx);
  auto* form = new QFormLayout;
  form->addRow(T(ctx, 382), new QLabel(QStringLiteral(" ") + QString::fromStdString(rx)));
  freq_ = new CFilterEdit;
  freq_->SetInputMode(kInputDecimal);
  freq_->SetDecimalSeparator(ctx.ws.data.freq.DecimalSeparator());
  freq_->setMaxLength(9);
  form->addRow(T(ctx, 383), freq_);
  auto* v = new QVBoxLayout(this);
  v->addLayout(form);
  v->addWidget(Buttons(ctx, this));
}

void CFreqCopyDlg::accept() {
  const FieldResult r = ZonesOf(ctx_).conv.SetFrequency(zone_, channel_, 4, freq_->text().toStdString(), true);
  if (r.message) ctx_.msg.Warning(T(ctx_, r.message), kMsgOk, MessageHelper::kNoticeCaption, this);
  QDialog::accept();
}

// ---- QT/DQT Copy -------------------------------------------------------------------

CToneCopyDlg::CToneCopyDlg(EditorContext& ctx, int zone, int channel, QWidget* parent)
    : QDialog(parent), ctx_(ctx), zone_(zone), channel_(channel) {
  setWindowTitle(T(ctx, 456));
  std::string rx;
  ZonesOf(ctx).conv.RecordFieldText(zone, channel, 5, rx);
  auto* form = new QFormLayout;
  form->addRow(T(ctx, 385), new QLabel(QStringLiteral(" ") + QString::fromStdString(rx)));
  tone_ = new CToneCombo;
  tone_->Fill(ctx.ws.data.field, ctx.ws.text);
  tone_->setEditText(QString());
  form->addRow(T(ctx, 384), tone_);
  auto* v = new QVBoxLayout(this);
  v->addLayout(form);
  v->addWidget(Buttons(ctx, this, &ok_));
  tone_->installEventFilter(this);
  tone_->lineEdit()->installEventFilter(this);
  if (tone_->view()) tone_->view()->installEventFilter(this);
}

void CToneCopyDlg::Normalise() {
  const CFieldCodec& codec = ctx_.ws.data.field;
  const QString t = tone_->currentText();
  if (t.isEmpty()) return;
  const std::string shown = codec.ToneToText(codec.TextToTone(t.toStdString()));
  tone_->setEditText(QString::fromStdString(shown));
}

bool CToneCopyDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && (watched == tone_ || watched == tone_->lineEdit())) {
    QWidget* now = QApplication::focusWidget();
    if (!(now && (now == tone_ || tone_->isAncestorOf(now)))) Normalise();
  }
  if (event->type() == QEvent::KeyPress && tone_->view() && watched == tone_->view()) {
    auto* ke = static_cast<QKeyEvent*>(event);
    // Enter in the dropped list takes the row and moves on to OK.
    if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
      const QModelIndex i = tone_->view()->currentIndex();
      if (i.isValid()) tone_->setCurrentIndex(i.row());
      tone_->hidePopup();
      ok_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CToneCopyDlg::accept() {
  Normalise();
  ZonesOf(ctx_).conv.SetTone(zone_, channel_, 6, tone_->currentText().toStdString());
  QDialog::accept();
}

}  // namespace vb420
