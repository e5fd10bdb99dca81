// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/signalling/ui/AlertTestDlg.h"

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <deque>
#include <mutex>

#include <QCoreApplication>
#include <QLibrary>

#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/ToneWav.h"
#include "editors/signalling/ui/ToneAudio.h"
#include "frame/ui/EditorView.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {
constexpr int kHelpAlertTest = 0x38201;  // 229889
constexpr int kToneTabText = 697;
}  // namespace

// ---------------------------------------------------------------------------
// The audio output, from the vb420audio module: the worker queues each
// step's samples and then waits the step's time.

std::unique_ptr<ToneAudioOutput> MakeToneAudioOutput(QObject* owner) {
#ifdef VB420_AUDIO_MODULE
  // Beside the program in the build tree, in the package's own library
  // folder once installed (the path from the program's folder).
  static const Vb420MakeToneAudioOutput make = []() -> Vb420MakeToneAudioOutput {
    const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    for (const char* where : {VB420_AUDIO_MODULE, VB420_AUDIO_MODULE_INSTALLED}) {
      QLibrary module(dir + QString::fromUtf8(where));
      if (!module.load()) continue;
      if (auto f = reinterpret_cast<Vb420MakeToneAudioOutput>(module.resolve(VB420_TONE_AUDIO_ENTRY))) return f;
    }
    return nullptr;
  }();
  if (make) return std::unique_ptr<ToneAudioOutput>(make(owner));
#else
  (void)owner;
#endif
  return nullptr;
}

class CAudioToneSink : public ToneSink {
 public:
  explicit CAudioToneSink(QObject* owner) : output_(MakeToneAudioOutput(owner)) {}
  bool HasAudio() const { return output_ && output_->HasAudio(); }
  // On the window's thread, around a test.
  void Begin() {
    if (output_) output_->Begin();
  }
  void End() {
    if (output_) output_->End();
  }
  // On the worker thread.
  void Tone(int hz, int ms, StopSignal& stop) override {
    if (HasAudio()) {
      std::vector<int16_t> s;
      AppendToneSamples(s, hz, ms);
      output_->Push(s);
    }
    if (!stop.WaitFor(ms)) Flush();
  }
  void Silence(int ms, StopSignal& stop) override {
    if (!stop.WaitFor(ms)) Flush();
  }

 private:
  void Flush() {
    if (output_) output_->Clear();
  }
  std::unique_ptr<ToneAudioOutput> output_;
};

// ---------------------------------------------------------------------------

int& CAlertTestDlg::LastTone() {
  static int tone = 0;
  return tone;
}

CAlertTestDlg::SinkFactory& CAlertTestDlg::TestSinkFactory() {
  static SinkFactory f;
  return f;
}

CAlertTestDlg::CAlertTestDlg(EditorContext& ctx, int tone, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName("alertTestDlg");
  MessageHelper& msg = ctx.msg;
  setWindowTitle(msg.T(727));
  auto* label = new QLabel(msg.T(1086));
  list_ = new QComboBox;
  list_->setObjectName("toneList");
  for (int t = 0; t < 8; ++t) list_->addItem(msg.T(kToneTabText + t), t);
  label->setBuddy(list_);
  play_ = new QPushButton(msg.T(728));
  play_->setObjectName("play");
  stop_ = new QPushButton(msg.T(729));
  stop_->setObjectName("stop");
  close_ = new QPushButton(msg.T(15));
  close_->setObjectName("close");
  help_ = new QPushButton(msg.T(16));
  status_ = new QLabel;
  status_->setObjectName("status");
  // Room for the longest state from the start: the window never widens
  // while a tone plays, so Close and Help stay under the pointer.
  const QFontMetrics fm = status_->fontMetrics();
  status_->setMinimumWidth(std::max({fm.horizontalAdvance(msg.T(1088) + "  " + msg.T(1087)), fm.horizontalAdvance(msg.T(1088)),
                                     fm.horizontalAdvance(msg.T(1087))}));

  if (TestSinkFactory()) {
    sink_ = TestSinkFactory()();
  } else {
    auto audio = std::make_unique<CAudioToneSink>(this);
    audio_ = audio.get();
    sink_ = std::move(audio);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(play_);
  buttons->addWidget(stop_);
  buttons->addStretch();
  buttons->addWidget(close_);
  buttons->addWidget(help_);
  auto* top = new QVBoxLayout(this);
  top->addWidget(label);
  top->addWidget(list_);
  top->addWidget(status_);
  top->addLayout(buttons);

  SetTone(tone);
  connect(list_, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row < 0) return;
    LastTone() = row;
    PublishTone();
    Q_EMIT ToneChosen(row);
  });
  connect(play_, &QPushButton::clicked, this, &CAlertTestDlg::Play);
  connect(stop_, &QPushButton::clicked, this, &CAlertTestDlg::StopPlaying);
  connect(close_, &QPushButton::clicked, this, &CAlertTestDlg::CloseAsked);
  InstallHelpKey(this, ctx.help, [] { return kHelpAlertTest; });
  connect(help_, &QPushButton::clicked, this, [this] {
    thread_.Stop();
    ctx_.help.Show(this, kHelpAlertTest);
  });
  ShowState();
}

