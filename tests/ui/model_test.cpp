// SPDX-License-Identifier: GPL-3.0-or-later
// Model Information through the Model menu: the lists, the warnings for each
// kind of change, and what an accepted change does to the programming.
#include <QListWidget>
#include <QTest>

#include "UiTestSupport.h"
#include "data/ui/ModelInfoDlg.h"
#include "editors/zones/ZoneMemory.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

// Chooses a model and band and presses OK. The dialog's result tells
// whether the choice was taken.
std::function<int(QDialog&)> Choose(int model, uint8_t band, QStringList* bandsSeen = nullptr) {
  return [=](QDialog& d) {
    auto& dlg = static_cast<CModelInfoDlg&>(d);
    dlg.SelectModel(model);
    if (bandsSeen)
      for (int i = 0; i < dlg.BandList()->count(); ++i) *bandsSeen << dlg.BandList()->item(i)->text();
    dlg.SelectBand(band);
    dlg.accept();
    return dlg.result();
  };
}

QByteArray ModelBytesOf(AppFixture& f) {
  const auto b = f.Ws().data.model.Bytes();
  return QByteArray(reinterpret_cast<const char*>(b.data()), 8);
}

void RunModelInfo(AppFixture& f) { f.Frame().Action(kCmdModelInfo)->trigger(); }

}  // namespace

class ModelTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void dialogListsModelsAndTheBandsOfTheChosenOne();
  void warningForEachKindOfChange_data();
  void warningForEachKindOfChange();
  void toSecondGenerationConvertsWithoutClearingChannels();
  void bandChangeWritesTheNewBandsDefaults();
  void changeWithoutWarningIsAppliedAtOnce();
  void cancelInTheWarningKeepsTheDialogOpenAndChangesNothing();
  void zonesFollowBandAndPowerChanges();
};

void ModelTest::dialogListsModelsAndTheBandsOfTheChosenOne() {
  AppFixture f;
  f.SetSetting("Backup/LastModel", "4D:32:36:30:30:07:FF:FF");  // VT-2600, 400-470
  QVERIFY(f.Start());
  QStringList models, bandsAtStart, bandsOfPortable;
  int selectedModel = -1;
  uint8_t selectedBand = 0;
  f.prompter.dialogs.push_back([&](QDialog& d) {
    auto& dlg = static_cast<CModelInfoDlg&>(d);
    for (int i = 0; i < dlg.ModelList()->count(); ++i) models << dlg.ModelList()->item(i)->text();
    for (int i = 0; i < dlg.BandList()->count(); ++i) bandsAtStart << dlg.BandList()->item(i)->text();
    selectedModel = dlg.ChosenModel();
    selectedBand = dlg.ChosenBand();
    dlg.SelectModel(8);  // VT-1400 allows one band only
    for (int i = 0; i < dlg.BandList()->count(); ++i) bandsOfPortable << dlg.BandList()->item(i)->text();
    dlg.reject();
    return dlg.result();
  });
  RunModelInfo(f);
  QCOMPARE(f.prompter.dialogTitles, QStringList({"E197"}));
  QCOMPARE(models, QStringList({"VT-1600[E204]", "VT-1600H[E204]", "VT-1602[E204]", "VT-1602H[E204]", "VT-2600[E204]",
                                "VT-2600H[E204]", "VT-2602[E204]", "VT-2602H[E204]", "VT-1400[E205]", "VT-2400[E205]"}));
  QCOMPARE(selectedModel, 4);
  QCOMPARE(selectedBand, uint8_t(0x07));
  QCOMPARE(bandsAtStart, QStringList({"450-520 MHz", "400-470 MHz"}));
  QCOMPARE(bandsOfPortable, QStringList({"136-174 MHz"}));
  // Cancel changed nothing.
  QCOMPARE(ModelBytesOf(f), QByteArray("M2600\x07\xFF\xFF", 8));
}

