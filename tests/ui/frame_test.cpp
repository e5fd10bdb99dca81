// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menus from the text table, one window per editor kind,
// Close All, the refresh broadcast, deferred closing, caption, tree bar,
// status bar, help, About and the language switch.
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "app/AppRegistration.h"
#include "editors/registry/Registration.h"
#include "link/WriteValidation.h"
#include "support/CheckGroups.h"
#include "UiTestSupport.h"
#include "app/TreeBar.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/LanguageSetupDlg.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

// An editor that records what the frame asks of it. Its pending edit writes
// one byte into the image when committed.
class ProbeView : public CEditorView {
 public:
  ProbeView(EditorContext& ctx, EditorKind kind) : CEditorView(ctx, kind) {}
  void Refresh() override { ++refreshes; }
  bool CommitPendingEdit() override {
    if (pendingByte >= 0) {
      Context().ws.data.Image().setU8(0x860, static_cast<uint8_t>(pendingByte));
      pendingByte = -1;
    }
    ++commits;
    return true;
  }
  int refreshes = 0;
  int commits = 0;
  int pendingByte = -1;
};


QAction* Act(AppFixture& f, int command) { return f.Frame().Action(command); }

std::vector<EditorKind> OpenKinds(AppFixture& f) {
  std::vector<EditorKind> out;
  for (CChildFrame* c : f.Frame().Children()) out.push_back(c->View()->Kind());
  return out;
}

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT
  int commPortRuns = 0;

 private Q_SLOTS:
  void initTestCase() {
    // The program's own registration first (the application makes it too,
    // once), then the probes over it.
    RegisterAll();
    // Scan Information and DTMF get probe views for these tests (registered
    // after the program's own editors, so these win).
    for (EditorKind k : {EditorKind::Scan, EditorKind::Dtmf})
      EditorRegistry::Instance().RegisterEditor(k, [k](EditorContext& c, QWidget*) { return new ProbeView(c, k); });
    // Vantelix, Channel Edit and Read stand for the parts not built yet,
    // whatever has been built by now.
    EditorRegistry::Instance().UnregisterEditor(EditorKind::Vantelix);
    EditorRegistry::Instance().UnregisterEditor(EditorKind::ChannelEdit);
    EditorRegistry::Instance().UnregisterCommand(kCmdRead);
    // Communication Port: record that it ran.
    EditorRegistry::Instance().RegisterCommand(kCmdCommPort, [this](EditorContext&) { ++commPortRuns; });
  }
  // The program runs the same pre-write checks as vb420cli (write to one
  // radio or a fleet, check): every group, from the one registration.
  void everyGroupOfPreWriteChecksIsRegistered() {
    AppFixture f;
    QVERIFY(f.Start());
    QVERIFY(RegisteredWriteCheckGroups() == vb420::testsupport::AllWriteCheckGroups());
    const std::vector<std::string> sets = RegisteredFieldSetNames();
    for (const char* name : {"channel", "features", "keys", "scan", "dtmf-stunkill", "emergency", "idlist", "special"})
      QVERIFY2(std::find(sets.begin(), sets.end(), name) != sets.end(), name);
  }
  void menusCarryEveryItemFromTheTextTable();
  void windowMenuOnlyWhileAnEditorIsOpen();
  void oneWindowPerKindAndASecondRequestBringsItToTheFront();
  void extendedFunctionDependsOnTheModelKind();
  void controlTabReachesTheFocusedControl();
  void closeAllClosesEveryEditorAndHidesTheTree();
  void refreshReachesEveryOtherOpenEditor();
  void userCloseWaitsForThePendingEditAndCloseAllCommitsIt();
  void pendingCommandsOpenANamedWindow();
  void captionShowsModelAndDefaultNames();
  void treeBarListsTheEditorsAndRunsThem();
  void statusBarShowsPortDateAndTime();
  void helpShowsPagesByContext();
  void aboutShowsTheTexts();
  void switchingToSpanishRelabelsTheMenus();
};

