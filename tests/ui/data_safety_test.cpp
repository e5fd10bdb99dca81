// SPDX-License-Identifier: GPL-3.0-or-later
// What a user can lose or get wrong in the windows: unsaved work before a
// command replaces the programming, damaged zone areas, frequencies outside
// the band on their way to a radio, refused entries, typed tones and the
// memory viewer's character columns. Driven through the menus, keys and the
// real dialogs, against the simulated radio where a radio is needed.
#include "support/Files.h"
#include "support/Paths.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/ui/ModelInfoDlg.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "editors/zones/ui/ChEditView.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "lang/ui/LanguageSetupDlg.h"
#include "data/ui/MemoryViewer.h"
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

// A programming of `model` and `band` with a recognisable pattern; with
// `damaged`, zone 1 holds a channel and zone 2's type byte names no class.
std::string MakeImage(const std::string& path, const char* model, const char* band, bool damaged = false) {
  RadioData data;
  data.model.SetModel(ModelNumberOfName(model));
  data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText(band)));
  InitNewImage(data, false);
  ByteArea image = data.Image();
  for (size_t i = 0x3000; i < 0x3100; ++i) image.setU8(i, static_cast<uint8_t>(i * 7));
  if (damaged) {
    CZoneMemory zones(data);
    (void)zones.CreateZone(0, '1');
    (void)zones.InsertRecord(0, 0);
    (void)zones.CreateZone(1, '1');
    image.setU8(static_cast<size_t>(zones.ZoneOffset(1)) + 1, 'Z');
  }
  if (SaveDatFile(path, data).result != kFileOk) qWarning("cannot write %s", path.c_str());
  return path;
}

// Runs the Read or Write dialog's transfer at once; every other dialog is
// accepted.
int RunTransfer(QDialog& d) {
  if (auto* t = qobject_cast<CTransferDlg*>(&d)) {
    d.show();
    t->StartTransfer();
    return d.result();
  }
  d.accept();
  return QDialog::Accepted;
}

}  // namespace

class DataSafetyTest : public QObject, public RadioOnCom1 {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();

  void readCancelledAtTheSavePromptTouchesNeitherImageNorPort();
  void readAfterSavingOrDiscardingTheWork();
  void modelAndLanguageChangesAskToSaveFirst();
  void damagedZonesAreNamedAfterOpenAndRead();
  void damagedZoneIsReadOnlyAndCanBeDeleted();
  void writeListsFrequenciesOutsideTheBandAndAsks();
  void longListOfFrequenciesIsCutToFitTheScreen();
  void refusedFirstEntryLeavesTheImageAsItWas();
  void typedTonesAreNeverCompletedFromTheList();
  void typedReceiveToneReachesAnOffTransmitToneInTheEditor();
  void memoryWindowOnOneRecordShowsCharacters();
  // Only with VB420_SCREENSHOT_DIR set: the new message boxes and the damaged
  // zone in Zone Information, in the shipped English and Spanish texts.
  void screenshots_data();
  void screenshots();

 private:
  void StartSim(std::vector<std::string> args);
  CZnInfoView* ZoneInfo() { return dynamic_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo)); }
  CZoneMemory& Zones() { return ZonesOf(f_->Frame().Context()).zones; }
  void Trigger(int command) {
    f_->Frame().Action(command)->trigger();
    Settle();
  }
  // Types `text` into the cell (row, col) of Zone Information and confirms.
  void TypeCell(int row, int col, const QString& text);
  // F11 on Zone Information's grid.
  void OpenChannelEditor() {
    CEditGrid* grid = ZoneInfo()->CurrentGridWidget();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F11);
    Settle();
  }
  // Fills the zone area until exactly `free` bytes are left (zones 1 and 2).
  void FillZoneArea(int free);

  std::unique_ptr<AppFixture> f_;
};

void DataSafetyTest::init() {
  InitRadio();
  f_ = std::make_unique<AppFixture>();
}

void DataSafetyTest::cleanup() {
  f_.reset();
  CleanupRadio();
}

