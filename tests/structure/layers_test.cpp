// SPDX-License-Identifier: GPL-3.0-or-later
// Which folder may include which. Every source file under src/ and tools/ is
// read, its #include lines resolved to the folder they name, and each one
// checked against the layers the program is built in:
//
//   app/                       the shell: main window, application, tree bar
//   lang/ui data/ui link/ui    the windows, dialogs and commands of each part
//   editors/*/ui print/
//   frame/ui/                  what every window builds on: Workspace,
//                              commands, editor views and their registry
//   lang/ui (message helper, prompter, help)
//   editors/grid editors/forms/ui   the widget library
//   core: lang < data < link, editors/forms < editors/zones < editors/<name>
//         (the zone field tables are form descriptors)
//
// Core folders and the command-line tools never include Qt, and a layer
// never includes one above it.
#include "SourceTree.h"
#include "support/Paths.h"
#include <gtest/gtest.h>

#include "support/Paths.h"
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Layer { Unknown, Lang, Data, Link, Zones, Forms, EditorCore, Tool, Widgets, LangUi, Frame, FeatureUi, App };

const char* NameOf(Layer l) {
  switch (l) {
    case Layer::Lang: return "lang (core)";
    case Layer::Data: return "data (core)";
    case Layer::Link: return "link (core)";
    case Layer::Zones: return "zones (core)";
    case Layer::Forms: return "forms (core)";
    case Layer::EditorCore: return "editor (core)";
    case Layer::Tool: return "tool";
    case Layer::Widgets: return "widgets";
    case Layer::LangUi: return "lang/ui";
    case Layer::Frame: return "frame";
    case Layer::FeatureUi: return "ui";
    case Layer::App: return "app";
    default: return "?";
  }
}

bool IsCore(Layer l) {
  return l == Layer::Lang || l == Layer::Data || l == Layer::Link || l == Layer::Zones || l == Layer::Forms ||
         l == Layer::EditorCore;
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// `rel` is relative to the source root, with '/' separators.
Layer LayerOf(const std::string& rel) {
  static const std::regex kUi("^src/(editors/)?[^/]+/ui/.*");
  if (StartsWith(rel, "tools/")) return Layer::Tool;
  if (!StartsWith(rel, "src/")) return Layer::Unknown;
  if (StartsWith(rel, "src/app/")) return Layer::App;
  if (StartsWith(rel, "src/frame/")) return Layer::Frame;
  // The report's page plan and contents are core code; its painter and
  // dialogs are windows of their own part.
  if (StartsWith(rel, "src/print/core/")) return Layer::EditorCore;
  if (StartsWith(rel, "src/print/")) return Layer::FeatureUi;
  if (StartsWith(rel, "src/editors/grid/") || StartsWith(rel, "src/editors/forms/ui/")) return Layer::Widgets;
  if (StartsWith(rel, "src/lang/ui/")) return Layer::LangUi;
  if (std::regex_match(rel, kUi)) return Layer::FeatureUi;
  if (StartsWith(rel, "src/lang/")) return Layer::Lang;
  if (StartsWith(rel, "src/data/")) return Layer::Data;
  if (StartsWith(rel, "src/link/")) return Layer::Link;
  if (StartsWith(rel, "src/editors/zones/")) return Layer::Zones;
  if (StartsWith(rel, "src/editors/forms/")) return Layer::Forms;
  if (StartsWith(rel, "src/editors/") && rel.find('/', 12) != std::string::npos) return Layer::EditorCore;
  return Layer::Unknown;
}

bool MayInclude(Layer from, Layer to) {
  using L = Layer;
  if (to == L::Unknown || from == to) return true;
  switch (from) {
    case L::Lang: return false;
    case L::Data: return to == L::Lang;
    case L::Link: return to == L::Lang || to == L::Data;
    case L::Zones: return to == L::Lang || to == L::Data || to == L::Link || to == L::Forms;
    case L::Forms: return to == L::Lang || to == L::Data;
    case L::EditorCore: return IsCore(to);
    case L::Tool: return IsCore(to);
    case L::Widgets: return to == L::Lang || to == L::Data || to == L::Forms;
    case L::LangUi: return IsCore(to) || to == L::Widgets;
    case L::Frame: return IsCore(to) || to == L::Widgets || to == L::LangUi;
    case L::FeatureUi: return IsCore(to) || to == L::Widgets || to == L::LangUi || to == L::Frame;
    case L::App: return to != L::Tool;
    default: return true;
  }
}

bool IsQtHeader(const std::string& name) {
  return name.size() > 1 && name[0] == 'Q' && (std::isupper(static_cast<unsigned char>(name[1])) || name[1] == 't');
}

struct Violation {
  std::string file;  // relative to the root
  int line = 0;
  std::string message;
};

std::string Rel(const fs::path& p, const fs::path& root) { return fs::relative(p, root).generic_string(); }

void CheckFile(const fs::path& root, const fs::path& file, std::vector<Violation>& out) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  const std::string rel = Rel(file, root);
  const Layer from = LayerOf(rel);
  if (from == Layer::Unknown) return;
  std::ifstream in(file);
  std::string text;
  int n = 0;
  while (std::getline(in, text)) {
    ++n;
    std::smatch m;
    if (!std::regex_search(text, m, kInclude)) continue;
    const std::string name = m[2];
    if (m[1] == "<") {
      if ((IsCore(from) || from == Layer::Tool) && IsQtHeader(name))
        out.push_back({rel, n, std::string(NameOf(from)) + " is Qt-free but includes <" + name + ">"});
      continue;
    }
    // A quoted name is found beside the file first, then from src/.
    fs::path target = file.parent_path() / name;
    if (!fs::exists(target)) target = root / "src" / name;
    const std::string targetRel = Rel(target.lexically_normal(), root);
    const Layer to = LayerOf(targetRel);
    // The radio link, its dialogs too, knows nothing of the editors (the
    // widget library aside): editors hook into it, never the reverse.
    const bool linkToEditor =
        StartsWith(rel, "src/link/") && StartsWith(targetRel, "src/editors/") && to != Layer::Widgets;
    // The one exception to a Qt-free tool: the report verb calls the
    // report's PDF writer through its Qt-free header (it links Qt and runs
    // on the offscreen platform).
    const bool reportPdf = rel == "tools/cli/cmd_report.cpp" && targetRel == "src/print/render/ReportPdf.h";
    if ((!MayInclude(from, to) && !reportPdf) || linkToEditor)
      out.push_back({rel, n, std::string(NameOf(from)) + " may not include \"" + name + "\" (" + NameOf(to) + ")"});
  }
}

