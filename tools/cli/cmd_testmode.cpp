// SPDX-License-Identifier: GPL-3.0-or-later
// test-mode: puts a radio on the bench into test mode, runs the commands the
// options ask for, prints what the radio answered and always leaves test mode
// again. The radio's test channels are checked against a data file when one
// is given, else against the default programming of the radio's own model.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"
#include "link/StopRequest.h"
#include "link/TestMode.h"

namespace vb420::cli {

namespace {

constexpr int kDefaultRetries = 2;

// Retry is answered from --retries; every message goes to stderr in the
// program's own words.
class TestModePrompter : public Prompter {
 public:
  TestModePrompter(TextTable& text, int retries) : text_(text), retriesLeft_(retries) {}

  bool AskRetryCancel(int entry) override {
    Say(entry);
    if (retriesLeft_ > 0 && !StopRequested()) {
      --retriesLeft_;
      std::cerr << "vb420cli: retrying\n";
      return true;
    }
    return false;
  }
  bool AskOkCancel(int entry) override {
    Say(entry);
    return false;
  }
  void ShowError(int entry) override { Say(entry); }
  void ShowPortBusy(const std::string& device) override {
    std::string t = text_.Text(msg::kPortBusy);
    if (const auto at = t.find("%s"); at != std::string::npos) t.replace(at, 2, device);
    std::cerr << "vb420cli: " << t << "\n";
    last_ = msg::kPortBusy;
  }
  void ShowPartlyWritten() override {}
  void ShowInformation(int entry) override { Say(entry); }
  bool AskPassword(int, const std::string&, const std::string&, std::string&) override { return false; }
  int Last() const { return last_; }