void DataSafetyTest::StartSim(std::vector<std::string> args) {
  args.insert(args.end(), {"--save", TmpPath("radio.dat"), "--trace", TmpPath("trace.txt")});
  RadioOnCom1::StartSim(args);
}

void DataSafetyTest::TypeCell(int row, int col, const QString& text) {
  CZnInfoView* view = ZoneInfo();
  QVERIFY(view);
  CEditGrid* grid = view->CurrentGridWidget();
  QApplication::setActiveWindow(&f_->Frame());
  f_->Frame().Mdi()->setActiveSubWindow(f_->Frame().Children().front());
  grid->setFocus();
  grid->SetCurrent(row, col);
  QTest::keyClicks(grid, text.left(1));
  QWidget* ed = QApplication::focusWidget();
  QVERIFY(ed && ed != grid);
  QTest::keyClicks(ed, text.mid(1));
  QTest::keyClick(ed, Qt::Key_Return);
}

void DataSafetyTest::FillZoneArea(int free) {
  CZoneMemory& zm = Zones();
  // Zone 1: 250 channels (12032 bytes); zone 2 takes the rest but `free`.
  QCOMPARE(zm.CreateZone(0, '1'), 1);
  for (int c = 0; c < 250; ++c) QCOMPARE(zm.InsertRecord(0, c), 1);
  QCOMPARE(zm.CreateZone(1, '1'), 1);
  int c = 0;
  while (zm.FreeBytes() - zones::kChannelSize >= free) QCOMPARE(zm.InsertRecord(1, c++), 1);
  QCOMPARE(zm.FreeBytes(), free);
}

// ---- the save prompt before a command replaces the programming ----------------

void DataSafetyTest::readCancelledAtTheSavePromptTouchesNeitherImageNorPort() {
  StartSim({"--image", MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2600", "450-520")});
  QVERIFY(f_->Start());
  // Unsaved work: a channel typed into Zone Information.
  TypeCell(1, 1, "460");
  QVERIFY(f_->Ws().data.buffers.Modified());
  const Bytes image = f_->Ws().data.buffers.ImageBytes();
  const Bytes ext = f_->Ws().data.buffers.ExtBytes();
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdCancel);
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdRead);

  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E277 \"vb420.dat\" ?"});
  QCOMPARE(f_->prompter.messages[0].buttons, int(kMsgYesNoCancel));
  QVERIFY(f_->prompter.dialogTitles.isEmpty());  // no Read dialog
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == image);
  QVERIFY(f_->Ws().data.buffers.ExtBytes() == ext);
  QVERIFY(f_->Ws().data.buffers.Modified());
  sim_->Stop();
  QVERIFY(testing::ReadTrace(tmp_.filePath("trace.txt").toStdString()).empty());
}

void DataSafetyTest::readAfterSavingOrDiscardingTheWork() {
  const std::string radioIn = MakeImage(tmp_.filePath("radio-in.dat").toStdString(), "VT-2600", "450-520");
  StartSim({"--image", radioIn});
  QVERIFY(f_->Start());
  f_->Ws().lastFilePath = tmp_.path().toStdString() + "/";
  TypeCell(1, 1, "460");
  const Bytes work = f_->Ws().data.buffers.ImageBytes();

  // Yes: the work goes to a file of the user's choice, then the read runs.
  const QString saved = tmp_.filePath("work.dat");
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdYes);
  f_->prompter.saveNames.push_back(saved);
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdRead);
  QCOMPARE(f_->prompter.saveRequests.size(), size_t(1));
  QVERIFY(f_->prompter.MessageTexts().contains("E208"));
  const Bytes file = FileBytes(saved.toStdString());
  QCOMPARE(file.size(), kDatFileSize);
  QVERIFY(std::equal(work.begin(), work.end(), file.begin() + kHeaderSize));
  const Bytes radio = FileBytes(radioIn);
  const Bytes& now = f_->Ws().data.buffers.ImageBytes();
  QVERIFY(std::equal(now.begin() + 0x3000, now.begin() + 0x3100, radio.begin() + kHeaderSize + 0x3000));
  QVERIFY(!Zones().ZoneExists(0));  // the typed channel went with the read

  // No: the work is dropped and the read runs.
  TypeCell(1, 1, "470");
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdNo);
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdRead);
  QVERIFY(f_->prompter.saveRequests.empty());
  QVERIFY(f_->prompter.MessageTexts().contains("E208"));
  QVERIFY(!Zones().ZoneExists(0));
  QVERIFY(!f_->Ws().data.buffers.Modified());

  // Nothing unsaved: no question at all.
  f_->prompter.Clear();
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdRead);
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E208"});
}

