// SPDX-License-Identifier: GPL-3.0-or-later
// Built with -fsanitize=thread: the alert-tone test player plays while the
// editor changes the tone, as the dialog does when the user edits the tone
// window during a test. The editor publishes every change into the shared
// record; the player copies it at every step. ThreadSanitizer fails the run
// on any data race; the test itself checks that every step played one of
// the values the editor published, whole.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "editors/signalling/TonePlayer.h"

namespace vb420 {
namespace {

// Records each step; takes a little real time so that the editor's changes
// fall between and during steps.
class RecordingSink : public ToneSink {
 public:
  void Tone(int hz, int ms, StopSignal& stop) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      played_.push_back({hz, ms});
    }
    stop.WaitFor(1);
  }
  void Silence(int, StopSignal& stop) override { stop.WaitFor(1); }
  std::vector<std::pair<int, int>> Played() {
    std::lock_guard<std::mutex> lock(mutex_);
    return played_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::pair<int, int>> played_;
};

AlertToneRecord Version(int v) {
  AlertToneRecord r;
  r.repeat = 0;  // until stopped
  r.pause = 0;
  for (int s = 0; s < 16; ++s) {
    r.freq[static_cast<size_t>(s)] = static_cast<uint8_t>(40 + v % 200);
    r.duration[static_cast<size_t>(s)] = static_cast<uint8_t>(1 + (v % 200) % 7);
  }
  return r;
}

TEST(ToneRace, PlayerAndEditorShareOnlyTheLockedRecord) {
  SharedToneRecord shared;
  shared.Publish(Version(0));
  RecordingSink sink;
  ToneTestThread player;
  std::promise<ToneTestThread::Report> done;
  ASSERT_TRUE(player.Start(shared, sink, [&done](ToneTestThread::Report r) { done.set_value(r); }));

  std::atomic<bool> editing{true};
  std::thread editor([&] {
    for (int v = 1; editing.load(); ++v) {
      shared.Publish(Version(v));
      std::this_thread::yield();
    }
  });
  while (sink.Played().size() < 200) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  player.Stop();
  auto f = done.get_future();
  ASSERT_EQ(f.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(f.get(), ToneTestThread::kFinished);
  player.End();
  editing = false;
  editor.join();

  // Each step is one published version: its frequency and duration belong together.
  const auto played = sink.Played();
  std::set<int> freqs;
  for (const auto& [hz, ms] : played) {
    const int f = hz / 10 - 40;
    EXPECT_EQ(hz % 10, 0);
    EXPECT_TRUE(f >= 0 && f < 200) << hz;
    EXPECT_EQ(ms / 10, 1 + f % 7) << hz << " Hz " << ms << " ms";
    freqs.insert(hz);
  }
  EXPECT_GT(freqs.size(), 1u);  // the edits reached the player while it played
}

}  // namespace
}  // namespace vb420
