// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli tone: the WAV file it writes for a tone set through `settings`,
// measured here on its own terms (header fields, sounding stretches found by
// their energy, frequency by zero crossings), and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliTone : public vb420::test::NewFileTest {
 protected:
  std::vector<int16_t> Samples(int& rate) {
    const std::vector<uint8_t> b = vb420::testsupport::FileBytes(wav_);
    EXPECT_GE(b.size(), 44u);
    if (b.size() < 44) return {};
    auto u32 = [&b](size_t at) { return uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(b.data() + 8, "WAVE", 4), 0);
    EXPECT_EQ(b[22], 1);   // mono
    EXPECT_EQ(b[34], 16);  // bits
    rate = static_cast<int>(u32(24));
    EXPECT_EQ(u32(40) + 44, b.size());
    std::vector<int16_t> s;
    for (size_t i = 44; i + 1 < b.size(); i += 2) s.push_back(int16_t(b[i] | b[i + 1] << 8));
    return s;
  }
  std::string wav_ = Path("t.wav");
};

TEST_F(CliTone, EachStepHasItsFrequencyAndDuration) {
  // Tone 4: 1230 Hz 120 ms, silence 40 ms, 440 Hz 300 ms; pause 1 s between passes.
  ASSERT_EQ(RunCli("settings " + file_ +
                   " alert.4.pause=1 alert.4.step.1.freq=1234 alert.4.step.1.dur=120 alert.4.step.2.freq=0"
                   " alert.4.step.2.dur=40 alert.4.step.3.freq=440 alert.4.step.3.dur=300"
                   " alert.4.step.4.dur=0 alert.4.step.5.dur=0 alert.4.step.6.dur=0")
                .exitCode,
            0);
  const CliRun r = RunCli("tone " + file_ + " 4 -o " + wav_ + " --repeats 2");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int rate = 0;
  const std::vector<int16_t> s = Samples(rate);
  ASSERT_EQ(rate, 44100);
  EXPECT_NEAR(s.size() * 1000.0 / rate, 2 * 460 + 1000, 1.0);
  // Sounding stretches by their energy in 1 ms windows.
  std::vector<std::pair<long, long>> seg;
  bool on = false;
  long start = 0;
  const long win = rate / 1000;
  for (long w = 0; w * win < long(s.size()); ++w) {
    int peak = 0;
    for (long i = w * win; i < std::min<long>((w + 1) * win, long(s.size())); ++i) peak = std::max(peak, std::abs(int(s[size_t(i)])));
    if (peak > 2000 && !on) start = w * win;
    if (peak <= 2000 && on) seg.push_back({start, w * win});
    on = peak > 2000;
  }
  if (on) seg.push_back({start, long(s.size())});
  ASSERT_EQ(seg.size(), 4u);
  const double hz[] = {1230, 440, 1230, 440};
  const double ms[] = {120, 300, 120, 300};
  for (size_t k = 0; k < seg.size(); ++k) {
    EXPECT_NEAR((seg[k].second - seg[k].first) * 1000.0 / rate, ms[k], 5.0) << k;
    double first = -1, last = -1;
    int n = 0;
    for (long i = seg[k].first + 1; i < seg[k].second; ++i) {
      const double a = s[size_t(i - 1)], b = s[size_t(i)];
      if (a < 0 && b >= 0) {
        const double t = (i - 1) + (-a) / (b - a);
        if (first < 0) first = t;
        last = t;
        ++n;
      }
    }
    ASSERT_GT(n, 2);
    EXPECT_NEAR((n - 1) * rate / (last - first), hz[k], hz[k] * 0.01) << k;
  }
  EXPECT_NEAR((seg[1].first - seg[0].second) * 1000.0 / rate, 40, 5.0);
  EXPECT_NEAR((seg[2].first - seg[1].second) * 1000.0 / rate, 1000, 5.0);
}

TEST_F(CliTone, RefusesBadArguments) {
  EXPECT_EQ(RunCli("tone " + file_ + " 9 -o " + wav_).exitCode, 2);
  EXPECT_EQ(RunCli("tone " + file_ + " 1").exitCode, 2);
  EXPECT_EQ(RunCli("tone " + file_ + " 1 -o " + wav_ + " --repeats 0").exitCode, 2);
  EXPECT_EQ(RunCli("tone " + file_ + " 1 -o " + (dir_ / "no" / "x.wav").string()).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(wav_));
  const CliRun one = RunCli("tone " + file_ + " 1 -o " + wav_);
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_NE(one.out.find("t.wav"), std::string::npos);
}

// A tone none of whose 16 steps lasts anything has nothing to play: refused
// with a message, as the test dialog does not start it, and no file is left.
TEST_F(CliTone, RefusesAToneWithoutDurations) {
  std::string keys;
  for (int step = 1; step <= 16; ++step) keys += " alert.2.step." + std::to_string(step) + ".dur=0";
  ASSERT_EQ(RunCli("settings " + file_ + keys).exitCode, 0);
  const CliRun r = RunCli("tone " + file_ + " 2 -o " + wav_);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("there is nothing to play"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_FALSE(std::filesystem::exists(wav_));
}

}  // namespace
