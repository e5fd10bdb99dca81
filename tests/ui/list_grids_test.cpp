// SPDX-License-Identifier: GPL-3.0-or-later
// Every list grid behaves alike: the same script (a valid value, one out of
// range, letters, Escape, a 3 x 3 block pasted from a spreadsheet, Delete,
// Ctrl+Z) runs on each of them, in English and in Spanish, and after every
// step the programming holds the bytes the settings operation stores for
// the same texts. Zone Merge's copy keys reach the window.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "UiTestSupport.h"
#include "app/UndoController.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/passport/ui/PassPortViews.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/plan/ui/ZnMergeView.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/signalling/ui/AlertTestDlg.h"
#include "editors/signalling/ui/SignalViews.h"
#include "editors/testfreq/ui/TestFreqView.h"
#include "editors/trunk/ui/TrunkViews.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/Files.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

// The texts of a list column's rows, for a pasted block.
QString Row(CFieldGrid* g, int col, int row) {
  auto rec = g->Bind(1);
  const auto texts = forms::FormEngine::ChoiceTexts(rec->Context(), *g->Field(col));
  return QString::fromStdString(texts.at(static_cast<size_t>(row)));
}

std::function<std::string(int)> Prefix(const std::string& head) {
  return [head](int row) { return head + std::to_string(row); };
}

// Zone Information showing zone `zone` (1-based), its grid of that class.
auto InZoneInfo(int zone) {
  return [zone](AppFixture& f, const std::function<void(CFieldGrid*)>& run) {
    auto* v = qobject_cast<CZnInfoView*>(f.Frame().OpenEditor(EditorKind::ZoneInfo));
    QVERIFY(v);
    v->SetZone(zone - 1);
    run(v->CurrentGridWidget());
  };
}

template <class View>
auto InWindow(EditorKind kind, std::function<CFieldGrid*(View*)> grid) {
  return [kind, grid](AppFixture& f, const std::function<void(CFieldGrid*)>& run) {
    f.Frame().CloseAllEditors();
    Settle();
    QApplication::setActiveWindow(&f.Frame());  // after a list that came as a dialog
    auto* v = qobject_cast<View*>(f.Frame().OpenEditor(kind));
    QVERIFY(v);
    run(grid(v));
  };
}

auto InDialog(int command) {
  return [command](AppFixture& f, const std::function<void(CFieldGrid*)>& run) {
    f.prompter.dialogs.push_back([&run](QDialog& d) {
      d.show();
      auto* dlg = qobject_cast<CPPListDlg*>(&d);
      run(dlg ? dlg->Grid() : nullptr);
      return 0;
    });
    f.Frame().RunCommand(command);
  };
}

std::vector<GridScriptCase> Cases() {
  std::vector<GridScriptCase> out;
  out.push_back({"Zone Information, channels", InZoneInfo(1), Prefix("zone.1.ch."), 1, 1, "146.52", "999.5", "xyz",
                 [](CFieldGrid* g) {
                   return "150.1\t150.6\t" + Row(g, 3, 5) + "\n150.2\t150.7\t" + Row(g, 3, 6) + "\n150.3\t150.8\t" +
                          Row(g, 3, 7);
                 }});
  out.push_back({"Zone Information, LTR groups", InZoneInfo(2), Prefix("zone.2.group."), 1, 1, "5", "999", "ab",
                 [](CFieldGrid*) { return QStringLiteral("7\t8\tABC\n9\t10\tDEF\n11\t12\tGHI"); }});
  out.push_back({"Zone Information, PassPort groups", InZoneInfo(3), Prefix("zone.3.group."), 1, 1, "100", "99999",
                 "ab", [](CFieldGrid* g) {
                   return "200\tAB\t" + Row(g, 3, 0) + "\n201\tCD\t" + Row(g, 3, 1) + "\n202\tEF\t" + Row(g, 3, 0);
                 }});
  out.push_back({"PassPort mobile IDs", InDialog(kCmdMobileIdNames), Prefix("ppmobile."), 1, 1, "1234", "99999", "ab",
                 [](CFieldGrid*) { return QStringLiteral("2001\tUNIT A\tX\n2002\tUNIT B\tY\n2003\tUNIT C\tZ"); }, true});
  out.push_back({"PassPort sites", InDialog(kCmdSiteInfo), Prefix("ppsite."), 1, 1, "5", "999", "ab",
                 [](CFieldGrid*) { return QStringLiteral("7\tSITE A\t3\n8\tSITE B\t4\n9\tSITE C\t5"); }, true});
  auto vantelix = [](bool ids) {
    return InWindow<CVantelixView>(EditorKind::Vantelix, [ids](CVantelixView* v) {
      v->Form()->Tabs()->setCurrentIndex(ids ? kVantelixIdPage : kVantelixStatusPage);
      return (ids ? v->IdGrid() : v->StatusGrid())->Grid();
    });
  };
  out.push_back({"Vantelix IDs", vantelix(true), Prefix("idlist."), 1, 1, "12", "999", "ab",
                 [](CFieldGrid*) { return QStringLiteral("21\t301\tCAR\n22\t302\tVAN\n23\t303\tBUS"); }});
  out.push_back({"Vantelix status", vantelix(false), Prefix("status."), 1, 1, "5", "99", "ab", [](CFieldGrid* g) {
                   return "6\tREADY\t" + Row(g, 3, 0) + "\n7\tBUSY\t" + Row(g, 3, 1) + "\n8\tAWAY\t" + Row(g, 3, 0);
                 }});
  out.push_back({"Repeaters", InWindow<CRepInfoView>(EditorKind::RepeaterInfo, [](CRepInfoView* v) {
                   v->SetZone(1);
                   return v->Grid();
                 }),
                 Prefix("zone.2.rep."), 1, 1, "151.5", "999", "ab", [](CFieldGrid* g) {
                   return "151.1\t151.6\t" + Row(g, 3, 1) + "\n151.2\t151.7\t" + Row(g, 3, 0) + "\n151.3\t151.8\t" +
                          Row(g, 3, 1);
                 }});
  out.push_back({"Test frequencies", InWindow<CTestFreqView>(EditorKind::TestFreq, [](CTestFreqView* v) { return v->Grid(); }),
                 Prefix("testfreq."), 1, 1, "150.5", "999", "ab",
                 [](CFieldGrid*) { return QStringLiteral("151.1\t151.6\tX\n151.2\t151.7\tY\n151.3\t151.8\tZ"); }});
  return out;
}

}  // namespace