void DataSafetyTest::modelAndLanguageChangesAskToSaveFirst() {
  f_->SetSetting("Backup/LastModel", "4D:32:36:30:30:07:FF:FF");  // VT-2600, 400-470
  QVERIFY(f_->Start());
  TypeCell(1, 1, "460");
  const Bytes image = f_->Ws().data.buffers.ImageBytes();
  const uint8_t band = f_->Ws().data.model.BandCode();
  const uint8_t otherBand = 0x06;  // 450-520
  QCOMPARE(band, uint8_t(0x07));

  // Another band clears the zones: its own warning, then the save prompt;
  // Cancel there changes nothing.
  auto chooseBand = [otherBand](QDialog& d) {
    auto& dlg = static_cast<CModelInfoDlg&>(d);
    dlg.SelectBand(otherBand);
    dlg.accept();
    return d.result();
  };
  f_->prompter.Clear();
  f_->prompter.answers = {kIdOk, kIdCancel};
  f_->prompter.dialogs.push_back(chooseBand);
  Trigger(kCmdModelInfo);
  QCOMPARE(f_->prompter.MessageTexts().size(), 2);
  QCOMPARE(f_->prompter.MessageTexts()[1], QStringLiteral("E277 \"vb420.dat\" ?"));
  QCOMPARE(f_->Ws().data.model.BandCode(), band);
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == image);

  // No: the change goes ahead and the zones are gone.
  f_->prompter.Clear();
  f_->prompter.answers = {kIdOk, kIdNo};
  f_->prompter.dialogs.push_back(chooseBand);
  Trigger(kCmdModelInfo);
  QCOMPARE(f_->Ws().data.model.BandCode(), otherBand);
  QVERIFY(!Zones().ZoneExists(0));

  // The language change asks too; Cancel keeps the language and the windows.
  TypeCell(1, 1, "460");
  QVERIFY(f_->Ws().data.buffers.Modified());
  auto spanish = [](QDialog& d) {
    auto& dlg = static_cast<CLanguageSetupDlg&>(d);
    dlg.SelectKey(2);
    dlg.accept();
    return int(QDialog::Accepted);
  };
  f_->prompter.Clear();
  f_->prompter.answers = {kIdCancel};
  f_->prompter.dialogs.push_back(spanish);
  Trigger(kCmdLanguage);
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E277 \"vb420.dat\" ?"});
  QCOMPARE(QString::fromStdString(f_->Ws().text.CurrentLanguage()), QStringLiteral("English"));
  QVERIFY(Zones().ZoneExists(0));
  f_->prompter.Clear();
  f_->prompter.answers = {kIdNo};
  f_->prompter.dialogs.push_back(spanish);
  Trigger(kCmdLanguage);
  QCOMPARE(QString::fromStdString(f_->Ws().text.CurrentLanguage()), QStringLiteral("Spanish"));
}

// ---- damaged zone areas -------------------------------------------------------

void DataSafetyTest::damagedZonesAreNamedAfterOpenAndRead() {
  const std::string damaged = MakeImage(tmp_.filePath("damaged.dat").toStdString(), "VT-2600", "450-520", true);
  StartSim({"--image", damaged});
  QVERIFY(f_->Start());
  f_->prompter.Clear();
  f_->prompter.openNames.push_back(QString::fromStdString(damaged));
  Trigger(kCmdFileOpen);
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E302\n\nE378: 2"});
  QCOMPARE(f_->prompter.messages[0].caption, QStringLiteral("E266"));
  QVERIFY(ZoneInfo());

  // A sound file says nothing.
  const std::string sound = MakeImage(tmp_.filePath("sound.dat").toStdString(), "VT-2600", "450-520");
  f_->prompter.Clear();
  f_->prompter.openNames.push_back(QString::fromStdString(sound));
  Trigger(kCmdFileOpen);
  QVERIFY(f_->prompter.MessageTexts().isEmpty());

  // The same radio read: the same message, after the read's own.
  f_->prompter.Clear();
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdRead);
  QCOMPARE(f_->prompter.MessageTexts(), (QStringList{"E208", "E302\n\nE378: 2"}));
}

