// SPDX-License-Identifier: GPL-3.0-or-later
// File New, Open, Save and Save As through the menus, with real files.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/ui/ModelInfoDlg.h"
#include "support/qt/QtTestMain.h"


using namespace vb420;
using namespace vb420::test;

namespace {

QByteArray Image(Workspace& ws) {
  const auto& v = ws.data.buffers.ImageBytes();
  return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<int>(v.size()));
}

QByteArray ExtBlock(Workspace& ws) {
  const auto& v = ws.data.buffers.ExtBytes();
  return QByteArray(reinterpret_cast<const char*>(v.data() + 0x100), static_cast<int>(v.size() - 0x100));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Answers the Save As type question with the given type.
std::function<int(QDialog&)> ChooseType(int type) {
  return [type](QDialog& d) {
    static_cast<CSaveTypeDlg&>(d).Choose(type);
    return d.result();
  };
}

void Trigger(AppFixture& f, int command) { f.Frame().Action(command)->trigger(); }

// A new VT-1600 programming, as another session would have saved it.
void NewProgramming(RadioData& data) {
  data.model.SetBytes(kDefaultModelBytes);
  ResetToNewImage(data);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void saveAsWritesHeaderImageAndExtensionBlock();
  void saveAsAppendsTheExtensionAndRefusesLongNames();
  void saveAsZoneMergeFileAndOpenItBack();
  void saveAsksBeforeOverwriting();
  void failedSaveShowsTheSystemErrorAndKeepsTheImageModified();
  void openReplacesTheImageAndReopensZoneInformation();
  void openChecksIdentificationAndAdjustsAfterLoading();
  void cancelInTheSaveChangesPromptKeepsEverything();
  void yesInTheSaveChangesPromptSavesFirst();
  void refusedFilesLeaveTheImageAlone_data();
  void refusedFilesLeaveTheImageAlone();
  void openDialogStartsInTheLastFolderWithAPreview();
  void saveKeepsModeRefusesReadOnlyAndNamesTheTemporaryFile();
  void newKeepsTheModelAndClearsEverythingElse();
};

void FilesTest::saveAsWritesHeaderImageAndExtensionBlock() {
  AppFixture f;
  QVERIFY(f.Start());
  f.Ws().data.Image().writeText(0x9A0, "HELLO RADIO", 32);
  f.Ws().data.Ext().setU8(0x600, 'M');
  QVERIFY(f.Ws().data.buffers.Modified());
  f.prompter.dialogs.push_back(ChooseType(0));
  f.prompter.saveNames.push_back(f.Path("fleet.dat"));
  Trigger(f, kCmdFileSaveAs);
  QCOMPARE(f.prompter.dialogTitles, QStringList({"VB-420"}));
  QCOMPARE(f.prompter.saveRequests.size(), size_t(1));
  QCOMPARE(f.prompter.saveRequests[0].initialName, QStringLiteral("vb420.dat"));
  QCOMPARE(f.prompter.saveRequests[0].defaultSuffix, QStringLiteral("dat"));
  QCOMPARE(f.prompter.saveRequests[0].filter, QStringLiteral("E118 (*.dat)"));
  QCOMPARE(f.prompter.saveRequests[0].folder, f.Path("home") + "/");
  const QByteArray file = FileData(f.Path("fleet.dat"));
  QCOMPARE(file.size(), 53568);
  QCOMPARE(file.left(25), QByteArray("VB420\0\0\0V1V1.20M1600\x04\xFF\xFF\xFF\xFF", 25));
  QCOMPARE(uint8_t(file[25]), uint8_t(0xFF));
  QCOMPARE(file.mid(26, 38), QByteArray(38, '\xFF'));
  QCOMPARE(file.mid(64, 0xC000), Image(f.Ws()));
  QCOMPARE(file.mid(64 + 0xC000), ExtBlock(f.Ws()));
  QCOMPARE(file.mid(64 + 0x9A0, 11), QByteArray("HELLO RADIO"));
  QVERIFY(!f.Ws().data.buffers.Modified());
  QCOMPARE(f.Ws().datName, std::string("fleet.dat"));
  QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Dir() + "/");
  QVERIFY(f.Frame().windowTitle().endsWith("[ E524 : fleet.dat ] [ E525 : vb420.sdt ]"));
  QVERIFY(f.prompter.messages.empty());
}

