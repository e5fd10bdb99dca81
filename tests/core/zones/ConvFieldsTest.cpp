// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ZoneTestUtil.h"

namespace vb420::testing {
namespace {

using ChannelFields = ZoneFixture;

std::vector<uint8_t> Hex(std::initializer_list<int> v) { return std::vector<uint8_t>(v.begin(), v.end()); }

TEST_F(ChannelFields, ReceiveFrequencyOnANewChannelCreatesItAfterItsNeighbours) {
  MakeConv(0, {1, 2, 7});
  const FieldResult r = conv.SetFrequency(0, 2, 3, "146.52", true);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_EQ(r.message, 0);
  const size_t rec = 0xB20 + 2 * 48;
  ASSERT_EQ(zm.FindRecord(0, 2), static_cast<int>(rec));
  std::vector<uint8_t> expected = Hex({3, 0x00, 0x20, 0x65, 0x14, 0x00, 0x20, 0x65, 0x14, '4', '4',
                                       0xFF, 0xFF, 0xFF, 0xFF, ' ', ' ', 'C', 'H', ' ', ' ', ' ', '3', 0, 0, 0, 0});
  expected.resize(46, 0xFF);
  expected.push_back(0xFE);  // mobile: flags A, B and the transmit check all set
  expected.push_back(0xFF);
  EXPECT_EQ(Bytes(rec, 48), expected);
  EXPECT_EQ(Field(0, 2, 3), "146.52000");
  EXPECT_EQ(Field(0, 2, 4), "146.52000");
  EXPECT_EQ(Field(0, 2, 7), "  CH   3");
}

TEST_F(ChannelFields, ReceiveFrequencyOnAMissingZoneCreatesATypeOneZone) {
  const FieldResult r = conv.SetFrequency(6, 9, 3, "150", true);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_EQ(zm.ZoneType(6), '1');
  EXPECT_TRUE(zm.RecordExists(6, 9));
  EXPECT_EQ(Field(6, 9, 0), "T378(T398)");
  // A transmit frequency never creates a channel.
  EXPECT_EQ(conv.SetFrequency(6, 3, 4, "150", true).result, -1);
  EXPECT_FALSE(zm.RecordExists(6, 3));
  // An empty receive frequency on a missing channel does nothing.
  EXPECT_EQ(conv.SetFrequency(6, 3, 3, "", true).result, 0);
  // Not in an LTR zone.
  ASSERT_EQ(zm.CreateZone(7, '0'), 1);
  EXPECT_EQ(conv.SetFrequency(7, 0, 3, "150", true).result, 0);
  EXPECT_EQ(zm.RecordCount(7), 0);
}

TEST_F(ChannelFields, InsertFailuresCarryTheirMessages) {
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);
  for (int c = 0; c < 250; ++c) ASSERT_EQ(zm.InsertRecord(0, c), 1);
  ASSERT_EQ(zm.CreateZone(1, '1'), 1);
  for (int c = 0; c < 132; ++c) ASSERT_EQ(zm.InsertRecord(1, c), 1);
  ASSERT_EQ(zm.CreateZone(2, '1'), 1);  // 7 bytes left
  FieldResult r = conv.SetFrequency(2, 0, 3, "150", true);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.message, 275);
  r = conv.SetFrequency(5, 0, 3, "150", true);  // no room for a new zone either
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.message, 275);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "", true).result, kFieldRecordRemoved);
  ASSERT_EQ(zm.RemoveRecord(0, 1), 1);
  r = conv.SetFrequency(0, 0, 3, "150", true);
  EXPECT_EQ(r.result, kFieldStored);
}

TEST_F(ChannelFields, OutOfRangeFrequenciesAreStoredWithAWarning) {
  MakeConv(0, {1});
  FieldResult r = conv.SetFrequency(0, 0, 3, "200", true);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_EQ(r.message, 283);
  EXPECT_EQ(Field(0, 0, 3), "200.00000");
  r = conv.SetFrequency(0, 0, 4, "300", true);
  EXPECT_EQ(r.message, 284);
  EXPECT_EQ(Field(0, 0, 4), "174.00000");
  r = conv.SetFrequency(0, 0, 4, "300", false);
  EXPECT_EQ(r.result, kFieldStored);
  EXPECT_EQ(r.message, 0);
}

