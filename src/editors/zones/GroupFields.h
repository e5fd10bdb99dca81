// SPDX-License-Identifier: GPL-3.0-or-later
// Field operations of LTR and PassPort groups and LTR repeaters by field
// number, as the Zone Information grids and the group editors use them. The
// fields themselves are the tables of ZoneFields.h (where each record layout
// is listed); these calls find a field by its number and run it through the
// form engine, so the grids, the editors, the command line and the tests
// store by the same rules.
//
// LTR group fields: 1 the group number, 2 (the first data column: entering
// it creates the group, an empty entry removes it), 3, 4 the name, 5 to 10,
// 12 to 14, 16, 17. Repeater fields: 1 and 2 the frequencies (the first
// creates or removes the repeater), 5 the range flags, 6 a check box.
// PassPort grid columns: 1 the group ID (creates or removes the group),
// 2 the name, 3 to 9 the switches.
#pragma once

#include <cstdint>
#include <string>

#include "data/ImageLayout.h"
#include "editors/zones/ConvFields.h"

namespace vb420 {

class CZoneMemory;
class TextTable;

// Grid column -> LTR group field (column 0 is the group number).
constexpr int kLtrColumnField[10] = {1, 2, 3, 4, 8, 5, 7, 10, 6, 9};

constexpr int kPassPortHornColumn = 7;
// The PassPort switches byte, for callers that look at the bytes themselves.
constexpr size_t kPassPortSwitchesOffset = rec::pp::kSwitches;

class CGroupFields {
 public:
  CGroupFields(CZoneMemory& zones, TextTable& text) : zones_(zones), text_(text) {}

  // Text of an LTR group field (numbering above). False, with an empty
  // text, when the zone is not an LTR zone or the group does not exist.
  bool LtrFieldText(int zone, int group, int field, std::string& text) const;
  // Text of a PassPort grid column. False, with an empty text, when there is
  // no such group.
  bool PassPortColumnText(int zone, int group, int column, std::string& text) const;
  // Text of a repeater field. False when there is no such repeater.
  bool RepeaterFieldText(int zone, int repeater, int field, std::string& text) const;

  // Typed texts, as the grids and the group editors enter them. The first
  // data column creates the zone (with the class of the table) and the
  // record, or removes the record when empty; `result` is kFieldStored,
  // kFieldRecordRemoved, 0 when nothing was stored, or the zone-manager code
  // of a failed creation with its `message`.
  FieldResult SetLtrField(int zone, int group, int field, const std::string& text);
  FieldResult SetPassPortColumn(int zone, int group, int column, const std::string& text);
  // List and check-box fields by stored value; 1 stored, 0 refused.
  int SetLtrOption(int zone, int group, int field, int value);
  int SetPassPortSwitch(int zone, int group, int column, bool ticked);

  // The name of an LTR zone ("" when the zone is not one).
  std::string LtrZoneName(int zone) const;
  // Stores it. 1 stored, 0 refused.
  int SetLtrZoneName(int zone, const std::string& text);
  // The name of a PassPort zone, held in its header as the system's name
  // ("" when the zone is not one); and storing it, 1 stored, 0 refused.
  std::string PassPortZoneName(int zone) const;
  int SetPassPortZoneName(int zone, const std::string& text);

  // Repeater frequencies (field 1 or 2). An empty first frequency removes
  // the repeater; a first frequency on a missing repeater creates it; the
  // second frequency follows the first at +5 MHz.
  FieldResult SetRepeaterFrequency(int zone, int repeater, int field, const std::string& text, bool interactive);

 private:
  CZoneMemory& zones_;
  TextTable& text_;
};

}  // namespace vb420
