// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Settings Text and File > Import Settings Text as a user
// runs them: the text written is the whole programming, importing it back
// asks to save first and is one step Undo takes back, and a text with bad
// lines is refused in one message that names them, changing nothing.
#include "support/Paths.h"
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include "UiTestSupport.h"
#include "app/UndoController.h"
#include "editors/plan/SettingsText.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/ZoneServices.h"
#include "frame/ui/Commands.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

// As the user picks the item: the action of the menu, then what it queued.
void Pick(AppFixture& f, int command) {
  f.Frame().Action(command)->trigger();
  Settle();
}

}  // namespace

class SettingsTextTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFixture> app;
  CZoneMemory& Zones() { return ZonesOf(app->Frame().Context()).zones; }
  CUndoController& Undo() { return *app->Frame().Undo(); }
  void SetFrequency(int zone, int channel, const char* f) {
    QCOMPARE(ZonesOf(app->Frame().Context()).conv.SetFrequency(zone, channel, 3, f, false).result, 1);
    Undo().CommitNow();
  }

 private Q_SLOTS:
  void init() {
    app = std::make_unique<AppFixture>();
    QVERIFY(app->Start());
  }
  void cleanup() { app.reset(); }

  void exportThenImportBringsTheProgrammingBackInOneStep() {
    Workspace& ws = app->Ws();
    SetFrequency(0, 0, "146.52000");
    SetFrequency(1, 4, "147.00000");
    const ImageState exported = Now(ws);
    const QString path = app->Path("fleet.txt");
    app->prompter.saveNames.push_back(path);
    Pick(*app, kCmdFileExportSettingsText);
    QCOMPARE(app->prompter.saveRequests.back().filter, QString("E1332"));
    const QByteArray text = FileData(path);
    QVERIFY(text.startsWith("# vb420 settings 1\nmodel=VT-1600\n"));
    QVERIFY(text.contains("\nzone.2.ch.5.rxf=147.00000\n"));

    SetFrequency(0, 1, "148.00000");
    const size_t steps = Undo().History().UndoSteps();
    const ImageState changed = Now(ws);
    app->prompter.messages.clear();
    app->prompter.answers = {kIdNo};  // not saved first
    app->prompter.openNames.push_back(path);
    Pick(*app, kCmdFileImportSettingsText);
    Undo().CommitNow();
    // The question came first; the text made the exported programming again.
    QCOMPARE(app->prompter.messages.size(), size_t(1));
    QVERIFY(Now(ws) == exported);
    QCOMPARE(Zones().RecordCount(0), 1);
    QCOMPARE(Undo().History().UndoSteps(), steps + 1);
    Undo().UndoAction()->trigger();
    Settle();
    QVERIFY(Now(ws) == changed);
  }

  void refusedLinesAreNamedInOneMessageAndNothingChanges() {
    Workspace& ws = app->Ws();
    SetFrequency(0, 0, "146.52000");
    const QString path = app->Path("bad.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("zone.1.ch.1.name=DEPOT\nzone.1.ch.1.nosuch=1\nzone.1.ch.1.name=AGAIN\n");
    f.close();
    const ImageState before = Now(ws);
    app->prompter.messages.clear();
    app->prompter.answers = {kIdNo};  // not saved first
    app->prompter.openNames.push_back(path);
    Pick(*app, kCmdFileImportSettingsText);
    QVERIFY(Now(ws) == before);
    QCOMPARE(app->prompter.messages.size(), size_t(2));
    const QString m = app->prompter.messages.back().text;
    QVERIFY2(m.startsWith("E1347\n"), qPrintable(m));
    QCOMPARE(m.count('\n'), 2);
  }

  // With VB420_SHOTS=<folder>: the File menu and the message of refused
  // lines, in the shipped texts, in English and Spanish.
  void screenshots() {
    const QString dir = qEnvironmentVariable("VB420_SHOTS");
    if (dir.isEmpty()) QSKIP("VB420_SHOTS not set");
    for (int language : {1, 2}) {
      QFile lng(QString::fromStdString(::vb420::testsupport::ResourceDir() + "/vb420.lng"));
      QVERIFY(lng.open(QIODevice::ReadOnly));
      app = std::make_unique<AppFixture>();
      app->languageText = lng.readAll().toStdString();
      app->SetSetting("Backup/Language", language);
      QVERIFY(app->Start());
      CMainFrame& frame = app->Frame();
      frame.showNormal();
      frame.setGeometry(0, 0, 1000, 700);
      const QString suffix = language == 1 ? "en" : "es";
      QMenu* file = frame.menuBar()->actions().front()->menu();
      file->popup(frame.mapToGlobal(QPoint(0, 20)));
      QTest::qWait(300);
      file->grab().save(dir + "/settings_text_menu_" + suffix + ".png");
      file->hide();
      const QString path = app->Path("bad.txt");
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("model=VT-1600\nzone.1.ch.1.rxf=146.52\nzone.1.ch.1.nosuch=1\nzone.1.ch.1.rxf=147\n"
              "zone.1.ch.1.power=Maximum\nraw.image.0xBFFF=0102\nzone.1.ch.1.name=CUT");
      f.close();
      app->prompter.answers = {kIdNo};
      app->prompter.openNames.push_back(path);
      Pick(*app, kCmdFileImportSettingsText);
      const MessageRequest m = app->prompter.messages.back();
      QMessageBox box(QMessageBox::Warning, m.caption, m.text, QMessageBox::Ok, &frame);
      box.show();
      QTest::qWait(300);
      box.grab().save(dir + "/settings_text_refused_" + suffix + ".png");
    }
  }
};

VB420_QTEST(SettingsTextTest)
#include "settings_text_test.moc"
