// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PtyPeer.h"
#include "ScriptedPrompter.h"
#include "link/RadioLink.h"

namespace vb420 {
namespace {

using testing::PtyPeer;
using testing::ScriptedPrompter;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint8_t ACK = 0x06, NAK = 0x15, SYN = 0x16;

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The radio's side as a list of exchanges: when the link has sent exactly
// `expect`, the peer answers `reply`. Anything else is recorded as a mismatch.
struct Step {
  Bytes expect;
  Bytes reply;
};

class Exchanges {
 public:
  explicit Exchanges(std::vector<Step> steps) : steps_(std::move(steps)) {}
  void operator()(PtyPeer& p, std::optional<uint8_t> b, long) {
    if (!b) return;
    pending_.push_back(*b);
    if (next_ >= steps_.size()) {
      extra_.push_back(*b);
      return;
    }
    const Bytes& want = steps_[next_].expect;
    if (pending_.size() < want.size()) return;
    if (pending_ != want) mismatch_ = true;
    p.Send(steps_[next_].reply);
    pending_.clear();
    ++next_;
  }
  size_t done() const { return next_; }
  bool mismatch() const { return mismatch_; }
  const Bytes& extra() const { return extra_; }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
  Bytes pending_;
  Bytes extra_;
  bool mismatch_ = false;
};

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetDevicePath(peer.Path());
    ASSERT_EQ(link.SetOpenState(1), 1);
  }
  // A link already in program mode: 19200 baud, 550 ms.
  void InProgramMode(uint32_t timeout = 550) {
    link.SetBaudField("19200");
    link.SetReadTimeout(timeout);
  }
  void Run(std::vector<Step> steps) {
    script = std::make_shared<Exchanges>(std::move(steps));
    auto s = script;
    peer.Start([s](PtyPeer& p, std::optional<uint8_t> b, long baud) { (*s)(p, b, baud); });
  }
  void ExpectAllExchanged() {
    peer.Stop();
    EXPECT_FALSE(script->mismatch());
    EXPECT_TRUE(script->extra().empty());
  }

  PtyPeer peer;
  RadioLink link;
  std::shared_ptr<Exchanges> script;
};

Bytes Block(uint8_t fill) { return Bytes(256, fill); }
Bytes Counting() {
  Bytes b(256);
  for (int i = 0; i < 256; ++i) b[i] = static_cast<uint8_t>(i * 7 + 3);
  return b;
}

// ---------------------------------------------------------------------------
// Program-mode entry and the baud hunt

// A radio that listens at `listenBaud`, and confirms at 19200 unless told not
// to at the rates in `noAckAt`.
struct ListeningRadio {
  ListeningRadio(long listen, std::vector<long> noAck) : listenBaud(listen), noAckAt(std::move(noAck)) {}
  long listenBaud;
  std::vector<long> noAckAt;
  Bytes heard;
  bool awaitingSwitch = false;
  Clock::time_point synAt;

  void operator()(PtyPeer& p, std::optional<uint8_t> b, long baud) {
    if (awaitingSwitch) {
      if (baud == 19200) {
        p.Send(ACK);
        awaitingSwitch = false;
      } else if (Clock::now() - synAt > std::chrono::milliseconds(600)) {
        awaitingSwitch = false;
      }
    }
    if (!b) return;
    heard.push_back(*b);
    if (heard.size() > 7) heard.erase(heard.begin());
    if (Str("VB420PP") != heard || baud != listenBaud) return;
    heard.clear();
    p.Send(SYN);
    bool ack = true;
    for (long r : noAckAt) ack = ack && r != baud;
    if (ack) {
      awaitingSwitch = true;
      synAt = Clock::now();
    }
  }
};

TEST_F(LinkTest, EntryFindsRadioAt4800OnThirdRateAndRunsAt19200) {
  auto radio = std::make_shared<ListeningRadio>(4800, std::vector<long>{});
  peer.Start([radio](PtyPeer& p, std::optional<uint8_t> b, long baud) { (*radio)(p, b, baud); });
  ASSERT_EQ(link.EnterProgramMode(), LinkResult::kOk);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("VB420PP"), (std::vector<long>{9600, 19200, 4800}));
  EXPECT_EQ(link.GetModeString(), "19200,N,8,2");
  EXPECT_EQ(link.ReadTimeout(), 550u);
  EXPECT_EQ(peer.Baud(), 19200);
}

