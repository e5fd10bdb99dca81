#include "link/ui/RadioDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "link/Backups.h"
#include "link/RadioLink.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/ui/RadioCommands.h"

namespace vb420 {

namespace {

QString Tx(TextTable& text, int entry) { return QString::fromStdString(text.Text(entry)); }

// Lets the window repaint while a transfer holds the thread; the dialog is
// modal and ignores its own buttons and close requests meanwhile.
void PumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

}  // namespace

// ---- password dialog ---------------------------------------------------------

CPasswordDlg::CPasswordDlg(TextTable& text, int labelEntry, bool showMessage, const QString& line1,
                           const QString& line2, QWidget* parent)
    : QDialog(parent) {
  setObjectName("passwordDlg");
  setWindowTitle(Tx(text, 210));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(Tx(text, labelEntry ? labelEntry : 212), this);
  edit_ = new QLineEdit(this);
  edit_->setObjectName("password");
  edit_->setMaxLength(6);
  // Digits only; editing keys and shortcuts pass as usual.
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), edit_));
  edit_->setEchoMode(QLineEdit::Password);
  label->setBuddy(edit_);
  row->addWidget(label);
  row->addWidget(edit_, 1);
  layout->addLayout(row);

  group_ = new QGroupBox(Tx(text, 211), this);
  auto* g = new QVBoxLayout(group_);
  for (const QString& line : {line1, line2}) {
    auto* l = new QLineEdit(line, group_);
    l->setReadOnly(true);
    l->setFont(QFont("Monospace"));
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString(33, 'M')));
    g->addWidget(l);
  }
  layout->addWidget(group_);
  // For a write the message group is left out and the dialog is shorter.
  group_->setVisible(showMessage);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Tx(text, 13), QDialogButtonBox::AcceptRole);
  buttons->addButton(Tx(text, 14), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edit_->setFocus();
}

QString CPasswordDlg::Digits() const { return edit_->text(); }

// ---- the link's questions ------------------------------------------------------

bool UiLinkPrompter::AskRetryCancel(int textEntry) {
  QMessageBox box(owner_);
  box.setObjectName("retryCancel");
  box.setWindowTitle(msg_.T(msg::kRadioCaption));
  box.setText(msg_.T(textEntry));
  box.setIcon(QMessageBox::Critical);
  box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Retry);
  msg_.boxShown = true;
  const int r = msg_.Prompter().RunDialog(box);
  // A script may answer with the button or with the dialog's result.
  return r == QMessageBox::Retry || (r == QDialog::Accepted && box.clickedButton() == nullptr);
}

bool UiLinkPrompter::AskOkCancel(int textEntry) {
  return msg_.Warning(msg_.T(textEntry), kMsgOkCancel, msg::kWarningCaption, owner_) == kIdOk;
}

void UiLinkPrompter::ShowError(int textEntry) { msg_.Error(msg_.T(textEntry), kMsgOk, msg::kRadioCaption, owner_); }

void UiLinkPrompter::ShowPortBusy(const std::string& device) {
  msg_.Error(FillText(msg_.T(msg::kPortBusy), {QString::fromStdString(device)}), kMsgOk, msg::kRadioCaption, owner_);
}

void UiLinkPrompter::ShowPartlyWritten() {
  const std::string folder =
      RadioState().backupFolder.empty() ? DefaultBackupFolder() : RadioState().backupFolder;
  const QString text = msg_.T(msg::kPartlyWritten) + "\n\n" +
                       FillText(msg_.T(msg::kPartlyWrittenWhatNow), {QString::fromStdString(folder)});
  msg_.Error(text, kMsgOk, msg::kRadioCaption, owner_);
}

void UiLinkPrompter::ShowBackupFailed(int entry, const std::string& why) {
  const QString text = FillText(msg_.T(entry), {QString::fromStdString(why)});
  if (entry == msg::kRadioBackupFailed) msg_.Error(text, kMsgOk, msg::kRadioCaption, owner_);
  else msg_.Warning(text, kMsgOk, msg::kWarningCaption, owner_);
}

