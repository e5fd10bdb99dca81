// SPDX-License-Identifier: GPL-3.0-or-later
// The help book: every context the program can ask for has its own page in
// every language, the pages hang together, the menu paths they name are the
// program's own menus in that language, and F1 reaches the right page.
#include "support/Files.h"
#include "support/Paths.h"
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"
#include "frame/ui/Commands.h"
#include "lang/HelpContexts.h"
#include "lang/TextTable.h"
#include "lang/ui/HelpSystem.h"
#include "link/ui/RadioDialogs.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

QString HelpRoot() { return QString::fromStdString(::vb420::testsupport::ResourceDir() + "/help"); }

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// The folders of the help books of every language the program knows.
QStringList BookFolders() {
  QStringList out;
  for (const LanguageInfo& l : Languages()) out << HelpSystem::FolderNameOf(l.helpFile);
  return out;
}

// Every help context the program can ask for: the menu commands', the
// editor windows', and the dialogs' own.
QList<int> AskedContexts() {
  QSet<int> set{kHelpContents};
  for (int command = 0; command < 1000; ++command)
    if (const int c = HelpContextOfCommand(command)) set.insert(c);
  for (const EditorKindInfo& k : EditorKinds())
    if (k.helpContext) set.insert(k.helpContext);
  for (int c : {kHelpModelDialog, kHelpModelList, kHelpBandList, kHelpSaveType, kHelpTreeBar, kHelpToolBar,
                kHelpStatusBar, kHelpLanguage, kHelpZoneInfo, kHelpChannelEdit, kHelpConvZoneEdit, kHelpRead,
                kHelpWrite, kHelpRadioInfo, kHelpCommPort})
    set.insert(c);
  // ... and every help-context constant a window or dialog declares for
  // itself anywhere in the sources (kHelpSomething = 0x...).
  static const QRegularExpression declared(QStringLiteral("constexpr int kHelp\\w* = (0x[0-9A-Fa-f]+);"));
  const QString src = QString::fromStdString(::vb420::testsupport::ResourceDir() + "/../src");
  QDirIterator it(src, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString text = ReadText(it.next());
    for (auto m = declared.globalMatch(text); m.hasNext();) set.insert(m.next().captured(1).toInt(nullptr, 16));
  }
  QList<int> out = set.values();
  std::sort(out.begin(), out.end());
  return out;
}

// A menu text as a page writes it: no access-key marks, no "...", no
// shortcut after a tab.
QString Plain(QString text) {
  text = text.section('\t', 0, 0);
  text.remove('&');
  if (text.endsWith(QStringLiteral("..."))) text.chop(3);
  return text.trimmed();
}

// Menu title -> its item texts, as the program shows them now.
QMap<QString, QSet<QString>> MenuTree(CMainFrame& frame) {
  QMap<QString, QSet<QString>> tree;
  for (QAction* top : frame.menuBar()->actions()) {
    if (!top->menu()) continue;
    QSet<QString>& items = tree[Plain(top->text())];
    for (QAction* a : top->menu()->actions())
      if (!a->isSeparator()) items.insert(Plain(a->text()));
  }
  return tree;
}

// The menu paths a page names: <span class="menu">File &gt; Save As</span>.
QList<QStringList> MenuPaths(const QString& html) {
  QList<QStringList> out;
  static const QRegularExpression span(QStringLiteral("<span class=\"menu\">(.*?)</span>"));
  for (auto it = span.globalMatch(html); it.hasNext();) {
    QTextDocument doc;
    doc.setHtml(it.next().captured(1));
    QStringList parts = doc.toPlainText().split(QStringLiteral(" > "));
    for (QString& p : parts) p = p.trimmed();
    out << parts;
  }
  return out;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void everyAskedContextHasItsOwnPageInEveryLanguage();
  void booksHoldTheSamePagesAndEveryLinkAndPageIsReachable();
  void menuPathsNameTheProgramsOwnMenus_data();
  void menuPathsNameTheProgramsOwnMenus();
  void f1InAWindowWithoutAMenuCommandShowsItsOwnPage();
  void helpWindowSpeaksTheBooksLanguage();
  void f1InTheCopyAndJumpDialogsExplainsThem();
  void helpFromAModalDialogOpensInFrontOfIt();
};

