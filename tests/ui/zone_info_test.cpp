// SPDX-License-Identifier: GPL-3.0-or-later
// Zone Information, the channel editor and the memory viewer, driven with
// keys as a user types them; the image bytes are the judge.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "UiTestSupport.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "editors/zones/ui/ChEditView.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "data/ui/MemoryViewer.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

QByteArray Bytes(Workspace& ws, size_t offset, size_t n) {
  QByteArray b(static_cast<int>(n), 0);
  ws.data.Image().read(offset, b.data(), n);
  return b;
}

}  // namespace

class ZoneInfoTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;
  CEditGrid* grid = nullptr;

  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  // Moves the cursor with keys from the first cell.
  void GoTo(int row, int col) {
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    for (int r = 1; r < row; ++r) QTest::keyClick(grid, Qt::Key_Down);
    for (int c = 1; c < col; ++c) QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->Row(), row);
    QCOMPARE(grid->Col(), col);
  }
  // Types into the current cell and confirms with Enter.
  void TypeCell(const QString& text) {
    QTest::keyClicks(grid, text.left(1));
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    QTest::keyClicks(ed, text.mid(1));
    QTest::keyClick(ed, Qt::Key_Return);
  }
  void ClearCell() {
    QTest::keyClick(grid, Qt::Key_Return);  // opens the editor on the cell text
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    auto* le = qobject_cast<QLineEdit*>(ed);
    QVERIFY(le);
    le->selectAll();
    QTest::keyClick(ed, Qt::Key_Backspace);
    QTest::keyClick(ed, Qt::Key_Return);
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
    Settle();
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
    grid = view->CurrentGridWidget();
    app->Frame().activateWindow();
    QApplication::setActiveWindow(&app->Frame());
  }
  void cleanup() {
    app.reset();
  }

  void newChannelThreeGoesAfterTwoWithItsDefaults() {
    CZoneMemory& zm = Zones();
    QCOMPARE(zm.CreateZone(0, '1'), 1);
    QCOMPARE(zm.InsertRecord(0, 0), 1);
    QCOMPARE(zm.InsertRecord(0, 1), 1);
    view->Refresh();
    GoTo(3, 1);
    TypeCell("146.52");
    const int ch2 = zm.FindRecord(0, 1);
    const int ch3 = zm.FindRecord(0, 2);
    QCOMPARE(ch3, ch2 + 48);
    Workspace& ws = app->Ws();
    QCOMPARE(uint8_t(ws.data.Image().u8(ch3)), uint8_t(3));
    QCOMPARE(Bytes(ws, ch3 + 1, 4), QByteArray("\x00\x20\x65\x14", 4));  // 14652000 x 10 Hz, packed BCD
    QCOMPARE(Bytes(ws, ch3 + 5, 4), QByteArray("\x00\x20\x65\x14", 4));  // copied to transmit
    QCOMPARE(ws.data.Image().u8(ch3 + 9), ws.data.Image().u8(ch3 + 10));
    QCOMPARE(Bytes(ws, ch3 + 15, 12), QByteArray("  CH   3\0\0\0\0", 12));
    QCOMPARE(ws.data.Image().u16le(ch3 + 46) & 1, 0);  // bit 0 cleared
    QCOMPARE(ws.data.Image().u16le(ch3 + 46) & 0x80, 0x80);  // a mobile: transmit-check flag set
    QCOMPARE(ws.data.Image().u8(zm.ZoneOffset(0) + 4), 3);
    // The cursor moved on and the row shows the channel.
    QCOMPARE(grid->Row(), 3);
    QCOMPARE(grid->Col(), 2);
    QCOMPARE(grid->Text(3, 1), QString("146.52000"));
    QCOMPARE(grid->Text(3, 5), QString("  CH   3"));
    QVERIFY(view->FreeLine()->text().contains(QString::number(zm.FreeBytes())));
  }

  void clearingFrequenciesTurnsToneOffAndDeletesTheChannel() {
    CZoneMemory& zm = Zones();
    GoTo(1, 1);
    TypeCell("151.625");  // creates zone 1 with the remembered type
    QVERIFY(zm.ZoneExists(0));
    QCOMPARE(zm.ZoneType(0), uint8_t('1'));
    GoTo(1, 4);
    TypeCell("d023n");
    const int rec = zm.FindRecord(0, 0);
    QCOMPARE(grid->Text(1, 4), QString("D023N"));
    const uint16_t tone = app->Ws().data.Image().u16le(rec + 13);
    QCOMPARE(tone, app->Ws().data.field.TextToTone("D023N"));
    GoTo(1, 2);
    ClearCell();
    QCOMPARE(Bytes(app->Ws(), rec + 5, 4), QByteArray("\xFF\xFF\xFF\xFF", 4));
    QCOMPARE(app->Ws().data.Image().u16le(rec + 13), 0xFFFF);
    QCOMPARE(grid->Text(1, 4), QString("E362"));  // the transmit tone shows off
    GoTo(1, 1);
    ClearCell();
    QCOMPARE(zm.FindRecord(0, 0), -1);
    QCOMPARE(grid->Text(1, 1), QString());
  }

  void decimalCellTakesTheLocaleSeparatorOnce() {
    app->Ws().data.freq.SetDecimalSeparator(',');
    app->Ws().data.field.SetDecimalSeparator(',');
    GoTo(1, 1);
    QTest::keyClicks(grid, "1");
    auto* ed = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(ed);
    QTest::keyClicks(ed, "46,5,2");
    QCOMPARE(ed->text(), QString("146,52"));
    QTest::keyClick(ed, Qt::Key_Return);
    const int rec = Zones().FindRecord(0, 0);
    QVERIFY(rec > 0);
    QCOMPARE(Bytes(app->Ws(), rec + 1, 4), QByteArray("\x00\x20\x65\x14", 4));
  }

  void cursorRulesAndZoneWrap() {
    GoTo(1, 1);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid->Row(), 250);
    QCOMPARE(grid->Col(), 9);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->Row(), 250);
    QCOMPARE(grid->Col(), 9);
    // A missing channel: only its receive frequency can be entered.
    GoTo(4, 3);
    QTest::keyClicks(grid, "6");
    QCOMPARE(grid->Col(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // F8 on zone 1 shows zone 128, F7 back to 1.
    QCOMPARE(view->Zone(), 0);
    QTest::keyClick(grid, Qt::Key_F8);
    QCOMPARE(view->Zone(), 127);
    QCOMPARE(view->ZoneBox()->text(), QString("128"));
    QVERIFY(view->Title().contains("128"));
    QTest::keyClick(grid, Qt::Key_F7);
    QCOMPARE(view->Zone(), 0);
  }

  void copyRowsOneToThreeAndPasteAtTen() {
    CZoneMemory& zm = Zones();
    GoTo(1, 1);
    TypeCell("150.1");
    GoTo(2, 1);
    TypeCell("150.2");
    GoTo(3, 1);
    TypeCell("150.3");
    GoTo(1, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    int first = 0, last = 0;
    grid->SelectedRows(first, last);
    QCOMPARE(first, 1);
    QCOMPARE(last, 3);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    GoTo(10, 1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) {
      const int src = zm.FindRecord(0, i);
      const int dst = zm.FindRecord(0, 9 + i);
      QVERIFY(dst > 0);
      QCOMPARE(app->Ws().data.Image().u8(dst), uint8_t(10 + i));
      QCOMPARE(Bytes(app->Ws(), dst + 1, 45), Bytes(app->Ws(), src + 1, 45));
    }
    QCOMPARE(grid->Text(11, 1), QString("150.20000"));
    QCOMPARE(zm.RecordCount(0), 6);

    // to Clip(w/Title): captions, then the rows, tab-separated, as every
    // list copies them (the data columns, each cell trimmed).
    GoTo(1, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    view->RunCommand(kCmdGridToClipTitle);
    const QString got = QApplication::clipboard()->text();
    QCOMPARE(got, QString("E382\tE383\tE385\tE384\tE386\tE387\tE388\tE389\tE390\n"
                          "150.10000\t150.10000\tE362\tE362\tCH   1\tE1084\tE436\tE372\tE362\n"
                          "150.20000\t150.20000\tE362\tE362\tCH   2\tE1084\tE436\tE372\tE362\n"));
    QVERIFY(!grid->RowSelectState());
  }

  void retypingToAnotherClassAsksFirst() {
    CZoneMemory& zm = Zones();
    GoTo(1, 1);
    TypeCell("150.1");
    QComboBox* type = view->TypeBox();
    const int ltrRow = type->findData(int('0'));
    QVERIFY(ltrRow >= 0);
    app->prompter.answers = {kIdCancel};
    type->setCurrentIndex(ltrRow);
    Q_EMIT type->activated(ltrRow);
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QVERIFY(app->prompter.messages[0].text.contains("1"));
    QVERIFY(zm.ZoneExists(0));
    QCOMPARE(type->currentData().toInt(), int('1'));
    app->prompter.answers = {kIdOk};
    Q_EMIT type->activated(ltrRow);
    QVERIFY(!zm.ZoneExists(0));
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kLtrGrid));
    // The LTR zone comes with its first group ID.
    grid = view->CurrentGridWidget();
    GoTo(1, 1);
    TypeCell("12");
    QCOMPARE(zm.ZoneType(0), uint8_t('0'));
    QCOMPARE(app->Ws().data.Image().u8(zm.FindRecord(0, 0) + 2), 12);
  }

  // A PassPort zone's name is its system's name (header +6): shown and typed
  // in the zone name box like any other zone's.
  void passPortZoneNameIsShownAndEdited() {
    CZoneMemory& zm = Zones();
    QCOMPARE(zm.CreateZone(2, '5'), 1);
    const int header = zm.ZoneOffset(2);
    ByteArea image = app->Ws().data.Image();
    const char stored[12] = {'H', 'I', 'L', 'L', 'S', 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) image.setU8(header + 6 + i, uint8_t(stored[i]));
    view->SetZone(2);
    QCOMPARE(view->NameBox()->text(), QStringLiteral("HILLS"));
    QVERIFY(view->NameBox()->isEnabled());
    view->NameBox()->setFocus();
    view->NameBox()->selectAll();
    QTest::keyClicks(view->NameBox(), "NORTH");
    QTest::keyClick(view->NameBox(), Qt::Key_Return);
    QCOMPARE(Bytes(app->Ws(), header + 6, 12), QByteArray("NORTH\0\0\0\0\0\0\0", 12));
    view->SetZone(0);
    view->SetZone(2);
    QCOMPARE(view->NameBox()->text(), QStringLiteral("NORTH"));
  }

  void hornAlertRefusedOnPortables() {
    app->Ws().data.model.SetModel(8);
    app->Ws().data.SyncCodecs();
    const int ppRow = view->TypeBox()->findData(int('5'));
    Q_EMIT view->TypeBox()->activated(ppRow);
    grid = view->CurrentGridWidget();
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kPassPortGrid));
    GoTo(1, 1);
    TypeCell("100");
    GoTo(1, 7);
    app->prompter.messages.clear();
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QCOMPARE(app->prompter.messages[0].text, QString("E1298"));  // from the language file
  }

  void channelEditorCommitsAnOpenEditOnClose() {
    GoTo(1, 1);
    TypeCell("150.1");
    view->RunCommand(kCmdChannelEditCmd);
    Settle();
    auto* ch = dynamic_cast<CChEditView*>(app->Frame().FindEditor(EditorKind::ChannelEdit));
    QVERIFY(ch);
    QCOMPARE(ch->Zone(), 0);
    QCOMPARE(ch->Channel(), 0);
    auto* name = qobject_cast<CFilterEdit*>(ch->Form()->Control(0, CChEditView::kName));
    QVERIFY(name && name->isEnabled());
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "base");
    QCOMPARE(name->text(), QString("base"));
    // The user closes the window while the name is still being typed.
    QMdiSubWindow* frame = app->Frame().Mdi()->activeSubWindow();
    QVERIFY(frame);
    frame->close();
    Settle();
    QVERIFY(!app->Frame().FindEditor(EditorKind::ChannelEdit));
    const int rec = Zones().FindRecord(0, 0);
    QCOMPARE(Bytes(app->Ws(), rec + 15, 4), QByteArray("base"));
    // The grid was told.
    QCOMPARE(view->CurrentGridWidget()->Text(1, 5), QString("base"));
  }

  void channelEditorStepsZonesAndDisablesMissingFields() {
    view->RunCommand(kCmdChannelEditCmd);
    Settle();
    auto* ch = dynamic_cast<CChEditView*>(app->Frame().FindEditor(EditorKind::ChannelEdit));
    QVERIFY(ch);
    QVERIFY(!ch->Form()->Control(0, CChEditView::kTxFreq)->isEnabled());
    auto* rx = qobject_cast<CFilterEdit*>(ch->Form()->Control(0, CChEditView::kRxFreq));
    rx->setFocus();
    QTest::keyClicks(rx, "155.5");
    QTest::keyClick(rx, Qt::Key_Return);
    QVERIFY(Zones().FindRecord(0, 0) > 0);
    QVERIFY(ch->Form()->Control(0, CChEditView::kTxFreq)->isEnabled());
    QTest::keyClick(rx, Qt::Key_F8);
    QCOMPARE(ch->Zone(), 127);
    QVERIFY(!ch->Form()->Control(0, CChEditView::kTxFreq)->isEnabled());
    // Zone Information shows the channel made here.
    QCOMPARE(view->CurrentGridWidget()->Text(1, 1), QString("155.50000"));
  }

  void memoryViewerBottomLeftIsZeroAndSevenEnterStoresSeven() {
    Workspace& ws = app->Ws();
    ws.data.Image().setU8(0, 0x42);
    bool checked = false;
    app->prompter.dialogs.push_back([&](QDialog& d) -> int {
      CheckImageViewer(static_cast<CMemoryViewDlg&>(d));
      checked = true;
      return d.result();
    });
    app->Frame().RunCommand(kCmdMemoryMap);
    QVERIFY(checked);
    QCOMPARE(ws.data.Image().u8(0), 0x07);

    // Unchanged: OK reports no change. The EEPROM viewer has 288 rows.
    app->prompter.dialogs.push_back([&](QDialog& d) -> int {
      auto& dlg = static_cast<CMemoryViewDlg&>(d);
      rows = dlg.Grid()->Rows();
      topLabel = dlg.Grid()->Text(1, 0);
      dlg.Confirm();
      return d.result();
    });
    QCOMPARE(EepromViewer(app->Frame().Context()).OpenWhole(nullptr, ws.text, app->prompter), 0);
    QCOMPARE(rows, 289);
    QCOMPARE(topLabel, QString("   11F_"));
  }

 private:
  int rows = 0;
  QString topLabel;
  void CheckImageViewer(CMemoryViewDlg& dlg) {
    Workspace& ws = app->Ws();
    dlg.show();
    CEditGrid* g = dlg.Grid();
    QCOMPARE(g->Rows(), 3073);
    QCOMPARE(g->Row(), 3072);
    QCOMPARE(g->Col(), 1);
    QCOMPARE(dlg.AddressBox()->text(), QString("0000"));
    QCOMPARE(g->Text(3072, 0), QString("   000_"));
    QCOMPARE(g->Text(1, 0), QString("   BFF_"));
    QCOMPARE(g->Text(3072, 1), QString("42"));
    QCOMPARE(g->Text(3072, 18), QString("B"));
    g->setFocus();
    QTest::keyClick(g, '7');
    QVERIFY(dlg.CellEdit()->isVisible());
    QCOMPARE(dlg.CellEdit()->text(), QString("7"));
    QTest::keyClick(dlg.CellEdit(), Qt::Key_Return);
    QCOMPARE(g->Text(3072, 1), QString("07"));
    QCOMPARE(ws.data.buffers.ScratchImage().u8(0), 0x07);
    QCOMPARE(ws.data.Image().u8(0), 0x42);  // not before OK
    // Right from the last byte of a row: the first byte of the row above.
    g->SetCurrent(3072, 16);
    QTest::keyClick(g, Qt::Key_Right);
    QCOMPARE(dlg.AddressBox()->text(), QString("0010"));
    dlg.Confirm();
  }
};

VB420_QTEST(ZoneInfoTest)
#include "zone_info_test.moc"
