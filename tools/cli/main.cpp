// vb420cli: the command-line tool over the same core as the desktop program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Cli.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {
std::map<std::string, CliVerb>& Registry() {
  static std::map<std::string, CliVerb> verbs;
  return verbs;
}

void PrintUsage(std::ostream& out) {
  out << "usage: vb420cli VERB [ARGS]\n\nverbs:\n";
  for (const auto& [name, verb] : Registry()) out << "  " << verb.usage << "\n";
}
}  // namespace

void RegisterVerb(const CliVerb& verb) { Registry()[verb.name] = verb; }

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

bool LoadCliTexts(TextTable& text) {
  std::string exeDir;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) exeDir = exe.parent_path().string();
  const std::string path = TextTable::FindFile({exeDir, exeDir + "/../share/vb420", VB420_RESOURCE_DIR});
  if (path.empty()) {
    std::cerr << "vb420cli: " << TextTable::kMsgNotFound << std::endl;
    return false;
  }
  const char* lang = std::getenv("VB420_LANGUAGE");
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
  data.SyncCodecs();
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

int main(int argc, char** argv) {
  using namespace vb420::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(args.empty() ? std::cerr : std::cout);
    return args.empty() ? kExitUsage : kExitOk;
  }
  const auto it = Registry().find(args[0]);
  if (it == Registry().end()) {
    std::cerr << "vb420cli: unknown verb \"" << args[0] << "\"\n";
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  args.erase(args.begin());
  return it->second.run(args);
}
