// The process-wide buffers: working memory image and extension area, the
// scratch copy that loading and reading a radio fill before the data are
// accepted, and the snapshot of what was last saved.
#pragma once

#include <cstdint>
#include <vector>

#include "data/Bytes.h"

namespace vb420 {

constexpr size_t kImageSize = 0xC000;
constexpr size_t kExtSize = 0x1200;
// The part of the extension area that data files and the radio carry.
constexpr size_t kExtBlockOffset = 0x100;
constexpr size_t kExtBlockSize = kExtSize - kExtBlockOffset;  // 0x1100

// Fixed image offsets that the whole program shares.
namespace img {
constexpr size_t kIdentBlock = 0x100;
constexpr size_t kVersion = 0x107;
constexpr size_t kProgramId = 0x110;
constexpr size_t kModelBytes = 0x120;
constexpr size_t kReadPassword = 0x149;       // length byte, then 6 characters
constexpr size_t kOverwritePassword = 0x150;  // length byte, then 6 characters
constexpr size_t kAlertTones = 0x460;
constexpr size_t kKeys = 0x580;
constexpr size_t kScan = 0x6A0;
constexpr size_t kDtmf = 0x6D0;
constexpr size_t kDataSignalling = 0x720;
constexpr size_t kEmergency = 0x7D0;
constexpr size_t kExtendedFunction = 0x810;
constexpr size_t kDisplayTexts = 0x860;
constexpr size_t kTestFreqs = 0x8C0;
constexpr size_t kTuningFreqs = 0x960;
constexpr size_t kEmbeddedMessage = 0x9A0;
constexpr size_t kAreaDirectory = 0x9E0;
constexpr size_t kZoneTable = 0xA00;
constexpr size_t kZoneArea = 0xB00;
constexpr size_t kTwoToneDecode = 0xBC00;
}  // namespace img

namespace ext {
constexpr size_t kNamedRecords = 0x100;  // 32 records of 32 bytes
constexpr size_t kMessageLine1 = 0x600;
constexpr size_t kMessageLine2 = 0x620;
constexpr size_t kMessagePasswordLength = 0x640;
constexpr size_t kMessagePassword = 0x641;
}  // namespace ext

class MemoryBuffers {
 public:
  MemoryBuffers();

  ByteArea Image() { return ByteArea(image_.data(), image_.size()); }
  ByteArea Ext() { return ByteArea(ext_.data(), ext_.size()); }
  ByteArea ScratchImage() { return ByteArea(scratch_.data(), kImageSize); }
  ByteArea ScratchExt() { return ByteArea(scratch_.data() + kImageSize, kExtSize); }
  ByteArea SnapshotImage() { return ByteArea(snapshot_.data(), kImageSize); }
  ByteArea SnapshotExt() { return ByteArea(snapshot_.data() + kImageSize, kExtSize); }

  const std::vector<uint8_t>& ImageBytes() const { return image_; }
  const std::vector<uint8_t>& ExtBytes() const { return ext_; }

  // Working image and extension area to 0xFF, then copied into the scratch copy.
  void Clear();
  // Working buffers into the scratch copy.
  void KeepScratch();
  // Scratch copy into the working buffers.
  void AcceptScratch();
  // Working buffers into the snapshot.
  void TakeSnapshot();
  // True when the working buffers differ from the snapshot in any byte.
  bool Modified();

 private:
  std::vector<uint8_t> image_;
  std::vector<uint8_t> ext_;
  std::vector<uint8_t> scratch_;   // image, then extension area
  std::vector<uint8_t> snapshot_;  // image, then extension area
};

}  // namespace vb420
