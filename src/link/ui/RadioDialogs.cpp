// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/RadioDialogs.h"

#include <QComboBox>
#include <QPointer>
#include <filesystem>
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
#include "data/MemoryBuffers.h"
#include "data/ModelRecord.h"
#include "link/Backups.h"
#include "link/RadioLink.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/ui/RadioCommands.h"
#include "link/SerialDevices.h"

namespace vb420 {

namespace {

QString Tx(TextTable& text, int entry) { return QString::fromStdString(text.Text(entry)); }

constexpr int kRadioModelEntry = 202;  // "Connected radio: %s"
constexpr int kDataModelEntry = 203;   // "Current data: %s"
constexpr int kWriteNoStopEntry = 363; // why a write cannot be stopped midway

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
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(kRadioPasswordPattern), edit_));
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

void UiLinkPrompter::ShowPortOpenFailure(const std::string& device, int error) {
  msg_.Error(QString::fromStdString(PortOpenFailureText(msg_.Text(), device, error)), kMsgOk, msg::kRadioCaption,
             owner_);
}

namespace {

QString DescribeModel(TextTable& text, const ModelBytes& bytes) {
  MemoryBuffers scratch;  // the record reads its bytes from an image
  ModelRecord rec(scratch);
  rec.SetBytes(bytes);
  if (rec.IsKnownModel()) return QString::fromStdString(rec.Description(text));
  // A model this program does not know: its identification as sent.
  QString raw;
  for (uint8_t b : bytes) raw += b >= 0x20 && b < 0x7F ? QChar(b) : QChar(u'.');
  return raw;
}

}  // namespace

QString UiLinkPrompter::BothModels(const ModelBytes& radio, const ModelBytes& data) {
  return FillText(msg_.T(kRadioModelEntry), {DescribeModel(msg_.Text(), radio)}) + "\n" +
         FillText(msg_.T(kDataModelEntry), {DescribeModel(msg_.Text(), data)});
}

bool UiLinkPrompter::ConfirmModelDiffers(const ModelBytes& radio, const ModelBytes& data) {
  const QString text = msg_.T(msg::kModelDiffers) + "\n\n" + BothModels(radio, data);
  return msg_.Warning(text, kMsgOkCancel, msg::kWarningCaption, owner_) == kIdOk;
}

void UiLinkPrompter::ShowWriteModelMismatch(const ModelBytes& radio, const ModelBytes& data) {
  const QString text = msg_.T(msg::kModelNotSupported) + "\n\n" + BothModels(radio, data);
  msg_.Error(text, kMsgOk, msg::kRadioCaption, owner_);
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
void UiLinkPrompter::ShowNotice(int textEntry, int captionEntry) { msg_.Plain(textEntry, captionEntry, kMsgOk, owner_); }

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
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (running_) RequestCancel();
    else reject();
  });
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
  for (QPushButton* b : {go_, helpButton_}) b->setEnabled(!busy);
  // A read can stop between two blocks; a write cannot (see CWriteDlg).
  cancel_->setEnabled(!busy || CanCancelWhileRunning());
  setWindowTitle(msg_.T(busy ? busyCaption_ : idleCaption_));
}

void CTransferDlg::RequestCancel() {
  if (!running_ || !CanCancelWhileRunning()) return;
  cancelRequested_ = true;
  cancel_->setEnabled(false);  // once is enough; the read stops at the next block
}

TransferResult CTransferDlg::StartTransfer() {
  if (running_) return TransferResult::kFailed;
  SetBusy(true);
  SessionCallbacks cb;
  cb.pump = PumpEvents;
  cb.progress = [this](int done, int total) { ShowProgress(done, total); };
  cancelRequested_ = false;
  if (CanCancelWhileRunning()) cb.cancelled = [this] { return cancelRequested_; };
  const TransferResult result = RunSession(LinkPrompter(), cb);
  lastResult_ = result;
  // The data moved but the radio was not left properly: say so rather than
  // closing without a word.
  if (const int entry = MessageAfter(result)) LinkPrompter().ShowError(entry);
  SetBusy(false);
  if (result == TransferResult::kOk) {
    if (!quietSuccess_) LinkPrompter().ShowInformation(SuccessEntry());
    accept();
  } else {
    QDialog::reject();
  }
  return result;
}

void CTransferDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once the dialog is on the screen, so that its progress is seen.
  if (startWhenShown_ && !started_) {
    started_ = true;
    QTimer::singleShot(0, this, [this] { StartTransfer(); });
  }
}

void CTransferDlg::reject() {
  if (!running_) QDialog::reject();
  else RequestCancel();
}

void CTransferDlg::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    RequestCancel();
  } else {
    QDialog::closeEvent(event);
  }
}

