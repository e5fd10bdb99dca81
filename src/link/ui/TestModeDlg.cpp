// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/TestModeDlg.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include "frame/ui/EditorView.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/RadioDialogs.h"
#include "print/PrintPreview.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

QString T(TextTable& text, int entry) { return QString::fromStdString(text.Text(entry)); }

// A menu text without its '&' marks.
QString Plain(TextTable& text, int entry) { return T(text, entry).remove('&'); }

QLineEdit* ReadOnlyLine(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  e->setObjectName(name);
  e->setMinimumWidth(120);
  return e;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  return c;
}

}  // namespace

// ---------------------------------------------------------------------------
// The Test Mode dialog

CTestModeDlg::CTestModeDlg(TestModeSession& session, RadioData& data, TextTable& text, MessageHelper& msg,
                           HelpSystem* help, QWidget* parent)
    : QDialog(parent), session_(session), data_(data), text_(text), msg_(msg), help_(help) {
  setObjectName("testModeDlg");
  setWindowTitle(Plain(text, 78));

  auto* top = new QHBoxLayout;
  // Channel and signalling with what the image holds for them.
  auto* chGroup = new QGroupBox(T(text, 258), this);
  auto* chForm = new QFormLayout(chGroup);
  channel_ = new CStepSpin(chGroup);
  channel_->setObjectName("channel");
  channel_->setRange(1, kTestChannels);
  channel_->setKeyboardTracking(false);
  chForm->addRow(T(text, 420), channel_);
  rxFreq_ = ReadOnlyLine(chGroup, "rxFreq");
  txFreq_ = ReadOnlyLine(chGroup, "txFreq");
  chForm->addRow(T(text, 247), rxFreq_);
  chForm->addRow(T(text, 248), txFreq_);
  signalling_ = new CStepSpin(chGroup);
  signalling_->setObjectName("signalling");
  signalling_->setRange(1, session.SignallingCount());
  signalling_->setKeyboardTracking(false);
  chForm->addRow(T(text, 301), signalling_);
  rxTone_ = ReadOnlyLine(chGroup, "rxTone");
  txTone_ = ReadOnlyLine(chGroup, "txTone");
  chForm->addRow(T(text, 308), rxTone_);
  chForm->addRow(T(text, 316), txTone_);
  top->addWidget(chGroup);

  // The radio's settings.
  auto* setGroup = new QGroupBox(T(text, 321), this);
  auto* setForm = new QFormLayout(setGroup);
  bandwidth_ = new QComboBox(setGroup);
  bandwidth_->setObjectName("bandwidth");
  bandwidth_->addItem(T(text, 167), 0);
  bandwidth_->addItem(T(text, 164), 2);
  setForm->addRow(T(text, 388), bandwidth_);
  auto* spacing = new QGroupBox(T(text, 322), setGroup);
  auto* spacingRow = new QHBoxLayout(spacing);
  wide_ = new QRadioButton(T(text, 164), spacing);
  wide_->setObjectName("wide");
  narrow_ = new QRadioButton(T(text, 167), spacing);
  narrow_->setObjectName("narrow");
  spacingRow->addWidget(wide_);
  spacingRow->addWidget(narrow_);
  setForm->addRow(spacing);
  const QStringList offOn = {T(text, 362), T(text, 370)};
  compander_ = Combo(setGroup, "compander", offOn);
  setForm->addRow(T(text, 434), compander_);
  beatShift_ = Combo(setGroup, "beatShift", offOn);
  setForm->addRow(T(text, 429), beatShift_);
  msk_ = Combo(setGroup, "mskRate", {QStringLiteral("1200 bps"), QStringLiteral("2400 bps")});
  setForm->addRow(T(text, 323), msk_);
  noiseBlanker_ = Combo(setGroup, "noiseBlanker", {T(text, 362), T(text, 259), T(text, 263)});
  setForm->addRow(T(text, 329), noiseBlanker_);
  tx_ = new QPushButton(QStringLiteral("TX"), setGroup);
  tx_->setObjectName("tx");
  tx_->setCheckable(true);
  tx_->setAutoDefault(false);
  setForm->addRow(tx_);
  auto* sumRow = new QHBoxLayout;
  checksum_ = ReadOnlyLine(setGroup, "checksum");
  checksum_->setMinimumWidth(60);
  checksumButton_ = new QPushButton(T(text, 237), setGroup);
  checksumButton_->setObjectName("checksumButton");
  checksumButton_->setAutoDefault(false);
  sumRow->addWidget(checksumButton_);
  sumRow->addWidget(checksum_);
  setForm->addRow(sumRow);
  top->addWidget(setGroup);

  auto* adjGroup = new QGroupBox(T(text, 330), this);
  auto* adjLayout = new QVBoxLayout(adjGroup);
  list_ = new QListWidget(adjGroup);
  list_->setObjectName("adjustments");
  list_->setMinimumWidth(260);
  adjLayout->addWidget(list_);
  top->addWidget(adjGroup, 1);

  auto* buttons = new QDialogButtonBox(this);
  print_ = buttons->addButton(T(text, 126), QDialogButtonBox::ActionRole);
  print_->setObjectName("print");
  close_ = buttons->addButton(T(text, 15), QDialogButtonBox::RejectRole);
  close_->setObjectName("close");
  QPushButton* helpButton = buttons->addButton(T(text, 16), QDialogButtonBox::HelpRole);
  for (QPushButton* b : {print_, close_, helpButton}) b->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);

  // ---- what each control sends ----
  channel_->onStep = [this](int steps) {
    if (!session_.Active()) return;
    After(session_.SelectChannel(session_.StepChannel(session_.Channel(), steps)));
  };
  connect(channel_, &QSpinBox::editingFinished, this, [this] {
    if (refreshing_ || !session_.Active() || channel_->value() - 1 == session_.Channel()) return;
    After(session_.SelectChannel(channel_->value() - 1));
  });
  signalling_->onStep = [this](int steps) {
    if (!session_.Active()) return;
    const int n = session_.SignallingCount();
    After(session_.SelectSignalling(((session_.Signalling() + (steps > 0 ? 1 : -1)) % n + n) % n));
  };
  connect(signalling_, &QSpinBox::editingFinished, this, [this] {
    if (refreshing_ || !session_.Active() || signalling_->value() - 1 == session_.Signalling()) return;
    After(session_.SelectSignalling(signalling_->value() - 1));
  });
  connect(bandwidth_, &QComboBox::activated, this, [this](int index) {
    if (!refreshing_) After(session_.SetBandwidth(bandwidth_->itemData(index).toInt()));
  });
  connect(wide_, &QRadioButton::clicked, this, [this] { After(session_.SetBandwidth(2)); });
  connect(narrow_, &QRadioButton::clicked, this, [this] { After(session_.SetBandwidth(0)); });
  connect(compander_, &QComboBox::activated, this, [this](int i) { After(session_.SetCompander(i != 0)); });
  connect(beatShift_, &QComboBox::activated, this, [this](int i) { After(session_.SetBeatShift(i != 0)); });
  connect(msk_, &QComboBox::activated, this, [this](int i) { After(session_.SetMskRate(i != 0)); });
  connect(noiseBlanker_, &QComboBox::activated, this, [this](int i) { After(session_.SetNoiseBlanker(i)); });
  connect(tx_, &QPushButton::clicked, this, [this] { After(session_.ToggleTransmit()); });
  connect(checksumButton_, &QPushButton::clicked, this, [this] {
    uint16_t sum = 0;
    const bool ok = session_.ReadChecksum(sum);
    if (ok) checksum_->setText(QString::fromStdString(ChecksumText(sum)));
    After(ok);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OpenAdjustment(list_->currentRow()); });
  connect(print_, &QPushButton::clicked, this, &CTestModeDlg::Print);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this] {
    if (help_) help_->Show(this, kHelpTestMode);
  });
  Refresh();
}

