// SPDX-License-Identifier: GPL-3.0-or-later
// A help page of any content, as the help window takes it: the page's title
// for the contents button, then the page opened in the help window (drawn
// off-screen), once as the contents and once as the page of a context.
//
// What must hold: no crash; a title is text without markup; the window opens
// on the page asked for.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextBrowser>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "lang/ui/HelpSystem.h"

// Qt's and the font library's caches live as long as the program; the
// corpus test leaves the font library's out of the leak report
// (system-leaks.supp) and keeps the leak check on for the rest.

using namespace vb420;

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "fuzz_helppages";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A resource folder with the English help book: the page written as the
// contents and as the page of context 0x20000.
const QString& Folder() {
  static const QString folder = [] {
    const QString f = QStringLiteral("/tmp/vb420-fuzz-help-%1").arg(getpid());
    QDir(f).removeRecursively();
    QDir().mkpath(f + "/help/en");
    return f;
  }();
  return folder;
}

void Write(const QString& path, const uint8_t* bytes, size_t size) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  f.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  App();
  const QString book = Folder() + "/help/en/";
  Write(book + "index.html", bytes, size);
  Write(book + "20000.html", bytes, size);
  const QString title = HelpSystem::PageTitle(book + "index.html");
  VB420_FUZZ_CHECK(!title.contains('<'));

  HelpSystem help({Folder()});
  help.SetHelpFile("vb420En.chm");
  VB420_FUZZ_CHECK(help.PageFor(0x20000) == QDir::cleanPath(book + "20000.html"));
  VB420_FUZZ_CHECK(help.Show(nullptr, 0x20000));
  VB420_FUZZ_CHECK(help.Browser() != nullptr);
  VB420_FUZZ_CHECK(help.Browser()->source().toLocalFile() == QDir::cleanPath(book + "20000.html"));
  QApplication::processEvents();
  help.CloseAll();
  return 0;
}
