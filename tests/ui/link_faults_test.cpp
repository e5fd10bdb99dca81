// SPDX-License-Identifier: GPL-3.0-or-later
// Write and Read in the program against radios and ports that let them down:
// a write given up after its first blocks, a write refused before any, and a
// port that another program holds. Through the menu commands and the real
// dialogs, against the simulated radio.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <QByteArray>
#include <QMessageBox>
#include <QTest>
#include <filesystem>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/RadioDialogs.h"

#include "SimSupport.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using vb420::testing::SimProcess;
using vb420::uitest::Bytes;
using vb420::uitest::Env;
using vb420::uitest::RadioOnCom1;
using vb420::uitest::FileBytes;

namespace {

// Runs a transfer dialog at once, answers Retry `retries` times and then
// Cancel, and accepts anything else.
struct Answers {
  int retries = 0;
  int retryBoxes = 0;
  QStringList seen;
  int Answer(QDialog& d) {
    seen << d.objectName();
    if (auto* t = qobject_cast<CTransferDlg*>(&d)) {
      d.show();
      t->StartTransfer();
      return d.result();
    }
    if (d.objectName() == "retryCancel") {
      ++retryBoxes;
      if (retries > 0) {
        --retries;
        return QMessageBox::Retry;
      }
      return QMessageBox::Cancel;
    }
    d.accept();
    return QDialog::Accepted;
  }
};

}  // namespace

class LinkFaultsTest : public QObject, public RadioOnCom1 {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void writeGivenUpMidwaySaysOnceThatTheRadioIsPartlyWritten();
  void writeRefusedBeforeAnyBlockSaysNothingOfAPartialWrite();
  void portHeldByAnotherProgramIsNamedInItsOwnMessage();

 private:
  void Run(int command);

  std::unique_ptr<AppFixture> f_;
  Answers answers_;
};

void LinkFaultsTest::init() {
  answers_ = Answers();
  InitRadio();
  f_ = std::make_unique<AppFixture>();
}

void LinkFaultsTest::cleanup() {
  f_.reset();
  CleanupRadio();
}

void LinkFaultsTest::Run(int command) {
  for (int i = 0; i < 8; ++i) f_->prompter.dialogs.push_back([this](QDialog& d) { return answers_.Answer(d); });
  f_->Frame().RunCommand(command);
  Settle();
  f_->prompter.dialogs.clear();
}

void LinkFaultsTest::writeGivenUpMidwaySaysOnceThatTheRadioIsPartlyWritten() {
  // The start-up programming is a VT-1600, like the radio.
  StartSim({"--model", "VT-1600", "--band", "136-174", "--fault", "silence@block=40"});
  QVERIFY(f_->Start());
  answers_.retries = 1;
  Run(kCmdWrite);
  QVERIFY(answers_.seen.contains("writeDlg"));
  QCOMPARE(answers_.retryBoxes, 2);
  const std::string folder = tmp_.filePath("data").toStdString() + "/vb420/backups";
  // One box after the last Cancel: what happened and what to do, naming the
  // folder of the backups. No success box.
  const QStringList texts = f_->prompter.MessageTexts();
  QCOMPARE(texts.count(QStringLiteral("E289\n\nE290\n") + QString::fromStdString(folder)), 1);
  QVERIFY(!texts.contains("E219") && !texts.contains("E246"));
  QCOMPARE(texts.size(), 1);
}

void LinkFaultsTest::writeRefusedBeforeAnyBlockSaysNothingOfAPartialWrite() {
  // A portable radio does not take a mobile's programming: refused at the
  // identification, before any block.
  StartSim({"--model", "VT-1400", "--band", "136-174"});
  QVERIFY(f_->Start());
  Run(kCmdWrite);
  // 271 naming both models, with OK only: asking again cannot help.
  QCOMPARE(answers_.retryBoxes, 0);
  const QStringList texts = f_->prompter.MessageTexts();
  QCOMPARE(texts.size(), 1);
  QVERIFY(texts[0].startsWith("E271\n\n"));
  for (const QString& t : texts) QVERIFY2(!t.contains("E289"), qPrintable(t));
}

void LinkFaultsTest::portHeldByAnotherProgramIsNamedInItsOwnMessage() {
  StartSim({"--model", "VT-1600", "--band", "136-174"});
  QVERIFY(f_->Start());
  const int other = ::open(sim_->Device().c_str(), O_RDWR | O_NOCTTY);
  QVERIFY(other >= 0);
  QCOMPARE(flock(other, LOCK_EX | LOCK_NB), 0);
  Run(kCmdRead);
  ::close(other);
  QVERIFY(answers_.seen.contains("readDlg"));
  // Its own message naming the device, and who else may hold an adapter.
  QCOMPARE(f_->prompter.MessageTexts(),
           (QStringList{QStringLiteral("E285\n") + QString::fromStdString(sim_->Device()) + "\n\nE117"}));
  QCOMPARE(answers_.retryBoxes, 0);
}

VB420_QTEST(LinkFaultsTest)
#include "link_faults_test.moc"