void HelpTest::everyAskedContextHasItsOwnPageInEveryLanguage() {
  const QList<int> contexts = AskedContexts();
  // The windows opened from other windows have pages of their own now.
  QVERIFY(contexts.contains(kHelpChannelEdit));
  QVERIFY(contexts.contains(kHelpConvZoneEdit));
  QVERIFY(contexts.contains(0x81000) && contexts.contains(0x84000));
  // Contexts that windows declare for themselves are found too.
  QVERIFY(contexts.contains(0x43001) && contexts.contains(0x3C002));
  QCOMPARE(EditorKindInfoOf(EditorKind::ChannelEdit)->helpContext, kHelpChannelEdit);
  QCOMPARE(EditorKindInfoOf(EditorKind::ConvZoneEdit)->helpContext, kHelpConvZoneEdit);
  for (const LanguageInfo& l : Languages()) {
    HelpSystem help({QString::fromStdString(::vb420::testsupport::ResourceDir())});
    help.SetHelpFile(l.helpFile);
    QVERIFY2(!help.HelpFolder().isEmpty(), l.helpFile);
    for (int c : contexts) {
      const QString page = help.PageFor(c);
      // Its own page, not the contents shown in its place.
      QVERIFY2(page.endsWith('/' + HelpSystem::PageName(c)),
               qPrintable(QStringLiteral("%1: no page for context 0x%2").arg(l.helpFile).arg(c, 0, 16)));
      QVERIFY2(!HelpSystem::PageTitle(page).isEmpty(), qPrintable(page + ": no title"));
    }
  }
  QCOMPARE(HelpSystem::PageName(0x1A000), QStringLiteral("1a000.html"));
}

void HelpTest::booksHoldTheSamePagesAndEveryLinkAndPageIsReachable() {
  const QStringList books = BookFolders();
  QCOMPARE(books, QStringList({"en", "sp"}));
  const QStringList pages = QDir(HelpRoot() + "/en").entryList({"*.html"}, QDir::Files, QDir::Name);
  QVERIFY(pages.size() > 40);
  static const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)"));
  for (const QString& book : books) {
    const QString folder = HelpRoot() + '/' + book;
    QCOMPARE(QDir(folder).entryList({"*.html"}, QDir::Files, QDir::Name), pages);
    // Every page can be reached from the contents through the links.
    QSet<QString> seen{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
      const QString page = queue.takeFirst();
      const QString html = ReadText(folder + '/' + page);
      QVERIFY2(!html.isEmpty(), qPrintable(folder + '/' + page));
      for (auto it = href.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        if (target.isEmpty() || target.contains(':')) continue;
        QVERIFY2(QFileInfo::exists(folder + '/' + target), qPrintable(book + '/' + page + " links to " + target));
        if (!seen.contains(target)) {
          seen.insert(target);
          queue << target;
        }
      }
    }
    for (const QString& page : pages) QVERIFY2(seen.contains(page), qPrintable(book + '/' + page + " is not linked"));
  }
  // The Spanish book is Spanish: its pages are not the English ones.
  for (const QString& page : pages)
    QVERIFY2(ReadText(HelpRoot() + "/en/" + page) != ReadText(HelpRoot() + "/sp/" + page), qPrintable(page));
}

void HelpTest::menuPathsNameTheProgramsOwnMenus_data() {
  QTest::addColumn<int>("languageKey");
  for (const LanguageInfo& l : Languages()) QTest::newRow(l.name) << l.key;
}

void HelpTest::menuPathsNameTheProgramsOwnMenus() {
  QFETCH(int, languageKey);
  AppFixture f;
  f.languageText = ::vb420::testsupport::ShippedLanguageText();
  f.SetSetting(QStringLiteral("Backup/Language"), languageKey);
  QVERIFY(f.Start());
  // Zone Information is open, so the Window menu and its own menu are there.
  QMap<QString, QSet<QString>> tree = MenuTree(f.Frame());
  QVERIFY(tree.size() >= 10);
  const QString book = HelpSystem::FolderNameOf(LanguageByKey(languageKey)->helpFile);
  int named = 0;
  for (const QString& page : QDir(HelpRoot() + '/' + book).entryList({"*.html"}, QDir::Files)) {
    for (const QStringList& path : MenuPaths(ReadText(HelpRoot() + '/' + book + '/' + page))) {
      ++named;
      const QString where = book + '/' + page + ": " + path.join(QStringLiteral(" > "));
      QVERIFY2(path.size() <= 2, qPrintable(where));
      QVERIFY2(tree.contains(path[0]), qPrintable(where + " (no such menu)"));
      if (path.size() == 2) QVERIFY2(tree[path[0]].contains(path[1]), qPrintable(where + " (no such item)"));
    }
  }
  QVERIFY(named > 50);
  f.Exit();
}

void HelpTest::f1InAWindowWithoutAMenuCommandShowsItsOwnPage() {
  AppFixture f;
  QVERIFY(f.Start());
  HelpSystem& help = f.App().Help();
  const struct {
    EditorKind kind;
    const char* page;
  } windows[] = {{EditorKind::ChannelEdit, "/help/en/31100.html"},
                 {EditorKind::ConvZoneEdit, "/help/en/31200.html"},
                 {EditorKind::ZoneInfo, "/help/en/31000.html"}};
  for (const auto& w : windows) {
    // Back in the main window from the help window of the last round.
    help.CloseAll();
    f.Frame().activateWindow();
    QVERIFY(f.Frame().OpenEditor(w.kind) != nullptr);
    Settle();
    QTest::keyClick(&f.Frame(), Qt::Key_F1);
    QVERIFY(help.Browser() != nullptr);
    QVERIFY2(help.Browser()->source().toLocalFile().endsWith(w.page),
             qPrintable(help.Browser()->source().toLocalFile()));
  }
  // The page of Channel Edit is the one that explains creating a channel.
  help.CloseAll();
  f.Frame().activateWindow();
  QVERIFY(f.Frame().OpenEditor(EditorKind::ChannelEdit));
  Settle();
  QTest::keyClick(&f.Frame(), Qt::Key_F1);
  QVERIFY(help.Browser()->toPlainText().contains(QStringLiteral("creates it")));
  f.Exit();
}