TEST_F(ChannelFields, ClearingFrequencies) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  ASSERT_EQ(conv.SetTone(0, 0, 6, "100.0"), 1);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(image().u16le(rec + 13), 1000);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "", true).result, 1);
  EXPECT_EQ(Bytes(rec + 5, 4), Hex({0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(image().u8(rec + 10), 0xFF);
  EXPECT_EQ(image().u16le(rec + 13), 0xFFFF);
  EXPECT_EQ(conv.SetFrequency(0, 0, 3, "", true).result, kFieldRecordRemoved);
  EXPECT_FALSE(zm.RecordExists(0, 0));
}

TEST_F(ChannelFields, ReceiveFrequencyDoesNotOverwriteAnExistingTransmitFrequency) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "147.12", true).result, 1);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.5125", true).result, 1);
  EXPECT_EQ(Field(0, 0, 4), "147.12000");
  EXPECT_EQ(image().u8(zm.FindRecord(0, 0) + 9), '4');
}

TEST_F(ChannelFields, TypedReceiveToneCopiesToAnOffTransmitTone) {
  MakeConv(0, {1, 2});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  ASSERT_EQ(conv.SetTone(0, 0, 5, "D754"), 1);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(image().u16le(rec + 11), 0x29EC);
  EXPECT_EQ(image().u16le(rec + 13), 0x29EC);
  EXPECT_EQ(Field(0, 0, 6), "D754N");
  // With a transmit tone set, only the receive tone changes.
  ASSERT_EQ(conv.SetTone(0, 0, 5, "250.3"), 1);
  EXPECT_EQ(image().u16le(rec + 11), 2503);
  EXPECT_EQ(image().u16le(rec + 13), 0x29EC);
  // A list row stores that row's tone.
  ASSERT_EQ(conv.SetTone(0, 0, 6, "", 1), 1);
  EXPECT_EQ(image().u16le(rec + 13), 670);
  ASSERT_EQ(conv.SetTone(0, 0, 6, "T362"), 1);
  EXPECT_EQ(image().u16le(rec + 13), 0xFFFF);
  // Channel 2 has no transmit frequency: field 6 cannot be entered.
  const size_t rec2 = static_cast<size_t>(zm.FindRecord(0, 1));
  EXPECT_EQ(conv.SetTone(0, 1, 6, "100"), 0);
  ASSERT_EQ(conv.SetTone(0, 1, 5, "100"), 1);
  EXPECT_EQ(image().u16le(rec2 + 13), 0xFFFF);
}

TEST_F(ChannelFields, NamesFollowTheGeneration) {
  MakeConv(0, {1});
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  ASSERT_EQ(conv.SetName(0, 0, "Dispatch Main Line"), 1);
  EXPECT_EQ(Bytes(rec + 15, 12), Hex({'D', 'i', 's', 'p', 'a', 't', 'c', 'h', ' ', 'M', 'a', 'i'}));
  ASSERT_EQ(conv.SetName(0, 0, "   "), 1);
  EXPECT_EQ(Bytes(rec + 15, 12), std::vector<uint8_t>(12, 0));
  SetModel(3, 0x04);
  ASSERT_EQ(conv.SetName(0, 0, "ab!c and more"), 1);
  EXPECT_EQ(Bytes(rec + 15, 12), Hex({'A', 'B', ' ', 'C', ' ', 'A', 'N', 'D', 0, 0, 0, 0}));
  EXPECT_EQ(Field(0, 0, 7), "AB C AND");
}

TEST_F(ChannelFields, ReceiveRangeFlagsOnAPortable) {
  SetModel(8, 0x04);  // VT-1400
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.845", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x04);
  EXPECT_TRUE(Flags(0, 0) & 0x40);  // B set without a check off system type 4
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.86", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x04);
  SetSystemType(4);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.83", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x40);
  EXPECT_TRUE(Flags(0, 0) & 0x04);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.84", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x40);
  EXPECT_FALSE(Flags(0, 0) & 0x04);
}

TEST_F(ChannelFields, ReceiveRangeFlagsOnAMobile) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.87", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x04);
  EXPECT_TRUE(Flags(0, 0) & 0x40);
  SetSystemType(4);  // the mobile B tables are empty
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "154.87", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x40);
  SetModel(6, 0x07);  // VT-2602 on 400-470 MHz
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "431.43", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x04);
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "431.45", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x04);
}

