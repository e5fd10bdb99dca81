// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli and the scan, DTMF and 2-tone tables: a refused priority channel
// leaves the file alone, and deleting a zone with the zone verb cleans the
// scan data as the window does.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/CliRun.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliScan : public vb420::test::NewFileTest {};

TEST_F(CliScan, PriorityChannelRulesAndZoneDeletion) {
  ASSERT_EQ(RunCli("settings " + file_ + " zone.1.ch.2.rxf=146.52 zone.5.ch.1.rxf=147.0").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + file_ + " 3 --create ltr").exitCode, 0);
  const std::string before = FileBytes();
  // Zone 3 is an LTR zone: refused with the window's message, nothing saved.
  const CliRun refused = RunCli("settings " + file_ + " scan.0.0=Fixed scan.0.2=3");
  EXPECT_EQ(refused.exitCode, 13);
  EXPECT_NE(refused.err.find("priority channel"), std::string::npos) << refused.err;
  EXPECT_EQ(FileBytes(), before);

  const CliRun set = RunCli("settings --clamp " + file_ + " scan.0.0=Fixed scan.0.2=1 scan.0.3=2 scan.0.9=5.07 scanlist.1.5=Yes");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(set.out, "scan.0.0=Fixed\nscan.0.2=1\nscan.0.3=2\nscan.0.9=5.00\nscanlist.1.5=Yes\n");

  // Zone 5 leaves zone 1's list when it is deleted; zone 1 takes its
  // priority channel with it.
  ASSERT_EQ(RunCli("zone " + file_ + " 5 --delete").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + file_ + " 1 --delete").exitCode, 0);
  const CliRun after = RunCli("settings " + file_ + " scanlist.1.5 scan.0.2 scan.0.3");
  ASSERT_EQ(after.exitCode, 0) << after.err;
  EXPECT_EQ(after.out, "scanlist.1.5=No\t[disabled]\nscan.0.2=Off\nscan.0.3=Off\t[disabled]\n");
}

TEST_F(CliScan, DtmfAndTwoToneByKey) {
  const CliRun set = RunCli("settings --clamp " + file_ +
                            " dtmf.mem.1.code=12# dtmf.mem.1.name=Depot dtmf.0.0=9 twotone.code.1.a=3200 "
                            "twotone.dgrid.1.1.seq=A-B");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(set.out,
            "dtmf.mem.1.code=12#\ndtmf.mem.1.name=Depot\ndtmf.0.0=8\ntwotone.code.1.a=3106.0\n"
            "twotone.dgrid.1.1.seq=A-B\n");
  // None is not a row of the first decode row.
  EXPECT_EQ(RunCli("settings " + file_ + " twotone.dgrid.1.1.seq=Off").exitCode, 12);
  const CliRun list = RunCli("settings " + file_ + " --editor dtmf-memory");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.rfind("dtmf.mem.1.name=Depot\ndtmf.mem.1.code=12#\ndtmf.mem.2.name=\n", 0), 0u) << list.out;
}

}  // namespace
