// SPDX-License-Identifier: GPL-3.0-or-later
// The single fields of the signalling areas, named once for their editors'
// tables and for the new-image defaults: scan, DTMF and 2-tone, the
// data-signalling (Vantelix) area at image 0x720 and the emergency area at
// image 0x7D0. (The areas themselves are named in ImageLayout.h.)
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb420 {

namespace vxf {
constexpr uint32_t kOwnFleet = 0x720;       // own fleet, shown - 99; 0xFF none
constexpr uint32_t kOwnId = 0x721;          // word: own ID, shown - 999; 0xFFFF none
constexpr uint32_t kGroupIdLow = 0x723;     // word: group ID range
constexpr uint32_t kGroupIdHigh = 0x725;    // word
constexpr uint32_t kCallMode = 0x727;
constexpr uint32_t kAutoReset = 0x728;      // word: 1..300 s, 0xFFFF off
constexpr uint32_t kNotification = 0x72A;   // 0xFF none, '0', '1' (mobiles only)
constexpr uint32_t kIndividualRetries = 0x72B;
constexpr uint32_t kGroupRetries = 0x72C;
constexpr uint32_t kEmergencyRetries = 0x72D;
constexpr uint32_t kMessageRetries = 0x72E;
constexpr uint32_t kAutoPosition = 0x72F;   // '0' checked, '1' not
constexpr uint32_t kBaudRate = 0x744;
constexpr uint32_t kStatusRetries = 0x745;
constexpr uint32_t kFlags1 = 0x74C;         // word of check boxes: a clear bit is checked
constexpr uint32_t kFlags2 = 0x74E;         // word, likewise
constexpr uint32_t kRetryCount = 0x750;
constexpr uint32_t kAccessSlots = 0x751;
constexpr uint32_t kAckWait = 0x752;        // word, ms
constexpr uint32_t kRetryInterval = 0x754;  // word, ms
constexpr uint32_t kTxDelay = 0x756;        // word, ms
constexpr uint32_t kBusyWait = 0x758;       // word, ms
constexpr uint32_t kCarrierHold = 0x75A;    // word, ms
constexpr uint32_t kDataInvert = 0x75E;     // bit 0
constexpr uint32_t kGpsFleet = 0x760;
constexpr uint32_t kGpsId = 0x761;          // word
constexpr uint32_t kReportMode = 0x763;
constexpr uint32_t kFixInterval = 0x764;
constexpr uint32_t kSpeedLow = 0x765;
constexpr uint32_t kSpeedHigh = 0x766;
constexpr uint32_t kReportTiming = 0x767;
constexpr uint32_t kGpsFlags = 0x76E;       // word: bit 0 clear switches GPS reports on
constexpr uint32_t kDispatcherFleet = 0x770;
constexpr uint32_t kDispatcherId = 0x771;   // word
// Extension words of the GPS page.
constexpr uint32_t kMovingInterval = 0x508;
constexpr uint32_t kStoppedInterval = 0x50A;
constexpr uint32_t kReportInterval = 0x50D;   // below both while GPS reports are on
}  // namespace vxf

namespace emf {
constexpr uint32_t kZone = 0x7D0;           // 1..128, 0xFF none
constexpr uint32_t kChannel = 0x7D1;        // 1..250 in that zone, 0xFF none
constexpr uint32_t kCycles = 0x7D2;         // 1..200, 0xFF continuous
constexpr uint32_t kActiveTime = 0x7D3;     // word
constexpr uint32_t kIntervalTime = 0x7D5;   // word
constexpr uint32_t kMicActive = 0x7D7;      // word
constexpr uint32_t kMicInterval = 0x7D9;    // word
constexpr uint32_t kKeyDelay = 0x7DB;       // word, ms; also the hold time of key function 31
constexpr uint32_t kLoneTimer = 0x7DD;      // 1..70, 0xFF off
constexpr uint32_t kPreAlert = 0x7DE;       // below the lone-worker time, 0xFF off
constexpr uint32_t kTxPower = 0x7DF;
constexpr uint32_t kName = 0x7E0;           // 12 characters, zero-filled
constexpr uint32_t kLoneWorker = 0x7ED;     // '0' checked, 0xFF not
constexpr uint32_t kSignalling = 0x7F0;     // 0xFF none, '0' DTMF, '2' Vantelix, '3' ANI
constexpr uint32_t kDtmfCount = 0x7F1;      // digit count, then 8 bytes of digits
constexpr uint32_t kFleet = 0x7FA;          // 0 all
constexpr uint32_t kId = 0x7FB;             // word, 0 all
constexpr uint32_t kSwitches = 0x80E;       // bits of lists and check boxes
}  // namespace emf

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
constexpr size_t kName = 0x6AC;           // 8 characters
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
