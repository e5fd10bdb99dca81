// SPDX-License-Identifier: GPL-3.0-or-later
// The field battery: every field of every registered field set, on every
// model. Each field is driven by its descriptor alone (empty entry, both
// spin bounds, out-of-range text, a save and load of the data file, a
// damaged image), so a field added to a table is covered here without a
// test of its own.
#include "support/Paths.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ZoneTestUtil.h"
#include "data/DataFile.h"
#include "data/ImageLayout.h"
#include "editors/forms/FieldSets.h"
#include "editors/forms/FieldsDoc.h"
#include "editors/messages/MessageFields.h"
#include "editors/passport/PassPortLists.h"
#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/EmergencyFields.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/features/FeatureFields.h"
#include "editors/features/KeyFields.h"
#include "editors/features/OptBoardFields.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/ZoneFields.h"

namespace vb420::testing {
namespace {

using forms::ControlKind;
using forms::Encoding;
using forms::FieldDescriptor;
using forms::FieldSet;
using forms::FormEngine;
using forms::SettingLine;
using forms::SettingStatus;

// The zones every battery image holds: a conventional zone 3 with channel 5,
// an LTR zone 5 with group 3 and repeater 2, a PassPort zone 7 with group 1.
constexpr int kConvZone = 2, kChannel = 4, kLtrZone = 4, kGroup = 2, kRepeater = 1, kPpZone = 6, kPpGroup = 0;

// The record prefix of a key: the key without its field's own key (field
// keys may hold dots, "features.0.7").
std::string PrefixOf(const FieldDescriptor& d, const std::string& key) {
  return key.size() > d.key.size() ? key.substr(0, key.size() - d.key.size() - 1) : std::string();
}

uint8_t BandOf(int model) { return (model >= 4 && model <= 7) || model == 9 ? 0x06 : 0x04; }

class FieldBattery : public ZoneFixture {
 protected:
  CGroupFields groups{zm, text()};

  void Build(int model) {
    data.buffers.Clear();
    SetModel(model, BandOf(model));
    InitNewImage(data, false);
    SetSystemType(1);
    MakeConv(kConvZone, {kChannel + 1});
    ASSERT_EQ(conv.SetFrequency(kConvZone, kChannel, 3, BandOf(model) == 0x04 ? "151.5" : "460.5", false).result,
              kFieldStored);
    ASSERT_EQ(zm.CreateZone(kLtrZone, '0'), 1);
    ASSERT_EQ(zm.InsertRecord(kLtrZone, kGroup), 1);
    ASSERT_EQ(zm.InsertRepeater(kLtrZone, kRepeater), 1);
    ASSERT_EQ(zm.CreateZone(kPpZone, '5'), 1);
    ASSERT_EQ(zm.InsertRecord(kPpZone, kPpGroup), 1);
    // Row 2 of each PassPort list is in use.
    ASSERT_EQ(Set("ppmobile.2.min", "100"), SettingStatus::Ok);
    ASSERT_EQ(Set("ppsite.2.asid", "5"), SettingStatus::Ok);
  }

  // The key of field `d` of set `s` in the battery image (a set not named
  // here: its first record).
  std::string KeyOf(const FieldSet& s, const FieldDescriptor& d) {
    std::string prefix;
    if (s.name == "conv-zone") prefix = "zone.3.header";
    else if (s.name == "ltr-zone") prefix = "zone.5.header";
    else if (s.name == "channel") prefix = "zone.3.ch.5";
    else if (s.name == "ltr-group") prefix = "zone.5.group.3";
    else if (s.name == "repeater") prefix = "zone.5.rep.2";
    else if (s.name == "passport-group") prefix = "zone.7.group.1";
    else if (s.name == "passport-system") prefix = "zone.7.system";
    else if (s.name == "passport-search") prefix = "zone.7.search";
    else if (s.name == "passport-seed") prefix = "zone.7.seed";
    else if (s.name == "ppmobile" || s.name == "ppsite") prefix = s.name + ".2";
    else if (s.name == "testfreq") prefix = "testfreq.2";
    else if (s.name == "message" || s.name == "passmessage") prefix = s.name;
    else if (s.name == "features" || s.name == "optboard" || s.name == "extfunc" || s.name == "special") prefix = s.name;
    else if (s.name == "keys") prefix = "keys.3";
    else if (s.name == "keysetup") prefix = "keys";
    else if (s.name == "vantelix" || s.name == "emergency") prefix = s.name;
    else if (s.name == "idlist") prefix = "idlist.7";
    else if (s.name == "status") prefix = "status.3";
    else if (s.name == "alert") prefix = "alert.2";
    else if (s.name == "alertstep") prefix = "alert.2.step.5";
    else if (const auto records = s.records(data); !records.empty()) prefix = records.front().prefix;
    return prefix.empty() ? std::string() : prefix + "." + d.key;
  }

