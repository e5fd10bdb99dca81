// SPDX-License-Identifier: GPL-3.0-or-later
// The ID-list and status sections, read through whatever field sets own the
// keys idlist.N.* and status.N.*. This test program stands in a small list
// set of its own (the data-signalling editor brings the real one), so the
// reader's rules are held here: the first record clears the list through its
// first column, values are cut to 12 or 16 characters, record numbers
// outside the list are skipped, and an export writes the rows whose first
// column is set.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/plan/ItmFile.h"
#include "PlanTestUtil.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {
namespace {

using forms::FieldDescriptor;

// list name -> row -> key -> text
std::map<std::string, std::map<int, std::map<std::string, std::string>>>& Store() {
  static std::map<std::string, std::map<int, std::map<std::string, std::string>>> s;
  return s;
}

FieldDescriptor Column(const std::string& list, const std::string& key, bool first) {
  FieldDescriptor d{};
  d.key = key;
  d.kind = forms::ControlKind::Text;
  d.encoding = forms::Encoding::Custom;
  d.customShow = [list, key](const forms::FormContext& c) {
    auto& row = Store()[list][c.cursor.record];
    return row.count(key) ? row[key] : std::string();
  };
  d.customStore = [list, key, first](forms::FormContext& c, std::string& t) {
    auto& row = Store()[list][c.cursor.record];
    if (first && t.empty()) row.clear();  // an empty first column empties the entry
    else if (!row.empty() || first) row[key] = t;
  };
  return d;
}

struct Bound : forms::BoundRecord {
  Bound(RadioData& d, TextTable& t, forms::RecordCursor c) : ctx(d, t, false, c) {}
  forms::FormContext& Context() override { return ctx; }
  forms::FormContext ctx;
};

forms::FieldSet ListSet(const std::string& name, int rows, std::vector<FieldDescriptor>* fields) {
  forms::FieldSet s;
  s.name = name;
  s.recordKind = "row";
  s.fields = fields;
  s.records = [](RadioData&) { return std::vector<forms::FieldSetRecord>{}; };
  s.parse = [name, rows](RadioData&, const std::string& prefix, forms::RecordCursor& c) {
    if (prefix.rfind(name + ".", 0) != 0) return false;
    const int n = std::atoi(prefix.c_str() + name.size() + 1);
    if (n < 1 || n > rows || prefix != name + "." + std::to_string(n)) return false;
    c.record = n - 1;
    return true;
  };
  s.bind = [](RadioData& d, TextTable& t, forms::RecordCursor c) -> std::unique_ptr<forms::BoundRecord> {
    return std::make_unique<Bound>(d, t, c);
  };
  return s;
}

std::vector<FieldDescriptor> idFields = {Column("idlist", "fleet", true), Column("idlist", "id", false),
                                         Column("idlist", "name", false), Column("idlist", "inh", false)};
std::vector<FieldDescriptor> statusFields = {Column("status", "sts", true), Column("status", "name", false),
                                             Column("status", "inh", false)};
const bool kRegistered = [] {
  // Only where no real list set is linked in.
  for (const forms::FieldSet& s : forms::FieldSets())
    if (s.name == "idlist" || s.name == "status") return false;
  forms::RegisterFieldSet(ListSet("idlist", 100, &idFields));
  forms::RegisterFieldSet(ListSet("status", 90, &statusFields));
  return true;
}();

class ItmLists : public ::testing::Test {
 protected:
  ItmLists() : data(&text) {
    data.buffers.Clear();
    InitNewImage(data, true);
    data.SyncCodecs();
    Store().clear();
  }
  ~ItmLists() override { Store().clear(); }
  std::string Row(const std::string& list, int n, const std::string& key) { return Store()[list][n - 1][key]; }
  TextTable text;
  RadioData data;
  ItmImportSummary summary;
};

// Whether the "idlist" set now registered is the stand-in (a real set
// registered later replaces it).
bool StandIn() {
  for (const forms::FieldSet& s : forms::FieldSets())
    if (s.name == "idlist") return kRegistered && s.fields == &idFields;
  return false;
}

std::string Get(RadioData& d, TextTable& t, const std::string& key) {
  forms::SettingLine out;
  return forms::GetSetting(d, t, key, out) == forms::SettingStatus::Ok ? out.text : "?";
}

TEST_F(ItmLists, TheRealListsComeBackTheSame) {
  if (StandIn()) GTEST_SKIP() << "the data-signalling list sets are not linked in";
  ASSERT_TRUE(Set(data, text, "idlist.1.fleet", "200"));
  ASSERT_TRUE(Set(data, text, "idlist.1.id", "1500"));
  ASSERT_TRUE(Set(data, text, "idlist.1.name", "ALPHA,ONE"));
  ASSERT_TRUE(Set(data, text, "idlist.100.fleet", "349"));
  ASSERT_TRUE(Set(data, text, "status.1.sts", "15"));
  ASSERT_TRUE(Set(data, text, "status.1.name", "ON \"SITE\""));
  ASSERT_TRUE(Set(data, text, "status.90.sts", "99"));
  const std::string first = BuildItmText(data, text);
  EXPECT_NE(first.find("$$,FLTLIST,NUM,FLEET,ID,NAME,INH\r\n$,,1,200,1500,\"ALPHA,ONE\","), std::string::npos) << first;
  EXPECT_NE(first.find("$$,FLTST,NUM,STS,NAME,INH\r\n$,,1,15,\"ON \"\"SITE\"\"\","), std::string::npos) << first;
  RadioData other(&text);
  other.buffers.Clear();
  InitNewImage(other, true);
  other.SyncCodecs();
  ASSERT_TRUE(Set(other, text, "idlist.50.fleet", "300"));  // cleared by the first record
  CZoneMemory oz(other);
  ASSERT_EQ(oz.CreateZone(0, '1'), 1);
  ASSERT_EQ(ImportItmText(first + "$,,101,200,1500,X,\r\n", other, text, nullptr, summary), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecIdList].applied, 2);
  EXPECT_EQ(summary.sections[itm::kSecStatus].applied, 2);
  EXPECT_EQ(summary.sections[itm::kSecStatus].skipped, 1);  // "101" after the status section is a status record
  EXPECT_EQ(Get(other, text, "idlist.50.fleet"), "");
  EXPECT_TRUE(oz.ZoneExists(0));  // list records leave the zones alone
  EXPECT_EQ(BuildItmText(other, text), first);
}

