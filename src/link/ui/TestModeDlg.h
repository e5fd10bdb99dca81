// SPDX-License-Identifier: GPL-3.0-or-later
// The Test Mode dialog (Program > Test Mode) and its adjustment panel. Both
// only show the session's state and call its controls: every exchange with
// the radio is in link/TestMode.
#pragma once

#include <QDialog>
#include <QSpinBox>

#include "link/TestMode.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabBar;
class QTimer;

namespace vb420 {

struct EditorContext;
class HelpSystem;
class MessageHelper;
class Prompter;
class TextTable;

constexpr int kHelpTestMode = 0x43000;
constexpr int kHelpTestAdjust = 0x43001;

// A spin box whose arrows are handed to the owner instead of counting: the
// channel spin skips invalid channels, the value spins send steps.
class CStepSpin : public QSpinBox {
  Q_OBJECT
 public:
  using QSpinBox::QSpinBox;
  std::function<void(int steps)> onStep;
  void stepBy(int steps) override {
    if (onStep) onStep(steps);
  }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

class CTestModeDlg : public QDialog {
  Q_OBJECT
 public:
  CTestModeDlg(TestModeSession& session, RadioData& data, TextTable& text, MessageHelper& msg, HelpSystem* help,
               QWidget* parent = nullptr);

  // Controls, for the tests.
  CStepSpin* ChannelSpin() const { return channel_; }
  CStepSpin* SignallingSpin() const { return signalling_; }
  QLineEdit* RxFreq() const { return rxFreq_; }
  QLineEdit* TxFreq() const { return txFreq_; }
  QComboBox* Bandwidth() const { return bandwidth_; }
  QRadioButton* WideButton() const { return wide_; }
  QRadioButton* NarrowButton() const { return narrow_; }
  QComboBox* Compander() const { return compander_; }
  QComboBox* BeatShift() const { return beatShift_; }
  QComboBox* MskRate() const { return msk_; }
  QComboBox* NoiseBlanker() const { return noiseBlanker_; }
  QPushButton* TxButton() const { return tx_; }
  QPushButton* ChecksumButton() const { return checksumButton_; }
  QLineEdit* Checksum() const { return checksum_; }
  QListWidget* Adjustments() const { return list_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CloseButton() const { return close_; }
  // Opens the adjustment panel for list row `row`, as a double-click does.
  void OpenAdjustment(int row);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void Refresh();
  // After a control's command: the dialog and the main window repaint; a
  // cancelled command has ended test mode and closes the dialog.
  void After(bool ok);
  void FillAdjustments();
  void Print();

  TestModeSession& session_;
  RadioData& data_;
  TextTable& text_;
  MessageHelper& msg_;
  HelpSystem* help_;
  bool refreshing_ = false;
  CStepSpin* channel_ = nullptr;
  CStepSpin* signalling_ = nullptr;
  QLineEdit* rxFreq_ = nullptr;
  QLineEdit* txFreq_ = nullptr;
  QLineEdit* rxTone_ = nullptr;
  QLineEdit* txTone_ = nullptr;
  QComboBox* bandwidth_ = nullptr;
  QRadioButton* wide_ = nullptr;
  QRadioButton* narrow_ = nullptr;
  QComboBox* compander_ = nullptr;
  QComboBox* beatShift_ = nullptr;
  QComboBox* msk_ = nullptr;
  QComboBox* noiseBlanker_ = nullptr;
  QPushButton* tx_ = nullptr;
  QPushButton* checksumButton_ = nullptr;
  QLineEdit* checksum_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* close_ = nullptr;
};

class CTestAdjustDlg : public QDialog {
  Q_OBJECT
 public:
  CTestAdjustDlg(TestModeSession& session, RadioData& data, TextTable& text, HelpSystem* help, int item,
                 QWidget* parent = nullptr);

  // Sends the opening exchange; false when the user cancelled a failure.
  bool Open();
  const AdjustmentPanelState& State() const { return state_; }
  QTabBar* Tabs() const { return tabs_; }
  QSlider* Slider() const { return slider_; }
  CStepSpin* Spin() const { return spin_; }
  QSlider* VolumeSlider() const { return volumeSlider_; }
  CStepSpin* VolumeSpin() const { return volumeSpin_; }
  QWidget* VolumeGroup() const { return volumeGroup_; }
  QPushButton* TxButton() const { return tx_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return helpButton_; }
  QLineEdit* RxFreq() const { return rxFreq_; }
  QLineEdit* TxFreq() const { return txFreq_; }
  QTimer* QueryTimer() const { return timer_; }
  // Test mode ended while the panel was open (a Cancel on Retry/Cancel).
  bool Ended() const { return ended_; }

 public Q_SLOTS:
  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show();
  void Check(bool ok);
  void PointFrequencies();

  TestModeSession& session_;
  RadioData& data_;
  TextTable& text_;
  AdjustmentPanelState state_;
  bool showing_ = false;
  bool ended_ = false;
  QTabBar* tabs_ = nullptr;
  QSlider* slider_ = nullptr;
  CStepSpin* spin_ = nullptr;
  QWidget* volumeGroup_ = nullptr;
  QSlider* volumeSlider_ = nullptr;
  CStepSpin* volumeSpin_ = nullptr;
  QLineEdit* rxFreq_ = nullptr;
  QLineEdit* txFreq_ = nullptr;
  QPushButton* tx_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QTimer* timer_ = nullptr;
};

// Program > Test Mode: the start sequence, then the dialog; test mode ends
// when it closes. `prompter` answers the link's questions (nullptr asks the
// user).
void RunTestModeCommand(EditorContext& ctx, Prompter* prompter = nullptr);

}  // namespace vb420
