// SPDX-License-Identifier: GPL-3.0-or-later
// The Vantelix ID list and status list: their place through the area
// directory and the rules of their cells.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/SignalFieldKit.h"
#include "editors/signalling/VantelixFields.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

namespace {

constexpr uint8_t kNone8 = 0xFF;
constexpr int kInhibitYes = 372;
constexpr int kInhibitNo = 373;
constexpr int kAllText = 806;  // a stored 0: the whole fleet

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

PlacedList Place(const ByteArea& image, int entry, size_t recordSize) {
  PlacedList p;
  p.place = ReadDirectoryList(image, entry, recordSize);
  // A radio may hold more entries than a new image has (100 IDs, 90
  // statuses): the count is followed as long as every record lies inside the
  // image. Nothing is followed when the list leaves it.
  if (p.place.Clipped()) {
    p.refused = p.place.storedCount != 0;
    p.place.count = 0;
  }
  return p;
}

long IdRow(RadioData& data, int row) {
  const PlacedList l = PlaceIdList(data.Image());
  if (row < 0 || row >= l.Rows()) return -1;
  return static_cast<long>(l.place.Row(static_cast<size_t>(row)));
}

long StatusRow(RadioData& data, int row) {
  const PlacedList l = PlaceStatusList(data.Image());
  if (row < 0 || row >= l.Rows()) return -1;
  return static_cast<long>(l.place.Row(static_cast<size_t>(row)));
}

int NameWidth(RadioData& data) { return data.model.IsSecondGen() ? 8 : 12; }

bool AllFF(const ByteArea& a, size_t at, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (a.u8(at + i) != 0xFF) return false;
  return true;
}

// A typed fleet or ID: -2 refused, -1 clears the entry, else the stored value.
int ParseNumber(TextTable& text, const std::string& typed, int low, int high, int bias) {
  const std::string t = Trim(typed);
  if (t.empty()) return -1;
  if (SameText(t, text.Text(kAllText))) return 0;
  if (!std::isdigit(static_cast<unsigned char>(t[0]))) return -2;
  long n = 0;
  for (size_t i = 0; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && n < 1000000; ++i)
    n = n * 10 + (t[i] - '0');
  if (n == 0) return 0;
  return static_cast<int>(std::clamp<long>(n, low, high)) - bias;
}

std::string Shown(TextTable& text, int stored, int bias) {
  if (stored == 0) return text.Text(kAllText);
  return std::to_string(stored + bias);
}

// A fleet or ID was set: an entry without a name gets its default name.
void NameIfUnnamed(RadioData& data, size_t at, int row) {
  ByteArea image = data.Image();
  if (!AllFF(image, at + sig::kIdName, sig::kIdNameBytes)) return;
  char name[16];
  std::snprintf(name, sizeof name, data.model.IsSecondGen() ? " ID %03d" : "  ID %03d", row + 1);
  image.fill(at + sig::kIdName, sig::kIdNameBytes, 0x00);
  image.write(at + sig::kIdName, name, std::char_traits<char>::length(name));
  image.setU8(at + sig::kIdOption, kNone8);
}

}  // namespace

PlacedList PlaceIdList(const ByteArea& image) {
  return Place(image, dir::kIdListEntry, dir::kIdListRecordSize);
}

PlacedList PlaceStatusList(const ByteArea& image) {
  return Place(image, dir::kStatusListEntry, dir::kStatusListRecordSize);
}

int RefusedListMessage(const ByteArea& image) {
  return PlaceIdList(image).refused || PlaceStatusList(image).refused ? 1083 : 0;
}

bool IdEntryEmpty(RadioData& data, int row) {
  const long at = IdRow(data, row);
  return at < 0 || data.Image().u8(static_cast<size_t>(at) + sig::kIdFleet) == kNone8;
}

bool StatusEntryEmpty(RadioData& data, int row) {
  const long at = StatusRow(data, row);
  return at < 0 || data.Image().u8(static_cast<size_t>(at) + sig::kStatusNumber) == kNone8;
}

void ClearIdEntry(RadioData& data, int row) {
  const long at = IdRow(data, row);
  if (at >= 0) data.Image().fill(static_cast<size_t>(at), dir::kIdListRecordSize, 0xFF);
}

