// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Test Mode against the simulated radio: the dialog's controls and
// the adjustment panel send their commands, Cancel on a failure ends test
// mode, and a radio that disagrees with the image never gets the dialog.
#include "support/Files.h"
#include "support/Paths.h"
#include <stdlib.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/TestModeDlg.h"

#include "SimSupport.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using vb420::testing::SimProcess;
using vb420::uitest::Bytes;
using vb420::uitest::Env;
using vb420::uitest::FileBytes;

namespace {

// The commands the simulated radio heard, by name.
QStringList Notes(const std::string& path) {
  QStringList out;
  for (const auto& n : ::vb420::testing::TraceNotes(path)) out << QString::fromStdString(n);
  return out;
}

// `after` appears after `before` in `notes`.
bool InOrder(const QStringList& notes, const QStringList& want) {
  int from = 0;
  for (const QString& w : want) {
    from = notes.indexOf(w, from);
    if (from < 0) return false;
    ++from;
  }
  return true;
}

std::string TestFreqTextOf(RadioData& data, int slot) {
  std::string s;
  data.TestFreqTable().PairFreqToText(slot, 0, s);
  return s;
}

int RowOfItem(QListWidget* list, int item) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->data(Qt::UserRole).toInt() == item) return i;
  return -1;
}

}  // namespace

class TestModeUiTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void dialogDrivesTheRadioAndClosesWithE();
  void panelStepsSetsAndCancelRestoresTheTestState();
  void panelKeyboardQueryTimerAndOk();
  void testChannelMismatchNeverShowsTheDialog();
  void cancelOnAFailedCommandClosesTheDialog();
  void typedNumbersAndSecondGenerationSignalling();
  // Only with VB420_SCREENSHOT_DIR set: the dialog and the panel on a
  // six-point item, in English and Spanish.
  void screenshots();

 private:
  // Starts the program, then a radio holding the program's own image.
  void StartBoth(const char* model, std::vector<std::string> extra = {});
  void RunTestMode(std::function<int(CTestModeDlg&)> script);
  QStringList HeardNow() {
    // The dialog has closed the line: let the radio read the last bytes.
    ::vb420::testing::WaitForHangUp(trace_, 5000);
    sim_->Stop();
    return Notes(trace_);
  }

  std::unique_ptr<AppFixture> f_;
  std::unique_ptr<SimProcess> sim_;
  std::unique_ptr<Env> com1_;
  QTemporaryDir tmp_;
  std::string trace_;
  bool dialogShown_ = false;
};

void TestModeUiTest::init() {
  f_ = std::make_unique<AppFixture>();
  trace_ = tmp_.filePath("trace.txt").toStdString();
  dialogShown_ = false;
}

void TestModeUiTest::cleanup() {
  f_.reset();
  sim_.reset();
  com1_.reset();
}

void TestModeUiTest::StartBoth(const char* model, std::vector<std::string> extra) {
  QVERIFY(f_->Start());
  RadioData& data = f_->Ws().data;
  data.model.SetModel(ModelNumberOfName(model));
  data.SyncCodecs();
  InitNewImage(data, false);
  const std::string image = tmp_.filePath("bench.dat").toStdString();
  QCOMPARE(SaveDatFile(image, data).result, kFileOk);
  std::vector<std::string> args = {"--image", image, "--trace", trace_};
  args.insert(args.end(), extra.begin(), extra.end());
  sim_ = std::make_unique<SimProcess>(args);
  QVERIFY(sim_->Started());
  com1_ = std::make_unique<Env>("VB420_COM1", sim_->Device());
}

void TestModeUiTest::RunTestMode(std::function<int(CTestModeDlg&)> script) {
  f_->prompter.dialogs.push_back([this, script](QDialog& d) {
    auto* dlg = qobject_cast<CTestModeDlg*>(&d);
    if (!dlg) return int(QDialog::Rejected);
    dialogShown_ = true;
    d.show();
    return script(*dlg);
  });
  f_->Frame().RunCommand(kCmdTestMode);
  Settle();
  f_->prompter.dialogs.clear();
}

