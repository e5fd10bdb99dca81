// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode against a radio played inside the test: the start sequence, every
// control's command and the adjustment panel's exchanges, byte for byte, and
// what happens when the radio disagrees with the image or stops answering.
#include <csignal>
#include "support/Paths.h"
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/StopRequest.h"
#include "link/TestMode.h"

namespace vb420::testing {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t ACK = ctl::kAck;

const ModelBytes kMobile = {'M', '1', '6', '0', '0', 0x04, 0xFF, 0xFF};    // VT-1600
const ModelBytes kPortable = {'P', '1', '4', '0', '0', 0x04, 0xFF, 0xFF};  // VT-1400
const ModelBytes kSecondGen = {'M', '1', '6', '0', '2', 0x04, 0xFF, 0xFF}; // VT-1602

// A radio in test mode: answers each request the link writes, and logs it.
class BenchLink : public RadioLink {
 public:
  explicit BenchLink(RadioData& data) : data_(data) {
    openpty(&master_, &slave_, nullptr, nullptr, nullptr);
    SetDevicePath(ttyname(slave_));
    model = data.model.Bytes();
    for (int ch = 0; ch < 16; ++ch) data.Image().read(img::kTestFreqs + ch * 10, channels[ch].data(), 8);
    for (int row = 0; row < 5; ++row) data.Image().read(img::kTuningFreqs + row * 10, tuning[row].data(), 8);
  }
  ~BenchLink() override {
    SetOpenState(0);
    ::close(slave_);
    ::close(master_);
  }

  ModelBytes model;
  std::array<std::array<uint8_t, 8>, 16> channels{};  // image order
  std::array<std::array<uint8_t, 8>, 5> tuning{};
  std::map<Bytes, int> silent;  // requests left unanswered this many times
  std::map<uint8_t, uint8_t> values;
  std::vector<Bytes> writes;

  bool WriteBytes(const uint8_t* b, size_t n) override {
    if (!IsOpen()) return false;
    out_.clear();
    const Bytes w(b, b + n);
    writes.push_back(w);
    if (auto it = silent.find(w); it != silent.end() && it->second > 0) {
      --it->second;
      return true;
    }
    Handle(w);
    return true;
  }
  bool Read(uint8_t* b, size_t n) override {
    if (!IsOpen() || out_.size() < n) {
      out_.clear();
      return false;
    }
    for (size_t i = 0; i < n; ++i) {
      b[i] = out_.front();
      out_.pop_front();
    }
    return true;
  }
  int CountWritesOf(const Bytes& w) const {
    int n = 0;
    for (const auto& x : writes) n += x == w;
    return n;
  }
  // The writes from `index` on.
  std::vector<Bytes> WritesFrom(size_t index) const { return {writes.begin() + index, writes.end()}; }

