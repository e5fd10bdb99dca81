// SPDX-License-Identifier: GPL-3.0-or-later
// The Vantelix data-signalling editor's data: its seven pages of settings
// (image 0x720 onwards, three flag words, two extension words), and the ID
// list (up to 100 named fleet/ID entries) and status list (up to 90 status
// messages) that the area directory places.
//
// Settings keys: `vantelix.KEY` for the page fields, `idlist.N.fleet|id|name|inh`
// (N from 1) and `status.N.sts|name|inh`.
#pragma once

#include <string>
#include <vector>

#include "data/ImageLayout.h"
#include "data/SignallingLayout.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

class RadioData;
class TextTable;


// Tab text entries of the seven pages, in order.
constexpr int kVantelixTabs[7] = {992, 993, 994, 995, 996, 997, 998};
constexpr int kVantelixIdPage = 3;
constexpr int kVantelixStatusPage = 4;

// The seven pages (the ID-list and status pages hold no fields: the window
// puts its grids there).
const std::vector<forms::FormPage>& VantelixPages();
// Every setting of the pages (captions left out), the settings set "vantelix".
const std::vector<forms::FieldDescriptor>& VantelixFieldTable();

// ---- the two lists ------------------------------------------------------------

// How the directory places a list. Its count is followed whatever it is (a
// new image holds 100 IDs and 90 statuses, a radio may hold more); a list
// that does not lie wholly inside the image is refused: it has no rows, and
// nothing is read or written where it points.
struct PlacedList {
  DirectoryList place;   // count 0 when refused
  bool refused = false;
  int Rows() const { return static_cast<int>(place.count); }
};
PlacedList PlaceIdList(const ByteArea& image);
PlacedList PlaceStatusList(const ByteArea& image);
// Text entry of the message a window shows for refused lists (0: none refused).
int RefusedListMessage(const ByteArea& image);

enum class IdColumn { Fleet = 0, Id = 1, Name = 2, Inhibit = 3 };
enum class StatusColumn { Number = 0, Text = 1, Inhibit = 2 };

// Cell texts as the grids show them; empty for an empty entry.
std::string IdCellText(RadioData& data, TextTable& text, int row, IdColumn col);
std::string StatusCellText(RadioData& data, TextTable& text, int row, StatusColumn col);
// Stores a typed cell. False when the text is refused (a name or inhibit
// mark for an empty entry, a row outside the list, an unreadable number);
// nothing is changed then.
bool StoreIdCell(RadioData& data, TextTable& text, int row, IdColumn col, const std::string& typed);
bool StoreStatusCell(RadioData& data, TextTable& text, int row, StatusColumn col, const std::string& typed);
bool IdEntryEmpty(RadioData& data, int row);
bool StatusEntryEmpty(RadioData& data, int row);
void ClearIdEntry(RadioData& data, int row);
void ClearStatusEntry(RadioData& data, int row);

// Column descriptors of the two grids (cursor.record = row), also the
// settings sets "idlist" and "status".
const std::vector<forms::FieldDescriptor>& IdListFieldTable();
const std::vector<forms::FieldDescriptor>& StatusListFieldTable();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterVantelixFieldSets();
void RegisterSignalListFieldSets();

}  // namespace vb420
