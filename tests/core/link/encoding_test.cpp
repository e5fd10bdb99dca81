// SPDX-License-Identifier: GPL-3.0-or-later
#include <ctime>
#include <vector>

#include <gtest/gtest.h>

#include "link/RadioLink.h"

namespace vb420 {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(const Password& p) { return Bytes(p.begin(), p.end()); }

TEST(PasswordBytes, EmptyShortFullAndOverlong) {
  EXPECT_EQ(Of(PasswordBytes("")), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Of(PasswordBytes("12")), (Bytes{'1', '2', 0, 0, 0, 0}));
  EXPECT_EQ(Of(PasswordBytes("654321")), (Bytes{'6', '5', '4', '3', '2', '1'}));
  EXPECT_EQ(Of(PasswordBytes("1234567")), (Bytes{'1', '2', '3', '4', '5', '6'}));
  EXPECT_EQ(Of(PasswordBytes("1a2")), (Bytes{'1', '2', 0, 0, 0, 0}));
  EXPECT_EQ(Of(PasswordBytes("ab")), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

std::tm At(int year, int mon, int day, int h, int m, int s) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = mon - 1;
  t.tm_mday = day;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  return t;
}

TEST(DateStamp, YearMinus2000AndPlainBytes) {
  const DateStamp a = DateStampOf(At(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(Bytes(a.begin(), a.end()), (Bytes{24, 3, 5, 14, 7, 9}));
  EXPECT_EQ(DateStampOf(At(2000, 12, 31, 23, 59, 59))[0], 0);
  EXPECT_EQ(DateStampOf(At(2255, 1, 1, 0, 0, 0))[0], 255);
  EXPECT_EQ(DateStampOf(At(2256, 1, 1, 0, 0, 0))[0], 0);  // low 8 bits only
}

TEST(ChecksumText, FourUpperCaseDigitsHighFirst) {
  EXPECT_EQ(ChecksumText(0x1A2B), "1A2B");
  EXPECT_EQ(ChecksumText(0x00F0), "00F0");
  EXPECT_EQ(ChecksumText(0xFFFF), "FFFF");
  EXPECT_EQ(ChecksumText(0), "0000");
}

TEST(StepBytes, SmallAndLargeSteps) {
  EXPECT_EQ(StepBytes(0), Bytes{});
  EXPECT_EQ(StepBytes(1), Bytes{0x0A});
  EXPECT_EQ(StepBytes(-1), Bytes{0x0B});
  EXPECT_EQ(StepBytes(5), (Bytes{0x1A, 0x05}));
  EXPECT_EQ(StepBytes(-5), (Bytes{0x1B, 0x05}));
  EXPECT_EQ(StepBytes(2), (Bytes{0x1A, 0x02}));
  EXPECT_EQ(StepBytes(255), (Bytes{0x1A, 0xFF}));
}

TEST(Sum8, WrapsAtEightBits) {
  const Bytes ff(256, 0xFF);
  EXPECT_EQ(Sum8(ff.data(), ff.size()), 0x00);
  const Bytes b = {0x80, 0x80, 0x05};
  EXPECT_EQ(Sum8(b.data(), b.size()), 0x05);
}

// Inputs on which an exclusive-or, or a sum that keeps its carries, would
// give another byte than the 8-bit sum the radio checks.
TEST(Sum8, IsAnAdditionNotAnExclusiveOr) {
  const Bytes pair = {0x01, 0x01};
  EXPECT_EQ(Sum8(pair.data(), pair.size()), 0x02);  // exclusive-or: 0x00
  const Bytes carries = {0x0F, 0xF0, 0x11};
  EXPECT_EQ(Sum8(carries.data(), carries.size()), 0x10);  // exclusive-or: 0xEE
  Bytes counting(256);
  for (int i = 0; i < 256; ++i) counting[i] = static_cast<uint8_t>(i * 7 + 3);
  EXPECT_EQ(Sum8(counting.data(), counting.size()), 0x80);  // exclusive-or: 0x00
  EXPECT_EQ(Sum8(counting.data(), 0), 0x00);
  EXPECT_EQ(Sum8(counting.data() + 1, 1), 0x0A);
}

}  // namespace
}  // namespace vb420
