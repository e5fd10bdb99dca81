// SPDX-License-Identifier: GPL-3.0-or-later
// Frequencies outside the model's band, found before a write, and entries
// that are refused without leaving anything behind.
#include <gtest/gtest.h>

#include "ZoneTestUtil.h"
#include "data/FreqCodec.h"
#include "data/ModelRecord.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/BandCheck.h"

namespace vb420::testing {
namespace {

class BandCheck : public ZoneFixture {
 protected:
  BandCheck() { SetModel(ModelNumberOfName("VT-2600"), static_cast<uint8_t>(BandCodeOfText("450-520"))); }

  void SetRaw(size_t at, uint32_t hz) {
    uint8_t f[4];
    CFreqCodec::HzToField(hz, f);
    image().write(at, f, 4);
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> out;
    for (const OutOfBandFrequency& f : FindOutOfBandFrequencies(data)) out.push_back(OutOfBandLine(f, text()));
    return out;
  }
};

TEST_F(BandCheck, ListsEveryChannelFrequencyOutsideTheBandInOrder) {
  MakeConv(0, {1, 5});
  MakeConv(3, {250});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "460", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "400", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(0, 4, 3, "521", false).result, kFieldStored);  // transmit copied: both outside
  ASSERT_EQ(conv.SetFrequency(3, 249, 3, "449.99", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(3, 249, 4, "470", false).result, kFieldStored);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "T378 1, T376 1, T383: 400.00000",
                         "T378 1, T376 5, T382: 521.00000",
                         "T378 1, T376 5, T383: 521.00000",
                         "T378 4, T376 250, T382: 449.99000",
                     }));
  const auto found = FindOutOfBandFrequencies(data);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].zone, 0);
  EXPECT_EQ(found[0].record, 0);
  EXPECT_FALSE(found[0].repeater);
  EXPECT_TRUE(found[0].second);
  EXPECT_EQ(found[3].zone, 3);
  EXPECT_EQ(found[3].record, 249);
  EXPECT_FALSE(found[3].second);
}

TEST_F(BandCheck, TheLimitsThemselvesAreInsideAndEmptyFieldsAreNotChecked) {
  MakeConv(0, {1, 2, 3});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "450", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(0, 1, 3, "520", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(0, 2, 3, "500", false).result, kFieldStored);
  ASSERT_EQ(conv.SetFrequency(0, 2, 4, "", false).result, kFieldStored);  // no transmit frequency
  EXPECT_TRUE(Lines().empty());
  // One step beyond either limit is outside.
  SetRaw(static_cast<size_t>(zm.FindRecord(0, 0)) + 1, 449995000);
  SetRaw(static_cast<size_t>(zm.FindRecord(0, 1)) + 5, 520005000);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"T378 1, T376 1, T382: 449.99500", "T378 1, T376 2, T383: 520.00500"}));
}

TEST_F(BandCheck, FollowsTheModelBytesNotTheCodecsLastLimits) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "460", false).result, kFieldStored);
  EXPECT_TRUE(Lines().empty());
  // The model bytes say VHF now; the codec was not told.
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText("136-174")));
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(BandCheck, ListsRepeaterFrequenciesOfLtrZones) {
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  ASSERT_EQ(zm.InsertRecord(2, 0), 1);  // a group before the repeaters
  ASSERT_EQ(zm.InsertRepeater(2, 0), 1);
  ASSERT_EQ(zm.InsertRepeater(2, 6), 1);
  const size_t r1 = static_cast<size_t>(zm.FindRepeater(2, 0));
  const size_t r7 = static_cast<size_t>(zm.FindRepeater(2, 6));
  SetRaw(r1 + 1, 451025000);
  SetRaw(r1 + 5, 456025000);
  SetRaw(r7 + 1, 517000000);
  SetRaw(r7 + 5, 522000000);  // the first frequency plus 5 MHz runs past the band
  const auto found = FindOutOfBandFrequencies(data);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].repeater);
  EXPECT_EQ(found[0].record, 6);
  EXPECT_EQ(OutOfBandLine(found[0], text()), "T378 3, T67 7, T383: 522.00000");
}

TEST_F(BandCheck, NonDecimalAndDamagedDataDoNotEscapeOrCrash) {
  MakeConv(0, {1});
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  const uint8_t junk[4] = {0x12, 0xAB, 0x60, 0x04};
  image().write(rec + 1, junk, 4);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "460", false).result, kFieldStored);
  ASSERT_EQ(FindOutOfBandFrequencies(data).size(), 1u);  // the receive field cannot be trusted
  // A count byte far beyond the area: the walk stops at the area's end.
  image().setU8(static_cast<size_t>(zm.ZoneOffset(0)) + 4, 251);
  EXPECT_TRUE(zm.ZoneDamaged(0));
  EXPECT_NO_FATAL_FAILURE(FindOutOfBandFrequencies(data));
}