TEST_F(ChannelFields, TransmitCheckFlag) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x80);  // always on a mobile
  SetModel(8, 0x04);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "146.52", true).result, 1);
  EXPECT_FALSE(Flags(0, 0) & 0x80);  // 14.4 kHz below 1272 x 115200 Hz
  EXPECT_EQ(Field(0, 0, 20), "T370");
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "146.50", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x80);  // 34.4 kHz below it
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "146.545", true).result, 1);  // 10.6 kHz above
  EXPECT_FALSE(Flags(0, 0) & 0x80);
  // The receive copy into an empty transmit frequency checks it too.
  MakeConv(1, {1});
  ASSERT_EQ(conv.SetFrequency(1, 0, 3, "146.52", true).result, 1);
  EXPECT_FALSE(Flags(1, 0) & 0x80);
  SetModel(9, 0x06);  // VT-2400 450-520: window -25000/+35000
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "460.83", true).result, 1);  // 4000 x 115200 + 30 kHz
  EXPECT_FALSE(Flags(0, 0) & 0x80);
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "460.84", true).result, 1);
  EXPECT_TRUE(Flags(0, 0) & 0x80);
}

TEST_F(ChannelFields, OptionFieldsWriteTheirBits) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  EXPECT_EQ(Field(0, 0, 8), "T1084");
  ASSERT_EQ(conv.SetOption(0, 0, 8, 0), 1);
  EXPECT_EQ(image().u16le(rec + 46), 0xFFF6);
  EXPECT_EQ(Field(0, 0, 9), "T436");
  ASSERT_EQ(conv.SetOption(0, 0, 9, 0), 1);
  EXPECT_EQ(image().u16le(rec + 46), 0xFFF4);
  EXPECT_EQ(conv.SetOption(0, 0, 9, 1), 0);  // not a choice
  ASSERT_EQ(conv.SetOption(0, 0, 10, '3'), 1);
  EXPECT_EQ(image().u8(rec + 27), '3');
  EXPECT_EQ(Field(0, 0, 10), "T408");
  ASSERT_EQ(conv.SetOption(0, 0, 11, '2'), 1);
  EXPECT_EQ(image().u8(rec + 28), '2');
  EXPECT_EQ(Field(0, 0, 11), "T440");
  // Field 13: 0 and 1 only on system type 4.
  EXPECT_EQ(conv.SetOption(0, 0, 13, 0), 0);
  ASSERT_EQ(conv.SetOption(0, 0, 13, 2), 1);
  EXPECT_EQ(image().u16le(rec + 46) & 0x44, 0x40);
  EXPECT_EQ(Field(0, 0, 13), "T445");
  SetSystemType(4);
  ASSERT_EQ(conv.SetOption(0, 0, 13, 1), 1);
  EXPECT_EQ(image().u16le(rec + 46) & 0x44, 0x04);
  ASSERT_EQ(conv.SetOption(0, 0, 13, 0), 1);
  EXPECT_EQ(Field(0, 0, 13), "T447");
  ASSERT_EQ(conv.SetOption(0, 0, 15, 0), 1);
  ASSERT_EQ(conv.SetOption(0, 0, 16, 0), 1);
  ASSERT_EQ(conv.SetOption(0, 0, 20, 0), 1);
  EXPECT_EQ(image().u16le(rec + 46), 0xFF00);
  EXPECT_EQ(Field(0, 0, 15), "T372");
  // The per-channel check boxes live in the extension area.
  ASSERT_EQ(conv.SetOption(0, 0, 14, 1), 1);
  EXPECT_TRUE(ext().bit(0x670, 0));
  ASSERT_EQ(conv.SetOption(0, 0, 18, 0), 1);
  EXPECT_FALSE(ext().bit(0x6B0, 0));
  EXPECT_EQ(Field(0, 0, 18), "T372");
  EXPECT_EQ(Field(0, 0, 14), "T373");
  // No field 17 in a conventional channel.
  EXPECT_EQ(conv.SetOption(0, 0, 17, 0), 0);
  EXPECT_FALSE(conv.IsEditable(0, 0, 17));
}

