// SPDX-License-Identifier: GPL-3.0-or-later
// The zone code's pre-write checks: the priority channels, judged on their
// own and through the write validation once registered.
#include "editors/zones/ZoneWriteChecks.h"

#include "ZoneTestUtil.h"
#include "data/ModelRecord.h"

namespace vb420 {
namespace {

std::vector<int> Entries(const std::vector<WriteProblem>& ps) {
  std::vector<int> e;
  for (const auto& p : ps) e.push_back(p.entry);
  return e;
}

using PriorityChannel = testing::ZoneFixture;

TEST_F(PriorityChannel, ModeZeroNeedsAnExistingChannelInAPlainZone) {
  image().setU8(0x6A0, '0');
  std::vector<WriteProblem> out;
  CheckPriorityChannel(data, 1, out);
  EXPECT_EQ(Entries(out), (std::vector<int>{816}));  // nothing set

  MakeConv(2, {5});
  MakeConv(5, {1}, '3');
  const auto check = [&](uint8_t zone, uint8_t channel) {
    ext().setU8(0x504, zone);
    ext().setU8(0x505, channel);
    std::vector<WriteProblem> o;
    CheckPriorityChannel(data, 1, o);
    return o.empty();
  };
  EXPECT_TRUE(check(3, 5));      // zone 3 channel 5 exists, type '1'
  EXPECT_FALSE(check(3, 6));     // no such channel
  EXPECT_FALSE(check(6, 1));     // zone of type '3'
  EXPECT_FALSE(check(3, 0xFF));  // channel unset
  EXPECT_FALSE(check(0xFF, 5));
  EXPECT_FALSE(check(0, 5));     // zone numbers are 1-based
  EXPECT_FALSE(check(200, 5));   // beyond the zones
}

TEST_F(PriorityChannel, ModeTwoAcceptsUnsetZone) {
  image().setU8(0x6A1, '2');
  const auto check = [&](uint8_t zone, uint8_t channel) {
    ext().setU8(0x506, zone);
    ext().setU8(0x507, channel);
    std::vector<WriteProblem> o;
    CheckPriorityChannel(data, 2, o);
    return Entries(o);
  };
  EXPECT_TRUE(check(0xFF, 0xFF).empty());
  EXPECT_TRUE(check(4, 2).empty());
  EXPECT_EQ(check(4, 0xFF), (std::vector<int>{817}));
  // Other modes are not checked.
  image().setU8(0x6A1, '1');
  EXPECT_TRUE(check(4, 0xFF).empty());
}

// Once registered (twice, as the program and the command-line tool may both
// do), the checks run in their own slots of the write validation: once
// each, before the link's identity checks, and the second one only where
// the model has a second priority channel.
TEST_F(PriorityChannel, RegisteredChecksRunOnceInTheirSlots) {
  RegisterZoneWriteChecks();
  RegisterZoneWriteChecks();
  EXPECT_TRUE(ValidateForWrite(data, text()).Passed());

  image().setU8(0x6A0, '0');
  image().setU8(0x6A1, '2');
  ext().setU8(0x506, 4);
  image().setU8(0x770, 9);  // dispatcher fleet without its ID: 1082
  EXPECT_EQ(Entries(ValidateForWrite(data, text()).problems), (std::vector<int>{816, 817, 1082}));

  data.model.SetModel(ModelNumberOfName("VT-1602"));
  EXPECT_EQ(Entries(ValidateForWrite(data, text()).problems), (std::vector<int>{816, 1082}));
}

}  // namespace
}  // namespace vb420
