// SPDX-License-Identifier: GPL-3.0-or-later
// Radio verbs: read, write, radio-info. The questions the desktop program
// would ask are answered from the command line: Retry up to --retries times,
// the confirmations only with --yes, the passwords with --password.
#include <signal.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "Cli.h"
#include "Fleet.h"
#include "RadioCli.h"
#include "data/DataFile.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "lang/Platform.h"
#include "lang/TextTable.h"
#include "link/Backups.h"
#include "link/RadioInfoSession.h"
#include "link/StopRequest.h"
#include "link/ReadSession.h"
#include "link/WriteSession.h"
#include "link/WriteValidation.h"

namespace vb420::cli {

namespace {

int CmdRead(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  RadioOptions o;
  if (const int bad = TakeRadioOptions(args, "read", o)) return bad;
  std::string out;
  if (!TakeOption(args, "-o", out) && !TakeOption(args, "--output", out))
    return Fail(kExitUsage, "read: -o FILE.dat is required");
  FleetOptions fleet;
  const bool haveLog = TakeOption(args, "--log", fleet.logPath);
  if (!args.empty()) return Fail(kExitUsage, "read: unexpected argument \"" + args[0] + "\"");
  // Several radios at once: one file each into the folder -o names.
  if (o.ports.size() > 1) return FleetRead(out, o, fleet);
  if (haveLog) return Fail(kExitUsage, "read: --log goes with several radios (one --port each)");

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
  const bool verify = !TakeFlag(args, "--no-verify");
  const bool readFirst = TakeFlag(args, "--read-first");
  FleetOptions fleet;
  const bool haveIdentities = TakeOption(args, "--identities", fleet.identitiesPath);
  const bool haveLog = TakeOption(args, "--log", fleet.logPath);
  if (args.size() != 1) return Fail(kExitUsage, "write: one FILE.dat is required");
  if (o.ports.size() > 1 || haveIdentities || haveLog) {
    fleet.adjustTime = adjustTime;
    fleet.verify = verify;
    fleet.readFirst = readFirst;
    return FleetWrite(args[0], o, fleet);
  }

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;

  if (const int refused = CheckBeforeWrite(data, text, o.yes)) return refused;
  const WriteWarnings w = DueWriteWarnings(data, false, false);
  if (w.first) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning1) << "\n";
  if (w.second) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning2) << "\n";

  RadioLink link;
  PointLinkAt(link, o.port);
  CliPrompter prompter(text, o.retries, o.yes, o.havePassword, o.password);
  WriteSession session(link, data, prompter, Callbacks(text));
  session.SetAdjustTime(adjustTime);
  session.SetVerify(verify);
  session.SetReadFirst(readFirst);
  session.SetBackupFolder(DefaultBackupFolder());
  const TransferResult result = session.Run();
  if (const int entry = MessageAfter(result)) prompter.ShowError(entry);
  if (result == TransferResult::kOk && session.Verified() == VerifyOutcome::kVerified)
    std::cerr << "vb420cli: " << text.Text(msg::kWrittenAndVerified) << "\n";
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

int CmdCheck(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  if (TakeFlag(args, "--groups")) {
    if (!args.empty()) return Fail(kExitUsage, "check: --groups takes no file");
    for (const std::string& g : RegisteredWriteCheckGroups()) std::cout << g << "\n";
    return kExitOk;
  }
  const bool yes = TakeFlag(args, "--yes");
  if (args.size() != 1) return Fail(kExitUsage, "check: one FILE.dat is required");
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;
  WriteValidationResult v;
  const WriteFindings findings = ReportWriteFindings(data, text, &v);
  // Then the settings each finding is about, where its check names them.
  for (const auto* list : {&v.problems, &v.mergeProblems, &v.settingWarnings, &v.warnings})
    for (const WriteProblem& p : *list) {
      const std::vector<std::string> keys = forms::KeysAtImageOffsets(data, text, p.at);
      if (keys.empty()) continue;
      std::string names;
      for (const std::string& k : keys) names += (names.empty() ? "" : ", ") + k;
      std::cerr << "vb420cli: " << (p.entry ? "\"" + text.Text(p.entry) + "\"" : p.line) << ": " << names << "\n";
    }
  if (findings == WriteFindings::Refused) return kExitFailure;
  // The notes a mobile's write prints without stopping are warnings too.
  const WriteWarnings w = DueWriteWarnings(data, false, false);
  if (w.first) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning1) << "\n";
  if (w.second) std::cerr << "vb420cli: " << text.Text(msg::kWriteWarning2) << "\n";
  return (findings == WriteFindings::Warnings || w.Any()) && !yes ? kExitSkipped : kExitOk;
}

}  // namespace