 private:
  void Say(int entry) {
    std::cerr << "vb420cli: " << text_.Text(entry) << "\n";
    last_ = entry;
  }
  TextTable& text_;
  int retriesLeft_;
  int last_ = 0;
};

int ExitCodeOf(TestStart r) {
  switch (r) {
    case TestStart::kStarted: return kExitOk;
    case TestStart::kPortNotOpened: return kExitPortError;
    case TestStart::kCancelled: return kExitCommError;
    case TestStart::kModelRefused:
    case TestStart::kModelDiffers: return kExitRefusedModel;
    case TestStart::kChannelsDiffer:
    case TestStart::kTuningDiffers: return kExitFailure;
  }
  return kExitFailure;
}

bool ParseIndex(const std::string& s, long lo, long hi, long& out) {
  return ParseNumber(s, out) && out >= lo && out <= hi;
}

std::string FreqText(const RadioData& data, const uint8_t* imageOrder) {
  bool none = true;
  for (int i = 0; i < 4; ++i) none = none && imageOrder[i] == 0xFF;
  if (none) return "-";
  std::string s;
  data.freq.FreqToText(imageOrder, s);
  return s;
}

int CmdTestMode(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string port, channel, signalling, tx, retries;
  if (!TakeOption(args, "--port", port)) return Fail(kExitUsage, "test-mode: --port P is required");
  const bool haveChannel = TakeOption(args, "--channel", channel);
  const bool haveSignalling = TakeOption(args, "--signalling", signalling);
  const bool haveTx = TakeOption(args, "--tx", tx);
  const bool checksum = TakeFlag(args, "--checksum");
  long retryCount = kDefaultRetries;
  if (TakeOption(args, "--retries", retries) && !ParseIndex(retries, 0, 1000, retryCount))
    return Fail(kExitUsage, "test-mode: bad --retries");
  if (haveTx && tx != "on" && tx != "off") return Fail(kExitUsage, "test-mode: --tx is on or off");
  if (args.size() > 1 || (!args.empty() && args[0].rfind("--", 0) == 0))
    return Fail(kExitUsage, "test-mode: unexpected argument \"" + args.back() + "\"");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  const bool ownImage = !args.empty();
  if (ownImage) {
    int code = kExitOk;
    if (!LoadDatForCli(args[0], data, code)) return code;
  }
  // Checked once the radio has told its model, against what it allows.
  long ch = 0, sig = 0;
  if (haveChannel && !ParseIndex(channel, 1, kTestChannels, ch))
    return Fail(kExitUsage, "test-mode: --channel is 1 to 16");
  if (haveSignalling && !ParseIndex(signalling, 1, 17, sig))
    return Fail(kExitUsage, "test-mode: --signalling is 1 to 17 (16 on second-generation models)");

  RadioLink link;
  PointLinkAt(link, port);
  TestModePrompter prompter(text, static_cast<int>(retryCount));
  TestModeSession session(link, data, prompter);
  if (!ownImage) {
    session.SetOnIdentified([&data](const ModelBytes& radio) {
      data.model.SetBytes(radio);
      data.SyncCodecs();
      InitNewImage(data, false);
    });
  }
  const TestStart started = session.Start();
  if (started != TestStart::kStarted) return ExitCodeOf(started);

  std::cout << text.Text(129) << " " << data.model.DisplayName(text) << "\n";
  bool ok = true;
  if (haveSignalling && sig > session.SignallingCount()) {
    std::cerr << "vb420cli: test-mode: this radio has " << session.SignallingCount() << " signalling entries\n";
    session.End();
    return kExitUsage;
  }
  if (haveChannel) ok = session.SelectChannel(static_cast<int>(ch - 1));
  if (ok && haveSignalling) ok = session.SelectSignalling(static_cast<int>(sig - 1));
  if (ok) {
    const auto& f = session.RadioChannelBytes();
    std::cout << text.Text(258) << " " << session.Channel() + 1 << ": " << text.Text(247) << " "
              << FreqText(data, f.data()) << ", " << text.Text(248) << " " << FreqText(data, f.data() + 4) << "\n";
    std::cout << "Signalling: " << session.Signalling() + 1 << "\n";
  }
  if (ok && haveTx) {
    ok = session.SetTransmit(tx == "on");
    if (ok) std::cout << "TX: " << (session.Transmitting() ? "on" : "off") << "\n";
  }
  if (ok && checksum) {
    uint16_t sum = 0;
    ok = session.ReadChecksum(sum);
    if (ok) std::cout << text.Text(237) << ": " << ChecksumText(sum) << "\n";
  }
  // Test mode always ends, also while transmitting (and on a signal: the
  // session ends it before the next command).
  session.End();
  if (session.LastEnd() != TransferResult::kOk) {
    // The radio never confirmed the end: it may still be on the air.
    prompter.ShowError(msg::kTestModeNotEnded);
    return kExitCommError;
  }
  return ok ? kExitOk : kExitCommError;
}

}  // namespace

void RegisterTestModeVerbs() {
  RegisterVerb({"test-mode",
                "test-mode --port P [FILE.dat] [--channel N] [--signalling N] [--tx on|off] [--checksum] "
                "[--retries N]   drive a radio on the bench in test mode",
                CmdTestMode,
                "Put a radio on the bench into test mode, run what the options ask for, print\n"
                "what the radio answered, and always end test mode again (also while transmitting).\n"
                "A keyed transmitter is unkeyed before the end; Ctrl+C, SIGTERM or SIGHUP unkey\n"
                "and end test mode before the tool exits. A radio that does not confirm the end\n"
                "is reported: it may still be transmitting, switch it off.\n"
                "  --port P          COMn or a device path such as " VB420_DEVICE_EXAMPLE "\n"
                "  FILE.dat          the data whose model, 16 test channels and tuning frequencies\n"
                "                    the radio must hold (default: its own model's defaults);\n"
                "                    a radio that differs ends at once (exit 1, another model 6)\n"
                "  --channel N       select test channel N (1 to 16)\n"
                "  --signalling N    select test signalling entry N (1 to 17, 16 on second-\n"
                "                    generation mobiles)\n"
                "  --tx on|off       key or unkey the transmitter\n"
                "  --checksum        read the firmware check sum\n"
                "  --retries N       answer Retry N times before giving up (default 2)"});
}

}  // namespace vb420::cli
