// The emergency editor's data (image 0x7D0 onwards, one page of 25
// controls).
//
// Settings keys: `emergency.KEY`.
#pragma once

#include <vector>

#include "editors/forms/FormEngine.h"

namespace vb420 {

class RadioData;

namespace emf {
constexpr uint32_t kZone = 0x7D0;          // 1..128, 0xFF none
constexpr uint32_t kChannel = 0x7D1;       // 1..250 in that zone, 0xFF none
constexpr uint32_t kCycles = 0x7D2;
constexpr uint32_t kKeyDelay = 0x7DB;      // word, ms; also the hold time of key function 31
constexpr uint32_t kLoneTimer = 0x7DD;
constexpr uint32_t kPreAlert = 0x7DE;
constexpr uint32_t kName = 0x7E0;
constexpr uint32_t kLoneWorker = 0x7ED;
constexpr uint32_t kSignalling = 0x7F0;    // 0xFF none, '0' DTMF, '2' Vantelix, '3' ANI
constexpr uint32_t kDtmfCount = 0x7F1;
constexpr uint32_t kFleet = 0x7FA;
constexpr uint32_t kId = 0x7FB;
constexpr uint32_t kSwitches = 0x80E;
}  // namespace emf

// Index of each control on the page.
enum EmergencyControl {
  kEmerChannelMode = 0, kEmerZone, kEmerChannel, kEmerCycles, kEmerActive, kEmerInterval, kEmerMicActive,
  kEmerMicInterval, kEmerAfter, kEmerDisplay, kEmerMode, kEmerKeyDelay, kEmerTxPower, kEmerAckTone, kEmerHorn,
  kEmerLoneCaption, kEmerLoneWorker, kEmerLoneTimer, kEmerPreAlert, kEmerLoneReset, kEmerSignalCaption,
  kEmerSignalling, kEmerDtmf, kEmerFleet, kEmerId, kEmerControls
};

const forms::FormPage& EmergencyPage();
const std::vector<forms::FieldDescriptor>& EmergencyFieldTable();

}  // namespace vb420
