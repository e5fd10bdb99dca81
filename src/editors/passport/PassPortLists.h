// SPDX-License-Identifier: GPL-3.0-or-later
// The two radio-wide PassPort lists, each kept in an area that the area
// directory places (entries 1 and 2: 80 rows of 16 bytes in a new image):
//
//   mobile ID names (entry 1), keys ppmobile.R.min | name:
//     +0  word  MIN, 1 to 65500; 0xFFFF: the row is empty
//     +2  12    name (8 characters on second-generation models), zero-filled
//   site information (entry 2), keys ppsite.R.asid | nsid | name | channel:
//     +0  1     ASID, 1 to 127; 0xFF: the row is empty
//     +1  1     NSID, 0 to 3
//     +2  12    site name
//     +14 word  bits 5 to 15: the site's control channel (DFA channel 0 to
//               1791; all ones: none)
//
// The first field of a row brings it into being (the other fields get their
// empty values) and an empty first field clears the row to 0xFF. Rows are
// numbered 1 to the directory's count, cut to the rows that lie in the image.
#pragma once

#include <string>
#include <vector>

#include "data/ImageLayout.h"
#include "editors/forms/FieldSets.h"

namespace vb420 {

class RadioData;
class TextTable;

namespace pplist {

enum class Kind { MobileIds = 1, Sites = 2 };

constexpr size_t kRowSize = 16;
constexpr int kMaxRows = 80;

// The rows as the directory places them.
DirectoryList Rows(RadioData& data, Kind kind);
bool RowUsed(RadioData& data, Kind kind, int row);

const std::vector<forms::FieldDescriptor>& Fields(Kind kind);
// The label of a field of the dialogs (text entries of the language file).
const forms::FieldDescriptor* ByKey(Kind kind, const std::string& key);

// A row bound for the form engine (the dialogs' cells and `vb420cli
// settings` store through it).
class RowRecord : public forms::BoundRecord {
 public:
  RowRecord(RadioData& data, TextTable& text, Kind kind, int row);
  forms::FormContext& Context() override { return ctx_; }
  bool StoreText(const forms::FieldDescriptor& d, std::string& text) override;

 private:
  class Locator : public forms::RecordLocator {
   public:
    explicit Locator(Kind kind) : kind_(kind) {}
    long Locate(const forms::FormContext& ctx, forms::RecordBase base) const override;

   private:
    Kind kind_;
  };
  Kind kind_;
  Locator locator_;
  forms::FormContext ctx_;
};

// Clears rows first..last (0-based) to 0xFF.
void ClearRows(RadioData& data, Kind kind, int first, int last);

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterPassPortListFieldSets();

}  // namespace pplist
}  // namespace vb420
