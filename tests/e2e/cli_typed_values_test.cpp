// What `settings` and `channel` do with a typed text that is not quite a
// value: a tone that names no tone is refused with nothing saved, a number
// brought to its limit is saved but ends with its own exit code, unless
// --clamp asked for that. Both verbs follow one rule.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRun.h"

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
  EXPECT_NE(c.out.find("RXSIG=Off\nTXSIG=Off\n"), std::string::npos) << c.out;
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
  EXPECT_NE(c.out.find("TXF=136.00000"), std::string::npos) << c.out;
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 TXF=10 --clamp").exitCode, 0);
  EXPECT_EQ(RunCli("channel " + file_ + " 1 1 RXF=146.5249").exitCode, 0);
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
