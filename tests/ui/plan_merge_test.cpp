// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export / Import and the Zone Merge window, through the menus.
// With VB420_SHOTS=<folder> the Zone Merge window is also saved in both grid
// modes, in English and Spanish.
#include "support/Files.h"
#include "support/Paths.h"
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "app/MainFrame.h"
#include "data/DataFile.h"
#include "editors/forms/FieldSets.h"
#include "editors/grid/AccessibleNames.h"
#include "editors/grid/EditGrid.h"
#include "editors/plan/ItmFile.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/plan/ui/ZnMergeView.h"
#include "editors/zones/ZoneMemory.h"
#include "frame/ui/Workspace.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

void Trigger(AppFixture& f, int command) {
  f.Frame().Action(command)->trigger();
  Settle();
}

bool Set(AppFixture& f, const std::string& key, const std::string& value) {
  forms::SettingLine out;
  int message = 0;
  return forms::SetSetting(f.Ws().data, f.Ws().text, key, value, out, message) == forms::SettingStatus::Ok;
}

std::string Get(AppFixture& f, const std::string& key) {
  forms::SettingLine out;
  return forms::GetSetting(f.Ws().data, f.Ws().text, key, out) == forms::SettingStatus::Ok ? out.text : "?";
}

CZnMergeView* OpenMerge(AppFixture& f) {
  Trigger(f, kCmdZoneMerge);
  return qobject_cast<CZnMergeView*>(f.Frame().FindEditor(EditorKind::ZoneMerge));
}

}  // namespace

class PlanMergeTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void exportWritesThePlanWithItsDefaultNameAndFolder();
  void importAppliesTheFileAndReportsEachSection();
  void importRefusesForeignFilesAndAsksOnMismatch();
  void importThatAppliesNothingChangesNothingAndSaysSo();
  void zoneMergeCopiesZonesIntoEntriesAndMergesThemBack();
  void zoneListPasteAsksAndStopsWhenThereIsNoRoom();
  void switchableGridTogglesBetweenZonesAndEntries();
  void zoneMergeKeysCopyAndPasteZones();
  void screenshots();
};

void PlanMergeTest::exportWritesThePlanWithItsDefaultNameAndFolder() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(Set(f, "zone.1.ch.1.rxf", "146.52"));
  QVERIFY(Set(f, "zone.1.ch.1.name", "A,B"));
  f.prompter.saveNames.push_back(f.Path("plan"));
  Trigger(f, kCmdFileExport);
  QCOMPARE(f.prompter.saveRequests.size(), size_t(1));
  QCOMPARE(f.prompter.saveRequests[0].initialName, QStringLiteral("vb420.itm"));
  QCOMPARE(f.prompter.saveRequests[0].filter, QStringLiteral("E121 (*.itm)"));
  QCOMPARE(f.prompter.saveRequests[0].folder, QString::fromStdString(f.Ws().lastFilePath));
  const QByteArray file = FileData(f.Path("plan.itm"));
  QCOMPARE(file.toStdString(), BuildItmText(f.Ws().data, f.Ws().text));
  QVERIFY(file.contains("\"A,B\"\r\n"));
  QCOMPARE(QString::fromStdString(f.Ws().itmName), QStringLiteral("plan.itm"));
  // The next export starts where the last one wrote.
  QDir().mkpath(f.Path("sub"));
  f.prompter.saveNames.push_back(f.Path("sub/second.itm"));
  Trigger(f, kCmdFileExport);
  f.prompter.saveNames.push_back(QString());
  Trigger(f, kCmdFileExport);
  QCOMPARE(f.prompter.saveRequests[2].folder, f.Path("sub") + "/");
  QCOMPARE(f.prompter.saveRequests[2].initialName, QStringLiteral("second.itm"));
}

