// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli export / import / zones-copy / zones-delete: a channel plan through
// text and back, whole zones carried between two files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "support/CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliPlan : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-plan-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    a_ = Path("a.dat");
    b_ = Path("b.dat");
    ASSERT_EQ(RunCli("new -o " + a_).exitCode, 0);
    ASSERT_EQ(RunCli("new -o " + b_).exitCode, 0);
  }
  void TearDown() override { vb420::testsupport::RemoveTree(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Settings(const std::string& file, const std::string& keys) {
    const CliRun r = RunCli("settings " + file + " " + keys);
    ASSERT_EQ(r.exitCode, 0) << keys << "\n" << r.err;
  }
  // "offset=0x0B50 size=96" of a zone line.
  std::pair<int, int> Block(const std::string& file, int zone) {
    const std::string out = RunCli("zones " + file).out;
    std::smatch m;
    const std::regex re("zone=" + std::to_string(zone) + " [^\\n]*offset=0x([0-9A-F]{4}) size=([0-9]+)");
    if (!std::regex_search(out, m, re)) return {-1, 0};
    return {std::stoi(m[1].str(), nullptr, 16), std::stoi(m[2].str())};
  }
  std::string Dump(const std::string& file, std::pair<int, int> block) {
    return RunCli("dump " + file + " " + std::to_string(block.first) + " " + std::to_string(block.second)).out;
  }
  std::filesystem::path dir_;
  std::string a_, b_;
};

TEST_F(CliPlan, ExportImportGivesTheSamePlanAndReportsOnStderr) {
  Settings(a_, "zone.1.ch.1.rxf=146.52 zone.1.ch.1.name=A,B zone.1.ch.9.rxf=147.0 zone.1.ch.9.txf=");
  ASSERT_EQ(RunCli("zone " + a_ + " 2 --create ltr").exitCode, 0);
  Settings(a_, "zone.2.group.3.encode=5 zone.2.group.3.decode=6 zone.2.group.3.name=GRP zone.2.rep.4.rxf=146.0");
  const std::string plan = Path("p.itm");
  ASSERT_EQ(RunCli("export " + a_ + " -o " + plan).exitCode, 0);
  const std::string text = ReadAll(plan);
  EXPECT_NE(text.find("$,,1,1,146.52000,146.52000,Off,Off,\"A,B\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("$,,2,3,5,6,GRP\r\n"), std::string::npos);

  // In place, atomically, with the summary on stderr.
  const CliRun r = RunCli("import " + b_ + " " + plan);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("Conventional: 2 applied, 0 skipped"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("LTR: 1 applied, 0 skipped"), std::string::npos);
  ASSERT_EQ(RunCli("export " + b_ + " -o " + Path("q.itm")).exitCode, 0);
  EXPECT_EQ(ReadAll(Path("q.itm")), text);

  // -o leaves the input alone.
  const std::string before = ReadAll(a_);
  ASSERT_EQ(RunCli("import " + a_ + " " + plan + " -o " + Path("c.dat")).exitCode, 0);
  EXPECT_EQ(ReadAll(a_), before);
  EXPECT_EQ(ReadAll(Path("c.dat")).size(), before.size());
}

TEST_F(CliPlan, BandMismatchStopsUnlessYesAndForeignFilesAreRefused) {
  const std::string plan = Path("uhf.itm");
  std::ofstream(plan, std::ios::binary) << "MARDEKO ZEL\r\n[Radio Band]=UHF\r\n$$,CNVDATA,ZN,CH,RXF\r\n$,,1,1,146.52\r\n";
  const std::string before = ReadAll(b_);
  CliRun r = RunCli("import " + b_ + " " + plan);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("The frequency band (VHF/UHF) is different."), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(b_), before);
  r = RunCli("import " + b_ + " " + plan + " --yes");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadAll(b_), before);

  const std::string foreign = Path("x.itm");
  std::ofstream(foreign, std::ios::binary) << "SOMETHING ELSE\r\n";
  const std::string now = ReadAll(b_);
  r = RunCli("import " + b_ + " " + foreign);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("The file format or version is not supported."), std::string::npos);
  EXPECT_EQ(ReadAll(b_), now);
  EXPECT_EQ(RunCli("import " + b_ + " " + Path("missing.itm")).exitCode, 1);
  EXPECT_EQ(RunCli("import " + b_ + " " + Path("plan.txt")).exitCode, 2);
}

