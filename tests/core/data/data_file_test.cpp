#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"

using namespace vb420;
using namespace vb420::test;

namespace {

void MakeNew(RadioData& d, int model, uint8_t band) {
  SetModel(d, model, band);
  ResetToNewImage(d);
}

}  // namespace

TEST(DataFile, HeaderBytes) {
  const ModelBytes m = {'M', '2', '6', '0', '2', 0x07, 0xFB, 0xFF};
  const auto h = BuildHeader(m, false);
  const std::vector<uint8_t> expected = {
      'V', 'B', '4', '2', '0', 0, 0, 0, 'V', '1', 'V', '1', '.', '2', '0',  // magic, version
      'M', '2', '6', '0', '2', 0x07, 0xFB, 0xFF,                          // model bytes
      0xFF, 0xFF, 0xFF};                                                  // 23, 24 and the type byte
  EXPECT_EQ(std::vector<uint8_t>(h.begin(), h.begin() + 26), expected);
  for (size_t i = 26; i < 64; ++i) EXPECT_EQ(h[i], 0xFF) << i;
  EXPECT_EQ(BuildHeader(m, true)[25], 0x00);
}

TEST(DataFile, DatRoundTripIsByteExact) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 6, 0x06);
  a.Image().setU8(0x9A0, 'H');
  a.Ext().setU8(0x100, 0x42);    // first byte of the extension block
  a.Ext().setU8(0x11FF, 0x43);   // last byte
  a.Ext().setU8(0x0FF, 0x99);    // not part of the file
  const std::string path = dir.File("prog.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), kDatFileSize);
  EXPECT_EQ(bytes[64 + 0x9A0], 'H');
  EXPECT_EQ(bytes[64 + 0xC000], 0x42);
  EXPECT_EQ(bytes.back(), 0x43);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 15, bytes.begin() + 23), Slice(a.Image(), 0x120, 8));

  RadioData b;
  b.buffers.Clear();
  ASSERT_EQ(LoadDatFile(path, b).result, kFileOk);
  // Only the scratch copy is filled until the caller accepts it.
  EXPECT_EQ(b.Image().u8(0x9A0), 0xFF);
  b.buffers.AcceptScratch();
  EXPECT_EQ(b.buffers.ImageBytes(), a.buffers.ImageBytes());
  EXPECT_EQ(Slice(b.Ext(), 0x100, 0x1100), Slice(a.Ext(), 0x100, 0x1100));
  EXPECT_EQ(b.Ext().u8(0x0FF), 0xFF);
}

TEST(DataFile, RefusedFilesLeaveEverythingAlone) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string good = dir.File("good.dat");
  ASSERT_EQ(SaveDatFile(good, a).result, kFileOk);
  const auto bytes = ReadBytes(good);

  RadioData b;
  b.buffers.Clear();
  const auto scratchBefore = Slice(b.buffers.ScratchImage(), 0, kImageSize);
  auto expectUntouched = [&] { EXPECT_EQ(Slice(b.buffers.ScratchImage(), 0, kImageSize), scratchBefore); };

  EXPECT_EQ(LoadDatFile(dir.File("missing.dat"), b).result, kFileCannotOpen);
  EXPECT_NE(LoadDatFile(dir.File("missing.dat"), b).sysError, 0);

  // Cut short: refused as not a data file and nothing half-read.
  auto cut = bytes;
  cut.resize(kDatFileSize - 1);
  WriteBytes(dir.File("cut.dat"), cut);
  EXPECT_EQ(LoadDatFile(dir.File("cut.dat"), b).result, kFileNotOurs);
  expectUntouched();
  WriteBytes(dir.File("tiny.dat"), {'V', 'B'});
  EXPECT_EQ(LoadDatFile(dir.File("tiny.dat"), b).result, kFileNotOurs);

  // A sister program's file keeps its header text for the message.
  auto dmt = bytes;
  std::copy_n("DMT-100\0\0\0", 10, dmt.begin());
  WriteBytes(dir.File("dmt.dat"), dmt);
  const FileStatus st = LoadDatFile(dir.File("dmt.dat"), b);
  EXPECT_EQ(st.result, kFileNotOurs);
  EXPECT_NE(HeaderText(st.header10).find("DMT"), std::string::npos);

  // Model bytes that name no model, or a band the model does not allow.
  auto badModel = bytes;
  badModel[15] = 'Q';
  WriteBytes(dir.File("m.dat"), badModel);
  EXPECT_EQ(LoadDatFile(dir.File("m.dat"), b).result, kFileRefused);
  auto badBand = bytes;
  badBand[20] = 0x06;  // VT-1600 on UHF
  WriteBytes(dir.File("b.dat"), badBand);
  EXPECT_EQ(LoadDatFile(dir.File("b.dat"), b).result, kFileRefused);
  expectUntouched();
}

TEST(DataFile, VersionFieldComparesItsFirstThreeBytes) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string path = dir.File("v.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  auto bytes = ReadBytes(path);
  RadioData b;
  for (const auto& [version, result] : std::vector<std::pair<std::string, int>>{
           {"V1.99", kFileOk}, {"V1.0x", kFileOk}, {"V0.50", kFileOk}, {"V2.00", kFileRefused}, {"W1.20", kFileRefused}}) {
    std::copy(version.begin(), version.end(), bytes.begin() + 10);
    WriteBytes(path, bytes);
    EXPECT_EQ(LoadDatFile(path, b).result, result) << version;
  }
}

