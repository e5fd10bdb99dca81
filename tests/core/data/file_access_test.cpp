// SPDX-License-Identifier: GPL-3.0-or-later
// Files as bytes and safe replacement, the same on every system: a save is
// exactly the file's bytes (no line-end translation), replaces the old file
// in one step, refuses a read-only file and takes names beyond ASCII.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "TestSupport.h"
#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "lang/Platform.h"

using namespace vb420;
using namespace vb420::test;

namespace {

namespace fs = std::filesystem;

// Every byte value, LF and CR among them, twice over.
std::vector<uint8_t> AllByteValues() {
  std::vector<uint8_t> v;
  for (int round = 0; round < 2; ++round)
    for (int b = 0; b < 256; ++b) v.push_back(static_cast<uint8_t>(b));
  return v;
}

TEST(FileAccess, SavedBytesAreTheFilesBytesWhateverTheyAre) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 6, 0x06);
  // Line ends and a Ctrl-Z in the image: a text-mode write would add a CR
  // before every LF (53,568 bytes grew to 53,572).
  const std::vector<uint8_t> values = AllByteValues();
  a.Image().write(0x9A0, values.data(), values.size());
  const std::string path = dir.File("lines.dat");
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), kDatFileSize);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 64 + 0x9A0, bytes.begin() + 64 + 0x9A0 + values.size()), values);

  RadioData b;
  ASSERT_EQ(LoadDatFile(path, b).result, kFileOk);
  b.buffers.AcceptScratch();
  EXPECT_EQ(b.buffers.ImageBytes(), a.buffers.ImageBytes());

  // Reading a whole file keeps CR LF as two bytes.
  WriteBytes(dir.File("crlf.itm"), {'a', '\r', '\n', 'b', '\n', 0x1A, 'c'});
  std::string text;
  int err = 0;
  ASSERT_TRUE(ReadWholeFile(dir.File("crlf.itm"), text, err));
  EXPECT_EQ(text, std::string("a\r\nb\n\x1A" "c"));
}

TEST(FileAccess, ReplacingIsWholeAndLeavesNothingBeside) {
  TempDir dir;
  const std::string path = dir.File("plan.itm");
  const std::string longer(5000, 'x'), shorter = "short\n";
  ASSERT_TRUE(WriteFileAtomically(path, longer.data(), longer.size()).ok());
  // An earlier failed save left its temporary file: it is replaced, not
  // appended to, and gone afterwards.
  WriteBytes(path + ".tmp~", {'o', 'l', 'd'});
  const FileStatus st = WriteFileAtomically(path, shorter.data(), shorter.size());
  ASSERT_TRUE(st.ok()) << st.sysError;
  EXPECT_EQ(testsupport::FileText(path), shorter);
  EXPECT_FALSE(fs::exists(path + ".tmp~"));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.Dir())) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"plan.itm"});
}

// Read-only by the system's own mark (no write permission at all; on Windows
// the read-only attribute): refused, nothing changed or left beside it.
TEST(FileAccess, AReadOnlyFileIsNotReplaced) {
  TempDir dir;
  const std::string path = dir.File("kept.itm");
  const std::string first = "first", second = "second";
  ASSERT_TRUE(WriteFileAtomically(path, first.data(), first.size()).ok());
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const FileStatus st = WriteFileAtomically(path, second.data(), second.size());
  EXPECT_EQ(st.result, kFileCannotOpen);
  EXPECT_EQ(st.sysError, EACCES);
  EXPECT_EQ(st.path, path);
  EXPECT_EQ(testsupport::FileText(path), first);
  EXPECT_FALSE(fs::exists(path + ".tmp~"));
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

TEST(FileAccess, AFolderAndAMissingFolderAreNamedForWhatTheyAre) {
  TempDir dir;
  fs::create_directory(dir.Dir() / "sub.dat");
  const std::string bytes = "x";
  EXPECT_EQ(WriteFileAtomically(dir.File("sub.dat"), bytes.data(), 1).result, kFileIsFolder);
  RadioData d;
  EXPECT_EQ(LoadDataFile(dir.File("sub.dat"), d).result, kFileIsFolder);
  const FileStatus missing = WriteFileAtomically(dir.File("none/p.itm"), bytes.data(), 1);
  EXPECT_EQ(missing.result, kFileCannotOpen);
  EXPECT_EQ(missing.sysError, ENOENT);
}

// A UTF-8 name is the file's name on disk (on Windows through its UTF-16
// form, not the ANSI code page).
TEST(FileAccess, NamesBeyondAsciiSaveAndLoad) {
  TempDir dir;
  RadioData a;
  MakeNew(a, 0, 0x04);
  const std::string name = "Pe\xC3\xB1" "a \xE2\x82\xAC.dat";  // Peña €.dat
  const std::string path = Utf8OfPath(PathOfUtf8(dir.Dir().string()) / PathOfUtf8(name));
  ASSERT_EQ(SaveDatFile(path, a).result, kFileOk);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.Dir())) names.push_back(Utf8OfPath(e.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{name});
  RadioData b;
  EXPECT_EQ(LoadDataFile(path, b).result, kFileOk);
}

}  // namespace