std::vector<Violation> CheckTree(const fs::path& root) {
  std::vector<Violation> out;
  for (const auto& f : ::vb420::structure::SourceFiles(root, {"src", "tools"}, ::vb420::structure::IsCppSource)) CheckFile(root, f, out);
  return out;
}

std::string Describe(const std::vector<Violation>& vs) {
  std::string s;
  for (const auto& v : vs) s += v.file + ":" + std::to_string(v.line) + ": " + v.message + "\n";
  return s;
}

TEST(Layers, SourceTreeKeepsToItsLayers) {
  const fs::path root = ::vb420::testsupport::SourceDir();
  ASSERT_TRUE(fs::exists(root / "src/app")) << root;
  const std::vector<Violation> vs = CheckTree(root);
  EXPECT_TRUE(vs.empty()) << Describe(vs);
}

// A small tree with one planted fault per rule, beside includes that are
// allowed: exactly the faults are reported.
class PlantedTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vb420_layers_" + std::to_string(::getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& rel, const std::string& text) {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel) << text;
  }
  fs::path root_;
};

TEST_F(PlantedTree, EachFaultIsReportedWithItsLine) {
  Write("src/data/ui/Local.h", "#pragma once\n");
  Write("tools/cli/Cli.h", "#pragma once\n");
  Write("src/data/Ok.cpp", "#include \"lang/TextTable.h\"\n#include <vector>\n#include \"data/Bytes.h\"\n");
  Write("src/link/Bad.cpp",
        "#include \"data/Bytes.h\"\n"
        "#include \"editors/zones/ZoneMemory.h\"\n"  // 2: link -> zones
        "  #  include <QString>\n"                   // 3: Qt in the core
        "// #include \"app/MainFrame.h\"\n"
        "#include \"link/ui/RadioDialogs.h\"\n");    // 5: core -> ui
  Write("src/editors/forms/F.cpp", "#include \"data/RadioData.h\"\n#include \"editors/zones/ZoneMemory.h\"\n");  // 2
  Write("src/editors/grid/W.cpp",
        "#include <QWidget>\n#include \"editors/forms/FormEngine.h\"\n"
        "#include \"editors/zones/ZoneMemory.h\"\n"  // 3
        "#include \"app/MainFrame.h\"\n");           // 4
  Write("src/data/ui/D.cpp",
        "#include \"frame/ui/Workspace.h\"\n#include \"Local.h\"\n#include \"editors/grid/EditGrid.h\"\n"
        "#include \"app/Workspace.h\"\n");  // 4
  Write("src/frame/ui/E.cpp",
        "#include \"lang/ui/MessageHelper.h\"\n"
        "#include \"data/ui/FileCommands.h\"\n");  // 2: frame -> a part's ui
  Write("src/link/ui/R.cpp",
        "#include \"editors/grid/FilterEdit.h\"\n#include \"frame/ui/Workspace.h\"\n"
        "#include \"editors/zones/ui/ZoneServices.h\"\n");  // 3
  Write("src/lang/ui/L.cpp", "#include \"lang/TextTable.h\"\n#include \"frame/ui/Commands.h\"\n");  // 2
  Write("src/editors/scan/ScanFields.cpp",
        "#include \"editors/zones/ZoneMemory.h\"\n#include \"editors/scan/ui/ScanView.h\"\n");  // 2
  Write("tools/cli/C.cpp",
        "#include \"Cli.h\"\n#include \"link/RadioLink.h\"\n#include <QCoreApplication>\n"  // 3
        "#include \"frame/ui/Workspace.h\"\n");                                                 // 4
  Write("src/app/A.cpp", "#include \"data/ui/MemoryViewer.h\"\n#include \"frame/ui/EditorView.h\"\n#include <QMenu>\n");

  std::vector<std::string> got;
  for (const auto& v : CheckTree(root_)) got.push_back(v.file + ":" + std::to_string(v.line));
  const std::vector<std::string> want = {
      "src/data/ui/D.cpp:4",      "src/editors/forms/F.cpp:2", "src/editors/grid/W.cpp:3",
      "src/editors/grid/W.cpp:4", "src/editors/scan/ScanFields.cpp:2", "src/frame/ui/E.cpp:2",
      "src/lang/ui/L.cpp:2",      "src/link/Bad.cpp:2",        "src/link/Bad.cpp:3",
      "src/link/Bad.cpp:5",       "src/link/ui/R.cpp:3",       "tools/cli/C.cpp:3",
      "tools/cli/C.cpp:4",
  };
  EXPECT_EQ(got, want) << Describe(CheckTree(root_));
}

