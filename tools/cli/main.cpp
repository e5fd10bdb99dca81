// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli: the command-line tool over the same core as the desktop program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "lang/Platform.h"
#endif

#include <cstring>
#include <filesystem>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "editors/registry/Registration.h"
#include "editors/zones/ZoneFixups.h"
#include "lang/ResourcePaths.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {
std::map<std::string, CliVerb>& Registry() {
  static std::map<std::string, CliVerb> verbs;
  return verbs;
}

}  // namespace

std::string Wrap(const std::string& text, const std::string& first, size_t indent, size_t width) {
  std::string out = first, line = first;
  std::istringstream words(text);
  bool lineHasWord = false;
  for (std::string word; words >> word;) {
    if (lineHasWord && line.size() + 1 + word.size() > width) {
      out += "\n";
      line = std::string(indent, ' ');
      out += line;
      lineHasWord = false;
    }
    const std::string piece = (lineHasWord ? " " : "") + word;
    out += piece;
    line += piece;
    lineHasWord = true;
  }
  return out + "\n";
}

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: vb420cli VERB [ARGS]\n"
         "       vb420cli VERB --help     what a verb does, its arguments and options\n"
         "       vb420cli --version       the version of the program\n\nverbs:\n";
  size_t width = 0;
  for (const auto& [name, verb] : Registry()) width = std::max(width, name.size());
  for (const auto& [name, verb] : Registry()) {
    const std::string summary = VerbSummary(verb);
    out << Wrap(summary.empty() ? verb.usage : summary, "  " + name + std::string(width - name.size() + 3, ' '),
                width + 5);
  }
  out << "\nMessages go to stderr.\n\nexit codes:\n";
  for (const ExitCodeInfo& e : kExitCodes) {
    const std::string code = std::to_string(e.code);
    out << Wrap(e.meaning, "  " + std::string(3 - code.size(), ' ') + code + "  ", 7);
  }
  out << Wrap("signal N stopped a conversation with a radio (Ctrl+C, SIGTERM, SIGHUP): the radio is "
              "unkeyed, program or test mode ended and the port closed first; a second signal ends the tool at once.",
              "  128+N  ", 7);
  out << "\nenvironment:\n"
      << Wrap("VB420_LANGUAGE (English or Spanish) chooses the language of the messages and of the texts "
              "settings shows and takes.",
              "  ", 2)
      << Wrap("VB420_COM<n> points port COMn at a device.", "  ", 2);
}

void PrintVerbHelp(std::ostream& out, const CliVerb& verb) {
  out << "usage: vb420cli " << verb.usage << "\n";
  if (verb.help && *verb.help) out << "\n" << verb.help << (std::string(verb.help).back() == '\n' ? "" : "\n");
  if (verb.moreHelp) out << verb.moreHelp();
}

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}
}  // namespace

void RegisterVerb(const CliVerb& verb) { Registry()[verb.name] = verb; }

std::string VerbSummary(const CliVerb& verb) {
  // The first sentence of the help, over as many lines as it takes: up to a
  // full stop that ends a line or is followed by a blank, or a colon that
  // ends a line (a list follows).
  const std::string help = verb.help ? verb.help : "";
  size_t end = 0;
  while ((end = help.find_first_of(".:", end)) != std::string::npos) {
    const bool last = end + 1 == help.size() || help[end + 1] == '\n';
    if (last || (help[end] == '.' && help[end + 1] == ' ')) break;
    ++end;
  }
  std::string first = help.substr(0, end == std::string::npos ? help.find('\n') : end + 1);
  std::replace(first.begin(), first.end(), '\n', ' ');
  return first;
}

void RegisterCliAll() {
  RegisterCore();
  RegisterCodecVerbs();
  RegisterDiffVerbs();
  RegisterFileVerbs();
  RegisterMessageVerbs();
  RegisterPlanVerbs();
  RegisterRadioVerbs();
#ifdef VB420_CLI_REPORT
  RegisterReportVerbs();
#endif
  RegisterSettingsVerbs();
  RegisterTestModeVerbs();
  RegisterToneVerbs();
  RegisterZoneVerbs();
}

std::vector<CliVerb> RegisteredVerbs() {
  std::vector<CliVerb> out;
  for (const auto& [name, verb] : Registry()) out.push_back(verb);
  return out;
}