TEST_F(ChannelFields, DataSignallingChoiceFollowsTheFilterByte) {
  MakeConv(0, {1});
  ASSERT_EQ(conv.SetFrequency(0, 0, 3, "146.52", true).result, 1);
  const size_t rec = static_cast<size_t>(zm.FindRecord(0, 0));
  // ID-list entries 1 and 2 usable, 3 not (byte +15 set).
  image().fill(0xA700, 16 * 100, 0xFF);
  image().setU8(0xA700 + 12, 1);
  image().setU8(0xA710 + 12, 1);
  image().setU8(0xA720 + 12, 1);
  image().setU8(0xA720 + 15, 0);
  image().setU8(0x180, '1');
  const auto choices = conv.OptionChoices(0, 0, 12);
  ASSERT_EQ(choices.size(), 6u);
  EXPECT_EQ(choices[4].text, "T444 1");
  EXPECT_EQ(choices[5].entry, 2);
  ASSERT_EQ(conv.SetOption(0, 0, 12, '3', 2), 1);
  EXPECT_EQ(image().u8(rec + 29), '3');
  EXPECT_EQ(image().u8(rec + 30), 2);
  EXPECT_EQ(Field(0, 0, 12), "T444 2");
  EXPECT_EQ(conv.SetOption(0, 0, 12, '3', 3), 0);  // unusable entry
  EXPECT_EQ(conv.SetOption(0, 0, 12, '4'), 0);
  ASSERT_EQ(conv.SetOption(0, 0, 12, '0'), 1);
  EXPECT_EQ(image().u8(rec + 29), '0');
  EXPECT_EQ(image().u8(rec + 30), 0xFF);
  image().setU8(0x180, '2');
  EXPECT_EQ(conv.OptionChoices(0, 0, 12).size(), 2u);
  ASSERT_EQ(conv.SetOption(0, 0, 12, '4'), 1);
  EXPECT_EQ(Field(0, 0, 12), "T370");
  EXPECT_EQ(conv.SetOption(0, 0, 12, '1'), 0);
  // Through the grid's text entry.
  image().setU8(0x180, '1');
  EXPECT_EQ(conv.SetRecordField(0, 0, 12, "T444 1").result, 1);
  EXPECT_EQ(image().u8(rec + 30), 1);
}

TEST_F(ChannelFields, Editability) {
  MakeConv(0, {1});
  EXPECT_FALSE(conv.IsEditable(0, 5, 4));  // missing record: receive frequency only
  EXPECT_TRUE(conv.IsEditable(0, 5, 3));
  EXPECT_TRUE(conv.IsEditable(9, 0, 3));
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "", true).result, 1);
  for (int f : {6, 8, 11, 12}) EXPECT_FALSE(conv.IsEditable(0, 0, f)) << f;
  for (int f : {3, 4, 5, 7, 9, 10, 13, 14, 15, 16, 18, 20}) EXPECT_TRUE(conv.IsEditable(0, 0, f)) << f;
  EXPECT_FALSE(conv.IsEditable(0, 0, 19));
  ASSERT_EQ(conv.SetFrequency(0, 0, 4, "150", true).result, 1);
  for (int f : {6, 8, 11, 12}) EXPECT_TRUE(conv.IsEditable(0, 0, f)) << f;
  ASSERT_EQ(zm.SetZoneType(0, '3'), 1);
  EXPECT_FALSE(conv.IsEditable(0, 0, 11));
  EXPECT_FALSE(conv.IsEditable(0, 0, 14));
  SetSystemType(1);
  EXPECT_TRUE(conv.IsEditable(0, 0, 19));
  EXPECT_FALSE(conv.IsEditable(-1, 0, 3));
  EXPECT_FALSE(conv.IsEditable(0, 250, 3));
  std::string s = "x";
  EXPECT_EQ(conv.RecordFieldText(128, 0, 3, s), 0);
  EXPECT_EQ(s, "");
}

TEST_F(ChannelFields, SteppedField19) {
  SetSystemType(1);
  MakeConv(0, {1, 2});
  EXPECT_EQ(Field(0, 1, 19), "1");  // a new channel's byte
  ASSERT_EQ(conv.SetStepped(0, 1, std::string("12")), 1);
  EXPECT_EQ(ext().u8(0x1001), 12);
  ASSERT_EQ(conv.SetStepped(0, 1, std::string("40")), 1);
  EXPECT_EQ(ext().u8(0x1001), 16);
  ASSERT_EQ(conv.SetStepped(0, 1, 1), 1);
  EXPECT_EQ(ext().u8(0x1001), 1);  // wraps
  ASSERT_EQ(conv.SetStepped(0, 1, -1), 1);
  EXPECT_EQ(ext().u8(0x1001), 16);
  ext().setU8(0x1000, 0xFF);
  EXPECT_EQ(Field(0, 0, 19), "");
  ASSERT_EQ(conv.SetStepped(0, 0, std::string("")), 1);
  EXPECT_EQ(ext().u8(0x1000), 1);
  SetModel(8, 0x04);
  ASSERT_EQ(conv.SetStepped(0, 1, std::string("12")), 1);
  EXPECT_EQ(ext().u8(0x1001), 8);
  SetSystemType(2);
  EXPECT_EQ(conv.SetStepped(0, 1, std::string("3")), 0);
  EXPECT_EQ(ext().u8(0x1001), 8);
}

