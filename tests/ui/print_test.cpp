// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print and Print Preview: the options dialog (boxes, zone fields,
// the live page count, what is enabled), the preview and its flag, and the
// printed pages as they come out of the preview.
#include "support/Files.h"
#include "support/Paths.h"
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "app/MainFrame.h"
#include "data/NewImage.h"
#include "editors/zones/ZoneMemory.h"
#include "frame/ui/Commands.h"
#include "lang/ui/HelpSystem.h"
#include "print/PrintOptionsDlg.h"
#include "print/PrintPreview.h"
#include "print/core/PagePlan.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using print::CPrintOptionsDlg;
using print::PrintOptions;

namespace {

void Trigger(AppFixture& f, int command) { f.Frame().Action(command)->trigger(); }

// Zones of all three kinds so that the zone pages count.
void AddZones(RadioData& data) {
  CZoneMemory zones(data);
  QVERIFY(zones.CreateZone(0, '1') == 1);
  for (int c = 0; c < 40; ++c) QVERIFY(zones.InsertRecord(0, c) == 1);
  QVERIFY(zones.CreateZone(4, '0') == 1);
  QVERIFY(zones.InsertRecord(4, 0) == 1);
  QVERIFY(zones.CreateZone(9, '5') == 1);
}

int CountShown(const CPrintOptionsDlg& d) {
  const QString t = d.PageCountLabel()->text();
  return t.section(QLatin1Char(' '), -1).toInt();
}

void Type(QLineEdit* e, const QString& text) {
  e->setFocus();
  e->selectAll();
  QTest::keyClicks(e, text);
  QMetaObject::invokeMethod(e, "editingFinished");
}

QPrintPreviewWidget* PreviewWidget(QDialog& d) { return d.findChild<QPrintPreviewWidget*>(); }

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void optionsDialogBoxesAndPageCount();
  void zoneFieldsRangeAndOrder();
  void clearAllDisablesPrintAndPreview();
  void printerSetupRecountsForTheOrientation();
  void printRunsOnceAndPreviewReturnsToTheDialog();
  void previewFromTheMenuSetsTheFlagUntilItEnds();
  void printToAPdfFileWithAPageRange();
  void helpComesToTheFrontOfTheModalDialog();
  void screenshots();

 private:
  void Start() {
    QVERIFY(f_->Start());
    AddZones(f_->Ws().data);
    print::SessionPrinter().setPageOrientation(QPageLayout::Portrait);
  }
  // Runs File > Print with `script` on the options dialog.
  void WithDialog(const std::function<void(CPrintOptionsDlg&)>& script) {
    bool ran = false;
    f_->prompter.dialogs.push_back([&](QDialog& d) {
      auto* dlg = qobject_cast<CPrintOptionsDlg*>(&d);
      if (!dlg) return int(QDialog::Rejected);
      ran = true;
      script(*dlg);
      return d.result();
    });
    Trigger(*f_, kCmdFilePrint);
    QVERIFY(ran);
  }
  int Expected(const PrintOptions& o, bool landscape) { return print::PageCount(f_->Ws().data, o, landscape); }

  std::unique_ptr<AppFixture> f_;
};

void PrintTest::init() { f_ = std::make_unique<AppFixture>(); }
void PrintTest::cleanup() { f_.reset(); }