TEST_F(BandCheck, ValuesAboveTheClampingWindowBecomeTheUpperLimit) {
  // Typing 754 on a 450-520 model: beyond the window of 327 to 550 MHz the
  // text becomes the upper limit and the user is warned; the stored value
  // is then inside the band.
  MakeConv(0, {1});
  const FieldResult r = conv.SetFrequency(0, 0, 4, "754", true);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_EQ(r.message, 284);
  EXPECT_EQ(Field(0, 0, 4), "520.00000");
  const FieldResult low = conv.SetFrequency(0, 0, 3, "100", true);
  EXPECT_EQ(low.message, 283);
  EXPECT_EQ(Field(0, 0, 3), "450.00000");
}

class RefusedEntry : public ZoneFixture {
 protected:
  // Zones 1 and 2 take all but `free` bytes of the area.
  void Fill(int free) {
    MakeConv(0, {});
    for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
    MakeConv(1, {});
    int c = 0;
    while (zm.FreeBytes() - zones::kChannelSize >= free) ASSERT_EQ(zm.InsertRecord(1, c++), 1);
    ASSERT_EQ(zm.FreeBytes(), free);
  }
};

TEST_F(RefusedEntry, FirstChannelOfANewZoneWithoutRoomLeavesNoZoneBehind) {
  Fill(39);  // room for a zone header (32), not for its first channel (48)
  zm.SetPendingType('3');
  const std::vector<uint8_t> image = data.buffers.ImageBytes();
  const std::vector<uint8_t> ext = data.buffers.ExtBytes();
  const FieldResult r = conv.SetFrequency(2, 0, 3, "146.52", true);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.message, 275);
  EXPECT_TRUE(data.buffers.ImageBytes() == image);
  EXPECT_TRUE(data.buffers.ExtBytes() == ext);
  EXPECT_FALSE(zm.ZoneExists(2));
  EXPECT_EQ(zm.FreeBytes(), 39);
  EXPECT_EQ(zm.PendingType(), '3');  // the chosen type still waits for the zone
}

// The same refusals by key (vb420cli settings, the plan import): the store
// answers Refused with the window's message and the image stays as it was.
TEST_F(RefusedEntry, ByKeyTheStoreAnswersRefused) {
  forms::SettingLine line;
  int message = 0;
  // 512 groups in three LTR zones: a channel of a new zone is one too many.
  for (int z = 0; z < 3; ++z) {
    ASSERT_EQ(zm.CreateZone(z, '0'), 1);
    for (int g = 0; g < (z < 2 ? 250 : 12); ++g) ASSERT_EQ(zm.InsertRecord(z, g), 1);
  }
  std::vector<uint8_t> image = data.buffers.ImageBytes();
  EXPECT_EQ(forms::SetSetting(data, text(), "zone.5.ch.2.rxf", "146.54", line, message), forms::SettingStatus::Refused);
  EXPECT_EQ(message, 299);
  EXPECT_TRUE(data.buffers.ImageBytes() == image);
  // An existing record takes a change at the limit.
  EXPECT_EQ(forms::SetSetting(data, text(), "zone.1.group.1.encode", "5", line, message), forms::SettingStatus::Ok);
}

// An empty text where there is no channel is nothing to do, not a refusal.
TEST_F(RefusedEntry, ByKeyAnEmptyTextWithoutAChannelIsNoRefusal) {
  forms::SettingLine line;
  int message = 0;
  MakeConv(0, {1});
  EXPECT_EQ(forms::SetSetting(data, text(), "zone.1.ch.2.rxf", "", line, message), forms::SettingStatus::Ok);
  EXPECT_EQ(zm.RecordNumbers(0), std::vector<int>{0});
}

TEST_F(RefusedEntry, ByKeyARepeaterWithoutRoomIsRefused) {
  forms::SettingLine line;
  int message = 0;
  ASSERT_EQ(zm.CreateZone(2, '0'), 1);
  MakeConv(0, {});
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  MakeConv(1, {});
  for (int c = 0; zm.InsertRecord(1, c) == 1; ++c) {
  }
  for (int g = 0; zm.InsertRecord(2, g) == 1; ++g) {
  }
  for (int r = 0; r < 19 && zm.InsertRepeater(2, r) == 1; ++r) {
  }
  ASSERT_LT(zm.FreeBytes(), zones::kRepeaterSize);
  const std::vector<uint8_t> image = data.buffers.ImageBytes();
  EXPECT_EQ(forms::SetSetting(data, text(), "zone.3.rep.20.rxf", "151", line, message), forms::SettingStatus::Refused);
  EXPECT_EQ(message, 275);
  EXPECT_TRUE(data.buffers.ImageBytes() == image);
}

TEST_F(RefusedEntry, WithRoomForBothTheZoneAndItsChannelAreMade) {
  Fill(87);  // 32 + 48 fit, 7 bytes stay free
  const FieldResult r = conv.SetFrequency(2, 6, 3, "146.52", true);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_TRUE(zm.ZoneExists(2));
  EXPECT_EQ(zm.RecordNumbers(2), std::vector<int>{6});
  EXPECT_EQ(zm.FreeBytes(), 7);
  // No room for another zone: refused before anything moves.
  const std::vector<uint8_t> image = data.buffers.ImageBytes();
  EXPECT_EQ(conv.SetFrequency(3, 0, 3, "146.52", true).message, 275);
  EXPECT_TRUE(data.buffers.ImageBytes() == image);
}

}  // namespace
}  // namespace vb420::testing
