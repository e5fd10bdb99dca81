// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo across the windows: an edit made with keys is taken back
// and brought back with Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, and the whole image
// and extension area are compared each time.
#include "support/Paths.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/ui/ModelInfoDlg.h"
#include "editors/compare/ui/CompareWindow.h"
#include "app/UndoController.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/ChEditView.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneServices.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class UndoTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZnInfoView* view = nullptr;
  CEditGrid* grid = nullptr;

  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  CUndoController& Undo() { return *app->Frame().Undo(); }
  void Key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m) {
    QTest::keyClick(w, k, m);
    Settle();
  }
  void GoTo(int row, int col) {
    grid->setFocus();
    grid->SetCurrent(row, col);
  }
  void TypeCell(const QString& text) {
    QTest::keyClicks(grid, text.left(1));
    QWidget* ed = QApplication::focusWidget();
    QVERIFY(ed && ed != grid);
    QTest::keyClicks(ed, text.mid(1));
    QTest::keyClick(ed, Qt::Key_Return);
    Settle();
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    auto overrides = StandardOverrides();
    overrides[298] = "Undo";
    overrides[305] = "Redo";
    overrides[313] = "Undo %s";
    overrides[327] = "Redo %s";
    overrides[376] = "Channel";
    overrides[378] = "Zone";
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

  void editMenuStartsWithUndoAndRedo() {
    const QStringList items = MenuItems(app->Frame(), "E54");
    QCOMPARE(items.mid(0, 4), QStringList({"Undo", "Redo", "-", "E71"}));
    QVERIFY(!Undo().UndoAction()->isEnabled());
    QVERIFY(!Undo().RedoAction()->isEnabled());
  }

  void zoneInformationCellUndoneAndRedoneWithTheKeys() {
    Workspace& ws = app->Ws();
    const ImageState start = Now(ws);
    GoTo(1, 1);
    TypeCell("146.52");  // creates zone 1 and its channel 1
    QVERIFY(Zones().ZoneExists(0));
    const ImageState created = Now(ws);
    QVERIFY(!(created == start));
    // A grid's step is named after the record and the field typed into,
    // here the zone's first channel.
    QCOMPARE(Undo().UndoAction()->text(), QString("Undo Zone 1 Channel 1 E421"));
    GoTo(1, 1);
    TypeCell("146.54");
    const ImageState typed = Now(ws);
    // ... and here one field of channel 1.
    QVERIFY2(Undo().UndoAction()->text().startsWith("Undo Zone 1 Channel 1 E"), qPrintable(Undo().UndoAction()->text()));

    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == created);
    QCOMPARE(grid->Text(1, 1), QString("146.52000"));  // the window shows it
    QVERIFY(Undo().RedoAction()->text().startsWith("Redo Zone 1 Channel 1 E"));
    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == start);
    QVERIFY(!ws.data.buffers.Modified());  // back at the saved state
    QCOMPARE(grid->Text(1, 1), QString());

    Key(grid, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(Now(ws) == created);
    Key(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(Now(ws) == typed);
    QCOMPARE(grid->Text(1, 1), QString("146.54000"));
    QVERIFY(ws.data.buffers.Modified());
    QVERIFY(!Undo().RedoAction()->isEnabled());
  }

  void twoCellsAreTwoStepsAndANewEditDropsRedo() {
    Workspace& ws = app->Ws();
    const ImageState start = Now(ws);
    GoTo(1, 1);
    TypeCell("146.52");
    const ImageState one = Now(ws);
    GoTo(2, 1);
    TypeCell("147.1");
    const ImageState two = Now(ws);
    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == one);
    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == start);
    Key(grid, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(Now(ws) == one);
    GoTo(3, 1);
    TypeCell("148.2");
    QVERIFY(!Undo().RedoAction()->isEnabled());
    Key(grid, Qt::Key_Y, Qt::ControlModifier);  // nothing to bring back
    QVERIFY(!(Now(ws) == two));
    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == one);
  }

  void channelEditFieldUndoneWhileItHasTheFocus() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("150.1");
    view->RunCommand(kCmdChannelEditCmd);
    Settle();
    auto* ch = dynamic_cast<CChEditView*>(app->Frame().FindEditor(EditorKind::ChannelEdit));
    QVERIFY(ch);
    const ImageState before = Now(ws);
    auto* name = qobject_cast<CFilterEdit*>(ch->Form()->Control(0, CChEditView::kName));
    QVERIFY(name && name->isEnabled());
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "BASE");
    QTest::keyClick(name, Qt::Key_Return);
    Settle();
    const int rec = Zones().FindRecord(0, 0);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(ws.data.Image().data()) + rec + 15, 4), QByteArray("BASE"));
    const ImageState named = Now(ws);
    // Ctrl+Z in the field takes back the stored name, not the field's own typing.
    Key(name, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == before);
    QCOMPARE(name->text().trimmed(), QString("CH   1"));
    Key(name, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(Now(ws) == named);
    QCOMPARE(name->text(), QString("BASE"));
    // Zone Information was told too.
    QCOMPARE(view->CurrentGridWidget()->Text(1, 5), QString("BASE"));
  }

  void zoneDeleteIsOneStep() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("146.52");
    GoTo(2, 1);
    TypeCell("147.52");
    const ImageState full = Now(ws);
    // Another class for the zone deletes it, after the question (answered OK).
    QComboBox* type = view->TypeBox();
    int ltrRow = -1;
    for (int i = 0; i < type->count(); ++i)
      if (type->itemData(i).toInt() == '0') ltrRow = i;
    QVERIFY(ltrRow >= 0);
    type->setCurrentIndex(ltrRow);
    Q_EMIT type->activated(ltrRow);
    Settle();
    Undo().CommitNow();  // what the event loop does when it next waits
    QVERIFY(!Zones().ZoneExists(0));
    QCOMPARE(Undo().History().UndoSteps(), size_t(3));
    QCOMPARE(Undo().UndoAction()->text(), QString("Undo Zone 1"));  // the zone went as a whole
    Key(grid, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Now(ws) == full);
    QVERIFY(Zones().ZoneExists(0));
    QCOMPARE(view->CurrentGridWidget()->Text(2, 1), QString("147.52000"));
  }

  void importIsOneStepAndItsUndoRestoresThePlanBefore() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("146.52");
    const QString plan = app->Path("plan.itm");
    app->prompter.saveNames.push_back(plan);
    app->Frame().RunCommand(kCmdFileExport);
    Settle();
    QVERIFY(QFileInfo::exists(plan));
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
    grid = view->CurrentGridWidget();
    GoTo(1, 1);
    TypeCell("147.52");
    GoTo(2, 1);
    TypeCell("148.52");
    Undo().CommitNow();
    const ImageState before = Now(ws);
    const size_t steps = Undo().History().UndoSteps();
    app->prompter.answers = {kIdNo};  // import without saving first
    app->prompter.openNames.push_back(plan);
    app->Frame().RunCommand(kCmdFileImport);
    Settle();
    Undo().CommitNow();
    QCOMPARE(Zones().RecordCount(0), 1);
    QCOMPARE(Undo().History().UndoSteps(), steps + 1);  // the whole import is one step
    Undo().UndoAction()->trigger();
    Settle();
    QVERIFY(Now(ws) == before);
    QCOMPARE(Zones().RecordCount(0), 2);
  }

  void modelChangeIsOneStepAndItsUndoFollowsTheModel() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("146.52");
    const ImageState before = Now(ws);
    const QString caption = app->Frame().windowTitle();
    QVERIFY(!ws.data.model.IsSecondGen());
    app->prompter.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<CModelInfoDlg&>(d);
      dlg.SelectModel(2);  // a second-generation mobile: the data are converted
      dlg.SelectBand(0x04);
      dlg.accept();
      return dlg.result();
    });
    app->prompter.answers = {kIdOk, kIdNo};  // the warning, then no saving first
    app->Frame().Action(kCmdModelInfo)->trigger();
    Settle();
    Undo().CommitNow();
    QVERIFY(ws.data.model.IsSecondGen());
    const ImageState changed = Now(ws);
    QVERIFY(!(changed == before));
    Undo().UndoAction()->trigger();
    Settle();
    QVERIFY(Now(ws) == before);
    QVERIFY(!ws.data.model.IsSecondGen());
    QCOMPARE(app->Frame().windowTitle(), caption);
    QVERIFY(app->Frame().FindEditor(EditorKind::ZoneInfo));
    Undo().RedoAction()->trigger();
    Settle();
    QVERIFY(Now(ws) == changed);
    QVERIFY(ws.data.model.IsSecondGen());
  }

  void openingAFileStartsAFreshHistory() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("146.52");
    QVERIFY(Undo().UndoAction()->isEnabled());
    const QString path = app->Path("saved.dat");
    app->prompter.saveNames.push_back(path);
    app->prompter.dialogs.push_back([](QDialog& d) {
      static_cast<CSaveTypeDlg&>(d).Choose(0);  // the ".dat" type
      return int(QDialog::Accepted);
    });
    // Save, then Open the same file: nothing to undo afterwards.
    app->Frame().RunCommand(kCmdFileSaveAs);
    Settle();
    QVERIFY(QFileInfo::exists(path));
    app->prompter.openNames.push_back(path);
    app->Frame().RunCommand(kCmdFileOpen);
    Settle();
    QVERIFY(!Undo().UndoAction()->isEnabled());
    QVERIFY(!Undo().History().CanUndo());
    // The file is first in the recent files.
    QCOMPARE(app->Frame().RecentFiles().value(0), QFileInfo(path).absoluteFilePath());
    (void)ws;
  }

  void compareWithAFileListsTheDifferenceAndOpensItsChannel() {
    Workspace& ws = app->Ws();
    GoTo(1, 1);
    TypeCell("146.52");
    GoTo(2, 1);
    TypeCell("147.52");
    const QString other = app->Path("other.dat");
    QVERIFY(SaveDatFile(other.toStdString(), ws.data).ok());
    GoTo(2, 1);
    TypeCell("147.54");
    view->SetZone(5);
    app->prompter.openNames.push_back(other);
    app->Frame().RunCommand(kCmdCompareWith);
    Settle();
    auto* w = app->Frame().findChild<CCompareWindow*>();
    QVERIFY(w);
    QCOMPARE(w->List()->topLevelItemCount(), 1);
    QTreeWidgetItem* line = w->List()->topLevelItem(0);
    QCOMPARE(line->text(1), QString("zone.1.ch.2.rxf"));
    QCOMPARE(line->text(2), QString("147.54000"));
    QCOMPARE(line->text(3), QString("147.52000"));
    QVERIFY(line->text(0).startsWith("Zone 1 Channel 2 E"));
    // The line opens Zone Information at its zone and channel.
    QVERIFY(w->OpenLine(0));
    QCOMPARE(view->Zone(), 0);
    QCOMPARE(view->CurrentRecord(), 1);
    w->close();
    Settle();
    // Nothing of the working programming changed.
    QCOMPARE(view->CurrentGridWidget()->Text(2, 1), QString("147.54000"));
    // The same file compared with itself: the window says there is no difference.
    QVERIFY(SaveDatFile(other.toStdString(), ws.data).ok());
    RunCompareWithFile(app->Frame().Context(), other);
    Settle();
    w = app->Frame().findChild<CCompareWindow*>();
    QVERIFY(w);
    QCOMPARE(w->List()->topLevelItemCount(), 0);
    QVERIFY(w->findChild<QLabel*>("compareSummary")->isVisibleTo(w));
  }

  void recentFilesAndDroppedFiles() {
    Workspace& ws = app->Ws();
    const QString a = app->Path("a.dat"), b = app->Path("b.dat");
    QVERIFY(SaveDatFile(a.toStdString(), ws.data).ok());
    QVERIFY(SaveDatFile(b.toStdString(), ws.data).ok());
    // A dropped data file opens (nothing to save first).
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(a)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &drop);
    Settle();
    QCOMPARE(QString::fromStdString(ws.datName), QString("a.dat"));
    QVERIFY(app->Frame().OpenPath(b));
    QCOMPARE(app->Frame().RecentFiles(), QStringList({QFileInfo(b).absoluteFilePath(), QFileInfo(a).absoluteFilePath()}));
    // Ten more: eight are kept, the newest first.
    for (int i = 0; i < 10; ++i) {
      const QString p = app->Path(QStringLiteral("f%1.dat").arg(i));
      QVERIFY(SaveDatFile(p.toStdString(), ws.data).ok());
      QVERIFY(app->Frame().OpenPath(p));
    }
    QCOMPARE(app->Frame().RecentFiles().size(), 8);
    QCOMPARE(app->Frame().RecentFiles().front(), QFileInfo(app->Path("f9.dat")).absoluteFilePath());
    // A file that went is taken off the list with a message.
    QFile::remove(app->Path("f8.dat"));
    app->prompter.Clear();
    QVERIFY(!app->Frame().OpenPath(QFileInfo(app->Path("f8.dat")).absoluteFilePath()));
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QCOMPARE(app->Frame().RecentFiles().size(), 7);
    QVERIFY(!app->Frame().RecentFiles().contains(QFileInfo(app->Path("f8.dat")).absoluteFilePath()));
    // Unsaved changes are offered for saving before a recent file opens; Cancel keeps them.
    view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));  // opened anew
    QVERIFY(view);
    grid = view->CurrentGridWidget();
    GoTo(1, 1);
    TypeCell("146.52");
    app->prompter.answers.push_back(kIdCancel);
    QVERIFY(!app->Frame().OpenPath(a));
    QVERIFY(Zones().ZoneExists(0));
  }

  // With VB420_SHOTS_DIR set: the Edit and File menus and the compare
  // window in English and Spanish, with the shipped texts.
  void screenshots() {
    const QString dir = qEnvironmentVariable("VB420_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("VB420_SHOTS_DIR not set");
    for (int lang : {1, 2}) {
      app.reset();
      app = std::make_unique<AppFixture>();
      QFile f(QString::fromStdString(::vb420::testsupport::ResourceDir() + "/vb420.lng"));
      QVERIFY(f.open(QIODevice::ReadOnly));
      app->languageText = f.readAll().toStdString();
      app->SetSetting("Backup/Language", lang);
      QVERIFY(app->Start());
      Settle();
      view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
      grid = view->CurrentGridWidget();
      const QString suffix = lang == 1 ? "en" : "sp";
      GoTo(1, 1);
      TypeCell("146.52");
      GoTo(1, 1);
      TypeCell("146.54");
      const QString other = app->Path("other.dat");
      QVERIFY(SaveDatFile(other.toStdString(), app->Ws().data).ok());
      app->prompter.answers.push_back(kIdNo);  // no saving first
      QVERIFY(app->Frame().OpenPath(other));
      Settle();
      view = dynamic_cast<CZnInfoView*>(app->Frame().FindEditor(EditorKind::ZoneInfo));
      grid = view->CurrentGridWidget();
      GoTo(2, 1);
      TypeCell("147.1");
      GoTo(1, 5);
      TypeCell("DEPOT");
      for (QAction* top : app->Frame().menuBar()->actions()) {
        QMenu* m = top->menu();
        if (!m || (m->actions().isEmpty())) continue;
        const bool edit = m->actions().front() == Undo().UndoAction();
        const bool file = m->actions().front() == app->Frame().Action(kCmdFileNew);
        if (!edit && !file) continue;
        m->popup(QPoint(10, 10));
        Settle();
        m->grab().save(dir + QStringLiteral("/%1_menu_%2.png").arg(edit ? "edit" : "file", suffix));
        m->hide();
      }
      RunCompareWithFile(app->Frame().Context(), other);
      Settle();
      auto* w = app->Frame().findChild<CCompareWindow*>();
      QVERIFY(w);
      w->grab().save(dir + QStringLiteral("/compare_%1.png").arg(suffix));
      w->close();
      Settle();
    }
  }
};

VB420_QTEST(UndoTest)
#include "undo_test.moc"
