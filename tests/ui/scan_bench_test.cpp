// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the scan, scan-list, DTMF and 2-tone windows open: each is opened
// through the frame (built, filled from the image and shown) and closed
// again. The scan list opens on a zone with every other zone present, so
// that all 128 rows are judged.
#include <QApplication>
#include <QTest>

#include "UiTestSupport.h"
#include "editors/scan/ScanFields.h"
#include "editors/zones/ui/ZoneServices.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class ScanBench : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFixture> app;

  void OpenAndClose(EditorKind kind) {
    QBENCHMARK {
      CEditorView* v = app->Frame().OpenEditor(kind);
      QVERIFY(v);
      QApplication::processEvents();
      app->Frame().CloseAllEditors();
      QApplication::processEvents();
    }
  }

 private Q_SLOTS:
  void initTestCase() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    CZoneMemory& zones = ZonesOf(app->Frame().Context()).zones;
    for (int z = 0; z < 128; z += 2) {
      QCOMPARE(int(zones.CreateZone(z, '1')), 1);
      QCOMPARE(int(zones.InsertRecord(z, 0)), 1);
      scan::SetInScanList(app->Ws().data, 0, z, true);
    }
    app->Frame().resize(1024, 768);
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanupTestCase() { app.reset(); }

  void openScan() { OpenAndClose(EditorKind::Scan); }
  void openScanList() { OpenAndClose(EditorKind::ScanList); }
  void openDtmf() { OpenAndClose(EditorKind::Dtmf); }
  void openTwoTone() { OpenAndClose(EditorKind::TwoTone); }
};

VB420_QTEST(ScanBench)
#include "scan_bench_test.moc"