void ClearStatusEntry(RadioData& data, int row) {
  const long at = StatusRow(data, row);
  if (at < 0) return;
  // Bytes 18 and 19 belong to the radio, not to this list.
  data.Image().fill(static_cast<size_t>(at), sig::kStatusOption + 1, 0xFF);
}

std::string IdCellText(RadioData& data, TextTable& text, int row, IdColumn col) {
  const long at = IdRow(data, row);
  if (at < 0 || IdEntryEmpty(data, row)) return {};
  const ByteArea image = data.Image();
  const size_t a = static_cast<size_t>(at);
  switch (col) {
    case IdColumn::Fleet: return Shown(text, image.u8(a + sig::kIdFleet), sigfields::kFleetBias);
    case IdColumn::Id: {
      const int id = image.u16le(a + sig::kIdId);
      return id == 0xFFFF ? std::string() : Shown(text, id, sigfields::kIdBias);
    }
    case IdColumn::Name: return CFieldCodec::NameFromField(image.ptr(a + sig::kIdName, sig::kIdNameBytes), NameWidth(data));
    case IdColumn::Inhibit: return text.Text(image.u8(a + sig::kIdOption) == 0 ? kInhibitYes : kInhibitNo);
  }
  return {};
}

bool StoreIdCell(RadioData& data, TextTable& text, int row, IdColumn col, const std::string& typed) {
  const long at = IdRow(data, row);
  if (at < 0) return false;
  const size_t a = static_cast<size_t>(at);
  ByteArea image = data.Image();
  const bool empty = image.u8(a + sig::kIdFleet) == kNone8;
  switch (col) {
    case IdColumn::Fleet:
    case IdColumn::Id: {
      const bool fleet = col == IdColumn::Fleet;
      const int v = fleet ? ParseNumber(text, typed, sigfields::kFleetLow, sigfields::kFleetHigh, sigfields::kFleetBias)
                          : ParseNumber(text, typed, sigfields::kIdLow, sigfields::kIdHigh, sigfields::kIdBias);
      if (v == -2) return false;
      if (v == -1) {
        ClearIdEntry(data, row);
        return true;
      }
      if (fleet) {
        image.setU8(a + sig::kIdFleet, static_cast<uint8_t>(v));
        if (image.u16le(a + sig::kIdId) == 0xFFFF) image.setU16le(a + sig::kIdId, 0);
      } else {
        image.setU16le(a + sig::kIdId, static_cast<uint16_t>(v));
        if (empty) image.setU8(a + sig::kIdFleet, 0);
      }
      NameIfUnnamed(data, a, row);
      return true;
    }
    case IdColumn::Name: {
      if (empty) return false;
      std::string name = typed;
      if (static_cast<int>(name.size()) > NameWidth(data)) name.resize(static_cast<size_t>(NameWidth(data)));
      data.field.NormalizeName(image.ptr(a + sig::kIdName, sig::kIdNameBytes), static_cast<int>(sig::kIdNameBytes), name);
      return true;
    }
    case IdColumn::Inhibit:
      if (empty) return false;
      image.setU8(a + sig::kIdOption, SameText(Trim(typed), text.Text(kInhibitYes)) ? 0 : kNone8);
      return true;
  }
  return false;
}

std::string StatusCellText(RadioData& data, TextTable& text, int row, StatusColumn col) {
  const long at = StatusRow(data, row);
  if (at < 0 || StatusEntryEmpty(data, row)) return {};
  const ByteArea image = data.Image();
  const size_t a = static_cast<size_t>(at);
  switch (col) {
    case StatusColumn::Number: {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%2d", image.u8(a + sig::kStatusNumber));
      return buf;
    }
    case StatusColumn::Text:
      if (AllFF(image, a + sig::kStatusText, sig::kStatusTextBytes)) return {};
      return CFieldCodec::NameFromField(image.ptr(a + sig::kStatusText, sig::kStatusTextBytes),
                                        static_cast<int>(sig::kStatusTextBytes));
    case StatusColumn::Inhibit: return text.Text(image.u8(a + sig::kStatusOption) == 0 ? kInhibitYes : kInhibitNo);
  }
  return {};
}

