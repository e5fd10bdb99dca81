// Radio verbs: read, write, radio-info. The questions the desktop program
// would ask are answered from the command line: Retry up to --retries times,
// the confirmations only with --yes, the passwords with --password.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "editors/signalling/SignallingChecks.h"
#include "data/DataFile.h"
#include "data/RadioData.h"
#include "editors/features/OptBoardFields.h"
#include "editors/dtmf/DtmfFields.h"
#include "editors/scan/ScanFields.h"
#include "editors/zones/ZoneWriteChecks.h"
#include "lang/TextTable.h"
#include "link/Backups.h"
#include "link/RadioInfoSession.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/WriteValidation.h"

namespace vb420::cli {

namespace {

constexpr int kDefaultRetries = 2;
// The last event that ended a conversation, when it was not a message.
constexpr int kNoPassword = -1;
constexpr int kNotConfirmed = -2;

class CliPrompter : public Prompter {
 public:
  CliPrompter(TextTable& text, int retries, bool yes, bool havePassword, std::string password)
      : text_(text),
        retries_(retries),
        retriesLeft_(retries),
        yes_(yes),
        havePassword_(havePassword),
        password_(std::move(password)) {}

  bool AskRetryCancel(int entry) override {
    // A failure that comes back on every retry is told once; the retries
    // are counted instead.
    if (entry != lastSaid_) Say(entry);
    if (retriesLeft_ > 0) {
      --retriesLeft_;
      std::cerr << "vb420cli: retrying (" << retries_ - retriesLeft_ << " of " << retries_ << ")\n";
      return true;
    }
    last_ = entry;
    return false;
  }
  bool AskOkCancel(int entry) override {
    Say(entry);
    return Confirm();
  }
  void ShowError(int entry) override {
    Say(entry);
    last_ = entry;
  }
  void ShowPortBusy(const std::string& device) override {
    std::string text = text_.Text(msg::kPortBusy);
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, device);
    else text += " " + device;
    std::cerr << "vb420cli: " << text << "\n";
    last_ = msg::kPortBusy;
    lastSaid_ = msg::kPortBusy;
  }
  void ShowPortOpenFailure(const std::string& device, int error) override {
    // The device and what to do about the reason: permission, unplugged, busy.
    std::cerr << "vb420cli: " << PortOpenFailureText(text_, device, error) << "\n";
    last_ = error == EBUSY ? msg::kPortBusy : msg::kPortNotOpened;
    lastSaid_ = last_;
  }
  void ShowInformation(int entry) override { Say(entry); }
  void ShowPartlyWritten() override {
    std::string what = text_.Text(msg::kPartlyWrittenWhatNow);
    const std::string folder = DefaultBackupFolder();
    if (const auto at = what.find("%s"); at != std::string::npos) what.replace(at, 2, folder);
    std::cerr << "vb420cli: " << text_.Text(msg::kPartlyWritten) << "\n" << what << "\n";
    lastSaid_ = msg::kPartlyWritten;
  }
  bool AskPassword(int label, const std::string& line1, const std::string& line2, std::string& digits) override {
    if (!line1.empty() || !line2.empty()) std::cerr << "vb420cli: " << line1 << "\n          " << line2 << "\n";
    if (!havePassword_) {
      std::cerr << "vb420cli: the radio asks for its " << text_.Text(label) << " (give it with --password)\n";
      last_ = kNoPassword;
      return false;
    }
    digits = password_;
    return true;
  }
  bool ConfirmPasswordWrite(bool readPassword, bool overwritePassword) override {
    std::cerr << "vb420cli: " << PasswordWarningText(text_, readPassword, overwritePassword) << "\n";
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
      default: return kExitFailure;  // three wrong passwords
    }
  }

 private:
  void Say(int entry) {
    std::cerr << "vb420cli: " << text_.Text(entry) << "\n";
    lastSaid_ = entry;
  }
  bool Confirm() {
    if (yes_) return true;
    std::cerr << "vb420cli: stopped (answer with --yes to go on)\n";
    last_ = kNotConfirmed;
    return false;
  }