WriteFindings ReportWriteFindings(RadioData& data, TextTable& text, WriteValidationResult* result) {
  const WriteValidationResult v = ValidateForWrite(data, text);
  if (result) *result = v;
  if (!v.problems.empty()) {
    Fail(kExitFailure, ValidationMessage(text, msg::kValidationHeading, v.problems));
    return WriteFindings::Refused;
  }
  if (!v.mergeProblems.empty()) {
    Fail(kExitFailure, ValidationMessage(text, msg::kMergeValidationHeading, v.mergeProblems));
    return WriteFindings::Refused;
  }
  if (!v.HasWarnings()) return WriteFindings::None;
  std::cerr << "vb420cli: " << WarningsMessage(text, v, SIZE_MAX) << "\n";
  return WriteFindings::Warnings;
}

int CheckBeforeWrite(RadioData& data, TextTable& text, bool yes) {
  switch (ReportWriteFindings(data, text)) {
    case WriteFindings::Refused: return kExitFailure;
    case WriteFindings::Warnings:
      if (!yes) return Fail(kExitCancelled, "stopped (answer with --yes to go on)");
      break;
    case WriteFindings::None: break;
  }
  return kExitOk;
}

// The "Ports" group of the desktop program's settings file, so that COMn
// means the same device here as in the program.
static PortMap StoredPortMap() {
  PortMap ports;
  const std::string file = UserSettingsFile();
  if (file.empty()) return ports;
  std::ifstream in(PathOfUtf8(file), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return PortMapOfSettingsText(text);
}

namespace {

#ifdef _WIN32
// Ctrl+C, Ctrl+Break and closing the console window come to a thread of their
// own; they stand for SIGINT and SIGTERM, so the exit codes are the same.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  const int sig = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
  if (StopRequested()) ExitProcess(static_cast<UINT>(128 + sig));
  RequestStop(sig);
  // The conversation ends on its own; for a closing window Windows waits a
  // few seconds for it before it ends the program.
  return TRUE;
}

}  // namespace

void StopSafelyOnSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
#else
void OnStopSignal(int sig) {
  // The first signal asks the conversation to leave the radio safe (unkey,
  // end test or program mode, close the port); a second one does not wait.
  if (StopRequested()) _exit(128 + sig);
  RequestStop(sig);
}

}  // namespace

void StopSafelyOnSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  // No SA_RESTART: a wait on the line returns at once and the conversation
  // looks at the request.
  sa.sa_flags = 0;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

#endif

int StopExitCode(int code) { return StopRequested() ? 128 + StopSignalNumber() : code; }

// COMn through the port mapping, or a device path as it is. From here on the
// verb talks to a radio: a signal stops it safely.
void PointLinkAt(RadioLink& link, const std::string& port) {
  StopSafelyOnSignals();
  const int n = PortNumberOfName(port);
  if (n >= 1 && n <= kMaxPortNumber && port.find('/') == std::string::npos) {
    link.SetPortMap(StoredPortMap());
    link.SetPortNumber(n);
  } else {
    link.SetDevicePath(port);
  }
}