class ListGridsTest : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFixture> app;

  void Start(int language) {
    app = std::make_unique<AppFixture>();
    app->languageText = ::vb420::testsupport::ShippedLanguageText();
    app->SetSetting("Backup/Language", language);
    QVERIFY(app->Start());
    Settle();
    app->Frame().resize(1024, 768);
    QApplication::setActiveWindow(&app->Frame());
    // Zone 2 is an LTR zone, zone 3 a PassPort zone, both without records.
    CZoneMemory zones(app->Ws().data);
    QCOMPARE(zones.CreateZone(1, '0'), ZoneResult::Done);
    QCOMPARE(zones.CreateZone(2, '5'), ZoneResult::Done);
    app->Frame().RefreshAllEditors();
  }

 private Q_SLOTS:
  void cleanup() { app.reset(); }

  void everyGridRunsTheSameScript_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 1;
    QTest::newRow("Spanish") << 2;
  }
  void everyGridRunsTheSameScript() {
    QFETCH(int, language);
    Start(language);
    for (const GridScriptCase& c : Cases()) {
      RunGridScript(*app, c);
      if (QTest::currentTestFailed()) return;
    }
  }

  // With VB420_SHOTS=<folder>: every list as it opens, in both languages.
  void screenshots() {
    const QString dir = qEnvironmentVariable("VB420_SHOTS");
    if (dir.isEmpty()) QSKIP("VB420_SHOTS not set");
    for (int language : {1, 2}) {
      Start(language);
      int n = 0;
      for (const GridScriptCase& c : Cases()) {
        c.with(*app, [&](CFieldGrid* g) {
          QVERIFY(g);
          QTest::qWait(100);
          QWidget* shown = g->window();
          shown->grab().save(QStringLiteral("%1/%2-list%3.png").arg(dir, language == 1 ? "en" : "es").arg(++n));
        });
      }
      app.reset();
    }
  }

  // A value typed in one window refreshes the windows that show its bytes,
  // not every open window; an undo refreshes them all.
  void aStoreRefreshesOnlyTheWindowsShowingItsBytes() {
    Start(1);
    auto* zi = qobject_cast<CZnInfoView*>(app->Frame().OpenEditor(EditorKind::ZoneInfo));
    auto* tf = qobject_cast<CTestFreqView*>(app->Frame().OpenEditor(EditorKind::TestFreq));
    QVERIFY(zi && tf);
    zi->SetZone(0);
    QSignalSpy ziRefills(zi->CurrentGridWidget()->Model(), &QAbstractItemModel::dataChanged);
    QSignalSpy tfRefills(tf->Grid()->Model(), &QAbstractItemModel::dataChanged);
    auto type = [](CFieldGrid* g, int row, int col, const QString& text) {
      g->setFocus();
      g->SetCurrent(row, col);
      QTest::keyClicks(g, text.left(1));
      QTest::keyClicks(g->CellEdit(), text.mid(1));
      QTest::keyClick(g->CellEdit(), Qt::Key_Return);
    };
    type(zi->CurrentGridWidget(), 1, 1, "146.52");
    QCOMPARE(zi->CurrentGridWidget()->Text(1, 1), QString("146.52000"));
    QCOMPARE(tfRefills.count(), 0);
    ziRefills.clear();
    type(tf->Grid(), 1, 1, "150.5");
    QCOMPARE(tf->Grid()->Text(1, 1), QString("150.50000"));
    QCOMPARE(ziRefills.count(), 0);
    app->Frame().Undo()->CommitNow();
    app->Frame().Undo()->Undo();
    QVERIFY(ziRefills.count() > 0);
  }

  // Ctrl+C and Ctrl+V are Zone Merge's own Copy and Paste of whole zones,
  // even while another window claims the same keys for its commands.
  void zoneMergeCopyKeysReachTheWindow() {
    Start(1);
    ZoneServices& z = ZonesOf(app->Frame().Context());
    QCOMPARE(z.conv.SetFrequency(0, 4, 3, "146.52", false).result, 1);
    QVERIFY(app->Frame().OpenEditor(EditorKind::ZoneInfo));  // its Channel Function menu has Ctrl+C and Ctrl+V
    auto* v = qobject_cast<CZnMergeView*>(app->Frame().OpenEditor(EditorKind::ZoneMerge));
    QVERIFY(v);
    Settle();
    v->ZoneGrid()->setFocus();
    v->ZoneGrid()->SetCurrent(1, 1);
    QTest::keyClick(v->ZoneGrid(), Qt::Key_C, Qt::ControlModifier);
    v->EntryGrid()->setFocus();
    v->EntryGrid()->SetCurrent(2, 1);
    QTest::keyClick(v->EntryGrid(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    // Entry 2 holds zone 1, a conventional zone.
    QVERIFY(SlotUsed(app->Ws().data.mergeSlots, 1));
    QCOMPARE(app->Ws().data.mergeSlots.entries[1].block[1], uint8_t('1'));
  }
};

VB420_QTEST(ListGridsTest)
#include "list_grids_test.moc"
