// SPDX-License-Identifier: GPL-3.0-or-later
// What the radio verbs share: the Prompter that answers the program's
// questions from the command line, the options every radio verb takes, and
// the progress display.
#pragma once

#include <unistd.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "lang/TextTable.h"
#include "link/Backups.h"
#include "link/Session.h"
#include "link/WriteValidation.h"
#include "link/StopRequest.h"
#include "link/WriteSession.h"

namespace vb420::cli {

constexpr int kDefaultRetries = 2;
// The last event that ended a conversation, when it was not a message.
constexpr int kNoPassword = -1;
constexpr int kNotConfirmed = -2;

constexpr int kVerifyDiffers = -3;
// What to do about a device that is not there, naming --port (the program's
// own text points at its Communication Port dialog).
constexpr int kPortAbsentCli = 1295;

// Replaces the first "%s" of `pattern` with `arg` (or appends it).
inline std::string FillOne(std::string pattern, const std::string& arg) {
  if (const auto at = pattern.find("%s"); at != std::string::npos) pattern.replace(at, 2, arg);
  else pattern += " " + arg;
  return pattern;
}

// The checks made before a write, for one radio or a fleet alike: a refusal
// prints the list and answers kExitFailure; warnings are printed and need
// `yes` (kExitCancelled without it). kExitOk when the file may be written.
// What the checks before a write find; the refusal or the warnings are
// printed on stderr in the words the program shows. `check` and every write
// path judge a file by this one function.
enum class WriteFindings { None, Warnings, Refused };
WriteFindings ReportWriteFindings(RadioData& data, TextTable& text, WriteValidationResult* result = nullptr);
int CheckBeforeWrite(RadioData& data, TextTable& text, bool yes);

class CliPrompter : public Prompter {
 public:
  // Where each message goes, one whole message at a time (a fleet prefixes
  // the port and keeps the radios' messages from mixing).
  using Sink = std::function<void(const std::string& line)>;

  CliPrompter(TextTable& text, int retries, bool yes, bool havePassword, std::string password, Sink sink = {})
      : text_(text),
        retries_(retries),
        retriesLeft_(retries),
        yes_(yes),
        havePassword_(havePassword),
        password_(std::move(password)),
        sink_(std::move(sink)) {}

  // The message a failed conversation ended with, for a result line.
  std::string LastMessage() const { return lastText_; }

  bool AskRetryCancel(int entry) override {
    // A failure that comes back on every retry is told once; the retries
    // are counted instead.
    if (entry != lastSaid_) Say(entry);
    // Stopped by a signal: the conversation ends now, without retries.
    if (StopRequested()) {
      last_ = entry;
      return false;
    }
    if (retriesLeft_ > 0) {
      --retriesLeft_;
      Out("retrying (" + std::to_string(retries_ - retriesLeft_) + " of " + std::to_string(retries_) + ")");
      return true;
    }
    last_ = entry;
    return false;
  }
  bool AskOkCancel(int entry) override {
    Say(entry);
    return !StopRequested() && Confirm();
  }
  void ShowError(int entry) override {
    Say(entry);
    last_ = entry;
  }
  void ShowPortBusy(const std::string& device) override {
    const std::string text = FillOne(text_.Text(msg::kPortBusy), device);
    Out(text);
    lastText_ = text;
    last_ = msg::kPortBusy;
    lastSaid_ = msg::kPortBusy;
  }
  void ShowPortOpenFailure(const std::string& device, int error) override {
    // The device and what to do about the reason: permission, unplugged, busy.
    const std::string text = PortOpenFailureText(text_, device, error, kPortAbsentCli);
    Out(text);
    lastText_ = text;
    last_ = error == EBUSY ? msg::kPortBusy : msg::kPortNotOpened;
    lastSaid_ = last_;
  }
  void ShowInformation(int entry) override { Say(entry); }
  void ShowPartlyWritten() override {
    const std::string what = FillOne(text_.Text(msg::kPartlyWrittenWhatNow), DefaultBackupFolder());
    Out(text_.Text(msg::kPartlyWritten) + "\n" + what);
    lastSaid_ = msg::kPartlyWritten;
  }
  void ShowBackupFailed(int entry, const std::string& why) override {
    const std::string text = FillOne(text_.Text(entry), why);
    Out(text);
    lastSaid_ = entry;
    if (entry == msg::kRadioBackupFailed) {
      last_ = entry;
      lastText_ = text;
    }
  }
  void ShowVerifyFailed(const std::string& ranges) override {
    const std::string text = FillOne(text_.Text(msg::kVerifyFailed), ranges);
    Out(text);
    lastSaid_ = msg::kVerifyFailed;
    last_ = kVerifyDiffers;
    lastText_ = text;
  }
  bool AskPassword(int label, const std::string& line1, const std::string& line2, std::string& digits) override {
    if (!line1.empty() || !line2.empty()) Out(line1 + "\n          " + line2);
    if (!havePassword_) {
      lastText_ = "the radio asks for its " + text_.Text(label) + " (give it with --password)";
      Out(lastText_);
      last_ = kNoPassword;
      return false;
    }
    digits = password_;
    return true;
  }
  bool ConfirmPasswordWrite(bool readPassword, bool overwritePassword) override {
    Out(PasswordWarningText(text_, readPassword, overwritePassword));
    return Confirm();
  }