CAlertTestDlg::~CAlertTestDlg() {
  // The worker must be gone before the sink and the shared record go.
  thread_.Cancel();
  thread_.End();
  if (audio_) audio_->End();
}

int CAlertTestDlg::Tone() const { return list_->currentIndex(); }

void CAlertTestDlg::SetTone(int tone) {
  if (tone < 0 || tone > 7) tone = 0;
  if (list_->currentIndex() != tone) list_->setCurrentIndex(tone);
  LastTone() = tone;
  PublishTone();
}

void CAlertTestDlg::PublishTone() { shared_.Publish(ReadAlertTone(ctx_.ws.data.Image(), list_->currentIndex())); }

void CAlertTestDlg::Play() {
  if (Playing()) return;
  PublishTone();
  if (audio_) audio_->Begin();
  const bool started = thread_.Start(shared_, *sink_, [this](ToneTestThread::Report code) {
    // On the worker thread: the window learns of it on its own thread.
    QMetaObject::invokeMethod(this, [this, code] { Reported(code); }, Qt::QueuedConnection);
  });
  if (!started) {  // nothing to play (every step lasts 0)
    if (audio_) audio_->End();
    return;
  }
  waitingForReport_ = true;
  ShowState();
}

void CAlertTestDlg::StopPlaying() { thread_.Stop(); }

void CAlertTestDlg::CloseAsked() {
  if (Playing()) {
    // The window closes when the worker has answered.
    closing_ = true;
    thread_.Cancel();
    return;
  }
  closeNow_ = true;
  close();
}

void CAlertTestDlg::Reported(int code) {
  thread_.End();
  waitingForReport_ = false;
  if (audio_) audio_->End();
  if (code == ToneTestThread::kCancelled || closing_) {
    closing_ = false;
    closeNow_ = true;
    close();
    return;
  }
  ShowState();
}

void CAlertTestDlg::ShowState() {
  const bool playing = Playing();
  play_->setVisible(!playing);
  play_->setEnabled(!playing);
  stop_->setVisible(playing);
  list_->setEnabled(!playing);
  QString s = playing ? ctx_.msg.T(1088) : QString();
  if (!audio_ || !audio_->HasAudio()) {
    if (audio_) s = s.isEmpty() ? ctx_.msg.T(1087) : s + "  " + ctx_.msg.T(1087);
  }
  status_->setText(s);
}

void CAlertTestDlg::closeEvent(QCloseEvent* event) {
  if (Playing() && !closeNow_) {
    event->ignore();
    CloseAsked();
    return;
  }
  closeNow_ = false;
  QDialog::closeEvent(event);
}

void CAlertTestDlg::reject() {
  // Escape closes like the close button.
  if (Playing()) {
    CloseAsked();
    return;
  }
  QDialog::reject();
}

}  // namespace vb420
