// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the user reads follows the chosen language: message-box
// buttons, Qt's own texts, window titles, the status-bar date, the access
// keys of every menu level, and one Spanish term for one thing.
#include "support/Files.h"
#include "support/Paths.h"
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRegularExpression>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "UiTestSupport.h"
#include "app/AccessKeys.h"
#include "app/UiLanguage.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "lang/TextTable.h"
#include "lang/ui/LanguageSetupDlg.h"
#include "lang/ui/MessageHelper.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

// Starts the program on the shipped texts in language `key`.
bool StartShipped(AppFixture& f, int key) {
  f.languageText = ::vb420::testsupport::ShippedLanguageText();
  if (f.languageText.empty()) return false;
  f.SetSetting("Backup/Language", key);
  return f.Start();
}

// Shows a message through the real prompter, reads the box's buttons and
// clicks the one labelled `click`.
struct BoxRun {
  QStringList buttons;
  int answer = 0;
};
BoxRun RunRealBox(MessageHelper& msg, int buttons, const QString& click) {
  BoxRun run;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    QAbstractButton* target = nullptr;
    for (QAbstractButton* b : box->buttons()) {
      run.buttons << b->text();
      if (b->text() == click) target = b;
    }
    if (target) target->click();
    else box->reject();
  });
  run.answer = msg.Ask(QStringLiteral("?"), QStringLiteral("VB-420"), MsgIcon::Question, buttons);
  std::sort(run.buttons.begin(), run.buttons.end());
  return run;
}

// Access keys of one menu level: fails on an item without one and on two
// items sharing one.
QString CheckLevel(const QString& where, const QList<QAction*>& actions) {
  std::map<QChar, QString> seen;
  for (QAction* a : actions) {
    if (a->isSeparator() || !a->isVisible()) continue;
    const QChar k = AccessKeyOf(a->text());
    if (k.isNull()) return where + QStringLiteral(": no access key in \"%1\"").arg(a->text());
    if (seen.count(k)) return where + QStringLiteral(": \"%1\" and \"%2\" share %3").arg(seen[k], a->text(), k);
    seen[k] = a->text();
  }
  return {};
}

// Every level of the menu bar: the bar itself, each menu and sub-menu.
QString CheckAllLevels(QMenuBar* bar) {
  if (QString e = CheckLevel(QStringLiteral("menu bar"), bar->actions()); !e.isEmpty()) return e;
  std::vector<QMenu*> todo;
  for (QAction* a : bar->actions())
    if (a->menu()) todo.push_back(a->menu());
  while (!todo.empty()) {
    QMenu* m = todo.back();
    todo.pop_back();
    Q_EMIT m->aboutToShow();  // views relabel their items as the menu opens
    if (QString e = CheckLevel(m->title(), m->actions()); !e.isEmpty()) return e;
    for (QAction* a : m->actions())
      if (a->menu()) todo.push_back(a->menu());
  }
  return {};
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void messageBoxButtonsComeFromTheTextTable();
  void qtOwnTextsFollowTheLanguage();
  void windowsWithoutAMenuItemAreNamedFromTheTextTable();
  void statusBarDateFollowsTheLanguage();
  void accessKeyHelperMovesAClashToAFreeLetter();
  void everyMenuLevelHasDistinctAccessKeysInBothLanguages();
  void spanishUsesOneTermForEachThing();
};

