// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the program shows must exist in every language of the shipped
// language file: a blanked entry would otherwise show an empty menu item,
// button or message and pass every other test (they use a numbered table).
#include "support/Paths.h"
#include <QTest>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "UiTestSupport.h"
#include "frame/ui/Commands.h"
#include "lang/TextTable.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string ShippedFile() { return ReadText(std::filesystem::path(::vb420::testsupport::ResourceDir()) / "vb420.lng"); }

// The entries of `used` without a text in one of the languages of `file`,
// as "entry (language)".
QStringList EntriesWithoutText(const std::string& file, const std::set<int>& used) {
  QStringList missing;
  for (const char* language : {"English", "Spanish"}) {
    TextTable t;
    if (t.LoadText(file, language) != TextTable::LoadResult::Ok || t.CurrentLanguage() != language) {
      missing << QStringLiteral("file (%1)").arg(QLatin1String(language));
      continue;
    }
    for (int e : used)
      if (t.Text(e).empty()) missing << QStringLiteral("%1 (%2)").arg(e).arg(QLatin1String(language));
  }
  return missing;
}

// The entries the sources name in a direct lookup: T(n), Text(n), Plain(n).
std::set<int> EntriesNamedInTheSources() {
  std::set<int> found;
  const std::regex lookup(R"((?:^|[^A-Za-z0-9_])(?:T|Text|Plain)\(\s*([0-9]+)\s*[,)])");
  const std::filesystem::path root = std::filesystem::path(::vb420::testsupport::ResourceDir()).parent_path();
  for (const char* folder : {"src", "tools"}) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(root / folder)) {
      const std::string ext = e.path().extension().string();
      if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      const std::string text = ReadText(e.path());
      for (std::sregex_iterator it(text.begin(), text.end(), lookup), end; it != end; ++it) {
        const int n = std::stoi((*it)[1].str());
        if (n < TextTable::kEntryCount) found.insert(n);
      }
    }
  }
  return found;
}

// The entries the running program asks for while its menus, tree, tool bar
// and every editor window and dialog reachable without a radio are shown.
std::set<int> EntriesAskedByTheProgram() {
  std::set<int> asked;
  AppFixture f;
  if (!f.Start()) return asked;
  for (int cmd = kCmdZoneInfo; cmd <= kCmdTechSetting; ++cmd) {
    if (QAction* a = f.Frame().Action(cmd)) a->trigger();
    Settle();
  }
  for (int cmd : {int(kCmdModelInfo), int(kCmdFileSaveAs), int(kCmdCommPort), int(kCmdLanguage), int(kCmdAbout)}) {
    f.prompter.Clear();
    if (QAction* a = f.Frame().Action(cmd)) a->trigger();
    Settle();
  }
  const std::vector<bool>& flags = f.Ws().text.AskedEntries();
  for (int i = 0; i < TextTable::kEntryCount; ++i)
    if (flags[i]) asked.insert(i);
  return asked;
}

}  // namespace

class TextsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void everyTextTheProgramShowsExistsInBothLanguages();
  void everyEntryTheSourcesNameExistsInBothLanguages();
  void aBlankedMenuItemIsCaught();
};

void TextsTest::everyTextTheProgramShowsExistsInBothLanguages() {
  const std::set<int> asked = EntriesAskedByTheProgram();
  // The menus alone ask for well over a hundred entries.
  QVERIFY2(asked.size() > 150, qPrintable(QString::number(asked.size())));
  const QStringList missing = EntriesWithoutText(ShippedFile(), asked);
  QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

void TextsTest::everyEntryTheSourcesNameExistsInBothLanguages() {
  const std::set<int> named = EntriesNamedInTheSources();
  QVERIFY2(named.count(362) && named.count(281), "the scan found none of the known lookups");
  const QStringList missing = EntriesWithoutText(ShippedFile(), named);
  QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

void TextsTest::aBlankedMenuItemIsCaught() {
  // File > Open with its texts removed from a copy of the file.
  const int entry = MenuEntryOfCommand(kCmdFileOpen);
  QVERIFY(entry > 0);
  std::string file = ShippedFile();
  const std::string id = "^#" + TextTable::IdentifierOf(entry) + ",";
  const size_t at = file.find(id);
  QVERIFY(at != std::string::npos);
  file.replace(at, file.find('\n', at) - at, id + ",");
  const std::set<int> asked = EntriesAskedByTheProgram();
  QVERIFY(asked.count(entry));
  QCOMPARE(EntriesWithoutText(file, asked),
           QStringList({QStringLiteral("%1 (English)").arg(entry), QStringLiteral("%1 (Spanish)").arg(entry)}));
}

VB420_QTEST(TextsTest)
#include "texts_test.moc"
