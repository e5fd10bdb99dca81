// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli new / info / dump: what a fleet technician's scripts rely on.
#include <gtest/gtest.h>

#include "support/CliRun.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(CliFile, NewWritesTheFileNewImage) {
  const CliRun r = RunCli("new -o " + Path("a.dat") + " --model VT-2400 --band 400-470");
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(std::filesystem::file_size(Path("a.dat")), 53568u);
  // Header model bytes and the image's identification block, as a dump.
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " 0x120 8").out, "50 32 34 30 30 07 FF FF\n");
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " 0x100 20").out,
            "56 42 34 32 30 00 00 56 31 2E 32 30 FF FF FF FF\n56 42 2D 34\n");
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " --ext 0x640 7").out, "FF FF FF FF FF FF FF\n");
}

TEST_F(CliFile, DefaultsAndInfo) {
  ASSERT_EQ(RunCli("new -o " + Path("d.dat")).exitCode, 0);
  const CliRun info = RunCli("info " + Path("d.dat"));
  ASSERT_EQ(info.exitCode, 0);
  EXPECT_EQ(info.out,
            "model: VT-1600\n"
            "band: 136-174 MHz\n"
            "version: V1.20\n"
            "zones: conventional 0, LTR 0, PassPort 0\n"
            "channels and groups: 0\n"
            "free zone bytes: 18439\n"
            "message 1: \n"
            "message 2: \n");
  ASSERT_EQ(RunCli("new -o " + Path("u.dat") + " --model VT-2600H").exitCode, 0);
  EXPECT_NE(RunCli("info " + Path("u.dat")).out.find("band: 450-520 MHz"), std::string::npos);
}

TEST_F(CliFile, RefusalsAndUsage) {
  EXPECT_EQ(RunCli("new -o " + Path("x.dat") + " --model VT-1600 --band 450-520").exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(Path("x.dat")));
  EXPECT_EQ(RunCli("new -o " + Path("x.dat") + " --model VT-9999").exitCode, 2);
  EXPECT_EQ(RunCli("new").exitCode, 2);
  EXPECT_EQ(RunCli("info").exitCode, 2);
  EXPECT_EQ(RunCli("info " + Path("missing.dat")).exitCode, 1);
  ASSERT_EQ(RunCli("new -o " + Path("a.dat")).exitCode, 0);
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " 0xBFFF 2").exitCode, 2);  // past the image
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " --ext 0x11FF 1").out, "FF\n");
  EXPECT_EQ(RunCli("dump " + Path("a.dat") + " zz 1").exitCode, 2);
  EXPECT_EQ(RunCli("frobnicate").exitCode, 2);
  // A file whose model is not accepted gets the refused-model exit code.
  {
    std::ifstream in(Path("a.dat"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    bytes[15] = 'Q';
    std::ofstream(Path("q.dat"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  EXPECT_EQ(RunCli("info " + Path("q.dat")).exitCode, 6);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(CliFile, EditsKeepWhatTheUserSetOnTheFile) {
  ASSERT_EQ(RunCli("new -o " + Path("p.dat")).exitCode, 0);
  // A 0600 file stays 0600 after an edit.
  std::filesystem::permissions(Path("p.dat"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_EQ(RunCli("channel " + Path("p.dat") + " 1 1 RXF=146.52").exitCode, 0);
  EXPECT_EQ(std::filesystem::status(Path("p.dat")).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // An edit through a link changes the target and keeps the link.
  ASSERT_EQ(::symlink(Path("p.dat").c_str(), Path("l.dat").c_str()), 0);
  ASSERT_EQ(RunCli("channel " + Path("l.dat") + " 1 2 RXF=147").exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("l.dat")));
  EXPECT_EQ(RunCli("dump " + Path("p.dat") + " 0xB50 1").out, "02\n");
  // A read-only file is not replaced: exit 1 with the reason, file unchanged.
  std::filesystem::permissions(Path("p.dat"), std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
  const std::string before = FileBytes(Path("p.dat"));
  const CliRun r = RunCli("channel " + Path("p.dat") + " 1 3 RXF=148");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
  EXPECT_EQ(FileBytes(Path("p.dat")), before);
  EXPECT_FALSE(std::filesystem::exists(Path("p.dat.tmp~")));
}

// "new -o" through a loop of links is refused with the reason, as a link
// that leads into a folder is, and the link is not replaced by a file.
TEST_F(CliFile, NewOntoALoopOfLinksIsRefused) {
  ASSERT_EQ(::symlink(Path("b.dat").c_str(), Path("a.dat").c_str()), 0);
  ASSERT_EQ(::symlink(Path("a.dat").c_str(), Path("b.dat").c_str()), 0);
  const CliRun r = RunCli("new -o " + Path("a.dat"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Too many levels of symbolic links"), std::string::npos) << r.err;
  EXPECT_TRUE(std::filesystem::is_symlink(Path("a.dat")));
  EXPECT_EQ(std::filesystem::read_symlink(Path("a.dat")).string(), Path("b.dat"));
}

TEST_F(CliFile, FoldersAreReportedAsFolders) {
  std::filesystem::create_directories(Path("dir.dat"));
  const CliRun info = RunCli("info " + Path("dir.dat"));
  EXPECT_EQ(info.exitCode, 1);
  EXPECT_NE(info.err.find("The name \"" + Path("dir.dat") + "\" is a folder, not a file."), std::string::npos)
      << info.err;
  EXPECT_EQ(info.err.find("not a VB-420 data file"), std::string::npos);
  // The temporary name beside the file taken by a folder: that path is named.
  ASSERT_EQ(RunCli("new -o " + Path("t.dat")).exitCode, 0);
  std::filesystem::create_directories(Path("t.dat.tmp~"));
  const CliRun edit = RunCli("zone " + Path("t.dat") + " 1 --create conventional");
  EXPECT_EQ(edit.exitCode, 1);
  EXPECT_NE(edit.err.find("\"" + Path("t.dat.tmp~") + "\" is a folder"), std::string::npos) << edit.err;
  // In Spanish, from the same table.
  const CliRun sp = RunCli("info " + Path("dir.dat"), "VB420_LANGUAGE=Spanish ");
  EXPECT_NE(sp.err.find("corresponde a una carpeta"), std::string::npos) << sp.err;
}

TEST_F(CliFile, AnImageWithoutAModelIsRefusedWithTheProgramsMessage) {
  ASSERT_EQ(RunCli("new -o " + Path("m.dat")).exitCode, 0);
  {
    std::fstream f(Path("m.dat"), std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(64 + 0x120);
    f.write("XXXXX", 5);
  }
  const CliRun r = RunCli("info " + Path("m.dat"));
  EXPECT_EQ(r.exitCode, 6);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("The file format or version is not supported."), std::string::npos) << r.err;
}

}  // namespace
