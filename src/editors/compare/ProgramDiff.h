// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two programmings: every field whose shown text differs, by its
// settings key, the zones and records that exist in one programming only,
// and the bytes that no field describes, as address ranges. The same lines
// serve `vb420cli diff`, the Compare window and the names of undo steps.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::compare {

struct DiffLine {
  enum class Kind { Field, Removed, Added, Bytes };
  Kind kind = Kind::Field;
  // Field: the settings key (zone.3.ch.17.rxf). Removed/Added: the record or
  // zone (zone.3.ch.17, zone.5). Bytes: "image" or "ext".
  std::string key;
  // Field: the texts in the first and the second programming (empty where a
  // field exists on one side only). Bytes: the bytes in hexadecimal.
  std::string first, second;
  // Bytes: the address range, both ends included.
  size_t from = 0, to = 0;
};

// Every difference from `a` to `b`, fields and records first (in the order
// the settings list them), then the undescribed bytes by address.
// `withBytes` false leaves the undescribed bytes out (quicker: only the fields).
std::vector<DiffLine> DiffProgrammings(RadioData& a, RadioData& b, TextTable& text, bool withBytes = true);

// One line as `vb420cli diff` prints it:
//   zone.3.ch.17.rxf: 146.52000 -> 146.54000
//   zone.5: removed          zone.2.ch.9: added
//   image 0x1234-0x1235: 0A 0B -> FF FF
std::string FormatLine(const DiffLine& line);

// Whether image (ext = false) or extension-area offset `offset` lies in a
// place some field or the zone structure describes, in either programming.
// Exposed for the tests.
std::vector<bool> DescribedBytes(RadioData& a, RadioData& b, TextTable& text);

// A key or record prefix in words: "Zone 3 Channel 17 RX Frequency",
// "Zone 5", or a radio-wide field's label; the key itself when nothing
// better is known.
std::string DescribeKey(RadioData& data, TextTable& text, const std::string& key);

// The words for a set of differences, for naming an undo step: the field
// when one field changed, the record when one record changed or came or
// went; empty when the change spans more.
std::string DescribeChange(RadioData& data, TextTable& text, const std::vector<DiffLine>& lines);

}  // namespace vb420::compare
