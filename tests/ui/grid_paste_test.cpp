// SPDX-License-Identifier: GPL-3.0-or-later
// Spreadsheet interchange in the grids: the selected rows go to the
// clipboard as tab-separated text, and tab-separated text from another
// program is stored cell by cell by the typing rules of Zone Information.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>
#include <ctime>

#include "UiTestSupport.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/ui/AlertTestDlg.h"
#include "editors/signalling/ui/SignalViews.h"
#include "app/UndoController.h"
#include "editors/grid/EditGrid.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneServices.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class GridPasteTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;
  CEditGrid* grid = nullptr;

  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  void Paste(const QString& text) {
    QApplication::clipboard()->setText(text);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    Settle();
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    auto overrides = StandardOverrides();
    overrides[1186] = "%s refused";
    app->languageText = MakeLanguageFile(overrides);
    QVERIFY(app->Start());
    Settle();
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
    grid = view->CurrentGridWidget();
    app->Frame().activateWindow();
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanup() { app.reset(); }

  void spreadsheetBlockFillsAnEmptyZone() {
    QString block;
    for (int i = 0; i < 250; ++i) {
      const double rx = 150.0 + i * 0.0125;
      block += QStringLiteral("%1\t%2\t67.0\t67.0\tCH%3\r\n").arg(rx, 0, 'f', 5).arg(rx + 0.6, 0, 'f', 5).arg(i + 1);
    }
    grid->SetCurrent(1, 1);
    QElapsedTimer t;
    t.start();
    const std::clock_t cpu = std::clock();
    Paste(block);
    const qint64 ms = t.elapsed();
    qInfo("paste of 250 rows x 5 columns into an empty zone: %lld ms (%.0f ms of processor time)", ms,
          1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC);
    QCOMPARE(Zones().RecordCount(0), 250);
    QVERIFY(app->prompter.messages.empty());
    QCOMPARE(grid->Text(1, 1), QString("150.00000"));
    QCOMPARE(grid->Text(250, 2), QString("153.71250"));
    QCOMPARE(grid->Text(250, 3), QString("67.0"));
    QCOMPARE(grid->Text(250, 5).trimmed(), QString("CH250"));
    // The paste is one step.
    QCOMPARE(app->Frame().Undo()->History().UndoSteps(), size_t(1));
    app->Frame().Undo()->UndoAction()->trigger();
    QVERIFY(!Zones().ZoneExists(0));
  }

  void badCellsAreSkippedAndCountedInOneMessage() {
    grid->SetCurrent(1, 1);
    // Row 2's transmit frequency is no number, row 3 has no receive frequency
    // for its name to go with, and the tone of row 1 has a letter the tone
    // box does not take.
    Paste("146.52\t146.52\t67.0\tX67\tONE\n147.1\tabc\t\t\tTWO\n\t\t\t\tTHREE\n");
    QCOMPARE(Zones().RecordCount(0), 2);
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QCOMPARE(app->prompter.messages[0].text, QString("3 refused"));
    QCOMPARE(grid->Text(1, 5).trimmed(), QString("ONE"));
    QCOMPARE(grid->Text(2, 2), QString("147.10000"));  // copied from the receive frequency, not "abc"
    QCOMPARE(grid->Text(2, 5).trimmed(), QString("TWO"));
  }

  void copiedRowsAreTabSeparatedAndOwnCopyStaysARecordPaste() {
    grid->SetCurrent(1, 1);
    Paste("146.52\t\t\t\tONE\n147.1\t\t\t\tTWO\n");
    QCOMPARE(Zones().RecordCount(0), 2);
    grid->setFocus();
    grid->SetCurrent(1, 1);
    grid->SelectRows(1, 2);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    const QStringList lines = copied.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].section('\t', 0, 0), QString("146.52000"));
    QCOMPARE(lines[0].section('\t', 4, 4), QString("ONE"));
    QCOMPARE(lines[1].count('\t'), grid->Cols() - 2);
    // With headings.
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text().section('\n', 0, 0).section('\t', 0, 0), grid->Text(0, 1));
    // A pasted heading line (and the record numbers with it) is no data.
    const QString withNumbers = "\t" + grid->Text(0, 1) + "\t" + grid->Text(0, 2) + "\n9\t148.0\n";
    grid->SetRowSelectMode(false);
    grid->SetCurrent(5, 1);
    Paste(withNumbers.mid(0, 0) + grid->Text(0, 0) + withNumbers);
    QCOMPARE(grid->Text(5, 1), QString("148.00000"));
    QVERIFY(app->prompter.messages.empty());
  }

  void idListTakesASpreadsheetBlockByItsCellRules() {
    app->Frame().RunCommand(kCmdVantelix);
    Settle();
    auto* vx = dynamic_cast<CVantelixView*>(app->Frame().FindEditor(EditorKind::Vantelix));
    QVERIFY(vx);
    grid = vx->IdGrid()->Grid();
    grid->SetCurrent(1, 1);
    // Row 2's ID is no number: that cell alone is refused.
    Paste("5\t123\tBASE\n7\tabc\tTRUCK\n");
    QCOMPARE(grid->Text(1, 3).trimmed(), QString("BASE"));
    QCOMPARE(grid->Text(2, 3).trimmed(), QString("TRUCK"));
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QCOMPARE(app->prompter.messages[0].text, QString("1 refused"));
    forms::SettingLine line;
    QCOMPARE(forms::GetSetting(app->Ws().data, app->Ws().text, "idlist.1.name", line), forms::SettingStatus::Ok);
    QCOMPARE(QString::fromStdString(line.text).trimmed(), QString("BASE"));
  }
};

VB420_QTEST(GridPasteTest)
#include "grid_paste_test.moc"
