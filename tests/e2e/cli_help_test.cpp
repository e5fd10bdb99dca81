// vb420cli --help lists every verb, and every verb describes itself with
// VERB --help (or help VERB) without doing anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/CliRun.h"

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
  EXPECT_NE(r.out.find("Exit codes: 0 success"), std::string::npos);
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

}  // namespace
}  // namespace vb420::test