void FrameTest::menusCarryEveryItemFromTheTextTable() {
  AppFixture f;
  QVERIFY(f.Start());
  QCOMPARE(MenuTitles(f.Frame()),
           QStringList({"E41", "E52", "E54", "E75", "E81", "E88", "E91", "&E376", "E95", "E101"}));
  QCOMPARE(MenuItems(f.Frame(), "E41"),
           QStringList({"E42", "E43", "E44", "E45", "-", "E50", "E51", "E1331", "E1330", "-", "E1176", "E1177", "-", "E46", "E47", "-",
                        "E1178", "-", "E49"}));
  QCOMPARE(MenuItems(f.Frame(), "E52"), QStringList({"E53"}));
  // The Edit menu: Undo and Redo, then the editor list with its six separators.
  QCOMPARE(MenuItems(f.Frame(), "E54"),
           QStringList({"E298", "E305", "-", "E71", "-", "E56", "E55", "E57", "-", "E58", "E59", "E60", "-", "E72", "E64", "E73", "-", "E70",
                        "-", "E61", "E62", "E63", "-", "E1211", "E1212", "E74"}));
  QCOMPARE(MenuItems(f.Frame(), "E75"), QStringList({"E76", "E77", "-", "E78", "-", "E79", "E80"}));
  QCOMPARE(MenuItems(f.Frame(), "E81"), QStringList({"E82"}));
  QCOMPARE(MenuItems(f.Frame(), "E88"), QStringList({"E89", "E90"}));
  QCOMPARE(MenuItems(f.Frame(), "E91"), QStringList({"E92", "E93", "E94"}));
  QCOMPARE(MenuItems(f.Frame(), "E95").mid(0, 6), QStringList({"E96", "E97", "E98", "E99", "-", "E100"}));
  QCOMPARE(MenuItems(f.Frame(), "E101"), QStringList({"E102", "-", "E103"}));
  // Tool-bar tips.
  QCOMPARE(Act(f, kCmdFileNew)->toolTip(), QStringLiteral("E109"));
  QCOMPARE(Act(f, kCmdWrite)->toolTip(), QStringLiteral("E114"));
  QCOMPARE(Act(f, kCmdAbout)->toolTip(), QStringLiteral("E8"));
  QCOMPARE(f.Frame().ToolBar()->actions().count(Act(f, kCmdRead)), 1);
}

void FrameTest::windowMenuOnlyWhileAnEditorIsOpen() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(MenuTitles(f.Frame()).contains("E95"));
  Act(f, kCmdCloseAll)->trigger();
  QVERIFY(!MenuTitles(f.Frame()).contains("E95"));
  QVERIFY(!f.Frame().HasWindowMenu());
  Act(f, kCmdKeys)->trigger();
  QVERIFY(MenuTitles(f.Frame()).contains("E95"));
  // The open windows are listed under the arrangement commands (the key
  // window names the table it edits).
  QVERIFY(MenuItems(f.Frame(), "E95").contains("&1 E55 - E1309"));
  // Closing the last one by hand removes the menu again.
  f.Frame().Children().front()->close();
  Settle();
  QVERIFY(f.Frame().Children().empty());
  QVERIFY(!MenuTitles(f.Frame()).contains("E95"));
}

void FrameTest::oneWindowPerKindAndASecondRequestBringsItToTheFront() {
  AppFixture f;
  QVERIFY(f.Start());
  QCOMPARE(f.Frame().Children().size(), size_t(1));
  Act(f, kCmdFeatures)->trigger();
  Act(f, kCmdZoneInfo)->trigger();
  QCOMPARE(OpenKinds(f), std::vector<EditorKind>({EditorKind::ZoneInfo, EditorKind::Features}));
  auto* active = qobject_cast<CChildFrame*>(f.Frame().Mdi()->activeSubWindow());
  QVERIFY(active && active->View()->Kind() == EditorKind::ZoneInfo);
  Act(f, kCmdFeatures)->trigger();
  Act(f, kCmdFeatures)->trigger();
  QCOMPARE(f.Frame().Children().size(), size_t(2));
  active = qobject_cast<CChildFrame*>(f.Frame().Mdi()->activeSubWindow());
  QVERIFY(active && active->View()->Kind() == EditorKind::Features);
  // Commands sent by other windows go through the same registry.
  f.Frame().PostCommand(kCmdChannelEdit);
  f.Frame().PostCommand(kCmdChannelEdit);
  Settle();
  QCOMPARE(f.Frame().Children().size(), size_t(3));
  QVERIFY(f.Frame().FindEditor(EditorKind::ChannelEdit) != nullptr);
  // A window without a menu item is named by its text entry, in the
  // current language.
  QCOMPARE(f.Frame().FindEditor(EditorKind::ChannelEdit)->Title(), QStringLiteral("E65"));
  // A minimised window comes back when asked for.
  CChildFrame* features = f.Frame().Children()[1];
  features->showMinimized();
  Act(f, kCmdFeatures)->trigger();
  QVERIFY(!features->isMinimized());
}

