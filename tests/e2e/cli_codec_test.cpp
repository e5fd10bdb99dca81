// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli codec: the verb a technician uses to see how a value is stored.
#include <gtest/gtest.h>

#include "support/CliRun.h"


#include <array>
#include <cstdio>
#include <string>

namespace {

using vb420::test::CliRun;
inline CliRun Cli(const std::string& args) { return vb420::test::RunCli(args); }
// The same with environment settings put before the program.
inline CliRun Cli(const std::string& args, const std::string& env) { return vb420::test::RunCli(args, env); }

TEST(CliCodec, FrequenciesAsStored) {
  EXPECT_EQ(Cli("codec freq 146.52").out, "00 20 65 14 step=4 check=1 text=146.52000\n");
  EXPECT_EQ(Cli("codec freq 146.5125 --model VT-1400").out, "50 12 65 14 step=3 check=1 text=146.51250\n");
  EXPECT_EQ(Cli("codec freq 146.00125").out, "00 00 60 14 step=3 check=1 text=146.00000\n");
  EXPECT_EQ(Cli("codec freq 146.00125 --fine-step").out, "25 01 60 14 step=0 check=1 text=146.00125\n");
  EXPECT_EQ(Cli("codec freq 450.0075 --model VT-2600H --band 450-520").out,
            "00 05 00 45 step=2 check=1 text=450.00500\n");
  EXPECT_EQ(Cli("codec freq 300").out, "00 00 40 17 step=4 check=0 text=174.00000\n");
  EXPECT_EQ(Cli("codec freq 390 --model VT-2400 --band 400-470").out, "00 00 00 39 step=6 check=0 text=390.00000\n");
  EXPECT_EQ(Cli("codec freq ''").out, "FF FF FF FF step=none check=1 text=\n");
}

TEST(CliCodec, Tones) {
  EXPECT_EQ(Cli("codec tone D754").out, "word=0x29EC text=D754N\n");
  EXPECT_EQ(Cli("codec tone D754I").out, "word=0xA9EC text=D754I\n");
  EXPECT_EQ(Cli("codec tone 250.3").out, "word=0x09C7 text=250.3\n");
  EXPECT_EQ(Cli("codec tone D029").out, "word=0x2817 text=D027N\n");
}

TEST(CliCodec, TheOffTextIsTheEditorsOwn) {
  // Entry 362 of the language in use, exactly as a tone combo takes it.
  EXPECT_EQ(Cli("codec tone Off").out, "word=0xFFFF text=Off\n");
  EXPECT_EQ(Cli("codec tone ''").out, "word=0xFFFF text=Off\n");
  EXPECT_EQ(Cli("codec tone 67").out, "word=0x029E text=67.0\n");
  const CliRun sp = Cli("codec tone Desactivado", "VB420_LANGUAGE=Spanish ");
  EXPECT_EQ(sp.out, "word=0xFFFF text=Desactivado\n");
  EXPECT_EQ(Cli("codec tone 250.3", "VB420_LANGUAGE=Spanish ").out, "word=0x09C7 text=250.3\n");
}

TEST(CliCodec, UsageErrors) {
  EXPECT_EQ(Cli("codec").exitCode, 2);
  EXPECT_EQ(Cli("codec tone").exitCode, 2);
  EXPECT_EQ(Cli("codec freq 146.52 --model VT-9").exitCode, 2);
  EXPECT_EQ(Cli("codec freq 146.52 --band 450-520").exitCode, 2);  // not a VT-1600 band
  EXPECT_EQ(Cli("codec freq 146.52 extra").exitCode, 2);
  EXPECT_EQ(Cli("codec freq 146.52").exitCode, 0);
}

}  // namespace
