// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the trunking windows feel: opening each of them on a full zone
// (an LTR zone with 250 groups and 20 repeaters, a PassPort zone with 250
// groups) and storing a typed value from the key press to the refreshed
// windows. Each benchmark paints the window so that what is shown is really
// read from the image.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include "UiTestSupport.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/trunk/ui/TrunkViews.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class TrunkBench : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFixture> app;

  CEditorView* OpenFresh(EditorKind kind) {
    app->Frame().CloseAllEditors();
    Settle();
    app->Frame().OpenEditor(EditorKind::ZoneInfo);
    auto* zi = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    zi->SetZone(kind == EditorKind::PPSysData || kind == EditorKind::PPSearchHold || kind == EditorKind::PPSeedFreq ? 1 : 0);
    CEditorView* v = app->Frame().OpenEditor(kind);
    v->grab();
    return v;
  }

 private Q_SLOTS:
  void initTestCase() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    ZoneServices& z = ZonesOf(app->Frame().Context());
    for (int g = 0; g < 250; ++g) QCOMPARE(z.groups.SetLtrField(0, g, 2, std::to_string(g % 250 + 1)).result, 1);
    for (int r = 0; r < 20; ++r)
      QCOMPARE(z.groups.SetRepeaterFrequency(0, r, 1, std::to_string(150.0 + r * 0.5), false).result, 1);
    for (int g = 0; g < 250; ++g) QCOMPARE(z.groups.SetPassPortColumn(1, g, 1, std::to_string(1000 + g)).result, 1);
    QCOMPARE(z.zones.RecordCount(0), 250);
    QCOMPARE(z.zones.RecordCount(1), 250);
    app->Frame().resize(1400, 900);
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanupTestCase() { app.reset(); }

  void openWindowOnAFullZone_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("trunk zone") << int(EditorKind::TrunkZoneEdit);
    QTest::newRow("gid") << int(EditorKind::GidEdit);
    QTest::newRow("repeaters") << int(EditorKind::RepeaterInfo);
    QTest::newRow("pp system") << int(EditorKind::PPSysData);
    QTest::newRow("pp search") << int(EditorKind::PPSearchHold);
    QTest::newRow("pp seed") << int(EditorKind::PPSeedFreq);
  }
  void openWindowOnAFullZone() {
    QFETCH(int, kind);
    const auto k = static_cast<EditorKind>(kind);
    OpenFresh(k);
    // Only the opening is timed: the window is closed again outside.
    QElapsedTimer t;
    qint64 total = 0;
    constexpr int kRounds = 10;
    for (int i = 0; i < kRounds; ++i) {
      if (auto* open = app->Frame().FindEditor(k)) qobject_cast<CChildFrame*>(open->parentWidget())->ForceClose();
      Settle();
      t.start();
      CEditorView* v = app->Frame().OpenEditor(k);
      v->grab();
      total += t.nsecsElapsed();
    }
    qInfo("open %s: %.1f ms", QTest::currentDataTag(), total / 1e6 / kRounds);
  }

  void typeARepeaterFrequency() {
    auto* rv = dynamic_cast<CRepInfoView*>(OpenFresh(EditorKind::RepeaterInfo));
    QVERIFY(rv);
    CEditGrid* g = rv->Grid();
    g->setFocus();
    int n = 0;
    QBENCHMARK {
      g->SetCurrent(10, 1);
      QTest::keyClicks(g, "1");
      QTest::keyClicks(rv->CellEdit(), (n++ % 2) ? "52.5" : "52.6");
      QTest::keyClick(rv->CellEdit(), Qt::Key_Return);
      rv->grab();
    }
    QVERIFY(g->Text(10, 2).startsWith("157.5") || g->Text(10, 2).startsWith("157.6"));
  }

  void typeATrunkHeaderField() {
    auto* te = dynamic_cast<CTrunkEditView*>(OpenFresh(EditorKind::TrunkZoneEdit));
    QVERIFY(te);
    QWidget* box = te->Form()->Control(0, te->IndexOf("8"));
    QVERIFY(box);
    auto* edit = qobject_cast<QLineEdit*>(box);
    if (!edit) edit = box->findChild<QLineEdit*>();
    QVERIFY2(edit, qPrintable(box->metaObject()->className()));
    int n = 0;
    QBENCHMARK {
      edit->setFocus();
      edit->selectAll();
      QTest::keyClicks(edit, (n++ % 2) ? "120" : "130");
      QTest::keyClick(edit, Qt::Key_Return);
      te->grab();
    }
    QVERIFY(edit->text() == "120" || edit->text() == "130");
  }
};

VB420_QTEST(TrunkBench)
#include "trunk_bench_test.moc"
