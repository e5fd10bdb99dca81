// SPDX-License-Identifier: GPL-3.0-or-later
// The settings text: a listing gives back the programming byte for byte on
// every model, and a listing is refused line by line, never half applied.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/RadioData.h"
#include "editors/plan/SettingsText.h"
#include "editors/zones/ZoneMemory.h"
#include "support/Programmings.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

using settingstext::ApplyListing;
using settingstext::ApplyOptions;
using settingstext::ApplyReport;
using settingstext::ApplyResult;
using settingstext::BuildListing;
using settingstext::NewFromListing;
using settingstext::Reason;
using testsupport::NumberedTexts;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

// The listing of a programming made anew from the listing of `original`.
void ExpectRoundTrip(RadioData& original, const std::string& what) {
  TextTable& text = NumberedTexts();
  const std::string listing = BuildListing(original, text);
  EXPECT_EQ(BuildListing(original, text), listing) << what << ": the same on every run";
  RadioData copy(&text);
  const ApplyReport r = NewFromListing(listing, copy, text, {});
  ASSERT_EQ(r.result, ApplyResult::Ok) << what << ": line " << (r.refused.empty() ? 0 : r.refused[0].line);
  EXPECT_TRUE(copy.buffers.ImageBytes() == original.buffers.ImageBytes()) << what;
  EXPECT_TRUE(copy.buffers.ExtBytes() == original.buffers.ExtBytes()) << what;
  EXPECT_EQ(BuildListing(copy, text), listing) << what;
}

TEST(SettingsText, EveryModelNewAndRichComesBackByteForByte) {
  for (int model = 0; model < kModelCount; ++model) {
    RadioData fresh(&NumberedTexts());
    testsupport::FreshProgramming(fresh, model);
    ExpectRoundTrip(fresh, std::string(ModelTable(model).name) + " new");
    RadioData rich(&NumberedTexts());
    testsupport::FreshProgramming(rich, model);
    testsupport::FillRichProgramming(rich, 29u + static_cast<unsigned>(model));
    ExpectRoundTrip(rich, std::string(ModelTable(model).name) + " rich");
  }
}

// A whole programming's listing applied to another programming of the model
// makes exactly the listed one; the saved state it is compared with stays.
TEST(SettingsText, AWholeListingReplacesTheProgramming) {
  TextTable& text = NumberedTexts();
  RadioData rich(&text);
  testsupport::FreshProgramming(rich, 5);
  testsupport::FillRichProgramming(rich);
  const std::string listing = BuildListing(rich, text);
  RadioData d(&text);
  testsupport::FreshProgramming(d, 5);
  CZoneMemory zm(d);
  ASSERT_EQ(zm.CreateZone(0, '0'), 1);
  d.buffers.TakeSnapshot();
  const std::vector<uint8_t> saved(d.buffers.SnapshotImage().ptr(0, kImageSize),
                                   d.buffers.SnapshotImage().ptr(0, kImageSize) + kImageSize);
  ASSERT_EQ(ApplyListing(listing, d, text, {}).result, ApplyResult::Ok);
  EXPECT_TRUE(d.buffers.ImageBytes() == rich.buffers.ImageBytes());
  EXPECT_TRUE(d.buffers.ExtBytes() == rich.buffers.ExtBytes());
  EXPECT_TRUE(d.buffers.SnapshotImage().equals(0, saved.data(), kImageSize));
}

// The head names the format, model and band; each zone is named by its kind
// before its records; a byte no field gives back is a raw run of its own
// 16-byte block, and a field disabled now carries the mark.
TEST(SettingsText, ListingShape) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d, 4);  // VT-2600 on its first band
  CZoneMemory zm(d);
  ASSERT_EQ(zm.CreateZone(2, '5'), 1);
  const std::string fresh = BuildListing(d, text);
  d.Ext().setU8(0x11F5, 0x5A);
  const std::vector<std::string> lines = Lines(BuildListing(d, text));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "# vb420 settings 1");
  EXPECT_EQ(lines[1], "model=VT-2600");
  EXPECT_EQ(lines[2], "band=" + settingstext::BandText(d.model.BandCode()));
  bool raw = false, disabled = false, zoneNamed = false;
  for (const std::string& l : lines) {
    if (l.rfind("zone.3.", 0) == 0) {
      EXPECT_TRUE(zoneNamed || l == "zone.3.type=PassPort System") << l << ": the zone is named first";
      zoneNamed = true;
    }
    if (l.rfind("raw.ext.0x11F", 0) == 0) {
      raw = true;
      EXPECT_EQ(l.substr(0, 18), "raw.ext.0x11F5=5A") << l;
    }
    disabled |= l.size() > 11 && l.compare(l.size() - 11, 11, "\t[disabled]") == 0;
  }
  EXPECT_TRUE(raw);
  EXPECT_TRUE(disabled);
  EXPECT_EQ(fresh.find("raw.ext.0x11F"), std::string::npos);
}

