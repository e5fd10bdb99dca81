// SPDX-License-Identifier: GPL-3.0-or-later
// The read-back after a write and the backups a write keeps: which bytes
// are held to what was sent, how differences are reported, and how the
// backups are named and pruned together with those of reads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/MemoryBuffers.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/Backups.h"
#include "link/WriteSession.h"

namespace vb420 {
namespace {

TEST(ReadBack, HoldsEveryImageByteButTheModelBytesAndOnlyTheExtensionBytesSent) {
  struct Case {
    bool ext;
    size_t offset;
    bool held;
  };
  const Case cases[] = {
      {false, 0x0000, true},  {false, 0x011F, true},  {false, 0x0120, false}, {false, 0x0127, false},
      {false, 0x0128, true},  {false, 0xBFFF, true},  {false, 0xC000, false}, {true, 0x0000, false},
      {true, 0x00FF, false},  {true, 0x0100, true},   {true, 0x05FF, true},   {true, 0x0600, false},
      {true, 0x063F, false},  {true, 0x0640, false},  {true, 0x064F, false},  {true, 0x0650, true},
      {true, 0x067F, true},   {true, 0x0680, true},   {true, 0x11FF, true},   {true, 0x1200, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.ext ? VerifiedExtByte(c.offset) : VerifiedImageByte(c.offset), c.held)
        << (c.ext ? "ext " : "image ") << std::hex << c.offset;
}

TEST(ReadBack, DifferencesAreRunsInAddressOrderAndIgnoreTheRadiosOwnBytes) {
  std::vector<uint8_t> sentImage(kImageSize, 0x11), sentExt(kExtSize, 0x22);
  std::vector<uint8_t> image = sentImage, ext = sentExt;
  EXPECT_TRUE(CompareReadBack(sentImage.data(), sentExt.data(), image.data(), ext.data()).empty());
  image[0x3010] ^= 1;
  image[0x3011] ^= 1;
  image[0x3013] ^= 1;
  image[0x0124] ^= 1;  // the radio's model bytes: its own
  image[0xBFFF] ^= 1;
  ext[0x0050] ^= 1;    // never sent
  ext[0x0645] ^= 1;    // the message password: never sent
  ext[0x064F] ^= 1;
  ext[0x0650] ^= 1;
  ext[0x11FF] ^= 1;
  const std::vector<ByteRange> d = CompareReadBack(sentImage.data(), sentExt.data(), image.data(), ext.data());
  const std::vector<ByteRange> want = {{false, 0x3010, 0x3011}, {false, 0x3013, 0x3013}, {false, 0xBFFF, 0xBFFF},
                                       {true, 0x0650, 0x0650},  {true, 0x11FF, 0x11FF}};
  EXPECT_EQ(d, want);
  EXPECT_EQ(RangesText(d), "0x3010-0x3011, 0x3013, 0xBFFF, ext 0x0650, ext 0x11FF");
  EXPECT_EQ(RangesText(d, 2), "0x3010-0x3011, 0x3013 (+3)");
  EXPECT_EQ(RangesText({}), "");
}

TEST(ReadBack, ARunDoesNotCrossFromTheImageIntoTheExtension) {
  std::vector<uint8_t> sentImage(kImageSize, 0), sentExt(kExtSize, 0);
  std::vector<uint8_t> image = sentImage, ext = sentExt;
  image[0xBFFF] = 1;
  ext[0x0100] = 1;
  ext[0x0101] = 1;
  const std::vector<ByteRange> d = CompareReadBack(sentImage.data(), sentExt.data(), image.data(), ext.data());
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[1], (ByteRange{true, 0x100, 0x101}));
}

TEST(BackupNames, KindTimeModelAndSerialNumber) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 8;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(BackupFileName(BackupKind::kWritten, t, "VT-2600", "000012345678"),
            "written-20261207-080509-VT-2600-000012345678.dat");
  EXPECT_EQ(BackupFileName(BackupKind::kRadio, t, "VT-1400", "12 34/5"), "radio-20261207-080509-VT-1400-12_34_5.dat");
  EXPECT_EQ(BackupFileName(BackupKind::kRead, t, "VT-1600", ""), "read-20261207-080509-VT-1600.dat");
  EXPECT_EQ(BackupFileName(BackupKind::kWritten, t, "", ""), "written-20261207-080509-radio.dat");
}

TEST(BackupNames, EveryKindIsListedOldestFirstAndPrunedTogether) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vb420-bkv-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  // Names of other seconds, written by hand, and one foreign file.
  for (const char* n : {"written-20200101-000003-VT-1600-1.dat", "read-20200101-000001-VT-1600.dat",
                        "radio-20200101-000002-VT-1600-1.dat", "writtenx.dat", "other-20200101-000000.dat"})
    std::ofstream(dir / n) << "x";
  EXPECT_EQ(ListBackups(dir.string()),
            (std::vector<std::string>{(dir / "read-20200101-000001-VT-1600.dat").string(),
                                      (dir / "radio-20200101-000002-VT-1600-1.dat").string(),
                                      (dir / "written-20200101-000003-VT-1600-1.dat").string()}));
  RadioData data;
  InitNewImage(data, true);
  std::string error;
  const std::string kept = SaveBackup(data, dir.string(), BackupKind::kWritten, "77", error, 2);
  ASSERT_FALSE(kept.empty()) << error;
  EXPECT_NE(kept.find("-77.dat"), std::string::npos);
  const std::vector<std::string> left = ListBackups(dir.string());
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0], (dir / "written-20200101-000003-VT-1600-1.dat").string());
  EXPECT_EQ(left[1], kept);
  EXPECT_TRUE(std::filesystem::exists(dir / "writtenx.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "other-20200101-000000.dat"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vb420
