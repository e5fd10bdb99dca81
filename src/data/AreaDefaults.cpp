// New-image defaults of the editor areas, and the key-assignment and
// optional-feature questions that loading and model changes ask.
//
// How a default is chosen. Where an area's layout names a value for a new
// programming, that value is written. Every other field gets what its own
// editor would store for an empty entry, so that a new programming shows a
// valid value in every control and a save followed by a load gives the same
// bytes back:
//   - a field with a "none" value (0xFF, 0xFFFF, an empty digit string, an
//     empty fleet or ID) holds none;
//   - a number box without a none value holds the minimum of its range (what
//     the editors store for an empty box);
//   - a list without a none row holds its first row;
//   - a check box is unchecked: bit 1 where a checked box stores 0, bit 0
//     where a checked box stores 1, '1' where checked is '0' and unchecked '1';
//   - text fields (names, message lines) are empty, that is zero-filled.
// The image is all 0xFF when these run (New and the identification check
// clear it first), so a field whose default is 0xFF is mostly left as it is;
// bytes no editor owns are never touched. Whole records, tables and lists
// that have a layout of their own (alert tones, key tables, the zone table
// and area, the data-signalling lists, the 2-tone records, the per-channel
// tables of the extension area) are written in full.
//
// The per-area tables below list each field that gets something other than
// 0xFF, and the 0xFF fields that are written anyway.

#include "data/AreaDefaults.h"

#include <array>
#include <cstdio>
#include <string>

#include "data/ImageLayout.h"
#include "data/SignallingLayout.h"
#include "data/RadioData.h"
#include "data/SignallingLayout.h"