 private:
  static void PutMsbFirst(Bytes& out, const uint8_t* imageOrder) {
    for (int k = 3; k >= 0; --k) out.push_back(imageOrder[k]);
  }
  void Handle(const Bytes& w) {
    const std::string text(w.begin(), w.end());
    if (text == "TUNING ") return Answer({ACK});
    const uint8_t c = w[0];
    if (w.size() == 1) {
      switch (c) {
        case cmd::kIdentify: return Answer(Bytes(model.begin(), model.end()));
        case cmd::kVersion: return Answer({'V', '3', '.', '0', '5', ' ', 0, 0, 0, 0});
        case cmd::kFirmwareChecksum: return Answer({0x12, 0xAB});
        case 'B': {
          Bytes a;
          for (const auto& row : tuning) {
            PutMsbFirst(a, row.data());
            PutMsbFirst(a, row.data() + 4);
          }
          return Answer(a);
        }
        case 0x05: {
          Bytes a(149);
          for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<uint8_t>(i);
          return Answer(a);
        }
        case 0x07: return Answer({0x40, 0x09});
        default: return Answer({ACK});  // ACK, 'E', bandwidth letters, MSK rate
      }
    }
    if (w.size() == 2 && c == 0x10) {
      Bytes a;
      if (w[1] >= 1 && w[1] <= 16) {
        PutMsbFirst(a, channels[w[1] - 1].data());
        PutMsbFirst(a, channels[w[1] - 1].data() + 4);
      } else {
        a.assign(8, 0xFF);
      }
      return Answer(a);
    }
    if (w.size() == 2 && w[1] == 0x0C) return Answer({values[c]});
    Answer({ACK});
  }
  void Answer(const Bytes& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

  RadioData& data_;
  int master_ = -1, slave_ = -1;
  std::deque<uint8_t> out_;
};

Bytes Str(const char* s) { return Bytes(s, s + std::strlen(s)); }

class TestModeTest : public ::testing::Test {
 protected:
  void Use(const ModelBytes& m) {
    data.model.SetBytes(m);
    data.SyncCodecs();
    InitNewImage(data, false);
    link = std::make_unique<BenchLink>(data);
  }
  void SetUp() override { Use(kMobile); }
  // The start sequence as it must go, for a radio that agrees with the image.
  std::vector<Bytes> StartBytes(bool mobile, int firstValid) const {
    std::vector<Bytes> w = {Str("TUNING "), {0x02}, {ACK}, {0x50}, {ACK}};
    for (uint8_t ch = 1; ch <= 16; ++ch) {
      w.push_back({0x10, ch});
      w.push_back({ACK});
    }
    w.push_back({'B'});
    w.push_back({ACK});
    if (mobile) w.push_back({0x21, 0x1C, 0x08});
    w.push_back({0x10, static_cast<uint8_t>(firstValid + 1)});
    w.push_back({ACK});
    w.push_back({0x11, 0x01});
    return w;
  }
  void Started(TestModeSession& s) {
    ASSERT_EQ(s.Start(), TestStart::kStarted);
    mark = link->writes.size();
  }
  std::vector<Bytes> Since() const { return link->WritesFrom(mark); }

  RadioData data;
  std::unique_ptr<BenchLink> link;
  ScriptedPrompter prompter;
  size_t mark = 0;
};

// ---------------------------------------------------------------------------
// The start sequence

TEST_F(TestModeTest, StartSequenceOfAMobileIsExact) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_EQ(link->writes, StartBytes(true, 0));
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_TRUE(s.Active());
  EXPECT_TRUE(link->IsOpen());
  EXPECT_EQ(link->GetModeString().substr(0, 5), "9600,");
  EXPECT_EQ(link->ReadTimeout(), 1500u);
  EXPECT_EQ(s.Channel(), 0);
  EXPECT_EQ(s.Signalling(), 0);
  EXPECT_EQ(s.Bandwidth(), 0);
  EXPECT_FALSE(s.Transmitting());
}

TEST_F(TestModeTest, PortableGetsNoPrefixSetAndStartsOnTheFirstValidChannel) {
  Use(kPortable);
  // Channels 1 and 2 empty in the image (and so in the radio).
  for (int ch = 0; ch < 2; ++ch) {
    data.Image().fill(img::kTestFreqs + ch * 10, 10, 0xFF);
    link->channels[ch].fill(0xFF);
  }
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_EQ(link->writes, StartBytes(false, 2));
  EXPECT_EQ(s.FirstValidChannel(), 2);
  EXPECT_EQ(s.Channel(), 2);
  EXPECT_EQ(s.SignallingCount(), 17);
}

TEST_F(TestModeTest, TestChannelThatDiffersEndsBeforeTheDialogWith272) {
  link->channels[2][1] ^= 0x01;  // channel 3 receive frequency
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kChannelsDiffer);
  EXPECT_EQ(prompter.asked, std::vector<int>{272});
  // Nothing after channel 3 but the end of test mode.
  const std::vector<Bytes> tail(link->writes.end() - 3, link->writes.end());
  EXPECT_EQ(tail, (std::vector<Bytes>{{0x10, 0x03}, {ACK}, {'E'}}));
  EXPECT_FALSE(link->IsOpen());
  EXPECT_FALSE(s.Active());
}