using HeaderFields = ZoneFixture;

TEST_F(HeaderFields, NumbersListsAndCheckBoxes) {
  MakeConv(3, {});
  const size_t hdr = 0xB00;
  std::string s;
  EXPECT_EQ(conv.HeaderFieldText(3, 0, s), 1);
  EXPECT_EQ(s, "  4");
  EXPECT_EQ(conv.HeaderFieldText(3, 1, s), 0xFF);
  EXPECT_EQ(s, "T362");
  ASSERT_EQ(conv.SetHeaderField(3, 1, "200"), 1);
  EXPECT_EQ(image().u8(hdr + 17), 128);
  ASSERT_EQ(conv.SpinHeaderField(3, 1, 1), 1);
  EXPECT_EQ(image().u8(hdr + 17), 0xFF);  // past the maximum: off
  ASSERT_EQ(conv.SpinHeaderField(3, 1, 1), 1);
  EXPECT_EQ(image().u8(hdr + 17), 1);
  ASSERT_EQ(conv.SetHeaderField(3, 2, "T362"), 1);
  EXPECT_EQ(image().u8(hdr + 18), 0xFF);
  ASSERT_EQ(conv.SetHeaderField(3, 3, "17"), 1);
  EXPECT_EQ(ext().u8(0xF03), 17);
  EXPECT_EQ(conv.HeaderFieldText(3, 7, s), 60);
  ASSERT_EQ(conv.SetHeaderField(3, 7, "1000"), 1);
  EXPECT_EQ(image().u16le(hdr + 19), 1000);
  ASSERT_EQ(conv.SetHeaderField(3, 7, "5"), 1);
  EXPECT_EQ(image().u16le(hdr + 19), 15);
  SetModel(1, 0x04);  // high power: at most 600
  ASSERT_EQ(conv.SetHeaderField(3, 7, "1000"), 1);
  EXPECT_EQ(image().u16le(hdr + 19), 600);
  ASSERT_EQ(conv.SetHeaderField(3, 8, "7"), 1);
  EXPECT_EQ(image().u16le(hdr + 21), 7);
  ASSERT_EQ(conv.SpinHeaderField(3, 9, -1), 1);
  EXPECT_EQ(image().u16le(hdr + 23), 60);  // from off down to the maximum
  ASSERT_EQ(conv.SetHeaderField(3, 10, ""), 1);
  EXPECT_EQ(image().u16le(hdr + 25), 0xFFFF);
  conv.HeaderFieldText(3, 10, s);
  EXPECT_EQ(s, "T371");
  ASSERT_EQ(conv.SetHeaderOption(3, 6, 2), 1);
  ASSERT_EQ(conv.SetHeaderOption(3, 5, 1), 1);
  ASSERT_EQ(conv.SetHeaderOption(3, 4, 0), 1);
  ASSERT_EQ(conv.SetHeaderOption(3, 13, 0), 1);
  ASSERT_EQ(conv.SetHeaderOption(3, 11, 0), 1);
  EXPECT_EQ(image().u8(hdr + 30), 0xC6);
  EXPECT_EQ(conv.SetHeaderOption(3, 6, 3), 0);
  conv.HeaderFieldText(3, 6, s);
  EXPECT_EQ(s, "T488");
  ASSERT_EQ(conv.SetHeaderOption(3, 12, 1), 1);
  EXPECT_TRUE(ext().bit(0x6F0, 3));
  ASSERT_EQ(conv.SetHeaderField(3, 0, "North Depot Yard"), 1);
  EXPECT_EQ(Bytes(hdr + 5, 12), std::vector<uint8_t>({'N', 'o', 'r', 't', 'h', ' ', 'D', 'e', 'p', 'o', 't', 0}));
  conv.HeaderFieldText(3, 0, s);
  EXPECT_EQ(s, "North Depot");
  EXPECT_EQ(conv.SetHeaderField(4, 1, "3"), 0);  // no such zone
}

}  // namespace
}  // namespace vb420::testing
