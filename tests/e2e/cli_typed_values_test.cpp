// SPDX-License-Identifier: GPL-3.0-or-later
// What `settings` and `channel` do with a typed text that is not quite a
// value: a tone that names no tone is refused with nothing saved, a number
// brought to its limit is saved but ends with its own exit code, unless
// --clamp asked for that. Both verbs follow one rule.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/CliRun.h"
#include "support/Files.h"

namespace {

using vb420::test::CliRun;
using vb420::test::RunCli;

class CliTypedValues : public vb420::test::NewFileTest {
 protected:
  void SetUp() override {
    NewFileTest::SetUp();
    ASSERT_EQ(RunCli("channel " + file_ + " 1 1 RXF=146.52 RXSIG=100.0 TXSIG=D023I").exitCode, 0);
  }
  std::string Setting(const std::string& key) { return RunCli("settings " + file_ + " " + key).out; }
};

TEST_F(CliTypedValues, ATextThatNamesNoToneIsRefusedByBothVerbs) {
  const std::string before = FileBytes();
  // These stored 67.0 Hz (or a tone forced into range) and exited 0.
  for (const char* typed : {"xyz", "offf", "100.5", "300", "D024", "D023X", "1e2"}) {
    const CliRun s = RunCli("settings " + file_ + " zone.1.ch.1.rxtone=" + typed);
    EXPECT_EQ(s.exitCode, 12) << typed << ": " << s.err;
    EXPECT_NE(s.err.find(std::string("\"") + typed + "\""), std::string::npos) << s.err;
    const CliRun c = RunCli("channel " + file_ + " 1 1 NAME=X TXSIG=" + typed);
    EXPECT_EQ(c.exitCode, 12) << typed << ": " << c.err;
    EXPECT_EQ(FileBytes(), before) << typed;
  }
  // A refused tone later on the line keeps the earlier assignments out too.
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.name=ABC zone.1.ch.1.txtone=OF").exitCode, 12);
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(CliTypedValues, TheOffTextInAnyCaseOrLanguageAndListedTonesAreTaken) {
  for (const char* off : {"off", "OFF", "Off", "desactivado", "DESACTIVADO"}) {
    ASSERT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxtone=103.5").exitCode, 0);
    const CliRun s = RunCli("settings " + file_ + " zone.1.ch.1.rxtone=" + off);
    EXPECT_EQ(s.exitCode, 0) << off << ": " << s.err;
    EXPECT_EQ(s.out, "zone.1.ch.1.rxtone=Off\n") << off;
    // Shown in the language of the messages.
    EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxtone", "VB420_LANGUAGE=Spanish ").out,
              "zone.1.ch.1.rxtone=Desactivado\n");
  }
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxtone=off", "VB420_LANGUAGE=Spanish ").out,
            "zone.1.ch.1.rxtone=Desactivado\n");
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxtone=67").out, "zone.1.ch.1.rxtone=67.0\n");
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.txtone=d754").out, "zone.1.ch.1.txtone=D754N\n");
  // The channel verb: off in lower case turns both tones off, as typed Off does.
  const CliRun c = RunCli("channel " + file_ + " 1 1 RXSIG=off TXSIG=OFF");
  ASSERT_EQ(c.exitCode, 0) << c.err;
  EXPECT_NE(c.out.find("rxtone=Off\ntxtone=Off\n"), std::string::npos) << c.out;
  ASSERT_EQ(RunCli("channel " + file_ + " 1 1 RXSIG=d023i").exitCode, 0);
  EXPECT_EQ(Setting("zone.1.ch.1.rxtone"), "zone.1.ch.1.rxtone=D023I\n");
}