// A plan none of whose records applies leaves the file as it was and says so
// with exit code 1; a plan written in English is read right while the
// program runs in Spanish (its "Off" is no tone).
TEST_F(CliPlan, NothingAppliedIsAFailureAndAnEnglishPlanReadsInSpanish) {
  Settings(a_, "zone.1.ch.1.rxf=146.52 zone.2.group.1.encode=3");
  const std::string bad = Path("bad.itm");
  std::ofstream(bad, std::ios::binary) << "MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n"
                        "$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\r\n$,,Zone 1,1,146.52,146.52,Off,Off,A\r\n"
                        "$$,LTRDATA,ZN,GID,ENCID,DECID,NAME\r\n$,,0,1,5,5,A\r\n";
  const std::string before = ReadAll(a_);
  CliRun r = RunCli("import " + a_ + " " + bad);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Nothing was imported"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(a_), before);

  const std::string plan = Path("en.itm");
  std::ofstream(plan, std::ios::binary) << "MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n"
                         "$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\r\n$,,1,1,146.52,146.52,Off,Off,A\r\n"
                         "$$,FLTLIST,NUM,FLEET,ID,NAME,INH\r\n$,,1,200,1500,X,Yes\r\n";
  r = RunCli("import " + b_ + " " + plan + " --yes", "VB420_LANGUAGE=Spanish ");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(RunCli("settings " + b_ + " zone.1.ch.1.rxtone zone.1.ch.1.txtone idlist.1.inh").out,
            "zone.1.ch.1.rxtone=Off\nzone.1.ch.1.txtone=Off\nidlist.1.inh=Yes\n");
}