void LanguageTest::messageBoxButtonsComeFromTheTextTable() {
  for (const char* language : {"English", "Spanish"}) {
    TextTable text;
    QCOMPARE(int(text.LoadText(::vb420::testsupport::ShippedLanguageText(), language)), int(TextTable::LoadResult::Ok));
    UiPrompter real;
    MessageHelper msg(text, real);
    auto T = [&](int e) { return QString::fromStdString(text.Text(e)); };
    // Yes, No and Cancel, and the answer is the button clicked.
    BoxRun run = RunRealBox(msg, kMsgYesNoCancel, T(373));
    QStringList want{T(372), T(373), T(14)};
    std::sort(want.begin(), want.end());
    QCOMPARE(run.buttons, want);
    QCOMPARE(run.answer, int(kIdNo));
    run = RunRealBox(msg, kMsgOkCancel, T(14));
    want = QStringList{T(13), T(14)};
    std::sort(want.begin(), want.end());
    QCOMPARE(run.buttons, want);
    QCOMPARE(run.answer, int(kIdCancel));
    run = RunRealBox(msg, kMsgOk, T(13));
    QCOMPARE(run.buttons, QStringList{T(13)});
    QCOMPARE(run.answer, int(kIdOk));
  }
  // The shipped Spanish texts, for the record.
  TextTable es;
  QCOMPARE(int(es.LoadText(::vb420::testsupport::ShippedLanguageText(), "Spanish")), int(TextTable::LoadResult::Ok));
  QCOMPARE(QString::fromStdString(es.Text(372)), QStringLiteral("Sí"));
  QCOMPARE(QString::fromStdString(es.Text(14)), QStringLiteral("Cancelar"));
}

void LanguageTest::qtOwnTextsFollowTheLanguage() {
  auto cancelText = [] {
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    return MenuLabel(box.button(QDialogButtonBox::Cancel)->text()) + "|" +
           MenuLabel(box.button(QDialogButtonBox::Save)->text());
  };
  const QString english = cancelText();
  QCOMPARE(english, QStringLiteral("Cancel|Save"));
  AppFixture f;
  QVERIFY(StartShipped(f, 2));
  QCOMPARE(InstalledQtLanguage(), QStringLiteral("es"));
  QCOMPARE(cancelText(), QStringLiteral("Cancelar|Guardar"));
  // The file dialogs' type column: a folder is a "Carpeta".
  QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
           QStringLiteral("Carpeta"));
  // Back to English through Language File Setup: Qt's texts follow.
  f.prompter.dialogs.push_back([](QDialog& d) {
    static_cast<CLanguageSetupDlg&>(d).SelectKey(1);
    d.accept();
    return int(QDialog::Accepted);
  });
  f.Frame().Action(kCmdLanguage)->trigger();
  QCOMPARE(QString::fromStdString(f.Ws().text.CurrentLanguage()), QStringLiteral("English"));
  QCOMPARE(InstalledQtLanguage(), QString());
  QCOMPARE(cancelText(), english);
  QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
           QStringLiteral("Folder"));
}

void LanguageTest::windowsWithoutAMenuItemAreNamedFromTheTextTable() {
  AppFixture f;
  f.SetSetting("Backup/Language", 2);
  QVERIFY(f.Start());
  const std::pair<EditorKind, QString> named[] = {
      {EditorKind::ChannelEdit, "S65"},   {EditorKind::GidEdit, "S66"},       {EditorKind::RepeaterInfo, "S67"},
      {EditorKind::ConvZoneEdit, "S68"},  {EditorKind::TrunkZoneEdit, "S69"}, {EditorKind::ScanList, "S522"},
      {EditorKind::KeyImage, "S339"},
  };
  for (const auto& [kind, title] : named) {
    CPendingView view(f.Frame().Context(), kind, 0);
    QCOMPARE(view.Title(), title);
  }
  // The shipped texts: the channel editor's menu item and its window agree.
  AppFixture g;
  QVERIFY(StartShipped(g, 2));
  CPendingView channel(g.Frame().Context(), EditorKind::ChannelEdit, 0);
  QCOMPARE(channel.Title(), QStringLiteral("Edición de canal"));
}

