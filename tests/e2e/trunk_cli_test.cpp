// SPDX-License-Identifier: GPL-3.0-or-later
// Trunked zones through vb420cli: groups, repeaters and PassPort headers by
// their settings keys, and a write that refuses a zone whose home repeater
// does not exist before a byte is sent.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/CliRun.h"
#include "support/SimProcess.h"

namespace vb420 {
namespace {

using test::CliRun;
using test::RunCli;
using testing::ReadTrace;
using testing::SimProcess;
using testing::TraceBytes;

class TrunkCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-trunk-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    file_ = Path("p.dat");
    ASSERT_EQ(RunCli("new -o " + file_).exitCode, 0);
  }
  void TearDown() override {
    sim_.reset();
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Start() {
    sim_ = std::make_unique<SimProcess>(std::vector<std::string>{"--trace", Path("trace.txt")});
    ASSERT_TRUE(sim_->Started());
  }
  std::string Port() const { return " --port " + sim_->Device(); }

  std::filesystem::path dir_;
  std::string file_;
  std::unique_ptr<SimProcess> sim_;
};

TEST_F(TrunkCli, GroupsRepeatersAndHeadersComeAndGoByKey) {
  CliRun r = RunCli("settings --clamp " + file_ +
                    " zone.3.group.5.encode=12 zone.3.group.5.name=yard zone.3.rep.2.rxf=151.025 zone.3.header.home=2"
                    " zone.3.header.8=700");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "zone.3.group.5.encode=12\nzone.3.group.5.name=yard\nzone.3.rep.2.rxf=151.02500\nzone.3.header.home=2\n"
            "zone.3.header.8=600\n");
  r = RunCli("settings " + file_ + " zone.3.rep.2.txf zone.3.header.area");
  EXPECT_EQ(r.out, "zone.3.rep.2.txf=156.02500\nzone.3.header.area=0\n");
  // An empty first column removes, as in the grid.
  r = RunCli("settings " + file_ + " zone.3.rep.2.rxf= zone.3.group.5.encode=");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = RunCli("settings " + file_ + " --editor repeater");
  EXPECT_EQ(r.out, "");
  // A PassPort zone: its first group's ID becomes the primary group ID.
  r = RunCli("settings --clamp " + file_ + " zone.4.group.1.id=4321 zone.4.system.asid=200 zone.4.search.blacklist=9,3");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "zone.4.group.1.id=4321\nzone.4.system.asid=127\nzone.4.search.blacklist=3,9\n");
  r = RunCli("settings " + file_ + " zone.4.system.ptg zone.4.system.datatg");
  EXPECT_EQ(r.out, "zone.4.system.ptg=4321\nzone.4.system.datatg=Off\n");
}

TEST_F(TrunkCli, AHomeRepeaterThatDoesNotExistRefusesTheWriteBeforeAnythingIsSent) {
  ASSERT_EQ(RunCli("settings " + file_ + " zone.3.group.1.encode=5 zone.3.header.home=4").exitCode, 0);
  Start();
  CliRun r = RunCli("write " + file_ + Port() + " --yes");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Check the following settings:\n\"Zone and channel data\""), std::string::npos) << r.err;
  EXPECT_TRUE(TraceBytes(ReadTrace(Path("trace.txt")), false).empty());
  // With repeater 4 entered the write goes through.
  ASSERT_EQ(RunCli("settings " + file_ + " zone.3.rep.4.rxf=151.025").exitCode, 0);
  r = RunCli("write " + file_ + Port() + " --yes");
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

}  // namespace
}  // namespace vb420
