// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/passport/PassPortLists.h"

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets; every other member keeps its
// default on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420::pplist {

using namespace forms;

namespace {

constexpr size_t kName = 2;
constexpr size_t kMin = 0;
constexpr size_t kAsid = 0;
constexpr size_t kNsid = 1;
constexpr size_t kChannel = 14;
constexpr int kNoChannel = rec::pp::kNoChannel;

FieldRef Row(size_t offset, int width = 1, int bit = -1, int bits = 1) {
  return {.area = Area::Image, .offset = static_cast<uint32_t>(offset), .width = width, .bit = bit, .bits = bits,
          .base = RecordBase::ListRow};
}

Rule RowThere(Kind kind) {
  return [kind](const FormContext& c) { return RowUsed(c.data, kind, c.cursor.record); };
}

FieldDescriptor NameField(Kind kind, int label) {
  return {.key = "name", .number = 2, .labelEntry = label, .kind = ControlKind::Text, .field = Row(kName),
          .encoding = Encoding::Name, .textWidth = static_cast<int>(rec::kNameBytes), .textWidthGen2 = 8,
          .enabled = RowThere(kind)};
}

std::vector<FieldDescriptor> MobileTable() {
  return {
      {.key = "min", .number = 1, .labelEntry = 1196, .kind = ControlKind::EditSpin, .field = Row(kMin, 2),
       .encoding = Encoding::Number, .minimum = 1, .maximum = 65500, .emptyValue = 0xFFFF, .recordKey = true,
       .inputMode = 2, .maxLength = 5},
      NameField(Kind::MobileIds, 386),
  };
}

std::vector<FieldDescriptor> SiteTable() {
  const Rule there = RowThere(Kind::Sites);
  return {
      {.key = "asid", .number = 1, .labelEntry = 1197, .kind = ControlKind::EditSpin, .field = Row(kAsid),
       .encoding = Encoding::Number, .minimum = 1, .maximum = 127, .emptyValue = 0xFF, .recordKey = true,
       .inputMode = 2, .maxLength = 3},
      NameField(Kind::Sites, 1202),
      {.key = "nsid", .number = 3, .labelEntry = 1198, .kind = ControlKind::EditSpin, .field = Row(kNsid),
       .encoding = Encoding::Number, .minimum = 0, .maximum = 3, .enabled = there, .inputMode = 2, .maxLength = 1},
      {.key = "channel", .number = 4, .labelEntry = 1204, .kind = ControlKind::EditSpin, .field = Row(kChannel, 2, 5, 11),
       .encoding = Encoding::Number, .minimum = 0, .maximum = 1791, .emptyValue = kNoChannel, .enabled = there,
       .inputMode = 2, .maxLength = 4},
  };
}

// The first field's stored value that marks an empty row.
bool FirstFieldEmpty(const ByteArea& image, Kind kind, size_t at) {
  return kind == Kind::MobileIds ? image.u16le(at + kMin) == 0xFFFF : image.u8(at + kAsid) == 0xFF;
}

bool ParseRowPrefix(const std::string& prefix, const std::string& head, RecordCursor& c) {
  if (prefix.compare(0, head.size(), head) != 0) return false;
  const std::string n = prefix.substr(head.size());
  if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos || n[0] == '0') return false;
  const int row = std::stoi(n);
  if (row < 1 || row > kMaxRows) return false;
  c = {-1, row - 1};
  return true;
}

