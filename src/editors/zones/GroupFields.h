// The texts of LTR and PassPort group records as the Zone Information grids
// show them. Read-only: the group editors change these bytes; the grids only
// show what the image holds, so an edit made anywhere is seen at once.
//
// LTR group record (32 bytes) and the fields the grid shows:
//   +0  group number (field 1)           +1  field 3, 1..250
//   +2  field 2, 1..250                  +3  name, 12 bytes (field 4)
//   +15 field 6: 0xFF off, '0' DTMF, '5' Vantelix
//   +16 field 7: 0xFF off, '0' BOT, '1' EOT, '2' BOT+EOT, '3' ID (entry
//       number in the word at +17), '4' on
//   +30 bit 0 field 5 (1 high, 0 low); bits 1, 2, 4, 5, 6 fields 8, 9, 12,
//       13, 14 (check boxes: a clear bit is ticked)
//   per-channel tables at the group's global number: field 10 (ext 0x670),
//   field 16 (ext 0x6B0), both check boxes.
//
// PassPort group record (32 bytes):
//   +1  group ID (word, 1..65519), again at +3     +5 name, 12 bytes
//   +17 switches, a clear bit is ticked: bit 0 transmit, 1 call, 2
//       scrambler, 3 compand, 4 horn alert, 5 scan, 6 scan add/delete
//       (bit 7 and the bytes +18 to +31 belong to the PassPort group pages).
#pragma once

#include <cstdint>
#include <string>

namespace vb420 {

class CZoneMemory;
class TextTable;

// Grid column -> LTR group field (column 0 is the group number).
constexpr int kLtrColumnField[10] = {1, 2, 3, 4, 8, 5, 7, 10, 6, 9};

// Bits of the PassPort switches byte (+17), in grid-column order 3 to 9.
constexpr int kPassPortSwitchesOffset = 17;
constexpr int kPassPortHornColumn = 7;

class CGroupFields {
 public:
  CGroupFields(CZoneMemory& zones, TextTable& text) : zones_(zones), text_(text) {}

  // Text of an LTR group field (numbering above). False, with an empty
  // text, when the zone is not an LTR zone or the group does not exist.
  bool LtrFieldText(int zone, int group, int field, std::string& text) const;
  // Text of a PassPort grid column (1 group ID, 2 name, 3 to 9 the
  // switches). False, with an empty text, when there is no such group.
  bool PassPortColumnText(int zone, int group, int column, std::string& text) const;

 private:
  std::string CheckText(bool bitSet) const;

  CZoneMemory& zones_;
  TextTable& text_;
};

}  // namespace vb420