namespace vb420 {

namespace {

namespace F = layout::features;

// --- shared helpers ----------------------------------------------------------

// Bit n of the 16-bit little-endian word at `off`.
void SetWordBit(ByteArea& a, size_t off, int bitNo, bool on) {
  a.setBit(off + static_cast<size_t>(bitNo / 8), bitNo % 8, on);
}

// --- defaults tables -----------------------------------------------------------

// One default of an area: a byte, a little-endian word, or `count` bytes of
// one value. The tables below list them in the order they are written.
struct Put {
  enum Kind { Byte, Word, Fill };
  size_t at;
  Kind kind;
  uint16_t value;
  size_t count = 1;
};

template <size_t N>
void Apply(ByteArea& a, const Put (&table)[N]) {
  for (const Put& p : table) {
    if (p.kind == Put::Byte) a.setU8(p.at, static_cast<uint8_t>(p.value));
    else if (p.kind == Put::Word) a.setU16le(p.at, p.value);
    else a.fill(p.at, p.count, static_cast<uint8_t>(p.value));
  }
}

// --- key assignment ------------------------------------------------------------

constexpr size_t kKeyTable = layout::keys::kTable;           // 29 records of 8 bytes
constexpr size_t kAlternateKeyTable = img::kAlternateKeys;  // same layout, keys for PassPort zones
constexpr int kKeyRecords = 29;
constexpr size_t kKeyRecordSize = 8;
constexpr uint8_t kNoFunction = 0xFF;

// The first-column function a key shows: byte +0 unless the hold companion in
// byte +2 says the function lives elsewhere (+2 itself for 31, 37 and 92, +3
// for every companion other than 15, 17, 69, 71, 75 and 77).
uint8_t DisplayedFirstFunction(const ByteArea& image, size_t rec) {
  const uint8_t hold = image.u8(rec + 2);
  if (hold == 0xFF) return image.u8(rec + 0);
  switch (hold) {
    case 15: case 17: case 69: case 71: case 75: case 77:
      return image.u8(rec + 0);
    case 31: case 37: case 92:
      return hold;
    default:
      return image.u8(rec + 3);
  }
}

// What choosing "none" in a key's first column writes: no function in +0 and
// +3, no hold companion and no hold time.
void ClearFirstFunction(ByteArea& image, size_t rec) {
  image.setU8(rec + 0, kNoFunction);
  image.setU8(rec + 3, kNoFunction);
  image.setU8(rec + 2, 0xFF);
  image.setU16le(rec + 4, 0xFFFF);
}

// Both key tables hold keys the radio acts on, so every key question and
// every removal looks at both: a function that is no longer allowed must not
// survive in the table that is merely not shown at the moment.
constexpr std::array<size_t, 2> kKeyTables = {kKeyTable, kAlternateKeyTable};

// --- alert tones ---------------------------------------------------------------
//
// The built-in alert-tone table. Record layout (36 bytes): +0 unused (0xFF),
// +1 repeat count (0 = until stopped), +2 pause between repetitions in
// seconds, then 16 steps of (frequency in 10 Hz units, 400..2500 Hz or 0 for
// silence; duration in 10 ms units), +35 unused (0xFF). Unused steps are
// frequency 0 and duration 0, which the player skips.
//
//   tone 1  single beep       1000 Hz 100 ms, once
//   tone 2  double beep       1000 Hz 80 ms, 60 ms silence, 1000 Hz 80 ms, once
//   tone 3  rising triple     800, 1000, 1200 Hz, 80 ms each, once
//   tone 4  falling pair      1200 Hz 150 ms, 600 Hz 300 ms, once (refusal, error)
//   tone 5  call warble       800/1200 Hz alternating, 50 ms, 8 steps; 3 times, 1 s apart
//   tone 6  long tone         1500 Hz 500 ms, once
//   tone 7  ring              1000/1250 Hz alternating, 40 ms, 16 steps; twice, 2 s apart
//   tone 8  sweep             600 Hz up to 2100 Hz in 100 Hz steps of 50 ms; 5 times, no pause
//
// No tone repeats until stopped: a new programming should not hold an alert
// that only the user can end.

struct ToneStep {
  uint8_t freq;      // 10 Hz units
  uint8_t duration;  // 10 ms units
};

struct ToneRecipe {
  uint8_t repeat;
  uint8_t pause;
  std::array<ToneStep, 16> steps;
};

constexpr ToneRecipe kToneRecipes[kAlertToneRecords] = {
    {1, 0, {{{100, 10}}}},
    {1, 0, {{{100, 8}, {0, 6}, {100, 8}}}},
    {1, 0, {{{80, 8}, {100, 8}, {120, 8}}}},
    {1, 0, {{{120, 15}, {60, 30}}}},
    {3, 1, {{{80, 5}, {120, 5}, {80, 5}, {120, 5}, {80, 5}, {120, 5}, {80, 5}, {120, 5}}}},
    {1, 0, {{{150, 50}}}},
    {2, 2, {{{100, 4}, {125, 4}, {100, 4}, {125, 4}, {100, 4}, {125, 4}, {100, 4}, {125, 4},
             {100, 4}, {125, 4}, {100, 4}, {125, 4}, {100, 4}, {125, 4}, {100, 4}, {125, 4}}}},
    {5, 0, {{{60, 5}, {70, 5}, {80, 5}, {90, 5}, {100, 5}, {110, 5}, {120, 5}, {130, 5},
             {140, 5}, {150, 5}, {160, 5}, {170, 5}, {180, 5}, {190, 5}, {200, 5}, {210, 5}}}},
};

using AlertToneTable = std::array<uint8_t, kAlertToneRecords * kAlertToneRecordSize>;

AlertToneTable BuildAlertTones() {
  AlertToneTable t{};
  for (int r = 0; r < kAlertToneRecords; ++r) {
    uint8_t* rec = t.data() + r * kAlertToneRecordSize;
    rec[0] = 0xFF;
    rec[sig::kToneRepeat] = kToneRecipes[r].repeat;
    rec[sig::kTonePause] = kToneRecipes[r].pause;
    for (int s = 0; s < sig::kToneSteps; ++s) {
      rec[sig::kToneFirstStep + 2 * s] = kToneRecipes[r].steps[s].freq;
      rec[sig::kToneFirstStep + 2 * s + 1] = kToneRecipes[r].steps[s].duration;
    }
    rec[sig::kToneRecordSize - 1] = 0xFF;
  }
  return t;
}

const AlertToneTable kAlertTones = BuildAlertTones();

// --- areas ---------------------------------------------------------------------

constexpr Put kFeatureDefaults[] = {
    {F::kPasswordLock, Put::Byte, 0xFF},
    {F::kPasswordLock + 1, Put::Fill, 0x00, F::kPasswordLockChars},
    {img::kReadPassword, Put::Fill, 0xFF, 7},
    {img::kOverwritePassword, Put::Fill, 0xFF, 7},
    {F::kMessageText, Put::Fill, 0x00, 12},
    {F::kMinToneLevel, Put::Byte, 1},
    {F::kMaxToneLevel, Put::Byte, 31},
    {F::kToneLevelOffset, Put::Byte, 0},
    {F::kPowerOnMode, Put::Byte, '0'},
    {F::kPowerOffDelay, Put::Byte, 0},
    {F::kPttIdType, Put::Byte, '0'},
    {F::kBotCode, Put::Fill, 0xFF, 9},
    {F::kEotCode, Put::Fill, 0xFF, 9},
    {F::kTiltTime, Put::Word, 300},
    {F::kPhoneTimeout, Put::Word, 0},
    {F::kDtmfHangTime, Put::Word, 500},
    {F::kPttDelayTime, Put::Word, 0},
    {F::kDataDelayTime, Put::Word, 0},
    {F::kAutoPositionReport, Put::Byte, '1'},
    {F::kInputHoldTime, Put::Word, 1},
};

// Radio-wide settings and optional features, image 0x140 onwards.
//   0x142        0xFF   6-character text: empty (length none) ...
//   0x143..0x148 0x00   ... and zero-filled characters
//   0x149..0x156 0xFF   read and overwrite passwords: none
//   0x15A..0x15F        accessory slots, by kind (WriteKindFeatureDefaults)
//   0x160..0x16B 0x00   12-character text: empty
//   0x16C, 0x16D, 0x17E by kind (WriteKindFeatureDefaults)
//   0x16E, 0x16F 1, 31  lower and upper bound of one range: the whole range
//   0x170        0      signed -5..+5: zero
//   0x179        '0'    first row
//   0x17A        0      0 minutes 0 seconds
//   0x180        '0'    first row (system type 2 is not chosen)
//   0x181, 0x18A 0xFF   digit strings: empty
//   word 0x1A0   300    first of the listed values
//   word 0x1A3   0      minimum
//   word 0x1A5   500    minimum (0.5)
//   word 0x1A8   0      minimum
//   word 0x1AA   0      minimum
//   0x1B9        '1'    check box unchecked
//   word 0x1C5   1      minimum
// Everything else of the area holds none, or check boxes that store 1 for
// unchecked, and so stays 0xFF.
void WriteFeatureDefaults(RadioData& data) {
  ByteArea image = data.Image();
  Apply(image, kFeatureDefaults);
  WriteKindFeatureDefaults(data);
}

// Display area beside the three texts (0x860..0x883, written by the new-image
// initialisation): 0x884 a number 0..20 gets its minimum 0; the four check
// boxes of 0x88F store 1 when checked and are cleared (bits 4..7 kept).
void WriteDisplayDefaults(ByteArea& image) {
  image.setU8(layout::display::kMessageTime, 0);
  image.setU8(layout::display::kPassPortTones, static_cast<uint8_t>(image.u8(layout::display::kPassPortTones) & 0xF0));
}

// Key assignment: both key tables and the page-0 settings by kind
// (WriteKeyDefaults); the key-table directory words that the key editor keeps
// (0x9FC = 29 records, 0x9FE = offset of the alternate table), so that merely
// opening the editor on a new programming does not change it; the function
// parameters of the extension area: the five zone/channel pairs at ext 0x520
// none, and the six target records at ext 0x530 kind '0' (the first row) with
// no target number.
void WriteKeyAreaDefaults(RadioData& data) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  WriteKeyDefaults(data);
  image.setU16le(dir::kKeyTableCountWord, kKeyRecords);
  image.setU16le(dir::kAlternateKeysWord, static_cast<uint16_t>(kAlternateKeyTable));
  ext.fill(layout::keys::kExtDirectChannels, 10, 0xFF);
  for (int i = 0; i < 6; ++i) {
    const size_t rec = layout::keys::kExtQuickCalls + 4 * static_cast<size_t>(i);
    ext.setU8(rec, '0');
    ext.setU16le(rec + 1, 0xFFFF);
  }
}

constexpr Put kScanDefaults[] = {
    {scanfld::kRevert, Put::Byte, '0'},
    {scanfld::kDropout, Put::Word, 0},
    {scanfld::kDwell, Put::Word, 0},
    {scanfld::kInterval1, Put::Word, 500},
    {scanfld::kInterval2, Put::Word, 500},
    {scanfld::kMode, Put::Byte, '0'},
    {scanfld::kVotingInterval, Put::Word, 10},
    {scanfld::kVotingDwell, Put::Word, 0},
    {scanfld::kVotingHold, Put::Word, 0},
    {scanfld::kRssi1, Put::Byte, 80},
    {scanfld::kRssi2, Put::Byte, 85},
};

// Scan, image 0x6A0 onwards (the name at 0x6AC is written by the new-image
// initialisation).
//   0x6A0, 0x6A1        0xFF  scan types: none
//   ext 0x504..0x507    0xFF  priority channels: none
//   0x6A2               '0'   first row
//   words 0x6A3, 0x6A5  0     minimum
//   words 0x6A7, 0x6A9  500   minimum (0.50 s)
//   0x6AB               '0'   first row
//   word 0x6C0          10    minimum
//   words 0x6C2, 0x6C4  0     minimum
//   0x6C6, 0x6C7        80, 85  minimum, and the second kept 5 above the
//                       first as loading a file demands
// The check-box words 0x6BE and 0x6CE stay 0xFF (unchecked).
void WriteScanDefaults(RadioData& data) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  image.setU8(scanfld::kType1, 0xFF);
  image.setU8(scanfld::kType2, 0xFF);
  ext.fill(ext::kPriority1, 4, 0xFF);
  Apply(image, kScanDefaults);
}

