// SPDX-License-Identifier: GPL-3.0-or-later
// The single fields of the radio-wide areas: the optional features (image
// 0x140 onwards), the display texts and PassPort tones (0x860 onwards), the
// feature bytes of the extension area, the key assignment (0x580 onwards)
// and the radio description (0x810 onwards). Each place is named here once;
// the editors' tables, the new-image defaults, the pre-write checks and the
// report use these names. (The areas themselves are named in ImageLayout.h,
// the signalling areas in SignallingLayout.h.)
#pragma once

#include <cstddef>

namespace vb420::layout {

namespace features {
// Display and general settings.
constexpr size_t kDisplayCharacters = 0x140;  // 1..12, at most 8 on second-generation models; 0xFF none
constexpr size_t kBacklight = 0x141;
constexpr size_t kPasswordLock = 0x142;       // length byte, then kPasswordLockChars characters
constexpr size_t kPasswordLockChars = 6;
constexpr size_t kReadPassword = 0x149;       // length byte, then 6 characters
constexpr size_t kOverwritePassword = 0x150;  // length byte, then 6 characters
constexpr size_t kPasswordBytes = 7;
constexpr size_t kHornTime = 0x158;
constexpr size_t kHornPattern = 0x159;
constexpr size_t kAccessorySlots = 0x15A;     // three slots: a function byte, then a flag byte
constexpr size_t kAccessorySlotCount = 3;
constexpr size_t kAccessorySlotSize = 2;
constexpr size_t kMessageText = 0x160;        // 12 characters, zero-filled
constexpr size_t kMessageTextChars = 12;
// Volume and tone levels.
constexpr size_t kMinVolume = 0x16C;          // the three kind bytes: their defaults follow mobile/portable
constexpr size_t kMaxVolume = 0x16D;
constexpr size_t kMinToneLevel = 0x16E;
constexpr size_t kMaxToneLevel = 0x16F;
constexpr size_t kToneLevelOffset = 0x170;    // sign and magnitude, -5..+5
constexpr size_t kToneLevels = 0x171;         // six bytes: key beep, confirmation, warning, call alert, emergency, scan
constexpr size_t kToneLevelCount = 6;
constexpr size_t kBatterySaver = 0x177;
constexpr size_t kLowBatteryWarning = 0x178;
constexpr size_t kPowerOnMode = 0x179;
constexpr size_t kPowerOffDelay = 0x17A;      // tens of seconds, at most 8 minutes
constexpr size_t kDataTxPower = 0x17B;
constexpr size_t kAutoKeyLockTime = 0x17C;    // word, seconds
constexpr size_t kVolumeControl = 0x17E;      // the third kind byte
// PTT ID.
constexpr size_t kPttIdType = 0x180;          // '0' DTMF, '1' Vantelix, '2' ANI
constexpr size_t kBotCode = 0x181;            // digit count, then 8 bytes of digits
constexpr size_t kEotCode = 0x18A;
constexpr size_t kCodeBytes = 9;
constexpr size_t kDisplayType = 0x193;        // power-on display: 0xFF off, '0' message, '1' date/time
// Check-box words: a clear bit is ticked.
constexpr size_t kGeneralFlags = 0x19C;       // bit 8: ignition sense
constexpr size_t kBeepFlags = 0x19E;
constexpr size_t kTiltTime = 0x1A0;           // word, ms
constexpr size_t kAutoDialMode = 0x1A2;
constexpr size_t kPhoneTimeout = 0x1A3;       // word, seconds
constexpr size_t kDtmfHangTime = 0x1A5;       // word, ms
constexpr size_t kPttDelayTime = 0x1A8;       // word, ms
constexpr size_t kDataDelayTime = 0x1AA;      // word, ms
constexpr size_t kOptionFlags = 0x1AC;        // word
constexpr size_t kPhoneFlags = 0x1AE;         // word
// Reports (data board): three words sharing one budget.
constexpr size_t kEmergencyReport = 0x1B1;    // word, seconds
constexpr size_t kSquelchPresets = 0x1B3;     // four bytes, 0..9, 0xFF unused
constexpr size_t kSquelchPresetCount = 4;
constexpr size_t kPositionReport = 0x1B7;     // word
constexpr size_t kAutoPositionReport = 0x1B9; // '0' ticked, '1' not
constexpr size_t kReportMode = 0x1BA;
constexpr size_t kStatusReport = 0x1BD;       // word
constexpr size_t kInputHoldTime = 0x1C5;      // word, seconds
constexpr size_t kDataFlags = 0x1CE;          // word
constexpr size_t kBatteryLevels = 0x1D0;      // six bytes, tenths of a volt, 0xFF unused
constexpr size_t kBatteryLevelCount = 6;

// Extension-area bytes of the optional features.
constexpr size_t kExtPublicAddress = 0x500;
constexpr size_t kExtSquelchLevel = 0x501;
constexpr size_t kExtManDownAlarm = 0x502;    // '0' ticked, 0xFF not
constexpr size_t kExtAlarmDelay = 0x503;
constexpr size_t kExtDisplayMode = 0x50C;
}  // namespace features

// The display texts and PassPort tones (image 0x860 onwards).
namespace display {
constexpr size_t kStunnedMessage = 0x860;     // three texts of 12 characters
constexpr size_t kKilledMessage = 0x86C;
constexpr size_t kSearchingMessage = 0x878;
constexpr size_t kTextChars = 12;
constexpr size_t kMessageTime = 0x884;        // seconds, 0..20
constexpr size_t kPassPortTones = 0x88F;      // bits 0..3, a set bit is ticked
}  // namespace display

// The key assignment (image 0x580 onwards) and its extension records.
namespace keys {
constexpr size_t kSelector = 0x582;           // portable selector function
constexpr size_t kAccessoryA = 0x583;
constexpr size_t kAccessoryB = 0x584;
constexpr size_t kOptionWord = 0x58E;         // bits 2, 3, 4: check boxes (ticked = 0)
constexpr size_t kTable = 0x5B0;              // 29 records of 8 bytes
constexpr size_t kExtDirectChannels = 0x520;  // 5 records: zone, channel
constexpr size_t kExtQuickCalls = 0x530;      // 6 records: kind, target word, spare
}  // namespace keys

// The radio description (image 0x810 onwards).
namespace optboard {
constexpr size_t kFixedValue = 0x81B;         // always '1' after a load
constexpr size_t kOptionSettings = 0x81E;     // word, the technician's option bits
constexpr size_t kOptionWord = 0x82E;         // bit 5 scrambler at power-on, bit 4 auto record
constexpr size_t kZoneChannelRecords = 0x830; // 16 records: zone, channel
constexpr size_t kSystemType = 0x851;         // three selection bytes, see SystemType()
constexpr size_t kKeyOptions = 0x853;         // the third selection byte: functions 3 and 46
constexpr size_t kAccessoryConnector = 0x855; // '0' not used, '1' speaker mic, '2' option board
}  // namespace optboard

}  // namespace vb420::layout
