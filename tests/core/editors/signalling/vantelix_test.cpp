// SPDX-License-Identifier: GPL-3.0-or-later
// The Vantelix pages, the ID list and the status list, by settings key: the
// bytes each typed text leaves in the image, and lists placed by the area
// directory (followed within the image, refused outside it).
#include "SignalTestSupport.h"
#include "editors/signalling/VantelixFields.h"

namespace vb420::sigtest {
namespace {

using forms::SettingStatus;

class Vantelix : public SignalTest {
 protected:
  void SetUp() override {
    SignalTest::SetUp();
    (void)VantelixFieldTable();
    (void)IdListFieldTable();
  }
  size_t IdEntry(int row) { return 0xA700 + 16 * static_cast<size_t>(row); }
  size_t StatusEntry(int row) { return 0xB400 + 20 * static_cast<size_t>(row); }
};

TEST_F(Vantelix, FleetAndIdBoxesClampAndStoreShownMinusBias) {
  struct Case {
    const char* key;
    const char* typed;
    size_t at;
    int width;
    int stored;
    const char* shownText;
  } cases[] = {
      {"vantelix.ownfleet", "50", 0x720, 1, 1, "100"},     {"vantelix.ownfleet", "400", 0x720, 1, 250, "349"},
      {"vantelix.ownfleet", "123", 0x720, 1, 24, "123"},   {"vantelix.ownfleet", "", 0x720, 1, 0xFF, ""},
      {"vantelix.ownid", "1000", 0x721, 2, 1, "1000"},     {"vantelix.ownid", "5000", 0x721, 2, 4000, "4999"},
      {"vantelix.ownid", "12", 0x721, 2, 1, "1000"},       {"vantelix.gpsfleet", "349", 0x760, 1, 250, "349"},
      {"vantelix.dispid", "4321", 0x771, 2, 3322, "4321"}, {"vantelix.groupidhigh", "2000", 0x725, 2, 1001, "2000"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Set(c.key, c.typed), SettingStatus::Ok) << c.key << "=" << c.typed;
    EXPECT_EQ(c.width == 1 ? B(c.at) : W(c.at), c.stored) << c.key << "=" << c.typed;
    EXPECT_EQ(shown.text, c.shownText) << c.key << "=" << c.typed;
  }
  // The neighbours of a word stay as they were.
  EXPECT_EQ(B(0x723), 0xFF);
  EXPECT_EQ(B(0x727), '0');
}

TEST_F(Vantelix, PageFieldsStoreTheirBitsBytesAndScaledTimes) {
  ASSERT_EQ(Set("vantelix.callerid", "Yes"), SettingStatus::Ok);     // word 0x74C bit 0, checked = 0
  ASSERT_EQ(Set("vantelix.stspoweroff", "Yes"), SettingStatus::Ok);  // bit 15
  EXPECT_EQ(W(0x74C), 0xFFFF & ~1 & ~0x8000);
  ASSERT_EQ(Set("vantelix.datach", text.Text(1014)), SettingStatus::Ok);  // word 0x74E bit 5 = 1
  EXPECT_EQ(W(0x74E), 0xFFFF);
  ASSERT_EQ(Set("vantelix.datach", text.Text(796)), SettingStatus::Ok);
  EXPECT_EQ(W(0x74E), 0xFFFF & ~0x20);
  ASSERT_EQ(Set("vantelix.autopos", "Yes"), SettingStatus::Ok);
  EXPECT_EQ(B(0x72F), '0');
  ASSERT_EQ(Set("vantelix.ackwait", "2.55"), SettingStatus::Ok);  // tenths of a second, stored in ms
  EXPECT_EQ(W(0x752), 2500);
  ASSERT_EQ(Set("vantelix.ackwait", "99"), SettingStatus::Ok);
  EXPECT_EQ(W(0x752), 60000);
  EXPECT_EQ(shown.text, "60.0");
  ASSERT_EQ(Set("vantelix.txdelay", "1234"), SettingStatus::Ok);
  EXPECT_EQ(W(0x756), 1200);
  ASSERT_EQ(Set("vantelix.autoreset", text.Text(371)), SettingStatus::Ok);
  EXPECT_EQ(W(0x728), 0xFFFF);
  ASSERT_EQ(Set("vantelix.autoreset", "400"), SettingStatus::Ok);
  EXPECT_EQ(W(0x728), 300);
  ASSERT_EQ(Set("vantelix.txinvert", "Yes"), SettingStatus::Ok);
  EXPECT_EQ(B(0x75E), 0xFE);
}

TEST_F(Vantelix, HornAlertIsNotOfferedOnPortables) {
  ASSERT_EQ(Set("vantelix.notify", text.Text(1012)), SettingStatus::Ok);
  EXPECT_EQ(B(0x72A), '1');
  UseModel(8);
  EXPECT_EQ(Set("vantelix.notify", text.Text(1012)), SettingStatus::BadValue);
  ASSERT_EQ(Set("vantelix.notify", text.Text(752)), SettingStatus::Ok);
  EXPECT_EQ(B(0x72A), '0');
}

TEST_F(Vantelix, ReportIntervalStaysBelowTheMovingAndStoppedIntervalsWhileGpsIsOn) {
  ASSERT_EQ(Set("vantelix.reportinterval", "3000"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u16le(0x50D), 3000);  // GPS off: the intervals do not bind it
  ASSERT_EQ(Set("vantelix.gpsenable", "Yes"), SettingStatus::Ok);
  ASSERT_EQ(Set("vantelix.movinginterval", "60"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u16le(0x508), 60);
  EXPECT_EQ(data.Ext().u16le(0x50D), 59);  // brought down with it
  ASSERT_EQ(Set("vantelix.reportinterval", "100"), SettingStatus::Ok);
  EXPECT_EQ(data.Ext().u16le(0x50D), 59);
  ASSERT_EQ(Set("vantelix.gpsenable", "No"), SettingStatus::Ok);
  EXPECT_EQ(Set("vantelix.movinginterval", "100"), SettingStatus::Disabled);
}

TEST_F(Vantelix, FleetInAnEmptyEntryNamesItAndGivesIdZero) {
  ASSERT_EQ(Set("idlist.7.fleet", "120"), SettingStatus::Ok);
  const std::vector<uint8_t> expected = {' ', ' ', 'I', 'D', ' ', '0', '0', '7', 0, 0, 0, 0, 21, 0, 0, 0xFF};
  EXPECT_EQ(Bytes(IdEntry(6), 16), expected);
  EXPECT_EQ(Get("idlist.7.name"), "  ID 007");
  EXPECT_EQ(Get("idlist.7.id"), text.Text(806));  // ID 0: the whole fleet
  // The neighbours are untouched.
  EXPECT_EQ(Bytes(IdEntry(5), 16), std::vector<uint8_t>(16, 0xFF));
  EXPECT_EQ(Bytes(IdEntry(7), 16), std::vector<uint8_t>(16, 0xFF));
}

TEST_F(Vantelix, SecondGenerationDefaultNameHasOneLeadingSpace) {
  UseModel(2);
  ASSERT_EQ(Set("idlist.12.id", "1500"), SettingStatus::Ok);
  const std::vector<uint8_t> expected = {' ', 'I', 'D', ' ', '0', '1', '2', 0, 0, 0, 0, 0, 0, 0xF5, 0x01, 0xFF};
  EXPECT_EQ(Bytes(IdEntry(11), 16), expected);  // fleet 0, ID 1500 - 999 = 501
  // Names are cut at 8 characters there.
  ASSERT_EQ(Set("idlist.12.name", "ABCDEFGHIJ"), SettingStatus::Ok);
  EXPECT_EQ(Bytes(IdEntry(11), 12), (std::vector<uint8_t>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0, 0, 0, 0}));
}

TEST_F(Vantelix, IdListCellRules) {
  // A typed ID fills in fleet 0 for an empty entry, and a fleet keeps an ID already there.
  ASSERT_EQ(Set("idlist.1.id", "999"), SettingStatus::Ok);
  EXPECT_EQ(B(IdEntry(0) + 12), 0);
  EXPECT_EQ(W(IdEntry(0) + 13), 1);
  ASSERT_EQ(Set("idlist.1.fleet", "0"), SettingStatus::Ok);  // a typed 0 stores 0
  EXPECT_EQ(B(IdEntry(0) + 12), 0);
  ASSERT_EQ(Set("idlist.1.fleet", "500"), SettingStatus::Ok);
  EXPECT_EQ(B(IdEntry(0) + 12), 250);
  EXPECT_EQ(W(IdEntry(0) + 13), 1);
  // A name set by hand is kept when the fleet changes; it is cut at 12.
  ASSERT_EQ(Set("idlist.1.name", "Depot North West"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "Depot North");
  ASSERT_EQ(Set("idlist.1.fleet", "101"), SettingStatus::Ok);
  EXPECT_EQ(Get("idlist.1.name"), "Depot North");
  // Inhibit: the "Yes" text stores 0, anything else 0xFF.
  ASSERT_EQ(Set("idlist.1.inh", "yes"), SettingStatus::Ok);
  EXPECT_EQ(B(IdEntry(0) + 15), 0);
  EXPECT_EQ(Set("idlist.1.inh", "maybe"), SettingStatus::BadValue);  // a list: its rows only
  EXPECT_EQ(B(IdEntry(0) + 15), 0);
  EXPECT_TRUE(StoreIdCell(data, text, 0, IdColumn::Inhibit, "maybe"));  // the cell takes anything else as "no"
  EXPECT_EQ(B(IdEntry(0) + 15), 0xFF);
  EXPECT_EQ(Get("idlist.1.inh"), "No");
  // Clearing the fleet empties the whole entry.
  ASSERT_EQ(Set("idlist.1.fleet", ""), SettingStatus::Ok);
  EXPECT_EQ(Bytes(IdEntry(0), 16), std::vector<uint8_t>(16, 0xFF));
  // An empty entry takes no name and no inhibit mark.
  EXPECT_EQ(Set("idlist.2.name", "X"), SettingStatus::Disabled);
  EXPECT_EQ(Set("idlist.2.inh", "Yes"), SettingStatus::Disabled);
  EXPECT_FALSE(StoreIdCell(data, text, 1, IdColumn::Name, "X"));
  EXPECT_EQ(Bytes(IdEntry(1), 16), std::vector<uint8_t>(16, 0xFF));
  // Letters are not a number: refused, nothing changes.
  EXPECT_EQ(Set("idlist.3.fleet", "abc"), SettingStatus::Refused);
  EXPECT_EQ(Bytes(IdEntry(2), 16), std::vector<uint8_t>(16, 0xFF));
  EXPECT_EQ(Set("idlist.101.fleet", "120"), SettingStatus::UnknownKey);
}

TEST_F(Vantelix, StatusListCellRules) {
  EXPECT_EQ(Set("status.1.name", "Busy"), SettingStatus::Disabled);  // empty entry
  EXPECT_FALSE(StoreStatusCell(data, text, 0, StatusColumn::Text, "Busy"));
  ASSERT_EQ(Set("status.1.sts", "5"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "10");
  ASSERT_EQ(Set("status.1.name", "On the way to the depot"), SettingStatus::Ok);
  std::vector<uint8_t> expected = {'O', 'n', ' ', 't', 'h', 'e', ' ', 'w', 'a', 'y', ' ', 't', 'o', ' ', 't', 'h',
                                   10, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Bytes(StatusEntry(0), 20), expected);
  ASSERT_EQ(Set("status.1.sts", "150"), SettingStatus::Ok);
  EXPECT_EQ(B(StatusEntry(0) + 16), 99);
  ASSERT_EQ(Set("status.2.sts", "7"), SettingStatus::Ok);
  EXPECT_EQ(Get("status.2.sts"), "10");
  ASSERT_EQ(Set("status.2.sts", "42"), SettingStatus::Ok);
  EXPECT_EQ(Get("status.2.name"), "");
  EXPECT_EQ(Bytes(StatusEntry(1), 16), std::vector<uint8_t>(16, 0));
  ASSERT_EQ(Set("status.1.inh", "Yes"), SettingStatus::Ok);
  EXPECT_EQ(B(StatusEntry(0) + 17), 0);
  EXPECT_EQ(Set("status.1.inh", "perhaps"), SettingStatus::BadValue);
  EXPECT_FALSE(StoreStatusCell(data, text, 0, StatusColumn::Inhibit, "perhaps"));
  ASSERT_EQ(Set("status.1.inh", "No"), SettingStatus::Ok);
  EXPECT_EQ(B(StatusEntry(0) + 17), 0xFF);
  // Bytes 18 and 19 are the radio's: clearing the entry leaves them.
  data.Image().setU8(StatusEntry(0) + 18, 0x12);
  ASSERT_EQ(Set("status.1.sts", " "), SettingStatus::Ok);
  expected = std::vector<uint8_t>(18, 0xFF);
  expected.push_back(0x12);
  expected.push_back(0xFF);
  EXPECT_EQ(Bytes(StatusEntry(0), 20), expected);
}

TEST_F(Vantelix, ListsFollowTheDirectory) {
  ByteArea image = data.Image();
  image.setU16le(0x9EC, 0x9000);  // ID list: 5 entries at 0x9000
  image.setU16le(0x9EE, 5);
  image.setU16le(0x9F0, 0xBF00);  // status list: 3 entries at 0xBF00
  image.setU16le(0x9F2, 3);
  const std::vector<uint8_t> before = data.buffers.ImageBytes();
  ASSERT_EQ(Set("idlist.5.fleet", "200"), SettingStatus::Ok);
  EXPECT_EQ(B(0x9000 + 4 * 16 + 12), 101);
  EXPECT_EQ(Set("idlist.6.fleet", "200"), SettingStatus::UnknownKey);
  ASSERT_EQ(Set("status.3.sts", "33"), SettingStatus::Ok);
  EXPECT_EQ(B(0xBF00 + 2 * 20 + 16), 33);
  // Only the entries named changed; the default places were not touched.
  std::vector<uint8_t> after = data.buffers.ImageBytes();
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) {
      ++changed;
      EXPECT_TRUE((i >= 0x9040 && i < 0x9050) || (i >= 0xBF28 && i < 0xBF3C)) << std::hex << i;
    }
  EXPECT_GT(changed, 0u);
  std::vector<forms::SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "idlist", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 5u * 4);
}

TEST_F(Vantelix, DirectoryPointingOutsideTheImageIsRefusedNeverFollowed) {
  struct Case {
    uint16_t offset;
    uint16_t count;
  } cases[] = {{0xBFF0, 100}, {0xC000, 1}, {0xFFFF, 0xFFFF}, {0xB400, 200}};
  for (const Case& c : cases) {
    data.Image().setU16le(0x9EC, c.offset);
    data.Image().setU16le(0x9EE, c.count);
    const std::vector<uint8_t> before = data.buffers.ImageBytes();
    const PlacedList l = PlaceIdList(data.Image());
    EXPECT_TRUE(l.refused) << std::hex << c.offset;
    EXPECT_EQ(l.Rows(), 0);
    EXPECT_EQ(RefusedListMessage(data.Image()), 1083);
    std::vector<forms::SettingLine> lines;
    ASSERT_EQ(forms::ListSettings(data, text, "idlist", lines), SettingStatus::Ok);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(Set("idlist.1.fleet", "120"), SettingStatus::UnknownKey);
    EXPECT_FALSE(StoreIdCell(data, text, 0, IdColumn::Fleet, "120"));
    EXPECT_EQ(IdCellText(data, text, 0, IdColumn::Fleet), "");
    EXPECT_EQ(data.buffers.ImageBytes(), before);
  }
  // A list that fits exactly at the end of the image is followed.
  data.Image().setU16le(0x9EC, 0xC000 - 32);
  data.Image().setU16le(0x9EE, 2);
  EXPECT_FALSE(PlaceIdList(data.Image()).refused);
  EXPECT_EQ(PlaceIdList(data.Image()).Rows(), 2);
  EXPECT_EQ(RefusedListMessage(data.Image()), 0);
}

// A radio may hold more entries than a new image: the lists follow the
// directory's count while the records lie inside the image.
TEST_F(Vantelix, ListsFollowACountAboveTheNewImagesWhileInsideTheImage) {
  data.Image().setU16le(0x9EE, 180);  // ID list at 0xA700: 180 x 16 ends at 0xB240
  data.Image().setU16le(0x9F2, 150);  // status list at 0xB400: 150 x 20 ends at 0xBFB8
  EXPECT_FALSE(PlaceIdList(data.Image()).refused);
  EXPECT_EQ(PlaceIdList(data.Image()).Rows(), 180);
  EXPECT_EQ(PlaceStatusList(data.Image()).Rows(), 150);
  EXPECT_EQ(RefusedListMessage(data.Image()), 0);
  std::vector<forms::SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "idlist", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 180u * 4);
  lines.clear();
  ASSERT_EQ(forms::ListSettings(data, text, "status", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 150u * 3);
  ASSERT_EQ(Set("idlist.180.fleet", "120"), SettingStatus::Ok);
  EXPECT_EQ(B(IdEntry(179) + 12), 21);
  ASSERT_EQ(Set("status.150.sts", "42"), SettingStatus::Ok);
  EXPECT_EQ(B(StatusEntry(149) + 16), 42);
  EXPECT_EQ(Set("idlist.181.fleet", "120"), SettingStatus::UnknownKey);
  // One record more than the image holds refuses the whole list.
  data.Image().setU16le(0x9F2, 154);  // 0xB400 + 154 x 20 = 0xC008
  EXPECT_TRUE(PlaceStatusList(data.Image()).refused);
  EXPECT_EQ(PlaceStatusList(data.Image()).Rows(), 0);
  EXPECT_EQ(RefusedListMessage(data.Image()), 1083);
  // A count with four digits reaches its last entry.
  data.Image().setU16le(0x9EC, 0x1000);
  data.Image().setU16le(0x9EE, 1200);
  ASSERT_EQ(PlaceIdList(data.Image()).Rows(), 1200);
  ASSERT_EQ(Set("idlist.1200.fleet", "120"), SettingStatus::Ok);
  EXPECT_EQ(B(0x1000 + 16 * 1199 + 12), 21);
}

TEST_F(Vantelix, EverySettingIsListedAndReadsBackAsItWasShown) {
  std::vector<forms::SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "vantelix", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 16u + 21u + 12u + 21u + 2u);
  // Storing what each field shows changes nothing.
  const std::vector<uint8_t> before = data.buffers.ImageBytes();
  for (const forms::SettingLine& l : lines) {
    if (!l.enabled) continue;
    EXPECT_EQ(Set(l.key, l.text), SettingStatus::Ok) << l.key << "=" << l.text;
  }
  EXPECT_EQ(data.buffers.ImageBytes(), before);
  lines.clear();
  ASSERT_EQ(forms::ListSettings(data, text, "status", lines), SettingStatus::Ok);
  EXPECT_EQ(lines.size(), 90u * 3);
}

}  // namespace
}  // namespace vb420::sigtest
