// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/TonePlayer.h"

#include <chrono>

namespace vb420 {

bool AlertToneRecord::Empty() const {
  for (uint8_t d : duration)
    if (d != 0) return false;
  return true;
}

int AlertToneRecord::PatternMs() const {
  int ms = 0;
  for (size_t s = 0; s < duration.size(); ++s)
    if (freq[s] != 0 || duration[s] != 0) ms += duration[s] * 10;
  return ms;
}

void SharedToneRecord::Publish(const AlertToneRecord& r) {
  std::lock_guard<std::mutex> lock(mutex_);
  record_ = r;
}

AlertToneRecord SharedToneRecord::Current() {
  std::lock_guard<std::mutex> lock(mutex_);
  return record_;
}

void StopSignal::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_.store(true, std::memory_order_release);
  }
  cv_.notify_all();
}

bool StopSignal::WaitFor(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !cv_.wait_for(lock, std::chrono::milliseconds(ms > 0 ? ms : 0), [this] { return Stopped(); });
}

PlayEnd PlayAlertTone(ToneSource& source, ToneSink& sink, StopSignal& stop, const PlayOptions& options) {
  // Remaining passes: the repeat count as it stands when playing starts
  // (1 for a tone that repeats until stopped, which never counts down).
  int remaining = options.passes > 0 ? options.passes : (source.Current().repeat == 0 ? 1 : source.Current().repeat);
  for (;;) {
    bool anyTime = false;
    for (int s = 0; s < 16; ++s) {
      if (stop.Stopped()) return PlayEnd::Stopped;
      const AlertToneRecord r = source.Current();  // the copy this step plays from
      const int hz = r.freq[static_cast<size_t>(s)] * 10;
      const int ms = r.duration[static_cast<size_t>(s)] * 10;
      if (ms == 0) continue;  // a step of no length: nothing sounds, no time passes
      anyTime = true;
      if (hz != 0) sink.Tone(hz, ms, stop);
      else sink.Silence(ms, stop);
    }
    if (stop.Stopped()) return PlayEnd::Stopped;
    const AlertToneRecord r = source.Current();
    const bool counted = options.passes > 0 || r.repeat != 0;
    if (counted) --remaining;
    if (remaining <= 0) return PlayEnd::Finished;
    if (r.pause == 0 && !anyTime) return PlayEnd::Finished;
    if (r.pause != 0) sink.Silence(r.pause * 1000, stop);
  }
}

ToneTestThread::~ToneTestThread() {
  Cancel();
  End();
}

bool ToneTestThread::Start(ToneSource& source, ToneSink& sink, ReportFn report) {
  if (Running() || source.Current().Empty()) return false;
  End();  // a worker that reported but was not ended yet
  stop_.Reset();
  cancelled_.store(false, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  thread_ = std::thread([this, &source, &sink, report = std::move(report)] {
    PlayAlertTone(source, sink, stop_);
    const Report code = cancelled_.load(std::memory_order_acquire) ? kCancelled : kFinished;
    running_.store(false, std::memory_order_release);
    if (report) report(code);
  });
  return true;
}

void ToneTestThread::Stop() { stop_.Stop(); }

void ToneTestThread::Cancel() {
  cancelled_.store(true, std::memory_order_release);
  stop_.Stop();
}

void ToneTestThread::End() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

}  // namespace vb420