void CTestModeDlg::Refresh() {
  refreshing_ = true;
  channel_->setValue(session_.Channel() + 1);
  rxFreq_->setText(QString::fromStdString(session_.ChannelFreqText(0)));
  txFreq_->setText(QString::fromStdString(session_.ChannelFreqText(1)));
  signalling_->setValue(session_.Signalling() + 1);
  const int bw = session_.Bandwidth();
  bandwidth_->setCurrentIndex(bw == 2 ? 1 : bw == 0 ? 0 : -1);
  wide_->setChecked(bw == 2);
  narrow_->setChecked(bw == 0);
  tx_->setChecked(session_.Transmitting());
  FillAdjustments();
  refreshing_ = false;
}

void CTestModeDlg::FillAdjustments() {
  const int row = list_->currentRow();
  list_->clear();
  for (int item : AvailableItems(session_.ModelNumber())) {
    auto* it = new QListWidgetItem(QString::fromStdString(AdjustmentListText(text_, item, session_.Bandwidth())));
    it->setData(Qt::UserRole, item);
    list_->addItem(it);
  }
  if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
}

void CTestModeDlg::After(bool ok) {
  if (!ok || !session_.Active()) {
    // Cancel on a failed command has ended test mode: nothing more to show.
    reject();
    return;
  }
  Refresh();
  update();
  if (parentWidget()) parentWidget()->window()->update();
}

