// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs of the radio link: Read, Write (with its warnings), the radio
// password, Radio Information and Communication Port, and the Prompter that
// asks the user through message boxes.
#pragma once

#include "frame/ui/Workspace.h"

#include <atomic>
#include <map>
#include <thread>
#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "link/Prompter.h"
#include "link/RadioInfoSession.h"
#include "link/Session.h"
#include "link/WriteSession.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QComboBox;
class QGroupBox;

namespace vb420 {

class HelpSystem;
class MessageHelper;
class RadioLink;

// Help contexts of the radio dialogs.
constexpr int kHelpRead = 0x41000;
constexpr int kHelpWrite = 0x42000;
constexpr int kHelpRadioInfo = 0x51000;
constexpr int kHelpCommPort = 0x61000;

// The radio password: digits only, at most six. For a read it also shows the
// two lines of the radio's embedded message.
class CPasswordDlg : public QDialog {
  Q_OBJECT
 public:
  // `labelEntry` 695 (read) or 696 (write); 0 gives the general label 212.
  CPasswordDlg(TextTable& text, int labelEntry, bool showMessage, const QString& line1, const QString& line2,
               QWidget* parent = nullptr);
  QString Digits() const;
  QLineEdit* Edit() const { return edit_; }
  QGroupBox* MessageGroup() const { return group_; }

 private:
  QLineEdit* edit_;
  QGroupBox* group_;
};

// The link's questions as message boxes with the radio captions; the
// Retry/Cancel boxes and the password dialog run through the message helper's
// prompter so that the program's own test scripts can answer them.
class UiLinkPrompter : public Prompter {
 public:
  UiLinkPrompter(MessageHelper& msg, QWidget* owner) : msg_(msg), owner_(owner) {}
  bool AskRetryCancel(int textEntry) override;
  bool AskOkCancel(int textEntry) override;
  void ShowError(int textEntry) override;
  void ShowPortBusy(const std::string& device) override;
  void ShowPortOpenFailure(const std::string& device, int error) override;
  void ShowWriteModelMismatch(const ModelBytes& radio, const ModelBytes& data) override;
  bool ConfirmModelDiffers(const ModelBytes& radio, const ModelBytes& data) override;
  void ShowPartlyWritten() override;
  void ShowBackupFailed(int entry, const std::string& why) override;
  void ShowVerifyFailed(const std::string& ranges) override;
  void ShowInformation(int textEntry) override;
  void ShowNotice(int textEntry, int captionEntry) override;
  bool AskPassword(int labelEntry, const std::string& line1, const std::string& line2, std::string& digits) override;
  bool ConfirmPasswordWrite(bool readPassword, bool overwritePassword) override;

 private:
  // "Connected radio: ..." and "Current data: ..." on two lines.
  QString BothModels(const ModelBytes& radio, const ModelBytes& data);

  MessageHelper& msg_;
  QWidget* owner_;
};

// What Read and Write share: the progress bar and its text, the three
// buttons, and a window that cannot be closed while a transfer runs.
class CTransferDlg : public QDialog {
  Q_OBJECT
 public:
  CTransferDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, int idleCaption,
               int busyCaption, int goEntry, int helpContext, QWidget* parent);

  // Answers the link's questions (the default asks the user).
  void SetPrompter(Prompter* prompter) { prompter_ = prompter; }
  // Runs the transfer as the go button does.
  TransferResult StartTransfer();
  // For a command whose only purpose is the transfer (Compare with Radio):
  // it starts as soon as the dialog is shown, without the go button, and a
  // success needs no message of its own, since what follows shows it.
  void SetStartWhenShown(bool on) { startWhenShown_ = on; }
  void SetQuietSuccess(bool on) { quietSuccess_ = on; }
  bool Running() const { return running_; }
  // The result of the last transfer; kFailed before the first.
  TransferResult LastResult() const { return lastResult_; }

  QProgressBar* Bar() const { return bar_; }
  QLabel* ProgressText() const { return progressText_; }
  QPushButton* GoButton() const { return go_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return helpButton_; }

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // The session itself.
  virtual TransferResult RunSession(Prompter& prompter, const SessionCallbacks& cb) = 0;
  virtual int SuccessEntry() const = 0;
  virtual void SetBusy(bool busy);
  // Whether Cancel may stop the transfer between two blocks.
  virtual bool CanCancelWhileRunning() const { return false; }
  void RequestCancel();
  Prompter& LinkPrompter();
  QWidget* ExtraRow() const { return extraRow_; }

  Workspace& ws_;
  MessageHelper& msg_;
  HelpSystem* help_;
  RadioLink& link_;

 private:
  void ShowProgress(int done, int total);

  int idleCaption_;
  int busyCaption_;
  int helpContext_;
  QProgressBar* bar_;
  QLabel* progressText_;
  QPushButton* go_;
  QPushButton* cancel_;
  QPushButton* helpButton_;
  QWidget* extraRow_;
  Prompter* prompter_ = nullptr;
  std::unique_ptr<UiLinkPrompter> ownPrompter_;
  bool running_ = false;
  bool startWhenShown_ = false;
  bool quietSuccess_ = false;
  bool started_ = false;
  bool cancelRequested_ = false;
  TransferResult lastResult_ = TransferResult::kFailed;
};

