// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli --help lists every verb, and every verb describes itself with
// VERB --help (or help VERB) without doing anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/CliRun.h"
#include "support/Files.h"
#include "support/Paths.h"

namespace vb420::test {
namespace {

// The verb names of the "verbs:" block of the overview.
std::vector<std::string> ListedVerbs(const std::string& overview) {
  std::vector<std::string> verbs;
  std::istringstream in(overview);
  std::string line;
  bool inList = false;
  while (std::getline(in, line)) {
    if (line == "verbs:") {
      inList = true;
      continue;
    }
    if (!inList) continue;
    if (line.empty()) break;
    // A summary's further lines are indented deeper.
    if (line.rfind("   ", 0) == 0) continue;
    std::istringstream words(line);
    std::string name;
    words >> name;
    verbs.push_back(name);
  }
  return verbs;
}

TEST(CliHelp, OverviewListsEveryVerbWithWhatItDoes) {
  const CliRun r = RunCli("--help");
  ASSERT_EQ(r.exitCode, 0);
  const std::vector<std::string> verbs = ListedVerbs(r.out);
  for (const char* v : {"new", "info", "dump", "codec", "zones", "zone", "channel", "read", "write", "radio-info", "test-mode",
                        "write-message", "settings"})
    EXPECT_NE(std::find(verbs.begin(), verbs.end(), v), verbs.end()) << v;
  // Each verb's line carries the first line of its help.
  const size_t at = r.out.find("Create a data file with the default programming");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_EQ(r.out.substr(r.out.rfind('\n', at) + 1, 6), "  new ");
  EXPECT_NE(r.out.find("exit codes:\n    0  success"), std::string::npos);
  // "help" alone is the same overview; no arguments at all is a usage error.
  EXPECT_EQ(RunCli("help").out, r.out);
  const CliRun none = RunCli("");
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("verbs:"), std::string::npos);
}

TEST(CliHelp, EveryVerbDescribesItself) {
  for (const std::string& verb : ListedVerbs(RunCli("--help").out)) {
    const CliRun r = RunCli(verb + " --help");
    EXPECT_EQ(r.exitCode, 0) << verb;
    EXPECT_EQ(r.out.rfind("usage: vb420cli " + verb, 0), 0u) << verb << ": " << r.out;
    // More than the usage line: a description follows after a blank line.
    const size_t blank = r.out.find("\n\n");
    ASSERT_NE(blank, std::string::npos) << verb << " has no description";
    EXPECT_GT(r.out.size() - blank, 40u) << verb;
    EXPECT_EQ(RunCli("help " + verb).out, r.out) << verb;
    EXPECT_EQ(RunCli(verb + " -h").out, r.out) << verb;
  }
}

TEST(CliHelp, AskingForHelpRunsNothing) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vb420-help-" + std::to_string(::getpid()) + ".dat");
  std::filesystem::remove(file);
  const CliRun r = RunCli("new -o " + file.string() + " --help");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  // A verb's help does not touch the port either: it answers at once.
  const CliRun w = RunCli("write /nonexistent.dat --port /dev/nonexistent --help");
  EXPECT_EQ(w.exitCode, 0);
  EXPECT_NE(w.out.find("--yes"), std::string::npos);
  EXPECT_TRUE(w.err.empty()) << w.err;
  // An unknown verb is still an error, also when help is asked for it.
  EXPECT_EQ(RunCli("frobnicate --help").exitCode, 2);
  EXPECT_EQ(RunCli("help frobnicate").exitCode, 2);
}


// The version of project() in the top CMakeLists.txt, the one place it is set.
std::string ProjectVersion() {
  const std::string cmake = testsupport::FileText(testsupport::SourceDir() + "/CMakeLists.txt");
  std::smatch m;
  EXPECT_TRUE(std::regex_search(cmake, m, std::regex(R"(project\(VB420 VERSION ([0-9.]+))")));
  return m.size() > 1 ? m[1].str() : "?";
}

TEST(CliHelp, EveryProgramPrintsTheProjectVersion) {
  const std::string version = ProjectVersion();
  const CliRun cli = RunCli("--version");
  EXPECT_EQ(cli.exitCode, 0);
  EXPECT_EQ(cli.out, "vb420cli " + version + "\n");
#ifndef _WIN32
  // The simulated radio is a Linux program only.
  const CliRun sim = RunProgram("tools/sim/vb420sim", "--version");
  EXPECT_EQ(sim.exitCode, 0);
  EXPECT_EQ(sim.out, "vb420sim " + version + "\n");
  EXPECT_NE(RunProgram("tools/sim/vb420sim", "--help").out.find("--version"), std::string::npos);
#endif
#ifdef VB420_HAVE_GUI
  // The desktop program prints and ends, without a display (no platform set):
  // the four switches stay what they were.
  const CliRun gui = RunProgram("src/app/vb420", "--version", "QT_QPA_PLATFORM=none-such ");
  EXPECT_EQ(gui.exitCode, 0) << gui.err;
  EXPECT_EQ(gui.out, "vb420 " + version + "\n");
  const CliRun help = RunProgram("src/app/vb420", "voting --help", "QT_QPA_PLATFORM=none-such ");
  EXPECT_EQ(help.exitCode, 0) << help.err;
  for (const char* sw : {"voting", "step", "aqua", "memmap", "--version"})
    EXPECT_NE(help.out.find(std::string("  ") + sw + " "), std::string::npos) << sw << "\n" << help.out;
#endif
}