void RegisterRadioVerbs() {
  RegisterVerb({"read", "read --port P [--port P2 ...] -o FILE.dat|FOLDER [--password DIGITS] [--retries N] [--log FLEET.csv]   read radios into files",
                CmdRead,
                "Read a radio's programming into a data file.\n"
                "  --port P           COMn or a device path such as " VB420_DEVICE_EXAMPLE "\n"
                "  -o FILE.dat        the file to write\n"
                "Several --port options read several radios at the same time, one\n"
                "conversation each: -o then names a folder, which gets one SERIAL.dat per\n"
                "radio; one result line per radio is printed (time,verb,port,model,serial,\n"
                "applied,file,result,verify) and, with --log FLEET.csv, appended there.\n"
                "  --password DIGITS  the radio's read password, when it has one\n"
                "  --retries N        answer Retry N times before giving up (default 2)\n"
                "A copy of every successful read is kept in " VB420_BACKUPS_TEXT "."});
  RegisterVerb({"write",
                "write FILE.dat --port P [--port P2 ...] [--password DIGITS] [--no-adjust-time] [--no-verify] "
                "[--read-first] [--identities RADIOS.csv] [--log FLEET.csv] [--yes] [--retries N]   "
                "write a file into radios",
                CmdWrite,
                "Write a data file into a radio.\n"
                "  --port P           COMn or a device path such as " VB420_DEVICE_EXAMPLE "\n"
                "  --password DIGITS  the radio's overwrite password, when it has one\n"
                "  --no-adjust-time   leave the radio's clock as it is\n"
                "  --no-verify        do not read the radio back after writing (by default every\n"
                "                     byte sent is read back and compared; a difference names\n"
                "                     its addresses and the write fails with exit 7)\n"
                "  --read-first       read the radio's own programming first and keep it in the\n"
                "                     backups folder (doubles the time); nothing is written when\n"
                "                     it cannot be kept\n"
                "  --yes              answer Yes to the questions asked before writing (another\n"
                "                     model, a password warning, frequencies outside the band,\n"
                "                     settings the radio accepts but that may not work as meant);\n"
                "                     without it such a question stops the write (exit 3)\n"
                "  --retries N        answer Retry N times before giving up (default 2)\n"
                "A file that fails the checks before writing is not sent (exit 1). What is written\n"
                "is kept in " VB420_BACKUPS_TEXT " under the radio's serial number.\n"
                "Fleet: several --port options write the same file into several radios at the\n"
                "same time, one conversation each. --identities RADIOS.csv gives each radio its\n"
                "own settings: a header line of settings keys (see \"settings\"), then one row\n"
                "per radio, row i for the i-th --port, or, with a column \"serial\", the row of\n"
                "the radio's serial number. One result line per radio is printed\n"
                "(time,verb,port,model,serial,applied,file,result,verify) and, with --log\n"
                "FLEET.csv, appended there (a header line first in a new file). Exit 0 only\n"
                "when every radio was written (and verified); 7 when the only failures were\n"
                "radios that read back other bytes; 1 otherwise."});
  RegisterVerb({"check", "check FILE.dat [--yes] | check --groups   run the checks made before a write",
                CmdCheck,
                "Run on a data file the checks a write makes before anything is sent, without a\n"
                "radio: the same checks, in the same words, as write. A problem that refuses the\n"
                "write is listed (exit 1); doubtful settings the write would ask about, and the\n"
                "notes a mobile's write prints, are listed (exit 8: the write would only warn).\n"
                "A finding whose check knows the setting it is about is then repeated with the\n"
                "settings keys (see settings) of that setting.\n"
                "Exit 0 when the file would be written without a question.\n"
                "  --yes      the questions are answered Yes, as write --yes does: a file that\n"
                "             only warns exits 0\n"
                "  --groups   list the groups of checks this program runs, one a line"});
  RegisterVerb({"radio-info", "radio-info --port P [--retries N]   show the identity of a connected radio",
                CmdRadioInfo,
                "Show the identity of a connected radio: model and type, frequency range, serial\n"
                "number, version, checksum and PassPort data, one \"name:value\" a line.\n"
                "  --port P      COMn or a device path such as " VB420_DEVICE_EXAMPLE "\n"
                "  --retries N   answer Retry N times before giving up (default 2)"});
}

}  // namespace vb420::cli