constexpr Put kDtmfDefaults[] = {
    {dtmffld::kSpeed, Put::Byte, '0'},
    {dtmffld::kFirstDelay, Put::Word, 0},
    {dtmffld::kFirstTime, Put::Word, 0},
    {dtmffld::kStarTime, Put::Word, 0},
    {dtmffld::kHoldTime, Put::Word, 0xFFFF},
    {dtmffld::kDecodeDigits, Put::Byte, 0xFF},
    {dtmffld::kStunRecords, Put::Fill, 0xFF, 2 * dtmffld::kStunRecordSize},
    {dtmffld::kOwnCode, Put::Fill, 0xFF, 6},
    {dtmffld::kOwnAction, Put::Byte, '0'},
    {dtmffld::kResetTimer, Put::Word, 0xFFFF},
};

// DTMF, image 0x6D0 onwards, and the DTMF memory at ext 0x100.
//   0x6D0               '0'   first value (6)
//   words 0x6D1, 0x6D3, 0x6D5  0  minimum / first value
//   word 0x6D7, 0x6D9   none
//   0x700..0x70F        two code records: no code, choice 0xFF, number none
//   0x710..0x715        own code: none
//   0x716               '0'   first row
//   word 0x718          none
// ext 0x100..0x4FF: the 32 memory records, 0xFF (no name, no code).
void WriteDtmfDefaults(RadioData& data) {
  ByteArea image = data.Image();
  Apply(image, kDtmfDefaults);
  data.Ext().fill(ext::kNamedRecords, ext::kNamedRecordsEnd - ext::kNamedRecords, 0xFF);
}