TEST_F(TestModeTest, TransmitFrequencyOrTuningThatDiffersEnds) {
  {
    link->channels[15][4] ^= 0x10;  // channel 16 transmit frequency
    TestModeSession s(*link, data, prompter);
    EXPECT_EQ(s.Start(), TestStart::kChannelsDiffer);
  }
  Use(kMobile);
  link->tuning[4][7] ^= 0x80;  // last tuning pair
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kTuningDiffers);
  EXPECT_EQ(prompter.asked, (std::vector<int>{272, 324}));
  EXPECT_EQ(link->writes.back(), Bytes{'E'});
  EXPECT_EQ(link->writes[link->writes.size() - 3], Bytes{'B'});
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(TestModeTest, ModelChecks) {
  // Another model: 'E', then 273 and the end.
  link->model = kPortable;
  {
    TestModeSession s(*link, data, prompter);
    EXPECT_EQ(s.Start(), TestStart::kModelDiffers);
    EXPECT_EQ(link->writes, (std::vector<Bytes>{Str("TUNING "), {0x02}, {ACK}, {'E'}}));
    EXPECT_EQ(prompter.asked, std::vector<int>{273});
    EXPECT_FALSE(link->IsOpen());
  }
  // The power bit alone does not count.
  link->writes.clear();
  prompter.asked.clear();
  link->model = kMobile;
  link->model[6] &= ~0x04;
  {
    TestModeSession s(*link, data, prompter);
    EXPECT_EQ(s.Start(), TestStart::kStarted);
    EXPECT_TRUE(prompter.asked.empty());
  }
  // An unknown model: 'E' and 271; Retry calls the radio again from "TUNING ".
  link->writes.clear();
  link->model = {'X', '9', '9', '9', '9', 0x04, 0xFF, 0xFF};
  prompter.answers = {true, false};
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kModelRefused);
  EXPECT_EQ(prompter.asked, (std::vector<int>{271, 271}));
  const std::vector<Bytes> once = {Str("TUNING "), {0x02}, {ACK}, {'E'}};
  std::vector<Bytes> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(link->writes, twice);
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(TestModeTest, SilentRadioAtTheCallIsAskedAgainAndCancelSendsNoEnd) {
  link->silent[Str("TUNING ")] = 5;
  prompter.answers = {true, false};
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kCancelled);
  EXPECT_EQ(prompter.asked, (std::vector<int>{270, 270}));
  EXPECT_EQ(link->writes, (std::vector<Bytes>{Str("TUNING "), Str("TUNING ")}));
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(TestModeTest, FailureAfterTheCallRetriesThatCommandAndCancelLeavesTestMode) {
  link->silent[{0x10, 0x05}] = 1;
  link->silent[{0x50}] = 1;
  prompter.answers = {true, true};
  {
    TestModeSession s(*link, data, prompter);
    Started(s);
    EXPECT_EQ(prompter.asked, (std::vector<int>{270, 270}));
    EXPECT_EQ(link->CountWritesOf({0x10, 0x05}), 2);
    EXPECT_EQ(link->CountWritesOf({0x50}), 2);
  }
  // Cancel in the middle of the channel check: the radio is not left in test
  // mode.
  link->writes.clear();
  link->silent[{0x10, 0x07}] = 1;
  prompter.answers = {false};
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kCancelled);
  EXPECT_EQ(link->writes.back(), Bytes{'E'});
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(TestModeTest, PortThatCannotBeOpenedSendsNothing) {
  link->SetDevicePath("/dev/null/none");
  TestModeSession s(*link, data, prompter);
  EXPECT_EQ(s.Start(), TestStart::kPortNotOpened);
  EXPECT_EQ(prompter.asked, std::vector<int>{269});
  EXPECT_TRUE(link->writes.empty());
}

// ---------------------------------------------------------------------------
// The controls