TEST_F(LinkTest, SynWithoutAckMovesOnToTheNextRate) {
  // SYN at 9600 but never confirmed; at 19200 the radio answers fully.
  auto radio = std::make_shared<ListeningRadio>(9600, std::vector<long>{9600});
  int calls = 0;
  peer.Start([radio, &calls](PtyPeer& p, std::optional<uint8_t> b, long baud) {
    if (b && baud == 19200) {
      radio->heard.push_back(*b);
      if (radio->heard.size() > 7) radio->heard.erase(radio->heard.begin());
      if (Str("VB420PP") == radio->heard) {
        ++calls;
        p.Send({SYN, ACK});
      }
      return;
    }
    (*radio)(p, b, baud);
  });
  ASSERT_EQ(link.EnterProgramMode(), LinkResult::kOk);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("VB420PP"), (std::vector<long>{9600, 19200}));
  EXPECT_EQ(calls, 1);
}

TEST_F(LinkTest, SilentRadioFailsAfterSevenRatesAndRestoresTimeOut) {
  int pumps = 0;
  link.SetReadTimeout(1234);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  EXPECT_EQ(link.EnterProgramMode([&pumps] { ++pumps; }), LinkResult::kFailed);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("VB420PP"), (std::vector<long>{9600, 19200, 4800, 2400, 1200, 38400, 57600}));
  EXPECT_EQ(link.GetModeString(), "19200,N,8,2");
  EXPECT_EQ(link.ReadTimeout(), 1234u);
  EXPECT_GE(pumps, 7 * 2 + 1);  // events run before each call and each wait
}

// ---------------------------------------------------------------------------
// Identify, end, test-mode entry

TEST_F(LinkTest, IdentifyReturnsModelBytesAndCloses) {
  InProgramMode();
  const Bytes model = {'M', '2', '6', '0', '0', 0x06, 0xFE, 0xFF};
  Run({{{0x02}, model}, {{ACK}, {ACK}}});
  ModelBytes got{};
  ASSERT_EQ(link.Identify(got), LinkResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(Bytes(got.begin(), got.end()), model);
}

TEST_F(LinkTest, IdentifyFailsWhenCloseIsNotAck) {
  InProgramMode();
  Run({{{0x02}, Str("M1600\x04\xff\xff")}, {{ACK}, {NAK}}});
  ModelBytes got{};
  EXPECT_EQ(link.Identify(got), LinkResult::kFailed);
}

TEST_F(LinkTest, EndFallsBackTo9600WhenUnanswered) {
  InProgramMode(100);
  peer.Start([](PtyPeer& p, std::optional<uint8_t> b, long baud) {
    if (b == 'E' && baud == 9600) p.Send(ACK);
  });
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("E"), (std::vector<long>{19200, 9600}));
  EXPECT_EQ(link.GetModeString(), "9600,N,8,2");
}

// A radio that has fallen back to its calling rate answers 'E' at 19200 with
// a garbled byte; only the 'E' at 9600 reaches it.
TEST_F(LinkTest, EndAnsweredWithOtherByteIsRetriedAt9600) {
  InProgramMode(100);
  peer.Start([](PtyPeer& p, std::optional<uint8_t> b, long baud) {
    if (b != 'E') return;
    p.Send(baud == 9600 ? ACK : 0xF8);
  });
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("E"), (std::vector<long>{19200, 9600}));
  EXPECT_EQ(link.GetModeString(), "9600,N,8,2");
}

TEST_F(LinkTest, EndFailsWhenNeitherTryIsAcknowledged) {
  InProgramMode(100);
  peer.Start([](PtyPeer& p, std::optional<uint8_t> b, long) {
    if (b == 'E') p.Send(NAK);
  });
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kFailed);
  peer.Stop();
  EXPECT_EQ(peer.SpeedsOf("E"), (std::vector<long>{19200, 9600}));
}

