// SPDX-License-Identifier: GPL-3.0-or-later
// The zone checks before a write: references to repeaters and groups that do
// not exist, scramblers without their board, PTT IDs the signalling mode
// does not offer, empty BOT/EOT codes and voting zone types.
#include "editors/zones/TrunkWriteChecks.h"

#include "ZoneTestUtil.h"
#include "data/ImageLayout.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/ZoneWriteChecks.h"

namespace vb420::testing {
namespace {

// Numbered texts, with the reasons of "Zone and channel data" as short
// patterns so that the zone and the number they name can be seen.
TextTable& ReasonTexts() {
  static TextTable table = [] {
    TextTable t;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i) {
      std::string s = "T" + std::to_string(i);
      if (i == 1270) s = "zone %d home %d";
      if (i == 1271) s = "zone %d datatg %d";
      if (i == 1272) s = "zone %d damaged";
      lng += "^#" + TextTable::IdentifierOf(i) + "," + s + "\n";
    }
    t.LoadText(lng, "English");
    return t;
  }();
  return table;
}

class TrunkChecks : public ZoneFixture {
 protected:
  CGroupFields groups{zm, text()};
  template <typename F>
  std::vector<WriteProblem> Run(F check) {
    std::vector<WriteProblem> out;
    check(out);
    return out;
  }
  std::vector<WriteProblem> References() {
    return Run([&](auto& o) { CheckZoneReferences(data, ReasonTexts(), o); });
  }
  // One line of "Zone and channel data" with its reason.
  static WriteProblem ZoneData(const std::string& reason) { return {0, "\"T472\": " + reason}; }
};

// Each fault names its zone and what is wrong, one line a zone.
TEST_F(TrunkChecks, HomeRepeaterAndDataTalkgroupMustExist) {
  EXPECT_TRUE(References().empty());
  image().fill(0x3000, 0x100, 0x5A);  // leftovers past the last block are no zone's
  EXPECT_TRUE(References().empty());
  image().fill(0x3000, 0x100, 0xFF);
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);  // home repeater 1, no repeaters yet
  EXPECT_EQ(References(), std::vector<WriteProblem>{ZoneData("zone 3 home 1")});
  ASSERT_EQ(groups.SetRepeaterFrequency(2, 0, 1, "451.025", false).result, kFieldStored);
  EXPECT_TRUE(References().empty());
  image().setU8(static_cast<size_t>(zm.ZoneOffset(2)) + 46, 0xFF);  // none named: fine
  ASSERT_EQ(groups.SetRepeaterFrequency(2, 0, 1, "", false).result, kFieldRecordRemoved);
  EXPECT_TRUE(References().empty());
  image().setU8(static_cast<size_t>(zm.ZoneOffset(2)) + 46, 0);  // outside 1..20
  EXPECT_EQ(References(), std::vector<WriteProblem>{ZoneData("zone 3 home 0")});
  // The last repeater number is a home like any other; one past it is none.
  ASSERT_EQ(groups.SetRepeaterFrequency(2, 19, 1, "452.025", false).result, kFieldStored);
  image().setU8(static_cast<size_t>(zm.ZoneOffset(2)) + 46, 20);
  EXPECT_TRUE(References().empty());
  image().setU8(static_cast<size_t>(zm.ZoneOffset(2)) + 46, 21);
  EXPECT_EQ(References(), std::vector<WriteProblem>{ZoneData("zone 3 home 21")});
  ASSERT_EQ(zm.ChangeZone(2, kClassNone), 1);