void PlanMergeTest::importAppliesTheFileAndReportsEachSection() {
  AppFixture f;
  QVERIFY(f.Start());
  QFile out(f.Path("in.itm"));
  QVERIFY(out.open(QIODevice::WriteOnly));
  out.write("MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n$$,CNVDATA,ZN,CH,RXF,NAME\r\n"
            "$,,3,2,147.5,\"X,Y\"\r\n$,,3,300,147.5,BAD\r\n");
  out.close();
  f.Ws().data.buffers.TakeSnapshot();
  f.prompter.openNames.push_back(f.Path("in.itm"));
  Trigger(f, kCmdFileImport);
  QCOMPARE(Get(f, "zone.3.ch.2.name"), std::string("X,Y"));
  QVERIFY(f.Ws().data.buffers.Modified());  // no snapshot after an import
  QVERIFY(f.Frame().FindEditor(EditorKind::ZoneInfo));
  const QStringList texts = f.prompter.MessageTexts();
  QVERIFY(!texts.isEmpty());
  // One applied, one skipped: the count of skipped records, as a warning.
  QCOMPARE(texts.last(), QStringLiteral("E175\nE176\nE530\n1\n1\nE1252\n1"));
  QCOMPARE(f.prompter.messages.back().icon, MsgIcon::Warning);
  // The import folder follows the file; a file of another type is not read.
  f.Ws().data.buffers.TakeSnapshot();
  f.prompter.openNames.push_back(f.Path("in.txt"));
  const int before = int(f.prompter.messages.size());
  Trigger(f, kCmdFileImport);
  QCOMPARE(f.prompter.openRequests.back().folder, QString::fromStdString(FolderOf(f.Path("in.itm").toStdString())));
  QCOMPARE(int(f.prompter.messages.size()), before);
}

void PlanMergeTest::importRefusesForeignFilesAndAsksOnMismatch() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(Set(f, "zone.1.ch.1.rxf", "146.52"));
  f.Ws().data.buffers.TakeSnapshot();
  const auto image = f.Ws().data.buffers.ImageBytes();
  QFile foreign(f.Path("x.itm"));
  QVERIFY(foreign.open(QIODevice::WriteOnly));
  foreign.write("NOT OURS\r\n");
  foreign.close();
  f.prompter.openNames.push_back(f.Path("x.itm"));
  Trigger(f, kCmdFileImport);
  QCOMPARE(f.prompter.MessageTexts().last(), QStringLiteral("E281"));
  QVERIFY(f.Ws().data.buffers.ImageBytes() == image);

  QFile uhf(f.Path("u.itm"));
  QVERIFY(uhf.open(QIODevice::WriteOnly));
  uhf.write("MARDEKO ZEL\r\n[Radio Band]=UHF\r\n$$,CNVDATA,ZN,CH,RXF\r\n$,,2,1,146.0\r\n");
  uhf.close();
  f.prompter.openNames.push_back(f.Path("u.itm"));
  f.prompter.answers = {kIdCancel};
  Trigger(f, kCmdFileImport);
  QVERIFY(f.prompter.MessageTexts().last().startsWith("E122"));
  QCOMPARE(f.prompter.messages.back().defaultAnswer, int(kIdCancel));
  QVERIFY(f.Ws().data.buffers.ImageBytes() == image);
}

// Every record of the plan fails: the zones are not cleared, no byte
// changes, and the report is a warning that says nothing was imported.
void PlanMergeTest::importThatAppliesNothingChangesNothingAndSaysSo() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(Set(f, "zone.1.ch.1.rxf", "146.52"));
  QVERIFY(Set(f, "zone.2.group.1.encode", "3"));
  f.Ws().data.buffers.TakeSnapshot();
  const auto image = f.Ws().data.buffers.ImageBytes();
  const auto ext = f.Ws().data.buffers.ExtBytes();
  QFile out(f.Path("bad.itm"));
  QVERIFY(out.open(QIODevice::WriteOnly));
  out.write("MARDEKO ZEL\r\n[Radio Band]=VHF\r\n[Language]=English\r\n$$,CNVDATA,ZN,CH,RXF,TXF,RXSIG,TXSIG,NAME\r\n"
            "$,,Zone 1,1,146.52,146.52,Off,Off,A\r\n");
  out.close();
  f.prompter.openNames.push_back(f.Path("bad.itm"));
  Trigger(f, kCmdFileImport);
  QVERIFY(f.Ws().data.buffers.ImageBytes() == image);
  QVERIFY(f.Ws().data.buffers.ExtBytes() == ext);
  QVERIFY(!f.Ws().data.buffers.Modified());
  QCOMPARE(Get(f, "zone.2.group.1.encode"), std::string("3"));
  QVERIFY(!f.prompter.messages.empty());
  QCOMPARE(f.prompter.messages.back().text, QStringLiteral("E175\nE176\nE530\n0\n1\nE1249"));
  QCOMPARE(f.prompter.messages.back().icon, MsgIcon::Warning);
  QVERIFY(f.Frame().FindEditor(EditorKind::ZoneInfo));
}