void FilesTest::saveAsAppendsTheExtensionAndRefusesLongNames() {
  AppFixture f;
  QVERIFY(f.Start());
  const QString tooLong = f.Path(QString(33, 'a') + ".dat");
  f.prompter.dialogs.push_back(ChooseType(0));
  f.prompter.saveNames = {tooLong, f.Path("short."), f.Path("x")};
  Trigger(f, kCmdFileSaveAs);
  // The long name is refused with 293 and the dialog comes back.
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E293"}));
  QVERIFY(f.prompter.messages[0].icon == MsgIcon::Error);
  QCOMPARE(f.prompter.saveRequests.size(), size_t(2));
  QVERIFY(!QFile::exists(tooLong));
  QVERIFY(QFile::exists(f.Path("short.dat")));
  QCOMPARE(f.Ws().datName, std::string("short.dat"));
  // Exactly 32 characters is allowed; a name without extension gets ".dat".
  f.prompter.Clear();
  f.prompter.dialogs.push_back(ChooseType(0));
  f.prompter.saveNames = {f.Path(QString(32, 'b'))};
  Trigger(f, kCmdFileSaveAs);
  QVERIFY(f.prompter.messages.empty());
  QVERIFY(QFile::exists(f.Path(QString(32, 'b') + ".dat")));
  // Closing the type chooser does nothing.
  f.prompter.Clear();
  Trigger(f, kCmdFileSaveAs);
  QVERIFY(f.prompter.saveRequests.empty());
}

void FilesTest::saveAsZoneMergeFileAndOpenItBack() {
  AppFixture f;
  QVERIFY(f.Start());
  MergeSlot& slot = f.Ws().data.mergeSlots.entries[3];
  slot.block.assign(40, 0x5A);
  slot.mark = 7;
  f.Ws().data.mergeSlots.marks[1][3] = 9;
  f.prompter.dialogs.push_back(ChooseType(1));
  f.prompter.saveNames.push_back(f.Path("merge"));
  Trigger(f, kCmdFileSaveAs);
  QCOMPARE(f.prompter.saveRequests[0].initialName, QStringLiteral("vb420.sdt"));
  QCOMPARE(f.prompter.saveRequests[0].filter, QStringLiteral("E118 (*.sdt)"));
  const QByteArray file = FileData(f.Path("merge.sdt"));
  QVERIFY(file.size() > 64);
  QCOMPARE(file.left(8), QByteArray("VB420\0\0\0", 8));
  QCOMPARE(uint8_t(file[25]), uint8_t(0x00));
  QCOMPARE(f.Ws().sdtName, std::string("merge.sdt"));
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  // Open it back: the slots return, the image stays.
  const QByteArray image = Image(f.Ws());
  f.Ws().data.mergeSlots.Clear();
  f.prompter.openNames.push_back(f.Path("merge.sdt"));
  Trigger(f, kCmdFileOpen);
  QVERIFY(f.prompter.messages.empty());
  QCOMPARE(f.Ws().data.mergeSlots.entries[3].block, std::vector<uint8_t>(40, 0x5A));
  QCOMPARE(f.Ws().data.mergeSlots.marks[1][3], uint8_t(9));
  QCOMPARE(Image(f.Ws()), image);
}