  TextTable& text_;
  int retries_;
  int retriesLeft_;
  bool yes_;
  bool havePassword_;
  std::string password_;
  int last_ = 0;
  int lastSaid_ = 0;
};

// The options every radio verb shares.
struct RadioOptions {
  std::string port;
  std::string password;
  bool havePassword = false;
  int retries = kDefaultRetries;
  bool yes = false;
};

int TakeRadioOptions(std::vector<std::string>& args, const char* verb, RadioOptions& o) {
  if (!TakeOption(args, "--port", o.port)) return Fail(kExitUsage, std::string(verb) + ": --port P is required");
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

SessionCallbacks Callbacks(TextTable& text) {
  SessionCallbacks cb;
  if (isatty(STDERR_FILENO)) {
    const std::string label = text.Text(209);
    cb.progress = [label](int done, int total) {
      std::cerr << "\r" << label << " " << done << " / " << total << (done == total ? "\n" : "") << std::flush;
    };
  }
  return cb;
}

int CmdRead(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  RadioOptions o;
  if (const int bad = TakeRadioOptions(args, "read", o)) return bad;
  std::string out;
  if (!TakeOption(args, "-o", out) && !TakeOption(args, "--output", out))
    return Fail(kExitUsage, "read: -o FILE.dat is required");
  if (!args.empty()) return Fail(kExitUsage, "read: unexpected argument \"" + args[0] + "\"");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  RadioLink link;
  PointLinkAt(link, o.port);
  CliPrompter prompter(text, o.retries, o.yes, o.havePassword, o.password);
  ReadSession session(link, data.buffers, prompter, Callbacks(text));
  const TransferResult result = session.Run();
  if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
  if (result != TransferResult::kOk) return prompter.ExitCodeOf(result);

  data.buffers.AcceptScratch();
  data.SyncCodecs();
  // The backup first: whatever happens to the output file, the radio's
  // programming is kept.
  std::string error;
  const std::string backup = SaveBackup(data, DefaultBackupFolder(), error);
  if (backup.empty()) std::cerr << "vb420cli: no backup kept: " << error << "\n";
  if (!SaveDatForCli(out, data)) return kExitFailure;
  return kExitOk;
}

int CmdWrite(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  RadioOptions o;
  if (const int bad = TakeRadioOptions(args, "write", o)) return bad;
  const bool adjustTime = !TakeFlag(args, "--no-adjust-time");
  if (args.size() != 1) return Fail(kExitUsage, "write: one FILE.dat is required");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;

  // The zone code's checks (priority channels...) join the link's own.
  RegisterZoneWriteChecks();
  RegisterFeatureWriteChecks();
  RegisterSignallingWriteChecks();
  scan::RegisterScanWriteChecks();
  dtmf::RegisterDtmfWriteChecks();
  const WriteValidationResult v = ValidateForWrite(data, text);
  if (!v.problems.empty()) return Fail(kExitFailure, ValidationMessage(text, msg::kValidationHeading, v.problems));
  if (!v.mergeProblems.empty())
    return Fail(kExitFailure, ValidationMessage(text, msg::kMergeValidationHeading, v.mergeProblems));
  if (!v.warnings.empty()) {
    std::cerr << "vb420cli: " << ValidationMessage(text, msg::kWarningsHeading, v.warnings) << "\n";
    if (!o.yes) return Fail(kExitCancelled, "stopped (answer with --yes to go on)");
  }
  const WriteWarnings w = DueWriteWarnings(data, false, false);
  if (w.first) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning1) << "\n";
  if (w.second) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning2) << "\n";

  RadioLink link;
  PointLinkAt(link, o.port);
  CliPrompter prompter(text, o.retries, o.yes, o.havePassword, o.password);
  WriteSession session(link, data, prompter, Callbacks(text));
  session.SetAdjustTime(adjustTime);
  const TransferResult result = session.Run();
  if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
  return prompter.ExitCodeOf(result);
}