constexpr Put kDataSignallingDefaults[] = {
    {vxf::kOwnFleet, Put::Byte, 0xFF},
    {vxf::kOwnId, Put::Word, 0xFFFF},
    {vxf::kGroupIdLow, Put::Word, 0xFFFF},
    {vxf::kGroupIdHigh, Put::Word, 0xFFFF},
    {vxf::kCallMode, Put::Byte, '0'},
    {vxf::kAutoReset, Put::Word, 0xFFFF},
    {vxf::kNotification, Put::Byte, 0xFF},
    {vxf::kIndividualRetries, Put::Byte, 1},
    {vxf::kGroupRetries, Put::Byte, 1},
    {vxf::kEmergencyRetries, Put::Byte, 1},
    {vxf::kMessageRetries, Put::Byte, 1},
    {vxf::kAutoPosition, Put::Byte, '1'},
    {vxf::kBaudRate, Put::Byte, '0'},
    {vxf::kStatusRetries, Put::Byte, 1},
    {vxf::kRetryCount, Put::Byte, 0},
    {vxf::kAccessSlots, Put::Byte, 0},
    {vxf::kAckWait, Put::Word, 500},
    {vxf::kRetryInterval, Put::Word, 500},
    {vxf::kTxDelay, Put::Word, 100},
    {vxf::kBusyWait, Put::Word, 0},
    {vxf::kCarrierHold, Put::Word, 0},
    {vxf::kGpsFleet, Put::Byte, 0xFF},
    {vxf::kGpsId, Put::Word, 0xFFFF},
    {vxf::kReportMode, Put::Byte, '0'},
    {vxf::kFixInterval, Put::Byte, 1},
    {vxf::kSpeedLow, Put::Byte, 10},
    {vxf::kSpeedHigh, Put::Byte, 10},
    {vxf::kReportTiming, Put::Byte, '0'},
    {vxf::kDispatcherFleet, Put::Byte, 0xFF},
    {vxf::kDispatcherId, Put::Word, 0xFFFF},
};

