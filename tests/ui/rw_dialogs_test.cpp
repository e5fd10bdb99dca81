// SPDX-License-Identifier: GPL-3.0-or-later
// Read, Write, Radio Information and Communication Port in the program,
// through the menu commands and the real dialogs, against the simulated radio.
#include "support/Files.h"
#include "support/Paths.h"
#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <QByteArray>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
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

std::string MakeImage(const std::string& path, const char* model, const char* band, uint8_t seed) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName(model));
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText(band)));
  InitNewImage(data, false);
  ByteArea image = data.Image();
  for (size_t i = 0x3000; i < 0x3400; ++i) image.setU8(i, static_cast<uint8_t>(i * 5 + seed));
  image.writeText(0x9A0, "HELLO FROM THE RADIO", 32, 0xFF);
  image.writeText(0x9C0, "SECOND LINE", 32, 0xFF);
  ByteArea extArea = data.Ext();
  for (size_t i = 0x100; i < kExtSize; ++i) extArea.setU8(i, static_cast<uint8_t>((i * 3 + seed) | 0x01));
  if (SaveDatFile(path, data).result != kFileOk) qWarning("cannot write %s", path.c_str());
  return path;
}

// Answers every dialog the commands open, by its kind.
struct DialogAnswers {
  QString password = "12";
  bool adjustTime = true;
  int verify = -1;     // -1 leaves the Write dialog's boxes as they open
  int readFirst = -1;
  bool verifyShownChecked = false;
  bool readFirstShownChecked = true;
  int retries = 0;  // Retry answers before Cancel
  std::vector<int> progressSeen;
  bool buttonsDisabledWhileRunning = true;
  bool closeIgnoredWhileRunning = true;
  bool noStopShown = false;
  int cancelAt = -1;  // clicks Cancel when the progress reaches this step
  QString busyTitle;
  QString lastProgressText;
  bool passwordGroupVisible = false;
  QStringList passwordLines;
  std::array<QString, 6> infoLines;
  QStringList seen;

