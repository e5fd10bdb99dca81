// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli report: the PDF of a full programming, its pages read back with
// pdftotext and drawn with pdftoppm, against the page plan.
#include "support/Paths.h"
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "data/DataFile.h"
#include "lang/Platform.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "print/core/PagePlan.h"
#include "print/core/PrintOptions.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;
namespace print = vb420::print;

std::string Shell(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

bool HaveTool(const char* name) { return !Shell(std::string("command -v ") + name + " 2>/dev/null").empty(); }

class ReportPdf : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef VB420_HAVE_REPORT
    GTEST_SKIP() << "built without the GUI libraries: vb420cli has no report verb";
#endif
    if (!HaveTool("pdftotext") || !HaveTool("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
    dir_ = std::filesystem::temp_directory_path() / ("vb420-report-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "full.dat").string();
    ASSERT_EQ(english_.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"),
              vb420::TextTable::LoadResult::Ok);
    ASSERT_EQ(spanish_.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "Spanish"),
              vb420::TextTable::LoadResult::Ok);
    (void)vb420::zonefields::Fields(vb420::ZoneTable::Channel);
    (void)vb420::TestFreqFieldTable();
    (void)vb420::MessageFieldTable();
    BuildFullProgramming();
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  void Set(const std::string& key, const std::string& value) {
    vb420::forms::SettingLine l;
    int msg = 0;
    ASSERT_EQ(vb420::forms::SetSetting(data_, english_, key, value, l, msg), vb420::forms::SettingStatus::Ok) << key;
  }

  // Three zones of every kind the report prints, messages, test frequencies
  // and the data-signalling directory counts of a full radio.
  void BuildFullProgramming() {
    data_.buffers.Clear();
    vb420::InitNewImage(data_, true);
    data_.SyncCodecs();
    vb420::CZoneMemory zones(data_);
    for (int c = 1; c <= 40; ++c) Set("zone.1.ch." + std::to_string(c) + ".rxf", c == 40 ? "163.3625" : "150.5");
    Set("zone.1.ch.40.name", "DEPOT");
    ASSERT_EQ(zones.CreateZone(1, '0'), 1);
    Set("zone.2.group.1.encode", "5");
    Set("zone.2.group.1.name", "FLEET1");
    ASSERT_EQ(zones.InsertRepeater(1, 0), 1);
    ASSERT_EQ(zones.CreateZone(2, '5'), 1);
    Set("zone.3.group.1.id", "100");
    Set("zone.3.group.1.name", "TALK1");
    Set("message.1", "ZEL DEALER SERVICE");
    Set("testfreq.2.rx", "151.5");
    vb420::ByteArea image = data_.Image();
    image.setU16le(0x9EE, 100);
    image.setU16le(0x9F2, 90);
    ASSERT_TRUE(vb420::SaveDatFile(file_, data_).ok());
  }

  std::string PageText(const std::string& pdf, int page) {
    return Shell("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' -");
  }
  int PdfPages(const std::string& pdf) {
    const std::string info = Shell("pdfinfo '" + pdf + "' 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
  }
  // The 1-based page of the first plan entry that `match` accepts.
  template <class F>
  int PageOf(const std::vector<print::PageEntry>& plan, F match) {
    for (size_t i = 0; i < plan.size(); ++i)
      if (match(plan[i])) return static_cast<int>(i) + 1;
    return -1;
  }
  // The texts `vb420cli settings --editor NAME` lists; empty when the tool
  // has no such editor.
  std::vector<std::string> CliValues(const char* name, const std::string& env) {
    std::vector<std::string> out;
    const CliRun r = RunCli("settings " + file_ + " --editor " + name, env);
    if (r.exitCode != 0) return out;
    size_t a = 0;
    while (a < r.out.size()) {
      size_t b = r.out.find('\n', a);
      if (b == std::string::npos) b = r.out.size();
      std::string line = r.out.substr(a, b - a);
      a = b + 1;
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string v = line.substr(eq + 1);
      const size_t tab = v.find('\t');
      if (tab != std::string::npos) v.resize(tab);
      out.push_back(v);
    }
    return out;
  }
  // Width and height of a PNG from its header.
  std::pair<int, int> PngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), 24);
    auto be = [&](int o) { return (h[o] << 24) | (h[o + 1] << 16) | (h[o + 2] << 8) | h[o + 3]; };
    return {be(16), be(20)};
  }

  void CheckReport(bool landscape, vb420::TextTable& text, const std::string& languageOption) {
    const std::string pdf = (dir_ / (landscape ? "l.pdf" : "p.pdf")).string();
    const CliRun r = RunCli("report " + file_ + " -o " + pdf + (landscape ? " --landscape" : "") + languageOption);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const auto plan = print::BuildPagePlan(data_, print::PrintOptions::Defaults(), landscape);
    EXPECT_EQ(r.out, std::to_string(plan.size()) + " pages written to " + pdf + "\n");
    ASSERT_EQ(PdfPages(pdf), static_cast<int>(plan.size()));

    // Every section's title on the first page of the section, and the
    // header on every page with its page number.
    for (int section : print::kSectionOrder) {
      const int page = PageOf(plan, [&](const print::PageEntry& e) { return e.section == section; });
      ASSERT_GT(page, 0) << section;
      const std::string t = PageText(pdf, page);
      EXPECT_NE(t.find(text.Text(print::SectionTitleEntry(section))), std::string::npos) << section << "\n" << t;
      EXPECT_NE(t.find("MARDEKO VB-420"), std::string::npos);
      EXPECT_NE(t.find(std::to_string(page) + "\n"), std::string::npos);
      EXPECT_NE(t.find("ZEL DEALER SERVICE"), std::string::npos);
    }
    // A channel's frequency and name on the list page that holds channel 40:
    // the second list page in both orientations (36 channels to a portrait
    // page, 24 to a landscape one).
    const int listPage = PageOf(plan, [&](const print::PageEntry& e) {
      return e.zone == 0 && e.zoneKind == print::ZonePageKind::List && e.zonePage == 1;
    });
    const std::string channels = PageText(pdf, listPage);
    EXPECT_NE(channels.find("163.36250"), std::string::npos) << channels;
    EXPECT_NE(channels.find("DEPOT"), std::string::npos);
    // A group's name on the LTR zone's list page, a talk group's on the PassPort's.
    const int ltrList = PageOf(plan, [](const print::PageEntry& e) { return e.zone == 1 && e.zoneKind == print::ZonePageKind::List; });
    EXPECT_NE(PageText(pdf, ltrList).find("FLEET1"), std::string::npos);
    const int ppList = PageOf(plan, [](const print::PageEntry& e) { return e.zone == 2 && e.zoneKind == print::ZonePageKind::List; });
    EXPECT_NE(PageText(pdf, ppList).find("TALK1"), std::string::npos);
    // The test frequency of row 2.
    const int tf = PageOf(plan, [](const print::PageEntry& e) { return e.section == 10; });
    EXPECT_NE(PageText(pdf, tf).find("151.50000"), std::string::npos);
    // Every section prints its values (a key's function, an ID-list name, a
    // feature), the values the command-line tool's `settings` lists.
    const struct {
      const char* set;
      int section;
    } printed[] = {{"keys", 2}, {"idlist", 6}, {"features", 1}, {"scan", 3}, {"emergency", 8}};
    for (const auto& p : printed) {
      const auto values = CliValues(p.set, &text == &spanish_ ? "VB420_LANGUAGE=Spanish " : "");
      std::string sectionText;
      int first = -1;
      for (size_t i = 0; i < plan.size(); ++i)
        if (plan[i].section == p.section) {
          if (first < 0) first = static_cast<int>(i) + 1;
          sectionText += PageText(pdf, static_cast<int>(i) + 1);
        }
      ASSERT_GT(first, 0) << p.set;
      ASSERT_FALSE(values.empty()) << p.set;
      // One value that stands out on a page: a single word of some length.
      std::string sample;
      for (const std::string& v : values)
        if (v.size() >= 4 && v.find(' ') == std::string::npos) {
          sample = v;
          break;
        }
      if (!sample.empty()) EXPECT_NE(sectionText.find(sample), std::string::npos) << p.set << ": " << sample;
      EXPECT_EQ(sectionText.find(text.Text(182)), std::string::npos) << p.set;
    }

    // The pages draw: the first in the page's orientation.
    const std::string png = (dir_ / (landscape ? "l" : "p")).string();
    Shell("pdftoppm -r 40 -png -f 1 -l 1 '" + pdf + "' '" + png + "'");
    std::string first;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
      if (e.path().filename().string().rfind(landscape ? "l-" : "p-", 0) == 0) first = e.path().string();
    ASSERT_FALSE(first.empty());
    const auto [w, h] = PngSize(first);
    EXPECT_GT(w, 100);
    EXPECT_EQ(w > h, landscape) << w << "x" << h;
    EXPECT_GT(std::filesystem::file_size(first), 2000u);  // not a blank page
  }

  vb420::TextTable english_, spanish_;
  vb420::RadioData data_{&english_};
  std::filesystem::path dir_;
  std::string file_;
};