void FilesTest::saveAsksBeforeOverwriting() {
  AppFixture f;
  QVERIFY(f.Start());
  const QString target = f.Path("home/vb420.dat");
  // No file yet: Save writes without asking.
  Trigger(f, kCmdFileSave);
  QVERIFY(f.prompter.messages.empty());
  QCOMPARE(FileData(target).size(), 53568);
  // Now it exists: Cancel (the default button) keeps the old file.
  f.Ws().data.Image().setU8(0x860, 'Z');
  f.prompter.answers = {kIdCancel};
  Trigger(f, kCmdFileSave);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E278\n\nE279 : " + target}));
  QCOMPARE(f.prompter.messages[0].defaultAnswer, int(kIdCancel));
  QCOMPARE(FileData(target).at(64 + 0x860), 'S');
  QVERIFY(f.Ws().data.buffers.Modified());
  // OK overwrites and the image counts as saved.
  f.prompter.Clear();
  Trigger(f, kCmdFileSave);
  QCOMPARE(FileData(target).at(64 + 0x860), 'Z');
  QVERIFY(!f.Ws().data.buffers.Modified());
}

void FilesTest::failedSaveShowsTheSystemErrorAndKeepsTheImageModified() {
  AppFixture f;
  QVERIFY(f.Start());
  f.Ws().data.Image().setU8(0x860, 'Z');
  f.prompter.dialogs.push_back(ChooseType(0));
  f.prompter.saveNames.push_back(f.Path("missing-folder/out.dat"));
  Trigger(f, kCmdFileSaveAs);
  QCOMPARE(f.prompter.messages.size(), size_t(1));
  QVERIFY(f.prompter.messages[0].icon == MsgIcon::Error);
  QVERIFY(f.prompter.messages[0].text.contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
  QVERIFY(f.Ws().data.buffers.Modified());
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  QVERIFY(!QFile::exists(f.Path("missing-folder/out.dat")));
}

void FilesTest::openReplacesTheImageAndReopensZoneInformation() {
  AppFixture f;
  QVERIFY(f.Start());
  // A VT-2600 programming on 400-470 MHz saved by another session.
  RadioData other;
  other.model.SetBytes({'M', '2', '6', '0', '0', 0x07, 0xFF, 0xFF});
  ResetToNewImage(other);
  other.Image().writeText(0x9A0, "FROM FILE", 32);
  other.Ext().setU8(0x600, 'E');
  QCOMPARE(SaveDatFile(f.Path("sub/site.dat").toStdString(), other).result, kFileCannotOpen);  // no folder yet
  QDir(f.Dir()).mkpath("sub");
  QCOMPARE(SaveDatFile(f.Path("sub/site.dat").toStdString(), other).result, kFileOk);

  Trigger(f, kCmdKeys);
  QCOMPARE(f.Frame().Children().size(), size_t(2));
  f.prompter.openNames.push_back(f.Path("sub/site.dat"));
  Trigger(f, kCmdFileOpen);
  QVERIFY(f.prompter.messages.empty());
  QCOMPARE(Image(f.Ws()).mid(0x120, 6), QByteArray("M2600\x07", 6));
  QCOMPARE(Image(f.Ws()).mid(0x9A0, 9), QByteArray("FROM FILE"));
  QCOMPARE(f.Ws().data.Ext().u8(0x600), uint8_t('E'));
  QVERIFY(!f.Ws().data.buffers.Modified());
  QCOMPARE(f.Ws().datName, std::string("site.dat"));
  QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("sub") + "/");
  QVERIFY(f.Frame().windowTitle().contains("[ VT-2600[E204] UHF : 400-470 MHz ]"));
  QVERIFY(f.Frame().windowTitle().contains("[ E524 : site.dat ]"));
  // The editors were closed and Zone Information opened again.
  const auto children = f.Frame().Children();
  QCOMPARE(children.size(), size_t(1));
  QVERIFY(children[0]->View()->Kind() == EditorKind::ZoneInfo);
  // The codec follows the loaded band.
  QCOMPARE(f.Ws().data.freq.Lower(), 400.0);
  // Save now goes to the opened file.
  f.Ws().data.Image().setU8(0x9A0, 'G');
  f.prompter.answers = {kIdOk};
  Trigger(f, kCmdFileSave);
  QCOMPARE(FileData(f.Path("sub/site.dat")).at(64 + 0x9A0), 'G');
}