void ModelTest::warningForEachKindOfChange_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<int>("toModel");
  QTest::addColumn<int>("toBand");
  QTest::addColumn<QString>("warning");
  QTest::addColumn<QByteArray>("bytesAfter");
  QTest::newRow("first to second generation") << "4D:31:36:30:30:04:FF:FF" << 2 << 0x04 << "E296"
                                              << QByteArray("M1602\x04\xFF\xFF", 8);
  QTest::newRow("mobile to portable, same band") << "4D:31:36:30:30:04:FF:FF" << 8 << 0x04 << "E287\nE295"
                                                 << QByteArray("P1400\x04\xFF\xFF", 8);
  QTest::newRow("band only") << "4D:32:36:30:30:06:FF:FF" << 4 << 0x07 << "E286"
                             << QByteArray("M2600\x07\xFF\xFF", 8);
  QTest::newRow("standard to high power") << "4D:31:36:30:30:04:FF:FF" << 1 << 0x04 << "E297"
                                          << QByteArray("M1600\x04\xFB\xFF", 8);
  QTest::newRow("band and kind") << "4D:32:36:30:30:06:FF:FF" << 8 << 0x04 << "E286\nE287"
                                 << QByteArray("P1400\x04\xFF\xFF", 8);
  QTest::newRow("high power second generation back to first")
      << "4D:32:36:30:32:06:FB:FF" << 4 << 0x06 << "" << QByteArray("M2600\x06\xFF\xFF", 8);
}

void ModelTest::warningForEachKindOfChange() {
  QFETCH(QString, from);
  QFETCH(int, toModel);
  QFETCH(int, toBand);
  QFETCH(QString, warning);
  QFETCH(QByteArray, bytesAfter);
  AppFixture f;
  f.SetSetting("Backup/LastModel", from);
  QVERIFY(f.Start());
  f.Ws().datName = "named.dat";
  f.Frame().Action(kCmdKeys)->trigger();
  f.prompter.dialogs.push_back(Choose(toModel, static_cast<uint8_t>(toBand)));
  RunModelInfo(f);
  if (warning.isEmpty()) {
    QVERIFY(f.prompter.messages.empty());
  } else {
    QCOMPARE(f.prompter.MessageTexts(), QStringList({warning}));
    QVERIFY(f.prompter.messages[0].icon == MsgIcon::Warning);
    QCOMPARE(f.prompter.messages[0].buttons, int(kMsgOkCancel));
  }
  QCOMPARE(ModelBytesOf(f), bytesAfter);
  // A change with flags restores the default names and closes the editors;
  // Zone Information is open in any case and the caption follows.
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  QCOMPARE(f.Frame().Children().size(), size_t(1));
  QVERIFY(f.Frame().Children()[0]->View()->Kind() == EditorKind::ZoneInfo);
  QVERIFY(f.Frame().windowTitle().contains(QString::fromStdString(f.Ws().data.model.Description(f.Ws().text))));
}

void ModelTest::toSecondGenerationConvertsWithoutClearingChannels() {
  AppFixture f;
  QVERIFY(f.Start());
  ByteArea image = f.Ws().data.Image();
  image.setU8(0x140, 12);
  image.writeText(0x160, "ABCDEFGHIJKL", 12);
  // A zone-table entry stands for the channel data; the change keeps it.
  image.setU16le(0xA00, 0x0B00);
  f.prompter.dialogs.push_back(Choose(2, 0x04));
  // The warning, then the question whether to save the changes first.
  f.prompter.answers = {kIdOk, kIdNo};
  RunModelInfo(f);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E296", "E277 \"vb420.dat\" ?"}));
  QCOMPARE(image.u8(0x140), uint8_t(8));
  QCOMPARE(QByteArray(reinterpret_cast<const char*>(image.ptr(0x160, 8)), 8), QByteArray("ABCDEFGH"));
  QVERIFY(image.u8(0x168) != 'I');
  QCOMPARE(image.u16le(0xA00), uint16_t(0x0B00));
  QVERIFY(f.Frame().windowTitle().startsWith("VB-420[*]  [ VT-1602[E204] VHF : 136-174 MHz ]"));
}

