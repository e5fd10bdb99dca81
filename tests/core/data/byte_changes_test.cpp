// SPDX-License-Identifier: GPL-3.0-or-later
// The changed byte ranges after a store: what decides which windows read
// the image again.
#include <gtest/gtest.h>

#include <vector>

#include "data/ByteChanges.h"

namespace vb420 {
namespace {

TEST(ByteChanges, RangesOfChangedBytesJoinWithinEightBytes) {
  std::vector<uint8_t> a(64, 0), b(64, 0);
  EXPECT_TRUE(ByteChanges::Diff(a.data(), b.data(), a.size()).empty());
  b[3] = 1;
  b[10] = 1;  // 7 bytes after: the same range
  b[30] = 1;  // 19 bytes after: a range of its own
  b[63] = 1;  // the last byte
  const ByteChanges::Ranges r = ByteChanges::Diff(a.data(), b.data(), a.size());
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], (std::pair<size_t, size_t>{3, 11}));
  EXPECT_EQ(r[1], (std::pair<size_t, size_t>{30, 31}));
  EXPECT_EQ(r[2], (std::pair<size_t, size_t>{63, 64}));
}

TEST(ByteChanges, TouchesOnlyOverlappingAreas) {
  ByteChanges c;
  c.image = {{0x8C0, 0x8C4}};
  EXPECT_TRUE(c.Touches(false, 0x8C0, 0x960));
  EXPECT_TRUE(c.Touches(false, 0x8C3, 0x8C4));
  EXPECT_FALSE(c.Touches(false, 0x8C4, 0x900));  // ends are exclusive
  EXPECT_FALSE(c.Touches(false, 0x800, 0x8C0));
  EXPECT_FALSE(c.Touches(true, 0x8C0, 0x960));  // the extension area is another
  EXPECT_FALSE(c.TouchesModel());
  c.image.push_back({img::kModelBytes + 7, img::kModelBytes + 8});
  EXPECT_TRUE(c.TouchesModel());
}

}  // namespace
}  // namespace vb420