void FilesTest::openChecksIdentificationAndAdjustsAfterLoading() {
  AppFixture f;
  QVERIFY(f.Start());
  // An image whose identification has only one zero byte after "VB420" is
  // rebuilt for its model; the scan byte pair is adjusted after loading.
  RadioData other;
  other.model.SetBytes({'M', '1', '6', '0', '2', 0x04, 0xFF, 0xFF});
  ResetToNewImage(other);
  other.Image().setU8(0x81B, '5');
  QCOMPARE(SaveDatFile(f.Path("adj.dat").toStdString(), other).result, kFileOk);
  other.Image().setU8(0x106, 'X');
  other.Image().writeText(0x9A0, "LOST", 32);
  QCOMPARE(SaveDatFile(f.Path("bad-ident.dat").toStdString(), other).result, kFileOk);

  f.prompter.openNames.push_back(f.Path("adj.dat"));
  Trigger(f, kCmdFileOpen);
  QCOMPARE(f.Ws().data.Image().u8(0x81B), uint8_t('1'));
  QVERIFY(!f.Ws().data.buffers.Modified());

  f.prompter.openNames.push_back(f.Path("bad-ident.dat"));
  Trigger(f, kCmdFileOpen);
  QCOMPARE(Image(f.Ws()).mid(0x100, 7), QByteArray("VB420\0\0", 7));
  QCOMPARE(Image(f.Ws()).mid(0x120, 5), QByteArray("M1602"));
  QVERIFY(Image(f.Ws()).mid(0x9A0, 4) != QByteArray("LOST"));
}

void FilesTest::cancelInTheSaveChangesPromptKeepsEverything() {
  AppFixture f;
  QVERIFY(f.Start());
  Trigger(f, kCmdFeatures);
  f.Ws().data.Image().setU8(0x860, 'Z');
  const QByteArray image = Image(f.Ws());
  f.prompter.answers = {kIdCancel};
  f.prompter.openNames.push_back(f.Path("never.dat"));
  Trigger(f, kCmdFileOpen);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E277 \"vb420.dat\" ?"}));
  QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("VB-420"));
  QCOMPARE(f.prompter.messages[0].buttons, int(kMsgYesNoCancel));
  QVERIFY(f.prompter.openRequests.empty());
  QCOMPARE(Image(f.Ws()), image);
  QCOMPARE(f.Frame().Children().size(), size_t(2));
  // The same for New.
  f.prompter.Clear();
  f.prompter.answers = {kIdOk, kIdCancel};
  Trigger(f, kCmdFileNew);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E280", "E277 \"vb420.dat\" ?"}));
  QCOMPARE(Image(f.Ws()), image);
  QCOMPARE(f.Frame().Children().size(), size_t(2));
}

void FilesTest::yesInTheSaveChangesPromptSavesFirst() {
  AppFixture f;
  QVERIFY(f.Start());
  RadioData other;
  NewProgramming(other);
  other.Image().setU8(0x860, 'O');
  QCOMPARE(SaveDatFile(f.Path("other.dat").toStdString(), other).result, kFileOk);
  f.Ws().data.Image().setU8(0x860, 'Z');
  // Yes: Save As for a data file (no type question), then the open goes on.
  f.prompter.answers = {kIdYes};
  f.prompter.saveNames.push_back(f.Path("kept.dat"));
  f.prompter.openNames.push_back(f.Path("other.dat"));
  Trigger(f, kCmdFileOpen);
  QVERIFY(f.prompter.dialogTitles.isEmpty());
  QCOMPARE(FileData(f.Path("kept.dat")).at(64 + 0x860), 'Z');
  QCOMPARE(f.Ws().data.Image().u8(0x860), uint8_t('O'));
  // Yes but the save is cancelled: nothing is opened and nothing is lost.
  f.Ws().data.Image().setU8(0x860, 'Y');
  f.prompter.Clear();
  f.prompter.answers = {kIdYes};
  f.prompter.openNames = {f.Path("kept.dat")};
  Trigger(f, kCmdFileOpen);
  QVERIFY(f.prompter.openRequests.empty());
  QCOMPARE(f.Ws().data.Image().u8(0x860), uint8_t('Y'));
}