// Read Data from Radio: fills the scratch copy. Accepted only after a
// successful read; the caller then makes the scratch copy the programming.
class CReadDlg : public CTransferDlg {
  Q_OBJECT
 public:
  CReadDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, QWidget* parent = nullptr);

 protected:
  TransferResult RunSession(Prompter& prompter, const SessionCallbacks& cb) override;
  int SuccessEntry() const override { return 208; }
  bool CanCancelWhileRunning() const override { return true; }
};

// Write Data to Radio, with the "Adjust Time" box and the two safety boxes:
// read the radio's own programming first and keep it (off by default: it
// doubles the time, as the box says), and read back and verify (on by
// default). What is written is always kept in `backupFolder`.
class CWriteDlg : public CTransferDlg {
  Q_OBJECT
 public:
  CWriteDlg(Workspace& ws, MessageHelper& msg, HelpSystem* help, RadioLink& link, bool adjustTime,
            QWidget* parent = nullptr, bool readFirst = false, bool verify = true, std::string backupFolder = {});
  QCheckBox* AdjustTimeBox() const { return adjustTime_; }
  QCheckBox* ReadFirstBox() const { return readFirst_; }
  QCheckBox* VerifyBox() const { return verify_; }
  // The box's state to remember (second-generation models leave it as it was).
  bool AdjustTimeChoice() const;
  // How the last write's read-back went.
  VerifyOutcome LastVerify() const { return lastVerify_; }

 protected:
  TransferResult RunSession(Prompter& prompter, const SessionCallbacks& cb) override;
  int SuccessEntry() const override;
  void SetBusy(bool busy) override;

 private:
  QCheckBox* adjustTime_;
  QCheckBox* readFirst_;
  QCheckBox* verify_;
  QLabel* noStop_ = nullptr;
  bool secondGen_;
  bool remembered_;
  std::string backupFolder_;
  VerifyOutcome lastVerify_ = VerifyOutcome::kNotRun;
};

// The warnings before writing to a mobile, each with its "do not show
// again" box.
class CWriteWarningDlg : public QDialog {
  Q_OBJECT
 public:
  CWriteWarningDlg(TextTable& text, bool first, bool second, QWidget* parent = nullptr);
  QCheckBox* FirstBox() const { return box1_; }
  QCheckBox* SecondBox() const { return box2_; }

 private:
  QCheckBox* box1_ = nullptr;
  QCheckBox* box2_ = nullptr;
};

// Radio Information: the six lines read from the radio.
class CRadioInfoDlg : public QDialog {
  Q_OBJECT
 public:
  CRadioInfoDlg(TextTable& text, HelpSystem* help, const RadioInfo& info, QWidget* parent = nullptr);
  // The shown text of line 0..5 (Model Type ... PassPort Version).
  QString Line(int i) const;

 private:
  std::array<QLineEdit*, 6> lines_{};
};

// Communication Port: COM1 to COM20, only the ports that open as serial
// lines enabled.
class CCommPortDlg : public QDialog {
  Q_OBJECT
 public:
  // `deviceOf` answers the device path of a port number.
  CCommPortDlg(TextTable& text, HelpSystem* help, int current, std::function<std::string(int)> deviceOf,
               QWidget* parent = nullptr);
  ~CCommPortDlg() override;
  // Starts the probe of the ports (done once, right after the first
  // painting). It runs beside the window, which stays usable: a device that
  // does not exist is passed over at once, one that exists is opened and
  // asked whether it is a serial line.
  void Probe();
  // The probe has answered for every port.
  bool Probed() const { return probed_; }
  // The chosen port on OK: the selected button, or the current port when
  // none is selected.
  int Chosen() const;
  // Ports whose device the user changed, with the new device path.
  const std::map<int, std::string>& ChangedDevices() const { return changed_; }
  QRadioButton* Button(int port) const { return buttons_[static_cast<size_t>(port - 1)]; }
  QLabel* DeviceLabel(int port) const { return labels_[static_cast<size_t>(port - 1)]; }
  QComboBox* DeviceBox() const { return deviceBox_; }
  QComboBox* PortBox() const { return portBox_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ProbeAnswered(int port, bool usable);
  void ShowDeviceOf(int port);
  void DeviceEdited();
  std::string DeviceOf(int port) const;

  TextTable& text_;
  int current_;
  std::function<std::string(int)> deviceOf_;
  std::array<QRadioButton*, 20> buttons_{};
  std::array<QLabel*, 20> labels_{};
  QComboBox* deviceBox_ = nullptr;
  QComboBox* portBox_ = nullptr;
  QLabel* deviceCaption_ = nullptr;
  std::map<int, std::string> changed_;
  int answered_ = 0;
  bool probed_ = false;
  bool probeQueued_ = false;
  bool probeStarted_ = false;
  bool showingDevice_ = false;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::thread worker_;
};

}  // namespace vb420