TEST_F(TestModeTest, EachControlSendsItsCommand) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_TRUE(s.SelectChannel(4));
  EXPECT_TRUE(s.SelectSignalling(16));
  EXPECT_TRUE(s.SetBandwidth(2));
  EXPECT_TRUE(s.SetCompander(true));
  EXPECT_TRUE(s.SetBeatShift(false));
  EXPECT_TRUE(s.SetMskRate(true));
  EXPECT_TRUE(s.SetMskRate(false));
  EXPECT_TRUE(s.SetNoiseBlanker(1));
  EXPECT_TRUE(s.ToggleTransmit());
  EXPECT_TRUE(s.ToggleTransmit());
  uint16_t sum = 0;
  EXPECT_TRUE(s.ReadChecksum(sum));
  EXPECT_TRUE(s.ReadTestData());
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x10, 0x05}, {ACK}, {0x11, 0x11}, {'F'}, {0x84, 0x0D}, {0x0B, 0x0E},
                                         {0x86}, {0x85}, {'L'}, {0x08, 0x0D}, {0x08, 0x0E}, {0x7C}, {ACK},
                                         {0x05}, {ACK}}));
  EXPECT_EQ(ChecksumText(sum), "12AB");
  EXPECT_EQ(s.TestData()[148], 148);
  EXPECT_EQ(s.Channel(), 4);
  EXPECT_EQ(s.Signalling(), 16);
  EXPECT_EQ(s.Bandwidth(), 2);  // the noise blanker leaves it
  EXPECT_EQ(link->ReadTimeout(), 500u);  // as the transmitter and check sum exchanges leave it
  // Numbers outside the radio's range send nothing.
  mark = link->writes.size();
  EXPECT_TRUE(s.SelectChannel(16));
  EXPECT_TRUE(s.SelectSignalling(17));
  EXPECT_TRUE(s.SetBandwidth(3));
  EXPECT_TRUE(Since().empty());
}

TEST_F(TestModeTest, SecondGenerationHasSixteenSignallingEntries) {
  Use(kSecondGen);
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_EQ(s.SignallingCount(), 16);
  EXPECT_TRUE(s.SelectSignalling(15));
  EXPECT_TRUE(s.SelectSignalling(16));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x11, 0x10}}));
}

TEST_F(TestModeTest, ChannelSpinSkipsInvalidChannelsAndWraps) {
  // The new image holds 7 test channels; clear the third.
  data.Image().fill(img::kTestFreqs + 2 * 10, 10, 0xFF);
  link->channels[2].fill(0xFF);
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_EQ(s.StepChannel(1, +1), 3);
  EXPECT_EQ(s.StepChannel(3, -1), 1);
  EXPECT_EQ(s.StepChannel(6, +1), 0);   // past the last valid one, round to the first
  EXPECT_EQ(s.StepChannel(15, +1), 0);  // from 16 to the first valid from 1
  EXPECT_EQ(s.StepChannel(0, -1), 6);
  data.Image().fill(img::kTestFreqs, 160, 0xFF);
  EXPECT_EQ(s.StepChannel(5, +1), 5);  // none valid: stays
}

TEST_F(TestModeTest, FailedControlRetriesTheSameCommandOrEndsTestMode) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  link->silent[{0x84, 0x0D}] = 1;
  prompter.answers = {true};
  EXPECT_TRUE(s.SetCompander(true));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x84, 0x0D}, {0x84, 0x0D}}));
  // Cancel while transmitting unkeys, ends with 'E' and closes the port.
  EXPECT_TRUE(s.SetTransmit(true));
  mark = link->writes.size();
  link->silent[{0x11, 0x02}] = 1;
  EXPECT_FALSE(s.SelectSignalling(1));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x11, 0x02}, {0x08, 0x0E}, {'E'}}));
  EXPECT_FALSE(s.Active());
  EXPECT_FALSE(link->IsOpen());
  EXPECT_FALSE(s.Transmitting());
  // Nothing more goes out once test mode has ended.
  EXPECT_FALSE(s.SetBandwidth(0));
  EXPECT_EQ(s.End(), TransferResult::kOk);
  EXPECT_EQ(Since().size(), 3u);
}

TEST_F(TestModeTest, ClosingWhileTransmittingUnkeysThenEndsWithE) {
  {
    TestModeSession s(*link, data, prompter);
    Started(s);
    EXPECT_TRUE(s.SetTransmit(true));
    EXPECT_EQ(s.End(), TransferResult::kOk);
    EXPECT_EQ(Since(), (std::vector<Bytes>{{0x08, 0x0D}, {0x08, 0x0E}, {'E'}}));
    EXPECT_FALSE(link->IsOpen());
  }
  // A session dropped without End still ends test mode.
  link->writes.clear();
  {
    TestModeSession s(*link, data, prompter);
    Started(s);
  }
  EXPECT_EQ(link->writes.back(), Bytes{'E'});
}

