// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ZoneTestUtil.h"
#include "data/ModelRecord.h"
#include "editors/zones/GroupFields.h"

namespace vb420::testing {
namespace {

class GroupTexts : public ZoneFixture {
 protected:
  GroupTexts() : groups(zm, NumberedTexts()) {}
  std::string Ltr(int zone, int group, int field) {
    std::string s = "stale";
    groups.LtrFieldText(zone, group, field, s);
    return s;
  }
  std::string Pp(int zone, int group, int column) {
    std::string s = "stale";
    groups.PassPortColumnText(zone, group, column, s);
    return s;
  }
  CGroupFields groups;
};

TEST_F(GroupTexts, NewLtrGroupShowsItsDefaults) {
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(1, 6), 1);
  // A new group is all 0xFF apart from its number and name.
  EXPECT_EQ(Ltr(1, 6, 1), "7");
  EXPECT_EQ(Ltr(1, 6, 2), "");
  EXPECT_EQ(Ltr(1, 6, 3), "");
  EXPECT_EQ(Ltr(1, 6, 4), "  GR   7");
  EXPECT_EQ(Ltr(1, 6, 5), "T1084");  // high power
  EXPECT_EQ(Ltr(1, 6, 6), "T362");
  EXPECT_EQ(Ltr(1, 6, 7), "T371");
  for (int f : {8, 9, 12, 13, 14}) EXPECT_EQ(Ltr(1, 6, f), "T373") << f;
  // The per-channel tables give a new entry bit 0 at ext 0x670, 1 at ext 0x6B0.
  EXPECT_EQ(Ltr(1, 6, 10), "T372");
  EXPECT_EQ(Ltr(1, 6, 16), "T373");
}

TEST_F(GroupTexts, LtrFieldsFollowTheirBytes) {
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  ASSERT_EQ(zm.InsertRecord(0, 1), 1);
  const size_t g = static_cast<size_t>(zm.FindRecord(0, 1));
  image().setU8(g + 1, 250);
  image().setU8(g + 2, 251);  // outside 1..250: shown empty
  image().setU8(g + 15, '0');
  image().setU8(g + 16, '3');
  image().setU16le(g + 17, 4);
  image().setU8(g + 30, 0b10101010);
  EXPECT_EQ(Ltr(0, 1, 3), "250");
  EXPECT_EQ(Ltr(0, 1, 2), "");
  EXPECT_EQ(Ltr(0, 1, 6), "T405");
  EXPECT_EQ(Ltr(0, 1, 7), "T444 4");
  EXPECT_EQ(Ltr(0, 1, 5), "T1085");
  EXPECT_EQ(Ltr(0, 1, 8), "T373");   // bit 1 set
  EXPECT_EQ(Ltr(0, 1, 9), "T372");   // bit 2 clear
  EXPECT_EQ(Ltr(0, 1, 12), "T372");  // bit 4 clear
  EXPECT_EQ(Ltr(0, 1, 13), "T373");  // bit 5 set
  EXPECT_EQ(Ltr(0, 1, 14), "T372");  // bit 6 clear
  const char* ptt[] = {"T441", "T442", "T443"};
  for (int v = 0; v < 3; ++v) {
    image().setU8(g + 16, static_cast<uint8_t>('0' + v));
    EXPECT_EQ(Ltr(0, 1, 7), ptt[v]);
  }
  image().setU8(g + 16, '4');
  EXPECT_EQ(Ltr(0, 1, 7), "T370");
  image().setU8(g + 15, '5');
  EXPECT_EQ(Ltr(0, 1, 6), "T410");
  image().setU8(g + 15, '2');  // no value of the list
  EXPECT_EQ(Ltr(0, 1, 6), "");
  // Group 2 is global number 1: its scan bit is bit 1 of ext 0x670.
  ext().setBit(0x670, 1, true);
  EXPECT_EQ(Ltr(0, 1, 10), "T373");
  EXPECT_EQ(Ltr(0, 0, 10), "T372");
}

TEST_F(GroupTexts, SecondGenerationNamesAreEightCharacters) {
  SetModel(ModelNumberOfName("VT-1602"), data.model.BandCode());
  ASSERT_TRUE(data.model.IsSecondGen());
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 11), 1);
  EXPECT_EQ(Ltr(0, 11, 4), " GR  12");
}

TEST_F(GroupTexts, NothingForMissingGroupsOrOtherClasses) {
  MakeConv(0, {1});
  std::string out;
  EXPECT_FALSE(groups.LtrFieldText(0, 0, 4, out));
  EXPECT_EQ(Ltr(0, 0, 4), "");
  EXPECT_EQ(Pp(0, 0, 1), "");
  ASSERT_EQ(zm.CreateZone(1, '0'), 1);
  EXPECT_EQ(Ltr(1, 0, 4), "");   // no group 1
  EXPECT_EQ(Ltr(1, -1, 4), "");
  EXPECT_EQ(Ltr(200, 0, 4), "");
  EXPECT_EQ(Pp(1, 0, 2), "");    // an LTR zone is not a PassPort zone
}

TEST_F(GroupTexts, PassPortColumnsFollowTheirBytes) {
  ASSERT_EQ(zm.CreateZone(4, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(4, 2), 1);
  const size_t g = static_cast<size_t>(zm.FindRecord(4, 2));
  EXPECT_EQ(g, zm.ZoneOffset(4) + 96u);
  EXPECT_EQ(Pp(4, 2, 1), "");  // no ID yet
  EXPECT_EQ(Pp(4, 2, 2), "  GR   3");
  for (int c = 3; c <= 9; ++c) EXPECT_EQ(Pp(4, 2, c), "T373") << c;
  image().setU16le(g + 1, 65519);
  image().setU8(g + rec::pp::kSwitches, 0b1101011);  // bits 2 and 4 clear
  EXPECT_EQ(Pp(4, 2, 1), "65519");
  EXPECT_EQ(Pp(4, 2, 5), "T372");  // scrambler
  EXPECT_EQ(Pp(4, 2, kPassPortHornColumn), "T372");
  EXPECT_EQ(Pp(4, 2, 3), "T373");
  image().setU16le(g + 1, 65520);  // outside the ID range
  EXPECT_EQ(Pp(4, 2, 1), "");
  std::string out;
  EXPECT_FALSE(groups.PassPortColumnText(4, 2, 14, out));  // past the group page
}

}  // namespace
}  // namespace vb420::testing