// Help from the modal options dialog stands above it and takes input (it
// belongs to the dialog); afterwards help from the main window is a window
// of its own again.
void PrintTest::helpComesToTheFrontOfTheModalDialog() {
  Start();
  HelpSystem& help = f_->App().Help();
  WithDialog([&](CPrintOptionsDlg& d) {
    d.setWindowModality(Qt::ApplicationModal);
    d.show();
    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(&d));
    auto* button = d.findChild<QPushButton*>(QStringLiteral("help"));
    QVERIFY(button && button->isEnabled());
    button->click();
    QWidget* w = help.Window();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(w->isWindow());
    // Not blocked by the modal dialog: a window of the dialog itself.
    QCOMPARE(w->parentWidget(), static_cast<QWidget*>(&d));
    QVERIFY(help.Browser()->source().toLocalFile().endsWith(HelpSystem::PageName(0x15000)));
    d.hide();
    d.setWindowModality(Qt::NonModal);
    d.reject();
  });
  QVERIFY(!QApplication::activeModalWidget());
  QVERIFY(help.Show(&f_->Frame(), 0));
  QVERIFY(help.Window());
  QVERIFY(!help.Window()->parentWidget());
  QVERIFY(help.Window()->isVisible());
  help.CloseAll();
}

void PrintTest::optionsDialogBoxesAndPageCount() {
  Start();
  WithDialog([&](CPrintOptionsDlg& d) {
    QCOMPARE(d.windowTitle(), QStringLiteral("E126"));
    for (int i = 0; i < print::kCheckBoxCount; ++i) {
      QVERIFY(d.Box(i));
      QVERIFY(d.Box(i)->isChecked());
      QCOMPARE(d.Box(i)->text(), QStringLiteral("E%1").arg(print::CheckBoxTextEntry(i)));
    }
    QCOMPARE(d.FirstZoneEdit()->text(), QStringLiteral("1"));
    QCOMPARE(d.LastZoneEdit()->text(), QStringLiteral("128"));
    QCOMPARE(d.PageCountLabel()->text(), QStringLiteral("E128 %1").arg(Expected(PrintOptions::Defaults(), false)));
    // Each box changes the count at once; the zone fields follow the zones box.
    const int all = CountShown(d);
    d.Box(print::kOptZones)->click();
    QVERIFY(!d.FirstZoneEdit()->isEnabled() && !d.LastZoneEdit()->isEnabled());
    PrintOptions o = PrintOptions::Defaults();
    o.Set(print::kOptZones, false);
    QCOMPARE(CountShown(d), Expected(o, false));
    QVERIFY(CountShown(d) < all);
    d.Box(print::kOptFeatures)->click();
    o.Set(print::kOptFeatures, false);
    QCOMPARE(CountShown(d), Expected(o, false));
    // Header blocks do not change the count.
    d.Box(print::kOptModelBlock)->click();
    QCOMPARE(CountShown(d), Expected(o, false));
    d.Box(print::kOptZones)->click();
    QVERIFY(d.FirstZoneEdit()->isEnabled());
    d.reject();
  });
}

void PrintTest::zoneFieldsRangeAndOrder() {
  Start();
  WithDialog([&](CPrintOptionsDlg& d) {
    Type(d.LastZoneEdit(), "20");
    Type(d.FirstZoneEdit(), "200");  // brought to 128, and the last zone moves up to it
    QCOMPARE(d.FirstZoneEdit()->text(), QStringLiteral("128"));
    QCOMPARE(d.LastZoneEdit()->text(), QStringLiteral("128"));
    Type(d.LastZoneEdit(), "7");  // below the first: the first moves down
    QCOMPARE(d.FirstZoneEdit()->text(), QStringLiteral("7"));
    QCOMPARE(d.LastZoneEdit()->text(), QStringLiteral("7"));
    Type(d.FirstZoneEdit(), "0");
    QCOMPARE(d.FirstZoneEdit()->text(), QStringLiteral("1"));
    QCOMPARE(d.Options().LastZone(), 7);
    // Zones 1 to 7 hold the conventional and the LTR zone; 10 is left out.
    PrintOptions o = PrintOptions::Defaults();
    o.SetLastZone(7);
    QCOMPARE(CountShown(d), Expected(o, false));
    QVERIFY(CountShown(d) < Expected(PrintOptions::Defaults(), false));
    // Only digits, at most three.
    d.FirstZoneEdit()->clear();
    QTest::keyClicks(d.FirstZoneEdit(), "a12x34");
    QCOMPARE(d.FirstZoneEdit()->text(), QStringLiteral("123"));
    d.reject();
  });
}