// Data signalling, image 0x720 onwards, and the two lists that the area
// directory places (ID list 16-byte entries, status list 20-byte entries,
// both empty: every byte 0xFF).
//   fleets 0x720, 0x760, 0x770 and IDs 0x721, 0x723, 0x725, 0x761, 0x771: none
//   0x727, 0x744, 0x763, 0x767  '0'  first row
//   0x72A               0xFF  none
//   0x72F               '1'   check box unchecked
//   0x72B..0x72E, 0x745 1     minimum
//   0x750, 0x751        0     minimum
//   words 0x752, 0x754  500   minimum (0.5 s)
//   word 0x756          100   minimum
//   words 0x758, 0x75A  0     minimum
//   0x764               1     minimum
//   0x765, 0x766        10    minimum
//   word 0x728          none
// The flag words 0x74C, 0x74E, 0x76E stay 0xFFFF (boxes unchecked).
void WriteDataSignallingDefaults(RadioData& data) {
  ByteArea image = data.Image();
  Apply(image, kDataSignallingDefaults);

  // The lists go where the directory puts them. The words come out of the
  // image, so a list that would not fit is left alone rather than written
  // partly or outside the image.
  for (const DirectoryList& l : {IdList(image), StatusList(image)})
    if (!l.Clipped() && l.count > 0) image.fill(l.offset, l.count * l.recordSize, 0xFF);
}