// Lines in any order: a record's first field makes it (and its zone), so a
// header or a name before it is stored once it exists.
TEST(SettingsText, RecordsComeBeforeTheirFields) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d);
  const std::string listing =
      "zone.4.header.name=NORTH\n"
      "zone.4.ch.2.name=TWO\n"
      "zone.4.ch.2.rxf=150.01250\n"
      "zone.5.rep.1.rxf=151.00000\n"
      "zone.5.type=" + text.Text(399) + "\n";
  const ApplyReport r = ApplyListing(listing, d, text, {});
  ASSERT_EQ(r.result, ApplyResult::Ok) << (r.refused.empty() ? "" : settingstext::RefusedLineText(r.refused[0], text));
  forms::SettingLine line;
  ASSERT_EQ(forms::GetSetting(d, text, "zone.4.ch.2.name", line), forms::SettingStatus::Ok);
  EXPECT_EQ(line.text, "TWO");
  ASSERT_EQ(forms::GetSetting(d, text, "zone.4.header.name", line), forms::SettingStatus::Ok);
  EXPECT_EQ(line.text, "NORTH");
  CZoneMemory zm(d);
  EXPECT_EQ(zm.ZoneClass(4), kClassLtr);
  EXPECT_EQ(zm.RepeaterCount(4), 1);
}

// Every kind of bad line is refused with its number and reason; nothing is
// stored unless asked to keep going, and raw runs never reach outside.
TEST(SettingsText, BadLinesAreRefusedAndNothingIsStored) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d);
  const std::vector<uint8_t> image = d.buffers.ImageBytes();
  const std::vector<uint8_t> ext = d.buffers.ExtBytes();
  const std::string listing = std::string("# vb420 settings 1\n") +
                              "zone.1.ch.1.rxf=150.00000\n"              // 2 taken
                              "zone.1.ch.1.nosuch=1\n"                   // 3
                              "zone.1.ch.1.rxf=151.00000\n"              // 4 repeated
                              "zone.1.ch.1.power=Maximum\n"              // 5 no such row
                              "just words\n"                             // 6
                              "zone.1.ch.1.name=" + std::string(2000, 'A') + "\n"  // 7
                              "zone.1.ch.1.name=\xC3\x28\n"              // 8
                              "raw.image.0xBFFF=0102\n"                  // 9 past the image
                              "raw.ext.0x0010=0G\n"                      // 10
                              "raw.ext.0x0020=" + std::string(34, '0') + "\n"  // 11: 17 bytes
                              "raw.ext.0x0030=AB\n"                      // 12 taken
                              "zone.1.ch.2.rxf=150.0125";                // 13 cut off
  ApplyReport r = ApplyListing(listing, d, text, {});
  EXPECT_EQ(r.result, ApplyResult::Refused);
  std::vector<std::pair<int, Reason>> got;
  for (const auto& f : r.refused) got.emplace_back(f.line, f.reason);
  const std::vector<std::pair<int, Reason>> want = {
      {3, Reason::UnknownKey}, {4, Reason::Repeated}, {5, Reason::BadValue}, {6, Reason::NotKeyText},
      {7, Reason::TooLong},    {8, Reason::NotUtf8},  {9, Reason::RawOutside}, {10, Reason::BadRaw},
      {11, Reason::BadRaw},    {13, Reason::CutOff}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(r.refused[1].firstLine, 2);
  EXPECT_EQ(settingstext::RefusedLineText(r.refused[1], text), "T1348");  // numbered texts: no %s to fill
  EXPECT_TRUE(d.buffers.ImageBytes() == image);
  EXPECT_TRUE(d.buffers.ExtBytes() == ext);

  r = ApplyListing(listing, d, text, ApplyOptions{.keepGoing = true});
  EXPECT_EQ(r.result, ApplyResult::Refused);
  EXPECT_EQ(r.applied, 2);
  EXPECT_EQ(d.Ext().u8(0x30), 0xAB);
  EXPECT_EQ(CZoneMemory(d).RecordCount(0), 1);
  EXPECT_TRUE(std::equal(image.begin() + 0xBFF0, image.end(), d.buffers.ImageBytes().begin() + 0xBFF0));
}

