// SPDX-License-Identifier: GPL-3.0-or-later
// Alert tones: the fields by key, the player's order and timing through a
// recording sink, the test thread's stop and cancel, and the WAV rendering
// measured by zero crossings and by its energy.
#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <thread>

#include "SignalTestSupport.h"
#include "data/ImageLayout.h"
#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/TonePlayer.h"
#include "editors/signalling/ToneWav.h"

namespace vb420::sigtest {
namespace {

using forms::SettingStatus;

class AlertTone : public SignalTest {
 protected:
  void SetUp() override {
    SignalTest::SetUp();
    (void)AlertToneFieldTable();
  }
};

TEST_F(AlertTone, StepsShowHertzAndMillisecondsAndStoreTenths) {
  struct Case {
    const char* key;
    const char* typed;
    size_t at;
    int stored;
    const char* shownText;
  } cases[] = {
      {"alert.3.step.16.freq", "1234", sig::ToneStep(2, 15), 123, "1230"},
      {"alert.3.step.16.freq", "300", sig::ToneStep(2, 15), 40, "400"},
      {"alert.3.step.16.freq", "3000", sig::ToneStep(2, 15), 250, "2500"},
      {"alert.3.step.16.freq", "0", sig::ToneStep(2, 15), 0, "Silence"},
      {"alert.3.step.16.freq", "silence", sig::ToneStep(2, 15), 0, "Silence"},
      {"alert.1.step.1.dur", "2505", sig::ToneStep(0, 0) + 1, 250, "2500"},
      {"alert.1.step.1.dur", "15", sig::ToneStep(0, 0) + 1, 1, "10"},
      {"alert.1.step.1.dur", "0", sig::ToneStep(0, 0) + 1, 0, "0"},
      {"alert.8.repeat", "0", sig::ToneRecord(7) + 1, 0, "Continuous"},
      {"alert.8.repeat", "300", sig::ToneRecord(7) + 1, 255, "255"},
      {"alert.8.pause", "2", sig::ToneRecord(7) + 2, 2, "2"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Set(c.key, c.typed), SettingStatus::Ok) << c.key;
    EXPECT_EQ(B(c.at), c.stored) << c.key << "=" << c.typed;
    EXPECT_EQ(shown.text, c.shownText) << c.key << "=" << c.typed;
  }
  EXPECT_EQ(Set("alert.9.repeat", "1"), SettingStatus::UnknownKey);
  EXPECT_EQ(Set("alert.1.step.17.freq", "1000"), SettingStatus::UnknownKey);
  // The window's page for tone 3 writes the same bytes as the keys.
  AlertToneLocator locator;
  forms::FormContext ctx(data, text, false, {-1, 2}, &locator);
  const forms::FormPage& page = AlertTonePage();
  std::string typed = "2000";
  forms::FormEngine::StoreText(ctx, page.fields[AlertFreqIndex(4)], typed);
  EXPECT_EQ(B(sig::ToneStep(2, 4)), 200);
  EXPECT_EQ(Get("alert.3.step.5.freq"), "2000");
  forms::FormEngine::Spin(ctx, page.fields[AlertFreqIndex(4)], 1);
  EXPECT_EQ(B(sig::ToneStep(2, 4)), 201);
}

// ---- the player ------------------------------------------------------------------

struct Event {
  char kind;  // 'T' tone, 'S' silence
  int hz;
  int ms;
  bool operator==(const Event&) const = default;
};

// Records what was played; its clock is the sum of the steps.
class RecordingSink : public ToneSink {
 public:
  void Tone(int hz, int ms, StopSignal&) override { Add({'T', hz, ms}); }
  void Silence(int ms, StopSignal&) override { Add({'S', 0, ms}); }
  std::vector<Event> events;
  long clockMs = 0;
  std::function<void(RecordingSink&)> afterEach;

