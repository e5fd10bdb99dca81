// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs look for the language file and the help: the order of
// the folders, the XDG rules, and the source tree only for the build tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "lang/Platform.h"
#include "lang/ResourcePaths.h"
#include "lang/TextTable.h"
#include "support/Environment.h"

namespace vb420 {
namespace {

using Dirs = std::vector<std::string>;

// The XDG folders are where a Linux program's shared data lies; Windows has
// the user's data folder in their place (the last test).
#ifndef _WIN32
TEST(ResourceDirs, InstalledProgramSearchesItsOwnTreeThenTheXdgFolders) {
  const Dirs d = ResourceDirs("/opt/vb/bin", "/home/u/data", "/usr/local/share:/usr/share", "/home/u",
                              "/src/vb420/resources", "/src/vb420/build");
  EXPECT_EQ(d, (Dirs{"/opt/vb/bin", "/opt/vb/share/vb420", "/home/u/data/vb420", "/usr/local/share/vb420",
                     "/usr/share/vb420"}));
}

TEST(ResourceDirs, XdgDefaultsAndRelativeEntries) {
  // No XDG variables: ~/.local/share, then /usr/local/share and /usr/share.
  EXPECT_EQ(ResourceDirs("/p/bin", nullptr, nullptr, "/home/u", "", ""),
            (Dirs{"/p/bin", "/p/share/vb420", "/home/u/.local/share/vb420", "/usr/local/share/vb420",
                  "/usr/share/vb420"}));
  // Empty values count as unset; relative entries and empty list items are
  // skipped, since they would depend on the working folder.
  EXPECT_EQ(ResourceDirs("/p/bin", "", "relative/dir::/x/share:", "/h", "", ""),
            (Dirs{"/p/bin", "/p/share/vb420", "/h/.local/share/vb420", "/x/share/vb420"}));
  EXPECT_EQ(ResourceDirs("/p/bin", "data-rel", "/a", nullptr, "", ""),
            (Dirs{"/p/bin", "/p/share/vb420", "/a/vb420"}));
}

#endif  // !_WIN32

TEST(ResourceDirs, SourceTreeOnlyForAProgramInsideItsBuildTree) {
  const std::string src = "/src/vb420/resources";
  EXPECT_EQ(ResourceDirs("/src/vb420/build/src/app", "/x", "/y", "/h", src, "/src/vb420/build").back(), src);
  EXPECT_EQ(ResourceDirs("/src/vb420/build", "/x", "/y", "/h", src, "/src/vb420/build/").back(), src);
  // A sibling whose name merely begins like the build folder is not inside it.
  EXPECT_NE(ResourceDirs("/src/vb420/build2/tools", "/x", "/y", "/h", src, "/src/vb420/build").back(), src);
  EXPECT_NE(ResourceDirs("/usr/bin", "/x", "/y", "/h", src, "/src/vb420/build").back(), src);
  // Without a compiled-in build folder there is no fallback at all.
  EXPECT_NE(ResourceDirs("/src/vb420/build/src/app", "/x", "/y", "/h", src, "").back(), src);
}

#ifndef _WIN32
TEST(ResourceDirs, TheLanguageFileIsFoundInTheFirstFolderThatHoldsIt) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("vb420-resdirs-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "moved/bin");
  fs::create_directories(root / "moved/share/vb420");
  fs::create_directories(root / "xdg/vb420");
  std::ofstream(root / "moved/share/vb420/vb420.lng") << "installed";
  std::ofstream(root / "xdg/vb420/vb420.lng") << "xdg";
  const std::string xdg = (root / "xdg").string();
  // The installed tree beside the program comes before the XDG folders...
  EXPECT_EQ(TextTable::FindFile(ResourceDirs((root / "moved/bin").string(), xdg.c_str(), "/nonexistent", "/h", "", "")),
            (root / "moved/share/vb420/vb420.lng").string());
  // ... which are searched when the program's own tree has none.
  fs::remove(root / "moved/share/vb420/vb420.lng");
  EXPECT_EQ(TextTable::FindFile(ResourceDirs((root / "moved/bin").string(), xdg.c_str(), "/nonexistent", "/h", "", "")),
            (root / "xdg/vb420/vb420.lng").string());
  fs::remove(root / "xdg/vb420/vb420.lng");
  EXPECT_EQ(TextTable::FindFile(ResourceDirs((root / "moved/bin").string(), xdg.c_str(), "/nonexistent", "/h", "", "")),
            "");
  fs::remove_all(root);
}

#else
TEST(ResourceDirs, BesideTheProgramThenTheUsersDataFolder) {
  const testsupport::ScopedEnv local("LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local");
  const Dirs d = ResourceDirs("C:\\Program Files\\vb420", nullptr, nullptr, nullptr, "", "");
  EXPECT_EQ(d, (Dirs{"C:\\Program Files\\vb420", "C:\\Program Files\\share\\vb420",
                     "C:\\Users\\tech\\AppData\\Local\\vb420"}));
}
#endif  // !_WIN32

TEST(ResourceDirs, RunningProgramFolderIsThisTestsFolder) {
  const std::string folder = RunningProgramFolder();
  EXPECT_TRUE(std::filesystem::is_directory(PathOfUtf8(folder)));
  EXPECT_TRUE(std::filesystem::exists(PathOfUtf8(folder) / (kWindowsFolders ? "test_lang.exe" : "test_lang")));
}

}  // namespace
}  // namespace vb420
