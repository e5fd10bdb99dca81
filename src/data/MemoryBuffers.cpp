// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/MemoryBuffers.h"

#include <algorithm>
#include <cstring>

namespace vb420 {

MemoryBuffers::MemoryBuffers()
    : image_(kImageSize, 0xFF),
      ext_(kExtSize, 0xFF),
      scratch_(kImageSize + kExtSize, 0xFF),
      snapshot_(kImageSize + kExtSize, 0xFF) {}

void MemoryBuffers::Clear() {
  std::fill(image_.begin(), image_.end(), 0xFF);
  std::fill(ext_.begin(), ext_.end(), 0xFF);
  KeepScratch();
}

void MemoryBuffers::KeepScratch() {
  std::memcpy(scratch_.data(), image_.data(), kImageSize);
  std::memcpy(scratch_.data() + kImageSize, ext_.data(), kExtSize);
}

void MemoryBuffers::AcceptScratch() {
  std::memcpy(image_.data(), scratch_.data(), kImageSize);
  std::memcpy(ext_.data(), scratch_.data() + kImageSize, kExtSize);
}

void MemoryBuffers::TakeSnapshot() {
  std::memcpy(snapshot_.data(), image_.data(), kImageSize);
  std::memcpy(snapshot_.data() + kImageSize, ext_.data(), kExtSize);
}

bool MemoryBuffers::Modified() {
  // Compared directly rather than through the scratch copy: the scratch copy
  // may hold a read or a load that is still waiting to be accepted.
  return std::memcmp(image_.data(), snapshot_.data(), kImageSize) != 0 ||
         std::memcmp(ext_.data(), snapshot_.data() + kImageSize, kExtSize) != 0;
}

}  // namespace vb420
