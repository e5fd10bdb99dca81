// SPDX-License-Identifier: GPL-3.0-or-later
// Playing an alert tone: the order and timing of its steps, repetitions and
// pauses, independent of how a tone is made audible. The player reads a copy
// of the tone record at the start of every step (the user may edit the tone
// while it plays: a change takes effect at the next step) and hands each
// step to a `ToneSink`. No part of this file knows the image, Qt or a clock:
// the sinks decide how long a step really takes.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vb420 {

// One alert tone as the image holds it: the repeat count (0 = until
// stopped), the pause between repetitions in seconds, and 16 steps of a
// frequency in 10 Hz units (0 = silence) and a duration in 10 ms units.
struct AlertToneRecord {
  uint8_t repeat = 1;
  uint8_t pause = 0;
  std::array<uint8_t, 16> freq{};
  std::array<uint8_t, 16> duration{};
  // Every step lasts 0: there is nothing to play.
  bool Empty() const;
  // How long one pass of the pattern lasts, in ms.
  int PatternMs() const;
};

// Where the player takes its copy of the tone from.
class ToneSource {
 public:
  virtual ~ToneSource() = default;
  virtual AlertToneRecord Current() = 0;
};

// A tone record shared between the editor (which publishes every change)
// and the player thread (which copies it): the only data both threads touch,
// always under its lock.
class SharedToneRecord : public ToneSource {
 public:
  void Publish(const AlertToneRecord& r);
  AlertToneRecord Current() override;

 private:
  std::mutex mutex_;
  AlertToneRecord record_;
};

// Asked by a sink whether to cut a step short.
class StopSignal {
 public:
  bool Stopped() const { return stopped_.load(std::memory_order_acquire); }
  void Stop();
  // Waits `ms` or until stopped; true when the whole time passed.
  bool WaitFor(int ms);
  void Reset() { stopped_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> stopped_{false};
  std::mutex mutex_;
  std::condition_variable cv_;
};

// Makes the steps audible (or records them). Each call returns when the step
// is over or the signal stopped it.
class ToneSink {
 public:
  virtual ~ToneSink() = default;
  // A sine of `hz` for `ms`.
  virtual void Tone(int hz, int ms, StopSignal& stop) = 0;
  // Silence for `ms` (a silent step, or the pause between repetitions).
  virtual void Silence(int ms, StopSignal& stop) = 0;
};

enum class PlayEnd { Finished, Stopped };

struct PlayOptions {
  // Number of passes; 0 plays as the record says (its repeat count, or until
  // stopped when that is 0).
  int passes = 0;
};

// Plays the tone from step 1: each step with a frequency sounds for its
// duration, a silent step with a duration waits that long, a step with
// neither is skipped. After step 16 the pass ends; while passes remain the
// pause (seconds) follows and the pattern starts again. A pass in which no
// step lasted anything and no pause follows ends the playing (an edit that
// took every duration to 0 would otherwise loop without end).
PlayEnd PlayAlertTone(ToneSource& source, ToneSink& sink, StopSignal& stop, const PlayOptions& options = {});

// The test player: one worker thread that plays a tone and reports how it
// ended. Stop ends the playing and reports finished (code 2); Cancel ends it
// and reports cancelled (code 3). The report runs on the worker thread; the
// caller passes it on to its own thread. At most one playing at a time.
class ToneTestThread {
 public:
  enum Report { kFinished = 2, kCancelled = 3 };
  using ReportFn = std::function<void(Report)>;

  ~ToneTestThread();
  // False (nothing started) while a test runs or when the tone has nothing
  // to play.
  bool Start(ToneSource& source, ToneSink& sink, ReportFn report);
  void Stop();
  void Cancel();
  // Waits for the worker to end (after its report).
  void End();
  bool Running() const { return running_.load(std::memory_order_acquire); }

 private:
  std::thread thread_;
  StopSignal stop_;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> running_{false};
};

}  // namespace vb420