// A plan that was imported but lost records on the way says so: the
// summary names the skipped records and the exit code is 8, not success.
// The summary comes only once the file is saved: a file that cannot be
// written gets the refusal alone.
TEST_F(CliPlan, SkippedRecordsExit8AndTheSummaryFollowsTheSave) {
  const std::string plan = Path("edge.itm");
  std::ofstream(plan, std::ios::binary) << "MARDEKO ZEL\r\n$$,CNVDATA,ZN,CH,RXF\r\n$,,1,250,146.52\r\n$,,1,251,146.52\r\n";
  CliRun r = RunCli("import " + b_ + " " + plan);
  EXPECT_EQ(r.exitCode, 8) << r.err;
  EXPECT_NE(r.err.find("Conventional: 1 applied, 1 skipped"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Records skipped: 1."), std::string::npos) << r.err;
  EXPECT_EQ(RunCli("settings " + b_ + " zone.1.ch.250.rxf").out, "zone.1.ch.250.rxf=146.52000\n");

  const std::string clean = Path("clean.itm");
  std::ofstream(clean, std::ios::binary) << "MARDEKO ZEL\r\n$$,CNVDATA,ZN,CH,RXF\r\n$,,1,250,146.52\r\n";
  r = RunCli("import " + a_ + " " + clean);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("Records skipped"), std::string::npos) << r.err;

  std::filesystem::permissions(a_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                       std::filesystem::perms::others_read);
  const std::string before = ReadAll(a_);
  r = RunCli("import " + a_ + " " + plan);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("The import is finished"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAll(a_), before);
}

TEST_F(CliPlan, ZonesCopyCarriesBlocksAndPerChannelValues) {
  // An LTR zone with groups and repeaters, and a PassPort zone.
  ASSERT_EQ(RunCli("zone " + a_ + " 2 --create ltr").exitCode, 0);
  Settings(a_,
           "zone.2.group.1.encode=5 zone.2.group.1.decode=6 zone.2.group.1.name=ONE zone.2.group.1.scan=Yes "
           "zone.2.group.7.encode=9 zone.2.group.7.decode=10 zone.2.group.7.f16=Yes "
           "zone.2.rep.1.rxf=146.0 zone.2.rep.5.rxf=147.0 zone.2.rep.5.telephone=Yes");
  ASSERT_EQ(RunCli("zone " + a_ + " 3 --create passport").exitCode, 0);
  Settings(a_, "zone.3.group.2.id=100 zone.3.group.2.name=PP");
  // Something in the way in the target file.
  Settings(b_, "zone.1.ch.1.rxf=146.52 zone.6.ch.1.rxf=150.0 zone.6.ch.2.rxf=150.1");

  EXPECT_EQ(RunCli("zones-copy " + a_ + " 2 3 " + b_ + " 6").exitCode, 3);  // the question needs --yes
  const CliRun r = RunCli("zones-copy " + a_ + " 2 3 " + b_ + " 6 --yes");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (auto [src, dst] : {std::pair{2, 6}, std::pair{3, 7}}) {
    const auto s = Block(a_, src);
    const auto d = Block(b_, dst);
    ASSERT_GT(s.first, 0);
    ASSERT_EQ(s.second, d.second);
    std::string sb = Dump(a_, s), db = Dump(b_, d);
    // Bar the zone number and the first global channel number.
    sb.replace(0, 2, "..");
    db.replace(0, 2, "..");
    sb.replace(6, 5, ".....");
    db.replace(6, 5, ".....");
    EXPECT_EQ(sb, db) << "zone " << src;
  }
  const std::string keys = " zone.2.group.1.scan zone.2.group.7.f16 zone.2.group.7.scan zone.2.group.1.f17";
  const std::string fromA = RunCli("settings " + a_ + keys).out;
  EXPECT_NE(fromA.find("=Yes"), std::string::npos) << fromA;
  EXPECT_EQ(RunCli("settings " + b_ + std::regex_replace(keys, std::regex("zone\\.2\\."), "zone.6.")).out,
            std::regex_replace(fromA, std::regex("zone\\.2\\."), "zone.6."));
  EXPECT_EQ(RunCli("settings " + b_ + " zone.6.rep.5.telephone zone.7.group.2.name").out,
            "zone.6.rep.5.telephone=Yes\nzone.7.group.2.name=PP\n");
  EXPECT_EQ(RunCli("settings " + b_ + " zone.1.ch.1.rxf").out, "zone.1.ch.1.rxf=146.52000\n");

  // Copying zones 1 to 3 to zone 127 writes zones 127 and 128 only.
  ASSERT_EQ(RunCli("zones-copy " + a_ + " 1 3 " + b_ + " 127 --yes").exitCode, 0);
  EXPECT_NE(RunCli("zones " + b_).out.find("zone=128 type=0"), std::string::npos);
}

TEST_F(CliPlan, ZonesDeletePacksTheRest) {
  for (int z : {1, 2, 3, 4, 5}) Settings(a_, "zone." + std::to_string(z) + ".ch.1.rxf=146.52");
  const auto fifth = Dump(a_, Block(a_, 5));
  ASSERT_EQ(RunCli("zones-delete " + a_ + " 2 4").exitCode, 0);
  const std::string out = RunCli("zones " + a_).out;
  EXPECT_NE(out.find("zone=1 type=1 class=conventional offset=0x0B00 size=80"), std::string::npos) << out;
  EXPECT_NE(out.find("zone=5 type=1 class=conventional offset=0x0B50 size=80"), std::string::npos) << out;
  EXPECT_EQ(out.find("zone=3 "), std::string::npos);
  EXPECT_EQ(RunCli("zones-delete " + a_ + " 4 2").exitCode, 2);
}

}  // namespace