TEST_F(CliTypedValues, ANumberBroughtToItsLimitIsSavedWithExitCode14UnlessClampIsGiven) {
  // The VT-1600 band ends at 174 MHz: 999 is stored as the limit.
  CliRun s = RunCli("settings " + file_ + " zone.1.ch.1.rxf=999");
  EXPECT_EQ(s.exitCode, 14) << s.err;
  EXPECT_EQ(s.out, "zone.1.ch.1.rxf=174.00000\n");
  EXPECT_NE(s.err.find("\"999\" is out of range; stored as 174.00000"), std::string::npos) << s.err;
  EXPECT_EQ(Setting("zone.1.ch.1.rxf"), "zone.1.ch.1.rxf=174.00000\n");  // stored, but changed
  s = RunCli("settings " + file_ + " --clamp zone.1.ch.1.txf=999");
  EXPECT_EQ(s.exitCode, 0) << s.err;
  EXPECT_EQ(s.err.find("out of range;"), std::string::npos) << s.err;
  // A number of an edit box, raised to its minimum; rounding down to the
  // step is no clamp.
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.header.7=5000").exitCode, 14);
  EXPECT_EQ(RunCli("settings " + file_ + " zone.1.ch.1.rxf=146.523").exitCode, 0);
  EXPECT_EQ(Setting("zone.1.ch.1.rxf"), "zone.1.ch.1.rxf=146.52000\n");
  // The channel verb holds to the same rule.
  const CliRun c = RunCli("channel " + file_ + " 1 1 TXF=10");
  EXPECT_EQ(c.exitCode, 14) << c.err;
  EXPECT_NE(c.out.find("txf=136.00000"), std::string::npos) << c.out;
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 TXF=10 --clamp").exitCode, 0);
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 RXF=146.5249").exitCode, 0);
}

// One spelling for a field across the verbs: `channel` prints a channel as
// `settings` lists it, and takes the keys as well as its older names.
TEST_F(CliTypedValues, ChannelAndSettingsNameAndShowEveryFieldAlike) {
  ASSERT_EQ(RunCli("channel " + file_ + " 1 1 rxtone=67 Power=Low F11=No NAME=yard").exitCode, 0);
  ASSERT_EQ(RunCli("channel " + file_ + " 1 1 RXSIG=71.9 pOwEr=High").exitCode, 0);
  std::string expected;
  std::istringstream listed(RunCli("settings " + file_ + " --editor channel").out);
  for (std::string line; std::getline(listed, line);) {
    if (line.rfind("zone.1.ch.1.", 0) != 0) continue;
    line = line.substr(12, line.find('\t') - 12);
    expected += line + "\n";
  }
  const CliRun shown = RunCli("channel " + file_ + " 1 1");
  EXPECT_EQ(shown.out, expected);
  EXPECT_NE(shown.out.find("rxtone=71.9\n"), std::string::npos);
  EXPECT_NE(shown.out.find("power=High\n"), std::string::npos);
  // A name that is neither is a usage error naming the keys.
  const CliRun bad = RunCli("channel " + file_ + " 1 1 rxsignal=67");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("rxtone"), std::string::npos) << bad.err;
}

// An import column may be headed by the field's key as well as by the
// file's own word: both read the same plan.
TEST_F(CliTypedValues, ImportColumnsTakeTheKeysAsWellAsTheirWords) {
  const std::string words = Path("words.itm"), keys = Path("keys.itm");
  const std::string rows = "$,,1,2,147.5,147.5,71.9,D023N,YARD\r\n";
  vb420::testsupport::WriteText(words, "MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n"
                                       "$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\r\n" + rows);
  vb420::testsupport::WriteText(keys, "MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n"
                                      "$$,CNVDATA,ZN,CH,rxf,TXF,rxtone,TxTone,name\r\n" + rows);
  const std::string other = Path("other.dat");
  ASSERT_EQ(RunCli("new -o " + other).exitCode, 0);
  ASSERT_EQ(RunCli("channel " + other + " 1 1 RXF=146.52 RXSIG=100.0 TXSIG=D023I").exitCode, 0);
  ASSERT_EQ(RunCli("import " + file_ + " " + words + " --yes").exitCode, 0);
  ASSERT_EQ(RunCli("import " + other + " " + keys + " --yes").exitCode, 0);
  const std::string shown = RunCli("channel " + file_ + " 1 2").out;
  EXPECT_NE(shown.find("rxtone=71.9\ntxtone=D023N\nname=YARD"), std::string::npos) << shown;
  EXPECT_EQ(RunCli("channel " + other + " 1 2").out, shown);
}

TEST(CliPortWording, AMissingDeviceNamesTheOptionNotTheDialog) {
  const CliRun r = RunCli("radio-info --port /dev/vb420-no-such-device --retries 0");
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.err.find("/dev/vb420-no-such-device"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--port"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Communication Port"), std::string::npos) << r.err;
  const CliRun sp = RunCli("radio-info --port /dev/vb420-no-such-device --retries 0", "VB420_LANGUAGE=Spanish ");
  EXPECT_NE(sp.err.find("--port"), std::string::npos) << sp.err;
  EXPECT_EQ(sp.err.find("Puerto de comunicación"), std::string::npos) << sp.err;
}

}  // namespace