TEST_F(ReportPdf, FullProgrammingPortraitAndLandscape) {
  CheckReport(false, english_, "");
  CheckReport(true, english_, "");
}

TEST_F(ReportPdf, SpanishReport) { CheckReport(false, spanish_, " --language 2"); }

// A rich programming, every zone kind, long lists, voting: every word of
// both orientations and both languages is legible and inside the page, no
// printed label is one of the program's field keys, and the 180 entries of
// an ID list whose directory names 180 are all printed.
TEST_F(ReportPdf, RichProgrammingIsLegibleLabelledAndComplete) {
  const std::string rich = (dir_ / "rich.dat").string();
  {
    vb420::CZoneMemory zones(data_);
    ASSERT_EQ(zones.CreateZone(3, '2'), 1);  // a voting zone
    ASSERT_EQ(zones.CreateZone(4, '1'), 1);
    for (int z = 5; z < 40; ++z) ASSERT_EQ(zones.CreateZone(z, '1'), 1);  // for a long scan list
    vb420::ByteArea image = data_.Image();
    image.setU16le(0x9EE, 180);  // the ID list grown over empty memory
    image.fill(0xA700 + 16 * 100, 16 * 80, 0xFF);
    ASSERT_TRUE(vb420::SaveDatFile(rich, data_).ok());
  }
  std::string args;
  for (int c = 1; c <= 30; ++c) args += " zone.4.ch." + std::to_string(c) + ".rxf=151.5";
  for (int g = 2; g <= 20; ++g) args += " zone.2.group." + std::to_string(g) + ".encode=" + std::to_string(g);
  for (int g = 2; g <= 15; ++g) args += " zone.3.group." + std::to_string(g) + ".id=" + std::to_string(100 + g);
  for (int i = 1; i <= 180; ++i) args += " idlist." + std::to_string(i) + ".fleet=120 idlist." + std::to_string(i) + ".id=" + std::to_string(1000 + i);
  // Scan lists of every zone (a list holds zones that exist); zone 1 scans
  // 20 separate zones, more than one printed row holds.
  for (int z = 1; z <= 5; ++z)
    for (int r = 1; r <= (z == 1 ? 39 : 5); r += (z == 1 ? 2 : 1))
      args += " scanlist." + std::to_string(z) + "." + std::to_string(r) + "=Yes";
  args += " features.0.8=4321";  // the keypad lock code: never printed
  ASSERT_EQ(RunCli("settings " + rich + args).exitCode, 0);
  // Every key the program has, for the labels check.
  std::vector<std::string> keys;
  {
    const CliRun all = RunCli("settings " + rich);
    size_t a = 0;
    while (a < all.out.size()) {
      size_t b = all.out.find('\n', a);
      if (b == std::string::npos) b = all.out.size();
      const std::string line = all.out.substr(a, b - a);
      a = b + 1;
      const size_t eq = line.find('=');
      if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    }
    ASSERT_GT(keys.size(), 1000u);
  }
  // A word that is the tail of a key ("2.8.1", "qcall.1.number", "press"):
  // letters or more than one dot, so that values like 150.5 do not count.
  // A lone lowercase word that the language file holds ("display" in "Rx
  // Mobile ID display") is a text, not a key.
  std::string lng;
  {
    std::ifstream in(::vb420::testsupport::ResourceDir() + "/vb420.lng", std::ios::binary);
    lng.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  auto isKey = [&](const std::string& w) {
    // The technician setting window labels each byte with its address
    // ("0x810"), and so does its page: that is the window's own label.
    if (w.size() > 2 && w.compare(0, 2, "0x") == 0 &&
        std::all_of(w.begin() + 2, w.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
      return false;
    const bool letters = std::any_of(w.begin(), w.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); });
    const size_t dots = static_cast<size_t>(std::count(w.begin(), w.end(), '.'));
    if (!letters && dots < 2) return false;
    if (dots == 0 && (lng.find(" " + w + " ") != std::string::npos || lng.find(" " + w + "\\") != std::string::npos ||
                      lng.find(" " + w + ",") != std::string::npos || lng.find(" " + w + "\n") != std::string::npos ||
                      lng.find(" " + w + "\r") != std::string::npos))
      return false;
    for (const std::string& k : keys)
      if (k.size() > w.size() && k.compare(k.size() - w.size(), w.size(), w) == 0 && k[k.size() - w.size() - 1] == '.')
        return true;
    return false;
  };
  std::time_t now = std::time(nullptr);
  std::tm tm = vb420::LocalTime(now);
  for (const bool landscape : {false, true}) {
    for (const int language : {1, 2}) {
      const std::string pdf = (dir_ / ("rich" + std::to_string(landscape) + std::to_string(language) + ".pdf")).string();
      const CliRun r = RunCli("report " + rich + " -o " + pdf + " --voting --language " + std::to_string(language) +
                              (landscape ? " --landscape" : ""));
      ASSERT_EQ(r.exitCode, 0) << r.err;
      const std::string bbox = Shell("pdftotext -bbox '" + pdf + "' -");
      // Each page: its size, then its words with their boxes.
      size_t at = 0;
      int page = 0, words = 0;
      double width = 0, height = 0;
      while ((at = bbox.find('<', at)) != std::string::npos) {
        if (bbox.compare(at, 6, "<page ") == 0) {
          ++page;
          std::sscanf(bbox.c_str() + at, "<page width=\"%lf\" height=\"%lf\"", &width, &height);
        } else if (bbox.compare(at, 6, "<word ") == 0) {
          double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
          std::sscanf(bbox.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &x0, &y0, &x1, &y1);
          const size_t open = bbox.find('>', at) + 1;
          const std::string w = bbox.substr(open, bbox.find('<', open) - open);
          ++words;
          EXPECT_GE(y1 - y0, 6.0) << "page " << page << ": " << w;
          // Inside the 8 mm margins of the sheet.
          EXPECT_TRUE(x0 >= 20 && x1 <= width - 20 && y0 >= 20 && y1 <= height - 20)
              << "page " << page << ": " << w << " at " << x0 << "," << y0 << "-" << x1 << "," << y1;
          EXPECT_FALSE(isKey(w)) << "page " << page << " prints the key " << w;
        }
        ++at;
      }
      EXPECT_GT(words, 2000);
      // The 180 ID entries, fleet 120 and IDs 1001..1180, each on a row.
      const std::string all = Shell("pdftotext -layout '" + pdf + "' -");
      for (int i = 1; i <= 180; ++i)
        EXPECT_NE(all.find(std::to_string(1000 + i)), std::string::npos) << "ID entry " << i;
      // The date in the language's order.
      char date[32];
      if (language == 2) std::snprintf(date, sizeof date, "%d/%d/%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100);
      else std::snprintf(date, sizeof date, "%d/%d/%02d", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100);
      EXPECT_NE(PageText(pdf, 1).find(date), std::string::npos) << date;
      EXPECT_EQ(all.find("4321"), std::string::npos);
      // Zone 1's scan list over two rows, sixteen zones to a row.
      EXPECT_NE(all.find("1, 3, 5, 7"), std::string::npos);
      EXPECT_NE(all.find("33, 35, 37, 39"), std::string::npos);
      EXPECT_EQ(all.find("31, 33"), std::string::npos);
    }
  }
  // A portable's section 9 is its option board, and says so.
  const std::string portable = (dir_ / "portable.dat").string();
  ASSERT_EQ(RunCli("new -o " + portable + " --model VT-1400").exitCode, 0);
  const std::string pdf = (dir_ / "portable.pdf").string();
  ASSERT_EQ(RunCli("report " + portable + " -o " + pdf + " --sections 9").exitCode, 0);
  const std::string t = PageText(pdf, 1);
  EXPECT_NE(t.find(english_.Text(1172)), std::string::npos) << t;
  EXPECT_EQ(t.find(english_.Text(356)), std::string::npos) << t;
}

TEST_F(ReportPdf, SectionsAndZonesChooseThePages) {
  const std::string pdf = (dir_ / "s.pdf").string();
  const CliRun r = RunCli("report " + file_ + " -o " + pdf + " --sections 10,14 --zones 2-3");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  print::PrintOptions o = print::PrintOptions::Defaults();
  o.SetAll(false);
  o.Set(10, true);
  o.Set(14, true);
  o.SetFirstZone(2);
  o.SetLastZone(3);
  const int pages = print::PageCount(data_, o, false);
  EXPECT_EQ(PdfPages(pdf), pages);
  // Without the model and message blocks the header has neither.
  const std::string t = PageText(pdf, 1);
  EXPECT_EQ(t.find("ZEL DEALER SERVICE"), std::string::npos);
  EXPECT_EQ(t.find(english_.Text(129)), std::string::npos);
  EXPECT_EQ(PageText(pdf, 2).find("DEPOT"), std::string::npos);  // zone 1 is not in the range
}

TEST_F(ReportPdf, RefusesBadArgumentsAndKeepsAnOldFile) {
  const std::string pdf = (dir_ / "x.pdf").string();
  { std::ofstream(pdf) << "old"; }
  for (const char* bad : {" --sections 11", " --zones 5-2", " --zones 0-3", " --language 9", ""}) {
    const CliRun r = RunCli(std::string("report ") + file_ + (std::string(bad).empty() ? "" : " -o " + pdf) + bad);
    EXPECT_EQ(r.exitCode, 2) << bad;
  }
  EXPECT_EQ(RunCli("report " + (dir_ / "missing.dat").string() + " -o " + pdf).exitCode, 1);
  std::ifstream in(pdf);
  std::string s;
  in >> s;
  EXPECT_EQ(s, "old");
  // A folder that cannot be written: a failure, and nothing left behind.
  const CliRun r = RunCli("report " + file_ + " -o /nonexistent-dir/r.pdf");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists("/nonexistent-dir/r.pdf.part"));
}

}  // namespace