void FrameTest::extendedFunctionDependsOnTheModelKind() {
  AppFixture f;
  QVERIFY(f.Start());
  Act(f, kCmdExtFunction)->trigger();
  QVERIFY(f.Frame().FindEditor(EditorKind::ExtFunction) != nullptr);
  QVERIFY(f.Frame().FindEditor(EditorKind::OptionBoard) == nullptr);
  AppFixture g;
  g.SetSetting("Backup/LastModel", "50:31:34:30:30:04:FF:FF");  // VT-1400
  QVERIFY(g.Start());
  g.Frame().Action(kCmdExtFunction)->trigger();
  QVERIFY(g.Frame().FindEditor(EditorKind::OptionBoard) != nullptr);
  QVERIFY(g.Frame().FindEditor(EditorKind::ExtFunction) == nullptr);
}

void FrameTest::controlTabReachesTheFocusedControl() {
  AppFixture f;
  QVERIFY(f.Start());
  f.Frame().activateWindow();
  Act(f, kCmdScan)->trigger();
  auto* scan = static_cast<ProbeView*>(f.Frame().FindEditor(EditorKind::Scan));
  // A control inside the view that records the keys it gets.
  struct KeyProbe : QWidget {
    int ctrlTabs = 0;
    void keyPressEvent(QKeyEvent* e) override {
      if (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ControlModifier)) ++ctrlTabs;
    }
  };
  auto* control = new KeyProbe;
  control->setParent(scan);
  control->setFocusPolicy(Qt::StrongFocus);
  control->show();
  control->setFocus();
  QMdiSubWindow* before = f.Frame().Mdi()->activeSubWindow();
  QTest::keyClick(control, Qt::Key_Tab, Qt::ControlModifier);
  Settle();
  QCOMPARE(f.Frame().Mdi()->activeSubWindow(), before);
  QCOMPARE(control->ctrlTabs, 1);
}

void FrameTest::closeAllClosesEveryEditorAndHidesTheTree() {
  AppFixture f;
  QVERIFY(f.Start());
  for (int c : {kCmdFeatures, kCmdKeys, kCmdScan, kCmdTestFreq}) Act(f, c)->trigger();
  Act(f, kCmdTreeView)->trigger();
  QVERIFY(f.Frame().TreeBar()->isVisible());
  QCOMPARE(f.Frame().Children().size(), size_t(5));
  Act(f, kCmdCloseAll)->trigger();
  QVERIFY(f.Frame().Children().empty());
  QVERIFY(!f.Frame().TreeBar()->isVisible());
  QVERIFY(!Act(f, kCmdTreeView)->isChecked());
  Settle();
  QVERIFY(f.Frame().Mdi()->subWindowList().isEmpty());
  // Each kind opens afresh afterwards.
  Act(f, kCmdKeys)->trigger();
  QCOMPARE(f.Frame().Children().size(), size_t(1));
}

void FrameTest::refreshReachesEveryOtherOpenEditor() {
  AppFixture f;
  QVERIFY(f.Start());
  Act(f, kCmdScan)->trigger();
  Act(f, kCmdDtmf)->trigger();
  auto* scan = static_cast<ProbeView*>(f.Frame().FindEditor(EditorKind::Scan));
  auto* dtmf = static_cast<ProbeView*>(f.Frame().FindEditor(EditorKind::Dtmf));
  // The initial update reads the image once.
  QCOMPARE(scan->refreshes, 1);
  QCOMPARE(dtmf->refreshes, 1);
  f.Frame().RefreshAllEditors(scan);
  QCOMPARE(scan->refreshes, 1);
  QCOMPARE(dtmf->refreshes, 2);
  f.Frame().RefreshAllEditors();
  QCOMPARE(scan->refreshes, 2);
  QCOMPARE(dtmf->refreshes, 3);
}

