// SPDX-License-Identifier: GPL-3.0-or-later
// A channel plan written while the program ran in one language, read back
// while it runs in the other: the words for off, yes and no of the shipped
// language file come back as the same bytes (an English "Off" must not become
// a 67.0 Hz tone in Spanish, a Spanish "Sí" must not be refused in English).
#include <gtest/gtest.h>

#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/ItmFile.h"
#include "PlanTestUtil.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Paths.h"

namespace vb420 {
namespace {

TextTable& Table(const std::string& language) {
  static TextTable english, spanish;
  TextTable& t = language == "English" ? english : spanish;
  if (!t.Complete()) {
    EXPECT_EQ(t.LoadFile(testsupport::LanguageFilePath(), language), TextTable::LoadResult::Ok);
  }
  return t;
}

void Fresh(RadioData& d) {
  d.buffers.Clear();
  InitNewImage(d, true);
  d.SyncCodecs();
}

// Carrier and tone channels, a repeater with and without telephone, list
// entries inhibited and not: every column that shows off, yes or no.
void FillPlan(RadioData& d, TextTable& t) {
  ASSERT_TRUE(Set(d, t, "zone.1.ch.1.rxf", "146.52"));
  ASSERT_TRUE(Set(d, t, "zone.1.ch.1.rxtone", t.Text(362)));
  ASSERT_TRUE(Set(d, t, "zone.1.ch.1.txtone", t.Text(362)));
  ASSERT_TRUE(Set(d, t, "zone.1.ch.2.rxf", "147.0"));
  ASSERT_TRUE(Set(d, t, "zone.1.ch.2.rxtone", "D023N"));
  ASSERT_TRUE(Set(d, t, "zone.1.ch.2.txtone", t.Text(362)));
  ASSERT_TRUE(Set(d, t, "zone.2.group.1.encode", "3"));
  ASSERT_TRUE(Set(d, t, "zone.2.group.1.decode", "4"));
  ASSERT_TRUE(Set(d, t, "zone.2.rep.1.rxf", "151.0"));
  ASSERT_TRUE(Set(d, t, "zone.2.rep.1.telephone", t.Text(372)));
  ASSERT_TRUE(Set(d, t, "zone.2.rep.2.rxf", "152.0"));
  ASSERT_TRUE(Set(d, t, "zone.2.rep.2.telephone", t.Text(373)));
  ASSERT_TRUE(Set(d, t, "idlist.1.fleet", "200"));
  ASSERT_TRUE(Set(d, t, "idlist.1.id", "1500"));
  ASSERT_TRUE(Set(d, t, "idlist.1.inh", t.Text(372)));
  ASSERT_TRUE(Set(d, t, "idlist.2.fleet", "201"));
  ASSERT_TRUE(Set(d, t, "idlist.2.id", "1501"));
  ASSERT_TRUE(Set(d, t, "idlist.2.inh", t.Text(373)));
  ASSERT_TRUE(Set(d, t, "status.1.sts", "20"));
  ASSERT_TRUE(Set(d, t, "status.1.inh", t.Text(372)));
}

class ItmLanguage : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ItmLanguage, APlanComesBackTheSameInTheOtherLanguage) {
  const auto [from, to] = GetParam();
  TextTable& written = Table(from);
  TextTable& read = Table(to);
  ASSERT_TRUE(written.Complete() && read.Complete());
  RadioData source(&written);
  Fresh(source);
  FillPlan(source, written);
  const std::string plan = BuildItmText(source, written);
  ASSERT_NE(plan.find("," + written.Text(362) + ","), std::string::npos) << plan;

  RadioData target(&read);
  Fresh(target);
  ItmImportSummary summary;
  std::string warning;
  ASSERT_EQ(ImportItmText(plan, target, read, [&](const std::string& w) { warning = w; return true; }, summary),
            ImportResult::Ok);
  EXPECT_FALSE(warning.empty());  // the file's language differs: the user was asked
  EXPECT_EQ(summary.Skipped(), 0) << ItmSummaryText(summary, read);
  EXPECT_EQ(summary.Applied(), 8);
  EXPECT_TRUE(target.buffers.ImageBytes() == source.buffers.ImageBytes());
  EXPECT_TRUE(target.buffers.ExtBytes() == source.buffers.ExtBytes());
  // The carrier channel stays a carrier channel.
  forms::SettingLine line;
  ASSERT_EQ(forms::GetSetting(target, read, "zone.1.ch.1.rxtone", line), forms::SettingStatus::Ok);
  EXPECT_EQ(line.text, read.Text(362));
}

INSTANTIATE_TEST_SUITE_P(EachWay, ItmLanguage,
                         ::testing::Values(std::make_pair("English", "Spanish"), std::make_pair("Spanish", "English")));

}  // namespace
}  // namespace vb420
