// vb420cli settings: every table field by key; the file changes only when
// every assignment of the command was accepted.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "p.dat").string();
    ASSERT_EQ(RunCli("new -o " + file_).exitCode, 0);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string FileBytes() {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path dir_;
  std::string file_;
};

TEST_F(CliSettings, AssignmentsAreStoredByTheWindowRulesAndListed) {
  const CliRun set = RunCli("settings " + file_ +
                            " zone.2.ch.4.rxf=146.52 zone.2.ch.4.name=depot zone.2.header.7=5000 zone.2.header.8=");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  // Each assignment answers with the text the window shows afterwards:
  // the receive frequency copied, the number clamped, the empty entry "Off".
  EXPECT_EQ(set.out,
            "zone.2.ch.4.rxf=146.52000\nzone.2.ch.4.name=depot\nzone.2.header.7=1200\nzone.2.header.8=Off\n");
  const CliRun get = RunCli("settings " + file_ + " zone.2.ch.4.txf zone.2.ch.4.scramblecode");
  ASSERT_EQ(get.exitCode, 0) << get.err;
  // Field 19 is disabled without system type 1 and says so.
  EXPECT_EQ(get.out, "zone.2.ch.4.txf=146.52000\nzone.2.ch.4.scramblecode=1\t[disabled]\n");
  const CliRun list = RunCli("settings " + file_ + " --editor channel");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.rfind("zone.2.ch.4.rxf=146.52000\nzone.2.ch.4.txf=146.52000\nzone.2.ch.4.rxtone=Off\n", 0), 0u)
      << list.out;
  EXPECT_EQ(list.out.find("header"), std::string::npos);  // only the channel editor's fields
}

TEST_F(CliSettings, ARefusedAssignmentSavesNothing) {
  ASSERT_EQ(RunCli("settings " + file_ + " zone.2.ch.4.rxf=146.52").exitCode, 0);
  const std::string before = FileBytes();
  struct Case {
    const char* args;
    int exitCode;
    const char* says;
  } cases[] = {
      {" zone.2.ch.4.name=OK zone.2.ch.4.nosuch=1", 10, "no such setting"},
      {" zone.2.ch.4.name=OK zone.9.group.1.name=x", 10, "no such setting"},
      {" zone.2.ch.4.name=OK zone.2.ch.4.scramblecode=3", 11, "cannot be changed"},
      {" zone.2.ch.4.name=OK zone.2.ch.4.power=Medium", 12, "not one of its choices"},
      {" --editor nosuch", 10, "no editor named"},
  };
  for (const Case& c : cases) {
    const CliRun r = RunCli("settings " + file_ + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(), before) << c.args;
  }
  // Only reading never saves either, even when every key is good.
  ASSERT_EQ(RunCli("settings " + file_ + " zone.2.ch.4.name").exitCode, 0);
  EXPECT_EQ(FileBytes(), before);
}

}  // namespace
