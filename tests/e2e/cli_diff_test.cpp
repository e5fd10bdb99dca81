// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli diff: one line per difference, by field key, zones and records
// as such, undescribed bytes as address ranges; exit 0 equal, 1 different.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliDiff : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-diff-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    a_ = (dir_ / "a.dat").string();
    b_ = (dir_ / "b.dat").string();
    ASSERT_EQ(RunCli("new -o " + a_).exitCode, 0);
    const CliRun set = RunCli("settings " + a_ + " zone.2.ch.1.rxf=146.52 zone.2.ch.4.rxf=146.52 zone.2.ch.4.name=depot" +
                              " zone.3.ch.1.rxf=155.1 zone.5.ch.2.rxf=151.625");
    ASSERT_EQ(set.exitCode, 0) << set.err;
    std::filesystem::copy_file(a_, b_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Poke(const std::string& file, long imageOffset, char value) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(64 + imageOffset);
    f.put(value);
  }
  std::filesystem::path dir_;
  std::string a_, b_;
};

TEST_F(CliDiff, EqualFilesPrintNothing) {
  const CliRun r = RunCli("diff " + a_ + " " + b_);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDiff, OneChannelOneZoneOneUnknownByteAreThreeLines) {
  ASSERT_EQ(RunCli("settings " + b_ + " zone.2.ch.4.rxf=147.0").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + b_ + " 3 --delete").exitCode, 0);
  Poke(b_, 0x11F, 0x42);  // a byte of the identity block that no window shows
  const CliRun r = RunCli("diff " + a_ + " " + b_);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "zone.3: removed\n"
            "zone.2.ch.4.rxf: 146.52000 -> 147.00000\n"
            "image 0x011F: FF -> 42\n");
  // The other way round the zone is added and the texts swap.
  const CliRun back = RunCli("diff " + b_ + " " + a_);
  EXPECT_EQ(back.exitCode, 1);
  EXPECT_EQ(back.out,
            "zone.3: added\n"
            "zone.2.ch.4.rxf: 147.00000 -> 146.52000\n"
            "image 0x011F: 42 -> FF\n");
}

TEST_F(CliDiff, RecordsAddedAndRemovedWithinAZoneAndByteRuns) {
  ASSERT_EQ(RunCli("channel " + b_ + " 2 4 --delete").exitCode, 0);
  ASSERT_EQ(RunCli("settings " + b_ + " zone.5.ch.9.rxf=151.7").exitCode, 0);
  for (long off = 0x118; off <= 0x11A; ++off) Poke(b_, off, 0x00);
  const CliRun r = RunCli("diff " + a_ + " " + b_);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.out,
            "zone.2.ch.4: removed\n"
            "zone.5.ch.9: added\n"
            "image 0x0118-0x011A: 31 2E 32 -> 00 00 00\n");  // the identity block of a new file
}

TEST_F(CliDiff, UnreadableFileIsAUsageError) {
  const CliRun r = RunCli("diff " + a_ + " " + (dir_ / "missing.dat").string());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(r.err.empty());
  EXPECT_EQ(RunCli("diff " + a_).exitCode, 2);
}

}  // namespace