TEST_F(TestModeTest, AStopRequestSendsNoNewCommandAndLeavesTheRadioSafe) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  EXPECT_TRUE(s.SetTransmit(true));
  mark = link->writes.size();
  RequestStop(SIGINT);
  // The next command is not sent: the radio is unkeyed and test mode ends.
  EXPECT_FALSE(s.SelectChannel(2));
  ClearStop();
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x08, 0x0E}, {'E'}}));
  EXPECT_FALSE(s.Active());
  EXPECT_EQ(s.LastEnd(), TransferResult::kOk);
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(TestModeTest, AnEndTheRadioNeverConfirmsIsSentTwiceAndReported) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  link->silent[{'E'}] = 4;
  EXPECT_EQ(s.End(), TransferResult::kEndFailed);
  EXPECT_EQ(s.LastEnd(), TransferResult::kEndFailed);
  EXPECT_EQ(Since(), (std::vector<Bytes>{{'E'}, {'E'}, {'E'}, {'E'}}));
}

// ---------------------------------------------------------------------------
// The adjustment items and panel

TEST(AdjustmentItems, AvailabilityPointsAndNames) {
  const std::vector<int> mobile = AvailableItems(0);
  const std::vector<int> portable = AvailableItems(8);
  EXPECT_EQ(mobile, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22, 23}));
  EXPECT_EQ(portable, (std::vector<int>{1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                        23, 24}));
  EXPECT_EQ(PointCount(8, 0), 4);
  EXPECT_EQ(PointCount(8, 1), 1);
  EXPECT_EQ(PointCount(8, 2), 1);
  EXPECT_EQ(PointCount(14, 0), 4);
  EXPECT_EQ(PointCount(14, 1), 4);
  EXPECT_EQ(PointCount(14, 2), 1);
  EXPECT_EQ(PointCount(18, 2), 6);
  EXPECT_EQ(PointCode(6, 2, 0), 0x33);
  EXPECT_EQ(PointCode(8, 1, 2), 0);  // that point is gone with this bandwidth
  EXPECT_EQ(PointCode(24, 0, 0), 0x1E);
  EXPECT_EQ(PointNameEntry(4, 2), 261);
  EXPECT_EQ(PointNameEntry(6, 5), 263);
  EXPECT_EQ(PointNameEntry(1, 0), 0);
  EXPECT_EQ(AdjustmentItemAt(0).codes[0], 0xB3);
  EXPECT_EQ(AdjustmentItemAt(23).codes[3], 0xB2);
}

TEST(AdjustmentItems, ListEntryNamesBandwidthAndPoint) {
  TextTable text;
  const std::string lng = ::vb420::testsupport::ResourceDir() + "/vb420.lng";
  ASSERT_EQ(text.LoadFile(lng, "English"), TextTable::LoadResult::Ok);
  EXPECT_EQ(AdjustmentListText(text, 8, 0), "QT Deviation (Narrow)");
  EXPECT_EQ(AdjustmentListText(text, 8, 2), "QT Deviation (Wide, Test Channel)");
  EXPECT_EQ(AdjustmentListText(text, 8, 1), "QT Deviation (Test Channel)");
  EXPECT_EQ(AdjustmentListText(text, 6, 2), "Maximum Deviation");
  ASSERT_EQ(text.LoadFile(lng, "Spanish"), TextTable::LoadResult::Ok);
  EXPECT_EQ(AdjustmentListText(text, 9, 2), "Desviación DQT (Ancha, Canal de prueba)");
}

TEST_F(TestModeTest, PanelOpensStepsSetsAndChangesTab) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  AdjustmentPanelState p(s, 6);
  EXPECT_EQ(p.Points(), 6);
  ASSERT_TRUE(p.Open());
  EXPECT_EQ(p.Value(), 0x40);
  EXPECT_EQ(p.Volume(), 0x09);
  EXPECT_TRUE(p.StepValue(1));
  EXPECT_TRUE(p.StepValue(-1));
  EXPECT_TRUE(p.StepValue(5));
  EXPECT_TRUE(p.StepValue(-12));
  EXPECT_TRUE(p.StepValue(0));
  EXPECT_TRUE(p.SetValue(0x7F));
  EXPECT_TRUE(p.SelectPoint(2));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x12, 0x0D}, {0x07}, {ACK}, {0x12, 0x0A}, {0x12, 0x0B},
                                         {0x12, 0x1A, 0x05}, {0x12, 0x1B, 0x0C}, {0x12, 0x1C, 0x7F},
                                         {0x12, 0x0E}, {0x33, 0x0D}, {0x07}, {ACK}}));
  // The value stays within one byte: a step past the end sends only what fits.
  mark = link->writes.size();
  EXPECT_TRUE(p.SetValue(250));
  EXPECT_TRUE(p.StepValue(10));
  EXPECT_EQ(p.Value(), 255);
  EXPECT_TRUE(p.StepValue(1));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x33, 0x1C, 0xFA}, {0x33, 0x1A, 0x05}}));
}