void FrameTest::userCloseWaitsForThePendingEditAndCloseAllCommitsIt() {
  AppFixture f;
  QVERIFY(f.Start());
  Act(f, kCmdScan)->trigger();
  QPointer<ProbeView> scan = static_cast<ProbeView*>(f.Frame().FindEditor(EditorKind::Scan));
  scan->pendingByte = 'Q';
  CChildFrame* frame = f.Frame().Children().back();
  // The close button: nothing happens until the event loop turns.
  QVERIFY(!frame->close());
  QVERIFY(f.Frame().FindEditor(EditorKind::Scan) != nullptr);
  QCOMPARE(f.Ws().data.Image().u8(0x860), uint8_t('S'));  // "Stunned" default text
  Settle();
  QVERIFY(f.Frame().FindEditor(EditorKind::Scan) == nullptr);
  QCOMPARE(f.Ws().data.Image().u8(0x860), uint8_t('Q'));
  QVERIFY(!scan);
  // Close All stores a pending edit at once.
  Act(f, kCmdDtmf)->trigger();
  static_cast<ProbeView*>(f.Frame().FindEditor(EditorKind::Dtmf))->pendingByte = 'R';
  Act(f, kCmdCloseAll)->trigger();
  QCOMPARE(f.Ws().data.Image().u8(0x860), uint8_t('R'));
  QVERIFY(f.Frame().Children().empty());
}

void FrameTest::pendingCommandsOpenANamedWindow() {
  AppFixture f;
  QVERIFY(f.Start());
  Act(f, kCmdRead)->trigger();
  Act(f, kCmdRead)->trigger();
  QCOMPARE(f.Frame().Children().size(), size_t(2));
  CChildFrame* read = f.Frame().Children().back();
  QCOMPARE(read->windowTitle(), QStringLiteral("E76"));
  const auto labels = read->View()->findChildren<QLabel*>();
  QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text().contains("not built yet"); }));
  // An editor that exists only as a later part says the same.
  Act(f, kCmdVantelix)->trigger();
  QCOMPARE(f.Frame().Children().back()->windowTitle(), QStringLiteral("E60"));
}

void FrameTest::captionShowsModelAndDefaultNames() {
  AppFixture f;
  QVERIFY(f.Start());
  QCOMPARE(f.Frame().CaptionText(),
           QStringLiteral("VB-420  [ VT-1600[E204] VHF : 136-174 MHz ] [ E524 : vb420.dat ] [ E525 : vb420.sdt ]"));
  // The caption carries Qt's unsaved-changes mark after the program name.
  QCOMPARE(QString(f.Frame().windowTitle()).remove(QStringLiteral("[*]")), f.Frame().CaptionText());
  QVERIFY(f.Frame().windowTitle().startsWith(QStringLiteral("VB-420[*]  [")));
  QVERIFY(!f.Frame().isWindowModified());
  // A change shows the mark within a moment; undoing it by hand removes it.
  ByteArea image = f.Ws().data.buffers.Image();
  const uint8_t was = image.u8(0x9000);
  image.setU8(0x9000, static_cast<uint8_t>(was ^ 0x5A));
  QTRY_VERIFY_WITH_TIMEOUT(f.Frame().isWindowModified(), 2000);
  image.setU8(0x9000, was);
  QTRY_VERIFY_WITH_TIMEOUT(!f.Frame().isWindowModified(), 2000);
  AppFixture g;
  g.SetSetting("Backup/LastModel", "50:32:34:30:30:07:FF:FF");  // VT-2400 on 400-470
  QVERIFY(g.Start());
  QCOMPARE(g.Frame().windowTitle(),
           QStringLiteral("VB-420[*]  [ VT-2400[E205] UHF : 400-470 MHz ] [ E524 : vb420.dat ] [ E525 : vb420.sdt ]"));
}