void UiLinkPrompter::ShowVerifyFailed(const std::string& ranges) {
  msg_.Error(FillText(msg_.T(msg::kVerifyFailed), {QString::fromStdString(ranges)}), kMsgOk, msg::kRadioCaption,
             owner_);
}

void UiLinkPrompter::ShowInformation(int textEntry) { msg_.Plain(textEntry, -1, kMsgOk, owner_); }

bool UiLinkPrompter::AskPassword(int labelEntry, const std::string& line1, const std::string& line2,
                                 std::string& digits) {
  const bool read = labelEntry == msg::kReadPasswordLabel;
  CPasswordDlg dlg(msg_.Text(), labelEntry, read, QString::fromLatin1(line1.c_str()),
                   QString::fromLatin1(line2.c_str()), owner_);
  if (msg_.Prompter().RunDialog(dlg) != QDialog::Accepted) return false;
  digits = dlg.Digits().toStdString();
  return true;
}

bool UiLinkPrompter::ConfirmPasswordWrite(bool readPassword, bool overwritePassword) {
  const QString text = QString::fromStdString(PasswordWarningText(msg_.Text(), readPassword, overwritePassword));
  return msg_.Warning(text, kMsgOkCancel, msg::kWarningCaption, owner_) == kIdOk;
}

// ---- transfers ----------------------------------------------------------------------