void LanguageTest::statusBarDateFollowsTheLanguage() {
  AppFixture f;
  f.SetSetting("Backup/Language", 2);
  QVERIFY(f.Start());
  const QDate today = QDate::currentDate();
  const QString spanish = UiLocale("Spanish").toString(today, QLocale::ShortFormat);
  QCOMPARE(UiLocale("Spanish").language(), QLocale::Spanish);
  QCOMPARE(f.Frame().DatePane()->text(), spanish);
  f.prompter.dialogs.push_back([](QDialog& d) {
    static_cast<CLanguageSetupDlg&>(d).SelectKey(1);
    d.accept();
    return int(QDialog::Accepted);
  });
  f.Frame().Action(kCmdLanguage)->trigger();
  // At once, not a second later.
  QCOMPARE(f.Frame().DatePane()->text(), UiLocale("English").toString(today, QLocale::ShortFormat));
  QCOMPARE(UiLocale("English").language(), QLocale::English);
  // A Spanish date names its month in Spanish.
  QCOMPARE(UiLocale("Spanish").toString(QDate(2026, 12, 7), QStringLiteral("d MMM yyyy")),
           QLocale(QLocale::Spanish).toString(QDate(2026, 12, 7), QStringLiteral("d MMM yyyy")));
  QVERIFY(UiLocale("Spanish").toString(QDate(2026, 12, 7), QStringLiteral("MMMM")).startsWith("dic"));
}

void LanguageTest::accessKeyHelperMovesAClashToAFreeLetter() {
  QCOMPARE(AccessKeyOf("Ve&ntana"), QChar('n'));
  QCOMPARE(AccessKeyOf("Save && &Exit"), QChar('e'));
  QCOMPARE(AccessKeyOf("A && B"), QChar());
  // The first free word start, then any free letter; accented letters are
  // never picked.
  QCOMPARE(WithAccessKey("Canal", "acnv"), QStringLiteral("Cana&l"));
  QCOMPARE(WithAccessKey("Edición de zona", "e"), QStringLiteral("Edición &de zona"));
  QCOMPARE(WithAccessKey("Íñigo", "g"), QStringLiteral("Íñ&igo"));
  QCOMPARE(WithAccessKey("ab", "ab"), QStringLiteral("ab"));
  QMenu menu;
  QAction* a = menu.addAction("&Copy");
  QAction* b = menu.addAction("&Channel Edit");
  QAction* c = menu.addAction("Zone Up");
  menu.addSeparator();
  QAction* hidden = menu.addAction("&Zoom");
  hidden->setVisible(false);
  // Without filling, only the clash moves.
  EnsureAccessKeys(menu.actions(), false);
  QCOMPARE(a->text(), QStringLiteral("&Copy"));
  QCOMPARE(b->text(), QStringLiteral("Channel &Edit"));
  QCOMPARE(c->text(), QStringLiteral("Zone Up"));
  EnsureAccessKeys(menu.actions(), true);
  QCOMPARE(c->text(), QStringLiteral("&Zone Up"));  // the hidden item does not hold Z
  QCOMPARE(hidden->text(), QStringLiteral("&Zoom"));
  // Numbered items keep their digits; the others get letters.
  QMenu numbered;
  QAction* n1 = numbered.addAction("&1 One");
  QAction* plain = numbered.addAction("Two");
  EnsureAccessKeys(numbered.actions(), true);
  QCOMPARE(n1->text(), QStringLiteral("&1 One"));
  QCOMPARE(plain->text(), QStringLiteral("&Two"));
}