// The Qt tests run QtTest's watchdog thread, which reads the environment
// under Qt's lock as every test function starts; the C library's setenv,
// unsetenv and putenv change it without that lock and once crashed a GUI test
// (SIGSEGV in getenv on the watchdog thread). Qt tests use qputenv/qunsetenv.
TEST(ThreadSafety, QtTestsChangeTheEnvironmentOnlyThroughQt) {
  static const std::regex kRawEnv(R"((^|[^A-Za-z0-9_])(setenv|unsetenv|putenv)\s*\()");
  const fs::path root = ::vb420::testsupport::SourceDir();
  std::vector<Violation> found;
  for (const auto& f : ::vb420::structure::SourceFiles(root, {"tests/ui", "tests/widgets"}, [](const fs::path&) { return true; })) {
    std::ifstream in(f);
    std::string text;
    for (int n = 1; std::getline(in, text); ++n)
      if (std::regex_search(text, kRawEnv)) found.push_back({Rel(f, root), n, "changes the environment without Qt's lock"});
  }
  EXPECT_TRUE(found.empty()) << Describe(found);
  EXPECT_TRUE(std::regex_search(std::string("  setenv(name, v, 1);"), kRawEnv));
  EXPECT_FALSE(std::regex_search(std::string("  qputenv(name, v);"), kRawEnv));
}

// Every file of the sources says, in its first lines, under which licence it
// is distributed (the package's copyright file names the same one).
bool IsLicensedSource(const fs::path& p) {
  const std::string name = p.filename().string(), ext = p.extension().string();
  return ext == ".cpp" || ext == ".h" || ext == ".cmake" || ext == ".sh" || name == "CMakeLists.txt";
}

TEST(Licence, EverySourceFileCarriesTheLicenceLine) {
  const fs::path root = ::vb420::testsupport::SourceDir();
  std::vector<Violation> found;
  int files = 0;
  for (const auto& f : ::vb420::structure::SourceFiles(root, {"src", "tools", "tests", "bench", "cmake"}, IsLicensedSource)) {
    if (f.string().find("/corpus/") != std::string::npos) continue;
    ++files;
    std::ifstream in(f);
    std::string text;
    bool licensed = false;
    for (int n = 0; n < 3 && std::getline(in, text); ++n)
      licensed = licensed || text.find("SPDX-License-Identifier: GPL-3.0-or-later") != std::string::npos;
    if (!licensed) found.push_back({Rel(f, root), 1, "no licence line (SPDX-License-Identifier) at the top"});
  }
  EXPECT_GT(files, 300);
  EXPECT_TRUE(found.empty()) << Describe(found);
  EXPECT_TRUE(IsLicensedSource("src/data/RadioData.h"));
  EXPECT_FALSE(IsLicensedSource("resources/vb420.lng"));
}

TEST(Layers, MessagesNameBothSides) {
  EXPECT_STREQ(NameOf(LayerOf("src/editors/zones/ui/NumberCombo.h")), "ui");
  EXPECT_STREQ(NameOf(LayerOf("src/editors/forms/ui/FormRenderer.h")), "widgets");
  EXPECT_STREQ(NameOf(LayerOf("src/editors/zones/ZoneMemory.h")), "zones (core)");
  EXPECT_EQ(LayerOf("src/CMakeLists.txt"), Layer::Unknown);
  EXPECT_EQ(LayerOf("src/editors/Loose.h"), Layer::Unknown);
  EXPECT_TRUE(IsQtHeader("QtCore/QObject"));
  EXPECT_TRUE(IsQtHeader("QMdiArea"));
  EXPECT_FALSE(IsQtHeader("queue"));
}

}  // namespace
