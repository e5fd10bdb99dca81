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

#ifdef VB420_HAVE_AUDIO
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#endif

#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/ToneWav.h"
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
// The audio output: the worker queues each step's samples and then waits the
// step's time; the audio device pulls the queue (silence when it is empty).

#ifdef VB420_HAVE_AUDIO
class ToneQueueDevice : public QIODevice {
 public:
  void Push(const std::vector<int16_t>& s) {
    std::lock_guard<std::mutex> lock(mutex_);
    // Never more than two seconds ahead of the device.
    if (queue_.size() < static_cast<size_t>(2 * kToneSampleRate)) queue_.insert(queue_.end(), s.begin(), s.end());
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
  }
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 1 << 16; }

 protected:
  qint64 readData(char* data, qint64 maxlen) override {
    std::lock_guard<std::mutex> lock(mutex_);
    const qint64 frames = maxlen / 2;
    auto* out = reinterpret_cast<int16_t*>(data);
    for (qint64 i = 0; i < frames; ++i) {
      if (queue_.empty()) {
        out[i] = 0;
      } else {
        out[i] = queue_.front();
        queue_.pop_front();
      }
    }
    return frames * 2;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::mutex mutex_;
  std::deque<int16_t> queue_;
};
#endif

class CAudioToneSink : public ToneSink {
 public:
  explicit CAudioToneSink(QObject* owner) {
#ifdef VB420_HAVE_AUDIO
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(kToneSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return;
    queue_ = new ToneQueueDevice;
    queue_->setParent(owner);
    queue_->open(QIODevice::ReadOnly);
    output_ = new QAudioSink(device, format, owner);
#else
    (void)owner;
#endif
  }
  bool HasAudio() const {
#ifdef VB420_HAVE_AUDIO
    return output_ != nullptr;
#else
    return false;
#endif
  }
  // On the window's thread, around a test.
  void Begin() {
#ifdef VB420_HAVE_AUDIO
    if (output_) output_->start(queue_);
#endif
  }
  void End() {
#ifdef VB420_HAVE_AUDIO
    if (!output_) return;
    queue_->Clear();
    output_->stop();
#endif
  }
  // On the worker thread.
  void Tone(int hz, int ms, StopSignal& stop) override {
#ifdef VB420_HAVE_AUDIO
    if (queue_) {
      std::vector<int16_t> s;
      AppendToneSamples(s, hz, ms);
      queue_->Push(s);
    }
#else
    (void)hz;
#endif
    if (!stop.WaitFor(ms)) Flush();
  }
  void Silence(int ms, StopSignal& stop) override {
    if (!stop.WaitFor(ms)) Flush();
  }

 private:
  void Flush() {
#ifdef VB420_HAVE_AUDIO
    if (queue_) queue_->Clear();
#endif
  }
#ifdef VB420_HAVE_AUDIO
  ToneQueueDevice* queue_ = nullptr;
  QAudioSink* output_ = nullptr;
#endif
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