 private:
  void Add(Event e) {
    events.push_back(e);
    clockMs += e.ms;
    if (afterEach) afterEach(*this);
  }
};

class FixedTone : public ToneSource {
 public:
  explicit FixedTone(AlertToneRecord r) : record(r) {}
  AlertToneRecord Current() override { return record; }
  AlertToneRecord record;
};

AlertToneRecord Tone(uint8_t repeat, uint8_t pause, std::vector<std::pair<uint8_t, uint8_t>> steps) {
  AlertToneRecord r;
  r.repeat = repeat;
  r.pause = pause;
  for (size_t i = 0; i < steps.size(); ++i) {
    r.freq[i] = steps[i].first;
    r.duration[i] = steps[i].second;
  }
  return r;
}

TEST(TonePlayer, StepOrderSilentStepsRepeatsAndPauses) {
  // 1000 Hz 100 ms, silence 500 ms, a step of neither (skipped), a tone step
  // of no length (skipped), 2000 Hz 50 ms; three times, 2 s apart.
  FixedTone src(Tone(3, 2, {{100, 10}, {0, 50}, {0, 0}, {150, 0}, {200, 5}}));
  RecordingSink sink;
  StopSignal stop;
  EXPECT_EQ(PlayAlertTone(src, sink, stop), PlayEnd::Finished);
  const std::vector<Event> pass = {{'T', 1000, 100}, {'S', 0, 500}, {'T', 2000, 50}};
  std::vector<Event> expected;
  for (int p = 0; p < 3; ++p) {
    expected.insert(expected.end(), pass.begin(), pass.end());
    if (p < 2) expected.push_back({'S', 0, 2000});
  }
  EXPECT_EQ(sink.events, expected);
  EXPECT_EQ(sink.clockMs, 3 * 650 + 2 * 2000);
}

TEST(TonePlayer, RepeatZeroPlaysUntilStopped) {
  FixedTone src(Tone(0, 0, {{100, 10}}));
  RecordingSink sink;
  StopSignal stop;
  sink.afterEach = [&stop](RecordingSink& s) {
    if (s.events.size() == 25) stop.Stop();
  };
  EXPECT_EQ(PlayAlertTone(src, sink, stop), PlayEnd::Stopped);
  EXPECT_EQ(sink.events.size(), 25u);
  for (const Event& e : sink.events) EXPECT_EQ(e, (Event{'T', 1000, 100}));
}

TEST(TonePlayer, EachStepPlaysTheRecordAsItIsWhenTheStepStarts) {
  FixedTone src(Tone(2, 1, {{100, 10}, {110, 10}, {120, 10}}));
  RecordingSink sink;
  StopSignal stop;
  sink.afterEach = [&src](RecordingSink& s) {
    if (s.events.size() == 1) src.record.freq[1] = 222;           // the next step changes
    if (s.events.size() == 2) src.record.pause = 3;               // read when the pass ends
  };
  EXPECT_EQ(PlayAlertTone(src, sink, stop), PlayEnd::Finished);
  EXPECT_EQ(sink.events, (std::vector<Event>{{'T', 1000, 100}, {'T', 2220, 100}, {'T', 1200, 100}, {'S', 0, 3000},
                                             {'T', 1000, 100}, {'T', 2220, 100}, {'T', 1200, 100}}));
}

TEST(TonePlayer, PassesOptionAndEditsThatEmptyTheTone) {
  FixedTone src(Tone(0, 1, {{100, 10}}));
  RecordingSink sink;
  StopSignal stop;
  EXPECT_EQ(PlayAlertTone(src, sink, stop, {.passes = 2}), PlayEnd::Finished);
  EXPECT_EQ(sink.events, (std::vector<Event>{{'T', 1000, 100}, {'S', 0, 1000}, {'T', 1000, 100}}));
  // Every duration taken to 0 during an endless tone without pause: it ends
  // rather than spinning without time passing.
  FixedTone empty(Tone(0, 0, {{100, 0}}));
  RecordingSink none;
  EXPECT_EQ(PlayAlertTone(empty, none, stop), PlayEnd::Finished);
  EXPECT_TRUE(none.events.empty());
}

TEST(ToneTestThread, RefusesAToneWithNothingToPlayAndASecondStart) {
  ToneTestThread t;
  FixedTone empty(Tone(1, 0, {{100, 0}, {0, 0}}));
  RecordingSink sink;
  EXPECT_FALSE(t.Start(empty, sink, nullptr));
  EXPECT_FALSE(t.Running());
}

// A sink that takes real (short) time and can be cut short.
class SleepingSink : public ToneSink {
 public:
  void Tone(int, int ms, StopSignal& stop) override {
    ++steps;
    stop.WaitFor(ms);
  }
  void Silence(int ms, StopSignal& stop) override { stop.WaitFor(ms); }
  std::atomic<int> steps{0};
};

TEST(ToneTestThread, StopInTheMiddleReportsFinishedAndCloseReportsCancelled) {
  FixedTone src(Tone(0, 0, {{100, 2}}));  // 20 ms steps, until stopped
  SleepingSink sink;
  for (const bool cancel : {false, true}) {
    ToneTestThread t;
    std::promise<ToneTestThread::Report> reported;
    ASSERT_TRUE(t.Start(src, sink, [&reported](ToneTestThread::Report r) { reported.set_value(r); }));
    EXPECT_TRUE(t.Running());
    FixedTone other(Tone(1, 0, {{100, 1}}));
    EXPECT_FALSE(t.Start(other, sink, nullptr));  // one test at a time
    while (sink.steps < 3) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto asked = std::chrono::steady_clock::now();
    if (cancel) t.Cancel();
    else t.Stop();
    auto f = reported.get_future();
    ASSERT_EQ(f.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    // The step in progress is cut short, not played out.
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));
    EXPECT_EQ(f.get(), cancel ? ToneTestThread::kCancelled : ToneTestThread::kFinished);
    t.End();
    EXPECT_FALSE(t.Running());
  }
}

TEST(ToneTestThread, DestroyedWhilePlayingEndsTheWorker) {
  FixedTone src(Tone(0, 0, {{100, 50}}));
  SleepingSink sink;
  std::atomic<int> reports{0};
  {
    ToneTestThread t;
    ASSERT_TRUE(t.Start(src, sink, [&reports](ToneTestThread::Report) { ++reports; }));
    while (sink.steps < 1) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(reports.load(), 1);
}

// ---- WAV rendering, measured independently of the generator ------------------------

struct Wav {
  int rate = 0, channels = 0, bits = 0;
  std::vector<int16_t> samples;
};

Wav ParseWav(const std::vector<uint8_t>& b) {
  Wav w;
  auto u16 = [&b](size_t at) { return static_cast<int>(b[at] | (b[at + 1] << 8)); };
  auto u32 = [&b](size_t at) { return static_cast<uint32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (b[at + 3] << 24)); };
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(u32(4), b.size() - 8);
  EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(u16(20), 1);  // PCM
  w.channels = u16(22);
  w.rate = static_cast<int>(u32(24));
  EXPECT_EQ(u32(28), static_cast<uint32_t>(w.rate * w.channels * 2));
  w.bits = u16(34);
  EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
  const uint32_t n = u32(40);
  EXPECT_EQ(n + 44, b.size());
  for (size_t i = 44; i + 1 < b.size(); i += 2) w.samples.push_back(static_cast<int16_t>(u16(i)));
  return w;
}

// Sounding stretches by their energy in 1 ms windows: (start, end) in samples.
std::vector<std::pair<long, long>> Segments(const std::vector<int16_t>& s, int rate) {
  std::vector<std::pair<long, long>> out;
  const long win = rate / 1000;
  bool on = false;
  long start = 0;
  for (long w = 0; w * win < static_cast<long>(s.size()); ++w) {
    long peak = 0;
    for (long i = w * win; i < std::min<long>((w + 1) * win, static_cast<long>(s.size())); ++i)
      peak = std::max<long>(peak, std::abs(static_cast<long>(s[static_cast<size_t>(i)])));
    const bool loud = peak > 2000;
    if (loud && !on) start = w * win;
    if (!loud && on) out.push_back({start, w * win});
    on = loud;
  }
  if (on) out.push_back({start, static_cast<long>(s.size())});
  return out;
}

// Frequency by counting rising zero crossings between the first and the last
// one inside the stretch, with linear interpolation of the crossing times.
double MeasureHz(const std::vector<int16_t>& s, long from, long to, int rate) {
  double first = -1, last = -1;
  int crossings = 0;
  for (long i = from + 1; i < to; ++i) {
    const double a = s[static_cast<size_t>(i - 1)], b = s[static_cast<size_t>(i)];
    if (a < 0 && b >= 0) {
      const double t = (i - 1) + (-a) / (b - a);
      if (first < 0) first = t;
      last = t;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * rate / (last - first);
}

TEST(ToneWav, RenderedStepsHaveTheirFrequencyAndDuration) {
  // Steps separated by silence so that each one can be found by its energy.
  FixedTone src(Tone(2, 1, {{40, 20}, {0, 10}, {123, 7}, {0, 5}, {250, 150}, {0, 3}, {77, 31}}));
  SampleSink sink;
  StopSignal stop;
  ASSERT_EQ(PlayAlertTone(src, sink, stop), PlayEnd::Finished);
  const Wav w = ParseWav(WavBytes(sink.Samples()));
  EXPECT_EQ(w.rate, 44100);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.bits, 16);
  // Two passes of 200+100+70+50+1500+30+310 ms and a pause of 1 s.
  EXPECT_NEAR(w.samples.size() / 44.1, 2 * 2260 + 1000, 1.0);
  const auto seg = Segments(w.samples, w.rate);
  ASSERT_EQ(seg.size(), 8u);
  const int hz[4] = {400, 1230, 2500, 770};
  const int ms[4] = {200, 70, 1500, 310};
  for (size_t i = 0; i < seg.size(); ++i) {
    const double measuredMs = (seg[i].second - seg[i].first) * 1000.0 / w.rate;
    EXPECT_NEAR(measuredMs, ms[i % 4], 5.0) << "step " << i;
    const double f = MeasureHz(w.samples, seg[i].first, seg[i].second, w.rate);
    EXPECT_NEAR(f, hz[i % 4], hz[i % 4] * 0.01) << "step " << i;
  }
  // The second pass starts after the pause.
  EXPECT_NEAR((seg[4].first - seg[3].second) * 1000.0 / w.rate, 1000, 5.0);
}

TEST(ToneWav, ReadsTheRecordFromTheImage) {
  RadioData data;
  InitNewImage(data, true);
  ByteArea image = data.Image();
  image.setU8(sig::ToneRecord(5) + 1, 4);
  image.setU8(sig::ToneStep(5, 15), 99);
  image.setU8(sig::ToneStep(5, 15) + 1, 7);
  const AlertToneRecord r = ReadAlertTone(image, 5);
  EXPECT_EQ(r.repeat, 4);
  EXPECT_EQ(r.freq[15], 99);
  EXPECT_EQ(r.duration[15], 7);
  EXPECT_EQ(r.freq[0], image.u8(0x460 + 5 * 36 + 3));
  EXPECT_TRUE(ReadAlertTone(image, 8).Empty());
}

}  // namespace
}  // namespace vb420::sigtest