void CTransferDlg::keyPressEvent(QKeyEvent* event) {
  if (running_ && event->key() == Qt::Key_Escape) {
    event->accept();
    RequestCancel();
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
  // Why Cancel is grey while the radio is written.
  noStop_ = new QLabel(msg_.T(kWriteNoStopEntry), this);
  noStop_->setObjectName("noStopNote");
  noStop_->setWordWrap(true);
  noStop_->hide();
  static_cast<QVBoxLayout*>(layout())->insertWidget(layout()->count() - 1, noStop_);
}

bool CWriteDlg::AdjustTimeChoice() const { return secondGen_ ? remembered_ : adjustTime_->isChecked(); }

void CWriteDlg::SetBusy(bool busy) {
  CTransferDlg::SetBusy(busy);
  adjustTime_->setEnabled(!busy && !secondGen_);
  verify_->setEnabled(!busy);
  readFirst_->setEnabled(!busy);
  noStop_->setVisible(busy);
  CancelButton()->setToolTip(busy ? msg_.T(kWriteNoStopEntry) : QString());
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

namespace {
constexpr int kPortDeviceEntry = 368;   // "Device"
constexpr int kPortAbsentEntry = 369;   // "(not connected)"
constexpr int kPortDeviceOfEntry = 374; // "Device of port:"
constexpr int kPortTypePathEntry = 1296; // the device box's hint: a path may be typed
}  // namespace

CCommPortDlg::CCommPortDlg(TextTable& text, HelpSystem* help, int current, std::function<std::string(int)> deviceOf,
                           QWidget* parent)
    : QDialog(parent), text_(text), current_(current), deviceOf_(std::move(deviceOf)),
      stop_(std::make_shared<std::atomic<bool>>(false)) {
  setObjectName("commPortDlg");
  setWindowTitle(Tx(text, 231));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(Tx(text, 232), this);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(12);
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    auto* b = new QRadioButton(QStringLiteral("COM%1").arg(n), group);
    b->setObjectName(QStringLiteral("COM%1").arg(n));
    b->setEnabled(false);
    // Each port says which device it stands for.
    auto* l = new QLabel(group);
    l->setObjectName(QStringLiteral("device%1").arg(n));
    l->setEnabled(false);
    const int row = (n - 1) % 10;
    const int col = (n - 1) / 10 * 2;
    grid->addWidget(b, row, col);
    grid->addWidget(l, row, col + 1);
    buttons_[static_cast<size_t>(n - 1)] = b;
    labels_[static_cast<size_t>(n - 1)] = l;
    connect(b, &QRadioButton::toggled, this, [this, n](bool on) {
      if (on) ShowDeviceOf(n);
    });
  }
  layout->addWidget(group);

  // The device of a port: one of the serial devices found, with its USB
  // description, or a path typed in (a /dev/serial/by-id name keeps a USB
  // adapter on the same COM number whatever ttyUSB it gets). Any port can
  // be given a device, also one that leads nowhere now.
  auto* deviceRow = new QHBoxLayout;
  deviceCaption_ = new QLabel(Tx(text, kPortDeviceOfEntry), this);
  portBox_ = new QComboBox(this);
  portBox_->setObjectName("portBox");
  for (int n = 1; n <= kMaxPortNumber; ++n) portBox_->addItem(QStringLiteral("COM%1").arg(n), n);
  deviceCaption_->setBuddy(portBox_);
  deviceBox_ = new QComboBox(this);
  deviceBox_->setObjectName("deviceBox");
  deviceBox_->setEditable(true);
  deviceBox_->setInsertPolicy(QComboBox::NoInsert);
  deviceBox_->setMinimumContentsLength(40);
  deviceBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  deviceBox_->setAccessibleName(Tx(text, kPortDeviceEntry));
  // The list holds the devices found; that any path may be typed is said
  // where it is typed (shown while the box is empty) and in its tip.
  deviceBox_->lineEdit()->setPlaceholderText(Tx(text, kPortTypePathEntry));
  deviceBox_->setToolTip(Tx(text, kPortTypePathEntry));
  for (const SerialDeviceInfo& d : ListSerialDevices()) {
    const std::string path = d.stablePath.empty() ? d.path : d.stablePath;
    deviceBox_->addItem(QString::fromStdString(SerialDeviceLabel(d)), QString::fromStdString(path));
  }
  auto* deviceLabel = new QLabel(Tx(text, kPortDeviceEntry), this);
  deviceLabel->setBuddy(deviceBox_);
  deviceRow->addWidget(deviceCaption_);
  deviceRow->addWidget(portBox_);
  deviceRow->addWidget(deviceLabel);
  deviceRow->addWidget(deviceBox_, 1);
  layout->addLayout(deviceRow);
  connect(portBox_, QOverload<int>::of(&QComboBox::activated), this, [this](int row) { ShowDeviceOf(row + 1); });
  connect(deviceBox_, QOverload<int>::of(&QComboBox::activated), this, [this](int) { DeviceEdited(); });
  connect(deviceBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] { DeviceEdited(); });

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

  for (int n = 1; n <= kMaxPortNumber; ++n) {
    const std::string dev = DeviceOf(n);
    SerialDeviceInfo info;
    const bool present = DescribeSerialDevice(dev, info);
    QLabel* l = DeviceLabel(n);
    const QString name = QString::fromStdString(std::filesystem::path(dev).filename().string());
    l->setText(present ? name : QStringLiteral("%1 %2").arg(name, Tx(text, kPortAbsentEntry)));
    const QString tip = QString::fromStdString(present ? SerialDeviceLabel(info) + "\n" + dev : dev);
    l->setToolTip(tip);
    Button(n)->setToolTip(tip);
    Button(n)->setAccessibleDescription(tip);
  }
  ShowDeviceOf(current_);
}

