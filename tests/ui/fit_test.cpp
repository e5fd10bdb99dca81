// SPDX-License-Identifier: GPL-3.0-or-later
// Windows that fit the screen and a program a technician can use without a
// mouse or without sight: stretching grids, the docked tree bar, cascading
// windows, the fixed face of the fixed columns, the file dialogs, the memory
// viewer's keys, the Communication Port dialog that never freezes the
// program, and an accessible name on every control of every window.
#include "support/Files.h"
#include "support/Paths.h"
#include <pty.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <fstream>
#include <iterator>
#include <QTreeWidget>

#include "UiTestSupport.h"
#include "app/AboutDlg.h"
#include "app/SplashWnd.h"
#include "app/TreeBar.h"
#include "data/DataFile.h"
#include "data/ImageLayout.h"
#include "editors/compare/ui/CompareWindow.h"
#include "data/ui/MemoryViewer.h"
#include "data/ui/ModelInfoDlg.h"
#include "editors/grid/AccessibleNames.h"
#include "editors/grid/EditGrid.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "frame/ui/AppSettings.h"
#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "link/RadioLink.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/RadioDialogs.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

int ColumnsWidth(const CEditGrid* g) {
  int w = 0;
  for (int c = 0; c < g->Cols(); ++c) w += g->columnWidth(c);
  return w;
}

QString Describe(const QList<QWidget*>& ws) {
  QStringList out;
  for (QWidget* w : ws)
    out << QStringLiteral("%1 '%2' in '%3'").arg(w->metaObject()->className(), w->objectName(),
                                                  w->window()->windowTitle());
  return out.join("; ");
}

}  // namespace

class FitTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() {
    f_ = std::make_unique<AppFixture>();
    QVERIFY(f_->Start());
    f_->Frame().resize(1400, 900);
    f_->Frame().show();
    QApplication::setActiveWindow(&f_->Frame());
    Settle();
  }
  void cleanup() { f_.reset(); }

  void maximisedZoneInformationFillsItsWidth() {
    auto* view = dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
    QVERIFY(view);
    CChildFrame* frame = f_->Frame().Children().front();
    CEditGrid* g = view->CurrentGridWidget();
    frame->resize(400, 300);
    Settle();
    // Narrower than its columns: they keep the table's widths and the grid
    // scrolls sideways.
    const int base = ColumnsWidth(g);
    QVERIFY(base > g->viewport()->width());
    QVERIFY(g->horizontalScrollBar()->maximum() > 0);
    frame->showMaximized();
    Settle();
    QVERIFY(std::abs(ColumnsWidth(g) - g->viewport()->width()) <= 1);
    QVERIFY(ColumnsWidth(g) > base);
  }

  void treeBarDocksBesideTheWindowsWithItsTextsWhole() {
    f_->Frame().RunCommand(kCmdTreeView);
    Settle();
    CTreeBar* bar = f_->Frame().TreeBar();
    QVERIFY(bar->isVisible());
    QVERIFY(!bar->isFloating());
    QCOMPARE(f_->Frame().dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    QTreeWidget* tree = bar->Tree();
    const int widest = tree->columnWidth(0);
    tree->resizeColumnToContents(0);
    QVERIFY(tree->columnWidth(0) <= widest);
    QVERIFY(tree->viewport()->width() >= tree->columnWidth(0));
    // The editor area begins beside it, not under it.
    QVERIFY(f_->Frame().centralWidget()->geometry().left() >= bar->geometry().right());
  }

  void newWindowsCascadeInsideTheArea() {
    auto* area = f_->Frame().findChild<QMdiArea*>();
    QVERIFY(area);
    for (int command : {kCmdTestFreq, kCmdEmbMessage, kCmdEmbPassword}) {
      f_->Frame().RunCommand(command);
      Settle();
    }
    const auto frames = f_->Frame().Children();
    QCOMPARE(frames.size(), size_t(4));
    for (size_t i = 1; i < frames.size(); ++i) {
      QVERIFY(area->viewport()->rect().contains(frames[i]->geometry().topLeft()));
      QVERIFY2(frames[i]->pos() != frames[i - 1]->pos(), "two windows opened on top of each other");
    }
    QVERIFY(frames[2]->pos().x() > frames[1]->pos().x() && frames[2]->pos().y() > frames[1]->pos().y());
  }

  void fixedColumnsUseThePlatformsFixedFaceInCellAndEditor() {
    auto* view = dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
    CEditGrid* g = view->CurrentGridWidget();
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    int fixedCol = -1;
    for (int c = 1; c < g->Cols() && fixedCol < 0; ++c)
      if (g->Model()->FixedFont(c)) fixedCol = c;
    QVERIFY(fixedCol > 0);
    const QFont cell = g->Model()->data(g->Model()->index(0, fixedCol), Qt::FontRole).value<QFont>();
    QCOMPARE(cell.family(), fixed.family());
    QCOMPARE(cell.pointSizeF(), QApplication::font().pointSizeF());
    // A channel to edit, then Enter on its fixed cell.
    g->setFocus();
    g->SetCurrent(1, 1);
    QTest::keyClicks(g, "1");
    QTest::keyClicks(QApplication::focusWidget(), "46.52");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    g->SetCurrent(1, fixedCol);
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(g->Col(), fixedCol);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != g);
    QCOMPARE(editor->font().family(), fixed.family());
    QTest::keyClick(editor, Qt::Key_Escape);
  }

  void altDownOnAToneCellDropsTheListAndStoresNothing() {
    auto* view = dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
    CEditGrid* g = view->CurrentGridWidget();
    g->setFocus();
    g->SetCurrent(1, 1);
    QTest::keyClicks(g, "1");
    QTest::keyClicks(QApplication::focusWidget(), "46.52");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const std::vector<uint8_t> before = f_->Ws().data.buffers.ImageBytes();
    g->SetCurrent(1, 3);
    QTest::keyClicks(g, "1");
    QTest::keyClicks(QApplication::focusWidget(), "0");  // half typed
    auto* tone = view->findChild<QComboBox*>("cellTone");
    QVERIFY(tone && tone->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(tone->view()->isVisible());
    QCOMPARE(g->Row(), 1);
    QCOMPARE(g->EditorKindOpen() != 0, true);
    QCOMPARE(tone->currentText(), QStringLiteral("10"));
    QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);
    tone->hidePopup();
    QTest::keyClick(tone->lineEdit(), Qt::Key_Escape);
    QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);
  }

  void saveTypeChooserCanBeCancelled() {
    f_->prompter.dialogs.push_back([](QDialog& d) {
      auto* cancel = d.findChild<QPushButton*>("cancelButton");
      if (!cancel) return -1;
      d.show();
      QTest::mouseClick(cancel, Qt::LeftButton);
      return d.result();
    });
    f_->Frame().RunCommand(kCmdFileSaveAs);
    Settle();
    QVERIFY(f_->prompter.dialogs.empty());
    QVERIFY(f_->prompter.saveRequests.empty());
  }

  void memoryViewerShowsDotsKeepsUntypedBytesAndEscapeDiscards() {
    Workspace& ws = f_->Ws();
    ByteArea image = ws.data.Image();
    image.setU8(0, 0xFF);
    image.setU8(1, 0x07);
    image.setU8(2, 'A');
    const std::vector<uint8_t> before = ws.data.buffers.ImageBytes();
    QString ok, dots;
    f_->prompter.dialogs.push_back([&](QDialog& d) {
      auto& dlg = static_cast<CMemoryViewDlg&>(d);
      dlg.show();
      CEditGrid* g = dlg.Grid();
      ok = dlg.findChild<QPushButton*>("okButton")->text();
      dots = g->Text(3072, 18) + g->Text(3072, 19) + g->Text(3072, 20);
      // Enter and Enter on a dot: the byte stays what it was.
      g->SetCurrent(3072, 18);
      g->setFocus();
      QTest::keyClick(g, Qt::Key_Return);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      // A typed byte, then Escape on the grid: nothing is kept.
      g->SetCurrent(3072, 4);
      QTest::keyClicks(g, "5");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QTest::keyClick(g, Qt::Key_Escape);
      return d.result();
    });
    f_->Frame().RunCommand(kCmdMemoryMap);
    Settle();
    QCOMPARE(ok, QStringLiteral("E13"));
    QCOMPARE(dots, QStringLiteral("..A"));
    QVERIFY(ws.data.buffers.ImageBytes() == before);
  }

  void commPortDialogAnswersAtOnceForAbsentDevices() {
    QTemporaryDir tmp;
    CCommPortDlg dlg(f_->Ws().text, nullptr, 2,
                     [&](int n) { return tmp.filePath(QStringLiteral("gone%1").arg(n)).toStdString(); });
    QElapsedTimer t;
    t.start();
    dlg.show();
    QVERIFY(QTest::qWaitFor([&] { return dlg.Probed(); }, 2000));
    QVERIFY2(t.elapsed() < 100, qPrintable(QString::number(t.elapsed())));
    for (int n = 1; n <= 20; ++n) {
      QVERIFY(!dlg.Button(n)->isEnabled());
      QVERIFY(dlg.DeviceLabel(n)->text().endsWith("E369"));
      QVERIFY(dlg.Button(n)->toolTip().contains(QStringLiteral("gone%1").arg(n)));
    }
    QCOMPARE(dlg.Chosen(), 2);  // nothing to choose: the port stays
    // The device box says that a path can be typed.
    QCOMPARE(dlg.DeviceBox()->lineEdit()->placeholderText(), QStringLiteral("E1296"));
    QCOMPARE(dlg.DeviceBox()->toolTip(), QStringLiteral("E1296"));
  }

  void commPortTakesAnotherDeviceForAPortAndKeepsIt() {
    int master, slave;
    QCOMPARE(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string tty = ttyname(slave);
    QTemporaryDir tmp;
    f_->prompter.dialogs.push_back([&](QDialog& d) {
      auto& dlg = static_cast<CCommPortDlg&>(d);
      dlg.show();
      if (!QTest::qWaitFor([&] { return dlg.Probed(); }, 5000)) return -1;
      // COM4 leads nowhere here: give it the terminal.
      dlg.PortBox()->setFocus();
      QTest::keyClick(dlg.PortBox(), Qt::Key_Home);
      for (int i = 1; i < 4; ++i) QTest::keyClick(dlg.PortBox(), Qt::Key_Down);
      if (dlg.PortBox()->currentText() != "COM4") return -1;
      QLineEdit* e = dlg.DeviceBox()->lineEdit();
      e->selectAll();
      QTest::keyClicks(e, QString::fromStdString(tty));
      QTest::keyClick(e, Qt::Key_Return);
      if (!dlg.Button(4)->isEnabled() || !dlg.Button(4)->isChecked()) return -1;
      return int(QDialog::Accepted);
    });
    f_->Frame().RunCommand(kCmdCommPort);
    Settle();
    QVERIFY(f_->prompter.dialogs.empty());
    QCOMPARE(f_->Ws().comPort, 4);
    QCOMPARE(AppSettings().PortDevice(4), tty);
    ::close(master);
    ::close(slave);
  }

  // Only with VB420_SCREENSHOT_DIR set, on a real display (xvfb-run): the
  // maximised main window with a maximised Zone Information and the tree
  // bar, the Communication Port dialog and the memory viewer, in the shipped
  // English and Spanish texts, and the main window under a dark palette.
  void screenshots_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("dark");
    QTest::newRow("en") << 1 << false;
    QTest::newRow("sp") << 2 << false;
    QTest::newRow("en-dark") << 1 << true;
  }
  void screenshots() {
    const char* dir = getenv("VB420_SCREENSHOT_DIR");
    if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
    QFETCH(int, language);
    QFETCH(bool, dark);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const auto save = [&](QWidget* w, const QString& what) {
      QVERIFY(w->grab().save(QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(dir), what, name)));
    };
    f_.reset();
    const QPalette old = QApplication::palette();
    if (dark) {
      QPalette p;
      p.setColor(QPalette::Window, QColor(45, 45, 48));
      p.setColor(QPalette::WindowText, QColor(230, 230, 230));
      p.setColor(QPalette::Base, QColor(30, 30, 32));
      p.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
      p.setColor(QPalette::Text, QColor(230, 230, 230));
      p.setColor(QPalette::Button, QColor(60, 60, 64));
      p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
      p.setColor(QPalette::Highlight, QColor(42, 130, 218));
      p.setColor(QPalette::HighlightedText, Qt::white);
      p.setColor(QPalette::Mid, QColor(90, 90, 96));
      p.setColor(QPalette::Dark, QColor(25, 25, 28));
      p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
      p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
      p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
      QApplication::setPalette(p);
    }
    f_ = std::make_unique<AppFixture>();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", language);
    QVERIFY(f_->Start());
    f_->Frame().showMaximized();
    Settle();
    auto* view = dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
    CEditGrid* g = view->CurrentGridWidget();
    g->setFocus();
    for (const char* rx : {"146.52", "147.03", "155.4875"}) {
      QTest::keyClicks(g, QString::fromLatin1(rx).left(1));
      QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(rx).mid(1));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      g->SetCurrent(g->Row() + 1, 1);
    }
    f_->Frame().Children().front()->showMaximized();
    f_->Frame().RunCommand(kCmdTreeView);
    Settle();
    QTest::qWait(300);
    save(&f_->Frame(), QStringLiteral("main-max"));
    if (!dark) {
      CCommPortDlg port(f_->Ws().text, nullptr, 1, [](int n) { return AppSettings().PortDevice(n); });
      port.show();
      QTest::qWaitFor([&] { return port.Probed(); }, 5000);
      save(&port, QStringLiteral("commport"));
      // The device box empty: its hint says a path may be typed.
      port.DeviceBox()->lineEdit()->clear();
      Settle();
      save(&port, QStringLiteral("commport-hint"));
      CSplashWnd splash(f_->Ws().text, 24);
      splash.show();
      Settle();
      save(&splash, QStringLiteral("splash"));
      splash.hide();
      CAboutDlg about(f_->Ws().text);
      about.show();
      Settle();
      save(&about, QStringLiteral("about"));
      // The comparison with a file that differs in a name and a byte.
      QTemporaryDir tmp;
      RadioData other(&f_->Ws().text);
      std::copy(f_->Ws().data.buffers.ImageBytes().begin(), f_->Ws().data.buffers.ImageBytes().end(), other.Image().data());
      std::copy(f_->Ws().data.buffers.ExtBytes().begin(), f_->Ws().data.buffers.ExtBytes().end(), other.Ext().data());
      other.SyncCodecs();
      other.Image().setU8(0x11F, 0x42);
      other.Image().writeText(img::kEmbeddedMessage, "FROM THE RADIO", 32, 0);
      const QString path = tmp.filePath(QStringLiteral("other.dat"));
      QVERIFY(SaveDatFile(path.toStdString(), other).ok());
      RunCompareWithFile(f_->Frame().Context(), path);
      Settle();
      auto* compare = f_->Frame().findChild<CCompareWindow*>();
      QVERIFY(compare);
      save(compare, QStringLiteral("compare"));
      compare->close();
    }
    f_->prompter.dialogs.push_back([&](QDialog& d) {
      d.resize(900, 520);
      d.show();
      Settle();
      save(&d, QStringLiteral("memory"));
      return int(QDialog::Rejected);
    });
    f_->Frame().RunCommand(kCmdMemoryMap);
    Settle();
    f_.reset();
    QApplication::setPalette(old);
  }

  void everyControlOfEveryWindowHasAName() {
    for (const EditorListRow& row : EditorList()) {
      if (row.command == 0) continue;
      f_->Frame().RunCommand(row.command);
      Settle();
    }
    f_->Frame().RunCommand(kCmdTreeView);
    Settle();
    QList<QWidget*> unnamed = UnnamedControls(&f_->Frame());
    for (CChildFrame* frame : f_->Frame().Children()) {
      frame->View()->show();
      unnamed += UnnamedControls(frame);
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(Describe(unnamed)));
    // The dialogs of the radio link and of the files.
    RadioLink link;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<CReadDlg>(f_->Ws(), f_->Frame().Context().msg, nullptr, link));
    dialogs.push_back(std::make_unique<CWriteDlg>(f_->Ws(), f_->Frame().Context().msg, nullptr, link, true));
    dialogs.push_back(std::make_unique<CCommPortDlg>(f_->Ws().text, nullptr, 1, [](int) { return std::string(); }));
    dialogs.push_back(std::make_unique<CPasswordDlg>(f_->Ws().text, 695, true, "A", "B"));
    dialogs.push_back(std::make_unique<CSaveTypeDlg>(f_->Ws().text, nullptr));
    for (auto& d : dialogs) {
      d->show();
      Settle();
      unnamed += UnnamedControls(d.get());
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(Describe(unnamed)));
  }

 private:
  std::unique_ptr<AppFixture> f_;
};

VB420_QTEST(FitTest)
#include "fit_test.moc"
