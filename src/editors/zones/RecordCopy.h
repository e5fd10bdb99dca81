// SPDX-License-Identifier: GPL-3.0-or-later
// Copying records inside the zone area: Channel Copy (one channel or LTR
// group to another number of the same zone), the record copy buffer behind
// the grids' Copy, Paste and Delete, and the CH/GID Jump target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420 {

// Copies record `source` of the zone to number `target` (0-based), replacing
// an existing target and carrying the per-channel values along.
// 1 done (message 0); 0 no room (275); -2 the channel limit (299); -1 refused
// (no source, target outside 0..249 or equal to the source, damaged zone).
FieldResult ChannelCopy(CZoneMemory& zones, int zone, int source, int target);

// The number typed into the jump dialog, by the integer entry rule (1..250);
// returns the 0-based row, -1 for an empty text. `text` is rewritten as the
// dialog shows it.
int JumpTarget(std::string& text);

class CRecordCopyBuffer {
 public:
  // Takes rows first..last (0-based, inclusive) of the zone.
  void Copy(CZoneMemory& zones, int zone, int firstRow, int lastRow);
  // Writes the buffer from `row` onward. 1 done; 0 no room (275); -2 the
  // limit (299); -1 a target refused (full or damaged zone); -3 the zone is of
  // another class than the buffer (nothing is written).
  FieldResult Paste(CZoneMemory& zones, int zone, int row);
  // Removes every existing record of rows first..last; returns how many.
  int Delete(CZoneMemory& zones, int zone, int firstRow, int lastRow);

  bool Empty() const { return rows_.empty(); }
  size_t Rows() const { return rows_.size(); }
  int Class() const { return cls_; }
  void Clear() {
    rows_.clear();
    cls_ = kClassNone;
  }

 private:
  struct Row {
    uint8_t size = 0;  // 0 for a row without a record
    std::vector<uint8_t> bytes;
    PerChannelValues values;
  };
  std::vector<Row> rows_;
  int cls_ = kClassNone;
};

// The repeater editor's Copy, Paste and Delete: whole 16-byte repeater
// records of an LTR zone by row (repeater number - 1).
class CRepeaterCopyBuffer {
 public:
  void Copy(CZoneMemory& zones, int zone, int firstRow, int lastRow);
  // Writes the buffer from `row` on (rows past 20 are dropped); an existing
  // repeater in a target row is replaced, a buffer row without a repeater
  // removes it. 1 done; 0 refused (not an LTR zone, or the zone is full);
  // -1 no room (275); -2 the channel limit (299).
  FieldResult Paste(CZoneMemory& zones, int zone, int row);
  // Removes every existing repeater of rows first..last; returns how many.
  int Delete(CZoneMemory& zones, int zone, int firstRow, int lastRow);
  bool Empty() const { return rows_.empty(); }
  size_t Rows() const { return rows_.size(); }
  void Clear() { rows_.clear(); }

 private:
  std::vector<std::vector<uint8_t>> rows_;  // empty for a row without a repeater
};

}  // namespace vb420
