// SPDX-License-Identifier: GPL-3.0-or-later
// The Channel menu in the main menu bar, the look of Zone Information at
// start-up, the LTR and PassPort grids and the horn-alert refusal, driven
// through the real main window with keys and the mouse.
#include "support/Paths.h"
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "UiTestSupport.h"
#include "data/ModelRecord.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/ui/ChEditView.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

QMenu* TopMenu(CMainFrame& f, const QString& title) {
  for (QAction* a : f.menuBar()->actions())
    if (a->menu() && a->text() == title) return a->menu();
  return nullptr;
}

// Opens a menu of the menu bar and chooses an item with the mouse.
void ClickMenuItem(CMainFrame& f, const QString& menuTitle, const QString& item) {
  QMenuBar* bar = f.menuBar();
  QAction* top = nullptr;
  for (QAction* a : bar->actions())
    if (a->menu() && a->text() == menuTitle) top = a;
  QVERIFY2(top, qPrintable(menuTitle));
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
  QMenu* menu = top->menu();
  QTRY_VERIFY(menu->isVisible());
  QAction* target = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == item) target = a;
  QVERIFY2(target, qPrintable(item));
  QVERIFY(target->isEnabled());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(target).center());
  QTRY_VERIFY(!menu->isVisible());
}

}  // namespace

class ChannelMenuTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;

  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  void Start(const std::map<int, std::string>& overrides = StandardOverrides()) {
    app = std::make_unique<AppFixture>();
    app->languageText = MakeLanguageFile(overrides);
    QVERIFY(app->Start());
    Settle();
    app->Frame().resize(1200, 900);
    app->Frame().show();
    QApplication::setActiveWindow(&app->Frame());
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
  }
  void UsePortable(bool portable) {
    RadioData& d = app->Ws().data;
    d.model.SetModel(ModelNumberOfName(portable ? "VT-1400" : "VT-1600"));
    d.SyncCodecs();
  }

 private Q_SLOTS:
  void cleanup() { app.reset(); }

  void menuBarCarriesTheActiveEditorsMenu() {
    Start();
    CMainFrame& f = app->Frame();
    // Zone Information is active: its menu stands before the Window menu.
    QCOMPARE(MenuTitles(f), QStringList({"E41", "E52", "E54", "E75", "E81", "E88", "E91", "&E376", "E95", "E101"}));
    QCOMPARE(MenuItems(f, "&E376"),
             QStringList({"E450", "E453", "E456", "E459", "-", "E955", "E978", "-", "E68", "E65", "-",
                          "E228 (E376)", "E228 (E378)", "-", "E104", "E105", "E106", "-", "E107", "E108"}));
    // Another kind of editor becomes active: the menu goes away.
    f.RunCommand(kCmdKeys);
    Settle();
    QVERIFY(!MenuTitles(f).contains("&E376"));
    QCOMPARE(MenuTitles(f).size(), 9);
    QVERIFY(f.ViewMenu() == nullptr);
    // Back to Zone Information through the Window menu list.
    f.Mdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
    Settle();
    QVERIFY(MenuTitles(f).contains("&E376"));
    // The channel editor brings its own, shorter menu.
    f.RunCommand(kCmdChannelEdit);
    Settle();
    QVERIFY(dynamic_cast<CChEditView*>(f.FindEditor(EditorKind::ChannelEdit)));
    QCOMPARE(MenuItems(f, "&E376"), QStringList({"E450", "E453", "E456", "-", "E955", "E978", "-", "E228 (E376)"}));
    // Closing every window leaves neither the Channel nor the Window menu.
    f.CloseAllEditors();
    Settle();
    QCOMPARE(MenuTitles(f), QStringList({"E41", "E52", "E54", "E75", "E81", "E88", "E91", "E101"}));
  }

  void labelsFollowTheZoneClassAndTheMemoryMapSwitch() {
    Start();
    CMainFrame& f = app->Frame();
    QMenu* menu = TopMenu(f, "&E376");
    QVERIFY(menu);
    auto visible = [menu](const QString& text) {
      for (QAction* a : menu->actions())
        if (a->text() == text) return a->isVisible();
      return false;
    };
    app->Ws().switches.memMap = false;
    Q_EMIT menu->aboutToShow();
    QVERIFY(!visible("E228 (E376)"));
    app->Ws().switches.memMap = true;
    Q_EMIT menu->aboutToShow();
    QVERIFY(visible("E228 (E376)"));
    // An LTR zone: group copy, GID jump, trunked zone edit and GID edit.
    QCOMPARE(Zones().CreateZone(0, '0'), 1);
    view->Refresh();
    Q_EMIT menu->aboutToShow();
    QStringList texts;
    for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts.mid(0, 10), QStringList({"E451", "E453", "E456", "E460", "-", "E955", "E978", "-", "E69", "E66"}));
    QVERIFY(!menu->actions()[1]->isEnabled());  // frequency copy is for conventional channels
    QCOMPARE(texts[11], QStringLiteral("E228 (E391)"));
  }

  void acceleratorsAndMenuItemsRunTheCommands() {
    Start();
    CMainFrame& f = app->Frame();
    CEditGrid* grid = view->CurrentGridWidget();
    grid->setFocus();
    // Chosen with the mouse from the menu bar.
    ClickMenuItem(f, "&E376", "E955");
    QCOMPARE(view->Zone(), 1);
    ClickMenuItem(f, "&E376", "E978");
    ClickMenuItem(f, "&E376", "E978");
    QCOMPARE(view->Zone(), 127);
    QCOMPARE(view->ZoneBox()->text(), QString("128"));
    // The same commands from their keys, with the focus on the grid.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F7);
    QCOMPARE(view->Zone(), 0);
    QTest::keyClick(grid, Qt::Key_F7);
    QCOMPARE(view->Zone(), 1);
    QTest::keyClick(grid, Qt::Key_F8);
    QCOMPARE(view->Zone(), 0);
    // Shift+F7 opens the jump dialog; F11 the channel editor, whose own keys
    // then step its zone and not the one of Zone Information.
    app->prompter.dialogs.push_back([](QDialog& d) {
      auto* box = d.findChild<QLineEdit*>();
      if (!box) return int(QDialog::Rejected);
      box->setText("42");
      d.accept();
      return int(QDialog::Accepted);
    });
    QTest::keyClick(grid, Qt::Key_F7, Qt::ShiftModifier);
    QCOMPARE(app->prompter.dialogTitles.back(), QStringLiteral("E459"));
    QCOMPARE(view->CurrentRecord(), 41);
    QApplication::setActiveWindow(&f);  // the dialog had it
    QTest::keyClick(grid, Qt::Key_F11);
    Settle();
    auto* ch = dynamic_cast<CChEditView*>(f.FindEditor(EditorKind::ChannelEdit));
    QVERIFY(ch);
    QCOMPARE(ch->Channel(), 41);
    QApplication::setActiveWindow(&f);
    QWidget* inside = QApplication::focusWidget();
    QVERIFY(inside && ch->isAncestorOf(inside));
    QTest::keyClick(inside, Qt::Key_F7);
    QCOMPARE(ch->Zone(), 1);
    QCOMPARE(view->Zone(), 0);
    ClickMenuItem(f, "&E376", "E978");
    QCOMPARE(ch->Zone(), 0);
  }

  void zoneInformationOpensAtTheTopLeftShowingEveryColumn() {
    // Long headings in the language file widen their columns.
    auto texts = StandardOverrides();
    texts[382] = "Receive frequency in megahertz";
    texts[390] = "Optional signalling";
    Start(texts);
    auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    QVERIFY(sub);
    QCOMPARE(sub->pos(), QPoint(0, 0));
    for (int k = 0; k < 3; ++k) {
      CEditGrid* g = view->Grid(k);
      const QFontMetrics fm = g->horizontalHeader()->fontMetrics();
      for (int c = 0; c < 10; ++c)
        QVERIFY2(g->columnWidth(c) >= fm.horizontalAdvance(g->Text(0, c)) + 8,
                 qPrintable(QStringLiteral("grid %1 column %2: %3").arg(k).arg(c).arg(g->Text(0, c))));
    }
    CEditGrid* g = view->CurrentGridWidget();
    QVERIFY(g->columnWidth(1) > 80);
    QVERIFY(g->columnWidth(1) >= QFontMetrics(g->horizontalHeader()->font()).horizontalAdvance(texts[382].c_str()));
    // The table's width is the minimum.
    QCOMPARE(g->columnWidth(2), 80);
    // At the size it asks for (the main window here is smaller than a
    // screen), all ten columns and twenty rows are in view, without an
    // empty band; a narrower window scrolls sideways instead.
    sub->resize(sub->sizeHint());
    Settle();
    int columns = 0;
    for (int c = 0; c < 10; ++c) columns += g->columnWidth(c);
    QVERIFY(g->viewport()->width() >= columns);
    QVERIFY(g->viewport()->width() <= columns + 4);
    QVERIFY(g->PageRows() >= 20);
    QVERIFY(g->visualRect(g->Model()->index(19, 9)).bottom() <= g->viewport()->height());
  }

  void ltrAndPassPortGridsShowTheRecordBytes() {
    Start();
    CZoneMemory& zm = Zones();
    Workspace& ws = app->Ws();
    ByteArea im = ws.data.Image();
    // An LTR zone 3 with group 5, written through the zone manager.
    QCOMPARE(zm.CreateZone(2, '0'), 1);
    QCOMPARE(zm.InsertRecord(2, 4), 1);
    const size_t g = static_cast<size_t>(zm.FindRecord(2, 4));
    im.setU8(g + 1, 17);    // decode ID
    im.setU8(g + 2, 200);   // encode ID
    im.setU8(g + 15, '5');  // optional signalling: Vantelix
    im.setU8(g + 16, '3');  // PTT ID: ID entry 2
    im.setU16le(g + 17, 2);
    im.setU8(g + 30, 0xFF & ~0x02 & ~0x01);  // transmit ticked, low power, compander not ticked
    const int global = zm.GlobalChannel(2, 4);
    ws.data.Ext().setBit(zones::kExtChanBitsA + global / 8, global % 8, false);  // scan ticked
    view->SetZone(2);
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kLtrGrid));
    CEditGrid* grid = view->CurrentGridWidget();
    QStringList row;
    for (int c = 0; c < 10; ++c) row << grid->Text(5, c);
    QCOMPARE(row, QStringList({"5", "200", "17", "  GR   5", "E372", "E1085", "E444 2", "E372", "E410", "E373"}));
    QCOMPARE(grid->Text(4, 1), QString());  // no group 4

    // A PassPort zone 4 with group 2: ID at +1/+3, switches at +17.
    QCOMPARE(zm.CreateZone(3, '5'), 1);
    QCOMPARE(zm.InsertRecord(3, 1), 1);
    const size_t p = static_cast<size_t>(zm.FindRecord(3, 1));
    im.setU16le(p + 1, 65000);
    im.setU16le(p + 3, 65000);
    im.setU8(p + kPassPortSwitchesOffset, 0x6A);  // transmit, scrambler and horn ticked (clear bits)
    view->SetZone(3);
    grid = view->CurrentGridWidget();
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kPassPortGrid));
    row.clear();
    for (int c = 0; c < 10; ++c) row << grid->Text(2, c);
    QCOMPARE(row, QStringList({"2", "65000", "  GR   2", "E372", "E373", "E372", "E373", "E372", "E373", "E373"}));
  }

  void typingAnIdCreatesTheTrunkedZoneAndGroup() {
    Start();
    CZoneMemory& zm = Zones();
    view->SetZone(5);
    // The type list offers LTR: chosen with the keyboard.
    QComboBox* type = view->TypeBox();
    const int ltrRow = type->findData(int('0'));
    QVERIFY(ltrRow >= 0);
    type->setFocus();
    type->setCurrentIndex(ltrRow);
    Q_EMIT type->activated(ltrRow);
    QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kLtrGrid));
    CEditGrid* grid = view->CurrentGridWidget();
    grid->setFocus();
    grid->SetCurrent(4, 1);
    QTest::keyClicks(grid, "1");
    QTest::keyClicks(QApplication::focusWidget(), "2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(zm.ZoneType(5), uint8_t('0'));
    const int g = zm.FindRecord(5, 3);
    QVERIFY(g > 0);
    QCOMPARE(int(app->Ws().data.Image().u8(g + 2)), 12);
    QCOMPARE(grid->Text(4, 1), QString("12"));
    QCOMPARE(grid->Text(4, 3), QString("  GR   4"));
  }

  void hornAlertIsRefusedOnPortablesOnly() {
    Start();
    CZoneMemory& zm = Zones();
    QCOMPARE(zm.CreateZone(0, '5'), 1);
    QCOMPARE(zm.InsertRecord(0, 0), 1);
    UsePortable(true);
    view->Refresh();
    CEditGrid* grid = view->CurrentGridWidget();
    grid->setFocus();
    grid->SetCurrent(1, kPassPortHornColumn);
    app->prompter.messages.clear();
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(int(app->prompter.messages.size()), 1);
    QCOMPARE(app->prompter.messages[0].text, QString("E1298"));  // from the language file
    QCOMPARE(app->prompter.messages[0].caption, QString("E265"));
    QCOMPARE(grid->EditorKindOpen(), 0);
    // Not on another column, not on a missing group, not on a mobile.
    grid->SetCurrent(1, 6);
    QTest::keyClick(grid, Qt::Key_Space);
    grid->SetCurrent(2, kPassPortHornColumn);
    QTest::keyClick(grid, Qt::Key_Space);
    if (grid->EditorKindOpen()) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    UsePortable(false);
    grid->setFocus();
    grid->SetCurrent(1, kPassPortHornColumn);
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(int(app->prompter.messages.size()), 1);
  }

  void memoryMapsFromTheMenuBarAndTheZoneEditorsPopup() {
    Start();
    CMainFrame& f = app->Frame();
    app->Ws().switches.memMap = true;
    CZoneMemory& zm = Zones();
    QCOMPARE(zm.CreateZone(0, '1'), 1);
    QCOMPARE(zm.InsertRecord(0, 1), 1);
    view->Refresh();
    view->CurrentGridWidget()->SetCurrent(2, 1);
    // Channel 2 from the menu bar: a window on its 48 bytes.
    QString caption;
    app->prompter.dialogs.push_back([&caption](QDialog& d) {
      caption = d.windowTitle();
      return int(QDialog::Rejected);
    });
    ClickMenuItem(f, "&E376", "E228 (E376)");
    QCOMPARE(caption, QString("E228 ([ E378 - 1  E376 - 2 ])"));
    // The zone editor: its pop-up menu holds the zone memory map, F12 runs it.
    f.RunCommand(kCmdConvZoneEdit);
    Settle();
    CEditorView* zoneEdit = f.FindEditor(EditorKind::ConvZoneEdit);
    QVERIFY(zoneEdit);
    QCOMPARE(zoneEdit->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList popup;
    for (QAction* a : zoneEdit->actions())
      if (a->isVisible()) popup << a->text();
    QCOMPARE(popup, QStringList({"E228 (E378)"}));
    QApplication::setActiveWindow(&f);
    QWidget* inside = QApplication::focusWidget();
    QVERIFY(inside && zoneEdit->isAncestorOf(inside));
    caption.clear();
    app->prompter.dialogs.push_back([&caption](QDialog& d) {
      caption = d.windowTitle();
      return int(QDialog::Rejected);
    });
    QTest::keyClick(inside, Qt::Key_F12);
    QCOMPARE(caption, QString("E228 (E398 [ E378 - 1 ])"));
    // The zone editor has no menu of its own in the menu bar.
    QVERIFY(!MenuTitles(f).contains("&E376"));
  }

  // With VB420_SHOTS=<folder>, on a real display: pictures of Zone
  // Information with a full conventional zone, the channel editor, the
  // conventional zone editor and the memory viewer, in the shipped texts.
  void screenshots() {
    const QString dir = qEnvironmentVariable("VB420_SHOTS");
    if (dir.isEmpty()) QSKIP("VB420_SHOTS not set");
    QFile lng(QString::fromStdString(::vb420::testsupport::ResourceDir() + "/vb420.lng"));
    QVERIFY(lng.open(QIODevice::ReadOnly));
    app = std::make_unique<AppFixture>();
    app->languageText = lng.readAll().toStdString();
    QVERIFY(app->Start());
    Settle();
    CMainFrame& f = app->Frame();
    f.showNormal();
    f.setGeometry(0, 0, 1280, 1000);
    ZoneServices& z = ZonesOf(f.Context());
    for (int ch = 0; ch < 250; ++ch) {
      char freq[32];
      std::snprintf(freq, sizeof freq, "%.5f", 150.0 + ch * 0.0125);
      QCOMPARE(z.conv.SetFrequency(0, ch, 3, freq, false).result, 1);
      if (ch % 3 == 0) z.conv.SetTone(0, ch, 5, "D023N", -1);
      if (ch % 4 == 1) z.conv.SetTone(0, ch, 5, "100.0", -1);
    }
    z.conv.SetName(0, 2, "DISPATCH");
    view = dynamic_cast<CZnInfoView*>(f.FindEditor(EditorKind::ZoneInfo));
    view->SetZone(0);
    QTest::qWait(300);
    f.grab().save(dir + "/zone_info.png");
    view->CurrentGridWidget()->SetCurrent(3, 1);
    view->RunCommand(kCmdChannelEditCmd);
    Settle();
    QTest::qWait(300);
    f.grab().save(dir + "/channel_edit.png");
    f.RunCommand(kCmdZoneInfo);
    view->RunCommand(kCmdZoneEditCmd);
    Settle();
    QTest::qWait(300);
    f.grab().save(dir + "/conv_zone_edit.png");
    app->prompter.dialogs.push_back([&](QDialog& d) -> int {
      d.show();
      QTest::qWait(300);
      d.grab().save(dir + "/memory_viewer.png");
      return 0;
    });
    f.RunCommand(kCmdMemoryMap);
  }
};

VB420_QTEST(ChannelMenuTest)
#include "channel_menu_test.moc"