  ASSERT_EQ(zm.CreateZone(5, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(5, 2), 1);
  const size_t h = static_cast<size_t>(zm.ZoneOffset(5));
  image().setU8(h + 20, 3);
  EXPECT_TRUE(References().empty());
  image().setU8(h + 20, 2);
  EXPECT_EQ(References(), std::vector<WriteProblem>{ZoneData("zone 6 datatg 2")});
  // A second zone with a fault gets a line of its own, in zone order.
  ASSERT_EQ(zm.CreateZone(9, '0'), 1);
  EXPECT_EQ(References(), (std::vector<WriteProblem>{ZoneData("zone 6 datatg 2"), ZoneData("zone 10 home 1")}));
}

// Removing the group a PassPort zone names as its data talkgroup clears the
// reference, as removing a channel clears the priority channels naming it.
TEST_F(TrunkChecks, RemovingTheDataTalkgroupClearsIt) {
  ASSERT_EQ(zm.CreateZone(5, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(5, 1), 1);
  ASSERT_EQ(zm.InsertRecord(5, 2), 1);
  const size_t h = static_cast<size_t>(zm.ZoneOffset(5));
  image().setU8(h + 20, 3);
  ASSERT_EQ(zm.RemoveRecord(5, 1), 1);  // another group: the reference stays
  EXPECT_EQ(image().u8(static_cast<size_t>(zm.ZoneOffset(5)) + 20), 3);
  ASSERT_EQ(zm.RemoveRecord(5, 2), 1);
  EXPECT_EQ(image().u8(static_cast<size_t>(zm.ZoneOffset(5)) + 20), 0xFF);
  EXPECT_TRUE(References().empty());
}

// A zone whose block cannot be trusted is named once, whatever is wrong in it.
TEST_F(TrunkChecks, ADamagedBlockIsNamed) {
  MakeConv(0, {1});
  MakeConv(1, {1});
  image().setU8(static_cast<size_t>(zm.ZoneOffset(1)), 7);  // its header names zone 7
  EXPECT_EQ(References(), std::vector<WriteProblem>{ZoneData("zone 2 damaged")});
}

TEST_F(TrunkChecks, ScramblersNeedTheBoardAndACode) {
  ASSERT_EQ(zm.CreateZone(0, '5'), 1);
  ASSERT_EQ(zm.InsertRecord(0, 0), 1);
  auto run = [&] { return Run([&](auto& o) { CheckScramblers(data, o); }); };
  ext().setBit(0x570, 0, true);
  EXPECT_TRUE(run().empty());
  ext().setBit(0x570, 0, false);  // scrambler on selective call ticked
  ext().setU8(0x580, 4);
  EXPECT_EQ(run(), (std::vector<WriteProblem>{{944, {}}}));  // no board
  SetSystemType(1);
  EXPECT_TRUE(run().empty());
  ext().setU8(0x580, 0xFF);
  EXPECT_EQ(run().size(), 1u);
  ext().setU8(0x580, 17);  // one past the last code
  EXPECT_EQ(run().size(), 1u);
  ext().setU8(0x580, 1);
  EXPECT_TRUE(run().empty());
  ext().setU8(0x580, 16);
  EXPECT_TRUE(run().empty());
  const size_t g = static_cast<size_t>(zm.FindRecord(0, 0));
  image().setBit(g + 17, 2, false);  // the group's scrambler ticked
  EXPECT_TRUE(run().empty());
  SetSystemType(2);
  ext().setBit(0x570, 0, true);
  EXPECT_EQ(run().size(), 1u);
}

TEST_F(TrunkChecks, PttIdsFollowTheSignallingModeAndTheIdList) {
  ASSERT_EQ(groups.SetLtrField(0, 0, 2, "5").result, kFieldStored);
  const size_t g = static_cast<size_t>(zm.FindRecord(0, 0));
  auto run = [&] { return Run([&](auto& o) { CheckPttIds(data, text(), o); }); };
  const std::vector<WriteProblem> bad = {{0, "\"T431-T995\""}};
  image().setU8(img::kSignallingIdMode, '1');
  image().setU8(g + 16, '3');
  image().setU16le(g + 17, 2);
  const DirectoryList ids = IdList(image());
  ASSERT_GE(ids.count, 2u);
  image().setU8(ids.Row(1) + 12, 0xFF);  // entry 2 not usable
  EXPECT_EQ(run(), bad);
  image().setU8(ids.Row(1) + 12, 7);
  image().setU8(ids.Row(1) + 15, 0xFF);
  EXPECT_TRUE(run().empty());
  image().setU8(img::kSignallingIdMode, '0');  // entries not offered in this mode
  EXPECT_EQ(run(), bad);
  image().setU8(g + 16, '4');
  EXPECT_EQ(run(), bad);
  image().setU8(img::kSignallingIdMode, '2');
  EXPECT_TRUE(run().empty());
  MakeConv(3, {1});
  image().setU8(static_cast<size_t>(zm.FindRecord(3, 0)) + 29, '1');  // a channel with BOT in mode '2'
  EXPECT_EQ(run(), bad);
}

TEST_F(TrunkChecks, BotAndEotCodesWhenTheRadioSendsItsOwn) {
  MakeConv(0, {1, 2});
  auto run = [&] { return Run([&](auto& o) { CheckBotEotCodes(data, o); }); };
  image().setU8(img::kSignallingIdMode, '0');
  image().setU8(0x181, 0xFF);
  image().setU8(0x18A, 0xFF);
  EXPECT_TRUE(run().empty());
  image().setU8(static_cast<size_t>(zm.FindRecord(0, 1)) + 29, '2');  // BOT+EOT
  EXPECT_EQ(run(), (std::vector<WriteProblem>{{575, {}}, {576, {}}}));
  image().setU8(0x181, 4);
  EXPECT_EQ(run(), (std::vector<WriteProblem>{{576, {}}}));
  image().setU8(img::kSignallingIdMode, '1');
  EXPECT_TRUE(run().empty());
}

TEST_F(TrunkChecks, VotingZonesNeedAVotingModelAndAllChecksJoinTheValidation) {
  MakeConv(0, {1}, '3');
  auto run = [&] { return Run([&](auto& o) { CheckVotingZones(data, text(), o); }); };
  EXPECT_EQ(run(), (std::vector<WriteProblem>{{0, "\"T400/T401/T402\"\n(T309)"}}));
  data.votingSwitch = true;
  EXPECT_TRUE(run().empty());
  data.votingSwitch = false;
  ASSERT_EQ(zm.CreateZone(4, '0'), 1);
  RegisterZoneWriteChecks();
  const WriteValidationResult r = ValidateForWrite(data, text());
  ASSERT_EQ(r.problems.size(), 2u);
  EXPECT_EQ(r.problems[0].line, "\"T472\": T1270");  // zone 5: the home repeater
  EXPECT_EQ(r.problems[1].line, "\"T400/T401/T402\"\n(T309)");
}

}  // namespace
}  // namespace vb420::testing