TEST(DataFile, FailedSaveKeepsThePreviousFile) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string path = dir.File("keep.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto before = ReadBytes(path);
  // A folder that cannot be written into: the save fails and the old file stays.
  ASSERT_EQ(::chmod(std::filesystem::path(path).parent_path().c_str(), 0500), 0);
  a.Image().setU8(0x200, 0x00);
  const FileStatus st = SaveDatFile(path, a);
  ::chmod(std::filesystem::path(path).parent_path().c_str(), 0700);
  if (::geteuid() != 0) {  // root ignores the folder's permissions
    EXPECT_EQ(st.result, kFileCannotOpen);
    EXPECT_NE(st.sysError, 0);
    EXPECT_EQ(ReadBytes(path), before);
  }
  // Saving into a folder that does not exist fails with the system's error.
  EXPECT_EQ(SaveDatFile(dir.File("no/such/folder.dat"), a).result, kFileCannotOpen);
  // No temporary file is left behind by a good save either.
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(DataFile, SdtRoundTripAndDamagedLengths) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  a.mergeSlots.entries[2].block = {1, '1', 1, 0, 1};
  a.mergeSlots.entries[2].mark = 7;
  a.mergeSlots.entries[2].name[0] = 'Z';
  a.mergeSlots.entries[2].perChannel[1][249] = 0xAB;
  a.mergeSlots.marks[3][19] = 9;
  const std::string path = dir.File("m.sdt");
  ASSERT_EQ(SaveSdtFile(path, a).result, kFileOk);
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 64u + 40 + 80 + 5 + 1 + 16 + 750);
  EXPECT_EQ(bytes[25], 0x00);
  EXPECT_EQ(bytes[64 + 4], 5);  // slot 2's length, little-endian
  EXPECT_EQ(bytes[64 + 5], 0);

  RadioData b;
  ASSERT_EQ(LoadDataFile(path, b).result, kFileOk);
  EXPECT_EQ(b.mergeSlots.entries[2].block, a.mergeSlots.entries[2].block);
  EXPECT_EQ(b.mergeSlots.entries[2].mark, 7);
  EXPECT_EQ(b.mergeSlots.entries[2].name[0], 'Z');
  EXPECT_EQ(b.mergeSlots.entries[2].perChannel[1][249], 0xAB);
  EXPECT_EQ(b.mergeSlots.marks[3][19], 9);

  // A slot length larger than the zone area is refused before anything is
  // allocated, and the slots already held stay.
  auto huge = bytes;
  huge[64 + 6] = 0xFF;
  huge[64 + 7] = 0xFF;
  WriteBytes(dir.File("huge.sdt"), huge);
  EXPECT_EQ(LoadSdtFile(dir.File("huge.sdt"), b).result, kFileNotOurs);
  EXPECT_EQ(b.mergeSlots.entries[2].block, a.mergeSlots.entries[2].block);
  // A body cut short is refused the same way.
  auto cut = bytes;
  cut.resize(cut.size() - 10);
  WriteBytes(dir.File("cut.sdt"), cut);
  EXPECT_EQ(LoadSdtFile(dir.File("cut.sdt"), b).result, kFileNotOurs);
  EXPECT_EQ(b.mergeSlots.entries[2].mark, 7);
}

TEST(DataFile, TypeByExtensionAndPreview) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 8, 0x04);
  a.Image().writeText(0x9A0, "FLEET A", 32);
  a.Image().writeText(0x9C0, "Second line of the message......", 32);
  ASSERT_EQ(SaveDatFile(dir.File("p.DAT"), a).result, kFileOk);
  RadioData b;
  EXPECT_EQ(LoadDataFile(dir.File("p.DAT"), b).result, kFileOk);
  EXPECT_EQ(LoadDataFile(dir.File("p.txt"), b).result, kFileRefused);
  const auto texts = ProbeHeader(dir.File("p.DAT"));
  EXPECT_EQ(texts[0], "FLEET A");
  EXPECT_EQ(texts[1], "Second line of the message......");
  WriteBytes(dir.File("junk.dat"), std::vector<uint8_t>(100, 'x'));
  EXPECT_EQ(ProbeHeader(dir.File("junk.dat"))[0], "");
}

TEST(DataFile, FileNameRules) {
  EXPECT_EQ(FolderOf("/home/tech/fleet/a.dat"), "/home/tech/fleet/");
  EXPECT_EQ(FolderOf("C:\\prog\\a.dat"), "C:\\prog\\");
  EXPECT_EQ(FolderOf("a.dat"), "");
  EXPECT_EQ(WithExtension("fleet", "dat"), "fleet.dat");
  EXPECT_EQ(WithExtension("fleet.", "dat"), "fleet.dat");
  EXPECT_EQ(WithExtension("fleet.DAT", "dat"), "fleet.DAT");
  EXPECT_EQ(WithExtension("fleet.sdt", "dat"), "fleet.sdt.dat");
  EXPECT_FALSE(NameTooLong("/x/" + std::string(32, 'a') + ".dat"));
  EXPECT_TRUE(NameTooLong("/x/" + std::string(33, 'a') + ".dat"));
}
