// SPDX-License-Identifier: GPL-3.0-or-later
// Which bytes of the image and the extension area a change touched, so that
// after a store only the windows showing those bytes read the image again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "data/ImageLayout.h"

namespace vb420 {

struct ByteChanges {
  // Ranges [begin, end) in ascending order.
  using Ranges = std::vector<std::pair<size_t, size_t>>;
  Ranges image;
  Ranges ext;

  bool Empty() const { return image.empty() && ext.empty(); }
  // Whether a change touched [begin, end) of the image (or the extension area).
  bool Touches(bool inExt, size_t begin, size_t end) const {
    for (const auto& [b, e] : inExt ? ext : image)
      if (b < end && begin < e) return true;
    return false;
  }
  bool TouchesExt() const { return !ext.empty(); }
  // The model record: every window's texts and limits follow it.
  bool TouchesModel() const { return Touches(false, img::kModelBytes, img::kModelBytes + 8); }

  // The ranges where `before` and `after` differ; differences closer than
  // eight bytes make one range.
  static Ranges Diff(const uint8_t* before, const uint8_t* after, size_t size) {
    Ranges out;
    size_t i = 0;
    while (i < size) {
      if (before[i] == after[i]) {
        ++i;
        continue;
      }
      const size_t begin = i;
      size_t end = i + 1;
      for (size_t j = end; j < size && j < end + 8; ++j)
        if (before[j] != after[j]) end = j + 1;
      out.emplace_back(begin, end);
      i = end;
    }
    return out;
  }
};

}  // namespace vb420
