// The single fields of the data-signalling (Vantelix) area at image 0x720
// and of the emergency area at image 0x7D0, named once for their editor's
// tables and for the new-image defaults.
#pragma once

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

}  // namespace vb420
