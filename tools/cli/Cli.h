// SPDX-License-Identifier: GPL-3.0-or-later
// The verb registry of vb420cli: each cmd_*.cpp has a function that adds its
// verbs, and main() calls RegisterCliAll() before it looks a verb up.
#pragma once

#include <string>
#include <vector>

#include "data/DataFile.h"

// Where the help says backups go and what a device path looks like, in the
// system's own terms (DefaultBackupFolder, link/SerialPort.h).
#ifdef _WIN32
#define VB420_BACKUPS_TEXT "%LOCALAPPDATA%\\vb420\\backups"
#define VB420_DEVICE_EXAMPLE "\\\\.\\COM12"
#else
#define VB420_BACKUPS_TEXT "~/.local/share/vb420/backups"
#define VB420_DEVICE_EXAMPLE "/dev/ttyUSB0"
#endif

namespace vb420 {
class RadioLink;
class TextTable;
class RadioData;
namespace settingstext {
struct ApplyReport;
}
}  // namespace vb420

namespace vb420::cli {

// Exit codes. Every code any verb returns is listed here, and kExitCodes
// below describes each one for --help and the manual page; a test holds the
// verbs, this list and the README to each other.
enum ExitCode {
  kExitOk = 0,
  kExitFailure = 1,     // the operation failed (message on stderr)
  kExitUsage = 2,       // the command line is wrong
  kExitCancelled = 3,   // the user (or a question without --yes) stopped it
  kExitPortError = 4,   // the serial port could not be opened or set up
  kExitCommError = 5,   // the radio did not answer or answered wrongly
  kExitRefusedModel = 6, // the radio or file is of a model that is refused
  kExitVerifyFailed = 7, // written, but the radio read back holds other bytes
  kExitSkipped = 8,      // done, but some input was skipped (import), or only warnings were found (check)
  kExitUnknownKey = 10,  // no such editor, record or field
  kExitDisabled = 11,    // the field cannot be changed on this model / in this state
  kExitBadValue = 12,    // a text that is none of the field's choices
  kExitRefused = 13,     // the change was refused (no room, the channel limit, refused lines of a listing)
  kExitClamped = 14,     // stored, but a number was brought into its range
};

struct ExitCodeInfo {
  int code;
  const char* meaning;  // one sentence, wrapped by whoever prints it
};

// What each code means, in code order.
inline constexpr ExitCodeInfo kExitCodes[] = {
    {kExitOk, "success"},
    {kExitFailure,
     "the operation failed (a file that fails the pre-write checks, three wrong passwords, a file that "
     "cannot be read or written, a channel field that was not stored)"},
    {kExitUsage, "wrong command line"},
    {kExitCancelled, "cancelled: a question needs --yes, or the radio asks for a password and none was given"},
    {kExitPortError, "the serial port cannot be opened, or another program holds it"},
    {kExitCommError, "communication error: no answer after the retries, or the radio did not leave program mode"},
    {kExitRefusedModel,
     "refused model: a radio or file of a model that is not accepted (or a platform code on read), or a settings "
     "text of another model than the file (settings --from without --model-change)"},
    {kExitVerifyFailed, "write: written, but the radio read back holds other bytes than were sent"},
    {kExitSkipped,
     "import: imported and saved, but records of the plan were skipped (the summary says how many); check: the "
     "write would go through, but only after its warnings (listed)"},
    {kExitUnknownKey, "settings: no such key (editor, zone, record or field), or no editor of that name"},
    {kExitDisabled, "settings: the field cannot be changed on this model or in this state"},
    {kExitBadValue,
     "settings, channel: a text that is none of the field's choices (a list row, a check box's Yes or No, "
     "the off text or a listed tone or code)"},
    {kExitRefused,
     "settings: the change was refused (no room for the record, the limit of 512 channels); settings --from, "
     "new --from: lines of the settings text were refused, each reported with its line number (nothing saved, or "
     "with --keep-going only the accepted lines)"},
    {kExitClamped,
     "settings, channel: stored, but changed: a number beyond its range was brought to the nearer limit "
     "(--clamp asks for that and exits 0)"},
};

using VerbFn = int (*)(const std::vector<std::string>& args);

struct CliVerb {
  const char* name;
  const char* usage;  // one line: the verb and its arguments
  VerbFn run;
  // What "vb420cli VERB --help" prints under the usage line: what the verb
  // does, its options and what it prints. Empty: the usage line alone.
  const char* help = "";
  // Help that depends on what is registered (the editors of `settings`),
  // printed after `help`; may be null.
  std::string (*moreHelp)() = nullptr;
};

void RegisterVerb(const CliVerb& verb);
// The first sentence of a verb's help: what "vb420cli --help" lists beside it.
std::string VerbSummary(const CliVerb& verb);
// Fills `text` into lines of at most `width` columns, the first after
// `first`, the others indented by `indent` spaces.
std::string Wrap(const std::string& text, const std::string& first, size_t indent, size_t width = 79);
// Every registered verb, sorted by name.
std::vector<CliVerb> RegisteredVerbs();

// Each cmd_*.cpp adds its verbs with one of these; RegisterCliAll() calls
// them all, after the core's one registration (field sets and every pre-write
// check), before any verb runs.
void RegisterCodecVerbs();
void RegisterDiffVerbs();
void RegisterFileVerbs();
void RegisterMessageVerbs();
void RegisterPlanVerbs();
void RegisterRadioVerbs();
void RegisterReportVerbs();  // only in a build with the report painter
void RegisterSettingsVerbs();
void RegisterTestModeVerbs();
void RegisterToneVerbs();
void RegisterZoneVerbs();
void RegisterCliAll();

// Small helpers for option parsing.
// Finds "--opt VALUE" in args; removes both and returns true with the value.
bool TakeOption(std::vector<std::string>& args, const std::string& opt, std::string& value);
// Finds a flag "--opt"; removes it and returns true.
bool TakeFlag(std::vector<std::string>& args, const std::string& opt);
// The message of a data-file failure, the same text the desktop program shows
// (in the language VB420_LANGUAGE names).
std::string FileResultText(const vb420::FileStatus& st, vb420::FileAction action);
// kExitRefusedModel for a refused model or version, kExitFailure otherwise.
int ExitCodeOf(const vb420::FileStatus& st);
// Prints "vb420cli: <message>" on stderr and returns `code`.
int Fail(int code, const std::string& message);
// Parses a number in decimal or 0x-prefixed hex; false when it is not one.
bool ParseNumber(const std::string& s, long& out);
// Loads the language file (English unless VB420_LANGUAGE names another
// language) from the places ResourceDirs() lists; false, with a message on
// stderr, when it is missing or damaged. A `language` named here wins (the
// settings text is always written and read in English).
bool LoadCliTexts(vb420::TextTable& text, const char* language = nullptr);
// The text of a file, or of standard input for "-"; false with a message.
bool ReadInputText(const std::string& path, std::string& out);
// Reports the refused lines of a settings text on stderr and answers the
// exit code of an application: kExitRefusedModel for another model,
// kExitRefused for refused lines, kExitOk.
int ReportListingApplied(const vb420::settingstext::ApplyReport& report, vb420::TextTable& text);
// Loads a ".dat" file into `data` and accepts it as the working image with
// the adjustments the program's Open makes (AdjustOpenedFile). On failure
// prints the reason and sets `exitCode`.
bool LoadDatForCli(const std::string& path, vb420::RadioData& data, int& exitCode);
// Points the link at COMn (through the port mapping of the desktop program's
// settings and VB420_COMn) or at a device path as it is.
void PointLinkAt(vb420::RadioLink& link, const std::string& port);
// SIGINT, SIGTERM and SIGHUP stop a radio conversation safely from then on
// (see link/StopRequest.h); a second signal ends the tool at once.
void StopSafelyOnSignals();
// 128 + the signal when a signal stopped the verb, else `code`.
int StopExitCode(int code);
// Saves `data` over `path` (atomically); prints the reason on failure and,
// when asked, sets the exit code that goes with it.
bool SaveDatForCli(const std::string& path, vb420::RadioData& data, int* exitCode = nullptr);

}  // namespace vb420::cli