void PrintTest::clearAllDisablesPrintAndPreview() {
  Start();
  WithDialog([&](CPrintOptionsDlg& d) {
    d.show();
    d.ClearAllButton()->click();
    for (int i = 0; i < print::kCheckBoxCount; ++i) QVERIFY(!d.Box(i)->isChecked());
    QVERIFY(!d.PrintButton()->isEnabled());
    QVERIFY(!d.PreviewButton()->isEnabled());
    QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.Box(print::kOptModelBlock)));
    QCOMPARE(CountShown(d), 1);  // an empty plan still has a page
    // One box, any box, enables them again.
    d.Box(print::kOptPassMessageBlock)->click();
    QVERIFY(d.PrintButton()->isEnabled() && d.PreviewButton()->isEnabled());
    d.Box(print::kOptPassMessageBlock)->click();
    QVERIFY(!d.PrintButton()->isEnabled());
    d.SelectAllButton()->click();
    for (int i = 0; i < print::kCheckBoxCount; ++i) QVERIFY(d.Box(i)->isChecked());
    QVERIFY(d.PrintButton()->isEnabled() && d.PreviewButton()->isEnabled());
    QCOMPARE(CountShown(d), Expected(PrintOptions::Defaults(), false));
    d.hide();
    d.reject();
  });
}

void PrintTest::printerSetupRecountsForTheOrientation() {
  Start();
  WithDialog([&](CPrintOptionsDlg& d) {
    const int portrait = CountShown(d);
    d.onPrinterSetup = [] { print::SessionPrinter().setPageOrientation(QPageLayout::Landscape); };
    d.SetupButton()->click();
    QCOMPARE(CountShown(d), Expected(PrintOptions::Defaults(), true));
    QVERIFY(CountShown(d) != portrait);
    d.reject();
  });
  print::SessionPrinter().setPageOrientation(QPageLayout::Portrait);
}

void PrintTest::printRunsOnceAndPreviewReturnsToTheDialog() {
  Start();
  PrintOptions printed;
  int prints = 0;
  WithDialog([&](CPrintOptionsDlg& d) {
    // File > Print again while the dialog is open does nothing.
    const int before = f_->prompter.dialogTitles.size();
    Trigger(*f_, kCmdFilePrint);
    QCOMPARE(f_->prompter.dialogTitles.size(), before);
    QCOMPARE(CPrintOptionsDlg::Open(), &d);
    // Preview: the dialog waits, disabled, and comes back when it closes.
    bool disabledDuring = false, flagDuring = false;
    int previewPages = -1;
    f_->prompter.dialogs.push_back([&](QDialog& p) {
      disabledDuring = !d.isEnabled();
      flagDuring = print::PreviewShowing();
      if (QPrintPreviewWidget* w = PreviewWidget(p)) {
        w->updatePreview();
        previewPages = w->pageCount();
      }
      p.reject();
      return int(QDialog::Rejected);
    });
    d.Box(print::kOptFeatures)->click();
    d.PreviewButton()->click();
    QVERIFY(disabledDuring);
    QVERIFY(flagDuring);
    QVERIFY(!print::PreviewShowing());
    QVERIFY(d.isEnabled());
    PrintOptions o = PrintOptions::Defaults();
    o.Set(print::kOptFeatures, false);
    QCOMPARE(previewPages, Expected(o, false));
    QCOMPARE(d.result(), int(QDialog::Rejected));  // still open
    // Print hands the options over and closes the dialog.
    d.onPrint = [&](const PrintOptions& chosen) {
      printed = chosen;
      ++prints;
      return true;
    };
    d.PrintButton()->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
  });
  QCOMPARE(prints, 1);
  QVERIFY(!printed.On(print::kOptFeatures));
  QVERIFY(printed.On(print::kOptZones));
  QVERIFY(!CPrintOptionsDlg::Open());
}