void DataSafetyTest::damagedZoneIsReadOnlyAndCanBeDeleted() {
  const std::string damaged = MakeImage(tmp_.filePath("damaged.dat").toStdString(), "VT-2600", "450-520", true);
  QVERIFY(f_->Start());
  f_->prompter.openNames.push_back(QString::fromStdString(damaged));
  Trigger(kCmdFileOpen);
  CZnInfoView* view = ZoneInfo();
  QVERIFY(view);
  // Zone 1 is sound and editable.
  QCOMPARE(view->TypeBox()->currentText(), QStringLiteral("E398"));
  QVERIFY(view->CurrentGridWidget()->EnabledLook());
  // Zone 2: marked, greyed, name box off, typing changes nothing.
  QTest::keyClick(view->CurrentGridWidget(), Qt::Key_F7);
  QCOMPARE(view->Zone(), 1);
  QCOMPARE(view->TypeBox()->currentText(), QStringLiteral("E307"));
  QVERIFY(!view->CurrentGridWidget()->EnabledLook());
  QVERIFY(!view->NameBox()->isEnabled());
  const Bytes before = f_->Ws().data.buffers.ImageBytes();
  CEditGrid* grid = view->CurrentGridWidget();
  grid->setFocus();
  grid->SetCurrent(1, 1);
  QTest::keyClicks(grid, "4");
  QCOMPARE(grid->EditorKindOpen(), 0);
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == before);

  // Choosing a type deletes it after the question; Cancel keeps it.
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdCancel);
  const int conv = view->TypeBox()->findData(int('1'));
  QVERIFY(conv > 0);
  view->TypeBox()->setCurrentIndex(conv);
  Q_EMIT view->TypeBox()->activated(conv);
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E310"});
  QVERIFY(Zones().ZoneExists(1));
  QCOMPARE(view->TypeBox()->currentText(), QStringLiteral("E307"));
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdOk);
  Q_EMIT view->TypeBox()->activated(view->TypeBox()->findData(int('1')));
  QVERIFY(!Zones().ZoneExists(1));
  QCOMPARE(f_->Ws().data.Image().u16le(0xA02), 0xFFFF);
  QVERIFY(view->CurrentGridWidget()->EnabledLook());
}

// ---- frequencies outside the band before a write ---------------------------------

void DataSafetyTest::writeListsFrequenciesOutsideTheBandAndAsks() {
  StartSim({"--model", "VT-2600", "--band", "450-520"});
  QVERIFY(f_->Start());
  f_->Ws().data.model.SetModel(ModelNumberOfName("VT-2600"));
  f_->Ws().data.model.SetBandCode(static_cast<uint8_t>(BandCodeOfText("450-520")));
  f_->Ws().data.SyncCodecs();
  TypeCell(1, 1, "460");
  // 400 on transmit warns once and is stored; 754 becomes the upper limit.
  f_->prompter.Clear();
  TypeCell(1, 2, "400");
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E284"});
  TypeCell(2, 1, "754");
  QCOMPARE(ZoneInfo()->CurrentGridWidget()->Text(2, 1), QStringLiteral("520.00000"));

  const QString question = QStringLiteral("E304\nE378 1, E376 1, E383: 400.00000\n\nE225");
  // Cancel: nothing is sent.
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdCancel);
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdWrite);
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{question});
  QCOMPARE(f_->prompter.messages[0].buttons, int(kMsgOkCancel));
  QCOMPARE(f_->prompter.messages[0].defaultAnswer, int(kIdCancel));
  QVERIFY(f_->prompter.dialogTitles.isEmpty());
  // OK: the write goes ahead with the frequency as it stands.
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdOk);
  f_->prompter.dialogs.push_back(RunTransfer);
  f_->prompter.dialogs.push_back(RunTransfer);
  Trigger(kCmdWrite);
  QCOMPARE(f_->prompter.MessageTexts().first(), question);
  // Written and read back: the success message says it was verified.
  QVERIFY(f_->prompter.MessageTexts().contains("E246"));
  sim_->Stop();
  const Bytes radio = FileBytes(tmp_.filePath("radio.dat").toStdString());
  const int rec = Zones().FindRecord(0, 0);
  QCOMPARE(radio[kHeaderSize + rec + 5], uint8_t(0x00));
  QCOMPARE(radio[kHeaderSize + rec + 8], uint8_t(0x40));  // 400.00000 MHz: 40000000 x 10 Hz, packed BCD
}

