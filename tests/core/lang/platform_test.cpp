// SPDX-License-Identifier: GPL-3.0-or-later
// What the core asks of the operating system: the user's folders on each
// system, file names beyond ASCII, the local time.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "lang/Platform.h"
#include "support/Environment.h"
#include "support/Files.h"

namespace vb420 {
namespace {

using testsupport::ScopedEnv;

TEST(UserFolders, WindowsKeepsDataAndSettingsInTheLocalApplicationData) {
  const ScopedEnv local("LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local");
  EXPECT_EQ(UserDataFolder(true), "C:\\Users\\tech\\AppData\\Local\\vb420");
  EXPECT_EQ(UserSettingsFile(true), "C:\\Users\\tech\\AppData\\Local\\vb420\\vb420.ini");
  const ScopedEnv none("LOCALAPPDATA", std::nullopt);
  EXPECT_EQ(UserDataFolder(true), "");
  EXPECT_EQ(UserSettingsFile(true), "");
}

TEST(UserFolders, LinuxFollowsTheXdgFoldersThenHome) {
  const ScopedEnv home("HOME", "/home/tech");
  {
    const ScopedEnv data("XDG_DATA_HOME", "/x/data");
    const ScopedEnv config("XDG_CONFIG_HOME", "/x/config");
    EXPECT_EQ(UserDataFolder(false), "/x/data/vb420");
    EXPECT_EQ(UserSettingsFile(false), "/x/config/MARDEKO/vb420.conf");
  }
  const ScopedEnv data("XDG_DATA_HOME", std::nullopt);
  const ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(UserDataFolder(false), "/home/tech/.local/share/vb420");
  EXPECT_EQ(UserSettingsFile(false), "/home/tech/.config/MARDEKO/vb420.conf");
  const ScopedEnv noHome("HOME", std::nullopt);
  EXPECT_EQ(UserDataFolder(false), "");
}

// A name with letters outside ASCII is created, listed and read back as the
// same UTF-8 text (on Windows through the UTF-16 name, not the code page).
TEST(FileNames, Utf8NamesSurviveTheSystem) {
  testsupport::TempDir tmp("names");
  const std::string name = "\xC3\x81lvaro \xE2\x82\xAC \xE6\x97\xA5.dat";  // Álvaro € 日
  const std::string path = Utf8OfPath(PathOfUtf8(tmp.Dir().string()) / PathOfUtf8(name));
  std::ofstream(PathOfUtf8(path), std::ios::binary) << "x";
  std::vector<std::string> listed;
  for (const auto& e : std::filesystem::directory_iterator(tmp.Dir())) listed.push_back(Utf8OfPath(e.path().filename()));
  EXPECT_EQ(listed, std::vector<std::string>{name});
  std::ifstream in(PathOfUtf8(path), std::ios::binary);
  std::string text;
  in >> text;
  EXPECT_EQ(text, "x");
}

TEST(LocalTime, IsTheBrokenDownTimeMktimeInverts) {
  for (std::time_t t : {std::time_t(0), std::time_t(86400 * 365 * 30), std::time(nullptr)}) {
    std::tm tm = LocalTime(t);
    EXPECT_GE(tm.tm_year, 69);
    EXPECT_EQ(std::mktime(&tm), t);
  }
}

}  // namespace
}  // namespace vb420