void CTestModeDlg::OpenAdjustment(int row) {
  if (row < 0 || row >= list_->count() || !session_.Active()) return;
  const int item = list_->item(row)->data(Qt::UserRole).toInt();
  CTestAdjustDlg panel(session_, data_, text_, help_, item, this);
  if (!panel.Open()) {
    After(false);
    return;
  }
  msg_.Prompter().RunDialog(panel);
  After(!panel.Ended());
}

void CTestModeDlg::Print() {
  if (!session_.ReadTestData()) {
    After(false);
    return;
  }
  After(true);
  print::PrintTestReport(this, data_, text_, session_, &msg_.Prompter());
}

void CTestModeDlg::closeEvent(QCloseEvent* e) {
  // Closing by the frame is Close: the caller ends test mode.
  QDialog::closeEvent(e);
}

// ---------------------------------------------------------------------------
// The adjustment panel

CTestAdjustDlg::CTestAdjustDlg(TestModeSession& session, RadioData& data, TextTable& text, HelpSystem* help,
                               int item, QWidget* parent)
    : QDialog(parent), session_(session), data_(data), text_(text), state_(session, item) {
  setObjectName("testAdjustDlg");
  setWindowTitle(QString::fromStdString(AdjustmentListText(text, item, session.Bandwidth())));

  tabs_ = new QTabBar(this);
  tabs_->setObjectName("points");
  const int points = state_.Points();
  for (int p = 0; p < points; ++p) {
    int entry = PointNameEntry(AdjustmentItemAt(item).points, p);
    if (points == 1) entry = ItemFollowsBandwidth(item) ? PointNameEntry(4, 0) : AdjustmentItemAt(item).nameEntry;
    tabs_->addTab(T(text, entry));
  }

  auto* valueGroup = new QGroupBox(QString::fromStdString(text.Text(AdjustmentItemAt(item).nameEntry)), this);
  auto* valueRow = new QHBoxLayout(valueGroup);
  slider_ = new QSlider(Qt::Horizontal, valueGroup);
  slider_->setObjectName("value");
  slider_->setRange(kAdjustMin, kAdjustMax);
  slider_->setPageStep(8);
  slider_->setMinimumWidth(260);
  spin_ = new CStepSpin(valueGroup);
  spin_->setObjectName("valueSpin");
  spin_->setRange(kAdjustMin, kAdjustMax);
  spin_->setKeyboardTracking(false);
  valueRow->addWidget(slider_, 1);
  valueRow->addWidget(spin_);

  auto* freqForm = new QFormLayout;
  rxFreq_ = ReadOnlyLine(this, "pointRx");
  txFreq_ = ReadOnlyLine(this, "pointTx");
  freqForm->addRow(T(text, 247), rxFreq_);
  freqForm->addRow(T(text, 248), txFreq_);

  volumeGroup_ = new QGroupBox(T(text, 583), this);
  volumeGroup_->setObjectName("volume");
  auto* volumeRow = new QHBoxLayout(volumeGroup_);
  volumeSlider_ = new QSlider(Qt::Horizontal, volumeGroup_);
  volumeSlider_->setObjectName("volumeSlider");
  volumeSlider_->setRange(kAdjustMin, kAdjustMax);
  volumeSlider_->setPageStep(8);
  volumeSpin_ = new CStepSpin(volumeGroup_);
  volumeSpin_->setObjectName("volumeSpin");
  volumeSpin_->setRange(kAdjustMin, kAdjustMax);
  volumeSpin_->setKeyboardTracking(false);
  volumeRow->addWidget(volumeSlider_, 1);
  volumeRow->addWidget(volumeSpin_);
  volumeGroup_->setVisible(state_.HasVolume());

  tx_ = new QPushButton(QStringLiteral("TX"), this);
  tx_->setObjectName("tx");
  tx_->setCheckable(true);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(T(text, 13), QDialogButtonBox::AcceptRole);
  ok_->setObjectName("ok");
  cancel_ = buttons->addButton(T(text, 14), QDialogButtonBox::RejectRole);
  cancel_->setObjectName("cancel");
  helpButton_ = buttons->addButton(T(text, 16), QDialogButtonBox::HelpRole);
  helpButton_->setObjectName("help");
  for (QPushButton* b : {tx_, ok_, cancel_, helpButton_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(valueGroup);
  layout->addLayout(freqForm);
  layout->addWidget(volumeGroup_);
  auto* txRow = new QHBoxLayout;
  txRow->addWidget(tx_);
  txRow->addStretch(1);
  layout->addLayout(txRow);
  layout->addWidget(buttons);

  timer_ = new QTimer(this);
  timer_->setObjectName("queryTimer");
  timer_->setInterval(kPanelQueryIntervalMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (!state_.QueryDue() || ended_) return;
    Check(state_.Query());
  });

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (showing_ || index < 0 || index == state_.Point()) return;
    Check(state_.SelectPoint(index));
  });
  // The arrows and the slider's steps send the step form; a typed value or a
  // dragged slider sends the set form.
  spin_->onStep = [this](int steps) { Check(state_.StepValue(steps)); };
  connect(spin_, &QSpinBox::editingFinished, this, [this] {
    if (!showing_ && spin_->value() != state_.Value()) Check(state_.SetValue(spin_->value()));
  });
  connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    Check(state_.StepValue(slider_->sliderPosition() - state_.Value()));
  });
  connect(slider_, &QSlider::sliderReleased, this, [this] {
    if (slider_->value() != state_.Value()) Check(state_.SetValue(slider_->value()));
  });
  volumeSpin_->onStep = [this](int steps) { Check(state_.StepVolume(steps)); };
  connect(volumeSpin_, &QSpinBox::editingFinished, this, [this] {
    if (!showing_ && volumeSpin_->value() != state_.Volume()) Check(state_.SetVolume(volumeSpin_->value()));
  });
  connect(volumeSlider_, &QSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    Check(state_.StepVolume(volumeSlider_->sliderPosition() - state_.Volume()));
  });
  connect(volumeSlider_, &QSlider::sliderReleased, this, [this] {
    if (volumeSlider_->value() != state_.Volume()) Check(state_.SetVolume(volumeSlider_->value()));
  });
  connect(tx_, &QPushButton::clicked, this, [this] { Check(state_.ToggleTransmit()); });
  connect(ok_, &QPushButton::clicked, this, &CTestAdjustDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &CTestAdjustDlg::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this, help] {
    if (help) help->Show(this, kHelpTestAdjust);
  });

  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