void FilesTest::refusedFilesLeaveTheImageAlone_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("message");  // %1: the full file name
  RadioData good;
  NewProgramming(good);
  QTemporaryDir tmp;
  QCOMPARE(SaveDatFile(tmp.filePath("g.dat").toStdString(), good).result, kFileOk);
  const QByteArray valid = FileData(tmp.filePath("g.dat"));
  QByteArray dmt = valid;
  dmt.replace(0, 10, QByteArray("DMT400\0V2x", 10));
  QByteArray foreign = valid;
  foreign.replace(0, 5, "ABCDE");
  QByteArray major2 = valid;
  major2.replace(10, 3, "V2.");
  QByteArray unknownModel = valid;
  unknownModel.replace(15, 5, "Q9999");
  // The header names a VT-1600, the image's own model bytes nothing.
  QByteArray imageModel = valid;
  imageModel.replace(64 + 0x120, 5, "XXXXX");
  QTest::newRow("sister program") << "dmt.dat" << dmt << "File %1 is from DMT400";
  QTest::newRow("foreign") << "foreign.dat" << foreign << "File %1 is foreign";
  QTest::newRow("cut short") << "short.dat" << valid.left(1000) << "File %1 is foreign";
  QTest::newRow("major version 2") << "v2.dat" << major2 << "E281";
  QTest::newRow("unknown model") << "model.dat" << unknownModel << "E281";
  QTest::newRow("image without a model") << "image.dat" << imageModel << "E281";
  QTest::newRow("a folder") << "folder.dat" << QByteArray("<folder>") << "E291\n%1";
  QTest::newRow("other extension") << "data.txt" << valid << "E281";
  QTest::newRow("missing") << "absent.dat" << QByteArray() << "E268\n%1";
}

void FilesTest::refusedFilesLeaveTheImageAlone() {
  QFETCH(QString, name);
  QFETCH(QByteArray, content);
  QFETCH(QString, message);
  AppFixture f;
  QVERIFY(f.Start());
  if (content == "<folder>") QVERIFY(QDir(f.Dir()).mkpath(name));
  else if (!content.isEmpty()) WriteFile(f.Path(name), content);
  Trigger(f, kCmdFeatures);
  const QByteArray image = Image(f.Ws());
  f.prompter.openNames.push_back(f.Path(name));
  Trigger(f, kCmdFileOpen);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({message.arg(f.Path(name))}));
  QVERIFY(f.prompter.messages[0].icon == MsgIcon::Error);
  QCOMPARE(Image(f.Ws()), image);
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("home") + "/");
  QCOMPARE(f.Frame().Children().size(), size_t(2));
}

void FilesTest::openDialogStartsInTheLastFolderWithAPreview() {
  AppFixture f;
  QVERIFY(f.Start());
  RadioData other;
  NewProgramming(other);
  other.Image().writeText(0x9A0, "FIRST LINE", 32);
  other.Image().writeText(0x9C0, "SECOND LINE", 32);
  QCOMPARE(SaveDatFile(f.Path("p.dat").toStdString(), other).result, kFileOk);
  Trigger(f, kCmdFileOpen);  // cancelled in the dialog
  QCOMPARE(f.prompter.openRequests.size(), size_t(1));
  const FileDialogRequest& r = f.prompter.openRequests[0];
  QCOMPARE(r.folder, f.Path("home") + "/");
  QCOMPARE(r.filter, QStringLiteral("E118 (*.dat *.sdt)"));
  QCOMPARE(r.previewTitle, QStringLiteral("E211"));
  const auto lines = r.preview(f.Path("p.dat"));
  QCOMPARE(lines[0], QStringLiteral("FIRST LINE"));
  QCOMPARE(lines[1], QStringLiteral("SECOND LINE"));
  WriteFile(f.Path("junk.dat"), QByteArray(3000, 'j'));
  QCOMPARE(r.preview(f.Path("junk.dat"))[0], QString());
}

