// SPDX-License-Identifier: GPL-3.0-or-later
// The cable as the radio knows it: every byte value, length and rate the
// simulated radio uses, and the few encodings it has to compute. Written out
// here on purpose rather than borrowed from the programming software, so that
// a misreading of the protocol on the program's side shows up as a failed
// conversation instead of being mirrored by its own simulator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vb420::sim::wire {

// Control bytes.
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kSyn = 0x16;

// What the program sends to get the radio's attention: the programming call
// and the test-mode call (with its trailing blank), at the radio's calling
// rate.
constexpr std::string_view kProgramCall = "VB420PP";
constexpr std::string_view kTuningCall = "TUNING ";
// Programming runs at this rate once the radio has answered the call.
constexpr long kProgramBaud = 19200;

// Commands of program mode.
constexpr uint8_t kIdentify = 0x02;
constexpr uint8_t kOverwritePassword = 0x03;
constexpr uint8_t kReadPassword = 0x04;
constexpr uint8_t kTechnicianPassword = 0x2D;
constexpr uint8_t kEnd = 0x45;         // 'E'
constexpr uint8_t kReadBlock = 0x52;   // 'R' hi lo
constexpr uint8_t kWriteBlock = 0x57;  // 'W' hi lo, 256 bytes, sum
constexpr uint8_t kFillBlock = 0x5A;   // 'Z' hi lo, one byte for all 256
constexpr uint8_t kReadArea = 0x53;    // 'S' hi lo length
constexpr uint8_t kWriteArea = 0x58;   // 'X' hi lo length, data
constexpr uint8_t kVersion = 0x50;
constexpr uint8_t kDateStamp = 0x5F;
constexpr uint8_t kFirmwareSum = 0x7C;
constexpr uint8_t kPassPortVersion = 0xEC;
constexpr std::string_view kInfoQuery = "URK";

// Markers at the front of answers.
constexpr uint8_t kFullBlockMarker = 0x57;  // 'W': the block and its sum follow
constexpr uint8_t kFillBlockMarker = 0x5A;  // 'Z': one byte stands for the block
constexpr uint8_t kInfoMarker = 0x55;       // 'U': the information record

// Test mode.
constexpr uint8_t kSwitchOn = 0x0D;
constexpr uint8_t kSwitchOff = 0x0E;
constexpr uint8_t kStepUp = 0x0A;
constexpr uint8_t kStepDown = 0x0B;
constexpr uint8_t kStepUpBy = 0x1A;
constexpr uint8_t kStepDownBy = 0x1B;
constexpr uint8_t kSetValue = 0x1C;
constexpr uint8_t kQueryValue = 0x0C;
constexpr uint8_t kParameterPrefix = 0x21;  // '!'
constexpr uint8_t kTransmitter = 0x08;
constexpr uint8_t kMskHigh = 0x86;
constexpr uint8_t kMskLow = 0x85;
constexpr uint8_t kTestChannel = 0x10;
constexpr uint8_t kSignalling = 0x11;
constexpr uint8_t kTestData = 0x05;
constexpr uint8_t kTestValues = 0x07;
constexpr uint8_t kTuningBlock = 0x42;  // 'B'
constexpr uint8_t kBandwidthWide = 'G';
constexpr uint8_t kBandwidthNarrow = 'L';
constexpr uint8_t kBandwidthF = 'F';
constexpr size_t kTestDataLength = 149;

// The radio's memory as the protocol addresses it.
constexpr size_t kBlockBytes = 256;
constexpr int kBlocks = 192;
constexpr size_t kAreaBytes = 4608;  // the extension area, 18 blocks
constexpr size_t kInfoDataBytes = 32;
constexpr size_t kVersionBytes = 10;
constexpr size_t kPassPortBytes = 12;

// The check byte of a block and of the information record: the sum of the
// bytes, kept to 8 bits.
inline uint8_t Sum(const uint8_t* data, size_t n) {
  unsigned s = 0;
  for (size_t i = 0; i < n; ++i) s += data[i];
  return static_cast<uint8_t>(s & 0xFF);
}

// A password as it travels: the digits, then 0x00 up to six bytes; no digits
// at all travel as six 0xFF bytes.
inline std::array<uint8_t, 6> PasswordField(std::string_view digits) {
  std::array<uint8_t, 6> out{};
  if (digits.empty()) {
    out.fill(0xFF);
    return out;
  }
  for (size_t i = 0; i < out.size(); ++i) out[i] = i < digits.size() ? static_cast<uint8_t>(digits[i]) : 0x00;
  return out;
}

}  // namespace vb420::sim::wire