  std::function<int(QDialog&)> Script() {
    return [this](QDialog& d) { return Answer(d); };
  }
  int Answer(QDialog& d) {
    seen << d.objectName();
    if (auto* t = qobject_cast<CTransferDlg*>(&d)) {
      d.show();
      if (auto* w = qobject_cast<CWriteDlg*>(&d)) {
        w->AdjustTimeBox()->setChecked(adjustTime);
        verifyShownChecked = w->VerifyBox()->isChecked();
        readFirstShownChecked = w->ReadFirstBox()->isChecked();
        if (verify >= 0) w->VerifyBox()->setChecked(verify == 1);
        if (readFirst >= 0) w->ReadFirstBox()->setChecked(readFirst == 1);
      }
      const bool write = qobject_cast<CWriteDlg*>(&d) != nullptr;
      QObject::connect(t->Bar(), &QProgressBar::valueChanged, t, [this, t, write](int v) {
        progressSeen.push_back(v);
        if (t->GoButton()->isEnabled() || t->HelpButton()->isEnabled()) buttonsDisabledWhileRunning = false;
        // A read may be cancelled between blocks; a write may not.
        if (v > 0 && t->CancelButton()->isEnabled() == write) buttonsDisabledWhileRunning = false;
        if (v == 100) {
          busyTitle = t->windowTitle();
          if (write) {
            QTest::keyClick(t, Qt::Key_Escape);
            t->close();
            if (!t->isVisible()) closeIgnoredWhileRunning = false;
            noStopShown = t->findChild<QLabel*>("noStopNote")->isVisible() && !t->CancelButton()->toolTip().isEmpty();
          }
        }
        if (v == cancelAt) QTest::mouseClick(t->CancelButton(), Qt::LeftButton);
      });
      t->StartTransfer();
      lastProgressText = t->ProgressText()->text();
      return d.result();
    }
    if (auto* p = qobject_cast<CPasswordDlg*>(&d)) {
      passwordGroupVisible = p->MessageGroup()->isVisibleTo(p);
      passwordLines.clear();
      for (auto* e : p->MessageGroup()->findChildren<QLineEdit*>()) passwordLines << e->text();
      p->Edit()->setText(password);
      d.accept();
      return QDialog::Accepted;
    }
    if (auto* i = qobject_cast<CRadioInfoDlg*>(&d)) {
      for (int n = 0; n < 6; ++n) infoLines[static_cast<size_t>(n)] = i->Line(n);
      return QDialog::Rejected;
    }
    if (d.objectName() == "retryCancel") {
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

class RwDialogsTest : public QObject, public RadioOnCom1 {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void readThroughTheMenuBecomesTheProgramming();
  void readWithPasswordShowsTheEmbeddedMessage();
  void readCancelledBetweenBlocksChangesNothing();
  void silentRadioLeavesTheWorkingImageUnchanged();
  void writeThroughTheMenuProgramsTheRadio();
  void writeRefusedByValidationSendsNothing();
  void writeReadBackFindsACorruptedBlockAndTheBoxesAreRemembered();
  void writeToAnotherModelNamesBothAndOffersNoRetry();
  void radioInformationShowsTheSixLines();
  void commPortOffersOnlyPortsThatOpen();
  void passwordDialogTakesAtMostSixDigits();
  // Only with VB420_SCREENSHOT_DIR set, on a real display (xvfb-run): pictures
  // of the Read dialog mid-transfer and of Radio Information.
  void screenshots();
  // The same, with VB420_SCREENSHOT_DIR: the Write dialog with its safety
  // boxes, in English and in Spanish.
  void writeDialogScreenshots();

 private:
  // The radio saves its memory into the test's folder when it stops.
  void StartSim(std::vector<std::string> args) {
    args.insert(args.end(), {"--save", TmpPath("radio.dat")});
    RadioOnCom1::StartSim(args);
  }
  void Run(int command, int copies = 8);

  std::unique_ptr<AppFixture> f_;
  DialogAnswers answers_;
};

void RwDialogsTest::init() {
  answers_ = DialogAnswers();
  InitRadio();
  f_ = std::make_unique<AppFixture>();
}

void RwDialogsTest::cleanup() {
  f_.reset();
  CleanupRadio();
}

void RwDialogsTest::Run(int command, int copies) {
  for (int i = 0; i < copies; ++i) f_->prompter.dialogs.push_back(answers_.Script());
  f_->Frame().RunCommand(command);
  Settle();
  f_->prompter.dialogs.clear();
}

void RwDialogsTest::readThroughTheMenuBecomesTheProgramming() {
  const std::string image = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2600", "450-520", 9);
  StartSim({"--image", image});
  QVERIFY(f_->Start());
  f_->Ws().datName = "other.dat";
  Run(kCmdRead);

  QCOMPARE(answers_.seen.first(), QStringLiteral("readDlg"));
  QVERIFY(f_->prompter.MessageTexts().contains("E208"));
  // Progress 0, then 1..264, and the dialog busy meanwhile.
  QCOMPARE(answers_.progressSeen.front(), 1);
  QCOMPARE(answers_.progressSeen.back(), 264);
  QCOMPARE(answers_.lastProgressText, QStringLiteral("E209 264 / 264"));
  QCOMPARE(answers_.busyTitle, QStringLiteral("E207"));
  QVERIFY(answers_.buttonsDisabledWhileRunning);
  QVERIFY(answers_.closeIgnoredWhileRunning);

  // The working image is the radio's memory; the message password is not.
  sim_->Stop();
  const Bytes radio = FileBytes(tmp_.filePath("radio.dat").toStdString());
  QCOMPARE(radio.size(), kDatFileSize);  // the radio saved all of its memory
  const auto& img = f_->Ws().data.buffers.ImageBytes();
  QVERIFY(std::equal(img.begin(), img.end(), radio.begin() + kHeaderSize));
  const auto& ext = f_->Ws().data.buffers.ExtBytes();
  for (size_t i = 0x100; i < kExtSize; ++i) {
    const uint8_t want = i >= 0x640 && i <= 0x646 ? 0xFF : radio[kHeaderSize + kImageSize + i - 0x100];
    QCOMPARE(ext[i], want);
  }
  // Unchanged since the read, default names, Zone Information open, a backup.
  QVERIFY(!f_->Ws().data.buffers.Modified());
  QCOMPARE(QString::fromStdString(f_->Ws().datName), QStringLiteral("vb420.dat"));
  QVERIFY(f_->Frame().FindEditor(EditorKind::ZoneInfo) != nullptr);
  QVERIFY(f_->Frame().windowTitle().contains("vb420.dat"));
  QVERIFY(!RadioState().lastBackup.empty());
  QVERIFY(QFileInfo(QString::fromStdString(RadioState().lastBackup)).absolutePath().startsWith(tmp_.filePath("data")));
  QCOMPARE(FileBytes(RadioState().lastBackup).size(), kDatFileSize);
}

void RwDialogsTest::readWithPasswordShowsTheEmbeddedMessage() {
  const std::string image = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-1600", "136-174", 1);
  StartSim({"--image", image, "--read-password", "12"});
  QVERIFY(f_->Start());
  Run(kCmdRead);
  QCOMPARE(answers_.seen.mid(0, 2), (QStringList{"readDlg", "passwordDlg"}));
  QVERIFY(answers_.passwordGroupVisible);
  QCOMPARE(answers_.passwordLines, (QStringList{"HELLO FROM THE RADIO", "SECOND LINE"}));
  QVERIFY(f_->prompter.MessageTexts().contains("E208"));
  QCOMPARE(f_->Ws().data.Image().u8(0x126) & 0x01, 0);
}

void RwDialogsTest::readCancelledBetweenBlocksChangesNothing() {
  const std::string image = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2600", "450-520", 9);
  StartSim({"--image", image});
  QVERIFY(f_->Start());
  const std::vector<uint8_t> before = f_->Ws().data.buffers.ImageBytes();
  const std::vector<uint8_t> extBefore = f_->Ws().data.buffers.ExtBytes();
  answers_.cancelAt = 40;
  Run(kCmdRead);
  // Stopped at the next block, without a word: nothing went wrong.
  QVERIFY(answers_.buttonsDisabledWhileRunning);
  QVERIFY(answers_.progressSeen.back() <= 41);
  QVERIFY(f_->prompter.MessageTexts().isEmpty());
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);
  QVERIFY(f_->Ws().data.buffers.ExtBytes() == extBefore);
  QVERIFY(RadioState().lastBackup.empty());
  // The radio was let go properly: a read right after it goes through.
  answers_ = DialogAnswers();
  Run(kCmdRead);
  QVERIFY(f_->prompter.MessageTexts().contains("E208"));
  QCOMPARE(answers_.progressSeen.back(), 264);
}

void RwDialogsTest::silentRadioLeavesTheWorkingImageUnchanged() {
  StartSim({"--model", "VT-2600", "--band", "450-520", "--fault", "silence@block=30"});
  QVERIFY(f_->Start());
  f_->Ws().data.Image().setU8(0x3000, 0x5A);  // an unsaved change
  const std::vector<uint8_t> before = f_->Ws().data.buffers.ImageBytes();
  const std::vector<uint8_t> extBefore = f_->Ws().data.buffers.ExtBytes();
  f_->Ws().datName = "mine.dat";
  answers_.retries = 1;
  f_->prompter.answers.push_back(kIdNo);  // read without saving the change first
  Run(kCmdRead);
  QCOMPARE(answers_.seen.count("retryCancel"), 2);
  QCOMPARE(f_->prompter.dialogTitles.count("E265"), 2);
  QVERIFY(!f_->prompter.MessageTexts().contains("E208"));
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);
  QVERIFY(f_->Ws().data.buffers.ExtBytes() == extBefore);
  QCOMPARE(QString::fromStdString(f_->Ws().datName), QStringLiteral("mine.dat"));
  QVERIFY(RadioState().lastBackup.empty());
}

void RwDialogsTest::writeToAnotherModelNamesBothAndOffersNoRetry() {
  // A portable where the data are for a mobile: refused, no Retry.
  const std::string other = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2400", "450-520", 1);
  StartSim({"--image", other});
  auto overrides = StandardOverrides();
  overrides[202] = "radio=%s";
  overrides[203] = "data=%s";
  f_->languageText = MakeLanguageFile(overrides);
  f_->SetSetting("Backup/LastModel", "4D:32:36:30:30:06:FF:FF");  // VT-2600, 450-520
  QVERIFY(f_->Start());
  Run(kCmdWrite);
  QVERIFY(!answers_.seen.contains("retryCancel"));
  const QStringList texts = f_->prompter.MessageTexts();
  QVERIFY2(texts.size() == 1, qPrintable(texts.join(" | ")));
  QVERIFY2(texts[0].startsWith("E271\n\nradio=VT-2400"), qPrintable(texts[0]));
  QVERIFY(texts[0].contains("\ndata=VT-2600"));
  sim_->Stop();
  // Nothing was written.
  const Bytes after = FileBytes(tmp_.filePath("radio.dat").toStdString());
  const Bytes before = FileBytes(other);
  QCOMPARE(after.size(), before.size());
  QVERIFY(std::equal(after.begin() + kHeaderSize, after.end(), before.begin() + kHeaderSize));
}

void RwDialogsTest::writeThroughTheMenuProgramsTheRadio() {
  const std::string other = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-1600", "136-174", 1);
  StartSim({"--image", other});
  QVERIFY(f_->Start());
  {
    ByteArea image = f_->Ws().data.Image();
    for (size_t i = 0x3000; i < 0x3100; ++i) image.setU8(i, static_cast<uint8_t>(i ^ 0xA5));
    f_->Ws().data.Ext().fill(0x800, 0x40, 0x33);
  }
  answers_.adjustTime = false;
  Run(kCmdWrite);
  QVERIFY(answers_.seen.contains("writeDlg"));
  // Verified by default, and said so.
  QVERIFY(answers_.verifyShownChecked);
  QVERIFY(!answers_.readFirstShownChecked);
  QVERIFY(f_->prompter.MessageTexts().contains("E246"));
  QVERIFY(!RadioState().adjustTime);  // remembered for the next write
  QVERIFY(answers_.noStopShown);      // the grey Cancel says why
  sim_->Stop();
  const Bytes radio = FileBytes(tmp_.filePath("radio.dat").toStdString());
  const Bytes before = FileBytes(other);
  QCOMPARE(radio.size(), kDatFileSize);
  QCOMPARE(before.size(), kDatFileSize);
  const auto& img = f_->Ws().data.buffers.ImageBytes();
  QVERIFY(std::equal(img.begin(), img.end(), radio.begin() + kHeaderSize));
  const auto& ext = f_->Ws().data.buffers.ExtBytes();
  for (size_t i = 0x100; i < kExtSize; ++i) {
    const size_t at = kHeaderSize + kImageSize + i - 0x100;
    QCOMPARE(radio[at], i >= 0x600 && i < 0x650 ? before[at] : ext[i]);
  }
}

void RwDialogsTest::writeRefusedByValidationSendsNothing() {
  StartSim({"--trace", tmp_.filePath("trace.txt").toStdString()});
  QVERIFY(f_->Start());
  f_->Ws().data.Image().setU16le(0x771, 7);  // dispatcher ID without its fleet
  f_->Ws().data.Image().setU8(0x6A0, '0');     // priority channel 1 names no channel (a zone check)
  Run(kCmdWrite);
  QVERIFY(answers_.seen.isEmpty());
  QCOMPARE(f_->prompter.MessageTexts().size(), 1);
  QCOMPARE(f_->prompter.MessageTexts().first(), QStringLiteral("E222\n\"E816\"\n\"E1081\""));
  sim_->Stop();
  QVERIFY(testing::ReadTrace(tmp_.filePath("trace.txt").toStdString()).empty());
}

void RwDialogsTest::writeReadBackFindsACorruptedBlockAndTheBoxesAreRemembered() {
  StartSim({"--model", "VT-1600", "--band", "136-174", "--serial", "000000000777", "--fault", "corrupt@block=48"});
  QVERIFY(f_->Start());
  ByteArea image = f_->Ws().data.Image();
  for (size_t i = 0x3000; i < 0x3100; ++i) image.setU8(i, static_cast<uint8_t>(i ^ 0xA5));
  answers_.readFirst = 1;
  Run(kCmdWrite);
  // The difference is named by its address, and nothing claims success.
  const QStringList texts = f_->prompter.MessageTexts();
  QVERIFY2(texts.filter("E241").size() == 1 && texts.filter("E241").first().contains("0x3010"),
           qPrintable(texts.join(" | ")));
  QVERIFY(!texts.contains("E246") && !texts.contains("E219"));
  // Both backups were kept, under the radio's serial number.
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(tmp_.filePath("data/vb420/backups").toStdString()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  QCOMPARE(names.size(), size_t(2));
  QVERIFY(names[0].rfind("radio-", 0) == 0 && names[0].find("000000000777") != std::string::npos);
  QVERIFY(names[1].rfind("written-", 0) == 0 && names[1].find("000000000777") != std::string::npos);
  // The boxes are remembered, in the settings too.
  QVERIFY(RadioState().readFirst);
  RadioState() = RadioCommandState();
  answers_ = DialogAnswers();
  answers_.verify = 0;
  Run(kCmdWrite);
  QVERIFY(answers_.readFirstShownChecked);
  QVERIFY(f_->prompter.MessageTexts().contains("E219"));
  QVERIFY(!RadioState().verify);
}

void RwDialogsTest::radioInformationShowsTheSixLines() {
  StartSim({"--model", "VT-2600H", "--band", "400-470", "--serial", "000000004242", "--fault", "nopassport"});
  QVERIFY(f_->Start());
  const std::vector<uint8_t> before = f_->Ws().data.buffers.ImageBytes();
  Run(kCmdRadioInfo);
  QCOMPARE(answers_.seen, (QStringList{"radioInfoDlg"}));
  QCOMPARE(answers_.infoLines[0], QStringLiteral("  VT-2600H:K2"));
  QCOMPARE(answers_.infoLines[1], QStringLiteral("  400-470 MHz"));
  QCOMPARE(answers_.infoLines[2], QStringLiteral("  000000004242"));
  QCOMPARE(answers_.infoLines[3], QStringLiteral("  V3.05 "));
  QCOMPARE(answers_.infoLines[4], QStringLiteral("  3C5A"));
  QCOMPARE(answers_.infoLines[5], QStringLiteral("  "));
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);
}

void RwDialogsTest::commPortOffersOnlyPortsThatOpen() {
  // COM1 and COM3 are terminals; COM3's is held by another program; the
  // rest lead nowhere.
  int m1, s1, m3, s3;
  QCOMPARE(openpty(&m1, &s1, nullptr, nullptr, nullptr), 0);
  QCOMPARE(openpty(&m3, &s3, nullptr, nullptr, nullptr), 0);
  int m5, s5;
  QCOMPARE(openpty(&m5, &s5, nullptr, nullptr, nullptr), 0);
  const std::string held = ttyname(s5);
  const int holder = ::open(held.c_str(), O_RDWR | O_NOCTTY);
  QCOMPARE(flock(holder, LOCK_EX | LOCK_NB), 0);
  std::vector<std::unique_ptr<Env>> env;
  for (int n = 1; n <= 20; ++n) {
    std::string dev = tmp_.filePath(QStringLiteral("none%1").arg(n)).toStdString();
    if (n == 1) dev = ttyname(s1);
    if (n == 3) dev = ttyname(s3);
    if (n == 5) dev = held;
    env.push_back(std::make_unique<Env>("VB420_COM" + std::to_string(n), dev));
  }
  f_->SetSetting("Backup/ComPort", 3);
  QVERIFY(f_->Start());
  QStringList enabled;
  bool checkedCurrent = false;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    auto& dlg = static_cast<CCommPortDlg&>(d);
    for (int n = 1; n <= 20; ++n)
      if (dlg.Button(n)->isEnabled()) return -1;  // all disabled before the probe
    d.show();
    if (!QTest::qWaitFor([&] { return dlg.Probed(); }, 5000)) return -1;
    for (int n = 1; n <= 20; ++n)
      if (dlg.Button(n)->isEnabled()) enabled << dlg.Button(n)->text();
    checkedCurrent = dlg.Button(3)->isChecked();
    dlg.Button(1)->setChecked(true);
    d.accept();
    return int(QDialog::Accepted);
  });
  f_->Frame().RunCommand(kCmdCommPort);
  Settle();
  QCOMPARE(enabled, (QStringList{"COM1", "COM3"}));
  QVERIFY(checkedCurrent);
  QCOMPARE(f_->Ws().comPort, 1);
  QCOMPARE(f_->Frame().PortPane()->text(), QStringLiteral("COM1"));
  // The status-bar pane runs the same command on a double-click.
  f_->prompter.dialogs.push_back([](QDialog& d) { return d.objectName() == "commPortDlg" ? 7 : -1; });
  QTest::mouseDClick(f_->Frame().PortPane(), Qt::LeftButton);
  Settle();
  QVERIFY(f_->prompter.dialogs.empty());
  QCOMPARE(f_->Ws().comPort, 1);  // not accepted: unchanged
  for (int fd : {m1, s1, m3, s3, m5, s5, holder}) ::close(fd);
}