void TestModeUiTest::dialogDrivesTheRadioAndClosesWithE() {
  StartBoth("VT-1600");
  QString rxBefore, rxAfter, checksum;
  int adjustRows = 0;
  RunTestMode([&](CTestModeDlg& d) {
    rxBefore = d.RxFreq()->text();
    d.ChannelSpin()->stepBy(1);
    rxAfter = d.RxFreq()->text();
    d.SignallingSpin()->stepBy(-1);  // from 1 round to 17
    d.Bandwidth()->setCurrentIndex(1);
    Q_EMIT d.Bandwidth()->activated(1);
    d.NarrowButton()->click();
    Q_EMIT d.Compander()->activated(1);
    Q_EMIT d.BeatShift()->activated(0);
    Q_EMIT d.MskRate()->activated(1);
    Q_EMIT d.NoiseBlanker()->activated(1);
    d.TxButton()->click();
    d.TxButton()->click();
    d.ChecksumButton()->click();
    checksum = d.Checksum()->text();
    adjustRows = d.Adjustments()->count();
    d.TxButton()->click();  // closed while transmitting
    d.CloseButton()->click();
    return d.result();
  });
  QVERIFY(dialogShown_);
  QVERIFY(rxBefore.startsWith("  1"));
  QVERIFY(rxAfter != rxBefore);
  QCOMPARE(checksum, QStringLiteral("3C5A"));
  QCOMPARE(adjustRows, 20);  // the mobile's items
  const QStringList heard = HeardNow();
  QVERIFY2(InOrder(heard, {"tuning-call", "identify", "version", "test-channel 16", "tuning-block",
                           "prefix set 0x08", "test-channel 1", "signalling 1", "test-channel 2", "signalling 17",
                           "bandwidth F", "bandwidth G", "parameter 0x84 on", "parameter 0x0B off", "msk high",
                           "bandwidth L", "transmit on", "transmit off", "checksum", "transmit on", "end"}),
           qPrintable(heard.join(" | ")));
  QCOMPARE(heard.last(), QStringLiteral("end"));
  QVERIFY(!ProgramRadioLink(f_->Ws()).IsOpen());
}

void TestModeUiTest::panelStepsSetsAndCancelRestoresTheTestState() {
  StartBoth("VT-1600");
  int tabs = 0;
  bool volumeShown = true;
  int value = -1;
  f_->prompter.answers.push_back(kIdOk);  // the Print notice
  QString printNotice;
  RunTestMode([&](CTestModeDlg& d) {
    d.ChannelSpin()->stepBy(1);
    const int row = RowOfItem(d.Adjustments(), 6);  // six points
    f_->prompter.dialogs.push_back([&](QDialog& pd) {
      auto& p = static_cast<CTestAdjustDlg&>(pd);
      tabs = p.Tabs()->count();
      volumeShown = p.VolumeGroup()->isVisibleTo(&p);
      p.Spin()->stepBy(1);
      p.Spin()->stepBy(5);
      p.Slider()->triggerAction(QAbstractSlider::SliderPageStepSub);
      p.Spin()->setValue(0x40);
      Q_EMIT p.Spin()->editingFinished();
      p.Tabs()->setCurrentIndex(2);
      p.TxButton()->click();
      value = p.State().Value();
      p.CancelButton()->click();
      return pd.result();
    });
    d.OpenAdjustment(row);
    d.PrintButton()->click();
    d.CloseButton()->click();
    return d.result();
  });
  QCOMPARE(tabs, 6);
  QVERIFY(!volumeShown);
  QCOMPARE(value, 0x80);  // the radio's value of the third point
  const QStringList heard = HeardNow();
  QVERIFY2(InOrder(heard, {"test-channel 2", "parameter 0x12 on", "values of 0x12", "parameter 0x12 step +1",
                           "parameter 0x12 step +5", "parameter 0x12 step -8", "parameter 0x12 set 0x40",
                           "parameter 0x12 off", "parameter 0x33 on", "values of 0x33", "transmit on",
                           "transmit off", "test-data", "test-channel 2", "signalling 1", "test-data", "end"}),
           qPrintable(heard.join(" | ")));
  QVERIFY(!heard.contains("parameter 0x33 off"));  // Cancel leaves the point as it is
  // Print reads the test data and offers the test-mode report to the printer.
  QVERIFY2(f_->prompter.dialogTitles.contains(QStringLiteral("E126")), qPrintable(f_->prompter.dialogTitles.join("|")));
}