  // The exit code of a conversation that ended with `result`.
  int ExitCodeOf(TransferResult result) const {
    if (result == TransferResult::kOk) return kExitOk;
    if (result == TransferResult::kEndFailed) return kExitCommError;
    switch (last_) {
      case msg::kPortNotOpened:
      case msg::kPortBusy: return kExitPortError;
      case msg::kModelNotSupported:
      case msg::kPlatformCode: return kExitRefusedModel;
      case msg::kCommFailed: return kExitCommError;
      case kNoPassword:
      case kNotConfirmed: return kExitCancelled;
      case kVerifyDiffers: return kExitVerifyFailed;
      default: return kExitFailure;  // three wrong passwords
    }
  }

 private:
  void Out(const std::string& text) {
    if (sink_) sink_(text);
    else std::cerr << "vb420cli: " << text << "\n";
  }
  void Say(int entry) {
    Out(text_.Text(entry));
    lastSaid_ = entry;
    lastText_ = text_.Text(entry);
  }
  bool Confirm() {
    if (yes_) return true;
    lastText_ = "stopped (answer with --yes to go on)";
    Out(lastText_);
    last_ = kNotConfirmed;
    return false;
  }

  TextTable& text_;
  int retries_;
  int retriesLeft_;
  bool yes_;
  bool havePassword_;
  std::string password_;
  Sink sink_;
  int last_ = 0;
  int lastSaid_ = 0;
  std::string lastText_;
};

// The options every radio verb shares.
struct RadioOptions {
  std::string port;                // the first --port
  std::vector<std::string> ports;  // every --port, in order
  std::string password;
  bool havePassword = false;
  int retries = kDefaultRetries;
  bool yes = false;
};

inline int TakeRadioOptions(std::vector<std::string>& args, const char* verb, RadioOptions& o) {
  for (std::string p; TakeOption(args, "--port", p);) o.ports.push_back(p);
  if (o.ports.empty()) return Fail(kExitUsage, std::string(verb) + ": --port P is required");
  o.port = o.ports.front();
  o.havePassword = TakeOption(args, "--password", o.password);
  if (o.havePassword) {
    if (o.password.size() > 6 || o.password.find_first_not_of("0123456789") != std::string::npos)
      return Fail(kExitUsage, std::string(verb) + ": a password is at most 6 digits");
  }
  std::string n;
  if (TakeOption(args, "--retries", n)) {
    long v = 0;
    if (!ParseNumber(n, v) || v < 0 || v > 1000) return Fail(kExitUsage, std::string(verb) + ": bad --retries");
    o.retries = static_cast<int>(v);
  }
  o.yes = TakeFlag(args, "--yes");
  return kExitOk;
}

inline SessionCallbacks Callbacks(TextTable& text) {
  SessionCallbacks cb;
  if (isatty(STDERR_FILENO)) {
    const std::string label = text.Text(209);
    cb.progress = [label](int done, int total) {
      std::cerr << "\r" << label << " " << done << " / " << total << (done == total ? "\n" : "") << std::flush;
    };
  }
  return cb;
}

}  // namespace vb420::cli
