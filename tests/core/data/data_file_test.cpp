// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "TestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"

using namespace vb420;
using namespace vb420::test;

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
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
  for (const auto& [version, result] : std::vector<std::pair<std::string, DataFileResult>>{
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
  // A file Open refuses for its image's model bytes shows no preview either.
  auto bytes = ReadBytes(dir.File("p.DAT"));
  std::copy_n("XXXXX", 5, bytes.begin() + 64 + 0x120);
  WriteBytes(dir.File("noimage.dat"), bytes);
  EXPECT_EQ(ProbeHeader(dir.File("noimage.dat"))[0], "");
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

// ---- what Open refuses, Save never writes ------------------------------------

TEST(DataFile, ImageModelBytesThatNameNoModelAreRefused) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 4, 0x06);
  const std::string path = dir.File("m.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto good = ReadBytes(path);

  RadioData b;
  b.buffers.Clear();
  const auto scratchBefore = Slice(b.buffers.ScratchImage(), 0, kImageSize);
  // The header's copy still names a VT-2600; the image's own bytes do not.
  auto bytes = good;
  std::copy_n("XXXXX", 5, bytes.begin() + 64 + 0x120);
  WriteBytes(path, bytes);
  FileStatus st = LoadDatFile(path, b);
  EXPECT_EQ(st.result, kFileRefused);
  EXPECT_EQ(st.path, path);
  // A known model on a band it does not have (VT-2600 on VHF).
  bytes = good;
  bytes[64 + 0x125] = 0x04;
  WriteBytes(path, bytes);
  EXPECT_EQ(LoadDatFile(path, b).result, kFileRefused);
  EXPECT_EQ(LoadDataFile(path, b).result, kFileRefused);
  EXPECT_EQ(Slice(b.buffers.ScratchImage(), 0, kImageSize), scratchBefore);
  // Header and image naming different known models: the image is what counts.
  bytes = good;
  std::copy_n("M1600", 5, bytes.begin() + 15);
  bytes[20] = 0x04;
  WriteBytes(path, bytes);
  EXPECT_EQ(LoadDatFile(path, b).result, kFileOk);

  // Save refuses such model bytes and leaves the old file as it was.
  WriteBytes(path, good);
  a.Image().write(0x120, reinterpret_cast<const uint8_t*>("XXXXX"), 5);
  st = SaveDatFile(path, a);
  EXPECT_EQ(st.result, kFileRefused);
  EXPECT_EQ(ReadBytes(path), good);
  EXPECT_EQ(SaveDatFile(dir.File("new.dat"), a).result, kFileRefused);
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.dat")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.dat.tmp~")));
}

// ---- what the user set on the file survives a save ---------------------------

TEST(DataFile, SaveKeepsTheModeAndRefusesAReadOnlyFile) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string path = dir.File("secret.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  a.Image().setU8(0x200, 0x11);
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(ReadBytes(path)[64 + 0x200], 0x11);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  EXPECT_EQ(ModeOf(path), 0640u);

  // Read-only (also for root, who could write it): refused with the reason,
  // the file and its mode untouched, nothing left beside it.
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const auto before = ReadBytes(path);
  a.Image().setU8(0x200, 0x22);
  const FileStatus st = SaveDatFile(path, a);
  EXPECT_EQ(st.result, kFileCannotOpen);
  EXPECT_EQ(st.sysError, EACCES);
  EXPECT_EQ(st.path, path);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));
}

TEST(DataFile, SaveWritesThroughASymbolicLink) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  std::filesystem::create_directories(dir.File("real"));
  const std::string real = dir.File("real/site.dat");
  ASSERT_EQ(SaveDatFile(real, a).result, kFileOk);
  ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
  // A relative link, and a link to that link.
  ASSERT_EQ(::symlink("real/site.dat", dir.File("link.dat").c_str()), 0);
  ASSERT_EQ(::symlink(dir.File("link.dat").c_str(), dir.File("link2.dat").c_str()), 0);

  a.Image().setU8(0x300, 0x5A);
  ASSERT_EQ(SaveDatFile(dir.File("link2.dat"), a).result, kFileOk);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2.dat")));
  EXPECT_EQ(std::filesystem::read_symlink(dir.File("link.dat")).string(), "real/site.dat");
  EXPECT_EQ(ReadBytes(real)[64 + 0x300], 0x5A);
  EXPECT_EQ(ModeOf(real), 0600u);
  // A stale temporary file that is a second name of another file is removed,
  // never written through.
  std::filesystem::create_directories(dir.File("other"));
  WriteBytes(dir.File("other/precious"), {1, 2, 3});
  ASSERT_EQ(::link(dir.File("other/precious").c_str(), (real + ".tmp~").c_str()), 0);
  ASSERT_EQ(SaveDatFile(dir.File("link.dat"), a).result, kFileOk);
  EXPECT_EQ(ReadBytes(dir.File("other/precious")), std::vector<uint8_t>({1, 2, 3}));
  // No temporary file beside the link or beside the real file.
  for (const auto& e : std::filesystem::directory_iterator(dir.File("real")))
    EXPECT_EQ(e.path().filename(), "site.dat");
  EXPECT_FALSE(std::filesystem::exists(dir.File("link2.dat.tmp~")));

  // A dangling link creates its target.
  ASSERT_EQ(::symlink("real/later.dat", dir.File("dangling.dat").c_str()), 0);
  ASSERT_EQ(SaveDatFile(dir.File("dangling.dat"), a).result, kFileOk);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling.dat")));
  EXPECT_EQ(ReadBytes(dir.File("real/later.dat")).size(), kDatFileSize);

  // A loop of links names no file at all: refused, and the links stay.
  ASSERT_EQ(::symlink("loop2.dat", dir.File("loop1.dat").c_str()), 0);
  ASSERT_EQ(::symlink("loop1.dat", dir.File("loop2.dat").c_str()), 0);
  const FileStatus loop = SaveDatFile(dir.File("loop1.dat"), a);
  EXPECT_EQ(loop.result, kFileCannotOpen);
  EXPECT_EQ(loop.sysError, ELOOP);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("loop1.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("loop2.dat")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("loop1.dat.tmp~")));
}