bool CTestAdjustDlg::Open() {
  const bool ok = state_.Open();
  if (!ok) {
    ended_ = true;
    return false;
  }
  Show();
  timer_->start();
  return true;
}

void CTestAdjustDlg::Show() {
  showing_ = true;
  tabs_->setCurrentIndex(state_.Point());
  slider_->setValue(state_.Value());
  slider_->setSliderPosition(state_.Value());
  spin_->setValue(state_.Value());
  volumeSlider_->setValue(state_.Volume());
  volumeSpin_->setValue(state_.Volume());
  tx_->setChecked(state_.Transmitting());
  PointFrequencies();
  showing_ = false;
}

void CTestAdjustDlg::PointFrequencies() {
  // The first point is the current test channel; the others are the tuning
  // rows, spread over the low to high points.
  const int points = state_.Points();
  const int point = state_.Point();
  auto text = [](const CFreqPairTable& t, int slot, int which) {
    std::string s;
    if (t.IsPairFreqSet(slot, which)) t.PairFreqToText(slot, which, s);
    return QString::fromStdString("  " + s);
  };
  if (point <= 0 || points == 1) {
    rxFreq_->setText(QString::fromStdString(session_.ChannelFreqText(0)));
    txFreq_->setText(QString::fromStdString(session_.ChannelFreqText(1)));
    return;
  }
  const int row = points == 6 ? point - 1 : (point - 1) * 2;
  const CFreqPairTable tuning = data_.TuningFreqTable();
  rxFreq_->setText(text(tuning, row, 0));
  txFreq_->setText(text(tuning, row, 1));
}