void TestModeUiTest::panelKeyboardQueryTimerAndOk() {
  StartBoth("VT-1400");
  int afterCtrlTab = -1, afterBack = -1, queries = 0;
  QWidget* focusAfterEnter = nullptr;
  QWidget* volumeSpin = nullptr;
  bool timerRunning = false;
  RunTestMode([&](CTestModeDlg& d) {
    const int row = RowOfItem(d.Adjustments(), 20);  // RSSI: watched by the timer
    f_->prompter.dialogs.push_back([&](QDialog& pd) {
      auto& p = static_cast<CTestAdjustDlg&>(pd);
      pd.show();
      timerRunning = p.QueryTimer()->isActive() && p.QueryTimer()->interval() == 550;
      QTest::qWait(1300);
      QTest::keyClick(p.Spin(), Qt::Key_Tab, Qt::ControlModifier);
      afterCtrlTab = p.Tabs()->currentIndex();
      QTest::keyClick(p.Spin(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
      afterBack = p.Tabs()->currentIndex();
      p.Spin()->setFocus();
      QTest::keyClick(p.Spin(), Qt::Key_Return);
      focusAfterEnter = pd.focusWidget();
      volumeSpin = p.VolumeSpin();
      QTest::keyClick(p.TxButton(), Qt::Key_Space);
      QTest::keyClick(p.OkButton(), Qt::Key_Return);
      return pd.result();
    });
    d.OpenAdjustment(row);
    d.CloseButton()->click();
    return d.result();
  });
  QVERIFY(timerRunning);
  QCOMPARE(afterCtrlTab, 1);
  QCOMPARE(afterBack, 0);
  QVERIFY(focusAfterEnter != nullptr && focusAfterEnter != volumeSpin);
  const QStringList heard = HeardNow();
  for (const QString& n : heard) queries += n.startsWith("parameter 0x92 query");
  QVERIFY2(queries >= 2, qPrintable(heard.join(" | ")));
  QVERIFY(!heard.contains("prefix set 0x08"));  // a portable
  QVERIFY2(InOrder(heard, {"parameter 0x92 on", "parameter 0x92 off", "parameter 0x93 on", "parameter 0x93 off",
                           "parameter 0x92 on", "transmit on", "transmit off", "parameter 0x92 off", "end"}),
           qPrintable(heard.join(" | ")));
}

void TestModeUiTest::testChannelMismatchNeverShowsTheDialog() {
  StartBoth("VT-1600", {"--fault", "differ@testchannel=3"});
  RunTestMode([](CTestModeDlg& d) { return d.result(); });
  QVERIFY(!dialogShown_);
  QVERIFY(f_->prompter.MessageTexts().contains("E272"));
  QVERIFY(!ProgramRadioLink(f_->Ws()).IsOpen());
  const QStringList heard = HeardNow();
  QCOMPARE(heard.mid(heard.size() - 2), (QStringList{"test-channel 3", "end"}));
}

void TestModeUiTest::cancelOnAFailedCommandClosesTheDialog() {
  StartBoth("VT-1600", {"--fault", "silence@test=0x84"});
  bool visibleAfter = true;
  int retryBoxes = 0;
  RunTestMode([&](CTestModeDlg& d) {
    f_->prompter.dialogs.push_back([&](QDialog& box) {
      retryBoxes += box.objectName() == "retryCancel";
      return int(QMessageBox::Cancel);
    });
    d.TxButton()->click();
    Q_EMIT d.Compander()->activated(1);
    visibleAfter = d.isVisible();
    return d.result();
  });
  QCOMPARE(retryBoxes, 1);
  QVERIFY(!visibleAfter);
  QVERIFY(!ProgramRadioLink(f_->Ws()).IsOpen());
  const QStringList heard = HeardNow();
  QCOMPARE(heard.count("end"), 1);
  QCOMPARE(heard.last(), QStringLiteral("end"));
}

void TestModeUiTest::typedNumbersAndSecondGenerationSignalling() {
  StartBoth("VT-1602");
  int maxSignalling = 0;
  QString rx;
  RunTestMode([&](CTestModeDlg& d) {
    maxSignalling = d.SignallingSpin()->maximum();
    d.SignallingSpin()->stepBy(-1);  // from 1 round to 16
    d.ChannelSpin()->setValue(5);
    Q_EMIT d.ChannelSpin()->editingFinished();
    Q_EMIT d.ChannelSpin()->editingFinished();  // unchanged: nothing more is sent
    rx = d.RxFreq()->text();
    d.CloseButton()->click();
    return d.result();
  });
  QCOMPARE(maxSignalling, 16);
  QCOMPARE(rx, QStringLiteral("  ") + QString::fromStdString(TestFreqTextOf(f_->Ws().data, 4)));
  const QStringList heard = HeardNow();
  QVERIFY2(InOrder(heard, {"signalling 1", "signalling 16", "test-channel 5", "end"}), qPrintable(heard.join(" | ")));
  QCOMPARE(heard.count("test-channel 5"), 2);  // the check at the start, and the one typed
}

void TestModeUiTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  for (const char* lang : {"en", "es"}) {
    cleanup();
    init();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    StartBoth("VT-1600");
    const QString base = QString(dir) + "/" + lang;
    RunTestMode([&](CTestModeDlg& d) {
      d.resize(d.sizeHint());
      QTest::qWait(200);
      d.grab().save(base + "-test-mode.png");
      f_->prompter.dialogs.push_back([&](QDialog& pd) {
        pd.show();
        QTest::qWait(200);
        pd.grab().save(base + "-adjust-panel.png");
        return int(QDialog::Rejected);
      });
      d.OpenAdjustment(RowOfItem(d.Adjustments(), 6));
      d.CloseButton()->click();
      return d.result();
    });
    sim_->Stop();
  }
}

VB420_QTEST(TestModeUiTest)
#include "test_mode_test.moc"