void ModelTest::bandChangeWritesTheNewBandsDefaults() {
  AppFixture f;
  f.SetSetting("Backup/LastModel", "4D:32:36:30:30:06:FF:FF");  // VT-2600, 450-520
  QVERIFY(f.Start());
  const QByteArray before(reinterpret_cast<const char*>(f.Ws().data.Image().ptr(0x8C0, 4)), 4);
  QCOMPARE(before, QByteArray("\x00\x50\x50\x48", 4));  // 485.05000
  f.prompter.dialogs.push_back(Choose(4, 0x07));
  RunModelInfo(f);
  QCOMPARE(QByteArray(reinterpret_cast<const char*>(f.Ws().data.Image().ptr(0x8C0, 4)), 4),
           QByteArray("\x00\x50\x50\x43", 4));  // 435.05000
  QCOMPARE(f.Ws().data.freq.Lower(), 400.0);
  QCOMPARE(f.Ws().data.freq.Upper(), 470.0);
}

void ModelTest::changeWithoutWarningIsAppliedAtOnce() {
  AppFixture f;
  f.SetSetting("Backup/LastModel", "4D:31:36:30:30:04:FB:FF");  // VT-1600H
  QVERIFY(f.Start());
  f.Ws().datName = "named.dat";
  f.Frame().Action(kCmdKeys)->trigger();
  f.prompter.dialogs.push_back(Choose(0, 0x04));
  RunModelInfo(f);
  QVERIFY(f.prompter.messages.empty());
  QCOMPARE(ModelBytesOf(f), QByteArray("M1600\x04\xFF\xFF", 8));
  // No flag: names and editors stay.
  QCOMPARE(f.Ws().datName, std::string("named.dat"));
  QCOMPARE(f.Frame().Children().size(), size_t(2));
}

void ModelTest::cancelInTheWarningKeepsTheDialogOpenAndChangesNothing() {
  AppFixture f;
  QVERIFY(f.Start());
  const QByteArray image(reinterpret_cast<const char*>(f.Ws().data.buffers.ImageBytes().data()), 0xC000);
  bool stillOpen = false;
  f.prompter.answers = {kIdCancel};
  f.prompter.dialogs.push_back([&](QDialog& d) {
    auto& dlg = static_cast<CModelInfoDlg&>(d);
    dlg.SelectModel(8);
    dlg.accept();
    stillOpen = dlg.result() != QDialog::Accepted;
    dlg.reject();
    return dlg.result();
  });
  RunModelInfo(f);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E287\nE295"}));
  QVERIFY(stillOpen);
  QCOMPARE(QByteArray(reinterpret_cast<const char*>(f.Ws().data.buffers.ImageBytes().data()), 0xC000), image);
}

VB420_QTEST(ModelTest)
#include "model_test.moc"

void ModelTest::zonesFollowBandAndPowerChanges() {
  AppFixture f;
  f.SetSetting("Backup/LastModel", "4D:32:36:30:30:06:FF:FF");  // VT-2600, 450-520
  QVERIFY(f.Start());
  CZoneMemory zones(f.Ws().data);
  QCOMPARE(zones.CreateZone(0, '1'), 1);
  QCOMPARE(zones.InsertRecord(0, 0), 1);
  ByteArea image = f.Ws().data.Image();
  image.setU16le(0xB00 + 0x13, 1000);
  // Standard to high power on the same band: the zone stays, its value is
  // lowered to 600.
  f.prompter.dialogs.push_back(Choose(5, 0x06));
  f.prompter.answers = {kIdOk, kIdNo};  // the warning; do not save first
  RunModelInfo(f);
  QCOMPARE(image.u16le(0xA00), uint16_t(0x0B00));
  QCOMPARE(image.u16le(0xB00 + 0x13), uint16_t(600));
  // A band change clears every zone and channel.
  f.prompter.dialogs.push_back(Choose(5, 0x07));
  f.prompter.answers = {kIdOk, kIdNo};
  RunModelInfo(f);
  QCOMPARE(image.u16le(0xA00), uint16_t(0xFFFF));
  QCOMPARE(image.u16le(0x9E0), uint16_t(0xFFFF));
  QCOMPARE(image.u8(0xB00), uint8_t(0xFF));
}