void RwDialogsTest::passwordDialogTakesAtMostSixDigits() {
  QVERIFY(f_->Start());
  CPasswordDlg read(f_->Ws().text, 695, true, "ONE", "TWO");
  QTest::keyClicks(read.Edit(), "1a2-b3 4567890");
  QCOMPARE(read.Digits(), QStringLiteral("123456"));
  QCOMPARE(read.windowTitle(), QStringLiteral("E210"));
  QVERIFY(read.MessageGroup()->isVisibleTo(&read));
  QCOMPARE(read.findChild<QLabel*>()->text(), QStringLiteral("E695"));
  CPasswordDlg write(f_->Ws().text, 696, false, "", "");
  QVERIFY(!write.MessageGroup()->isVisibleTo(&write));
  CPasswordDlg general(f_->Ws().text, 0, false, "", "");
  QCOMPARE(general.findChild<QLabel*>()->text(), QStringLiteral("E212"));
}

void RwDialogsTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  const std::string image = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2600", "450-520", 9);
  StartSim({"--image", image, "--line-rate", "--serial", "004711080815"});
  // The shipped texts, for pictures a reader can follow.
  f_->languageText = ::vb420::testsupport::ShippedLanguageText();
  QVERIFY(f_->Start());
  f_->Frame().showNormal();
  f_->Frame().resize(1000, 700);
  const auto shoot = [dir](const char* name) {
    QTest::qWait(300);
    const std::string cmd = std::string("import -window root ") + dir + "/" + name;
    return std::system(cmd.c_str()) == 0;
  };
  bool shotRead = false;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    auto& t = static_cast<CTransferDlg&>(d);
    d.show();
    QObject::connect(t.Bar(), &QProgressBar::valueChanged, &t, [&](int v) {
      if (v == 120) shotRead = shoot("read-dialog.png");
    });
    t.StartTransfer();
    return d.result();
  });
  f_->Frame().RunCommand(kCmdRead);
  Settle();
  QVERIFY(shotRead);
  bool shotInfo = false;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    d.show();
    shotInfo = shoot("radio-info.png");
    return int(QDialog::Rejected);
  });
  f_->Frame().RunCommand(kCmdRadioInfo);
  Settle();
  QVERIFY(shotInfo);
}

void RwDialogsTest::writeDialogScreenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  for (const char* lang : {"en", "es"}) {
    f_ = std::make_unique<AppFixture>();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    QVERIFY(f_->Start());
    bool shot = false;
    for (int i = 0; i < 2; ++i)
      f_->prompter.dialogs.push_back([&](QDialog& d) {
        if (d.objectName() != "writeDlg") return int(QDialog::Accepted);  // the warnings before a write
        d.show();
        QTest::qWait(200);
        shot = d.grab().save(QString("%1/write-dialog-%2.png").arg(dir, lang));
        return int(QDialog::Rejected);
      });
    f_->Frame().RunCommand(kCmdWrite);
    Settle();
    QVERIFY(shot);
    f_->prompter.dialogs.clear();
  }
}

VB420_QTEST(RwDialogsTest)
#include "rw_dialogs_test.moc"
