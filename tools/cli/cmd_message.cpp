// SPDX-License-Identifier: GPL-3.0-or-later
// write-message: writes the password-protected message of a data file (the
// two lines at extension offsets 0x600 and 0x620) into a connected radio, and
// nothing else.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"
#include "link/MessageWriteSession.h"
#include "link/StopRequest.h"

namespace vb420::cli {

namespace {

// Giving the command is the confirmation; the radio's password comes from
// --password; Retry is answered from --retries.
class MessagePrompter : public Prompter {
 public:
  MessagePrompter(TextTable& text, int retries, bool havePassword, std::string password)
      : text_(text), retriesLeft_(retries), havePassword_(havePassword), password_(std::move(password)) {}

  bool AskRetryCancel(int entry) override {
    Say(entry);
    if (retriesLeft_ <= 0 || StopRequested()) return false;
    --retriesLeft_;
    std::cerr << "vb420cli: retrying\n";
    return true;
  }
  bool AskOkCancel(int) override { return !StopRequested(); }
  void ShowError(int entry) override { Say(entry); }
  void ShowPortBusy(const std::string& device) override {
    std::string t = text_.Text(msg::kPortBusy);
    if (const auto at = t.find("%s"); at != std::string::npos) t.replace(at, 2, device);
    std::cerr << "vb420cli: " << t << "\n";
    last_ = msg::kPortBusy;
  }
  void ShowPartlyWritten() override {}
  void ShowInformation(int entry) override { Say(entry); }
  bool AskPassword(int label, const std::string&, const std::string&, std::string& digits) override {
    // The same digits twice would only be refused again.
    if (asked_) return false;  // refused: the wrong-password message stands
    if (!havePassword_) {
      std::cerr << "vb420cli: the radio asks for its " << text_.Text(label) << " (give it with --password)\n";
      last_ = -1;
      return false;
    }
    asked_ = true;
    digits = password_;
    return true;
  }
  int Last() const { return last_; }

 private:
  void Say(int entry) {
    std::cerr << "vb420cli: " << text_.Text(entry) << "\n";
    last_ = entry;
  }
  TextTable& text_;
  int retriesLeft_;
  bool havePassword_;
  std::string password_;
  bool asked_ = false;
  int last_ = 0;
};

int CmdWriteMessage(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string port, password, retries;
  if (!TakeOption(args, "--port", port)) return Fail(kExitUsage, "write-message: --port P is required");
  const bool havePassword = TakeOption(args, "--password", password);
  if (havePassword && (password.size() > 6 || password.find_first_not_of("0123456789") != std::string::npos))
    return Fail(kExitUsage, "write-message: a password is at most 6 digits");
  long retryCount = 2;
  if (TakeOption(args, "--retries", retries) && (!ParseNumber(retries, retryCount) || retryCount < 0 || retryCount > 1000))
    return Fail(kExitUsage, "write-message: bad --retries");
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) return Fail(kExitUsage, "write-message: one FILE.dat is required");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;

  RadioLink link;
  PointLinkAt(link, port);
  MessagePrompter prompter(text, static_cast<int>(retryCount), havePassword, password);
  MessageWriteSession session(link, data.Ext(), prompter);
  switch (session.Run()) {
    case MessageWriteResult::kWritten: return kExitOk;
    case MessageWriteResult::kEndFailed: return kExitCommError;
    case MessageWriteResult::kFailed: break;
  }
  switch (prompter.Last()) {
    case msg::kPortNotOpened:
    case msg::kPortBusy: return kExitPortError;
    case msg::kModelNotSupported: return kExitRefusedModel;
    case msg::kCommFailed: return kExitCommError;
    case -1: return kExitCancelled;
    default: return kExitFailure;  // a wrong password
  }
}

}  // namespace

void RegisterMessageVerbs() {
  RegisterVerb({"write-message",
                "write-message FILE.dat --port P [--password DIGITS] [--retries N]   write the password-protected "
                "message of a file into a radio",
                CmdWriteMessage,
                "Write the password-protected message of a data file (its two 32-character lines)\n"
                "into a connected radio, and nothing else of the radio's memory.\n"
                "  --port P           COMn or a device path such as " VB420_DEVICE_EXAMPLE "\n"
                "  --password DIGITS  the radio's message password, tried after the empty one\n"
                "  --retries N        answer Retry N times before giving up (default 2)\n"
                "Giving the command is the confirmation the program asks for."});
}

}  // namespace vb420::cli
