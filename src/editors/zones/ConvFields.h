// SPDX-License-Identifier: GPL-3.0-or-later
// Field operations of conventional zones by field number: the 32-byte zone
// header and the 48-byte channel record. The fields themselves are the
// tables of ZoneFields.h; these calls find a field by its number and run it
// through the form engine (the frequencies and tones, whose entry rules
// reach across fields, are written out here). The Zone Information grid, the channel editor, the
// conventional zone editor, the text import and the command line all enter
// values through these, so that one set of rules applies everywhere.
//
// Channel fields (by number): 2 channel number, 3 receive frequency,
// 4 transmit frequency, 5 receive tone, 6 transmit tone, 7 name, 8 to 16 and
// 18, 20 option lists and check boxes, 19 a stepped number kept in the
// extension area. There is no field 17 in a conventional channel.
//
// Header fields: 0 name, 1 and 2 numbers, 3 the per-zone byte ext 0xF00,
// 4, 11, 13 check boxes, 5 and 6 lists, 7 to 10 numbers, 12 the per-zone
// check box ext 0x6F0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editors/zones/ZoneMemory.h"

namespace vb420 {
enum class ZoneTable;
}

namespace vb420 {

class RadioData;
class TextTable;

// The outcome of an entry: `result` as the operation defines it, `message`
// the text entry the caller should show (0 for none).
struct FieldResult {
  int result = 0;
  int message = 0;
};

// Results of SetFrequency beyond the zone-manager codes.
constexpr int kFieldStored = 1;
constexpr int kFieldRecordRemoved = 2;

// One row of an option list: what the user sees and what is stored.
struct OptionChoice {
  std::string text;
  int value = 0;
  int entry = 0xFF;  // field 12 '3' rows: the 1-based ID-list entry
};

// Channel field 19 (a per-channel byte at ext 0x1000 + global): range, step
// and the value an empty entry stores, by model.
struct SteppedRange {
  int minimum;
  int maximum;
  int step;
  int initial;
};
SteppedRange Field19Range(int model);

// Which flags UpdateRangeFlags recomputes.
constexpr int kRangeFlagA = 0x01;
constexpr int kTransmitCheck = 0x02;
constexpr int kRangeFlagB = 0x10;

// Recomputes the receive-range flags A (bit 2) and B (bit 6) and the
// transmit-check flag (bit 7) of the channel record at image offset `record`.
void UpdateRangeFlags(RadioData& data, size_t record, int which);
// The value one flag gets for a receive frequency (flag A, or with `setB`
// flag B) or a transmit frequency (the transmit check), in Hz; 0 for none.
bool ReceiveRangeFlag(RadioData& data, uint32_t hz, bool setB);
bool TransmitCheckFlag(RadioData& data, uint32_t hz);

class CConvFields {
 public:
  CConvFields(CZoneMemory& zones, TextTable& text) : zones_(zones), text_(text) {}

  CZoneMemory& Zones() { return zones_; }

  // ---- channel fields ------------------------------------------------------
  // Display text of a field; returns the stored value for list and check-box
  // fields (and field 19), otherwise 1 when the record exists and 0 when it
  // does not. Calls outside zones 0..127 or channels 0..249 give "" and 0.
  int RecordFieldText(int zone, int channel, int field, std::string& text) const;
  // A typed text for any channel field, as the grid enters it (option fields
  // take one of their choice texts).
  FieldResult SetRecordField(int zone, int channel, int field, const std::string& text, bool interactive = true);

  // Field 3 or 4. An empty receive frequency removes the channel; a receive
  // frequency on a missing channel creates it (and its zone).
  FieldResult SetFrequency(int zone, int channel, int field, const std::string& text, bool interactive);
  // Field 5 or 6; with `listRow` >= 0 the tone of that tone-list row is
  // stored instead of the text. 1 stored, 0 ignored.
  int SetTone(int zone, int channel, int field, const std::string& text, int listRow = -1);
  int SetName(int zone, int channel, const std::string& text);
  // Fields 8 to 16, 18, 20: `value` is the stored value of a choice (for
  // field 12 '3' with `entry`). 1 stored, 0 refused.
  int SetOption(int zone, int channel, int field, int value, int entry = 0xFF);
  // Field 19: typed text, or a spin step.
  int SetStepped(int zone, int channel, const std::string& text);
  int SetStepped(int zone, int channel, int direction);

  bool IsEditable(int zone, int channel, int field) const;
  // The channel has a transmit frequency and a receive tone (QT/DQT Copy).
  bool CanCopyTone(int zone, int channel) const;
  std::vector<OptionChoice> OptionChoices(int zone, int channel, int field) const;
  void UpdateRangeFlags(size_t record, int which);

  // ---- zone header fields ------------------------------------------------
  int HeaderFieldText(int zone, int field, std::string& text) const;
  // Typed numbers and the name (fields 0 to 3, 7 to 10). 1 stored, 0 ignored.
  int SetHeaderField(int zone, int field, const std::string& text);
  int SpinHeaderField(int zone, int field, int direction);
  // Lists and check boxes (fields 4, 5, 6, 11, 12, 13).
  int SetHeaderOption(int zone, int field, int value);
  std::vector<OptionChoice> HeaderChoices(int field) const;
  // The zone exists, is conventional and can be trusted.
  bool HeaderEditable(int zone, int field) const;

 private:
  RadioData& Data() const { return zones_.Data(); }
  int ChannelRecord(int zone, int channel) const;
  int ConvZoneOffset(int zone) const;
  bool HasTransmit(size_t rec) const;
  int StoreTyped(ZoneTable table, int zone, int record, int field, std::string& text);

  CZoneMemory& zones_;
  TextTable& text_;
};

}  // namespace vb420