void DataSafetyTest::longListOfFrequenciesIsCutToFitTheScreen() {
  f_->SetSetting("Backup/LastModel", "4D:32:36:30:30:06:FF:FF");  // VT-2600, 450-520
  QVERIFY(f_->Start());
  CConvFields& conv = ZonesOf(f_->Frame().Context()).conv;
  for (int c = 0; c < 30; ++c) QCOMPARE(conv.SetFrequency(0, c, 3, "400", false).result, kFieldStored);
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdCancel);
  Trigger(kCmdWrite);  // Cancel: no port is needed
  QCOMPARE(f_->prompter.messages.size(), size_t(1));
  const QStringList lines = f_->prompter.messages[0].text.split('\n');
  // Heading, 25 frequencies, how many more, a blank line, the question.
  QCOMPARE(lines.size(), 29);
  QCOMPARE(lines[1], QStringLiteral("E378 1, E376 1, E382: 400.00000"));
  QCOMPARE(lines[25], QStringLiteral("E378 1, E376 13, E382: 400.00000"));
  QCOMPARE(lines[26], QStringLiteral("... (+35)"));
  QCOMPARE(lines[28], QStringLiteral("E225"));
}

// ---- a refused entry ------------------------------------------------------------

void DataSafetyTest::refusedFirstEntryLeavesTheImageAsItWas() {
  QVERIFY(f_->Start());
  FillZoneArea(39);
  CZnInfoView* view = ZoneInfo();
  view->Refresh();
  const Bytes image = f_->Ws().data.buffers.ImageBytes();
  const Bytes ext = f_->Ws().data.buffers.ExtBytes();
  // Zone 3 would fit (32 bytes), its first channel not.
  view->SetZone(2);
  f_->prompter.Clear();
  TypeCell(1, 1, "146.52");
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E275"});
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == image);
  QVERIFY(f_->Ws().data.buffers.ExtBytes() == ext);
  QVERIFY(view->FreeLine()->text().contains(" 39 "));
  QCOMPARE(view->CurrentGridWidget()->Text(1, 1), QString());

  // The same for the first group of a new LTR zone (48 + 32 bytes).
  const int ltr = view->TypeBox()->findData(int('0'));
  view->TypeBox()->setCurrentIndex(ltr);
  Q_EMIT view->TypeBox()->activated(ltr);
  QCOMPARE(view->CurrentGrid(), int(CZnInfoView::kLtrGrid));
  f_->prompter.Clear();
  TypeCell(1, 1, "5");
  QCOMPARE(f_->prompter.MessageTexts(), QStringList{"E275"});
  QVERIFY(f_->Ws().data.buffers.ImageBytes() == image);
  QVERIFY(f_->Ws().data.buffers.ExtBytes() == ext);
}

// ---- typed tones ------------------------------------------------------------------