void PlanMergeTest::zoneMergeCopiesZonesIntoEntriesAndMergesThemBack() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(Set(f, "zone.2.ch.5.rxf", "146.52"));
  QVERIFY(Set(f, "zone.2.ch.5.name", "MOVE"));
  CZnMergeView* v = OpenMerge(f);
  QVERIFY(v);
  QCOMPARE(v->ZoneGrid()->Text(2, 1), QStringLiteral("E530"));
  QCOMPARE(v->ZoneGrid()->Text(1, 1), QStringLiteral("E528"));
  // Zone 2 into entry 4.
  v->ZoneGrid()->SetCurrent(2, 1);
  v->RunCommand(kCmdGridCopy, false);
  v->EntryGrid()->SetCurrent(4, 1);
  v->RunCommand(kCmdGridPaste, true);
  QVERIFY(SlotUsed(f.Ws().data.mergeSlots, 3));
  QVERIFY(v->EntryGrid()->Text(4, 1).startsWith("E530"));
  // By zone: entry 4 goes into zone 9, typed into the grid.
  v->SwitchGrid()->setFocus();
  v->SwitchGrid()->SetCurrent(9, 1);
  QTest::keyClicks(v->SwitchGrid(), "4");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(AssignedZone(f.Ws().data.mergeSlots, 3), 8);
  // Not merged yet: the write check names it.
  std::vector<WriteProblem> problems;
  CheckMergeData(f.Ws().data, f.Ws().text, problems);
  QCOMPARE(problems.size(), size_t(1));
  f.prompter.answers = {kIdOk};
  v->MergeButton()->click();
  Settle();
  QCOMPARE(Get(f, "zone.9.ch.5.name"), std::string("MOVE"));
  QCOMPARE(AssignedZone(f.Ws().data.mergeSlots, 3), -1);
  QCOMPARE(v->ZoneGrid()->Text(9, 1), QStringLiteral("E530"));
  // Entries go to a ".sdt" file and come back.
  QVERIFY(v->SaveEntries(f.Path("m.sdt")));
  f.Ws().data.mergeSlots.Clear();
  QVERIFY(v->LoadEntries(f.Path("m.sdt")));
  QVERIFY(SlotUsed(f.Ws().data.mergeSlots, 3));
  // Delete zones from the zone list.
  v->ZoneGrid()->SetCurrent(9, 1);
  v->RunCommand(kCmdGridDelete, false);
  QCOMPARE(v->ZoneGrid()->Text(9, 1), QStringLiteral("E528"));
}

// Ctrl+C and Ctrl+V on the lists do what the pop-up menu's Copy and Paste do.
void PlanMergeTest::zoneMergeKeysCopyAndPasteZones() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(Set(f, "zone.2.ch.5.rxf", "146.52"));
  CZnMergeView* v = OpenMerge(f);
  QVERIFY(v);
  v->ZoneGrid()->setFocus();
  v->ZoneGrid()->SetCurrent(2, 1);
  QTest::keyClick(v->ZoneGrid(), Qt::Key_C, Qt::ControlModifier);
  v->EntryGrid()->setFocus();
  v->EntryGrid()->SetCurrent(4, 1);
  QTest::keyClick(v->EntryGrid(), Qt::Key_V, Qt::ControlModifier);
  Settle();
  QVERIFY(SlotUsed(f.Ws().data.mergeSlots, 3));
  QVERIFY(v->EntryGrid()->Text(4, 1).startsWith("E530"));
  // And back from the entry into zone 7 of the zone list.
  v->EntryGrid()->SetCurrent(4, 1);
  QTest::keyClick(v->EntryGrid(), Qt::Key_C, Qt::ControlModifier);
  v->ZoneGrid()->setFocus();
  v->ZoneGrid()->SetCurrent(7, 1);
  f.prompter.answers = {kIdOk, kIdOk};
  QTest::keyClick(v->ZoneGrid(), Qt::Key_V, Qt::ControlModifier);
  Settle();
  QCOMPARE(v->ZoneGrid()->Text(7, 1), QStringLiteral("E530"));
}

