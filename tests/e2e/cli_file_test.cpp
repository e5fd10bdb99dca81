// vb420cli new / info / dump: what a fleet technician's scripts rely on.
#include <gtest/gtest.h>

#include "CliRun.h"

#include <sys/wait.h>
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

}  // namespace