bool StoreStatusCell(RadioData& data, TextTable& text, int row, StatusColumn col, const std::string& typed) {
  const long at = StatusRow(data, row);
  if (at < 0) return false;
  const size_t a = static_cast<size_t>(at);
  ByteArea image = data.Image();
  const bool empty = image.u8(a + sig::kStatusNumber) == kNone8;
  switch (col) {
    case StatusColumn::Number: {
      const std::string t = Trim(typed);
      if (t.empty()) {
        ClearStatusEntry(data, row);
        return true;
      }
      if (!std::isdigit(static_cast<unsigned char>(t[0]))) return false;
      long n = 0;
      for (size_t i = 0; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && n < 1000; ++i)
        n = n * 10 + (t[i] - '0');
      image.setU8(a + sig::kStatusNumber, static_cast<uint8_t>(std::clamp<long>(n, 10, 99)));
      // A new entry starts with an empty message, not inhibited.
      if (empty) {
        image.fill(a + sig::kStatusText, sig::kStatusTextBytes, 0x00);
        image.setU8(a + sig::kStatusOption, kNone8);
      }
      return true;
    }
    case StatusColumn::Text: {
      if (empty) return false;
      data.field.NormalizeName(image.ptr(a + sig::kStatusText, sig::kStatusTextBytes),
                               static_cast<int>(sig::kStatusTextBytes), typed.substr(0, sig::kStatusTextBytes));
      return true;
    }
    case StatusColumn::Inhibit: {
      if (empty) return false;
      const std::string t = Trim(typed);
      if (SameText(t, text.Text(kInhibitYes))) image.setU8(a + sig::kStatusOption, 0);
      else if (SameText(t, text.Text(kInhibitNo))) image.setU8(a + sig::kStatusOption, kNone8);
      else return false;
      return true;
    }
  }
  return false;
}

// ---- the columns as field descriptors, and their settings sets ----------------

namespace {

// What a cell takes: `inputMode` and `maxLength` for numbers and the status
// text, or the name widths (and the name characters on second-generation
// models) for the ID names.
struct CellInput {
  int inputMode = 0;
  int maxLength = 0;
  int textWidth = 0;
  int textWidthGen2 = 0;
};

template <typename Col>
FieldDescriptor ListColumn(const char* key, int label, Col col, bool idList, CellInput in) {
  FieldDescriptor d{.key = key, .number = static_cast<int>(col), .labelEntry = label, .kind = ControlKind::Text,
                    .encoding = Encoding::Custom, .textWidth = in.textWidth, .textWidthGen2 = in.textWidthGen2,
                    .inputMode = in.inputMode, .maxLength = in.maxLength};
  d.customShow = [col, idList](const FormContext& c) {
    return idList ? IdCellText(c.data, c.text, c.cursor.record, static_cast<IdColumn>(col))
                  : StatusCellText(c.data, c.text, c.cursor.record, static_cast<StatusColumn>(col));
  };
  d.customStore = [col, idList](FormContext& c, std::string& text) {
    if (idList) StoreIdCell(c.data, c.text, c.cursor.record, static_cast<IdColumn>(col), text);
    else StoreStatusCell(c.data, c.text, c.cursor.record, static_cast<StatusColumn>(col), text);
    text = idList ? IdCellText(c.data, c.text, c.cursor.record, static_cast<IdColumn>(col))
                  : StatusCellText(c.data, c.text, c.cursor.record, static_cast<StatusColumn>(col));
  };
  const bool firstColumn = static_cast<int>(col) == 0 || (idList && static_cast<int>(col) == 1);
  if (!firstColumn) {
    // Names and marks belong to entries in use.
    d.enabled = [idList](const FormContext& c) {
      return idList ? !IdEntryEmpty(c.data, c.cursor.record) : !StatusEntryEmpty(c.data, c.cursor.record);
    };
  }
  return d;
}

// The inhibit column: a list of "yes" (0) and "no" (0xFF).
FieldDescriptor InhibitColumn(int number, bool idList) {
  FieldDescriptor d{.key = "inh", .number = number, .labelEntry = 1053, .kind = ControlKind::Combo,
                    .encoding = Encoding::Custom, .choices = {{kInhibitYes, 0}, {kInhibitNo, kNone8}}};
  auto at = [idList](const FormContext& c) { return idList ? IdRow(c.data, c.cursor.record) : StatusRow(c.data, c.cursor.record); };
  const size_t option = idList ? sig::kIdOption : sig::kStatusOption;
  d.customValue = [at, option, idList](const FormContext& c) {
    const long a = at(c);
    if (a < 0 || (idList ? IdEntryEmpty(c.data, c.cursor.record) : StatusEntryEmpty(c.data, c.cursor.record))) return -1;
    return c.data.Image().u8(static_cast<size_t>(a) + option) == 0 ? 0 : static_cast<int>(kNone8);
  };
  d.customStoreValue = [idList](FormContext& c, int v) {
    const std::string t = c.text.Text(v == 0 ? kInhibitYes : kInhibitNo);
    if (idList) StoreIdCell(c.data, c.text, c.cursor.record, IdColumn::Inhibit, t);
    else StoreStatusCell(c.data, c.text, c.cursor.record, StatusColumn::Inhibit, t);
  };
  d.enabled = [idList](const FormContext& c) {
    return idList ? !IdEntryEmpty(c.data, c.cursor.record) : !StatusEntryEmpty(c.data, c.cursor.record);
  };
  return d;
}

class ListRecord : public BoundRecord {
 public:
  ListRecord(RadioData& data, TextTable& text, int row, bool idList)
      : ctx_(data, text, data.votingSwitch, {-1, row}), idList_(idList) {}
  FormContext& Context() override { return ctx_; }
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    const bool ok = idList_ ? StoreIdCell(ctx_.data, ctx_.text, ctx_.cursor.record, static_cast<IdColumn>(d.number), text)
                            : StoreStatusCell(ctx_.data, ctx_.text, ctx_.cursor.record,
                                              static_cast<StatusColumn>(d.number), text);
    text = FormEngine::ShowText(ctx_, d);
    return ok;
  }

