// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli zones / zone / channel: editing a programming from a script goes
// through the same field rules as the grid, and saves in place.
#include <gtest/gtest.h>

#include "support/CliRun.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliZones : public vb420::test::NewFileTest {};

TEST_F(CliZones, ReceiveFrequencyCreatesZoneAndChannel) {
  const CliRun r = RunCli("channel " + file_ + " 1 3 RXF=146.52");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("rxf=146.52000\ntxf=146.52000\n"), std::string::npos);
  EXPECT_NE(r.out.find("name=  CH   3\n"), std::string::npos);
  EXPECT_EQ(RunCli("zones " + file_).out,
            "zone=1 type=1 class=conventional offset=0x0B00 size=80 records=1 first=1 repeaters=0 name=\"  1\"\n"
            "free=18359 first-block=0x000B last-block=0x000B\n");
  // The channel record: number, both frequencies, step codes, tones off, name.
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB20 16").out,
            "03 00 20 65 14 00 20 65 14 34 34 FF FF FF FF 20\n");
  EXPECT_EQ(RunCli("dump " + file_ + " 0xA00 4").out, "00 0B FF FF\n");
}

TEST_F(CliZones, ChannelsKeepTheirOrderAndDeleteCloses) {
  ASSERT_EQ(RunCli("channel " + file_ + " 1 2 RXF=146.52").exitCode, 0);
  ASSERT_EQ(RunCli("channel " + file_ + " 1 7 RXF=147").exitCode, 0);
  ASSERT_EQ(RunCli("channel " + file_ + " 1 5 RXF=146.6 NAME=Fire RXSIG=D023").exitCode, 0);
  // Records at 0xB20, 0xB50, 0xB80: channel numbers 2, 5, 7.
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB20 1").out, "02\n");
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB50 1").out, "05\n");
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB80 1").out, "07\n");
  const CliRun five = RunCli("channel " + file_ + " 1 5");
  EXPECT_NE(five.out.find("name=Fire\n"), std::string::npos);
  EXPECT_NE(five.out.find("rxtone=D023N\ntxtone=D023N\n"), std::string::npos);
  ASSERT_EQ(RunCli("channel " + file_ + " 1 2 --delete").exitCode, 0);
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB20 1").out, "05\n");
  // The freed tail of the area is 0xFF again.
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB80 4").out, "FF FF FF FF\n");
  EXPECT_EQ(RunCli("channel " + file_ + " 1 2").exitCode, 1);
}

TEST_F(CliZones, OutOfRangeIsStoredWithTheProgramsMessage) {
  const CliRun r = RunCli("channel " + file_ + " 1 1 RXF=300");
  EXPECT_EQ(r.exitCode, 14);  // stored, but brought to the band's limit
  EXPECT_NE(r.out.find("rxf=174.00000"), std::string::npos);
  EXPECT_NE(r.err.find("rxf: "), std::string::npos);
  // An option value that is none of the field's choices is refused.
  const CliRun bad = RunCli("channel " + file_ + " 1 1 F9=nonsense");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 XYZ=1").exitCode, 2);
  EXPECT_EQ(RunCli("channel " + file_ + " 1 251").exitCode, 2);
}

TEST_F(CliZones, CreateRetypeRenameDelete) {
  ASSERT_EQ(RunCli("zone " + file_ + " 3 --create ltr").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + file_ + " 9 --create passport").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + file_ + " 1 --create conventional --name North").exitCode, 0);
  EXPECT_EQ(RunCli("zones " + file_).out,
            "zone=1 type=1 class=conventional offset=0x0B00 size=32 records=0 first=1 repeaters=0 name=\"North\"\n"
            "zone=3 type=0 class=ltr offset=0x0B20 size=48 records=0 first=1 repeaters=0 name=\"  3\"\n"
            "zone=9 type=5 class=passport offset=0x0B50 size=96 records=0 first=1 repeaters=0 name=\"  9\"\n"
            "free=18263 first-block=0x000B last-block=0x000B\n");
  EXPECT_EQ(RunCli("zone " + file_ + " 3 --type 1").exitCode, 1);  // another class
  EXPECT_EQ(RunCli("zone " + file_ + " 3 --create ltr").exitCode, 1);  // exists already
  ASSERT_EQ(RunCli("zone " + file_ + " 3 --delete").exitCode, 0);
  // Zone 9 moved down over zone 3's block and its table word follows it.
  EXPECT_EQ(RunCli("dump " + file_ + " 0xA10 2").out, "20 0B\n");
  EXPECT_EQ(RunCli("dump " + file_ + " 0xA04 2").out, "FF FF\n");
  EXPECT_EQ(RunCli("zone " + file_ + " 129").exitCode, 2);
}

TEST_F(CliZones, VotingTypesNeedTheSwitchAndAFirstGenerationModel) {
  ASSERT_EQ(RunCli("zone " + file_ + " 1 --create conventional").exitCode, 0);
  const std::string before = RunCli("dump " + file_ + " 0xB00 2").out;
  ASSERT_EQ(before, "01 31\n");
  // A VT-1600 without the voting switch: type 3 is refused and nothing saved.
  for (const char* t : {"2", "3", "4"}) {
    const CliRun r = RunCli("zone " + file_ + " 1 --type " + t);
    EXPECT_EQ(r.exitCode, 1) << t;
    EXPECT_NE(r.err.find("not available"), std::string::npos) << r.err;
  }
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB00 2").out, before);
  // With the switch the window offers it, and so does the command line.
  ASSERT_EQ(RunCli("zone " + file_ + " 1 --type 3 --voting").exitCode, 0);
  EXPECT_EQ(RunCli("dump " + file_ + " 0xB00 2").out, "01 33\n");
  EXPECT_EQ(RunCli("zone " + file_ + " 1 --type 1").exitCode, 0);
  // A second-generation model has no voting even with the switch.
  const std::string gen2 = (dir_ / "g2.dat").string();
  ASSERT_EQ(RunCli("new -o " + gen2 + " --model VT-1602").exitCode, 0);
  ASSERT_EQ(RunCli("zone " + gen2 + " 1 --create conventional").exitCode, 0);
  EXPECT_EQ(RunCli("zone " + gen2 + " 1 --type 2 --voting").exitCode, 1);
  EXPECT_EQ(RunCli("dump " + gen2 + " 0xB00 2").out, "01 31\n");
}

TEST_F(CliZones, AFileWithoutAModelIsNeitherEditedNorWritten) {
  // "XXXXX" over the image's model bytes; the header still names a VT-1600.
  {
    std::fstream f(file_, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(64 + 0x120);
    f.write("XXXXX", 5);
  }
  const auto bytes = [this] {
    std::ifstream in(file_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  const std::string before = bytes();
  const CliRun edit = RunCli("zone " + file_ + " 1 --create conventional");
  EXPECT_EQ(edit.exitCode, 6);
  EXPECT_NE(edit.err.find("The file format or version is not supported."), std::string::npos) << edit.err;
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 RXF=146.52").exitCode, 6);
  EXPECT_EQ(RunCli("zones " + file_).exitCode, 6);
  EXPECT_EQ(RunCli("info " + file_).exitCode, 6);
  EXPECT_EQ(RunCli("dump " + file_ + " 0 1").exitCode, 6);
  EXPECT_EQ(bytes(), before);
}

}  // namespace