// A radio holding more entries than a new image: the export writes them all
// and the import reaches the last one the directory names.
TEST_F(ItmLists, ListsLongerThanANewImagesGoOutAndComeBack) {
  if (StandIn()) GTEST_SKIP() << "the data-signalling list sets are not linked in";
  // Both lists grown over empty memory.
  auto grow = [](RadioData& d) {
    d.Image().setU16le(0x9EE, 180);
    d.Image().setU16le(0x9F2, 150);
    d.Image().fill(0xA700 + 16 * 100, 16 * 80, 0xFF);
    d.Image().fill(0xB400 + 20 * 90, 20 * 60, 0xFF);
  };
  grow(data);
  ASSERT_TRUE(Set(data, text, "idlist.180.fleet", "200"));
  ASSERT_TRUE(Set(data, text, "status.150.sts", "15"));
  const std::string first = BuildItmText(data, text);
  EXPECT_NE(first.find("\r\n$,,180,200,"), std::string::npos) << first;
  EXPECT_NE(first.find("\r\n$,,150,15,"), std::string::npos) << first;
  RadioData other(&text);
  other.buffers.Clear();
  InitNewImage(other, true);
  other.SyncCodecs();
  grow(other);
  ASSERT_TRUE(Set(other, text, "idlist.170.fleet", "300"));  // cleared by the first record
  ASSERT_EQ(ImportItmText(first, other, text, nullptr, summary), ImportResult::Ok);
  EXPECT_EQ(summary.sections[itm::kSecIdList].applied, 1);
  EXPECT_EQ(Get(other, text, "idlist.170.fleet"), "");
  EXPECT_EQ(Get(other, text, "idlist.180.fleet"), "200");
  EXPECT_EQ(Get(other, text, "status.150.sts"), "15");
  EXPECT_EQ(BuildItmText(other, text), first);
}

TEST_F(ItmLists, FirstRecordClearsTheListAndValuesAreCut) {
  if (!StandIn()) GTEST_SKIP() << "the real list sets are linked in";
  Store()["idlist"][49]["fleet"] = "300";  // entry 50, from before the import
  Store()["status"][2]["sts"] = "12";
  CZoneMemory zm(data);
  ASSERT_EQ(zm.CreateZone(0, '1'), 1);
  const std::string file =
      "MARDEKO ZEL\n$$,FLTLIST,NUM,FLEET,ID,NAME,INH\n$,,1,200,1500,ABCDEFGHIJKLMNOP,Yes\n$,,101,201,1501,X,\n"
      "$$,FLTST,INH,NAME,STS,NUM\n$,,No,A STATUS MESSAGE TOO LONG,15,4\n$,,,,16,0\n";
  ASSERT_EQ(ImportItmText(file, data, text, nullptr, summary), ImportResult::Ok);
  EXPECT_EQ(Row("idlist", 50, "fleet"), "");  // cleared before the first record
  EXPECT_EQ(Row("idlist", 1, "fleet"), "200");
  EXPECT_EQ(Row("idlist", 1, "name"), "ABCDEFGHIJKL");
  EXPECT_EQ(Row("idlist", 1, "inh"), "Yes");
  EXPECT_EQ(summary.sections[itm::kSecIdList].applied, 1);
  EXPECT_EQ(summary.sections[itm::kSecIdList].skipped, 1);  // record 101
  EXPECT_EQ(Row("status", 3, "sts"), "");
  // Columns in their own order; NUM after the values uses the record number
  // of the line before (1 for the first).
  EXPECT_EQ(Row("status", 1, "name"), "A STATUS MESSAGE");
  EXPECT_EQ(Row("status", 1, "inh"), "No");
  // The second status line goes to entry 4, named by the first line's NUM
  // at its end; its own NUM 0 then ends it.
  EXPECT_EQ(Row("status", 4, "sts"), "16");
  EXPECT_EQ(summary.sections[itm::kSecStatus].skipped, 1);
  // The zones were not touched by list records.
  EXPECT_TRUE(zm.ZoneExists(0));

  const std::string out = BuildItmText(data, text);
  EXPECT_NE(out.find("\r\n// Vantelix ID List\r\n$$,FLTLIST,NUM,FLEET,ID,NAME,INH\r\n$,,1,200,1500,ABCDEFGHIJKL,Yes\r\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\r\n// Vantelix Status List\r\n$$,FLTST,NUM,STS,NAME,INH\r\n$,,1,15,A STATUS MESSAGE,No\r\n$,,4,16,,\r\n"),
            std::string::npos)
      << out;
}

}  // namespace
}  // namespace vb420