  SettingLine Get(const std::string& key) {
    SettingLine l;
    EXPECT_EQ(forms::GetSetting(data, text(), key, l), SettingStatus::Ok) << key;
    return l;
  }
  SettingStatus Set(const std::string& key, const std::string& value, SettingLine* out = nullptr) {
    SettingLine l;
    int message = 0;
    const SettingStatus st = forms::SetSetting(data, text(), key, value, l, message);
    if (out) *out = l;
    return st;
  }
  // The raw value of a number field through its own descriptor.
  int Raw(const FieldSet& s, const FieldDescriptor& d, const std::string& key) {
    forms::RecordCursor c;
    const std::string prefix = PrefixOf(d, key);
    EXPECT_TRUE(s.parse(data, prefix, c));
    auto b = s.bind(data, text(), c);
    return FormEngine::ReadValue(b->Context(), d.field);
  }
  int Bound(const FieldSet& s, const FieldDescriptor& d, const std::string& key, bool upper) {
    forms::RecordCursor c;
    s.parse(data, PrefixOf(d, key), c);
    auto b = s.bind(data, text(), c);
    return upper ? FormEngine::Maximum(b->Context(), d) : FormEngine::Minimum(b->Context(), d);
  }
  void Spin(const FieldSet& s, const FieldDescriptor& d, const std::string& key, int dir) {
    forms::RecordCursor c;
    s.parse(data, PrefixOf(d, key), c);
    auto b = s.bind(data, text(), c);
    FormEngine::Spin(b->Context(), d, dir);
  }