FieldSet MakeSet(Kind kind) {
  const std::string name = kind == Kind::MobileIds ? "ppmobile" : "ppsite";
  FieldSet s;
  s.name = name;
  s.recordKind = "row";
  s.keyPattern = "`" + name + ".R.KEY`, R the row, 1 to the list's length (80 in a new image)";
  s.fields = &Fields(kind);
  s.records = [kind, name](RadioData& data) {
    std::vector<FieldSetRecord> out;
    const DirectoryList rows = Rows(data, kind);
    for (size_t r = 0; r < rows.count; ++r)
      out.push_back({name + "." + std::to_string(r + 1), {-1, static_cast<int>(r)}});
    return out;
  };
  s.parse = [kind, name](RadioData& data, const std::string& prefix, RecordCursor& c) {
    return ParseRowPrefix(prefix, name + ".", c) && static_cast<size_t>(c.record) < Rows(data, kind).count;
  };
  s.bind = [kind](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<RowRecord>(data, text, kind, c.record);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeSet(Kind::MobileIds));
  RegisterFieldSet(MakeSet(Kind::Sites));
}

}  // namespace

DirectoryList Rows(RadioData& data, Kind kind) {
  DirectoryList l = ReadDirectoryList(data.buffers.Image(), static_cast<int>(kind), kRowSize);
  if (l.count > static_cast<size_t>(kMaxRows)) l.count = kMaxRows;
  return l;
}

bool RowUsed(RadioData& data, Kind kind, int row) {
  const DirectoryList rows = Rows(data, kind);
  if (row < 0 || static_cast<size_t>(row) >= rows.count) return false;
  return !FirstFieldEmpty(data.buffers.Image(), kind, rows.Row(static_cast<size_t>(row)));
}

const std::vector<FieldDescriptor>& Fields(Kind kind) {
  static const std::vector<FieldDescriptor> mobile = MobileTable();
  static const std::vector<FieldDescriptor> sites = SiteTable();
  return kind == Kind::MobileIds ? mobile : sites;
}

const FieldDescriptor* ByKey(Kind kind, const std::string& key) {
  for (const FieldDescriptor& d : Fields(kind))
    if (d.key == key) return &d;
  return nullptr;
}

long RowRecord::Locator::Locate(const FormContext& ctx, RecordBase base) const {
  if (base != RecordBase::ListRow) return -1;
  const DirectoryList rows = Rows(ctx.data, kind_);
  if (ctx.cursor.record < 0 || static_cast<size_t>(ctx.cursor.record) >= rows.count) return -1;
  return static_cast<long>(rows.Row(static_cast<size_t>(ctx.cursor.record)));
}

RowRecord::RowRecord(RadioData& data, TextTable& text, Kind kind, int row)
    : kind_(kind), locator_(kind), ctx_{data, text, data.votingSwitch, {-1, row}, &locator_} {}

bool RowRecord::StoreText(const FieldDescriptor& d, std::string& text) {
  const long at = locator_.Locate(ctx_, RecordBase::ListRow);
  if (at < 0) return false;
  if (!d.recordKey) {
    if (!RowUsed(ctx_.data, kind_, ctx_.cursor.record)) return false;  // a row comes with its first field
    return FormEngine::StoreText(ctx_, d, text);
  }
  ByteArea image = ctx_.data.Image();
  const size_t row = static_cast<size_t>(at);
  if (text.find_first_not_of(" \t") == std::string::npos) {
    image.fill(row, kRowSize, 0xFF);  // an empty first field clears the row
    text.clear();
    return true;
  }
  if (FirstFieldEmpty(image, kind_, row)) {
    // A new row: a zero-filled name, no channel, NSID 0.
    image.fill(row, kRowSize, 0xFF);
    image.fill(row + kName, rec::kNameBytes, 0x00);
    if (kind_ == Kind::Sites) image.setU8(row + kNsid, 0);
  }
  FormEngine::StoreText(ctx_, d, text);
  return true;
}

void ClearRows(RadioData& data, Kind kind, int first, int last) {
  const DirectoryList rows = Rows(data, kind);
  ByteArea image = data.Image();
  for (int r = std::max(first, 0); r <= last && static_cast<size_t>(r) < rows.count; ++r)
    image.fill(rows.Row(static_cast<size_t>(r)), kRowSize, 0xFF);
}

void RegisterPassPortListFieldSets() { RegisterTheseSets(); }

}  // namespace vb420::pplist
