// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the grid feels: opening Zone Information on a full zone, switching
// zones with F7, typing a frequency into a cell. Run with -tickcounter or the
// default wall clock; each benchmark paints the grid so that the rows shown
// are really read from the image.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "UiTestSupport.h"
#include "app/UndoController.h"
#include "editors/grid/EditGrid.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class ZoneBench : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFixture> app;

  CZnInfoView* View() { return dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo)); }

  // Zone 1 with 250 channels, zone 2 with as many as the memory holds.
  void FillZones() {
    ZoneServices& z = ZonesOf(app->Frame().Context());
    for (int ch = 0; ch < 250; ++ch)
      QCOMPARE(z.conv.SetFrequency(0, ch, 3, std::to_string(150.0 + ch * 0.0125), false).result, 1);
    for (int ch = 0; ch < 250; ++ch)
      if (z.conv.SetFrequency(1, ch, 3, std::to_string(160.0 + ch * 0.0125), false).result != 1) break;
    QCOMPARE(z.zones.RecordCount(0), 250);
    QVERIFY(z.zones.RecordCount(1) > 100);
  }

 private Q_SLOTS:
  void initTestCase() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    FillZones();
    app->Frame().resize(1024, 768);
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanupTestCase() { app.reset(); }

  // With VB420_SHOTS=<folder>: pictures of Zone Information with the full
  // zone, of the channel editor and of the memory viewer.
  void screenshots() {
    const QString dir = qEnvironmentVariable("VB420_SHOTS");
    if (dir.isEmpty()) QSKIP("VB420_SHOTS not set");
    app->Frame().CloseAllEditors();
    Settle();
    app->Frame().showNormal();
    app->Frame().resize(1100, 800);
    app->Frame().OpenEditor(EditorKind::ZoneInfo);
    CZnInfoView* v = View();
    v->SetZone(0);
    v->parentWidget()->resize(900, 620);
    v->CurrentGridWidget()->SelectRows(3, 5);
    QTest::qWait(200);
    app->Frame().grab().save(dir + "/zone_info.png");
    v->CurrentGridWidget()->SetCurrent(4, 1);
    v->RunCommand(kCmdChannelEditCmd);
    Settle();
    QTest::qWait(200);
    app->Frame().grab().save(dir + "/channel_edit.png");
    app->prompter.dialogs.push_back([&](QDialog& d) -> int {
      d.show();
      QTest::qWait(200);
      d.grab().save(dir + "/memory_viewer.png");
      return 0;
    });
    app->Frame().RunCommand(kCmdMemoryMap);
  }

  void openZoneInformationOnAFullZone() {
    QBENCHMARK {
      app->Frame().CloseAllEditors();
      Settle();
      app->Frame().OpenEditor(EditorKind::ZoneInfo);
      CZnInfoView* v = View();
      QVERIFY(v);
      v->grab();  // paints the visible rows
    }
    QCOMPARE(View()->CurrentGridWidget()->Text(250, 1), QString("153.11250"));
  }

  void zoneSwitchWithF7() {
    app->Frame().OpenEditor(EditorKind::ZoneInfo);
    CZnInfoView* v = View();
    v->SetZone(0);
    CEditGrid* g = v->CurrentGridWidget();
    g->setFocus();
    QBENCHMARK {
      QTest::keyClick(g, Qt::Key_F7);  // full zone 1 -> zone 2
      v->grab();
      QTest::keyClick(g, Qt::Key_F8);  // and back: two switches per round
      v->grab();
    }
    QCOMPARE(v->Zone(), 0);
  }

  // Alone, and with the other list windows open beside it: a store then
  // refreshes only the windows that show the bytes it changed; the undo
  // history records the step as it does once the event loop waits.
  void typeAFrequencyIntoACell_data() {
    QTest::addColumn<bool>("others");
    QTest::newRow("alone") << false;
    QTest::newRow("with the list windows") << true;
  }
  void typeAFrequencyIntoACell() {
    QFETCH(bool, others);
    app->Frame().CloseAllEditors();
    Settle();
    if (others)
      for (EditorKind k : {EditorKind::TestFreq, EditorKind::RepeaterInfo, EditorKind::Vantelix, EditorKind::ZoneMerge})
        QVERIFY(app->Frame().OpenEditor(k));
    app->Frame().OpenEditor(EditorKind::ZoneInfo);
    CZnInfoView* v = View();
    v->SetZone(0);
    CEditGrid* g = v->CurrentGridWidget();
    g->setFocus();
    int n = 0;
    QBENCHMARK {
      g->SetCurrent(125, 1);
      QTest::keyClicks(g, "1");
      QWidget* ed = QApplication::focusWidget();
      QTest::keyClicks(ed, (n++ % 2) ? "46.52" : "46.54");
      QTest::keyClick(ed, Qt::Key_Return);
      if (others) app->Frame().Undo()->CommitNow();
      v->grab();
    }
    QVERIFY(v->CurrentGridWidget()->Text(125, 1).startsWith("146.5"));
  }
};

VB420_QTEST(ZoneBench)
#include "zone_bench_test.moc"