CTransferDlg::CTransferDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, int idleCaption,
                           int busyCaption, int goEntry, int helpContext, QWidget* parent)
    : QDialog(parent),
      ws_(ws),
      msg_(msg),
      help_(help),
      link_(link),
      idleCaption_(idleCaption),
      busyCaption_(busyCaption),
      helpContext_(helpContext) {
  setWindowTitle(msg_.T(idleCaption_));
  auto* layout = new QVBoxLayout(this);
  progressText_ = new QLabel(this);
  progressText_->setObjectName("progressText");
  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setRange(0, kTransferSteps);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(360);
  layout->addWidget(progressText_);
  layout->addWidget(bar_);
  extraRow_ = new QWidget(this);
  extraRow_->hide();
  layout->addWidget(extraRow_);

  auto* buttons = new QHBoxLayout;
  go_ = new QPushButton(msg_.T(goEntry), this);
  go_->setObjectName("go");
  cancel_ = new QPushButton(msg_.T(14), this);
  cancel_->setObjectName("cancel");
  helpButton_ = new QPushButton(msg_.T(16), this);
  helpButton_->setObjectName("help");
  buttons->addStretch(1);
  for (QPushButton* b : {go_, cancel_, helpButton_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  go_->setDefault(true);
  layout->addLayout(buttons);
  ShowProgress(0, kTransferSteps);

  connect(go_, &QPushButton::clicked, this, [this] { StartTransfer(); });
  connect(cancel_, &QPushButton::clicked, this, &CTransferDlg::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] {
    if (help_) help_->Show(this, helpContext_);
  });
}

Prompter& CTransferDlg::LinkPrompter() {
  if (prompter_) return *prompter_;
  if (!ownPrompter_) ownPrompter_ = std::make_unique<UiLinkPrompter>(msg_, this);
  return *ownPrompter_;
}

void CTransferDlg::ShowProgress(int done, int total) {
  bar_->setMaximum(total);
  bar_->setValue(done);
  progressText_->setText(QStringLiteral("%1 %2 / %3").arg(msg_.T(209)).arg(done).arg(total));
}

void CTransferDlg::SetBusy(bool busy) {
  running_ = busy;
  for (QPushButton* b : {go_, cancel_, helpButton_}) b->setEnabled(!busy);
  setWindowTitle(msg_.T(busy ? busyCaption_ : idleCaption_));
}

TransferResult CTransferDlg::StartTransfer() {
  if (running_) return TransferResult::kFailed;
  SetBusy(true);
  SessionCallbacks cb;
  cb.pump = PumpEvents;
  cb.progress = [this](int done, int total) { ShowProgress(done, total); };
  const TransferResult result = RunSession(LinkPrompter(), cb);
  lastResult_ = result;
  // The data moved but the radio was not left properly: say so rather than
  // closing without a word.
  if (const int entry = MessageAfter(result)) LinkPrompter().ShowError(entry);
  SetBusy(false);
  if (result == TransferResult::kOk) {
    LinkPrompter().ShowInformation(SuccessEntry());
    accept();
  } else {
    QDialog::reject();
  }
  return result;
}

void CTransferDlg::reject() {
  if (!running_) QDialog::reject();
}

void CTransferDlg::closeEvent(QCloseEvent* event) {
  if (running_) event->ignore();
  else QDialog::closeEvent(event);
}

void CTransferDlg::keyPressEvent(QKeyEvent* event) {
  if (running_ && event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

CReadDlg::CReadDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, QWidget* parent)
    : CTransferDlg(ws, msg, help, link, 206, 207, 17, kHelpRead, parent) {
  setObjectName("readDlg");
  link_.SetBlockSize(kBlockSize);
}

TransferResult CReadDlg::RunSession(Prompter& prompter, const SessionCallbacks& cb) {
  ReadSession session(link_, ws_.data.buffers, prompter, cb);
  return session.Run();
}

CWriteDlg::CWriteDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, bool adjustTime,
                     QWidget* parent, bool readFirst, bool verify, std::string backupFolder)
    : CTransferDlg(ws, msg, help, link, 217, 218, 18, kHelpWrite, parent),
      secondGen_(ws.data.model.IsSecondGen()),
      remembered_(adjustTime),
      backupFolder_(std::move(backupFolder)) {
  setObjectName("writeDlg");
  link_.SetBlockSize(kBlockSize);
  auto* rows = new QVBoxLayout(ExtraRow());
  rows->setContentsMargins(0, 0, 0, 0);
  adjustTime_ = new QCheckBox(msg_.T(220), ExtraRow());
  adjustTime_->setObjectName("adjustTime");
  verify_ = new QCheckBox(msg_.T(msg::kVerifyBox), ExtraRow());
  verify_->setObjectName("verify");
  verify_->setChecked(verify);
  readFirst_ = new QCheckBox(msg_.T(msg::kReadFirstBox), ExtraRow());
  readFirst_->setObjectName("readFirst");
  readFirst_->setChecked(readFirst);
  for (QCheckBox* b : {adjustTime_, verify_, readFirst_}) rows->addWidget(b);
  ExtraRow()->show();
  // Second-generation radios keep their own clock.
  adjustTime_->setChecked(adjustTime && !secondGen_);
  adjustTime_->setEnabled(!secondGen_);
}

bool CWriteDlg::AdjustTimeChoice() const { return secondGen_ ? remembered_ : adjustTime_->isChecked(); }

void CWriteDlg::SetBusy(bool busy) {
  CTransferDlg::SetBusy(busy);
  adjustTime_->setEnabled(!busy && !secondGen_);
  verify_->setEnabled(!busy);
  readFirst_->setEnabled(!busy);
}

int CWriteDlg::SuccessEntry() const {
  return lastVerify_ == VerifyOutcome::kVerified ? msg::kWrittenAndVerified : 219;
}

TransferResult CWriteDlg::RunSession(Prompter& prompter, const SessionCallbacks& cb) {
  WriteSession session(link_, ws_.data, prompter, cb);
  session.SetAdjustTime(adjustTime_->isChecked());
  session.SetVerify(verify_->isChecked());
  session.SetReadFirst(readFirst_->isChecked());
  session.SetBackupFolder(backupFolder_);
  const TransferResult result = session.Run();
  lastVerify_ = session.Verified();
  return result;
}

// ---- warnings before a write ---------------------------------------------------------

CWriteWarningDlg::CWriteWarningDlg(TextTable& text, bool first, bool second, QWidget* parent) : QDialog(parent) {
  setObjectName("writeWarningDlg");
  setWindowTitle(Tx(text, 267));
  auto* layout = new QVBoxLayout(this);
  const auto add = [&](int entry, const char* name) {
    auto* group = new QGroupBox(this);
    auto* g = new QVBoxLayout(group);
    auto* label = new QLabel(Tx(text, entry), group);
    label->setWordWrap(true);
    auto* box = new QCheckBox(Tx(text, 326), group);
    box->setObjectName(name);
    g->addWidget(label);
    g->addWidget(box);
    layout->addWidget(group);
    return box;
  };
  if (first) box1_ = add(325, "dontShow1");
  if (second) box2_ = add(335, "dontShow2");
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Tx(text, 40), QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

// ---- Radio Information -------------------------------------------------------------------

CRadioInfoDlg::CRadioInfoDlg(TextTable& text, HelpSystem* help, const RadioInfo& info, QWidget* parent)
    : QDialog(parent) {
  setObjectName("radioInfoDlg");
  setWindowTitle(Tx(text, 235));
  const RadioInfoLines l = FormatRadioInfo(info);
  const std::array<std::pair<int, const std::string*>, 6> rows = {{{198, &l.modelType},
                                                                   {199, &l.frequency},
                                                                   {236, &l.serialNumber},
                                                                   {238, &l.version},
                                                                   {237, &l.checksum},
                                                                   {1244, &l.passport}}};
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  for (size_t i = 0; i < rows.size(); ++i) {
    auto* e = new QLineEdit(QString::fromLatin1(rows[i].second->c_str()), this);
    e->setReadOnly(true);
    e->setMinimumWidth(260);
    e->setObjectName(QStringLiteral("line%1").arg(i));
    form->addRow(Tx(text, rows[i].first), e);
    lines_[i] = e;
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(Tx(text, 15), QDialogButtonBox::RejectRole);
  close->setObjectName("close");
  QPushButton* helpButton = buttons->addButton(Tx(text, 16), QDialogButtonBox::HelpRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this, help] {
    if (help) help->Show(this, kHelpRadioInfo);
  });
  layout->addWidget(buttons);
}

QString CRadioInfoDlg::Line(int i) const { return i >= 0 && i < 6 ? lines_[static_cast<size_t>(i)]->text() : QString(); }

// ---- Communication Port ---------------------------------------------------------------------

CCommPortDlg::CCommPortDlg(TextTable& text, HelpSystem* help, int current, std::function<std::string(int)> deviceOf,
                           QWidget* parent)
    : QDialog(parent), current_(current), deviceOf_(std::move(deviceOf)) {
  setObjectName("commPortDlg");
  setWindowTitle(Tx(text, 231));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(Tx(text, 232), this);
  auto* grid = new QGridLayout(group);
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    auto* b = new QRadioButton(QStringLiteral("COM%1").arg(n), group);
    b->setObjectName(QStringLiteral("COM%1").arg(n));
    b->setEnabled(false);
    grid->addWidget(b, (n - 1) % 10, (n - 1) / 10);
    buttons_[static_cast<size_t>(n - 1)] = b;
  }
  layout->addWidget(group);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Tx(text, 13), QDialogButtonBox::AcceptRole);
  buttons->addButton(Tx(text, 14), QDialogButtonBox::RejectRole);
  QPushButton* helpButton = buttons->addButton(Tx(text, 16), QDialogButtonBox::HelpRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this, help] {
    if (help) help->Show(this, kHelpCommPort);
  });
  layout->addWidget(buttons);
}

void CCommPortDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The probe takes a moment per port: let the dialog paint first.
  if (!probed_ && !probeQueued_) {
    probeQueued_ = true;
    QTimer::singleShot(0, this, [this] { Probe(); });
  }
}

void CCommPortDlg::Probe() {
  if (probed_) return;
  probed_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    SerialPort port;
    port.SetDevicePath(deviceOf_(n));
    SerialPort::Wait(50);
    const bool usable = port.SetOpenState(1) && port.IsRs232Port() == 1;
    port.SetOpenState(0);
    QRadioButton* b = Button(n);
    b->setEnabled(usable);
    if (usable && n == current_) b->setChecked(true);
  }
  QApplication::restoreOverrideCursor();
}

int CCommPortDlg::Chosen() const {
  for (int n = 1; n <= kMaxPortNumber; ++n)
    if (Button(n)->isChecked() && Button(n)->isEnabled()) return n;
  return current_;
}

}  // namespace vb420