 private:
  FormContext ctx_;
  bool idList_;
};

bool ParseRow(const std::string& prefix, const std::string& head, int rows, RecordCursor& c) {
  if (prefix.compare(0, head.size(), head) != 0) return false;
  const std::string n = prefix.substr(head.size());
  // Entry numbers run to the directory's count, which may take five digits.
  if (n.empty() || n.size() > 5 || n[0] == '0') return false;
  int v = 0;
  for (char ch : n) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < 1 || v > rows) return false;
  c = {-1, v - 1};
  return true;
}

FieldSet MakeListSet(bool idList) {
  FieldSet s;
  const std::string name = idList ? "idlist" : "status";
  s.name = name;
  s.recordKind = "row";
  s.keyPattern = idList ? "`idlist.N.KEY`, N the entry, 1 to the directory's count (100 in a new image)"
                        : "`status.N.KEY`, N the entry, 1 to the directory's count (90 in a new image)";
  s.fields = idList ? &IdListFieldTable() : &StatusListFieldTable();
  s.records = [idList, name](RadioData& data) {
    std::vector<FieldSetRecord> out;
    const int rows = (idList ? PlaceIdList(data.Image()) : PlaceStatusList(data.Image())).Rows();
    for (int r = 0; r < rows; ++r) out.push_back({name + "." + std::to_string(r + 1), {-1, r}});
    return out;
  };
  s.parse = [idList, name](RadioData& data, const std::string& prefix, RecordCursor& c) {
    const int rows = (idList ? PlaceIdList(data.Image()) : PlaceStatusList(data.Image())).Rows();
    return ParseRow(prefix, name + ".", rows, c);
  };
  s.bind = [idList](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<ListRecord>(data, text, c.record, idList);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeListSet(true));
  RegisterFieldSet(MakeListSet(false));
}


}  // namespace

const std::vector<FieldDescriptor>& IdListFieldTable() {
  static const std::vector<FieldDescriptor> t = {
      ListColumn("fleet", 1050, IdColumn::Fleet, true, {.inputMode = 2, .maxLength = 3}),
      ListColumn("id", 1051, IdColumn::Id, true, {.inputMode = 2, .maxLength = 4}),
      ListColumn("name", 1052, IdColumn::Name, true, {.textWidth = 12, .textWidthGen2 = 8}),
      InhibitColumn(static_cast<int>(IdColumn::Inhibit), true)};
  return t;
}

const std::vector<FieldDescriptor>& StatusListFieldTable() {
  static const std::vector<FieldDescriptor> t = {ListColumn("sts", 996, StatusColumn::Number, false, {.inputMode = 2, .maxLength = 2}),
                                                 ListColumn("name", 1052, StatusColumn::Text, false, {.inputMode = 1, .maxLength = 16}),
                                                 InhibitColumn(static_cast<int>(StatusColumn::Inhibit), false)};
  return t;
}

void RegisterSignalListFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
