// SPDX-License-Identifier: GPL-3.0-or-later
// The program and its simulated radio each state the wire format on their
// own. Both are held here against the byte values of the protocol written out
// as literals, so that neither side can drift, and a change on one side alone
// does not pass because the other side copied it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../../tools/sim/SimModels.h"
#include "../../../tools/sim/SimWire.h"
#include "data/ModelRecord.h"
#include "link/RadioLink.h"

namespace vb420 {
namespace {

namespace w = sim::wire;
using Bytes = std::vector<uint8_t>;

Bytes Of(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(WireFormat, BothSidesUseTheProtocolsBytes) {
  // Control bytes and answer markers.
  EXPECT_EQ((Bytes{ctl::kAck, ctl::kNak, ctl::kSyn, ctl::kDataMarker, ctl::kRecordMarker}),
            (Bytes{0x06, 0x15, 0x16, 0x57, 0x55}));
  EXPECT_EQ((Bytes{w::kAck, w::kNak, w::kSyn, w::kFullBlockMarker, w::kInfoMarker, w::kFillBlockMarker}),
            (Bytes{0x06, 0x15, 0x16, 0x57, 0x55, 0x5A}));

  // The calls.
  EXPECT_EQ(Of(cmd::kEntry), (Bytes{0x56, 0x42, 0x34, 0x32, 0x30, 0x50, 0x50}));
  EXPECT_EQ(Of(w::kProgramCall), (Bytes{0x56, 0x42, 0x34, 0x32, 0x30, 0x50, 0x50}));
  EXPECT_EQ(Of(cmd::kTestEntry), (Bytes{0x54, 0x55, 0x4E, 0x49, 0x4E, 0x47, 0x20}));
  EXPECT_EQ(Of(w::kTuningCall), (Bytes{0x54, 0x55, 0x4E, 0x49, 0x4E, 0x47, 0x20}));
  EXPECT_EQ(Of(cmd::kInformation), (Bytes{0x55, 0x52, 0x4B}));
  EXPECT_EQ(Of(w::kInfoQuery), (Bytes{0x55, 0x52, 0x4B}));

  // Program-mode commands, in one order on both sides.
  const Bytes commands = {0x02, 0x03, 0x04, 0x2D, 0x45, 0x52, 0x57, 0x5A, 0x53, 0x58, 0x50, 0x5F, 0x7C, 0xEC};
  EXPECT_EQ((Bytes{cmd::kIdentify, cmd::kOverwritePassword, cmd::kReadPassword, cmd::kTechnicianPassword,
                   cmd::kEnd, cmd::kBlockRead, cmd::kBlockWrite, cmd::kBlockFill, cmd::kAreaRead, cmd::kAreaWrite,
                   cmd::kVersion, cmd::kDateStamp, cmd::kFirmwareChecksum, cmd::kPassPortVersion}),
            commands);
  EXPECT_EQ((Bytes{w::kIdentify, w::kOverwritePassword, w::kReadPassword, w::kTechnicianPassword, w::kEnd,
                   w::kReadBlock, w::kWriteBlock, w::kFillBlock, w::kReadArea, w::kWriteArea, w::kVersion,
                   w::kDateStamp, w::kFirmwareSum, w::kPassPortVersion}),
            commands);

  // Test-mode bytes.
  const Bytes test = {0x0D, 0x0E, 0x0A, 0x0B, 0x1A, 0x1B, 0x1C, 0x0C, 0x21, 0x08, 0x86, 0x85, 0x10, 0x11, 0x05, 0x07, 0x42};
  EXPECT_EQ((Bytes{testcmd::kOn, testcmd::kOff, testcmd::kStepUp, testcmd::kStepDown, testcmd::kStepsUp,
                   testcmd::kStepsDown, testcmd::kSet, testcmd::kQuery, testcmd::kPrefix, testcmd::kTransmit,
                   testcmd::kMskHigh, testcmd::kMskLow, testcmd::kTestChannel, testcmd::kSignalling,
                   testcmd::kTestData, testcmd::kValues, testcmd::kTuningBlock}),
            test);
  EXPECT_EQ((Bytes{w::kSwitchOn, w::kSwitchOff, w::kStepUp, w::kStepDown, w::kStepUpBy, w::kStepDownBy, w::kSetValue,
                   w::kQueryValue, w::kParameterPrefix, w::kTransmitter, w::kMskHigh, w::kMskLow, w::kTestChannel,
                   w::kSignalling, w::kTestData, w::kTestValues, w::kTuningBlock}),
            test);
  EXPECT_EQ(testcmd::kTestDataLength, 149u);
  EXPECT_EQ(w::kTestDataLength, 149u);

  // Sizes and the programming rate.
  EXPECT_EQ(kBlockSize, 256);
  EXPECT_EQ(w::kBlockBytes, 256u);
  EXPECT_EQ(kBlockCount, 192);
  EXPECT_EQ(w::kBlocks, 192);
  EXPECT_EQ(kExtPieceSize * kExtPieceCount, 0x1200);
  EXPECT_EQ(w::kAreaBytes, 0x1200u);
  EXPECT_EQ(std::string(kEntryRates[0]), "9600");
  EXPECT_EQ(w::kProgramBaud, 19200);
}

TEST(WireFormat, BothSidesComputeTheSameCheckByteAndPassword) {
  // Inputs where an exclusive-or and the 8-bit sum part ways.
  const Bytes a = {0x01, 0x01};
  const Bytes b = {0x0F, 0xF0, 0x11};
  const Bytes c(256, 0xFF);
  EXPECT_EQ(Sum8(a.data(), a.size()), 0x02);
  EXPECT_EQ(w::Sum(a.data(), a.size()), 0x02);
  EXPECT_EQ(Sum8(b.data(), b.size()), 0x10);
  EXPECT_EQ(w::Sum(b.data(), b.size()), 0x10);
  EXPECT_EQ(Sum8(c.data(), c.size()), 0x00);
  EXPECT_EQ(w::Sum(c.data(), c.size()), 0x00);

  const auto bytes = [](const std::array<uint8_t, 6>& p) { return Bytes(p.begin(), p.end()); };
  EXPECT_EQ(bytes(PasswordBytes("")), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(bytes(w::PasswordField("")), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(bytes(PasswordBytes("407")), (Bytes{0x34, 0x30, 0x37, 0x00, 0x00, 0x00}));
  EXPECT_EQ(bytes(w::PasswordField("407")), (Bytes{0x34, 0x30, 0x37, 0x00, 0x00, 0x00}));
  EXPECT_EQ(bytes(PasswordBytes("123456")), (Bytes{0x31, 0x32, 0x33, 0x34, 0x35, 0x36}));
  EXPECT_EQ(bytes(w::PasswordField("123456")), (Bytes{0x31, 0x32, 0x33, 0x34, 0x35, 0x36}));
}

// The identity a radio answers with: model code, power bit, and the model
// name and type code of its information record.
TEST(WireFormat, BothSidesKnowTheModelsByTheSameBytes) {
  struct Row {
    const char* name;
    const char* code;
    bool standardPower;
  };
  const Row rows[] = {{"VT-1600", "M1600", true}, {"VT-1600H", "M1600", false}, {"VT-1602", "M1602", true},
                      {"VT-1602H", "M1602", false}, {"VT-2600", "M2600", true}, {"VT-2600H", "M2600", false},
                      {"VT-2602", "M2602", true}, {"VT-2602H", "M2602", false}, {"VT-1400", "P1400", true},
                      {"VT-2400", "P2400", true}};
  for (int i = 0; i < 10; ++i) {
    const Row& r = rows[i];
    EXPECT_STREQ(ModelTable(i).name, r.name);
    EXPECT_STREQ(ModelTable(i).code, r.code);
    const ModelBytes bytes = {static_cast<uint8_t>(r.code[0]), static_cast<uint8_t>(r.code[1]),
                              static_cast<uint8_t>(r.code[2]), static_cast<uint8_t>(r.code[3]),
                              static_cast<uint8_t>(r.code[4]), 0x04,
                              static_cast<uint8_t>(r.standardPower ? 0xFF : 0xFB), 0xFF};
    EXPECT_EQ(ModelRecord::ModelNumberOf(bytes), i) << r.name;
    const sim::SimModel* m = sim::SimModelOf(bytes);
    ASSERT_NE(m, nullptr) << r.name;
    EXPECT_STREQ(m->name, r.name);
  }
  EXPECT_EQ(sim::SimBandOf("136-174"), 0x04);
  EXPECT_EQ(sim::SimBandOf("450-520 MHz"), 0x06);
  EXPECT_EQ(sim::SimBandOf("400-470"), 0x07);
  EXPECT_EQ(BandCodeOfText("400-470"), 0x07);
  EXPECT_EQ(VariantBandText("VT-2600", sim::SimTypeCode(0x07)), "400-470 MHz");
  EXPECT_EQ(VariantBandText("VT-2600", sim::SimTypeCode(0x06)), "450-520 MHz");
  EXPECT_EQ(VariantBandText("VT-1400", sim::SimTypeCode(0x04)), "136-174 MHz");
}

}  // namespace
}  // namespace vb420