constexpr Put kEmergencyDefaults[] = {
    {emf::kZone, Put::Fill, 0xFF, 3},
    {emf::kActiveTime, Put::Word, 0},
    {emf::kIntervalTime, Put::Word, 1},
    {emf::kMicActive, Put::Word, 0},
    {emf::kMicInterval, Put::Word, 1},
    {emf::kKeyDelay, Put::Word, 0},
    {emf::kLoneTimer, Put::Fill, 0xFF, 3},
    {emf::kName, Put::Fill, 0x00, 12},
    {emf::kLoneWorker, Put::Byte, 0xFF},
    {emf::kSignalling, Put::Byte, 0xFF},
    {emf::kDtmfCount, Put::Fill, 0xFF, 9},
    {emf::kFleet, Put::Byte, 0xFF},
    {emf::kId, Put::Word, 0xFFFF},
};

// Emergency, image 0x7D0 onwards.
//   0x7D0, 0x7D1, 0x7D2 none (zone, channel, count)
//   words 0x7D3, 0x7D7  0     minimum
//   words 0x7D5, 0x7D9  1     minimum
//   word 0x7DB          0     hold time none (shown as the off text); also the
//                             hold time a key gets with function 31
//   0x7DD, 0x7DE, 0x7DF none
//   0x7E0..0x7EB        0x00  name: empty
//   0x7ED               0xFF  check box unchecked
//   0x7F0               0xFF  signalling: none
//   0x7F1..0x7F9        0xFF  DTMF code: none
//   0x7FA, word 0x7FB   none  fleet and ID
// 0x80E stays 0xFF: its two check boxes unchecked, its lists on a valid row.
void WriteEmergencyDefaults(ByteArea& image) {
  Apply(image, kEmergencyDefaults);
}

constexpr Put kOptionBoardDefaults[] = {
    {layout::optboard::kFixedValue, Put::Byte, '1'},
    {img::kOptionBoard, Put::Byte, '1'},
    {layout::optboard::kSystemType, Put::Fill, 0xFF, 3},
    {layout::optboard::kAccessoryConnector, Put::Byte, '0'},
};

// System type and option board, image 0x810 onwards.
//   0x81B               '1'   the only value a loaded programming may hold
//   0x81C               '1'   option board: first row
//   0x851..0x853        0xFF  system type none
//   0x855               '0'   first row
// Word 0x82E (two check boxes) stays 0xFF; the zone/channel records at 0x830
// stay 0xFF (none).
void WriteOptionBoardDefaults(ByteArea& image) {
  Apply(image, kOptionBoardDefaults);
}

// 2-tone, image 0xBC00 onwards.
//   word 0xBC00 0, 0xBC02 500, 0xBC04 1000, 0xBC06 3000, 0xBC08 0  minimum
//   decode set-ups 0xBC10 + 48p: the four frequencies (+0, +6, +12, +18)
//     at the minimum 288.5 Hz (2885); grid rows, timer and flags none
//   code list 0xBD00 + 20i: tones none, choice 0xFF, and the name
//     "  2-TONE%3d" (first generation, 12 characters) or "2TONE%2d"
//     (second generation, 8 characters) of the 1-based record number,
//     zero-filled to 12 bytes: "  2-TONE  1" / "2TONE 1" for the first record.
//     The number is printed with a width because every record is named, as
//     channels and groups are.
void WriteTwoToneDefaults(RadioData& data) {
  ByteArea image = data.Image();
  image.setU16le(twotonefld::kFirstDelay, 0);
  image.setU16le(twotonefld::kToneA, 500);
  image.setU16le(twotonefld::kToneB, 1000);
  image.setU16le(twotonefld::kLongTone, 3000);
  image.setU16le(twotonefld::kInterval, 0);
  for (int p = 0; p < twotonefld::kDecodePages; ++p) {
    const size_t rec = twotonefld::kDecode + twotonefld::kDecodeSize * static_cast<size_t>(p);
    image.fill(rec, twotonefld::kDecodeSize, 0xFF);
    for (size_t f : {0, 6, 12, 18}) image.setU16le(rec + f, 2885);
  }
  const bool secondGen = data.model.IsSecondGen();
  for (int i = 0; i < twotonefld::kCodeCount; ++i) {
    const size_t rec = twotonefld::kCodes + twotonefld::kCodeSize * static_cast<size_t>(i);
    image.fill(rec, twotonefld::kCodeSize, 0xFF);
    char name[16];
    std::snprintf(name, sizeof name, secondGen ? "2TONE%2d" : "  2-TONE%3d", i + 1);
    image.writeText(rec, name, 12, 0x00);
  }
}

