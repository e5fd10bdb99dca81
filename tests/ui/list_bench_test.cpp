// SPDX-License-Identifier: GPL-3.0-or-later
// How fast every list window opens, painted once so that the rows shown are
// really read from the image: Zone Information on a full zone, Zone Merge,
// the PassPort mobile-ID and site lists, the Vantelix ID and status lists,
// the repeater grid, the test frequencies and the memory viewer.
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTest>

#include "UiTestSupport.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/signalling/ui/AlertTestDlg.h"
#include "editors/signalling/ui/SignalViews.h"
#include "editors/zones/ui/ZoneServices.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class ListBench : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFixture> app;

  // Opens the window of `kind` from a closed editor area and paints it.
  void OpenWindow(EditorKind kind) {
    app->Frame().CloseAllEditors();
    Settle();
    CEditorView* v = app->Frame().OpenEditor(kind);
    QVERIFY(v);
    v->grab();
  }
  // A list that opens as a dialog of its command: painted, then closed.
  void OpenDialog(int command) {
    bool shown = false;
    app->prompter.dialogs.push_back([&shown](QDialog& d) {
      d.grab();
      shown = true;
      return 0;
    });
    app->Frame().RunCommand(command);
    QVERIFY(shown);
  }
  void OpenVantelixPage(int page) {
    app->Frame().CloseAllEditors();
    Settle();
    auto* v = qobject_cast<CVantelixView*>(app->Frame().OpenEditor(EditorKind::Vantelix));
    QVERIFY(v);
    v->Form()->Tabs()->setCurrentIndex(page);
    v->grab();
  }

 private Q_SLOTS:
  void initTestCase() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    ZoneServices& z = ZonesOf(app->Frame().Context());
    for (int ch = 0; ch < 250; ++ch)
      QCOMPARE(z.conv.SetFrequency(0, ch, 3, std::to_string(150.0 + ch * 0.0125), false).result, 1);
    app->Frame().resize(1024, 768);
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanupTestCase() { app.reset(); }

  void openZoneInformation() { QBENCHMARK { OpenWindow(EditorKind::ZoneInfo); } }
  void openZoneMerge() { QBENCHMARK { OpenWindow(EditorKind::ZoneMerge); } }
  void openPassPortMobileIds() { QBENCHMARK { OpenDialog(kCmdMobileIdNames); } }
  void openPassPortSites() { QBENCHMARK { OpenDialog(kCmdSiteInfo); } }
  void openVantelixIdList() { QBENCHMARK { OpenVantelixPage(kVantelixIdPage); } }
  void openVantelixStatusList() { QBENCHMARK { OpenVantelixPage(kVantelixStatusPage); } }
  void openRepeaters() { QBENCHMARK { OpenWindow(EditorKind::RepeaterInfo); } }
  void openTestFrequencies() { QBENCHMARK { OpenWindow(EditorKind::TestFreq); } }
  void openMemoryViewer() { QBENCHMARK { OpenDialog(kCmdMemoryMap); } }

};

VB420_QTEST(ListBench)
#include "list_bench_test.moc"
