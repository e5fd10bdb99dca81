// Where the scan, DTMF and 2-tone settings live in the memory image: the
// new-image defaults and the editors' field tables both use these names.
// (The areas themselves are named in ImageLayout.h.)
#pragma once

#include <cstddef>

namespace vb420 {

// The scan, DTMF and 2-tone settings, named for the new-image defaults and
// the editors' tables alike.
namespace scanfld {
constexpr size_t kType1 = 0x6A0;          // priority 1 type: 0xFF none, '0'..'2'
constexpr size_t kType2 = 0x6A1;          // priority 2 type (first generation only)
constexpr size_t kRevert = 0x6A2;         // '0'..'7'
constexpr size_t kDropout = 0x6A3;        // word, seconds
constexpr size_t kDwell = 0x6A5;          // word, seconds
constexpr size_t kInterval1 = 0x6A7;      // word, milliseconds 500..5000
constexpr size_t kInterval2 = 0x6A9;      // word
constexpr size_t kMode = 0x6AB;           // '0'..'2'
constexpr size_t kFlags = 0x6BE;          // word of check boxes, a clear bit is ticked
constexpr size_t kVotingInterval = 0x6C0; // word
constexpr size_t kVotingDwell = 0x6C2;    // word
constexpr size_t kVotingHold = 0x6C4;     // word
constexpr size_t kRssi1 = 0x6C6;
constexpr size_t kRssi2 = 0x6C7;
constexpr size_t kVotingFlags = 0x6CE;
}  // namespace scanfld

namespace dtmffld {
constexpr size_t kSpeed = 0x6D0;          // '0'..'3' for 6, 8, 10, 15 digits per second
constexpr size_t kFirstDelay = 0x6D1;     // word
constexpr size_t kFirstTime = 0x6D3;      // word
constexpr size_t kStarTime = 0x6D5;       // word
constexpr size_t kHoldTime = 0x6D7;       // word, milliseconds, 0xFFFF off
constexpr size_t kDecodeDigits = 0x6D9;   // 1..16, 0xFF automatic
constexpr size_t kFlags = 0x6FE;          // word of check boxes
constexpr size_t kStunRecords = 0x700;    // two 8-byte records
constexpr size_t kStunRecordSize = 8;
constexpr size_t kOwnCode = 0x710;        // digit count, then 5 bytes of digits
constexpr size_t kOwnAction = 0x716;
constexpr size_t kResetTimer = 0x718;     // word, 0xFFFF off
constexpr size_t kOwnFlags = 0x71E;
// The DTMF memory: 32 records of the extension area (ext::kNamedRecords).
constexpr size_t kMemoryRecordSize = 32;
constexpr size_t kMemoryCount = 16;       // digit count within the record
constexpr size_t kMemoryDigits = 17;      // 8 bytes, 16 digits
constexpr int kMemoryEntries = 32;
}  // namespace dtmffld

namespace twotonefld {
constexpr size_t kFirstDelay = 0xBC00;    // word, milliseconds
constexpr size_t kToneA = 0xBC02;         // word, milliseconds
constexpr size_t kToneB = 0xBC04;
constexpr size_t kLongTone = 0xBC06;
constexpr size_t kInterval = 0xBC08;
constexpr size_t kFlags = 0xBC0E;
constexpr size_t kDecode = 0xBC10;        // four 48-byte decode set-ups
constexpr size_t kDecodeSize = 48;
constexpr int kDecodePages = 4;
constexpr size_t kCodes = 0xBD00;         // 32 codes of 20 bytes (fld::kTwoToneNames)
constexpr size_t kCodeSize = 20;
constexpr int kCodeCount = 32;
}  // namespace twotonefld

}  // namespace vb420