// Zones: no zone exists. The zone table holds 0xFFFF for every zone and the
// whole zone area 0xFF (the block-range words are written with the area
// directory). The per-channel and per-zone tables of the extension area are
// in the state that deleting every zone leaves: bit tables all ones (ext
// 0x570, 0x670, 0x6B0, 0x6F0), byte tables 0xFF (ext 0x580, 0x1000, 0xF00),
// scan lists 0xFF (ext 0x700..0xEFF, no zone scanned with another).
void WriteZoneDefaults(RadioData& data) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  image.fill(img::kZoneTable, img::kZoneArea - img::kZoneTable, 0xFF);
  image.fill(img::kZoneArea, img::kZoneAreaEnd - img::kZoneArea, 0xFF);
  ext.fill(ext::kEntryBits, 16, 0xFF);
  ext.fill(ext::kEntryBytes, 128, 0xFF);
  ext.fill(ext::kChanBitsA, 64, 0xFF);
  ext.fill(ext::kChanBitsB, 64, 0xFF);
  ext.fill(ext::kZoneBits, 16, 0xFF);
  ext.fill(ext::kZoneLists, 128 * ext::kZoneListSize, 0xFF);
  ext.fill(ext::kZoneBytes, 128, 0xFF);
  ext.fill(ext::kChanBytes, 512, 0xFF);
}

// Embedded messages: the two image lines at 0x9A0 and 0x9C0 empty (zero
// bytes), as the password-protected lines of the extension area; the message
// password (ext 0x640, length and six characters) none. A cleared line would
// otherwise show 0xFF characters in the open-file preview.
void WriteMessageDefaults(RadioData& data) {
  data.Image().fill(img::kEmbeddedMessage, 64, 0x00);
  data.Ext().fill(ext::kMessagePasswordLength, 7, 0xFF);
}

// Extension settings of the optional features that New leaves empty
// (ext 0x500 none, 0x502 unchecked, 0x50C none); ext 0x501, 0x503, 0x508,
// 0x50A and 0x50D are written by the new-image initialisation.
void WriteExtensionFeatureDefaults(ByteArea& ext) {
  ext.setU8(F::kExtPublicAddress, 0xFF);
  ext.setU8(F::kExtManDownAlarm, 0xFF);
  ext.setU8(F::kExtDisplayMode, 0xFF);
}

}  // namespace

const uint8_t* DefaultAlertTones() { return kAlertTones.data(); }

void WriteKindFeatureDefaults(RadioData& data) {
  ByteArea image = data.Image();
  for (size_t i = 0; i < fld::kOptionSlotCount; ++i) {
    const size_t slot = fld::kOptionSlots + fld::kOptionSlotSize * i;
    image.setU8(slot, 0xFF);
    // Companion byte: bits 0, 1, 5, 6 set, bits 2, 3, 4 clear, bit 7 kept.
    const uint8_t flags = image.u8(slot + 1);
    image.setU8(slot + 1, static_cast<uint8_t>((flags & 0x80) | 0x63));
  }
  const bool portable = data.model.IsPortable();
  image.setU8(fld::kKindByte1, portable ? 0 : 8);
  image.setU8(fld::kKindByte2, 0x1F);
  image.setU8(fld::kKindByte3, portable ? '1' : '0');
}

