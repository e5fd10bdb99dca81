// SPDX-License-Identifier: GPL-3.0-or-later
// File > Compare with Radio against the simulated radio: the radio's memory
// is read into a copy of its own, the differences are listed, and the
// working programming (and the scratch copy) stay as they were.
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "SimSupport.h"
#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "editors/compare/ui/CompareWindow.h"
#include "link/ui/RadioDialogs.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using vb420::testing::SimProcess;
using vb420::uitest::Env;

class CompareRadioTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void radioIsReadIntoACopyAndCompared() {
    QTemporaryDir tmp;
    Env data("XDG_DATA_HOME", tmp.filePath("data").toStdString());
    AppFixture f;
    QVERIFY(f.Start());
    Settle();
    // The radio holds the working programming with one name changed and one
    // byte that no window shows.
    RadioData radio;
    std::copy(f.Ws().data.buffers.ImageBytes().begin(), f.Ws().data.buffers.ImageBytes().end(), radio.Image().data());
    std::copy(f.Ws().data.buffers.ExtBytes().begin(), f.Ws().data.buffers.ExtBytes().end(), radio.Ext().data());
    radio.SyncCodecs();
    radio.Image().writeText(img::kEmbeddedMessage, "FROM THE RADIO", 32, 0);
    radio.Image().setU8(0x11F, 0x42);
    const std::string image = tmp.filePath("radio-in.dat").toStdString();
    QVERIFY(SaveDatFile(image, radio).ok());
    SimProcess sim({"--image", image});
    QVERIFY(sim.Started());
    Env com1("VB420_COM1", sim.Device());

    const std::vector<uint8_t> before = f.Ws().data.buffers.ImageBytes();
    const std::vector<uint8_t> beforeExt = f.Ws().data.buffers.ExtBytes();
    const std::vector<uint8_t> scratch(f.Ws().data.buffers.ScratchImage().data(),
                                       f.Ws().data.buffers.ScratchImage().data() + kImageSize);
    QStringList seen;
    bool pressedNothing = true;
    for (int i = 0; i < 4; ++i)
      f.prompter.dialogs.push_back([&seen, &pressedNothing](QDialog& d) {
        seen << d.objectName();
        if (auto* t = qobject_cast<CTransferDlg*>(&d)) {
          // Nothing is pressed: the read starts by itself once shown.
          d.show();
          if (!QTest::qWaitFor([t] { return !t->Running() && t->LastResult() == TransferResult::kOk; }, 60000))
            pressedNothing = false;
          return d.result();
        }
        d.accept();
        return int(QDialog::Accepted);
      });
    const size_t messagesBefore = f.prompter.messages.size();
    f.Frame().RunCommand(kCmdCompareRadio);
    Settle();
    QVERIFY(pressedNothing);
    // The read dialog alone, with no "read complete" notice: the comparison
    // is the result.
    QCOMPARE(seen, QStringList({"readDlg"}));
    QCOMPARE(f.prompter.messages.size(), messagesBefore);
    auto* w = f.Frame().findChild<CCompareWindow*>();
    QVERIFY(w);
    // Every column has its heading.
    QCOMPARE(w->List()->columnCount(), 4);
    for (int c = 0; c < 4; ++c) QVERIFY2(!w->List()->headerItem()->text(c).isEmpty(), qPrintable(QString::number(c)));
    QCOMPARE(w->List()->headerItem()->text(1), QString("E1297"));
    QStringList lines;
    for (const auto& l : w->Lines()) lines << QString::fromStdString(compare::FormatLine(l));
    QVERIFY2(lines.contains("image 0x011F: FF -> 42"), qPrintable(lines.join('|')));
    bool message = false;
    for (const QString& l : lines) message = message || l.startsWith("message.");
    QVERIFY2(message, qPrintable(lines.join('|')));
    QCOMPARE(w->windowTitle(), QString("E1179"));  // the test texts have no "%s" to fill
    // Nothing of the programming changed, and the scratch copy is as it was.
    QVERIFY(f.Ws().data.buffers.ImageBytes() == before);
    QVERIFY(f.Ws().data.buffers.ExtBytes() == beforeExt);
    QVERIFY(std::equal(scratch.begin(), scratch.end(), f.Ws().data.buffers.ScratchImage().data()));
  }
};

VB420_QTEST(CompareRadioTest)
#include "compare_radio_test.moc"