void DataSafetyTest::typedTonesAreNeverCompletedFromTheList() {
  QVERIFY(f_->Start());
  CZnInfoView* view = ZoneInfo();
  for (QComboBox* c : view->findChildren<QComboBox*>()) QVERIFY2(!c->completer(), qPrintable(c->objectName()));
  TypeCell(1, 1, "146.52");
  const int rec = Zones().FindRecord(0, 0);
  ByteArea image = f_->Ws().data.Image();
  // In the grid: what the tone rule makes of the text, never a list row that
  // merely starts with it.
  const std::pair<const char*, uint16_t> cases[] = {{"71", 710}, {"110", 1100}, {"15", 670}, {"2", 670}, {"d2", 0x2880}};
  for (const auto& [typed, word] : cases) {
    TypeCell(1, 4, QString::fromLatin1(typed));
    QCOMPARE(image.u16le(static_cast<size_t>(rec) + 13), word);
  }
  // In the channel editor the same.
  OpenChannelEditor();
  auto* ch = dynamic_cast<CChEditView*>(f_->Frame().FindEditor(EditorKind::ChannelEdit));
  QVERIFY(ch);
  for (QComboBox* c : ch->findChildren<QComboBox*>())
    if (c->isEditable()) QVERIFY(!c->completer());
  QCOMPARE(ch->Zone(), 0);
  QCOMPARE(ch->Channel(), 0);
  // The form hands out the edit part; the combo box is its parent.
  auto* tx = qobject_cast<QComboBox*>(ch->Form()->Control(0, CChEditView::kTxTone)->parentWidget());
  QVERIFY(tx);
  QVERIFY(tx->isEnabled());
  for (const auto& [typed, word] : cases) {
    tx->lineEdit()->setFocus();
    tx->lineEdit()->selectAll();
    QTest::keyClicks(tx->lineEdit(), QString::fromLatin1(typed));
    QTest::keyClick(tx->lineEdit(), Qt::Key_Return);
    // The box shows what was stored, and leaving it stores nothing else.
    QCOMPARE(tx->currentText(), QString::fromStdString(f_->Ws().data.field.ToneToText(word)));
    QCOMPARE(image.u16le(static_cast<size_t>(rec) + 13), word);
  }
}

void DataSafetyTest::typedReceiveToneReachesAnOffTransmitToneInTheEditor() {
  QVERIFY(f_->Start());
  TypeCell(1, 1, "146.52");
  const size_t rec = static_cast<size_t>(Zones().FindRecord(0, 0));
  ByteArea image = f_->Ws().data.Image();
  OpenChannelEditor();
  auto* ch = dynamic_cast<CChEditView*>(f_->Frame().FindEditor(EditorKind::ChannelEdit));
  QVERIFY(ch);
  auto* rx = qobject_cast<QComboBox*>(ch->Form()->Control(0, CChEditView::kRxTone)->parentWidget());
  QVERIFY(rx);
  // Typed, equal to a list row, left with Enter and with Tab: both tones.
  const std::pair<const char*, Qt::Key> typed[] = {{"71.9", Qt::Key_Return}, {"D023N", Qt::Key_Tab}};
  for (const auto& [text, key] : typed) {
    image.setU16le(rec + 11, 0xFFFF);
    image.setU16le(rec + 13, 0xFFFF);
    ch->Refresh();
    rx->lineEdit()->setFocus();
    rx->lineEdit()->selectAll();
    QTest::keyClicks(rx->lineEdit(), QString::fromLatin1(text));
    QTest::keyClick(rx->lineEdit(), key);
    const uint16_t want = f_->Ws().data.field.TextToTone(text);
    QCOMPARE(image.u16le(rec + 11), want);
    QCOMPARE(image.u16le(rec + 13), want);
  }
  // Chosen from the list: the receive tone alone, as in the grid.
  image.setU16le(rec + 11, 0xFFFF);
  image.setU16le(rec + 13, 0xFFFF);
  ch->Refresh();
  rx->setFocus();
  rx->showPopup();
  QTRY_VERIFY(rx->view()->isVisible());
  const int row = rx->findText(QStringLiteral("74.4"));
  QVERIFY(row > 0);
  rx->view()->setCurrentIndex(rx->model()->index(row, 0));
  QTest::keyClick(rx->view(), Qt::Key_Return);
  QCOMPARE(image.u16le(rec + 11), uint16_t(744));
  QCOMPARE(image.u16le(rec + 13), uint16_t(0xFFFF));

  // The grid agrees: typed copies, the list row does not.
  image.setU16le(rec + 11, 0xFFFF);
  image.setU16le(rec + 13, 0xFFFF);
  f_->Frame().RefreshAllEditors();
  f_->Frame().Mdi()->setActiveSubWindow(f_->Frame().Children().front());
  TypeCell(1, 3, "71.9");
  QCOMPARE(image.u16le(rec + 11), uint16_t(719));
  QCOMPARE(image.u16le(rec + 13), uint16_t(719));
}