constexpr Put kKeyDefaults[] = {
    {layout::keys::kSelector, Put::Byte, 0xFF},
    {layout::keys::kAccessoryA, Put::Byte, 0xFF},
    {layout::keys::kAccessoryB, Put::Byte, 0xFF},
};

// Key-assignment defaults. Every key of both tables starts without a
// function: the first and second column none, no hold companion, no hold
// time (bytes +6 and +7 belong to the radio and are kept). The assignments a
// radio should carry are the technician's choice, and a function put on a
// key by default would act on the air without anyone having chosen it. What
// differs between mobile and portable is which key rows exist; clearing all
// 29 records of both tables also clears keys that the previous kind had and
// the new one lacks. The page-0 settings start at none: Accessory A (0x583,
// whose choices differ by kind), Accessory B (0x584), the portable page
// setting (0x582), and the three check boxes of word 0x58E (bits 2, 3, 4)
// unchecked; the other bits of that word are kept.
void WriteKeyDefaults(RadioData& data) {
  ByteArea image = data.Image();
  for (size_t table : kKeyTables) {
    for (int k = 0; k < kKeyRecords; ++k) {
      const size_t rec = table + kKeyRecordSize * static_cast<size_t>(k);
      ClearFirstFunction(image, rec);
      image.setU8(rec + 1, kNoFunction);
    }
  }
  Apply(image, kKeyDefaults);
  for (int b : {2, 3, 4}) SetWordBit(image, layout::keys::kOptionWord, b, true);
}

bool AnyKeyHasFunction(RadioData& data, int function, bool eitherFunction) {
  if (function < 0 || function >= kNoFunction) return false;  // "none" is no function
  const ByteArea image = data.Image();
  for (size_t table : kKeyTables) {
    for (int k = 0; k < kKeyRecords; ++k) {
      const size_t rec = table + kKeyRecordSize * static_cast<size_t>(k);
      if (DisplayedFirstFunction(image, rec) == function) return true;
      if (eitherFunction && image.u8(rec + 1) == function) return true;
    }
  }
  return false;
}

void RemoveKeyFunction(RadioData& data, int function, bool eitherFunction) {
  if (function < 0 || function >= kNoFunction) return;
  ByteArea image = data.Image();
  for (size_t table : kKeyTables) {
    for (int k = 0; k < kKeyRecords; ++k) {
      const size_t rec = table + kKeyRecordSize * static_cast<size_t>(k);
      if (DisplayedFirstFunction(image, rec) == function) ClearFirstFunction(image, rec);
      if (eitherFunction && image.u8(rec + 1) == function) image.setU8(rec + 1, kNoFunction);
    }
  }
}

bool AnyUsedOptionSlotHolds(RadioData& data, uint8_t value) {
  const ByteArea image = data.Image();
  // 0x15A always counts; 0x15C unless the system type is 1 or 4; 0x15E only
  // on mobiles.
  if (image.u8(F::kAccessorySlots) == value) return true;
  const int systemType = SystemType(image);
  if (systemType != 1 && systemType != 4 && image.u8(F::kAccessorySlots + 2) == value) return true;
  if (!data.model.IsPortable() && image.u8(F::kAccessorySlots + 4) == value) return true;
  return false;
}

void WriteEditorAreaDefaults(RadioData& data) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  WriteFeatureDefaults(data);
  WriteExtensionFeatureDefaults(ext);
  image.write(img::kAlertTones, kAlertTones.data(), kAlertTones.size());
  WriteKeyAreaDefaults(data);
  WriteScanDefaults(data);
  WriteDtmfDefaults(data);
  WriteDataSignallingDefaults(data);
  WriteEmergencyDefaults(image);
  WriteOptionBoardDefaults(image);
  WriteDisplayDefaults(image);
  WriteMessageDefaults(data);
  WriteZoneDefaults(data);
  WriteTwoToneDefaults(data);
}

}  // namespace vb420
