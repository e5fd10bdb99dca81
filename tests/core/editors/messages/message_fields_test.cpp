// SPDX-License-Identifier: GPL-3.0-or-later
// How typed message lines and the message password are stored, byte for byte.
#include <gtest/gtest.h>

#include <vector>

#include "data/MemoryBuffers.h"
#include "editors/messages/MessageFields.h"

namespace vb420 {
namespace {

using Bytes = std::vector<uint8_t>;

class MessageFields : public ::testing::Test {
 protected:
  Bytes Field(size_t off, size_t n) const { return Bytes(mem.begin() + off, mem.begin() + off + n); }
  Bytes mem = Bytes(0x1200, 0xEE);
  ByteArea area{mem.data(), mem.size()};
};

TEST_F(MessageFields, LinesAreZeroFilledWithoutTerminator) {
  StoreMessageLine(area, 0x600, "AB                ");
  Bytes want(32, 0x00);
  want[0] = 'A';
  want[1] = 'B';
  EXPECT_EQ(Field(0x600, 32), want);
  EXPECT_EQ(mem[0x5FF], 0xEE);  // nothing outside the field
  EXPECT_EQ(mem[0x620], 0xEE);

  const std::string full = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
  StoreMessageLine(area, 0x620, full + "XYZ");  // at most 32 are taken
  EXPECT_EQ(Field(0x620, 32), Bytes(full.begin(), full.end()));
  EXPECT_EQ(mem[0x640], 0xEE);
  EXPECT_EQ(MessageLineText(area, 0x620), full);

  StoreMessageLine(area, 0x600, "                                      ");
  EXPECT_EQ(Field(0x600, 32), Bytes(32, 0x00));
  EXPECT_EQ(MessageLineText(area, 0x600), "");
  StoreMessageLine(area, 0x600, " LEAD  IN");
  EXPECT_EQ(MessageLineText(area, 0x600), " LEAD  IN");
}

TEST_F(MessageFields, LinesNearTheEndOfTheAreaAreLeftAlone) {
  StoreMessageLine(area, 0x11F0, "TOO LONG FOR THE END");
  EXPECT_EQ(Field(0x11F0, 16), Bytes(16, 0xEE));
  EXPECT_EQ(MessageLineText(area, 0x11F0), "");
}

TEST_F(MessageFields, PasswordLengthCharactersAndNone) {
  StoreMessagePassword(area, "4711");
  EXPECT_EQ(Field(0x640, 7), (Bytes{4, '4', '7', '1', '1', 0xFF, 0xFF}));
  EXPECT_EQ(MessagePassword(area), "4711");
  StoreMessagePassword(area, "12345678");
  EXPECT_EQ(Field(0x640, 7), (Bytes{6, '1', '2', '3', '4', '5', '6'}));
  StoreMessagePassword(area, "");
  EXPECT_EQ(Field(0x640, 7), Bytes(7, 0xFF));
  EXPECT_EQ(MessagePassword(area), "");
  EXPECT_EQ(mem[0x647], 0xEE);
  mem[0x640] = 9;  // a damaged length reads as none
  EXPECT_EQ(MessagePassword(area), "");
}

}  // namespace
}  // namespace vb420