TEST(SettingsText, AnotherFormatVersionIsRefused) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d);
  const ApplyReport r = ApplyListing("# vb420 settings 2\nfeatures.common.keylocktime=5\n", d, text, {});
  ASSERT_EQ(r.refused.size(), 1u);
  EXPECT_EQ(r.refused[0].reason, Reason::OtherFormat);
  EXPECT_EQ(r.refused[0].line, 1);
}

// A listing of another model is refused before anything is stored, naming
// both; asked to, the programming goes through the model change first.
TEST(SettingsText, AnotherModelIsRefusedOrConverted) {
  TextTable& text = NumberedTexts();
  RadioData portable(&text);
  testsupport::FreshProgramming(portable, 8);
  const std::string listing = BuildListing(portable, text);
  RadioData d(&text);
  testsupport::FreshProgramming(d, 0);
  testsupport::FillFullPlan(d);
  const std::vector<uint8_t> image = d.buffers.ImageBytes();
  ApplyReport r = ApplyListing(listing, d, text, {});
  EXPECT_EQ(r.result, ApplyResult::OtherModel);
  EXPECT_EQ(r.listingModel, 8);
  EXPECT_EQ(r.dataModel, 0);
  EXPECT_TRUE(d.buffers.ImageBytes() == image);
  EXPECT_EQ(settingstext::OtherModelText(r, text), "T1346");

  r = ApplyListing(listing, d, text, ApplyOptions{.modelChange = true});
  EXPECT_EQ(r.result, ApplyResult::Ok) << (r.refused.empty() ? "" : settingstext::RefusedLineText(r.refused[0], text));
  EXPECT_EQ(d.model.ModelNumber(), 8);
}

// A band the listing's model does not have is refused, and going on past
// it never converts the programming to the listing's model unasked.
TEST(SettingsText, AnUnknownBandNeverChangesTheModel) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d, 8);
  const std::vector<uint8_t> image = d.buffers.ImageBytes();
  const std::string listing = "model=VT-1600\nband=136-174&MHz\nzone.1.ch.1.rxf=150.00000\n";
  ApplyReport r = ApplyListing(listing, d, text, ApplyOptions{.keepGoing = true});
  EXPECT_EQ(r.result, ApplyResult::OtherModel);
  EXPECT_EQ(d.model.ModelNumber(), 8);
  EXPECT_TRUE(d.buffers.ImageBytes() == image);
  RadioData mobile(&text);
  testsupport::FreshProgramming(mobile, 0);
  r = ApplyListing("model=VT-1600\nband=450-520 MHz\n", mobile, text, {});
  ASSERT_EQ(r.refused.size(), 1u);
  EXPECT_EQ(r.refused[0].line, 2);
  EXPECT_EQ(r.refused[0].reason, Reason::BadModel);
}

// zone.Z.type makes a zone, changes a conventional type in place and
// replaces a zone of another class by an empty one.
TEST(SettingsText, ZoneTypeKey) {
  TextTable& text = NumberedTexts();
  RadioData d(&text);
  testsupport::FreshProgramming(d);
  testsupport::FillFullPlan(d);
  CZoneMemory zm(d);
  ASSERT_EQ(zm.RecordCount(0), 24);
  const ApplyReport r = ApplyListing("zone.1.type=" + text.Text(400) + "\nzone.5.type=" + text.Text(398) +
                                         "\nzone.20.type=PassPort System\n",
                                     d, text, {});
  ASSERT_EQ(r.result, ApplyResult::Ok);
  EXPECT_EQ(zm.ZoneType(0), '2');
  EXPECT_EQ(zm.RecordCount(0), 24);
  EXPECT_EQ(zm.ZoneType(4), '1');
  EXPECT_EQ(zm.RecordCount(4), 0);
  EXPECT_EQ(zm.ZoneClass(19), kClassPassPort);
}

}  // namespace
}  // namespace vb420
