// SPDX-License-Identifier: GPL-3.0-or-later
// The backups kept of every read: how many stay after each save, and which.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "link/Backups.h"

namespace vb420 {
namespace {

class BackupFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vb420-bkc-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    InitNewImage(data_, true);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  RadioData data_;
};

TEST_F(BackupFolder, EverySaveKeepsExactlyTheNewestUpToTheLimit) {
  constexpr int kKeep = 4;
  std::vector<std::string> saved;
  // More saves than fit in one second's numbering below ten, so that the
  // names "_10", "_11" ... must still count as the newest.
  for (int i = 0; i < 13; ++i) {
    data_.Image().setU8(0x3000, static_cast<uint8_t>(i));
    std::string error;
    const std::string path = SaveBackup(data_, dir_.string(), error, kKeep);
    ASSERT_FALSE(path.empty()) << error;
    saved.push_back(path);
    const std::vector<std::string> left = ListBackups(dir_.string());
    const size_t expected = std::min<size_t>(saved.size(), kKeep);
    ASSERT_EQ(left.size(), expected) << "after save " << i + 1;
    // Exactly the last saves, oldest first.
    EXPECT_EQ(left, std::vector<std::string>(saved.end() - static_cast<long>(expected), saved.end()))
        << "after save " << i + 1;
  }
  // The newest holds the last programming.
  RadioData back;
  ASSERT_EQ(LoadDatFile(saved.back(), back).result, kFileOk);
  EXPECT_EQ(back.buffers.ScratchImage().u8(0x3000), 12);
}

TEST_F(BackupFolder, OtherFilesAreNeverPruned) {
  std::ofstream(dir_ / "notes.txt") << "keep";
  std::ofstream(dir_ / "fleet.dat") << "keep";
  for (int i = 0; i < 3; ++i) {
    std::string error;
    ASSERT_FALSE(SaveBackup(data_, dir_.string(), error, 1).empty()) << error;
    EXPECT_EQ(ListBackups(dir_.string()).size(), 1u);
  }
  EXPECT_TRUE(std::filesystem::exists(dir_ / "notes.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "fleet.dat"));
}

TEST_F(BackupFolder, AFailedBackupSaysWhichFile) {
  // A folder where the backup file would go.
  std::filesystem::create_directories(dir_ / "sub");
  std::ofstream(dir_ / "sub" / "blocker");
  std::string error;
  EXPECT_TRUE(SaveBackup(data_, (dir_ / "sub" / "blocker").string(), error).empty());
  EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

}  // namespace
}  // namespace vb420