TEST_F(TestModeTest, PanelVolumeUsesThePrefixedForms) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  AdjustmentPanelState squelch(s, 15);
  EXPECT_TRUE(squelch.HasVolume());
  ASSERT_TRUE(squelch.Open());
  mark = link->writes.size();
  EXPECT_TRUE(squelch.StepVolume(1));
  EXPECT_TRUE(squelch.SetVolume(3));
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x21, 0x1D, 0x0A}, {0x21, 0x1D, 0x1C, 0x03}}));
  EXPECT_FALSE(AdjustmentPanelState(s, 6).HasVolume());
}

TEST_F(TestModeTest, PanelQueryTimersByItem) {
  Use(kPortable);
  TestModeSession s(*link, data, prompter);
  Started(s);
  link->values[0x92] = 0x33;
  AdjustmentPanelState rssi(s, 20);
  ASSERT_TRUE(rssi.Open());
  mark = link->writes.size();
  EXPECT_TRUE(rssi.QueryDue());
  EXPECT_TRUE(rssi.Query());
  EXPECT_EQ(rssi.Value(), 0x33);
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x92, 0x0C}, {ACK}}));
  EXPECT_TRUE(rssi.Ok());

  // Item 24 is read only while transmitting.
  AdjustmentPanelState battery(s, 24);
  ASSERT_TRUE(battery.Open());
  mark = link->writes.size();
  EXPECT_FALSE(battery.QueryDue());
  EXPECT_TRUE(battery.Query());  // not due: nothing sent
  EXPECT_TRUE(battery.ToggleTransmit());
  EXPECT_TRUE(battery.QueryDue());
  EXPECT_TRUE(battery.Query());
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x08, 0x0D}, {0x1E, 0x0C}, {ACK}}));
  EXPECT_FALSE(AdjustmentPanelState(s, 6).QueryDue());
}

TEST_F(TestModeTest, PanelOkAndCancelInTheirOrder) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  ASSERT_TRUE(s.SelectChannel(3));
  ASSERT_TRUE(s.SelectSignalling(2));
  {
    AdjustmentPanelState p(s, 2);
    ASSERT_TRUE(p.Open());
    ASSERT_TRUE(p.ToggleTransmit());
    mark = link->writes.size();
    EXPECT_TRUE(p.Ok());
    EXPECT_EQ(Since(), (std::vector<Bytes>{{0x08, 0x0E}, {0xA0, 0x0E}}));
  }
  {
    AdjustmentPanelState p(s, 2);
    ASSERT_TRUE(p.Open());
    mark = link->writes.size();
    EXPECT_TRUE(p.Ok());  // not transmitting: the point only
    EXPECT_EQ(Since(), (std::vector<Bytes>{{0xA0, 0x0E}}));
  }
  AdjustmentPanelState p(s, 3);
  ASSERT_TRUE(p.Open());
  ASSERT_TRUE(p.ToggleTransmit());
  mark = link->writes.size();
  EXPECT_TRUE(p.Cancel());
  EXPECT_EQ(Since(), (std::vector<Bytes>{{0x08, 0x0E}, {0x05}, {ACK}, {0x10, 0x04}, {ACK}, {0x11, 0x03}}));
  EXPECT_FALSE(s.Transmitting());
}

TEST_F(TestModeTest, PanelItemThatFollowsBandwidth) {
  TestModeSession s(*link, data, prompter);
  Started(s);
  ASSERT_TRUE(s.SetBandwidth(2));
  AdjustmentPanelState p(s, 9);
  EXPECT_EQ(p.Points(), 1);
  ASSERT_TRUE(p.Open());
  EXPECT_EQ(p.Code(), 0x17);
  EXPECT_TRUE(p.SelectPoint(1));  // no such point: nothing sent
  EXPECT_EQ(p.Point(), 0);
}

}  // namespace
}  // namespace vb420::testing
