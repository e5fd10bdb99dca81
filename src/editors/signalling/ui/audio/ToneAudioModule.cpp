// SPDX-License-Identifier: GPL-3.0-or-later
// The vb420audio module: the alert-tone test's output through Qt
// Multimedia. The test's worker queues each step's samples; the audio
// device pulls the queue, silence when it is empty.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <deque>
#include <mutex>

#include "editors/signalling/ToneWav.h"
#include "editors/signalling/ui/ToneAudio.h"

namespace vb420 {

namespace {

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

class MultimediaOutput : public ToneAudioOutput {
 public:
  explicit MultimediaOutput(QObject* owner) {
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
  }
  bool HasAudio() const override { return output_ != nullptr; }
  void Begin() override {
    if (output_) output_->start(queue_);
  }
  void End() override {
    if (!output_) return;
    queue_->Clear();
    output_->stop();
  }
  void Push(const std::vector<int16_t>& samples) override {
    if (queue_) queue_->Push(samples);
  }
  void Clear() override {
    if (queue_) queue_->Clear();
  }

 private:
  ToneQueueDevice* queue_ = nullptr;  // both owned by the window
  QAudioSink* output_ = nullptr;
};

}  // namespace

}  // namespace vb420

extern "C" Q_DECL_EXPORT vb420::ToneAudioOutput* vb420_make_tone_audio_output(QObject* owner) {
  return new vb420::MultimediaOutput(owner);
}