void PlanMergeTest::zoneListPasteAsksAndStopsWhenThereIsNoRoom() {
  AppFixture f;
  QVERIFY(f.Start());
  CZoneMemory zm(f.Ws().data);
  QVERIFY(zm.CreateZone(0, '1') == ZoneResult::Done);
  for (int c = 0; c < 200; ++c) QVERIFY(zm.InsertRecord(0, c) == InsertResult::Done);
  CZnMergeView* v = OpenMerge(f);
  v->ZoneGrid()->SetCurrent(1, 1);
  v->RunCommand(kCmdGridCopy, false);
  v->ZoneGrid()->SetCurrent(5, 1);
  f.prompter.answers = {kIdCancel};
  v->RunCommand(kCmdGridPaste, false);
  QVERIFY(!zm.ZoneExists(4));
  f.prompter.answers = {kIdOk};
  v->RunCommand(kCmdGridPaste, false);
  QVERIFY(!zm.ZoneExists(4));
  QCOMPARE(f.prompter.MessageTexts().last(), QStringLiteral("E275"));
}

void PlanMergeTest::switchableGridTogglesBetweenZonesAndEntries() {
  AppFixture f;
  QVERIFY(f.Start());
  CZnMergeView* v = OpenMerge(f);
  // Every control is announced by a name.
  NameControls(v);
  QVERIFY(UnnamedControls(v).isEmpty());
  QCOMPARE(v->SwitchGrid()->Rows(), 129);
  QCOMPARE(v->SwitchGrid()->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("E527"));
  AssignZone(f.Ws().data.mergeSlots, 2, 40);
  v->SwitchButton()->click();
  QCOMPARE(v->SwitchGrid()->Rows(), 21);
  QCOMPARE(v->SwitchGrid()->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("E526"));
  QCOMPARE(v->SwitchGrid()->Text(3, 1), QStringLiteral("41"));
  v->SwitchButton()->click();
  QCOMPARE(v->SwitchGrid()->Text(41, 1), QStringLiteral("3"));
}

void PlanMergeTest::screenshots() {
  const QByteArray dir = qgetenv("VB420_SHOTS");
  if (dir.isEmpty()) QSKIP("VB420_SHOTS not set");
  for (const char* lang : {"en", "es"}) {
    AppFixture f;
    f.languageText = ::vb420::testsupport::ShippedLanguageText();
    f.SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    QVERIFY(f.Start());
    f.Frame().showNormal();
    f.Frame().resize(1280, 760);
    QVERIFY(Set(f, "zone.1.ch.1.rxf", "146.52"));
    QVERIFY(Set(f, "zone.1.header.0", "DISPATCH"));
    CZoneMemory zm(f.Ws().data);
    QVERIFY(zm.CreateZone(1, '0') == ZoneResult::Done);
    QVERIFY(zm.CreateZone(2, '5') == ZoneResult::Done);
    QVERIFY(Set(f, "zone.4.ch.1.rxf", "150.0"));
    CZnMergeView* v = OpenMerge(f);
    v->ZoneGrid()->SetCurrent(1, 1);
    v->RunCommand(kCmdGridCopy, false);
    v->EntryGrid()->SetCurrent(1, 1);
    v->RunCommand(kCmdGridPaste, true);
    v->ZoneGrid()->SetCurrent(2, 1);
    v->RunCommand(kCmdGridCopy, false);
    v->EntryGrid()->SetCurrent(2, 1);
    v->RunCommand(kCmdGridPaste, true);
    AssignZone(f.Ws().data.mergeSlots, 0, 9);
    AssignZone(f.Ws().data.mergeSlots, 1, 10);
    v->Refresh();
    v->window()->showMaximized();
    Settle();
    QTest::qWait(150);
    const QString base = QString(dir) + "/" + lang;
    QVERIFY(f.Frame().grab().save(base + "-zone-merge-by-zone.png"));
    v->SwitchButton()->click();
    Settle();
    QTest::qWait(150);
    QVERIFY(f.Frame().grab().save(base + "-zone-merge-by-entry.png"));
  }
}

VB420_QTEST(PlanMergeTest)
#include "plan_merge_test.moc"
