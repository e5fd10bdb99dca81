// SPDX-License-Identifier: GPL-3.0-or-later
// Where everything lives in the memory image and in the extension area.
//
// Every area, table and record offset the program uses is named here once;
// other files use these names (the field tables add the offsets of single
// fields inside their own area or record). Record layouts give offsets
// relative to the start of the record or zone block.
//
// Two lists are not at fixed places: the data-signalling ID and status lists
// are found through the area directory. Their place and size come from the
// image and may be damaged, so `DirectoryList` checks them against the image
// before anything is read there.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "data/Bytes.h"
#include "data/FeatureLayout.h"
#include "data/SignallingLayout.h"

namespace vb420 {

// ---------------------------------------------------------------------------
// Image areas (offsets into the working memory image).
namespace img {
constexpr size_t kSize = 0xC000;
constexpr size_t kIdentBlock = 0x100;
constexpr size_t kVersion = 0x107;
constexpr size_t kProgramId = 0x110;
constexpr size_t kModelBytes = 0x120;
constexpr size_t kFeatureArea = 0x140;         // radio-wide settings and optional features
constexpr size_t kReadPassword = layout::features::kReadPassword;
constexpr size_t kOverwritePassword = layout::features::kOverwritePassword;
constexpr size_t kSignallingIdMode = layout::features::kPttIdType;  // '1': ID-list rows offered, '2': "on" offered
constexpr size_t kAlertTones = 0x460;
constexpr size_t kKeys = 0x580;
constexpr size_t kScan = 0x6A0;
constexpr size_t kDtmf = 0x6D0;
constexpr size_t kDataSignalling = 0x720;
constexpr size_t kEmergency = 0x7D0;
constexpr size_t kExtendedFunction = 0x810;
constexpr size_t kOptionBoard = 0x81C;
constexpr size_t kExtendedSettings = 0x830;
constexpr size_t kSystemTypeBytes = layout::optboard::kSystemType;  // three bytes, see SystemType()
constexpr size_t kDisplayTexts = 0x860;
constexpr size_t kTestFreqs = 0x8C0;           // 16 rows of 10 bytes
constexpr size_t kTestFreqRows = 16;
constexpr size_t kTestFreqRowSize = 10;
constexpr size_t kTuningFreqs = 0x960;         // 5 rows
constexpr size_t kTuningFreqRows = 5;
constexpr size_t kTuningFreqRowSize = 10;
constexpr size_t kFreqPairTx = 4;              // a row: receive value, transmit value at +4, step codes
constexpr size_t kEmbeddedMessage = 0x9A0;      // two lines of 32 characters
constexpr size_t kEmbeddedMessageLine2 = 0x9C0;
constexpr size_t kAreaDirectory = 0x9E0;
constexpr size_t kZoneTable = 0xA00;           // 128 words: block offset or 0xFFFF
constexpr size_t kZoneArea = 0xB00;            // the packed zone blocks
constexpr size_t kZoneAreaEnd = 0x5307;        // one past the last byte of the zone area
constexpr size_t kAlternateKeys = 0x5308;      // key table used in PassPort zones
constexpr size_t kTwoToneDecode = 0xBC00;
}  // namespace img

// ---------------------------------------------------------------------------
// The area directory at 0x9E0: two block-range words, then four entries of
// an offset word and a record-count word.
namespace dir {
constexpr size_t kFirstBlockWord = img::kAreaDirectory + 0;  // first 256-byte block with zone data
constexpr size_t kLastBlockWord = img::kAreaDirectory + 2;   // last one; both 0xFFFF without zones
constexpr size_t kEntrySize = 4;
// Offset word of directory entry 1..4; the count word follows it.
constexpr size_t OffsetWord(int entry) { return img::kAreaDirectory + kEntrySize * static_cast<size_t>(entry); }
constexpr size_t CountWord(int entry) { return OffsetWord(entry) + 2; }

// The key editor's words at the end of the directory: record count and
// offset of the alternate key table.
constexpr size_t kKeyTableCountWord = img::kAreaDirectory + 0x1C;
constexpr size_t kAlternateKeysWord = img::kAreaDirectory + 0x1E;

constexpr int kIdListEntry = 3;      // data-signalling ID list
constexpr int kStatusListEntry = 4;  // data-signalling status list
constexpr size_t kIdListRecordSize = 16;
constexpr size_t kStatusListRecordSize = 20;

// What a new image holds in the four entries.
struct EntryDefault {
  uint16_t offset;
  uint16_t count;
};
constexpr EntryDefault kEntryDefaults[4] = {{0x9700, 80}, {0x9F00, 80}, {0xA700, 100}, {0xB400, 90}};
}  // namespace dir

// ---------------------------------------------------------------------------
// Extension-area offsets.
namespace ext {
constexpr size_t kSize = 0x1200;
constexpr size_t kBlockOffset = 0x100;   // data files and the radio carry the area from here on
constexpr size_t kNamedRecords = 0x100;  // 32 records of 32 bytes
constexpr size_t kNamedRecordsEnd = 0x500;
constexpr size_t kPriority1 = 0x504;     // zone reference: zone byte, companion byte
constexpr size_t kPriority2 = 0x506;
constexpr size_t kMessageLine1 = 0x600;
constexpr size_t kMessageLine2 = 0x620;
constexpr size_t kMessagePasswordLength = 0x640;
constexpr size_t kMessagePassword = 0x641;
constexpr size_t kAfterMessagePassword = 0x650;  // the rest of that 64-byte piece

// Tables that follow the global channel numbering. Bit n of a bit table is
// bit (n mod 8) of byte n / 8.
constexpr size_t kChanBitsA = 0x670;   // 512 bits: channel field 14, group field 10
constexpr size_t kChanBitsB = 0x6B0;   // 512 bits: channel field 18, group field 16
constexpr size_t kChanBytes = 0x1000;  // 512 bytes: channel field 19, group field 17
// Per-zone tables.
constexpr size_t kEntryBits = 0x570;   // 128 bits: a PassPort zone's selective-call scrambler (clear = on)
constexpr size_t kEntryBytes = 0x580;  // 128 bytes: that scrambler's code 1..16, 0xFF none
constexpr size_t kZoneBits = 0x6F0;    // 128 bits: header field 12 (set while the zone is deleted)
constexpr size_t kZoneLists = 0x700;   // 16 bytes per zone
constexpr size_t kZoneListSize = 16;
constexpr size_t kZoneBytes = 0xF00;   // 1 byte per zone: header field 3
}  // namespace ext

// Line 0 or 1 of the embedded message: in the image, or the password-protected
// copy in the extension area.
constexpr size_t MessageLine(bool protectedCopy, int line) {
  return line == 0 ? (protectedCopy ? ext::kMessageLine1 : img::kEmbeddedMessage)
                   : (protectedCopy ? ext::kMessageLine2 : img::kEmbeddedMessageLine2);
}

// ---------------------------------------------------------------------------
// Single fields of the editor areas that whole-image operations (New, the
// post-load adjustments, a model change) touch directly. The editors' own
// field tables describe these fields in full.
namespace fld {
constexpr size_t kFeatureLimit = layout::features::kDisplayCharacters;
constexpr size_t kFeatureName = layout::features::kMessageText;
constexpr size_t kOptionSlots = layout::features::kAccessorySlots;
constexpr size_t kOptionSlotCount = layout::features::kAccessorySlotCount;
constexpr size_t kOptionSlotSize = layout::features::kAccessorySlotSize;
// Three bytes whose defaults follow the model kind.
constexpr size_t kKindByte1 = layout::features::kMinVolume;
constexpr size_t kKindByte2 = layout::features::kMaxVolume;
constexpr size_t kKindByte3 = layout::features::kVolumeControl;
constexpr size_t kFeatureSwitch = layout::features::kDisplayType;  // '1' is not offered on second-generation models
constexpr size_t kNamedRecords = 0x1E0;        // 16-byte records whose first 12 bytes are a name
constexpr size_t kNamedRecordsEnd = 0x460;
constexpr size_t kNamedRecordSize = 16;
constexpr size_t kScanMode = scanfld::kRevert;  // '6' and '7' are first-generation only
constexpr size_t kScanName = scanfld::kName;
constexpr size_t kScanFirst = scanfld::kRssi1;  // 'x' or a value; the next byte stays at least 5 above it
constexpr size_t kScanSecond = scanfld::kRssi2;
constexpr size_t kDataSignallingMode = vxf::kNotification;  // '1' is not offered on portables
constexpr size_t kEmergencyName = emf::kName;
constexpr size_t kEmergencySwitch = emf::kLoneWorker;  // '1' is turned into '0' on load
constexpr size_t kExtendedFixed = layout::optboard::kFixedValue;
constexpr size_t kTwoToneNames = 0xBD00;       // 20-byte records whose first 12 bytes are a name
constexpr size_t kTwoToneNamesEnd = 0xBF80;
constexpr size_t kTwoToneRecordSize = 20;
}  // namespace fld

// Single extension-area fields New writes.
namespace extfld {
constexpr size_t kSetting1 = layout::features::kExtSquelchLevel;
constexpr size_t kSetting2 = layout::features::kExtAlarmDelay;
constexpr size_t kKindPair1 = 0x508;   // word; a change of kind makes both words the larger
constexpr size_t kKindPair2 = 0x50A;   // word
constexpr size_t kSetting3 = 0x50D;    // word
constexpr size_t kNamedRecordSize = 32;
}  // namespace extfld

// ---------------------------------------------------------------------------
// Data signalling (Vantelix), emergency and alert tones: the records of their
// lists and tables. The single fields of the two settings areas are named in
// the editor's field tables and in the defaults.
namespace sig {
// ID-list entry (16 bytes, directory entry 3).
constexpr size_t kIdName = 0;        // 12 characters (8 on second-generation models), zero-filled
constexpr size_t kIdNameBytes = 12;
constexpr size_t kIdFleet = 12;      // fleet - 99; 0xFF: the entry is empty
constexpr size_t kIdId = 13;         // word: ID - 999
constexpr size_t kIdOption = 15;     // 0: inhibited, 0xFF: not
// Status-list entry (20 bytes, directory entry 4).
constexpr size_t kStatusText = 0;    // 16 characters, zero-filled
constexpr size_t kStatusTextBytes = 16;
constexpr size_t kStatusNumber = 16; // 10..99; 0xFF: the entry is empty
constexpr size_t kStatusOption = 17; // 0: inhibited, 0xFF: not
// Alert tone record (36 bytes each, 8 records at img::kAlertTones).
constexpr size_t kToneRecordSize = 36;
constexpr int kToneRecords = 8;
constexpr int kToneSteps = 16;
constexpr size_t kToneRepeat = 1;    // 1..255; 0: until stopped
constexpr size_t kTonePause = 2;     // seconds between repetitions
constexpr size_t kToneFirstStep = 3; // step s (0-based) at +3 + 2s: frequency (10 Hz units), duration (10 ms units)
constexpr size_t ToneRecord(int tone) { return img::kAlertTones + kToneRecordSize * static_cast<size_t>(tone); }
constexpr size_t ToneStep(int tone, int step) { return ToneRecord(tone) + kToneFirstStep + 2 * static_cast<size_t>(step); }
}  // namespace sig

// ---------------------------------------------------------------------------
// Record layouts, relative to the start of the block or record.
namespace rec {
// Common to every zone header.
constexpr size_t kZoneNumber = 0;
constexpr size_t kZoneType = 1;
constexpr size_t kFirstGlobal = 2;   // word
constexpr size_t kRecordCount = 4;   // 0xFF: none
constexpr size_t kNameBytes = 12;

// Conventional zone header (32 bytes).
namespace conv {
constexpr size_t kHeaderSize = 32;
constexpr size_t kName = 5;
constexpr size_t kField1 = 17;
constexpr size_t kField2 = 18;
constexpr size_t kField7 = 19;   // word
constexpr size_t kField8 = 21;   // word
constexpr size_t kField9 = 23;   // word
constexpr size_t kField10 = 25;  // word
constexpr size_t kOptions = 30;
}  // namespace conv

// Conventional channel record (48 bytes).
namespace ch {
constexpr size_t kSize = 48;
constexpr size_t kNumber = 0;
constexpr size_t kRxFreq = 1;
constexpr size_t kTxFreq = 5;
constexpr size_t kRxStep = 9;
constexpr size_t kTxStep = 10;
constexpr size_t kRxTone = 11;   // word
constexpr size_t kTxTone = 13;   // word
constexpr size_t kName = 15;
constexpr size_t kField10 = 27;
constexpr size_t kField11 = 28;
constexpr size_t kField12 = 29;
constexpr size_t kField12Entry = 30;
constexpr size_t kFlags = 46;    // word
}  // namespace ch

// LTR zone header (48 bytes).
namespace ltr {
constexpr size_t kHeaderSize = 48;
constexpr size_t kRepeaterCount = 5;
constexpr size_t kName = 6;
constexpr size_t kScanGroups = 18;       // six group numbers
constexpr size_t kPriorityGroup1 = 24;   // group number, optional signalling, switch byte
constexpr size_t kPriorityGroup2 = 27;   // likewise
constexpr size_t kTransmitRetries = 32;
constexpr size_t kHangTime = 33;
constexpr size_t kRevertZone = 34;
constexpr size_t kRevertGroup = 35;
constexpr size_t kTimeout = 36;          // word, seconds
constexpr size_t kPenaltyTimer = 38;     // word, seconds
constexpr size_t kOptions = 44;          // word
constexpr size_t kZoneRepeater = 46;
constexpr size_t kInvertedBit = 47;
}  // namespace ltr

// LTR group record (32 bytes).
namespace group {
constexpr size_t kSize = 32;
constexpr size_t kNumber = 0;
constexpr size_t kField3 = 1;
constexpr size_t kField2 = 2;
constexpr size_t kName = 3;
constexpr size_t kField6 = 15;
constexpr size_t kField7 = 16;
constexpr size_t kField7Entry = 17;  // word
constexpr size_t kOptions = 30;
}  // namespace group

// LTR repeater record (16 bytes).
namespace rep {
constexpr size_t kSize = 16;
constexpr size_t kNumber = 0;
constexpr size_t kFreq1 = 1;
constexpr size_t kFreq2 = 5;
constexpr size_t kStep1 = 9;
constexpr size_t kStep2 = 10;
constexpr size_t kFlags = 14;  // word
}  // namespace rep

// PassPort zone header (96 bytes) and group record (32 bytes).
namespace pp {
constexpr size_t kHeaderSize = 96;
constexpr size_t kGroupSize = 32;
constexpr size_t kGroupId = 1;       // word
constexpr size_t kGroupIdCopy = 3;   // word, always equal to the ID
constexpr size_t kGroupName = 5;
constexpr size_t kSwitches = 17;     // a clear bit is ticked
constexpr size_t kPermissions = 18;  // the group page's switches; a clear bit is ticked
// The header, after the common part and the name at +6 (as the LTR header's).
// Bytes are 0xFF when unset unless said otherwise; the flag bytes hold one
// switch a bit.
constexpr size_t kTxDataDelay = 18;         // ms
constexpr size_t kDataTalkgroup = 20;       // the data talkgroup's group number, 0xFF none
constexpr size_t kDispatchTimeout = 21;     // word, seconds
constexpr size_t kInterconnectTimeout = 23; // word
constexpr size_t kSelCallTimeout = 25;      // word
constexpr size_t kAsid = 27;                // 1..127, 0xFF taken as 1
constexpr size_t kMin = 28;                 // word, the radio's mobile ID
constexpr size_t kPrimaryGroupId = 30;      // word: the ID of the zone's first group
constexpr size_t kClearToTalkDelay = 32;    // word, ms
// Site search timers and levels, one byte each.
constexpr size_t kInitialDwell = 34;
constexpr size_t kFrequencyDwell = 35;
constexpr size_t kCrcLoss = 36;
constexpr size_t kRssiLoss = 37;
constexpr size_t kRegisterRssi = 38;
constexpr size_t kHoldRssi = 39;
constexpr size_t kLookBackRssi = 40;
constexpr size_t kLookBackInterval = 41;
constexpr size_t kLookAround = 42;
constexpr size_t kLookAroundInterval = 43;
constexpr size_t kSoftReregister = 44;
constexpr size_t kNearSites = 45;
constexpr size_t kFarSites = 46;
constexpr size_t kSeedDwell = 47;
constexpr size_t kAlertOptOut = 48;         // minutes
constexpr size_t kMissedCallTone = 49;      // 0..8
constexpr size_t kNoServiceInterval = 50;
constexpr size_t kRedirectFailed = 51;
constexpr size_t kScanResume = 52;          // seconds
constexpr size_t kBlacklist = 53;           // 16 bytes: bit n set blacklists ASID n
// DFA words: bits 5 to 15 a channel (all ones: none).
constexpr size_t kDfaBandWord = 69;         // bit 0 narrow bandwidth, bits 1-4 the band, the receive channel
constexpr size_t kTxDfaWord = 71;           // bit 0 use seed frequencies, bits 1-2 the NSID, the transmit channel
constexpr size_t kMinLow = 73;              // word: selective-call MIN limits
constexpr size_t kMinHigh = 75;             // word
constexpr size_t kSearchFlags = 77;         // bits 0-1 the digital colour code, 2-7 switches
constexpr size_t kSiteFlags = 78;
constexpr size_t kCallFlags = 79;
constexpr size_t kGroupFlags = 80;
constexpr size_t kDisplayFlags = 81;
constexpr size_t kScanFlags = 82;
constexpr size_t kEmergencyFlags = 83;
constexpr size_t kSeedFrequencies = 84;     // two packed-BCD frequencies of 4 bytes
constexpr size_t kSeedFrequencySize = 4;
constexpr size_t kBackupRxDfaWord = 92;
constexpr size_t kBackupTxDfaWord = 94;
constexpr int kNoChannel = 2047;            // a DFA channel's bits all ones
constexpr int kHighestChannel = 1791;
}  // namespace pp
}  // namespace rec

// ---------------------------------------------------------------------------
// The system type: 1 if the first of the three bytes is 0, else 2 if the
// second is, else 4 if the third is, else 0.
inline int SystemType(const ByteArea& image) {
  if (image.u8(img::kSystemTypeBytes + 0) == 0) return 1;
  if (image.u8(img::kSystemTypeBytes + 1) == 0) return 2;
  if (image.u8(img::kSystemTypeBytes + 2) == 0) return 4;
  return 0;
}

// One list placed by the area directory. The offset and count words come
// from the image: a list whose offset lies outside the image has no rows,
// and the count is cut to the rows that lie wholly inside it.
struct DirectoryList {
  size_t offset = 0;
  size_t count = 0;        // usable rows
  size_t storedCount = 0;  // what the count word says
  size_t recordSize = 0;

  size_t Row(size_t i) const { return offset + recordSize * i; }
  bool Clipped() const { return count != storedCount; }
};

inline DirectoryList ReadDirectoryList(const ByteArea& image, int entry, size_t recordSize) {
  DirectoryList l;
  l.offset = image.u16le(dir::OffsetWord(entry));
  l.storedCount = image.u16le(dir::CountWord(entry));
  l.recordSize = recordSize;
  if (recordSize == 0 || l.offset >= image.size()) return l;
  l.count = std::min(l.storedCount, (image.size() - l.offset) / recordSize);
  return l;
}

inline DirectoryList IdList(const ByteArea& image) {
  return ReadDirectoryList(image, dir::kIdListEntry, dir::kIdListRecordSize);
}
inline DirectoryList StatusList(const ByteArea& image) {
  return ReadDirectoryList(image, dir::kStatusListEntry, dir::kStatusListRecordSize);
}

}  // namespace vb420