// "  N  meaning" lines of the overview's exit-code list.
std::set<int> ListedExitCodes(const std::string& overview) {
  std::set<int> codes;
  const size_t from = overview.find("\nexit codes:\n");
  EXPECT_NE(from, std::string::npos) << overview;
  std::istringstream in(overview.substr(from + 13));
  for (std::string line; std::getline(in, line) && !line.empty();) {
    std::smatch m;
    if (std::regex_match(line, m, std::regex(R"(\s+([0-9]+)  \S.*)"))) codes.insert(std::stoi(m[1]));
  }
  return codes;
}

TEST(CliHelp, TheExitCodeListHoldsEveryCodeTheVerbsReturn) {
  // The codes the tool's sources return, by name, and their values.
  std::map<std::string, int> values;
  const std::string header = testsupport::FileText(testsupport::SourceDir() + "/tools/cli/Cli.h");
  const std::string enumBody = header.substr(header.find("enum ExitCode {"), header.find("};", header.find("enum ExitCode {")) - header.find("enum ExitCode {"));
  const std::regex entry(R"((kExit\w+) = ([0-9]+))");
  for (std::sregex_iterator it(enumBody.begin(), enumBody.end(), entry), end; it != end; ++it)
    values[(*it)[1]] = std::stoi((*it)[2]);
  ASSERT_GE(values.size(), 13u);
  std::set<int> used;
  for (const auto& f : std::filesystem::directory_iterator(testsupport::SourceDir() + "/tools/cli")) {
    const std::string src = testsupport::FileText(f.path().string());
    // Only the one list defines exit codes.
    if (f.path().filename() != "Cli.h")
      EXPECT_FALSE(std::regex_search(src, std::regex(R"(constexpr int kExit\w+ = )"))) << f.path();
    const std::regex name(R"(\bkExit[A-Z]\w*)");
    for (std::sregex_iterator it(src.begin(), src.end(), name), end; it != end; ++it) {
      if (it->str() == "kExitCodes") continue;
      ASSERT_TRUE(values.count(it->str())) << it->str() << " in " << f.path();
      used.insert(values[it->str()]);
    }
  }
  std::set<int> all;
  for (const auto& [n, v] : values) all.insert(v);
  EXPECT_TRUE(std::includes(all.begin(), all.end(), used.begin(), used.end()));
  // --help lists exactly these codes, and so does the README's table.
  EXPECT_EQ(ListedExitCodes(RunCli("--help").out), all);
  std::set<int> readme;
  const std::string text = testsupport::FileText(testsupport::SourceDir() + "/README.md");
  const std::string table = text.substr(text.find("| code | meaning |"));
  std::istringstream in(table);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  while (std::getline(in, line) && line.rfind("| ", 0) == 0) readme.insert(std::stoi(line.substr(2)));
  EXPECT_EQ(readme, all);
}

TEST(CliHelp, SummariesAreWholeSentencesAndSettingsNamesEveryEditor) {
  const std::string overview = RunCli("--help").out;
  for (const std::string& verb : ListedVerbs(overview)) {
    // The verb's lines of the overview, joined: they end a sentence (or
    // announce a list), and the verb's own help begins with the same words.
    const size_t at = overview.find("\n  " + verb + " ");
    ASSERT_NE(at, std::string::npos) << verb;
    std::string summary;
    std::istringstream in(overview.substr(at + 1));
    std::string line;
    std::getline(in, line);
    summary = line.substr(line.find_first_not_of(' ', 2 + verb.size()));
    while (std::getline(in, line) && line.rfind("      ", 0) == 0) summary += " " + line.substr(line.find_first_not_of(' '));
    EXPECT_TRUE(summary.back() == '.' || summary.back() == ':') << verb << ": " << summary;
    const std::string help = RunCli(verb + " --help").out;
    const std::string firstWords = summary.substr(0, std::min<size_t>(summary.size(), 30));
    EXPECT_NE(help.find(firstWords.substr(0, firstWords.find(' ', 20))), std::string::npos) << verb;
  }
  // Every editor --editor takes (as a refused name lists them) is named by
  // settings --help.
  testsupport::TempDir dir("help");
  ASSERT_EQ(RunCli("new -o " + dir.File("p.dat")).exitCode, 0);
  const std::string refused = RunCli("settings " + dir.File("p.dat") + " --editor bogus").err;
  const size_t from = refused.find("(editors: ");
  ASSERT_NE(from, std::string::npos) << refused;
  std::istringstream names(refused.substr(from + 10, refused.find(')', from) - from - 10));
  const std::string help = RunCli("settings --help").out;
  int count = 0;
  for (std::string name; std::getline(names, name, ',');) {
    name.erase(0, name.find_first_not_of(' '));
    EXPECT_TRUE(std::regex_search(help, std::regex("[ (]" + name + "[,.]"))) << name;
    ++count;
  }
  EXPECT_GE(count, 40);
  EXPECT_NE(help.find("--clamp"), std::string::npos);
}

}  // namespace
}  // namespace vb420::test
