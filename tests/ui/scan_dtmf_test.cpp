// SPDX-License-Identifier: GPL-3.0-or-later
// The Scan, Scan List, DTMF and 2-Tone windows opened through their
// commands and driven with keys and clicks; the image bytes are the judge.
#include "support/Files.h"
#include "support/Paths.h"
#include <QApplication>
#include <QMdiSubWindow>
#include <fstream>
#include <iterator>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTest>

#include "UiTestSupport.h"
#include "data/SignallingLayout.h"
#include "editors/dtmf/ui/DtmfViews.h"
#include "editors/grid/FieldGrid.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FilterEdit.h"
#include "editors/scan/ScanFields.h"
#include "editors/scan/ui/ScanViews.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneServices.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class ScanDtmfTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;

  Workspace& Ws() { return app->Ws(); }
  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  template <class V>
  V* Open(int command, EditorKind kind) {
    app->Frame().RunCommand(command);
    Settle();
    auto* v = dynamic_cast<V*>(app->Frame().FindEditor(kind));
    if (v) QApplication::setActiveWindow(&app->Frame());
    return v;
  }
  // Types into an edit box and leaves it with Tab.
  void Type(QWidget* w, const QString& text) {
    auto* e = qobject_cast<QLineEdit*>(w);
    QVERIFY(e);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Tab);
  }
  void GoTo(CEditGrid* grid, int row, int col) {
    grid->setFocus();
    grid->SetCurrent(row, col);
  }
  void TypeCell(CEditGrid* grid, const QString& text) {
    QTest::keyClicks(grid, text.left(1));
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    QTest::keyClicks(ed, text.mid(1));
    QTest::keyClick(ed, Qt::Key_Return);
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanup() { app.reset(); }

  void scanTypesAndTimers() {
    auto* view = Open<CScanView>(kCmdScan, EditorKind::Scan);
    QVERIFY(view);
    CFormRenderer* form = view->Form();
    // The voting page is hidden without the switch.
    QVERIFY(!form->Tabs()->isTabVisible(1));
    QVERIFY(form->Tabs()->tabBar()->isHidden());
    auto* type1 = qobject_cast<QComboBox*>(form->Control(0, scan::kType1));
    QVERIFY(type1);
    QVERIFY(!form->Control(0, scan::kInterval1)->isEnabled());
    type1->setFocus();
    type1->setCurrentIndex(1);  // Fixed
    QCOMPARE(Ws().data.Image().u8(scanfld::kType1), uint8_t('0'));
    QVERIFY(form->Control(0, scan::kInterval1)->isEnabled());
    Type(form->Control(0, scan::kInterval1), "5.07");
    QCOMPARE(Ws().data.Image().u16le(scanfld::kInterval1), uint16_t(5000));
    QCOMPARE(qobject_cast<QLineEdit*>(form->Control(0, scan::kInterval1))->text(), QString("5.00"));
    Type(form->Control(0, scan::kInterval1), "0.33");
    QCOMPARE(Ws().data.Image().u16le(scanfld::kInterval1), uint16_t(500));
    // Revert '4' (priority 1) goes back to '0' when priority 1 is switched off.
    auto* revert = qobject_cast<QComboBox*>(form->Control(0, scan::kRevert));
    revert->setCurrentIndex(revert->findText(QString::fromStdString(Ws().text.Text(835))));
    QCOMPARE(Ws().data.Image().u8(scanfld::kRevert), uint8_t('4'));
    type1->setCurrentIndex(0);
    QCOMPARE(Ws().data.Image().u8(scanfld::kRevert), uint8_t('0'));
    // Spin buttons step the dropout delay.
    QTest::mouseClick(form->Spin(0, 7)->Up(), Qt::LeftButton);
    QCOMPARE(Ws().data.Image().u16le(scanfld::kDropout), uint16_t(1));
    // Check boxes store a clear bit when ticked.
    auto* talk = qobject_cast<QCheckBox*>(form->Control(0, 16));
    talk->click();
    QCOMPARE(Ws().data.Image().u16le(scanfld::kFlags) & 0x4, 0);
  }

  void priorityChannelRefusedForTrunkedZone() {
    QCOMPARE(int(Zones().CreateZone(0, '1')), 1);
    QCOMPARE(int(Zones().InsertRecord(0, 0)), 1);
    QCOMPARE(int(Zones().CreateZone(2, '0')), 1);
    Ws().data.Image().setU8(scanfld::kType1, '0');
    auto* view = Open<CScanView>(kCmdScan, EditorKind::Scan);
    QVERIFY(view);
    QWidget* zone = view->Form()->Control(0, scan::kPriority1Zone);
    QVERIFY(zone->isEnabled());
    app->prompter.messages.clear();
    Type(zone, "3");
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QCOMPARE(app->prompter.messages[0].text, QString::fromStdString(Ws().text.Text(303)));
    QCOMPARE(Ws().data.Ext().u8(ext::kPriority1), uint8_t(0xFF));
    QCOMPARE(qobject_cast<QLineEdit*>(zone)->text(), QString::fromStdString(Ws().text.Text(362)));
    Type(zone, "1");
    QCOMPARE(Ws().data.Ext().u8(ext::kPriority1), uint8_t(1));
    QWidget* channel = view->Form()->Control(0, scan::kPriority1Channel);
    QVERIFY(channel->isEnabled());
    Type(channel, "1");
    QCOMPARE(Ws().data.Ext().u8(ext::kPriority1 + 1), uint8_t(1));

    // Deleting zone 1 in Zone Information clears the priority channel, and
    // the scan window shows it at once.
    auto* zi = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(zi);
    zi->SetZone(0);
    app->prompter.answers = {kIdOk};
    const int ltrRow = zi->TypeBox()->findData(int('0'));
    Q_EMIT zi->TypeBox()->activated(ltrRow);
    Settle();
    QVERIFY(!Zones().ZoneExists(0));
    QCOMPARE(Ws().data.Ext().u8(ext::kPriority1), uint8_t(0xFF));
    QCOMPARE(qobject_cast<QLineEdit*>(zone)->text(), QString::fromStdString(Ws().text.Text(362)));
  }

  void scanListFollowsZoneDeletion() {
    for (int z : {4, 8}) {
      QCOMPARE(int(Zones().CreateZone(z, '1')), 1);
      QCOMPARE(int(Zones().InsertRecord(z, 0)), 1);
    }
    auto* zi = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(zi);
    zi->SetZone(4);
    // Opened from the scan window's button, on the zone Zone Information shows.
    auto* scanView = Open<CScanView>(kCmdScan, EditorKind::Scan);
    QVERIFY(scanView);
    QTest::mouseClick(scanView->ListButton(), Qt::LeftButton);
    Settle();
    auto* view = dynamic_cast<CScanListView*>(app->Frame().FindEditor(EditorKind::ScanList));
    QVERIFY(view);
    QCOMPARE(view->Zone(), 4);
    QVERIFY(view->Title().contains("5"));
    QListWidget* list = view->List();
    QCOMPARE(list->count(), 128);
    // A fresh list: nothing checked; rows of missing zones indeterminate.
    QCOMPARE(list->item(4)->checkState(), Qt::Unchecked);
    QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
    QVERIFY(!(list->item(0)->flags() & Qt::ItemIsEnabled));
    // Space on the current row ticks it; a disabled row does not move.
    list->setFocus();
    list->setCurrentRow(8);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(list->item(8)->checkState(), Qt::Checked);
    list->setCurrentRow(4);
    QTest::keyClick(list, Qt::Key_Space);
    const QByteArray before(reinterpret_cast<const char*>(Ws().data.Ext().ptr(0x700 + 16 * 4, 16)), 16);
    list->item(0)->setCheckState(Qt::Checked);  // zone 1 does not exist
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(Ws().data.Ext().ptr(0x700 + 16 * 4, 16)), 16), before);
    QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Ws().data.Ext().u8(0x700 + 16 * 4 + 1), uint8_t(0xFE));
    QCOMPARE(Ws().data.Ext().u8(0x700 + 16 * 4), uint8_t(0xEF));

    // Zone 9 deleted in Zone Information: the list shown for zone 5 updates.
    zi->SetZone(8);
    app->prompter.answers = {kIdOk};
    Q_EMIT zi->TypeBox()->activated(zi->TypeBox()->findData(int('0')));
    Settle();
    QVERIFY(!Zones().ZoneExists(8));
    QCOMPARE(Ws().data.Ext().u8(0x700 + 16 * 4 + 1), uint8_t(0xFF));
    QCOMPARE(list->item(8)->checkState(), Qt::PartiallyChecked);
    QVERIFY(!(list->item(8)->flags() & Qt::ItemIsEnabled));
    QCOMPARE(list->item(4)->checkState(), Qt::Checked);

    // Another zone through the zone box and F8.
    view->ZoneBox()->setValue(1);
    QCOMPARE(view->Zone(), 0);
    QCOMPARE(list->item(4)->checkState(), Qt::Unchecked);  // zone 1 has no block: nothing enabled
    QVERIFY(!(list->item(4)->flags() & Qt::ItemIsEnabled));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F8);
    QCOMPARE(view->Zone(), 127);
  }

  void dtmfMemoryAndTimingByKeys() {
    auto* view = Open<CDtmfView>(kCmdDtmf, EditorKind::Dtmf);
    QVERIFY(view);
    CFormRenderer* form = view->Form();
    QCOMPARE(form->Tabs()->count(), 3);
    // Speed: 9 typed becomes 8 ('1'); the spin goes on to 10.
    Type(form->Control(0, 0), "9");
    QCOMPARE(Ws().data.Image().u8(dtmffld::kSpeed), uint8_t('1'));
    QTest::mouseClick(form->Spin(0, 0)->Up(), Qt::LeftButton);
    QCOMPARE(Ws().data.Image().u8(dtmffld::kSpeed), uint8_t('2'));
    QCOMPARE(qobject_cast<QLineEdit*>(form->Control(0, 0))->text(), QString("10"));

    form->SetCurrentPage(2);
    CFieldGrid* mem = view->Grid(2);
    QVERIFY(mem);
    QCOMPARE(mem->Rows(), 33);
    GoTo(mem, 1, 2);
    TypeCell(mem, "12#");
    const size_t rec = ext::kNamedRecords;
    QCOMPARE(Ws().data.Ext().u8(rec + 16), uint8_t(3));
    QCOMPARE(Ws().data.Ext().u8(rec + 17), uint8_t(0x21));
    for (size_t i = 18; i < 25; ++i) QCOMPARE(Ws().data.Ext().u8(rec + i), uint8_t(0xFF));
    QCOMPARE(mem->Text(1, 2), QString("12#"));
    GoTo(mem, 2, 1);
    TypeCell(mem, "OFFICE");
    QCOMPARE(QString::fromLatin1(reinterpret_cast<const char*>(Ws().data.Ext().ptr(rec + 32, 6)), 6), QString("OFFICE"));

    // The stun/kill grid's decode column is a list.
    form->SetCurrentPage(1);
    CFieldGrid* stun = view->Grid(1);
    QVERIFY(stun);
    GoTo(stun, 2, 2);
    QTest::keyClick(stun, Qt::Key_Return);
    QComboBox* list = stun->CellList();
    QVERIFY(list->isVisible());
    list->setCurrentIndex(0);
    Q_EMIT list->activated(0);
    QCOMPARE(Ws().data.Image().u8(0x70E), uint8_t(0));
  }

  void twoToneClampsAndDecodeRows() {
    auto* view = Open<CTwoToneView>(kCmdTwoTone, EditorKind::TwoTone);
    QVERIFY(view);
    CFieldGrid* codes = view->Grid(0);
    QVERIFY(codes);
    GoTo(codes, 1, 2);
    TypeCell(codes, "3200");
    QCOMPARE(Ws().data.Image().u16le(twotonefld::kCodes + 12), uint16_t(31060));
    QCOMPARE(codes->Text(1, 2), QString("3106.0"));
    view->Form()->SetCurrentPage(2);
    CFieldGrid* decode = view->Grid(2);
    QVERIFY(decode);
    // The page's grid shows the set-up as it stands.
    QCOMPARE(decode->Text(4, 3), QString::fromStdString(Ws().text.Text(371)));
    GoTo(decode, 1, 1);
    QTest::keyClick(decode, Qt::Key_Return);
    // The first row offers no "none".
    QCOMPARE(decode->CellList()->count(), 16);
    decode->CellList()->setCurrentIndex(1);
    Q_EMIT decode->CellList()->activated(1);
    QCOMPARE(Ws().data.Image().u8(twotonefld::kDecode + 48 + 24), uint8_t('1'));
    GoTo(decode, 2, 1);
    QTest::keyClick(decode, Qt::Key_Return);
    QCOMPARE(decode->CellList()->count(), 16);  // none back in, A-B out
    QTest::keyClick(decode->CellList(), Qt::Key_Escape);
    // A second-generation model shows 8 characters of a code name.
    Type(view->Form()->Control(2, 1), "5000");
    QCOMPARE(Ws().data.Image().u16le(twotonefld::kDecode + 48), uint16_t(31060));
  }

  void screenshots() {
    const QByteArray dir = qgetenv("VB420_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("VB420_SCREENSHOT_DIR not set");
    for (const char* lang : {"en", "es"}) {
      app.reset();
      app = std::make_unique<AppFixture>();
      app->languageText = ::vb420::testsupport::ShippedLanguageText();
      app->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
      QVERIFY(app->Start({"voting"}));
      app->Frame().showNormal();
      app->Frame().resize(1400, 950);
      for (int z : {0, 1, 4}) {
        QCOMPARE(int(Zones().CreateZone(z, z == 1 ? '0' : '1')), 1);
        QCOMPARE(int(Zones().InsertRecord(z, 0)), 1);
      }
      scan::SetInScanList(Ws().data, 0, 0, true);
      scan::SetInScanList(Ws().data, 0, 4, true);
      const QString base = QString::fromUtf8(dir) + "/" + lang;
      auto shoot = [&](CEditorView* v, const QString& name) {
        Settle();
        auto* sub = qobject_cast<QMdiSubWindow*>(v->parentWidget());
        QWidget* w = sub ? static_cast<QWidget*>(sub) : v;
        if (sub) sub->resize(sub->sizeHint().expandedTo(QSize(520, 300)));
        QTest::qWait(100);
        QVERIFY(w->grab().save(base + name));
      };
      auto* scanView = dynamic_cast<CScanView*>(app->Frame().OpenEditor(EditorKind::Scan));
      QVERIFY(scanView);
      shoot(scanView, "-scan-0.png");
      scanView->Form()->SetCurrentPage(1);
      shoot(scanView, "-scan-1.png");
      shoot(app->Frame().OpenEditor(EditorKind::ScanList), "-scan-list.png");
      auto* dtmfView = dynamic_cast<CDtmfView*>(app->Frame().OpenEditor(EditorKind::Dtmf));
      for (int p = 0; p < 3; ++p) {
        dtmfView->Form()->SetCurrentPage(p);
        shoot(dtmfView, QString("-dtmf-%1.png").arg(p));
      }
      auto* toneView = dynamic_cast<CTwoToneView*>(app->Frame().OpenEditor(EditorKind::TwoTone));
      for (int p = 0; p < 2; ++p) {
        toneView->Form()->SetCurrentPage(p);
        shoot(toneView, QString("-twotone-%1.png").arg(p));
      }
    }
  }
};

VB420_QTEST(ScanDtmfTest)
#include "scan_dtmf_test.moc"