void HelpTest::helpWindowSpeaksTheBooksLanguage() {
  for (const LanguageInfo& l : Languages()) {
    HelpSystem help({QString::fromStdString(::vb420::testsupport::ResourceDir())});
    help.SetHelpFile(l.helpFile);
    QVERIFY(help.Show(nullptr, kHelpChannelEdit));
    // The contents button is named by the book's own contents page, and the
    // window by the page shown: no fixed English words.
    QAction* home = help.Window()->findChild<QToolBar*>()->findChild<QAction*>(QStringLiteral("helpContents"));
    QVERIFY(home != nullptr);
    const QString contents = HelpSystem::PageTitle(help.PageFor(0));
    QCOMPARE(home->text(), contents);
    QCOMPARE(help.Window()->windowTitle(), "VB-420 - " + HelpSystem::PageTitle(help.PageFor(kHelpChannelEdit)));
    for (QAction* a : help.Window()->findChild<QToolBar*>()->actions())
      QVERIFY2(!a->text().contains(QStringLiteral("index")), qPrintable(a->text()));
    // The contents button goes to the contents page of the same book.
    home->trigger();
    QVERIFY(help.Browser()->source().toLocalFile().endsWith('/' + HelpSystem::FolderNameOf(l.helpFile) + "/index.html"));
    help.CloseAll();
  }
}

// A modal dialog keeps every other window behind it and blocked: its help
// window is its own, in front of it; later help from no dialog stands alone.
void HelpTest::helpFromAModalDialogOpensInFrontOfIt() {
  HelpSystem help({QString::fromStdString(::vb420::testsupport::ResourceDir())});
  help.SetHelpFile(Languages().front().helpFile);
  QDialog dlg;
  auto* button = new QPushButton(QStringLiteral("Help"), &dlg);
  bool shownFromDialog = false;
  QWidget* helpParent = nullptr;
  QObject::connect(button, &QPushButton::clicked, &dlg, [&] {
    shownFromDialog = help.Show(button, kHelpChannelEdit);
    helpParent = help.Window() ? help.Window()->parentWidget() : nullptr;
    dlg.reject();
  });
  QTimer::singleShot(0, button, [button] { button->click(); });
  dlg.exec();
  QVERIFY(shownFromDialog);
  QCOMPARE(helpParent, static_cast<QWidget*>(&dlg));
  QVERIFY(help.Window()->isWindow());
  // From the main window again: a window of its own.
  QWidget main;
  main.show();
  QVERIFY(help.Show(&main, kHelpChannelEdit));
  QCOMPARE(help.Window()->parentWidget(), static_cast<QWidget*>(nullptr));
  QVERIFY(help.Window()->isVisible());
  help.CloseAll();
}

void HelpTest::f1InTheCopyAndJumpDialogsExplainsThem() {
  AppFixture f;
  f.languageText = ::vb420::testsupport::ShippedLanguageText();
  QVERIFY(f.Start());
  QString shown;
  QString title;
  bool active = false;
  f.prompter.dialogs.push_back([&](QDialog& d) {
    // As for the user: the modal dialog is the active window.
    d.show();
    QApplication::setActiveWindow(&d);
    active = QApplication::activeWindow() == &d;
    QTest::keyClick(&d, Qt::Key_F1);
    if (QTextBrowser* b = f.App().Help().Browser()) shown = b->source().toLocalFile();
    title = d.windowTitle();
    return int(QDialog::Rejected);
  });
  // Channel Jump from the Channel menu of Zone Information.
  QAction* jump = nullptr;
  for (QAction* top : f.Frame().menuBar()->actions())
    if (top->menu())
      for (QAction* a : top->menu()->actions())
        if (a->shortcut() == QKeySequence(Qt::SHIFT | Qt::Key_F7)) jump = a;
  QVERIFY(jump != nullptr);
  jump->trigger();
  Settle();
  QVERIFY(active);
  QCOMPARE(title, QStringLiteral("Channel Jump"));
  QVERIFY2(shown.endsWith(QStringLiteral("/help/en/31300.html")), qPrintable(shown));
  QVERIFY(f.App().Help().Browser()->toPlainText().contains(QStringLiteral("Channel Jump")));
  f.Exit();
}

VB420_QTEST(HelpTest)
#include "help_test.moc"