void FrameTest::treeBarListsTheEditorsAndRunsThem() {
  AppFixture f;
  QVERIFY(f.Start());
  CTreeBar* bar = f.Frame().TreeBar();
  QVERIFY(!bar->isVisible());
  Act(f, kCmdTreeView)->trigger();
  QVERIFY(bar->isVisible());
  QVERIFY(Act(f, kCmdTreeView)->isChecked());
  QCOMPARE(bar->windowTitle(), QStringLiteral("E239"));
  QTreeWidgetItem* root = bar->Tree()->topLevelItem(0);
  QCOMPARE(root->text(0), QStringLiteral("VT-1600[E204]"));
  QVERIFY(root->isExpanded());
  QCOMPARE(root->childCount(), 17);
  QStringList labels;
  for (int i = 0; i < root->childCount(); ++i) labels << root->child(i)->text(0);
  QCOMPARE(labels, QStringList({"E352", "E340", "E339", "E341", "E355", "E351", "E354", "E353", "E342", "E356",
                                "E357", "E348", "E211", "E349", "E1211", "E1212", "E358"}));
  // Enter on "Key Assignment" opens it once the event loop runs.
  bar->Tree()->setCurrentItem(root->child(2));
  QTest::keyClick(bar->Tree(), Qt::Key_Return);
  QVERIFY(f.Frame().FindEditor(EditorKind::Keys) == nullptr);
  Settle();
  QVERIFY(f.Frame().FindEditor(EditorKind::Keys) != nullptr);
  // Escape hides the bar.
  QTest::keyClick(bar->Tree(), Qt::Key_Escape);
  QVERIFY(!bar->isVisible());
  QVERIFY(!Act(f, kCmdTreeView)->isChecked());
  // The focus-tree command shows it again.
  f.Frame().RunCommand(kCmdFocusTree);
  QVERIFY(bar->isVisible());
}

void FrameTest::statusBarShowsPortDateAndTime() {
  AppFixture f;
  f.SetSetting("Backup/ComPort", 5);
  f.SetSetting("Ports/COM5", "/dev/ttyFAKE9");
  QVERIFY(f.Start());
  QCOMPARE(f.Frame().PortPane()->text(), QStringLiteral("COM5"));
  QCOMPARE(f.Frame().PortPane()->toolTip(), QStringLiteral("/dev/ttyFAKE9"));
  const QLocale english = QLocale::system().language() == QLocale::English ? QLocale::system() : QLocale(QLocale::English);
  QCOMPARE(f.Frame().DatePane()->text(), english.toString(QDate::currentDate(), QLocale::ShortFormat));
  const QTime shown = QTime::fromString(f.Frame().TimePane()->text(), QStringLiteral("HH:mm:ss"));
  QVERIFY(shown.isValid());
  QVERIFY(std::abs(shown.secsTo(QTime::currentTime())) <= 2);
  // The clock moves on by itself.
  const QString before = f.Frame().TimePane()->text();
  QTRY_VERIFY_WITH_TIMEOUT(f.Frame().TimePane()->text() != before, 2500);
  // A new port number shows within a second.
  f.Ws().comPort = 17;
  QTRY_COMPARE_WITH_TIMEOUT(f.Frame().PortPane()->text(), QStringLiteral("COM17"), 1500);
  // A double-click on the port pane runs Communication Port.
  const int runs = commPortRuns;
  QTest::mouseDClick(f.Frame().PortPane(), Qt::LeftButton);
  Settle();
  QCOMPARE(commPortRuns, runs + 1);
  // So does the menu item.
  Act(f, kCmdCommPort)->trigger();
  QCOMPARE(commPortRuns, runs + 2);
}