// ---- the memory viewer ------------------------------------------------------------

void DataSafetyTest::memoryWindowOnOneRecordShowsCharacters() {
  QVERIFY(f_->Start({"memmap"}));
  QVERIFY(f_->Ws().switches.memMap);
  TypeCell(1, 1, "146.52");
  const int rec = Zones().FindRecord(0, 0);
  int cols = 0;
  QString nameChar, byteText;
  bool boxShown = true;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    auto& dlg = static_cast<CMemoryViewDlg&>(d);
    CEditGrid* g = dlg.Grid();
    cols = g->Cols();
    // The name "  CH   1" starts at +15: "C" is at +17.
    const int at = rec + 17;
    if (dlg.GoTo(at)) {
      byteText = g->Text(g->Row(), g->Col());
      nameChar = g->Text(g->Row(), g->Col() + 17);
    }
    boxShown = dlg.CharBox()->isVisibleTo(&dlg);
    return int(QDialog::Rejected);
  });
  CEditGrid* grid = ZoneInfo()->CurrentGridWidget();
  grid->setFocus();
  grid->SetCurrent(1, 1);
  QTest::keyClick(grid, Qt::Key_F12);
  Settle();
  QCOMPARE(cols, 34);
  QCOMPARE(byteText, QStringLiteral("43"));
  QCOMPARE(nameChar, QStringLiteral("C"));
  QVERIFY(!boxShown);  // the switch itself belongs to whole-buffer views
}

void DataSafetyTest::screenshots_data() {
  QTest::addColumn<int>("language");
  QTest::newRow("English") << 1;
  QTest::newRow("Spanish") << 2;
}

void DataSafetyTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  QFETCH(int, language);
  const QString suffix = language == 1 ? QStringLiteral("en") : QStringLiteral("sp");
  f_->languageText = ::vb420::testsupport::ShippedLanguageText();
  f_->SetSetting("Backup/Language", language);
  f_->SetSetting("Backup/LastModel", "4D:32:36:30:30:06:FF:FF");  // VT-2600, 450-520
  QVERIFY(f_->Start());
  f_->Frame().showNormal();
  f_->Frame().resize(1000, 700);
  // The box the program shows for a recorded message, drawn into a file.
  auto shootMessage = [&](const MessageRequest& request, const QString& name) {
    UiPrompter real;
    bool shot = false;
    QTimer::singleShot(200, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        shot = box->grab().save(QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(dir), name, suffix));
        box->close();
      }
    });
    real.Message(&f_->Frame(), request);
    return shot;
  };
  const std::string damaged = MakeImage(tmp_.filePath("damaged.dat").toStdString(), "VT-2600", "450-520", true);
  f_->prompter.openNames.push_back(QString::fromStdString(damaged));
  Trigger(kCmdFileOpen);
  QCOMPARE(f_->prompter.messages.size(), size_t(1));
  QVERIFY(shootMessage(f_->prompter.messages[0], QStringLiteral("damaged-zones")));
  CZnInfoView* view = ZoneInfo();
  view->SetZone(1);
  Settle();
  QVERIFY(f_->Frame().grab().save(QStringLiteral("%1/damaged-zone-info-%2.png").arg(QString::fromLocal8Bit(dir), suffix)));

  view->SetZone(0);
  TypeCell(1, 2, "400");
  f_->prompter.Clear();
  f_->prompter.answers.push_back(kIdCancel);
  Trigger(kCmdWrite);
  QCOMPARE(f_->prompter.messages.size(), size_t(1));
  QVERIFY(shootMessage(f_->prompter.messages[0], QStringLiteral("band-warning")));
}

VB420_QTEST(DataSafetyTest)
#include "data_safety_test.moc"