CCommPortDlg::~CCommPortDlg() {
  stop_->store(true);
  if (worker_.joinable()) worker_.join();
}

std::string CCommPortDlg::DeviceOf(int port) const {
  if (auto it = changed_.find(port); it != changed_.end()) return it->second;
  return deviceOf_ ? deviceOf_(port) : std::string();
}

void CCommPortDlg::ShowDeviceOf(int port) {
  if (port < 1 || port > kMaxPortNumber) return;
  showingDevice_ = true;
  portBox_->setCurrentIndex(port - 1);
  const QString dev = QString::fromStdString(DeviceOf(port));
  const int row = deviceBox_->findData(dev);
  if (row >= 0) deviceBox_->setCurrentIndex(row);
  else deviceBox_->setEditText(dev);
  showingDevice_ = false;
}

void CCommPortDlg::DeviceEdited() {
  if (showingDevice_) return;
  const int port = portBox_->currentIndex() + 1;
  const int row = deviceBox_->currentIndex();
  QString dev = row >= 0 && deviceBox_->currentText() == deviceBox_->itemText(row)
                    ? deviceBox_->itemData(row).toString()
                    : deviceBox_->currentText().trimmed();
  if (dev.isEmpty() || dev.toStdString() == DeviceOf(port)) return;
  changed_[port] = dev.toStdString();
  SerialDeviceInfo info;
  const bool present = DescribeSerialDevice(dev.toStdString(), info);
  DeviceLabel(port)->setText(QString::fromStdString(std::filesystem::path(dev.toStdString()).filename().string()));
  DeviceLabel(port)->setToolTip(present ? QString::fromStdString(SerialDeviceLabel(info)) + "\n" + dev : dev);
  // The new device is tried as the probe tries the others.
  SerialPort probe;
  probe.SetDevicePath(dev.toStdString());
  const bool usable = present && probe.SetOpenState(1) && probe.IsRs232Port() == 1;
  probe.SetOpenState(0);
  Button(port)->setEnabled(usable);
  DeviceLabel(port)->setEnabled(usable);
  if (usable) Button(port)->setChecked(true);
}

void CCommPortDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Let the dialog paint first.
  if (!probeStarted_ && !probeQueued_) {
    probeQueued_ = true;
    QTimer::singleShot(0, this, [this] { Probe(); });
  }
}

void CCommPortDlg::Probe() {
  if (probeStarted_) return;
  probeStarted_ = true;
  setCursor(Qt::BusyCursor);
  std::vector<std::string> devices;
  for (int n = 1; n <= kMaxPortNumber; ++n) devices.push_back(DeviceOf(n));
  QPointer<CCommPortDlg> self(this);
  auto stop = stop_;
  // Each answer comes back to the window through its event queue; a window
  // closed meanwhile drops them (and its destructor waits for the thread).
  worker_ = std::thread([self, stop, devices] {
    for (int n = 1; n <= kMaxPortNumber && !stop->load(); ++n) {
      const std::string& dev = devices[static_cast<size_t>(n - 1)];
      bool usable = false;
      if (SerialDeviceExists(dev)) {
        SerialPort port;
        port.SetDevicePath(dev);
        SerialPort::Wait(50);  // some adapters need a moment between two openings
        usable = port.SetOpenState(1) && port.IsRs232Port() == 1;
        port.SetOpenState(0);
      }
      if (stop->load()) return;
      QMetaObject::invokeMethod(self.data(), [self, n, usable] {
        if (self) self->ProbeAnswered(n, usable);
      }, Qt::QueuedConnection);
    }
  });
}

void CCommPortDlg::ProbeAnswered(int port, bool usable) {
  if (changed_.count(port) == 0) {
    Button(port)->setEnabled(usable);
    DeviceLabel(port)->setEnabled(usable);
    if (usable && port == current_) Button(port)->setChecked(true);
  }
  if (++answered_ == kMaxPortNumber) {
    probed_ = true;
    unsetCursor();
  }
}

int CCommPortDlg::Chosen() const {
  for (int n = 1; n <= kMaxPortNumber; ++n)
    if (Button(n)->isChecked() && Button(n)->isEnabled()) return n;
  return current_;
}

}  // namespace vb420