int CmdRadioInfo(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  RadioOptions o;
  if (const int bad = TakeRadioOptions(args, "radio-info", o)) return bad;
  if (!args.empty()) return Fail(kExitUsage, "radio-info: unexpected argument \"" + args[0] + "\"");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioLink link;
  PointLinkAt(link, o.port);
  CliPrompter prompter(text, o.retries, o.yes, o.havePassword, o.password);
  RadioInfoSession session(link, prompter);
  const TransferResult result = session.Run();
  if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
  if (result != TransferResult::kOk) return prompter.ExitCodeOf(result);
  const RadioInfoLines l = FormatRadioInfo(session.Info());
  const std::pair<int, const std::string*> rows[] = {{198, &l.modelType}, {199, &l.frequency},
                                                     {236, &l.serialNumber}, {238, &l.version},
                                                     {237, &l.checksum}, {1244, &l.passport}};
  for (const auto& [entry, value] : rows) std::cout << text.Text(entry) << ":" << *value << "\n";
  return kExitOk;
}

}  // namespace

// The "Ports" group of the desktop program's settings file, so that COMn
// means the same device here as in the program.
static PortMap StoredPortMap() {
  PortMap ports;
  std::string folder;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) folder = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) folder = std::string(home) + "/.config";
  if (folder.empty()) return ports;
  std::ifstream in(folder + "/MARDEKO/vb420.conf");
  std::string line;
  bool inPorts = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inPorts = line == "[Ports]";
      continue;
    }
    const auto eq = line.find('=');
    if (!inPorts || eq == std::string::npos) continue;
    std::string value = line.substr(eq + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    ports[line.substr(0, eq)] = value;
  }
  return ports;
}

// COMn through the port mapping, or a device path as it is.
void PointLinkAt(RadioLink& link, const std::string& port) {
  const int n = PortNumberOfName(port);
  if (n >= 1 && n <= kMaxPortNumber && port.find('/') == std::string::npos) {
    link.SetPortMap(StoredPortMap());
    link.SetPortNumber(n);
  } else {
    link.SetDevicePath(port);
  }
}

VB420_CLI_VERB("read", "read --port P -o FILE.dat [--password DIGITS] [--retries N]   read a radio into a file",
               CmdRead,
               "Read a radio's programming into a data file.\n"
               "  --port P           COMn or a device path such as /dev/ttyUSB0\n"
               "  -o FILE.dat        the file to write\n"
               "  --password DIGITS  the radio's read password, when it has one\n"
               "  --retries N        answer Retry N times before giving up (default 2)\n"
               "A copy of every successful read is kept in ~/.local/share/vb420/backups.");
VB420_CLI_VERB("write",
               "write FILE.dat --port P [--password DIGITS] [--no-adjust-time] [--yes] [--retries N]   "
               "write a file into a radio",
               CmdWrite,
               "Write a data file into a radio.\n"
               "  --port P           COMn or a device path such as /dev/ttyUSB0\n"
               "  --password DIGITS  the radio's overwrite password, when it has one\n"
               "  --no-adjust-time   leave the radio's clock as it is\n"
               "  --yes              answer Yes to the questions asked before writing (another\n"
               "                     model, a password warning, frequencies outside the band);\n"
               "                     without it such a question stops the write (exit 3)\n"
               "  --retries N        answer Retry N times before giving up (default 2)\n"
               "A file that fails the checks before writing is not sent (exit 1).");
VB420_CLI_VERB("radio-info", "radio-info --port P [--retries N]   show the identity of a connected radio",
               CmdRadioInfo,
               "Show the identity of a connected radio: model and type, frequency range, serial\n"
               "number, version, checksum and PassPort data, one \"name:value\" a line.\n"
               "  --port P      COMn or a device path such as /dev/ttyUSB0\n"
               "  --retries N   answer Retry N times before giving up (default 2)");

}  // namespace vb420::cli