bool TakeOption(std::vector<std::string>& args, const std::string& opt, std::string& value) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == opt && i + 1 < args.size()) {
      value = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
      return true;
    }
    if (args[i].rfind(opt + "=", 0) == 0) {
      value = args[i].substr(opt.size() + 1);
      args.erase(args.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& opt) {
  const auto it = std::find(args.begin(), args.end(), opt);
  if (it == args.end()) return false;
  args.erase(it);
  return true;
}

int Fail(int code, const std::string& message) {
  std::cerr << "vb420cli: " << message << std::endl;
  return code;
}

bool ParseNumber(const std::string& s, long& out) {
  // (decimal or 0x hexadecimal, nothing else on the line)
  if (s.empty()) return false;
  char* end = nullptr;
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  out = std::strtol(hex ? s.c_str() + 2 : s.c_str(), &end, hex ? 16 : 10);
  return end && *end == '\0' && end != (hex ? s.c_str() + 2 : s.c_str());
}

bool LoadCliTexts(TextTable& text, const char* language) {
  const std::string path = TextTable::FindFile(ResourceDirs(RunningProgramFolder()));
  if (path.empty()) {
    std::cerr << "vb420cli: " << TextTable::kMsgNotFound << std::endl;
    return false;
  }
  const char* lang = language ? language : std::getenv("VB420_LANGUAGE");
  if (text.LoadFile(path, lang && *lang ? lang : "English") != TextTable::LoadResult::Ok) {
    std::cerr << "vb420cli: " << TextTable::kMsgDamaged << std::endl;
    return false;
  }
  return true;
}

namespace {
// The texts of the data-file messages, loaded the first time one is needed.
TextTable& FileMessageTexts() {
  static TextTable text;
  static const bool loaded = LoadCliTexts(text);
  (void)loaded;
  return text;
}
}  // namespace

std::string FileResultText(const FileStatus& st, FileAction action) {
  TextTable& text = FileMessageTexts();
  // Without the language file (its loader has said so) the number at least.
  if (!text.Complete()) return st.path + ": data file error " + std::to_string(static_cast<int>(st.result));
  return DataFileMessage(st, action, text);
}

int ExitCodeOf(const FileStatus& st) { return st.result == kFileRefused ? kExitRefusedModel : kExitFailure; }

bool LoadDatForCli(const std::string& path, RadioData& data, int& exitCode) {
  const FileStatus st = LoadDatFile(path, data);
  if (!st.ok()) {
    exitCode = Fail(ExitCodeOf(st), FileResultText(st, FileAction::Load));
    return false;
  }
  data.buffers.AcceptScratch();
  // The same adjustments as the program's Open, so that a verb works on the
  // programming the program would show and write.
  AdjustOpenedFile(data);
  data.buffers.TakeSnapshot();
  return true;
}

bool SaveDatForCli(const std::string& path, RadioData& data, int* exitCode) {
  const FileStatus st = SaveDatFile(path, data);
  if (!st.ok()) {
    const int code = Fail(ExitCodeOf(st), FileResultText(st, FileAction::Save));
    if (exitCode) *exitCode = code;
    return false;
  }
  return true;
}

}  // namespace vb420::cli

namespace {

int RunCli(std::vector<std::string> args) {
  using namespace vb420::cli;
  RegisterCliAll();
  if (args.empty()) {
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  // "help VERB" is "VERB --help"; "help" alone and "--help" list the verbs.
  const bool helpVerb = args[0] == "help";
  if (args[0] == "--help" || args[0] == "-h" || (helpVerb && args.size() == 1)) {
    PrintUsage(std::cout);
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "vb420cli " VB420_VERSION "\n";
    return kExitOk;
  }
  const std::string name = helpVerb ? args[1] : args[0];
  const auto it = Registry().find(name);
  if (it == Registry().end()) {
    std::cerr << "vb420cli: unknown verb \"" << name << "\"\n";
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  args.erase(args.begin());
  // Asking for help never runs the verb: nothing is read, written or sent.
  if (helpVerb || AsksForHelp(args)) {
    PrintVerbHelp(std::cout, it->second);
    return kExitOk;
  }
  // A verb stopped by a signal ends as the signal would have ended it.
  return StopExitCode(it->second.run(args));
}

}  // namespace

#ifdef _WIN32
// The arguments in UTF-16 (a file name keeps every letter, whatever the
// ANSI code page), and UTF-8 on the console, as the program prints it.
int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  // Lines end in LF as on every other system: text piped into a file or
  // another program is the same bytes everywhere.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vb420::Utf8OfWide(argv[i]));
  return RunCli(std::move(args));
}
#else
int main(int argc, char** argv) { return RunCli(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
