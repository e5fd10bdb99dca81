// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide buffers: working memory image and extension area, the
// scratch copy that loading and reading a radio fill before the data are
// accepted, and the snapshot of what was last saved.
#pragma once

#include <cstdint>
#include <vector>

#include "data/Bytes.h"
#include "data/ImageLayout.h"

namespace vb420 {

constexpr size_t kImageSize = img::kSize;
constexpr size_t kExtSize = ext::kSize;
// The part of the extension area that data files and the radio carry.
constexpr size_t kExtBlockOffset = ext::kBlockOffset;
constexpr size_t kExtBlockSize = kExtSize - kExtBlockOffset;


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