void FrameTest::helpShowsPagesByContext() {
  AppFixture f;
  QVERIFY(f.Start());
  HelpSystem& help = f.App().Help();
  QVERIFY(help.PageFor(0).endsWith("/help/en/index.html"));
  QVERIFY(help.PageFor(0x12000).endsWith("/help/en/12000.html"));
  QVERIFY(help.PageFor(0x20000).endsWith("/help/en/20000.html"));
  // A context without a page of its own shows the contents.
  QVERIFY(help.PageFor(0x7777).endsWith("/help/en/index.html"));
  Act(f, kCmdHelpTopics)->trigger();
  QVERIFY(help.Browser() != nullptr);
  QVERIFY(help.Browser()->source().toLocalFile().endsWith("/help/en/index.html"));
  QVERIFY(!help.Browser()->toPlainText().isEmpty());
  // F1 inside an editor shows that editor's page.
  Act(f, kCmdZoneInfo)->trigger();
  QTest::keyClick(&f.Frame(), Qt::Key_F1);
  QVERIFY(help.Browser()->source().toLocalFile().endsWith("/help/en/31000.html"));
  // F1 on a highlighted menu item shows that command's page.
  QMenu* file = f.Frame().menuBar()->actions().front()->menu();
  file->popup(QPoint(0, 0));
  file->setActiveAction(Act(f, kCmdFileSaveAs));
  QTest::keyClick(file, Qt::Key_F1);
  QVERIFY(help.Browser()->source().toLocalFile().endsWith("/help/en/14000.html"));
  help.CloseAll();
  QVERIFY(help.Window() == nullptr);
  // Without the language's pages help shows nothing.
  help.SetHelpFile("vb420Xx.chm");
  QVERIFY(help.PageFor(0).isEmpty());
  QVERIFY(!help.Show(&f.Frame(), 0));
}

void FrameTest::aboutShowsTheTexts() {
  AppFixture f;
  QVERIFY(f.Start());
  QStringList texts;
  f.prompter.dialogs.push_back([&texts](QDialog& d) {
    for (int i = 1; i <= 7; ++i) texts << d.findChild<QLabel*>(QStringLiteral("aboutText%1").arg(i))->text();
    texts << d.findChild<QLabel*>(QStringLiteral("aboutLicence"))->text();
    texts << d.findChild<QDialogButtonBox*>()->buttons().front()->text();
    return int(QDialog::Accepted);
  });
  Act(f, kCmdAbout)->trigger();
  QCOMPARE(f.prompter.dialogTitles.back(), QStringLiteral("E8"));
  QCOMPARE(texts, QStringList({"E1", "E2", "E3", "E4", "E5", "E6", "E7", "E1294", "E13"}));
}

void FrameTest::switchingToSpanishRelabelsTheMenus() {
  AppFixture f;
  QVERIFY(f.Start());
  Act(f, kCmdKeys)->trigger();
  QStringList offered;
  f.prompter.dialogs.push_back([&offered](QDialog& d) {
    auto& dlg = static_cast<CLanguageSetupDlg&>(d);
    for (int i = 0; i < dlg.List()->count(); ++i) offered << dlg.List()->item(i)->text();
    dlg.SelectKey(2);
    dlg.accept();
    return int(QDialog::Accepted);
  });
  Act(f, kCmdLanguage)->trigger();
  QCOMPARE(f.prompter.dialogTitles.back(), QStringLiteral("E233"));
  QCOMPARE(offered, QStringList({"English", "Spanish"}));
  QCOMPARE(QString::fromStdString(f.Ws().text.CurrentLanguage()), QStringLiteral("Spanish"));
  QCOMPARE(MenuTitles(f.Frame()), QStringList({"S41", "S52", "S54", "S75", "S81", "S88", "S91", "&S376", "S95", "S101"}));
  QCOMPARE(MenuItems(f.Frame(), "S41").front(), QStringLiteral("S42"));
  QVERIFY(f.Frame().windowTitle().contains("[ S524 : vb420.dat ]"));
  QCOMPARE(Act(f, kCmdFileNew)->toolTip(), QStringLiteral("S109"));
  // Editors were closed and Zone Information opened again.
  QCOMPARE(OpenKinds(f), std::vector<EditorKind>({EditorKind::ZoneInfo}));
  QCOMPARE(f.Frame().Children().front()->windowTitle(), f.Frame().Children().front()->View()->Title());
  QVERIFY(f.Frame().Children().front()->windowTitle().startsWith("S"));
  QCOMPARE(f.App().Help().HelpFolder().section('/', -1), QStringLiteral("sp"));
  // Exit stores the new language.
  f.Exit();
  QCOMPARE(f.Setting("Backup/Language").toInt(), 2);
}

VB420_QTEST(FrameTest)
#include "frame_test.moc"