void PrintTest::previewFromTheMenuSetsTheFlagUntilItEnds() {
  Start();
  int pages = -1;
  bool flag = false, frameOpen = false;
  f_->prompter.dialogs.push_back([&](QDialog& p) {
    flag = print::PreviewShowing();
    if (QPrintPreviewWidget* w = PreviewWidget(p)) {
      w->updatePreview();
      pages = w->pageCount();
    }
    // Closing the main window now ends the preview, not the program.
    f_->Frame().close();
    frameOpen = f_->Frame().isVisible();
    return p.result();
  });
  const size_t messagesBefore = f_->prompter.messages.size();
  Trigger(*f_, kCmdFilePrintPreview);
  QVERIFY(flag);
  QVERIFY(!print::PreviewShowing());
  // Every option on, zones 1 to 128, without the dialog.
  QCOMPARE(pages, Expected(PrintOptions::Defaults(), false));
  QVERIFY(frameOpen);
  QCOMPARE(f_->prompter.messages.size(), messagesBefore);  // no "exit?" question was asked
  QVERIFY(f_->prompter.dialogTitles.contains(QStringLiteral("E47")));
}

// OK in the options dialog opens the system's print dialog; printing to a
// PDF file there writes the chosen pages.
void PrintTest::printToAPdfFileWithAPageRange() {
  Start();
  const QString pdf = f_->Path(QStringLiteral("printed.pdf"));
  const QString all = f_->Path(QStringLiteral("all.pdf"));
  int expected = 0;
  for (const QString& target : {all, pdf}) {
    WithDialog([&](CPrintOptionsDlg& d) {
      expected = d.Pages();
      f_->prompter.dialogs.push_back([&](QDialog& p) {
        auto* pd = qobject_cast<QPrintDialog*>(&p);
        if (!pd) return int(QDialog::Rejected);
        pd->printer()->setOutputFormat(QPrinter::PdfFormat);
        pd->printer()->setOutputFileName(target);
        if (target == pdf) {
          pd->printer()->setPrintRange(QPrinter::PageRange);
          pd->printer()->setFromTo(2, 4);
        } else {
          pd->printer()->setPrintRange(QPrinter::AllPages);
          pd->printer()->setFromTo(0, 0);
        }
        return int(QDialog::Accepted);
      });
      d.PrintButton()->click();
      QCOMPARE(d.result(), int(QDialog::Accepted));
    });
  }
  print::SessionPrinter().setOutputFileName(QString());
  print::SessionPrinter().setPrintRange(QPrinter::AllPages);
  auto pages = [](const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = f.readAll();
    // Every page object of Qt's PDF is "/Type /Page" followed by a space or
    // a line end (the page tree is "/Type /Pages").
    int n = 0;
    for (int at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1))
      if (at + 11 < bytes.size() && bytes[at + 11] != 's') ++n;
    return n;
  };
  QCOMPARE(pages(all), expected);
  QCOMPARE(pages(pdf), 3);
}

void PrintTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  for (const char* lang : {"en", "es"}) {
    f_ = std::make_unique<AppFixture>();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    Start();
    const QString base = QString(dir) + "/" + lang;
    WithDialog([&](CPrintOptionsDlg& d) {
      d.show();
      Settle();
      QTest::qWait(100);
      QVERIFY(d.grab().save(base + "-print-options.png"));
      f_->prompter.dialogs.push_back([&](QDialog& p) {
        p.resize(1000, 1100);
        p.show();
        Settle();
        QTest::qWait(400);
        if (!p.grab().save(base + "-preview.png")) qWarning("preview shot not saved");
        p.reject();
        return int(QDialog::Rejected);
      });
      d.PreviewButton()->click();
      d.reject();
    });
  }
}

VB420_QTEST(PrintTest)
#include "print_test.moc"