void FilesTest::saveKeepsModeRefusesReadOnlyAndNamesTheTemporaryFile() {
  AppFixture f;
  QVERIFY(f.Start());
  const QString target = f.Path("site.dat");
  // A 0600 file saved over stays 0600.
  f.Ws().data.Image().setU8(0x860, 'A');
  f.prompter.dialogs.push_back(ChooseType(0));
  f.prompter.saveNames.push_back(target);
  Trigger(f, kCmdFileSaveAs);
  QVERIFY(f.prompter.messages.empty());
  QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
  f.Ws().data.Image().setU8(0x860, 'B');
  f.prompter.Clear();
  f.prompter.answers = {kIdOk};  // overwrite
  Trigger(f, kCmdFileSave);
  QCOMPARE(FileData(target).at(64 + 0x860), 'B');
  QVERIFY((std::filesystem::status(target.toStdString()).permissions() & std::filesystem::perms::all) ==
          (std::filesystem::perms::owner_read | std::filesystem::perms::owner_write));
  // Read-only: the system's reason under the file's name; the file and the
  // modified state stay.
  QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
  f.Ws().data.Image().setU8(0x860, 'C');
  f.prompter.Clear();
  f.prompter.answers = {kIdOk};
  Trigger(f, kCmdFileSave);
  QCOMPARE(f.prompter.messages.size(), size_t(2));
  QCOMPARE(f.prompter.messages[1].text, target + "\n\n" + QString::fromLocal8Bit(std::strerror(EACCES)));
  QVERIFY(f.prompter.messages[1].icon == MsgIcon::Error);
  QCOMPARE(FileData(target).at(64 + 0x860), 'B');
  QVERIFY(f.Ws().data.buffers.Modified());
  // The temporary name beside the target taken by a folder: that is named.
  QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
  QVERIFY(QDir(f.Dir()).mkpath("site.dat.tmp~"));
  f.prompter.Clear();
  f.prompter.answers = {kIdOk};
  Trigger(f, kCmdFileSave);
  QCOMPARE(f.prompter.MessageTexts().value(1), "E291\n" + target + ".tmp~");
  QCOMPARE(FileData(target).at(64 + 0x860), 'B');
}

void FilesTest::newKeepsTheModelAndClearsEverythingElse() {
  AppFixture f;
  f.SetSetting("Backup/LastModel", "4D:32:36:30:32:06:FF:FF");  // VT-2602, 450-520
  QVERIFY(f.Start());
  // Passwords set, a changed byte, a saved name.
  f.Ws().data.model.SetReadPasswordBit(true);
  f.Ws().data.model.SetOverwritePasswordBit(true);
  f.Ws().data.Image().setU8(0x2000, 0x12);
  f.Ws().datName = "mine.dat";
  f.Ws().data.buffers.TakeSnapshot();
  Trigger(f, kCmdKeys);
  // Cancel at the confirmation: nothing happens.
  f.prompter.answers = {kIdCancel};
  Trigger(f, kCmdFileNew);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E280"}));
  QVERIFY(f.prompter.messages[0].icon == MsgIcon::Warning);
  QCOMPARE(f.Ws().data.Image().u8(0x2000), uint8_t(0x12));
  // OK (nothing to save): a new image of the same model without passwords.
  f.prompter.Clear();
  Trigger(f, kCmdFileNew);
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E280"}));
  QCOMPARE(Image(f.Ws()).mid(0x120, 8), QByteArray("M2602\x06\xFF\xFF", 8));
  QCOMPARE(f.Ws().data.Image().u8(0x2000), uint8_t(0xFF));
  QCOMPARE(Image(f.Ws()).mid(0x8C0, 4), QByteArray("\x00\x50\x50\x48", 4));  // 485.05000
  QVERIFY(!f.Ws().data.buffers.Modified());
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  QCOMPARE(f.Frame().Children().size(), size_t(1));
  QVERIFY(f.Frame().Children()[0]->View()->Kind() == EditorKind::ZoneInfo);
}

VB420_QTEST(FilesTest)
#include "files_test.moc"
