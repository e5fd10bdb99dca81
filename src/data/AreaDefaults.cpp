// SPDX-License-Identifier: GPL-3.0-or-later
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
// The single fields of the feature, scan, DTMF, data-signalling, emergency
// and option-board areas carry their values in the editors' field tables
// (each descriptor's new-programming value), written through the writer the
// core registration installs. What stays here: whole records and tables,
// the bytes that follow the model's kind, the key assignment and 2-tone.

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

FieldTableDefaultsWriter& TableDefaults() {
  static FieldTableDefaultsWriter writer = nullptr;
  return writer;
}

// Radio-wide settings and optional features, image 0x140 onwards: the
// fields' own values come from the feature table; the bytes that follow the
// model's kind are written here, as a change of kind writes them.
void WriteFeatureDefaults(RadioData& data) {
  WriteKindFeatureDefaults(data);
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

// DTMF: the two stun/kill code records (0x700..0x70F) are records of their
// own grid, written whole: no code, choice 0xFF, number none; the 32 DTMF
// memory records at ext 0x100 likewise 0xFF (no name, no code).
void WriteDtmfDefaults(RadioData& data) {
  data.Image().fill(dtmffld::kStunRecords, 2 * dtmffld::kStunRecordSize, 0xFF);
  data.Ext().fill(ext::kNamedRecords, ext::kNamedRecordsEnd - ext::kNamedRecords, 0xFF);
}

// Data signalling: the two lists that the area directory places (ID list
// 16-byte entries, status list 20-byte entries), both empty: every byte 0xFF.
void WriteDataSignallingDefaults(RadioData& data) {
  ByteArea image = data.Image();

  // The lists go where the directory puts them. The words come out of the
  // image, so a list that would not fit is left alone rather than written
  // partly or outside the image.
  for (const DirectoryList& l : {IdList(image), StatusList(image)})
    if (!l.Clipped() && l.count > 0) image.fill(l.offset, l.count * l.recordSize, 0xFF);
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

void SetFieldTableDefaultsWriter(FieldTableDefaultsWriter writer) { TableDefaults() = writer; }
bool FieldTableDefaultsWriterSet() { return TableDefaults() != nullptr; }

void WriteEditorAreaDefaults(RadioData& data) {
  ByteArea image = data.Image();
  // The single fields of the editor areas, from their tables.
  if (TableDefaults()) TableDefaults()(data);
  WriteFeatureDefaults(data);
  image.write(img::kAlertTones, kAlertTones.data(), kAlertTones.size());
  WriteKeyAreaDefaults(data);
  WriteDtmfDefaults(data);
  WriteDataSignallingDefaults(data);
  WriteMessageDefaults(data);
  WriteZoneDefaults(data);
  WriteTwoToneDefaults(data);
}

}  // namespace vb420
