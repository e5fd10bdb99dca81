// SPDX-License-Identifier: GPL-3.0-or-later
// The trunking windows driven as a user drives them: Zone Information's LTR
// and PassPort grids, the trunked zone, GID and repeater editors, the
// PassPort system data, search and hold and seed frequency editors, the
// mobile ID names dialog, a PassPort zone through Save and Open, and a
// Write refused for a home repeater that does not exist. The image bytes
// are the judge.
#include "support/Paths.h"
#include <QApplication>
#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTest>

#include "SimSupport.h"
#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "editors/forms/FieldSets.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/passport/ui/PassPortViews.h"
#include "editors/trunk/ui/TrunkViews.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using vb420::testing::SimProcess;
using vb420::uitest::Env;

namespace {

// Types into a form's edit box and confirms with Return.
void TypeInto(QWidget* control, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (!edit && control) edit = control->findChild<QLineEdit*>();
  QVERIFY(edit);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

QString EditText(QWidget* control) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (!edit && control) edit = control->findChild<QLineEdit*>();
  return edit ? edit->text() : QString("<none>");
}

}  // namespace

class TrunkTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;

  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  ByteArea Image() { return app->Ws().data.Image(); }
  size_t Header(int zone) { return static_cast<size_t>(Zones().ZoneOffset(zone)); }
  template <typename T>
  T* Open(EditorKind kind) {
    Settle();
    return dynamic_cast<T*>(app->Frame().FindEditor(kind));
  }
  void GoTo(CEditGrid* grid, int row, int col) {
    grid->setFocus();
    grid->SetCurrent(row, col);
    QCOMPARE(grid->Row(), row);
    QCOMPARE(grid->Col(), col);
  }
  void TypeCell(CEditGrid* grid, const QString& text) {
    QTest::keyClicks(grid, text.left(1));
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    QTest::keyClicks(ed, text.mid(1));
    QTest::keyClick(ed, Qt::Key_Return);
  }
  // Opens the cell's list with Enter and takes the row with this text.
  void ChooseCell(CEditGrid* grid, QComboBox* list, const QString& text) {
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(list->isVisible());
    const int i = list->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    list->setCurrentIndex(i);
    QTest::keyClick(list, Qt::Key_Return);
  }
  void ClearCell(CEditGrid* grid) {
    QTest::keyClick(grid, Qt::Key_Return);
    auto* le = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(le);
    le->selectAll();
    QTest::keyClick(le, Qt::Key_Backspace);
    QTest::keyClick(le, Qt::Key_Return);
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
    app->Frame().activateWindow();
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanup() { app.reset(); }

  void ltrGridCreatesGroupsAndStoresEveryColumn() {
    Zones().SetPendingType('0');
    view->Refresh();
    CEditGrid* grid = view->CurrentGridWidget();
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kLtrGrid));
    GoTo(grid, 5, 1);
    TypeCell(grid, "300");  // creates zone 1 (LTR) and group 5; clamped to 250
    QCOMPARE(Zones().ZoneType(0), uint8_t('0'));
    const size_t g = static_cast<size_t>(Zones().FindRecord(0, 4));
    QCOMPARE(int(Image().u8(g)), 5);
    QCOMPARE(int(Image().u8(g + 2)), 250);
    GoTo(grid, 5, 4);  // transmit (group field 8): a check box, ticked is a clear bit
    ChooseCell(grid, view->ListEditor(), "E372");
    QVERIFY(!Image().bit(g + 30, 1));
    GoTo(grid, 5, 8);  // optional signalling
    ChooseCell(grid, view->ListEditor(), "E410");
    QCOMPARE(int(Image().u8(g + 15)), int('5'));
    QCOMPARE(grid->Text(5, 8), QString("E410"));
    // Group 1 before group 5: the repeaters move up behind the groups.
    QCOMPARE(Zones().InsertRepeater(0, 0), 1);
    const int repBefore = Zones().FindRepeater(0, 0);
    GoTo(grid, 1, 1);
    TypeCell(grid, "7");
    QCOMPARE(Zones().FindRepeater(0, 0), repBefore + 32);
    QCOMPARE(Zones().FindRecord(0, 0) + 32, Zones().FindRecord(0, 4));
    // Copy group 5 with a PTT ID the signalling mode forbids; the pasted copy loses it.
    Image().setU8(g + 16, '4');
    Image().setU8(0x180, '0');
    grid->SelectRows(5, 5);
    view->RunCommand(kCmdGridCopy);
    GoTo(grid, 9, 1);
    view->RunCommand(kCmdGridPaste);
    const size_t pasted = static_cast<size_t>(Zones().FindRecord(0, 8));
    QCOMPARE(int(Image().u8(pasted)), 9);
    QCOMPARE(int(Image().u8(pasted + 16)), 0xFF);
    QCOMPARE(int(Image().u8(pasted + 15)), int('5'));
    // An empty first column removes the group.
    GoTo(grid, 9, 1);
    ClearCell(grid);
    QCOMPARE(Zones().FindRecord(0, 8), -1);
  }

  void passPortGridSwitchesAndPortableHorn() {
    Zones().SetPendingType('5');
    view->Refresh();
    CEditGrid* grid = view->CurrentGridWidget();
    GoTo(grid, 1, 1);
    TypeCell(grid, "1234");
    const size_t g = static_cast<size_t>(Zones().FindRecord(0, 0));
    QCOMPARE(int(Image().u16le(g + 3)), 1234);
    QCOMPARE(int(Image().u16le(Header(0) + 30)), 1234);  // the first group is the primary group
    GoTo(grid, 1, 5);  // scrambler
    ChooseCell(grid, view->ListEditor(), "E372");
    QVERIFY(!Image().bit(g + 17, 2));
    GoTo(grid, 1, 7);  // horn: a mobile may
    ChooseCell(grid, view->ListEditor(), "E372");
    QVERIFY(!Image().bit(g + 17, 4));
  }

  void trunkEditorStoresHeaderFieldsAndStepsZones() {
    QCOMPARE(Zones().CreateZone(1, '0'), 1);
    view->SetZone(1);
    view->RunCommand(kCmdZoneEditCmd);
    auto* te = Open<CTrunkEditView>(EditorKind::TrunkZoneEdit);
    QVERIFY(te);
    QCOMPARE(te->Zone(), 1);
    const size_t h = Header(1);
    TypeInto(te->Form()->Control(0, te->IndexOf("8")), "700");  // clamped
    QCOMPARE(int(Image().u16le(h + 36)), 600);
    QCOMPARE(EditText(te->Form()->Control(0, te->IndexOf("8"))), QString("600"));
    auto* wide = qobject_cast<QComboBox*>(te->Form()->Control(0, te->IndexOf("2")));
    QVERIFY(wide);
    wide->setCurrentIndex(wide->findText("E437"));
    QCOMPARE(Image().u16le(h + 44) & 3, 0);
    // The area spins between 0 and 1 (bit 0 of +47, inverted).
    te->Form()->Spin(0, te->IndexOf("area"))->Up()->click();
    QVERIFY(!Image().bit(h + 47, 0));
    auto* transpond = qobject_cast<QCheckBox*>(te->Form()->Control(0, te->IndexOf("16")));
    QVERIFY(transpond);
    transpond->click();
    QCOMPARE(transpond->isChecked(), !Image().bit(h + 44 + 1, 3));
    // F8 shows zone 1 (no zone there: every field is off).
    QTest::keyClick(te, Qt::Key_F8);
    QCOMPARE(te->Zone(), 0);
    QVERIFY(!te->Form()->Control(0, te->IndexOf("8"))->isEnabled());
  }

  void repeaterEditorEntersRemovesAndAsksBeforeClosing() {
    QCOMPARE(Zones().CreateZone(0, '0'), 1);
    view->Refresh();
    QVERIFY(view->RepeaterButton()->isVisible());
    view->RepeaterButton()->click();
    auto* rv = Open<CRepInfoView>(EditorKind::RepeaterInfo);
    QVERIFY(rv);
    CEditGrid* grid = rv->Grid();
    const QString freeBefore = view->FreeLine()->text();
    GoTo(grid, 2, 1);
    TypeCell(grid, "151.025");
    const size_t rep = static_cast<size_t>(Zones().FindRepeater(0, 1));
    QCOMPARE(int(Image().u8(rep)), 2);
    QCOMPARE(grid->Text(2, 2), QString("156.02500"));
    QCOMPARE(Image().u16le(rep + 14) & 0x07, 0x07 & Image().u16le(rep + 14));
    QVERIFY(view->FreeLine()->text() != freeBefore);  // Zone Information follows
    GoTo(grid, 2, 4);  // telephone check box
    ChooseCell(grid, rv->ListEditor(), "E372");
    QVERIFY(!Image().bit(rep + 14, 1));
    // Removing it in the repeater editor: Zone Information's free memory is back.
    GoTo(grid, 2, 1);
    ClearCell(grid);
    QCOMPARE(Zones().FindRepeater(0, 1), -1);
    QCOMPARE(view->FreeLine()->text(), freeBefore);
    // Home repeater 1 has no record: closing asks; Cancel keeps the window.
    auto* frame = qobject_cast<QMdiSubWindow*>(rv->parentWidget());
    QVERIFY(frame);
    app->prompter.answers.push_back(kIdCancel);
    frame->close();
    Settle();
    QVERIFY(app->Frame().FindEditor(EditorKind::RepeaterInfo));
    QCOMPARE(app->prompter.MessageTexts().last(), QString("E282"));
    GoTo(grid, 1, 1);
    TypeCell(grid, "151.1");
    app->prompter.Clear();
    frame->close();
    Settle();
    QVERIFY(!app->Frame().FindEditor(EditorKind::RepeaterInfo));
    QVERIFY(app->prompter.messages.empty());
  }

  void gidEditorShowsLtrGroupsAndPassPortGroupPages() {
    QCOMPARE(Zones().CreateZone(0, '0'), 1);
    QCOMPARE(Zones().InsertRecord(0, 2), 1);
    QCOMPARE(Zones().CreateZone(1, '5'), 1);
    QCOMPARE(Zones().InsertRecord(1, 0), 1);
    view->Refresh();
    view->SetCurrentRecord(2);
    view->RunCommand(kCmdChannelEditCmd);
    auto* gv = Open<CGidEditView>(EditorKind::GidEdit);
    QVERIFY(gv);
    QCOMPARE(gv->Group(), 2);
    int page = 0, index = 0;
    QVERIFY(gv->Find("decode", page, index));
    TypeInto(gv->Form()->Control(page, index), "44");
    QCOMPARE(int(Image().u8(static_cast<size_t>(Zones().FindRecord(0, 2)) + 1)), 44);
    // F7 to zone 2, a PassPort zone: the form becomes its group pages.
    gv->SetGroup(0);
    gv->RunCommand(kCmdZoneUp);  // F7
    Settle();
    QCOMPARE(gv->Zone(), 1);
    QCOMPARE(gv->FormClass(), int(kClassPassPort));
    QVERIFY(gv->Form()->Tabs());
    QCOMPARE(gv->Form()->Tabs()->count(), 2);
    QVERIFY(gv->Find("phone", page, index));
    QCOMPARE(page, 1);
    auto* phone = qobject_cast<QCheckBox*>(gv->Form()->Control(page, index));
    QVERIFY(phone);
    phone->click();
    QCOMPARE(int(Image().u8(static_cast<size_t>(Zones().FindRecord(1, 0)) + 18)), 0xFB);
  }

  void passPortSystemDataFixesOnOpenAndListsTheGroups() {
    QCOMPARE(Zones().CreateZone(0, '5'), 1);
    QCOMPARE(Zones().InsertRecord(0, 0), 1);
    QCOMPARE(Zones().InsertRecord(0, 6), 1);
    const size_t h = Header(0);
    Image().setU8(h + 49, 9);
    view->Refresh();
    view->PassPortButton(0)->click();
    auto* sv = Open<CPPSysDataView>(EditorKind::PPSysData);
    QVERIFY(sv);
    QCOMPARE(sv->Title(), QString("Zone Edit - PassPort System [Zone   1]"));
    QCOMPARE(int(Image().u8(h + 49)), 0);
    QCOMPARE(EditText(sv->Control("missedtone")), QString("0"));
    auto* tg = qobject_cast<QComboBox*>(sv->Control("datatg"));
    QVERIFY(tg);
    QCOMPARE(tg->count(), 3);
    QCOMPARE(tg->currentText(), QString("E362"));
    tg->setCurrentIndex(tg->findText("7"));
    QCOMPARE(int(Image().u8(h + 20)), 7);
    TypeInto(sv->Control("minhigh"), "300");
    TypeInto(sv->Control("minlow"), "400");  // above the upper limit: refused
    QCOMPARE(int(Image().u16le(h + 73)), 1);
    QCOMPARE(EditText(sv->Control("minlow")), QString("1"));
    // VHF: the TX DFA channels are shown, and a band of 0 offers Band IIB.
    QVERIFY(sv->Control("txdfa")->isVisibleTo(sv));
    QVERIFY(sv->Control("band2b")->isVisibleTo(sv));
    QVERIFY(!sv->Control("band5b")->isVisibleTo(sv));
    auto* band = qobject_cast<QComboBox*>(sv->Control("dfaband"));
    band->setCurrentIndex(5);
    QVERIFY(sv->Control("band5b")->isVisibleTo(sv));
    QCOMPARE(qobject_cast<QCheckBox*>(sv->Control("ptgscan"))->text(), QString("Primary Talkgroup Autoscan"));
  }

  void passPortSystemDataOnUhfClearsTheTxChannels() {
    RadioData& data = app->Ws().data;
    data.model.SetModel(4);
    data.model.SetBandCode(0x06);
    data.SyncCodecs();
    QCOMPARE(Zones().CreateZone(0, '5'), 1);
    const size_t h = Header(0);
    Image().setU16le(h + 71, static_cast<uint16_t>(3 << 5 | 2));
    view->Refresh();
    view->RunCommand(kCmdZoneEditCmd);  // F9 on a PassPort zone
    auto* sv = Open<CPPSysDataView>(EditorKind::PPSysData);
    QVERIFY(sv);
    QCOMPARE(int(Image().u16le(h + 71)), 0xFFE2);
    QVERIFY(!sv->Control("txdfa")->isVisibleTo(sv));
    QCOMPARE(sv->Form()->Label(0, sv->IndexOf("rxdfa"))->text(), QString("DFA Channel"));
  }

  void searchAndHoldBlacklistAndSeedFrequencies() {
    QCOMPARE(Zones().CreateZone(2, '5'), 1);
    view->SetZone(2);
    view->PassPortButton(1)->click();
    auto* hv = Open<CPPSearchHoldView>(EditorKind::PPSearchHold);
    QVERIFY(hv);
    const size_t h = Header(2);
    QCOMPARE(hv->SummaryLine(0)->text(), QString("ASID: 1"));
    QCOMPARE(hv->SummaryLine(1)->text(), QString("MIN: 100"));
    hv->SetAllButton()->click();
    QCOMPARE(int(Image().u8(h + 53)), 0xFE);
    QCOMPARE(int(Image().u8(h + 68)), 0xFF);
    QCOMPARE(hv->Blacklist()->item(0)->checkState(), Qt::Checked);
    hv->Blacklist()->item(16)->setCheckState(Qt::Unchecked);  // ASID 17
    QVERIFY(!Image().bit(h + 55, 1));
    hv->ClearAllButton()->click();
    QCOMPARE(int(Image().u8(h + 53)), 0);
    TypeInto(hv->Control("regrssi"), "250");
    QCOMPARE(int(Image().u8(h + 38)), 199);
    // The scrambler needs the option board.
    QVERIFY(!hv->Control("scrambler")->isEnabled());
    // Seed frequencies.
    view->PassPortButton(2)->click();
    auto* fv = Open<CPPSeedFreqView>(EditorKind::PPSeedFreq);
    QVERIFY(fv);
    TypeInto(fv->Control("freq1"), "152.3");
    QCOMPARE(EditText(fv->Control("freq1")), QString("152.30000"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(Image().ptr(h + 84, 4)), 4), QByteArray("\x00\x00\x23\x15", 4));
  }

  void passPortButtonsRefuseAZoneThatDoesNotExist() {
    Zones().SetPendingType('5');
    view->SetZone(9);
    view->PassPortButton(0)->click();
    QCOMPARE(app->prompter.MessageTexts().last(), QString("E314"));
    QVERIFY(!app->Frame().FindEditor(EditorKind::PPSysData));
  }

  void mobileIdNamesDialogTypesRows() {
    app->prompter.dialogs.push_back([](QDialog& d) {
      auto* dlg = qobject_cast<CPPListDlg*>(&d);
      if (!dlg) return int(QDialog::Rejected);
      d.show();
      CEditGrid* grid = dlg->Grid();
      grid->setFocus();
      grid->SetCurrent(2, 2);  // a name first: the row starts at its MIN
      QTest::keyClicks(grid, "4");
      if (grid->Col() != 1) return int(QDialog::Rejected);
      QTest::keyClicks(dlg->CellEdit(), "321");
      QTest::keyClick(dlg->CellEdit(), Qt::Key_Return);
      grid->SetCurrent(2, 2);
      QTest::keyClicks(grid, "D");
      QTest::keyClicks(dlg->CellEdit(), "ISPATCH");
      QTest::keyClick(dlg->CellEdit(), Qt::Key_Return);
      d.accept();
      return int(QDialog::Accepted);
    });
    app->Frame().RunCommand(kCmdMobileIdNames);
    Settle();
    QCOMPARE(app->prompter.dialogTitles.size(), 1);
    QCOMPARE(int(Image().u16le(0x9710)), 4321);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(Image().ptr(0x9712, 12)), 12), QByteArray("DISPATCH\0\0\0\0", 12));
  }

  void passPortZoneSurvivesSaveAndOpen() {
    RadioData& data = app->Ws().data;
    TextTable& text = app->Ws().text;
    int message = 0;
    forms::SettingLine l;
    for (const auto& [k, v] : std::vector<std::pair<std::string, std::string>>{
             {"zone.4.group.2.id", "512"}, {"zone.4.group.2.name", "FIRE"}, {"zone.4.system.asid", "42"},
             {"zone.4.system.rxdfa", "300"}, {"zone.4.search.blacklist", "5,6"}, {"zone.4.seed.freq2", "150.5"},
             {"zone.4.group.2.sitelock", "E372"}, {"ppsite.3.asid", "42"}, {"ppsite.3.name", "HILL"}})
      QCOMPARE(int(forms::SetSetting(data, text, k, v, l, message)), int(forms::SettingStatus::Ok));
    std::vector<forms::SettingLine> before;
    for (const char* set : {"passport-group", "passport-system", "passport-search", "passport-seed", "ppsite"})
      forms::ListSettings(data, text, set, before);
    app->prompter.saveNames.push_back(app->Path("pp.dat"));
    app->Frame().RunCommand(kCmdFileSaveAs);
    Settle();
    app->Frame().RunCommand(kCmdFileNew);
    Settle();
    QVERIFY(!Zones().ZoneExists(3));
    app->prompter.openNames.push_back(app->Path("pp.dat"));
    app->Frame().RunCommand(kCmdFileOpen);
    Settle();
    std::vector<forms::SettingLine> after;
    for (const char* set : {"passport-group", "passport-system", "passport-search", "passport-seed", "ppsite"})
      forms::ListSettings(data, text, set, after);
    QCOMPARE(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
      QCOMPARE(QString::fromStdString(after[i].key), QString::fromStdString(before[i].key));
      QCOMPARE(QString::fromStdString(after[i].text), QString::fromStdString(before[i].text));
    }
  }

  void writeDialogRefusesAMissingHomeRepeaterAndSendsNothing() {
    QTemporaryDir tmp;
    Env dataHome("XDG_DATA_HOME", tmp.filePath("data").toStdString());
    SimProcess sim({"--trace", tmp.filePath("trace.txt").toStdString()});
    QVERIFY(sim.Started());
    Env com1("VB420_COM1", sim.Device());
    QCOMPARE(Zones().CreateZone(0, '0'), 1);  // home repeater 1, no repeaters
    app->prompter.Clear();
    app->Frame().RunCommand(kCmdWrite);
    Settle();
    QVERIFY(app->prompter.dialogTitles.isEmpty());
    QCOMPARE(app->prompter.MessageTexts().size(), 1);
    // The refusal names the reason (E1270: "zone %d: the home repeater %d has
    // no repeater record").
    QCOMPARE(app->prompter.MessageTexts().first(), QString("E222\n\"E472\": E1270"));
    sim.Stop();
    QVERIFY(vb420::testing::ReadTrace(tmp.filePath("trace.txt").toStdString()).empty());
  }

  // With VB420_SCREENSHOT_DIR set: each trunking window on a filled LTR zone
  // and PassPort zone, in English and Spanish, from the shipped texts.
  void screenshots() {
    const QByteArray dir = qgetenv("VB420_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VB420_SCREENSHOT_DIR not set");
    for (const char* lang : {"en", "es"}) {
      app.reset();
      app = std::make_unique<AppFixture>();
      QFile lng(QString::fromStdString(::vb420::testsupport::ResourceDir() + "/vb420.lng"));
      QVERIFY(lng.open(QIODevice::ReadOnly));
      app->languageText = lng.readAll().toStdString();
      app->SetSetting("Backup/Language", QString(lang) == "es" ? 2 : 1);
      QVERIFY(app->Start());
      app->Frame().showNormal();
      app->Frame().resize(1500, 950);
      RadioData& data = app->Ws().data;
      TextTable& text = app->Ws().text;
      int message = 0;
      forms::SettingLine l;
      for (const auto& [k, v] : std::vector<std::pair<std::string, std::string>>{
               {"zone.1.group.1.encode", "11"}, {"zone.1.group.2.encode", "12"}, {"zone.1.group.1.name", "DISPATCH"},
               {"zone.1.rep.1.rxf", "151.025"}, {"zone.1.rep.2.rxf", "152.1"}, {"zone.1.header.0", "CITY LTR"},
               {"zone.2.group.1.id", "1001"}, {"zone.2.group.2.id", "1002"}, {"zone.2.group.1.name", "FIRE"},
               {"zone.2.system.datatg", "1"}, {"zone.2.seed.freq1", "152.3"}, {"zone.2.search.blacklist", "3,9,40"}})
        forms::SetSetting(data, text, k, v, l, message);
      view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
      const QString base = QString::fromUtf8(dir) + "/" + lang;
      const std::tuple<int, EditorKind, const char*> shots[] = {
          {0, EditorKind::TrunkZoneEdit, "-trunk-zone.png"}, {0, EditorKind::GidEdit, "-gid-ltr.png"},
          {0, EditorKind::RepeaterInfo, "-repeaters.png"},   {1, EditorKind::PPSysData, "-pp-system.png"},
          {1, EditorKind::PPSearchHold, "-pp-search.png"},   {1, EditorKind::PPSeedFreq, "-pp-seed.png"},
          {1, EditorKind::GidEdit, "-gid-passport.png"},
      };
      for (const auto& [zone, kind, name] : shots) {
        app->Frame().CloseAllEditors();
        Settle();
        app->Frame().RunCommand(kCmdZoneInfo);
        Settle();
        view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
        view->SetZone(zone);
        CEditorView* v = app->Frame().OpenEditor(kind);
        Settle();
        auto* frame = qobject_cast<QMdiSubWindow*>(v->parentWidget());
        frame->resize(frame->sizeHint().expandedTo(QSize(300, 200)));
        QTest::qWait(150);
        QVERIFY(frame->grab().save(base + name));
      }
      app->Frame().CloseAllEditors();
      Settle();
      app->Frame().RunCommand(kCmdZoneInfo);
      Settle();
      view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
      view->SetZone(0);
      QTest::qWait(100);
      QVERIFY(qobject_cast<QMdiSubWindow*>(view->parentWidget())->grab().save(base + "-zone-info-ltr.png"));
      app->prompter.dialogs.push_back([&](QDialog& d) {
        d.show();
        d.resize(d.sizeHint().expandedTo(QSize(420, 360)));
        QTest::qWait(100);
        d.grab().save(base + "-pp-sites.png");
        return int(QDialog::Rejected);
      });
      forms::SetSetting(data, text, "ppsite.1.asid", "12", l, message);
      forms::SetSetting(data, text, "ppsite.1.name", "NORTH HILL", l, message);
      app->Frame().RunCommand(kCmdSiteInfo);
      Settle();
    }
  }
};

VB420_QTEST(TrunkTest)
#include "trunk_test.moc"