  std::vector<uint8_t> Snapshot() {
    std::vector<uint8_t> all(data.buffers.ImageBytes());
    all.insert(all.end(), data.buffers.ExtBytes().begin(), data.buffers.ExtBytes().end());
    return all;
  }
};

bool IsList(const FieldDescriptor& d) { return d.kind == ControlKind::Combo || d.kind == ControlKind::Check; }
// Captions a set keeps for the printed report hold no value: no setting.
bool NoSetting(const FieldDescriptor& d) { return d.key.empty() || d.encoding == forms::Encoding::None; }

// Every field of every set is reached by the battery's keys.
TEST_F(FieldBattery, EveryFieldHasAKeyInTheBatteryImage) {
  Build(0);
  for (const FieldSet& s : forms::FieldSets()) {
    for (const FieldDescriptor& d : *s.fields) {
      if (NoSetting(d)) continue;
      const std::string key = KeyOf(s, d);
      ASSERT_FALSE(key.empty()) << "no battery record for set " << s.name;
      SettingLine l;
      EXPECT_EQ(forms::GetSetting(data, text(), key, l), SettingStatus::Ok) << key;
      // The same key comes out of the listing.
      std::vector<SettingLine> all;
      ASSERT_EQ(forms::ListSettings(data, text(), s.name, all), SettingStatus::Ok);
      bool listed = false;
      for (const SettingLine& a : all) listed |= a.key == key && a.text == l.text;
      EXPECT_TRUE(listed) << key;
    }
  }
}

// Empty entry, spin at both bounds and out-of-range text, on every model.
TEST_F(FieldBattery, EmptyEntrySpinBoundsAndOutOfRangeTextOnEveryModel) {
  int numbers = 0, lists = 0, names = 0, disabled = 0;
  for (int model = 0; model < 10; ++model) {
    for (const FieldSet& s : forms::FieldSets()) {
      for (const FieldDescriptor& d : *s.fields) {
        if (NoSetting(d)) continue;
        Build(model);
        const std::string key = KeyOf(s, d);
        SCOPED_TRACE(key + " model " + std::to_string(model));
        const SettingLine before = Get(key);
        if (!before.enabled) {
          // A disabled field refuses every change and changes nothing.
          const auto bytes = Snapshot();
          EXPECT_EQ(Set(key, "1"), SettingStatus::Disabled);
          EXPECT_EQ(Snapshot(), bytes);
          ++disabled;
          continue;
        }
        if (IsList(d)) {
          const auto bytes = Snapshot();
          EXPECT_EQ(Set(key, "no such row"), SettingStatus::BadValue);
          EXPECT_EQ(Snapshot(), bytes);
          ++lists;
          // Every offered row stores and reads back as itself.
          forms::RecordCursor c;
          s.parse(data, PrefixOf(d, key), c);
          auto b = s.bind(data, text(), c);
          for (const std::string& row : FormEngine::ChoiceTexts(b->Context(), d)) {
            SettingLine after;
            ASSERT_EQ(Set(key, row, &after), SettingStatus::Ok) << row;
            EXPECT_EQ(after.text, row);
            EXPECT_EQ(Get(key).text, row);
          }
          continue;
        }
        if (d.recordKey) {
          // The first data column: an empty entry removes the record.
          ASSERT_EQ(Set(key, ""), SettingStatus::Ok);
          forms::RecordCursor c;
          s.parse(data, PrefixOf(d, key), c);
          auto b = s.bind(data, text(), c);
          const auto base = s.name == "repeater" ? forms::RecordBase::Repeater : forms::RecordBase::Record;
          EXPECT_LT(b->Context().locator->Locate(b->Context(), base), 0);
          continue;
        }
        // The empty entry stores the empty value (shown with its text), the
        // minimum, or an empty name.
        SettingLine empty;
        ASSERT_EQ(Set(key, "", &empty), SettingStatus::Ok);
        if (d.encoding == Encoding::Number && (d.spinThroughNames || d.unparsableValue >= 0)) {
          // Names inside the spin cycle and a text that stores its own value:
          // rules of their own, tested with their editor.
          ++numbers;
        } else if (d.encoding == Encoding::Number) {
          ++numbers;
          if (d.emptyValue >= 0) {
            EXPECT_EQ(Raw(s, d, key), d.emptyValue);
            EXPECT_EQ(empty.text, d.emptyTextEntry >= 0 ? text().Text(d.emptyTextEntry) : "");
          } else {
            EXPECT_EQ(Raw(s, d, key), Bound(s, d, key, false));
          }
          // Storing the shown text again keeps it.
          ASSERT_EQ(Set(key, empty.text), SettingStatus::Ok);
          EXPECT_EQ(Get(key).text, empty.text);
          const int lo = Bound(s, d, key, false), hi = Bound(s, d, key, true);
          // Spin past the maximum: to the empty value, or round to the minimum.
          ASSERT_EQ(Set(key, std::to_string(hi)), SettingStatus::Ok);
          EXPECT_EQ(Raw(s, d, key), hi);
          Spin(s, d, key, +1);
          EXPECT_EQ(Raw(s, d, key), d.emptyValue >= 0 ? d.emptyValue : lo);
          // Spin below the minimum: to the empty value, or round to the maximum.
          ASSERT_EQ(Set(key, std::to_string(lo)), SettingStatus::Ok);
          Spin(s, d, key, -1);
          EXPECT_EQ(Raw(s, d, key), d.emptyValue >= 0 ? d.emptyValue : hi);
          // Out-of-range text is clamped to the range.
          SettingLine high, low;
          ASSERT_EQ(Set(key, std::to_string(hi + 1000), &high), SettingStatus::Ok);
          EXPECT_EQ(Raw(s, d, key), hi);
          EXPECT_EQ(high.text, std::to_string(hi));
          ASSERT_EQ(Set(key, lo > 0 ? std::to_string(lo - 1) : "-5", &low), SettingStatus::Ok);
          EXPECT_EQ(Raw(s, d, key), lo);
        } else if (d.encoding == Encoding::Name) {
          ++names;
          EXPECT_EQ(empty.text, "");
          // A name longer than the model's width is cut to it.
          SettingLine longName;
          ASSERT_EQ(Set(key, "ABCDEFGHIJKLMNOP", &longName), SettingStatus::Ok);
          forms::RecordCursor c;
          s.parse(data, PrefixOf(d, key), c);
          auto b = s.bind(data, text(), c);
          const size_t width = static_cast<size_t>(FormEngine::TextWidth(b->Context(), d));
          EXPECT_EQ(longName.text, std::string("ABCDEFGHIJKLMNOP").substr(0, width));
        }
      }
    }
  }
  // Each kind of field was driven on every model; field 19 (system type 1
  // here) and the horn alert (portables) are among the disabled ones.
  EXPECT_GE(numbers, 10 * 9);
  EXPECT_GE(lists, 10 * 30);
  EXPECT_GE(names, 10 * 8);  // zone, channel, group, PassPort group and system, mobile ID and site names
  EXPECT_GE(disabled, 2);
}

// A value set in every field survives saving and loading the data file.
TEST_F(FieldBattery, EveryFieldSurvivesSaveAndLoad) {
  const std::string path = ::testing::TempDir() + "field_battery.dat";
  for (int model : {0, 3, 6, 8, 9}) {
    Build(model);
    std::vector<std::pair<std::string, std::string>> shown;
    for (const FieldSet& s : forms::FieldSets()) {
      for (const FieldDescriptor& d : *s.fields) {
        if (NoSetting(d)) continue;
        const std::string key = KeyOf(s, d);
        if (!Get(key).enabled || d.recordKey) continue;
        std::string value = "2";
        if (IsList(d)) {
          forms::RecordCursor c;
          s.parse(data, PrefixOf(d, key), c);
          auto b = s.bind(data, text(), c);
          const auto rows = FormEngine::ChoiceTexts(b->Context(), d);
          ASSERT_FALSE(rows.empty()) << key;
          value = rows.back();
        } else if (d.encoding == Encoding::Name) {
          value = "UNIT 7";
        } else if ((s.name == "passmessage" && d.key == "password") || (s.name == "features" && d.oldKey.rfind("0.9.", 0) == 0)) {
          value = "2468";
        } else if (d.encoding == Encoding::Custom && d.kind == ControlKind::Text) {
          value = BandOf(model) == 0x04 ? "155.25" : "465.25";
        } else if (s.name == "scan" && d.kind == ControlKind::EditCombo) {
          // Priority channels name an existing channel: zone 3, channel 5.
          value = d.key == "priority1zone" || d.key == "priority2zone" ? "3" : "5";
        } else if (d.kind == ControlKind::EditCombo && d.dynamicChoices) {
          // A list of what exists (the emergency zone and channel): its last row.
          forms::RecordCursor c;
          s.parse(data, key.substr(0, key.rfind('.')), c);
          auto b = s.bind(data, text(), c);
          value = FormEngine::ChoiceTexts(b->Context(), d).back();
        } else if (d.kind == ControlKind::EditCombo) {
          value = "100.0";
        }
        SettingLine after;
        ASSERT_EQ(Set(key, value, &after), SettingStatus::Ok) << key;
      }
    }
    for (const FieldSet& s : forms::FieldSets())
      for (const FieldDescriptor& d : *s.fields)
        if (!NoSetting(d)) shown.push_back({KeyOf(s, d), Get(KeyOf(s, d)).text});
    ASSERT_EQ(SaveDatFile(path, data).result, kFileOk);
    RadioData loaded(&text());
    ASSERT_EQ(LoadDatFile(path, loaded).result, kFileOk);
    loaded.buffers.AcceptScratch();
    loaded.SyncCodecs();
    for (const auto& [key, value] : shown) {
      SettingLine l;
      ASSERT_EQ(forms::GetSetting(loaded, text(), key, l), SettingStatus::Ok) << key;
      EXPECT_EQ(l.text, value) << key << " model " << model;
    }
  }
  std::remove(path.c_str());
}

// Over randomly damaged zone areas, every field of every set is shown,
// typed, spun and chosen on random zones and records: nothing crashes and no
// byte changes outside the zone area and the zone tables of the extension
// area.
TEST_F(FieldBattery, DamagedImagesAreNeverWrittenOutsideTheZoneAreas) {
  std::mt19937 rng(1234);
  int stores = 0;
  for (int round = 0; round < 12; ++round) {
    Build(static_cast<int>(rng() % 10));
    for (size_t i = img::kZoneTable; i < img::kZoneAreaEnd; i += 1 + rng() % 40) image().setU8(i, static_cast<uint8_t>(rng()));
    for (size_t off = img::kZoneArea; off < img::kZoneAreaEnd; off += 1 + rng() % 150)
      image().setU8(off + 1, static_cast<uint8_t>('0' + rng() % 6));
    // A directory that points the ID list past the end of the image.
    image().setU16le(dir::OffsetWord(dir::kIdListEntry), 0xBFF8);
    image().setU16le(dir::CountWord(dir::kIdListEntry), 5000);
    image().setU8(img::kSignallingIdMode, '1');
    const std::vector<uint8_t> imageBefore(data.buffers.ImageBytes());
    const std::vector<uint8_t> extBefore(data.buffers.ExtBytes());
    for (int op = 0; op < 600; ++op) {
      const FieldSet& s = forms::FieldSets()[rng() % forms::FieldSets().size()];
      // The zone sets only (another draw instead): the bench editors' fields
      // live outside the zone areas and have a damaged-image test of their own.
      if (!s.keyPattern.empty()) {
        --op;
        continue;
      }
      const FieldDescriptor& d = (*s.fields)[rng() % s.fields->size()];
      // Mostly the zones and records the image holds, sometimes any number.
      const int zones[] = {kConvZone, kLtrZone, kPpZone};
      const forms::RecordCursor c = rng() % 4 ? forms::RecordCursor{zones[rng() % 3], static_cast<int>(rng() % 6)}
                                              : forms::RecordCursor{static_cast<int>(rng() % 130) - 1,
                                                                    static_cast<int>(rng() % 252) - 1};
      auto b = s.bind(data, text(), c);
      forms::FormContext& ctx = b->Context();
      (void)forms::SettingText(ctx, d);
      if (!FormEngine::Enabled(ctx, forms::FormPage{}, d)) continue;
      ++stores;
      switch (rng() % 3) {
        case 0: {
          std::string t = std::to_string(rng() % 300);
          b->StoreText(d, t);
          break;
        }
        case 1: FormEngine::Spin(ctx, d, rng() % 2 ? 1 : -1); break;
        default: {
          const auto rows = FormEngine::Choices(ctx, d);
          if (!rows.empty()) FormEngine::StoreChoice(ctx, d, rows[rng() % rows.size()].value);
          break;
        }
      }
    }
    const auto& im = data.buffers.ImageBytes();
    for (size_t i = 0; i < im.size(); ++i) {
      const bool zoneBytes = (i >= dir::kFirstBlockWord && i < dir::kFirstBlockWord + 4) ||
                             (i >= img::kZoneTable && i < img::kZoneAreaEnd);
      if (!zoneBytes) {
        ASSERT_EQ(im[i], imageBefore[i]) << "image byte " << std::hex << i;
      }
    }
    const auto& ex = data.buffers.ExtBytes();
    for (size_t i = 0; i < ex.size(); ++i) {
      const bool tables = (i >= ext::kPriority1 && i < ext::kPriority2 + 2) ||
                          (i >= ext::kEntryBits && i < ext::kEntryBytes + 128) ||
                          (i >= ext::kChanBitsA && i < ext::kZoneBits + 16) || (i >= ext::kZoneBytes && i < ext::kZoneBytes + 128) ||
                          (i >= ext::kChanBytes && i < ext::kChanBytes + 512);
      if (!tables) {
        ASSERT_EQ(ex[i], extBefore[i]) << "ext byte " << std::hex << i;
      }
    }
  }
  EXPECT_GT(stores, 200);  // the fields were driven, not skipped
}

// docs/FIELDS.md is the document the tables give.
TEST(FieldsDocument, MatchesTheTables) {
  TextTable english;
  ASSERT_EQ(english.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
  (void)zonefields::Fields(ZoneTable::Channel);
  (void)TestFreqFieldTable();
  (void)MessageFieldTable();
  (void)pplist::Fields(pplist::Kind::MobileIds);
  (void)FeatureFieldTable();
  (void)KeyFunctionList();
  (void)OptBoardPage();
  (void)VantelixFieldTable();
  (void)IdListFieldTable();
  (void)EmergencyFieldTable();
  (void)AlertToneFieldTable();
  const std::string expected = forms::FieldsMarkdown(english);
  const std::string path = ::vb420::testsupport::ResourceDir() + "/../docs/FIELDS.md";
  if (const char* w = std::getenv("VB420_WRITE_FIELDS_DOC"); w && *w == '1') {
    std::ofstream(path, std::ios::binary) << expected;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream actual;
  actual << in.rdbuf();
  EXPECT_EQ(actual.str(), expected)
      << "docs/FIELDS.md is stale: run VB420_WRITE_FIELDS_DOC=1 build/tests/test_zones --gtest_filter=FieldsDocument.*";
}

}  // namespace
}  // namespace vb420::testing