void CTestAdjustDlg::Check(bool ok) {
  if (!ok || !session_.Active()) {
    ended_ = true;
    timer_->stop();
    QDialog::reject();
    return;
  }
  Show();
}

void CTestAdjustDlg::accept() {
  timer_->stop();
  if (!ended_ && !state_.Ok()) ended_ = true;
  QDialog::accept();
}

void CTestAdjustDlg::reject() {
  timer_->stop();
  if (!ended_ && !state_.Cancel()) ended_ = true;
  QDialog::reject();
}

bool CTestAdjustDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool ctrl = key->modifiers() & Qt::ControlModifier;
  if (ctrl && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
    const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
    const int n = tabs_->count();
    if (n > 1) tabs_->setCurrentIndex((tabs_->currentIndex() + (back ? n - 1 : 1)) % n);
    return true;
  }
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    if (watched == ok_ || watched == cancel_ || watched == helpButton_) {
      static_cast<QPushButton*>(watched)->click();
      return true;
    }
    // Enter finishes what was typed and moves on, as Tab does.
    focusNextChild();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The command

void RunTestModeCommand(EditorContext& ctx, Prompter* prompter) {
  Workspace& ws = ctx.ws;
  QWidget* owner = ctx.frame.MainWindow();
  // A test frequency still being typed counts.
  ctx.frame.CommitPendingEdits();
  UiLinkPrompter ui(ctx.msg, owner);
  Prompter& ask = prompter ? *prompter : static_cast<Prompter&>(ui);
  SessionCallbacks cb;
  cb.pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20); };
  TestModeSession session(ProgramRadioLink(ws), ws.data, ask, cb);
  if (session.Start() != TestStart::kStarted) return;
  CTestModeDlg dlg(session, ws.data, ws.text, ctx.msg, &ctx.help, owner);
  ctx.msg.Prompter().RunDialog(dlg);
  // However the dialog ended (closed, a command the radio did not answer),
  // test mode ends; a radio that did not confirm it may still be on the air.
  session.End();
  if (session.LastEnd() != TransferResult::kOk) ask.ShowError(msg::kTestModeNotEnded);
}

void RegisterTestModeCommand() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdTestMode, [](EditorContext& ctx) { RunTestModeCommand(ctx); });
}

}  // namespace vb420