void LanguageTest::everyMenuLevelHasDistinctAccessKeysInBothLanguages() {
  for (int key : {1, 2}) {
    AppFixture f;
    QVERIFY(StartShipped(f, key));
    // Zone Information is open with its Channel Function menu, on a
    // conventional zone.
    QVERIFY(f.Frame().ViewMenu() != nullptr);
    QString error = CheckAllLevels(f.Frame().menuBar());
    QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("language %1: %2").arg(key).arg(error)));
    // The same menu on an LTR zone names groups instead of channels.
    auto* zi = dynamic_cast<CZnInfoView*>(f.Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(zi);
    QComboBox* type = zi->TypeBox();
    const int ltr = type->findData(int('0'));
    QVERIFY(ltr >= 0);
    type->setCurrentIndex(ltr);
    Q_EMIT type->activated(ltr);
    Settle();
    QCOMPARE(zi->CurrentGrid(), int(CZnInfoView::kLtrGrid));
    error = CheckAllLevels(f.Frame().menuBar());
    QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("language %1, LTR: %2").arg(key).arg(error)));
    // The channel editor's own menu, and the bar without any editor open.
    f.Frame().RunCommand(kCmdChannelEdit);
    Settle();
    error = CheckAllLevels(f.Frame().menuBar());
    QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("language %1, channel: %2").arg(key).arg(error)));
    f.Frame().CloseAllEditors();
    error = CheckAllLevels(f.Frame().menuBar());
    QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("language %1, no editor: %2").arg(key).arg(error)));
  }
}

void LanguageTest::spanishUsesOneTermForEachThing() {
  TextTable en, es;
  QCOMPARE(int(en.LoadText(::vb420::testsupport::ShippedLanguageText(), "English")), int(TextTable::LoadResult::Ok));
  QCOMPARE(int(es.LoadText(::vb420::testsupport::ShippedLanguageText(), "Spanish")), int(TextTable::LoadResult::Ok));
  auto E = [&](int i) { return MenuLabel(QString::fromStdString(en.Text(i))); };
  auto S = [&](int i) { return MenuLabel(QString::fromStdString(es.Text(i))); };
  // Entries that say the same thing in English say it the same way in
  // Spanish ("Off", "On", "Scrambler", "Channel Edit" ...).
  std::map<QString, std::set<QString>> spanishOf;
  std::map<QString, QList<int>> entriesOf;
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    if (E(i).isEmpty()) continue;
    spanishOf[E(i).toLower()].insert(S(i));
    entriesOf[E(i).toLower()] << i;
  }
  for (const QString word : {"off", "on", "scrambler", "scrambler code", "channel edit"}) {
    QVERIFY2(spanishOf[word].size() == 1, qPrintable(word + ": " + QStringList(spanishOf[word].begin(),
                                                                                spanishOf[word].end()).join(" / ")));
  }
  QVERIFY(entriesOf["off"].size() >= 4);
  // The scrambler is never called a mere encoder, which is what "codif." means.
  for (int i : entriesOf["scrambler"]) QCOMPARE(S(i), QStringLiteral("Codificador de voz"));
  // The time-out timer has one name in the model-change warning and in the
  // channel settings.
  QString timer = S(476);
  timer.remove(QStringLiteral(" [s]"));
  QVERIFY2(S(297).contains(timer, Qt::CaseInsensitive), qPrintable(timer + " / " + S(297)));
  QCOMPARE(S(65), S(419));
  // No English left over: a Spanish text equal to its English one is a
  // name, an abbreviation or a word both languages share.
  const QSet<QString> shared{"VB-420", "DTMF", "Vantelix", "EEPROM", "Error", "ANI", "No", "bytes", "PTT ID", "LTR",
                             "QT/DQT", "BOT", "EOT", "BOT+EOT", "ID", "Monitor", "Normal", "[s]", "Manual", "Audio",
                             "LED", "Audible", "Auto", "VOX", "GPS", "1200 bps", "2400 bps", "Individual",
                             "PassPort", "2-Tone", "MIN", "ASID", "NSID"};
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    if (E(i).isEmpty() || E(i) != S(i) || shared.contains(E(i))) continue;
    if (QRegularExpression(QStringLiteral("^[A-D]-[A-D]$")).match(E(i)).hasMatch()) continue;
    QFAIL(qPrintable(QStringLiteral("entry %1 is English in Spanish: %2").arg(i).arg(S(i))));
  }
}

VB420_QTEST(LanguageTest)
#include "language_test.moc"