TEST(DataFile, FoldersAreNamedForWhatTheyAre) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  std::filesystem::create_directories(dir.File("folder.dat"));
  RadioData b;
  FileStatus st = LoadDatFile(dir.File("folder.dat"), b);
  EXPECT_EQ(st.result, kFileIsFolder);
  EXPECT_EQ(LoadDataFile(dir.File("folder.dat"), b).result, kFileIsFolder);
  // Saving over a folder names the folder.
  st = SaveDatFile(dir.File("folder.dat"), a);
  EXPECT_EQ(st.result, kFileIsFolder);
  EXPECT_EQ(st.path, dir.File("folder.dat"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.dat")));
  // The temporary name taken by a folder: the message names that path, not
  // the target, and the target is left alone.
  const std::string path = dir.File("t.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto before = ReadBytes(path);
  std::filesystem::create_directories(path + ".tmp~");
  a.Image().setU8(0x200, 0x33);
  st = SaveDatFile(path, a);
  EXPECT_EQ(st.result, kFileIsFolder);
  EXPECT_EQ(st.path, path + ".tmp~");
  EXPECT_EQ(ReadBytes(path), before);

  TextTable text;
  LoadNumberedTable(text);
  EXPECT_EQ(DataFileMessage(st, FileAction::Save, text), "T291\n" + path + ".tmp~");

  // A folder under any name, and a pipe that is not replaced by a file.
  std::filesystem::create_directories(dir.File("folder.txt"));
  EXPECT_EQ(LoadDataFile(dir.File("folder.txt"), b).result, kFileIsFolder);
  ASSERT_EQ(::mkfifo(dir.File("pipe.dat").c_str(), 0644), 0);
  st = SaveDatFile(dir.File("pipe.dat"), a);
  EXPECT_EQ(st.result, kFileCannotOpen);
  EXPECT_EQ(st.sysError, ENOTSUP);
  struct stat info {};
  ASSERT_EQ(::lstat(dir.File("pipe.dat").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(DataFile, OneMessagePerResult) {
  TextTable text;
  LoadNumberedTable(text);
  FileStatus st;
  st.path = "/x/a.dat";
  EXPECT_EQ(DataFileMessage(st, FileAction::Load, text), "");
  st.result = kFileCannotOpen;
  st.sysError = ENOENT;
  EXPECT_EQ(DataFileMessage(st, FileAction::Load, text), "T268\n/x/a.dat");
  // A save that cannot create or replace the file gives the system's reason.
  st.sysError = EACCES;
  EXPECT_EQ(DataFileMessage(st, FileAction::Save, text), "/x/a.dat\n\n" + std::string(std::strerror(EACCES)));
  st.result = kFileWriteFailed;
  st.sysError = ENOSPC;
  EXPECT_EQ(DataFileMessage(st, FileAction::Save, text), "/x/a.dat\n\n" + std::string(std::strerror(ENOSPC)));
  st.result = kFileRefused;
  EXPECT_EQ(DataFileMessage(st, FileAction::Load, text), "T281");
  EXPECT_EQ(DataFileMessage(st, FileAction::Save, text), "T292\n/x/a.dat");
  st.result = kFileNotOurs;
  std::copy_n("DMT-100\0\0\0", 10, st.header10.begin());
  EXPECT_EQ(DataFileMessage(st, FileAction::Load, text), "T311\n/x/a.dat\nDMT-100");
  st.header10.fill(0);
  EXPECT_EQ(DataFileMessage(st, FileAction::Load, text), "T312\n/x/a.dat");
  // The placeholders of the shipped texts are filled in order.
  EXPECT_EQ(FillEntryText("File \"%s\" is of %s.", {"a", "b"}), "File \"a\" is of b.");
}

// ---- a failed write, as any user (root included) can meet it -----------------

TEST(DataFile, WriteFailureMidwayKeepsTheOldFileByteForByte) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string path = dir.File("big.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto before = ReadBytes(path);
  a.Image().setU8(0x200, 0x44);
  // A file-size limit stops the write after 4 KiB; the limit holds for root
  // too. The child process takes the limit so that this one keeps none.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    const FileStatus st = SaveDatFile(path, a);
    ::_exit(static_cast<int>(st.result) * 16 + (st.sysError == EFBIG ? 1 : 0));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(kFileWriteFailed) * 16 + 1);
  EXPECT_EQ(ReadBytes(path), before);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.File(""))) {
    ++entries;
    EXPECT_EQ(e.path().filename(), "big.dat");
  }
  EXPECT_EQ(entries, 1);
}