TEST_F(LinkTest, EndAnsweredAt19200SendsOneE) {
  InProgramMode();
  Run({{{'E'}, {ACK}}});
  EXPECT_EQ(link.EndProgramMode(), LinkResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, TestModeOpensAt9600AndSendsTuning) {
  InProgramMode();
  ASSERT_EQ(link.OpenForTestMode(), LinkResult::kOk);
  EXPECT_EQ(link.GetModeString(), "9600,N,8,2");
  EXPECT_EQ(link.ReadTimeout(), 1500u);
  Run({{Str("TUNING "), {ACK}}});
  EXPECT_EQ(link.EnterTestMode(), LinkResult::kOk);
  ExpectAllExchanged();
}

// ---------------------------------------------------------------------------
// Block read

TEST_F(LinkTest, BlockReadFullBlockWithGoodChecksum) {
  InProgramMode();
  const Bytes data = Counting();
  // The sum of the counting block is 0x80; its exclusive-or would be 0x00.
  Run({{{'R', 0x00, 0xBF}, Cat({{'W'}, data, {0x80}})}, {{ACK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 191), BlockReadResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(buf, data);
}

TEST_F(LinkTest, BlockReadWithExclusiveOrCheckByteIsNaked) {
  InProgramMode();
  const Bytes data = Counting();
  Run({{{'R', 0x00, 0x10}, Cat({{'W'}, data, {0x00}})}, {{NAK}, {ACK}},
       {{'R', 0x00, 0x10}, Cat({{'W'}, data, {0x80}})}, {{ACK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 16), BlockReadResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockReadFillAnswerFillsTheBlockWhateverTheCode) {
  InProgramMode();
  Run({{{'R', 0x00, 0x05}, {'Z', 0xFF}}, {{ACK}, {ACK}}, {{'R', 0x00, 0x06}, {0x33, 0x5A}}, {{ACK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 5), BlockReadResult::kOk);
  EXPECT_EQ(buf, Block(0xFF));
  EXPECT_EQ(link.BlockRead(buf.data(), 6), BlockReadResult::kOk);
  EXPECT_EQ(buf, Block(0x5A));
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockReadChecksumMismatchIsNakedAndAskedAgain) {
  InProgramMode();
  const Bytes data = Counting();
  const uint8_t sum = Sum8(data.data(), 256);
  const Bytes bad = Cat({{'W'}, data, {static_cast<uint8_t>(sum + 1)}});
  Run({{{'R', 0x01, 0x00}, bad},
       {{NAK}, {ACK}},
       {{'R', 0x01, 0x00}, Cat({{'W'}, data, {sum}})},
       {{ACK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 256), BlockReadResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(buf, data);
}

TEST_F(LinkTest, BlockReadThreeMismatchesGiveResultOne) {
  InProgramMode();
  const Bytes data = Counting();
  const Bytes bad = Cat({{'W'}, data, {static_cast<uint8_t>(Sum8(data.data(), 256) ^ 0x80)}});
  Run({{{'R', 0, 9}, bad}, {{NAK}, {ACK}}, {{'R', 0, 9}, bad}, {{NAK}, {ACK}}, {{'R', 0, 9}, bad}, {{NAK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 9), BlockReadResult::kFailed);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockReadNakNotAcknowledgedGives13) {
  InProgramMode();
  const Bytes data = Counting();
  Run({{{'R', 0, 1}, Cat({{'W'}, data, {static_cast<uint8_t>(Sum8(data.data(), 256) + 3)}})}, {{NAK}, {NAK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 1), BlockReadResult::kNakNotAcked);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockReadClosedWithOtherByteGives10) {
  InProgramMode();
  Run({{{'R', 0, 2}, {'Z', 0x00}}, {{ACK}, {0x41}}});
  Bytes buf(256, 1);
  EXPECT_EQ(link.BlockRead(buf.data(), 2), BlockReadResult::kNotAcked);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockReadSilenceTriesThreeTimes) {
  InProgramMode(60);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 3), BlockReadResult::kFailed);
  peer.Stop();
  EXPECT_EQ(peer.FromLink(), (Bytes{'R', 0, 3, 'R', 0, 3, 'R', 0, 3}));
}

TEST_F(LinkTest, BlockReadShortBlockIsAFailedAttempt) {
  InProgramMode(80);
  const Bytes data = Counting();
  const Bytes shortAnswer = Cat({{'W'}, Bytes(data.begin(), data.begin() + 200)});
  Run({{{'R', 0, 4}, shortAnswer}, {{'R', 0, 4}, Cat({{'W'}, data, {Sum8(data.data(), 256)}})}, {{ACK}, {ACK}}});
  Bytes buf(256, 0);
  EXPECT_EQ(link.BlockRead(buf.data(), 4), BlockReadResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(buf, data);
}

// ---------------------------------------------------------------------------
// Block write

TEST_F(LinkTest, BlockWriteOfEqualBytesGoesAsZ) {
  InProgramMode();
  Run({{{'Z', 0x00, 0x07, 0xFF}, {ACK}}});
  const Bytes block = Block(0xFF);
  EXPECT_EQ(link.BlockWrite(block.data(), 7), LinkResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockWriteDifferingInLastByteGoesWhole) {
  InProgramMode();
  Bytes block = Block(0xFF);
  block[255] = 0xFE;
  const uint8_t sum = Sum8(block.data(), 256);
  EXPECT_EQ(sum, static_cast<uint8_t>(255 * 0xFF + 0xFE));
  Run({{Cat({{'W', 0x00, 0xBF}, block, {sum}}), {ACK}}});
  EXPECT_EQ(link.BlockWrite(block.data(), 191), LinkResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockWriteRepeatsOnRefusalUpToThreeTimes) {
  InProgramMode();
  const Bytes block = Counting();
  const Bytes req = Cat({{'W', 0, 8}, block, {0x80}});
  Run({{req, {NAK}}, {req, {NAK}}, {req, {ACK}}});
  EXPECT_EQ(link.BlockWrite(block.data(), 8), LinkResult::kOk);
  ExpectAllExchanged();

  Run({{req, {NAK}}, {req, {0x00}}, {req, {NAK}}});
  EXPECT_EQ(link.BlockWrite(block.data(), 8), LinkResult::kFailed);
  ExpectAllExchanged();
}

TEST_F(LinkTest, BlockWriteSilenceEndsAtOnce) {
  InProgramMode(60);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  const Bytes block = Block(0x00);
  EXPECT_EQ(link.BlockWrite(block.data(), 1), LinkResult::kFailed);
  peer.Stop();
  EXPECT_EQ(peer.FromLink(), (Bytes{'Z', 0, 1, 0x00}));
}

// ---------------------------------------------------------------------------
// Extension area

TEST_F(LinkTest, AreaReadIgnoresHeaderAndCloses) {
  InProgramMode();
  Bytes data(64);
  for (int i = 0; i < 64; ++i) data[i] = static_cast<uint8_t>(0xA0 + i);
  Run({{{'S', 0x11, 0xC0, 64}, Cat({{0x99}, data})}, {{ACK}, {ACK}}});
  Bytes buf(64, 0);
  EXPECT_EQ(link.AreaRead(buf.data(), 0x11C0, 64), LinkResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(buf, data);
}

TEST_F(LinkTest, AreaWriteSendsOffsetLengthData) {
  InProgramMode();
  const Bytes data(48, 0x31);
  Run({{Cat({{'X', 0x06, 0x50, 48}, data}), {ACK}}});
  EXPECT_EQ(link.AreaWrite(data.data(), 0x650, 48), LinkResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, AreaPieceOutsideTheAreaIsRefusedUnsent) {
  InProgramMode(60);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  Bytes buf(256, 0);
  EXPECT_EQ(link.AreaRead(buf.data(), 0x11F0, 64), LinkResult::kFailed);
  EXPECT_EQ(link.AreaWrite(buf.data(), 0x1000, 0), LinkResult::kFailed);
  EXPECT_EQ(link.AreaWrite(buf.data(), 0, 256), LinkResult::kFailed);
  EXPECT_EQ(link.AreaRead(buf.data(), -1, 4), LinkResult::kFailed);
  peer.Stop();
  EXPECT_TRUE(peer.FromLink().empty());
}

// ---------------------------------------------------------------------------
// Queries and settings

TEST_F(LinkTest, PasswordsEmptyAndShortAndResults) {
  InProgramMode(80);
  Run({{{0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {ACK}},
       {{0x03, '1', '2', 0, 0, 0, 0}, {NAK}},
       {{0x2D, '1', '2', '3', '4', '5', '6'}, {}}});
  EXPECT_EQ(link.SendReadPassword(PasswordBytes("")), PasswordResult::kOk);
  EXPECT_EQ(link.SendOverwritePassword(PasswordBytes("12")), PasswordResult::kWrong);
  EXPECT_EQ(link.SendTechnicianPassword(PasswordBytes("1234567")), PasswordResult::kNoAnswer);
  ExpectAllExchanged();
}

TEST_F(LinkTest, DateStampCarriesTheLocalClock) {
  InProgramMode();
  const DateStamp before = DateStampNow();
  peer.Start([](PtyPeer& p, std::optional<uint8_t>, long) {});
  // Answer once all 7 bytes are in.
  peer.Stop();
  auto collected = std::make_shared<Bytes>();
  peer.Start([collected](PtyPeer& p, std::optional<uint8_t> b, long) {
    if (b) collected->push_back(*b);
    if (b && collected->size() == 7) p.Send(ACK);
  });
  EXPECT_EQ(link.SendDateStamp(DateStampNow()), LinkResult::kOk);
  peer.Stop();
  ASSERT_EQ(collected->size(), 7u);
  EXPECT_EQ((*collected)[0], 0x5F);
  EXPECT_EQ((*collected)[1], before[0]);
  EXPECT_EQ((*collected)[2], before[1]);
}

TEST_F(LinkTest, VersionChecksumPassPort) {
  InProgramMode();
  const Bytes version = Str("V2.03 ABCD");
  const Bytes pp = Str("PP-1.07     ");
  Run({{{0x50}, version}, {{ACK}, {ACK}}, {{0x7C}, {0x1A, 0x2B}}, {{ACK}, {ACK}}, {{0xEC}, pp}, {{ACK}, {ACK}}});
  std::array<uint8_t, 10> v{};
  uint16_t sum = 0;
  std::array<uint8_t, 12> p{};
  EXPECT_EQ(link.VersionQuery(v), LinkResult::kOk);
  EXPECT_EQ(Bytes(v.begin(), v.end()), version);
  EXPECT_EQ(link.FirmwareChecksum(sum), LinkResult::kOk);
  EXPECT_EQ(sum, 0x1A2B);
  EXPECT_EQ(ChecksumText(sum), "1A2B");
  EXPECT_EQ(link.ReadTimeout(), 500u);
  EXPECT_EQ(link.PassPortVersion(p), LinkResult::kOk);
  EXPECT_EQ(Bytes(p.begin(), p.end()), pp);
  ExpectAllExchanged();
}

Bytes InfoRecord(uint8_t first, int sumDelta) {
  Bytes data = Str("VT-2400\xff\xff\xff\xff\xff" "K3\xff\xff" "000012345678" "\xff\xff\xff\xff");
  Bytes rec = Cat({{first}, data, {static_cast<uint8_t>(Sum8(data.data(), 32) + sumDelta)}});
  return rec;
}

TEST_F(LinkTest, InformationRecordChecks) {
  InProgramMode();
  Run({{Str("URK"), InfoRecord(0x55, 0)}, {{ACK}, {ACK}},
       {Str("URK"), InfoRecord(0x54, 0)}, {{ACK}, {ACK}},
       {Str("URK"), InfoRecord(0x55, 1)}, {{ACK}, {ACK}}});
  std::array<uint8_t, 32> info{};
  ASSERT_EQ(link.InformationQuery(info), LinkResult::kOk);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(info.data()) + 16, 12), "000012345678");
  EXPECT_EQ(link.InformationQuery(info), LinkResult::kFailed);  // good sum, wrong first byte
  EXPECT_EQ(link.InformationQuery(info), LinkResult::kFailed);  // right first byte, wrong sum
  ExpectAllExchanged();
}

// ---------------------------------------------------------------------------
// Test-mode commands

TEST_F(LinkTest, TestModeCommandForms) {
  InProgramMode();
  Run({{{0xA0, 0x1A, 0x05}, {ACK}},
       {{0xA0, 0x0B}, {ACK}},
       {{0x21, 0x30, 0x1B, 0x0C}, {ACK}},
       {{0x21, 0x20, 0x1C, 0x7F}, {ACK}},
       {{0x92, 0x0C}, {0x44}}, {{ACK}, {ACK}},
       {{0x50, 0x1A, 0x03}, {ACK}},
       {{ACK}, {ACK}}, {{0x22, 0x0D}, {ACK}},
       {{0x84, 0x0E}, {ACK}},
       {{0x86}, {ACK}},
       {{'L'}, {ACK}},
       {{0x08, 0x0D}, {ACK}},
       {{0x10, 0x03}, {0x01, 0x55, 0x00, 0x00, 0x01, 0x55, 0x10, 0x00}}, {{ACK}, {NAK}},
       {{0x11, 0x02}, {ACK}}});
  EXPECT_EQ(link.TestStep(0xA0, 0), LinkResult::kOk);  // sends nothing
  EXPECT_EQ(link.TestStep(0xA0, 5), LinkResult::kOk);
  EXPECT_EQ(link.TestStep(0xA0, -1), LinkResult::kOk);
  EXPECT_EQ(link.TestStep(0x30, -12, true), LinkResult::kOk);
  EXPECT_EQ(link.TestSet(0x20, 0x7F, true), LinkResult::kOk);
  uint8_t value = 0;
  EXPECT_EQ(link.TestQuery(0x92, value), LinkResult::kOk);
  EXPECT_EQ(value, 0x44);
  EXPECT_EQ(link.TestPrefixedSet(3), LinkResult::kOk);
  EXPECT_EQ(link.TestAckSwitch(true), LinkResult::kOk);
  EXPECT_EQ(link.TestSwitch(0x84, false), LinkResult::kOk);
  EXPECT_EQ(link.TestMskRate(true), LinkResult::kOk);
  EXPECT_EQ(link.TestBandwidth(1), LinkResult::kOk);
  EXPECT_EQ(link.TestTransmit(true), LinkResult::kOk);
  EXPECT_EQ(link.ReadTimeout(), 500u);
  std::array<uint8_t, 8> freqs{};
  EXPECT_EQ(link.TestChannel(3, freqs), LinkResult::kOk);  // NAK closes it too
  EXPECT_EQ(freqs[6], 0x10);
  EXPECT_EQ(link.TestSignalling(2), LinkResult::kOk);
  ExpectAllExchanged();
}

TEST_F(LinkTest, TestModeBlocks) {
  InProgramMode();
  Bytes data(149);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  const Bytes tuning(40, 0x12);
  Run({{{0x05}, data}, {{ACK}, {ACK}}, {{'B'}, tuning}, {{ACK}, {ACK}}, {{0x07}, {9, 8}}, {{ACK}, {NAK}}});
  Bytes buf(149);
  EXPECT_EQ(link.TestReadData(buf.data(), 149), LinkResult::kOk);
  EXPECT_EQ(buf, data);
  std::array<uint8_t, 40> t{};
  EXPECT_EQ(link.TestReadTuning(t), LinkResult::kOk);
  EXPECT_EQ(t[39], 0x12);
  EXPECT_EQ(link.TestReadValues(buf.data(), 2), LinkResult::kFailed);  // 0x07 needs ACK to close
  ExpectAllExchanged();
}

TEST_F(LinkTest, BandwidthSelectorOutsideRangeSendsNothing) {
  InProgramMode(50);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  EXPECT_EQ(link.TestBandwidth(3), LinkResult::kFailed);
  peer.Stop();
  EXPECT_TRUE(peer.FromLink().empty());
}

// ---------------------------------------------------------------------------
// Retry wrappers

TEST_F(LinkTest, EntryRetryAsksAndRepeatsUntilTheRadioAnswers) {
  link.SetReadTimeout(1000);
  // Deaf during the first round of seven rates.
  auto calls = std::make_shared<int>(0);
  auto heard = std::make_shared<Bytes>();
  peer.Start([calls, heard](PtyPeer& p, std::optional<uint8_t> b, long) {
    if (!b) return;
    heard->push_back(*b);
    if (heard->size() > 7) heard->erase(heard->begin());
    if (Str("VB420PP") == *heard && ++*calls > 7) p.Send({SYN, ACK});
  });
  ScriptedPrompter prompter;
  prompter.answers = {true};
  int pumps = 0;
  EXPECT_EQ(link.EnterProgramModeWithRetry(prompter, [&pumps] { ++pumps; }), LinkResult::kOk);
  peer.Stop();
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_EQ(*calls, 8);
  EXPECT_TRUE(link.IsOpen());
}

TEST_F(LinkTest, EntryRetryCancelEndsProgramModeAndClosesPort) {
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  ScriptedPrompter prompter;
  EXPECT_EQ(link.EnterProgramModeWithRetry(prompter, {}), LinkResult::kFailed);
  peer.Stop();
  EXPECT_EQ(prompter.asked, (std::vector<int>{270}));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(peer.SpeedsOf("E"), (std::vector<long>{19200, 9600}));
}

TEST_F(LinkTest, IdentifyForReadRefusesPlatformCode) {
  InProgramMode();
  Run({{{0x02}, Str("M9300\x04\xff\xff")}, {{ACK}, {ACK}}, {{'E'}, {ACK}}});
  ScriptedPrompter prompter;
  ModelBytes got{};
  EXPECT_EQ(link.IdentifyForRead(prompter, {}, got), LinkResult::kFailed);
  ExpectAllExchanged();
  EXPECT_EQ(prompter.asked, (std::vector<int>{294}));
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(LinkTest, IdentifyForReadRetriesUnsupportedModel) {
  InProgramMode();
  // VT-2600 on the VHF band is not a known model; the second answer is.
  Run({{{0x02}, Str("M2600\x04\xff\xff")}, {{ACK}, {ACK}}, {{0x02}, Str("M2600\x07\xff\xff")}, {{ACK}, {ACK}}});
  ScriptedPrompter prompter;
  prompter.answers = {true};
  ModelBytes got{};
  EXPECT_EQ(link.IdentifyForRead(prompter, {}, got), LinkResult::kOk);
  ExpectAllExchanged();
  EXPECT_EQ(prompter.asked, (std::vector<int>{271}));
  EXPECT_EQ(got[5], 0x07);
}

TEST_F(LinkTest, IdentifyForWriteAsksWhenModelBytesDiffer) {
  InProgramMode();
  MemoryBuffers buffers;
  ModelRecord current(buffers);
  current.SetBytes({'M', '1', '6', '0', '0', 0x04, 0xFF, 0xFF});
  // The radio differs only in the power bit: no question. Then in a password bit.
  Run({{{0x02}, Str("M1600\x04\xfb\xff")}, {{ACK}, {ACK}}, {{0x02}, Str("M1600\x04\xfe\xff")}, {{ACK}, {ACK}}});
  ScriptedPrompter prompter;
  ModelBytes got{};
  EXPECT_EQ(link.IdentifyForWrite(prompter, {}, current, got), LinkResult::kOk);
  EXPECT_TRUE(prompter.asked.empty());
  prompter.answers = {true};
  EXPECT_EQ(link.IdentifyForWrite(prompter, {}, current, got), LinkResult::kOk);
  EXPECT_EQ(prompter.asked, (std::vector<int>{274}));
  ExpectAllExchanged();
}

TEST(WriteModelCheck, PlatformCodesAndGenerations) {
  MemoryBuffers buffers;
  ModelRecord current(buffers);
  auto bytes = [](const char* code, uint8_t band, uint8_t b6 = 0xFF) {
    ModelBytes b{};
    std::memcpy(b.data(), code, 5);
    b[5] = band;
    b[6] = b6;
    b[7] = 0xFF;
    return b;
  };
  current.SetBytes(bytes("M1600", 0x04));  // first generation, mobile
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("M9300", 0x04), current), ModelFit::kDiffers);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("P9302", 0x04), current), ModelFit::kRefused);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("S9300", 0x04), current), ModelFit::kRefused);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("M1600", 0x04, 0xFB), current), ModelFit::kAccepted);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("M2600", 0x06), current), ModelFit::kDiffers);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("M1602", 0x04), current), ModelFit::kRefused);  // second generation
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("P1400", 0x04), current), ModelFit::kRefused);  // portable
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("XXXXX", 0x04), current), ModelFit::kRefused);
  current.SetBytes(bytes("M1602", 0x04));
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("S9300", 0x04), current), ModelFit::kDiffers);
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("M9300", 0x04), current), ModelFit::kRefused);
  current.SetBytes(bytes("P2400", 0x06));
  EXPECT_EQ(RadioLink::WriteModelCheck(bytes("P9302", 0x06), current), ModelFit::kDiffers);
}

TEST_F(LinkTest, VersionRetryCancelGivesUp) {
  InProgramMode(60);
  peer.Start([](PtyPeer&, std::optional<uint8_t>, long) {});
  ScriptedPrompter prompter;
  prompter.answers = {true, false};
  std::array<uint8_t, 10> v{};
  EXPECT_EQ(link.VersionQueryWithRetry(prompter, {}, v), LinkResult::kFailed);
  peer.Stop();
  EXPECT_EQ(prompter.asked, (std::vector<int>{270, 270}));
  EXPECT_EQ(peer.FromLink(), (Bytes{0x50, 0x50, 'E', 'E'}));
  EXPECT_FALSE(link.IsOpen());
}

}  // namespace
}  // namespace vb420
