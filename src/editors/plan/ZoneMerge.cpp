// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/plan/ZoneMerge.h"

#include <algorithm>
#include <mutex>

#include "data/FieldCodec.h"
#include "editors/zones/ZoneFixups.h"
#include "lang/TextTable.h"

namespace vb420 {

using namespace zones;

namespace {

constexpr int kMsgNoRoom = 275;
constexpr int kMsgLimit = 299;
constexpr int kMsgDamaged = 281;
constexpr int kMsgNotMerged = 180;
constexpr int kMsgEmptyAssigned = 181;
constexpr int kMsgTwice = 521;

int HeaderBytes(int cls) {
  return cls == kClassConv ? kConvHeader : cls == kClassLtr ? kLtrHeader : cls == kClassPassPort ? kPassPortHeader : 0;
}
int RecordBytes(int cls) { return cls == kClassConv ? kChannelSize : cls == kClassNone ? 0 : kGroupSize; }

// Channels or groups of a sound block (0xFF counts none).
int BlockRecords(const std::vector<uint8_t>& b) {
  const uint8_t c = b.size() > rec::kRecordCount ? b[rec::kRecordCount] : 0xFF;
  return c == 0xFF ? 0 : c;
}
int BlockRepeaters(const std::vector<uint8_t>& b, int cls) {
  if (cls != kClassLtr || b.size() <= rec::ltr::kRepeaterCount) return 0;
  const uint8_t c = b[rec::ltr::kRepeaterCount];
  return c == 0xFF ? 0 : c;
}
// Records that count toward the limit of 512.
int LimitCount(int cls, int records) { return cls == kClassConv || cls == kClassLtr ? records : 0; }

}  // namespace

int MergeMessage(MergeResult r) {
  switch (r) {
    case MergeResult::NoRoom: return kMsgNoRoom;
    case MergeResult::ChannelLimit: return kMsgLimit;
    case MergeResult::Damaged: return kMsgDamaged;
    default: return 0;
  }
}

bool ZoneBlockSound(const std::vector<uint8_t>& b) {
  if (b.size() < 2) return false;
  const int cls = ClassOfType(b[rec::kZoneType]);
  const int header = HeaderBytes(cls);
  if (cls == kClassNone || b.size() < static_cast<size_t>(header)) return false;
  const int records = BlockRecords(b);
  const int reps = BlockRepeaters(b, cls);
  if (records > kMaxRecords || reps > kMaxRepeaters) return false;
  const size_t size = static_cast<size_t>(header + records * RecordBytes(cls) + reps * kRepeaterSize);
  if (size != b.size()) return false;
  int last = 0;
  for (int i = 0; i < records; ++i) {
    const int n = b[static_cast<size_t>(header + i * RecordBytes(cls))];
    if (n <= last || n > kMaxRecords) return false;
    last = n;
  }
  last = 0;
  for (int i = 0; i < reps; ++i) {
    const int n = b[static_cast<size_t>(header + records * RecordBytes(cls) + i * kRepeaterSize)];
    if (n <= last || n > kMaxRepeaters) return false;
    last = n;
  }
  return true;
}

ZoneCopy ReadZoneCopy(CZoneMemory& zones, int zone) {
  ZoneCopy c;
  c.sourceZone = zone;
  const ZoneLayout z = zones.ZoneInfo(zone);
  ByteArea ext = zones.Data().Ext();
  c.checkBox = ext.bit(kExtZoneBits + static_cast<size_t>(zone / 8), zone % 8) ? 1 : 0;
  c.perZoneByte = ext.u8(kExtZoneBytes + static_cast<size_t>(zone));
  ext.read(kExtZoneLists + 16 * static_cast<size_t>(zone), c.record.data(), c.record.size());
  c.scramblerBit = ext.bit(kExtEntryBits + static_cast<size_t>(zone / 8), zone % 8) ? 1 : 0;
  c.scramblerCode = ext.u8(kExtEntryBytes + static_cast<size_t>(zone));
  // A damaged zone cannot be carried: it is copied as no zone.
  if (!z.exists || z.damaged || z.offset < 0 || z.size <= 0) return c;
  c.cls = z.cls;
  c.block.resize(static_cast<size_t>(z.size));
  zones.Data().Image().read(static_cast<size_t>(z.offset), c.block.data(), c.block.size());
  const int first = zones.FirstGlobal(zone);
  for (int i = 0; i < z.records; ++i) c.perChannel.push_back(zones.ReadPerChannel(first + i));
  return c;
}

MergeResult WriteZoneCopy(CZoneMemory& zones, int zone, const ZoneCopy& copy) {
  if (zone < 0 || zone >= kZoneCount) return MergeResult::Done;
  if (copy.Exists() && !ZoneBlockSound(copy.block)) return MergeResult::Damaged;
  const ZoneLayout target = zones.ZoneInfo(zone);
  const int cls = copy.Exists() ? ClassOfType(copy.block[rec::kZoneType]) : kClassNone;
  const int records = copy.Exists() ? BlockRecords(copy.block) : 0;
  const int targetSize = target.exists ? target.size : 0;
  if (zones.FreeBytes() + targetSize < static_cast<int>(copy.block.size())) return MergeResult::NoRoom;
  const int targetCount = target.exists ? LimitCount(target.cls, target.records) : 0;
  if (zones.TotalChannels() + LimitCount(cls, records) - targetCount > kChannelLimit) return MergeResult::ChannelLimit;

  if (target.exists) (void)zones.ChangeZone(zone, kClassNone);  // deleting a zone always succeeds
  ByteArea image = zones.Data().Image();
  image.setU16le(kTable + 2 * static_cast<size_t>(zone), 0xFFFF);
  if (!copy.Exists()) return MergeResult::Done;

  const ZoneResult made = zones.CreateZone(zone, copy.block[rec::kZoneType]);
  if (made == ZoneResult::NoRoom) return MergeResult::NoRoom;
  if (made == ZoneResult::ChannelLimit) return MergeResult::ChannelLimit;
  const int header = HeaderBytes(cls);
  const int rs = RecordBytes(cls);
  for (int i = 0; i < records; ++i) {
    const auto from = copy.block.begin() + header + i * rs;
    const std::vector<uint8_t> bytes(from, from + rs);
    const PerChannelValues v = static_cast<size_t>(i) < copy.perChannel.size() ? copy.perChannel[static_cast<size_t>(i)]
                                                                               : PerChannelValues{};
    const InsertResult r = zones.InsertCopiedRecord(zone, bytes[0] - 1, bytes, v);
    if (r == InsertResult::NoRoom) return MergeResult::NoRoom;
    if (r == InsertResult::ChannelLimit) return MergeResult::ChannelLimit;
    if (r != InsertResult::Done) return MergeResult::Damaged;
  }
  const int reps = BlockRepeaters(copy.block, cls);
  for (int i = 0; i < reps; ++i) {
    const size_t from = static_cast<size_t>(header + records * rs + i * kRepeaterSize);
    const int number = copy.block[from] - 1;
    if (zones.InsertRepeater(zone, number) != ZoneResult::Done) return MergeResult::NoRoom;
    const int at = zones.FindRepeater(zone, number);
    if (at >= 0) image.write(static_cast<size_t>(at), copy.block.data() + from, kRepeaterSize);
  }
  // The header as it was, but for the zone number and what the numbering
  // and the counts say now.
  const int at = zones.ZoneOffset(zone);
  if (at >= 0) {
    std::vector<uint8_t> head(copy.block.begin(), copy.block.begin() + header);
    image.read(static_cast<size_t>(at) + rec::kFirstGlobal, head.data() + rec::kFirstGlobal, 2);
    image.write(static_cast<size_t>(at), head.data(), head.size());
    image.setU8(static_cast<size_t>(at) + rec::kZoneNumber, static_cast<uint8_t>(zone + 1));
  }
  ByteArea ext = zones.Data().Ext();
  ext.setBit(kExtZoneBits + static_cast<size_t>(zone / 8), zone % 8, copy.checkBox != 0);
  ext.setU8(kExtZoneBytes + static_cast<size_t>(zone), copy.perZoneByte);
  ext.write(kExtZoneLists + 16 * static_cast<size_t>(zone), copy.record.data(), copy.record.size());
  ext.setBit(kExtEntryBits + static_cast<size_t>(zone / 8), zone % 8, copy.scramblerBit != 0);
  ext.setU8(kExtEntryBytes + static_cast<size_t>(zone), copy.scramblerCode);
  zones.UpdateGlobalNumbers();
  zones.UpdateBlockRange();
  return MergeResult::Done;
}

void FixUpPastedZones(CZoneMemory& zones, int firstZone, int lastZone) {
  RadioData& data = zones.Data();
  if (data.model.IsSecondGen()) ZoneGenerationFixup(data);
  if (IsHighPower(data.model.ModelNumber())) LowerConventionalPower(data);
  RecomputeChannelMarks(data);
  ByteArea image = data.Image();
  const uint8_t filter = image.u8(img::kSignallingIdMode);
  for (int z = std::max(0, firstZone); z <= std::min(lastZone, kZoneCount - 1); ++z) {
    if (zones.ZoneClass(z) != kClassLtr) continue;
    for (int n : zones.RecordNumbers(z)) {
      const int rec = zones.FindRecord(z, n);
      if (rec < 0) continue;
      const size_t at = static_cast<size_t>(rec) + rec::group::kField7;
      const uint8_t v = image.u8(at);
      if ((filter != '2' && v == '4') || (filter == '2' && v != 0xFF && v != '4')) image.setU8(at, 0xFF);
    }
  }
}

// ---- entries ------------------------------------------------------------------

bool SlotUsed(const MergeSlots& slots, int slot) {
  return slot >= 0 && slot < MergeSlots::kSlots && !slots.entries[static_cast<size_t>(slot)].block.empty();
}

ZoneCopy SlotCopy(const MergeSlots& slots, int slot) {
  ZoneCopy c;
  if (slot < 0 || slot >= MergeSlots::kSlots) return c;
  const MergeSlot& s = slots.entries[static_cast<size_t>(slot)];
  const size_t i = static_cast<size_t>(slot);
  c.block = s.block;
  c.cls = c.block.size() > 1 ? ClassOfType(c.block[rec::kZoneType]) : kClassNone;
  c.checkBox = slots.marks[1][i] ? 1 : 0;
  c.perZoneByte = s.mark;
  c.record = s.name;
  c.sourceZone = slots.marks[2][i] >= 1 && slots.marks[2][i] <= kZoneCount ? slots.marks[2][i] - 1 : -1;
  c.scramblerBit = (s.perChannel[0][0] >> 2) & 1;
  c.scramblerCode = s.perChannel[2][0];
  const int records = std::min(BlockRecords(c.block), kMaxRecords);
  for (int r = 0; r < records; ++r) {
    const size_t k = static_cast<size_t>(r);
    PerChannelValues v;
    v.bitA = s.perChannel[0][k] & 1;
    v.bitB = (s.perChannel[0][k] >> 1) & 1;
    v.chanByte = s.perChannel[1][k];
    c.perChannel.push_back(v);
  }
  return c;
}

void SetSlot(MergeSlots& slots, int slot, const ZoneCopy& c) {
  if (slot < 0 || slot >= MergeSlots::kSlots) return;
  const size_t i = static_cast<size_t>(slot);
  MergeSlot s;
  s.block = c.block;
  s.mark = c.perZoneByte;
  s.name = c.record;
  for (size_t r = 0; r < c.perChannel.size() && r < 250; ++r) {
    const PerChannelValues& v = c.perChannel[r];
    s.perChannel[0][r] = static_cast<uint8_t>((v.bitA ? 1 : 0) | (v.bitB ? 2 : 0));
    s.perChannel[1][r] = v.chanByte;
  }
  // The zone's own scrambler values ride in the first entry's spare places.
  s.perChannel[0][0] = static_cast<uint8_t>(s.perChannel[0][0] | (c.scramblerBit ? 4 : 0));
  s.perChannel[2][0] = c.scramblerCode;
  slots.entries[i] = std::move(s);
  slots.marks[0][i] = static_cast<uint8_t>(c.Exists() ? c.cls : kClassNone);
  slots.marks[1][i] = c.checkBox ? 1 : 0;
  slots.marks[2][i] = static_cast<uint8_t>(c.sourceZone >= 0 ? c.sourceZone + 1 : 0);
  // A new content keeps the entry's assignment: the user placed the entry,
  // not the zone in it.
}

void ClearSlot(MergeSlots& slots, int slot) {
  if (slot < 0 || slot >= MergeSlots::kSlots) return;
  const size_t i = static_cast<size_t>(slot);
  slots.entries[i] = MergeSlot{};
  for (auto& m : slots.marks) m[i] = 0;
}

// ---- the copy buffer ------------------------------------------------------------

void CZoneCopyBuffer::CopyZones(CZoneMemory& zones, int first, int last) {
  Clear();
  first = std::max(first, 0);
  last = std::min(last, kZoneCount - 1);
  for (int z = first; z <= last; ++z) zones_.push_back(ReadZoneCopy(zones, z));
  if (!zones_.empty()) {
    first_ = first;
    last_ = last;
  }
}

void CZoneCopyBuffer::CopyEntries(const MergeSlots& slots, int first, int last) {
  Clear();
  first = std::max(first, 0);
  last = std::min(last, MergeSlots::kSlots - 1);
  for (int s = first; s <= last; ++s) zones_.push_back(SlotCopy(slots, s));
  if (!zones_.empty()) {
    first_ = zones_.front().sourceZone;
    last_ = zones_.back().sourceZone;
  }
}

MergeResult CZoneCopyBuffer::PasteZones(CZoneMemory& zones, int at, int* written) const {
  int n = 0;
  MergeResult r = MergeResult::Done;
  int z = at;
  for (const ZoneCopy& c : zones_) {
    if (z < 0 || z >= kZoneCount) break;
    r = WriteZoneCopy(zones, z, c);
    if (r != MergeResult::Done) break;
    ++n;
    ++z;
  }
  if (n > 0) FixUpPastedZones(zones, at, at + n - 1);
  if (written) *written = n;
  return r;
}

int CZoneCopyBuffer::PasteEntries(MergeSlots& slots, int at) const {
  int n = 0;
  for (const ZoneCopy& c : zones_) {
    const int s = at + n;
    if (s < 0 || s >= MergeSlots::kSlots) break;
    if (c.Exists()) SetSlot(slots, s, c);
    else {
      const int keep = AssignedZone(slots, s);
      ClearSlot(slots, s);
      AssignZone(slots, s, keep);
    }
    ++n;
  }
  return n;
}

int DeleteZones(CZoneMemory& zones, int first, int last) {
  int n = 0;
  for (int z = std::min(last, kZoneCount - 1); z >= std::max(first, 0); --z) {
    if (!zones.ZoneExists(z)) continue;
    (void)zones.ChangeZone(z, kClassNone);  // deleting a zone always succeeds
    ++n;
  }
  return n;
}

void DeleteEntries(MergeSlots& slots, int first, int last) {
  for (int s = std::max(first, 0); s <= std::min(last, MergeSlots::kSlots - 1); ++s) ClearSlot(slots, s);
}

// ---- assignments ------------------------------------------------------------------

int AssignedZone(const MergeSlots& slots, int slot) {
  if (slot < 0 || slot >= MergeSlots::kSlots) return -1;
  const int v = slots.marks[3][static_cast<size_t>(slot)];
  return v >= 1 && v <= kZoneCount ? v - 1 : -1;
}

void AssignZone(MergeSlots& slots, int slot, int zone) {
  if (slot < 0 || slot >= MergeSlots::kSlots) return;
  slots.marks[3][static_cast<size_t>(slot)] = static_cast<uint8_t>(zone >= 0 && zone < kZoneCount ? zone + 1 : 0);
}

int EntryForZone(const MergeSlots& slots, int zone) {
  for (int s = 0; s < MergeSlots::kSlots; ++s)
    if (AssignedZone(slots, s) == zone) return s;
  return -1;
}

void AssignEntryToZone(MergeSlots& slots, int zone, int slot) {
  if (zone < 0 || zone >= kZoneCount) return;
  for (int s = 0; s < MergeSlots::kSlots; ++s)
    if (AssignedZone(slots, s) == zone) AssignZone(slots, s, -1);
  if (slot >= 0 && slot < MergeSlots::kSlots) AssignZone(slots, slot, zone);
}

MergeResult MergeAssigned(CZoneMemory& zones, MergeSlots& slots, int* stoppedAt) {
  if (stoppedAt) *stoppedAt = -1;
  int lo = kZoneCount, hi = -1;
  MergeResult r = MergeResult::Done;
  for (int s = 0; s < MergeSlots::kSlots; ++s) {
    const int z = AssignedZone(slots, s);
    if (z < 0) continue;
    r = WriteZoneCopy(zones, z, SlotCopy(slots, s));
    if (r != MergeResult::Done) {
      if (stoppedAt) *stoppedAt = s;
      break;
    }
    AssignZone(slots, s, -1);
    lo = std::min(lo, z);
    hi = std::max(hi, z);
  }
  if (hi >= 0) FixUpPastedZones(zones, lo, hi);
  return r;
}

void CheckMergeData(RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
  const MergeSlots& slots = data.mergeSlots;
  std::array<int, kZoneCount> times{};
  for (int s = 0; s < MergeSlots::kSlots; ++s) {
    const int z = AssignedZone(slots, s);
    if (z < 0) continue;
    ++times[static_cast<size_t>(z)];
    const int entry = SlotUsed(slots, s) ? kMsgNotMerged : kMsgEmptyAssigned;
    out.push_back({0, "\"" + FillEntryText(text.Text(entry), {std::to_string(s + 1), std::to_string(z + 1)}) + "\""});
  }
  for (int z = 0; z < kZoneCount; ++z)
    if (times[static_cast<size_t>(z)] > 1)
      out.push_back({0, "\"" + FillEntryText(text.Text(kMsgTwice), {std::to_string(z + 1)}) + "\""});
}

void RegisterMergeWriteCheck() {
  static std::once_flag once;
  std::call_once(once, [] { RegisterWriteCheck("merge", kSlotZoneMerge, CheckMergeData); });
}

std::string MergeTypeText(uint8_t type, bool exists, TextTable& text) {
  if (!exists) return text.Text(528);
  switch (type) {
    case '0': return text.Text(529);
    case '1': return text.Text(530);
    case '2': return text.Text(533);
    case '3': return text.Text(532);
    case '4': return text.Text(531);
    case '5': return text.Text(1190);
    default: return text.Text(528);
  }
}

std::string BlockZoneName(const std::vector<uint8_t>& block, int nameWidth) {
  if (block.size() < 2) return {};
  const int cls = ClassOfType(block[rec::kZoneType]);
  const size_t at = cls == kClassConv ? rec::conv::kName : rec::ltr::kName;
  if (block.size() < at + 12) return {};
  return CFieldCodec::NameFromField(block.data() + at, nameWidth);
}

// ---- the window's columns ---------------------------------------------------------

namespace mergefields {

namespace {

using forms::ControlKind;
using forms::Encoding;
using forms::FieldDescriptor;
using forms::FormContext;

FieldDescriptor Shown(std::string key, int label, std::function<std::string(const FormContext&)> show) {
  FieldDescriptor d{.key = std::move(key), .labelEntry = label, .kind = ControlKind::Static, .encoding = Encoding::Custom};
  d.customShow = std::move(show);
  return d;
}

std::string ZoneName(const FormContext& c) {
  CZoneMemory zm(c.data);
  const ZoneLayout L = zm.ZoneInfo(c.cursor.record);
  if (!L.exists || L.offset < 0) return {};
  std::vector<uint8_t> head(static_cast<size_t>(std::min(L.size, 32)));
  c.data.Image().read(static_cast<size_t>(L.offset), head.data(), head.size());
  return BlockZoneName(head, c.data.model.NameWidth());
}

FieldDescriptor Assignment(bool byEntry) {
  // By entry a zone number (up to three digits), by zone an entry number.
  FieldDescriptor d{.key = byEntry ? "zone" : "entry", .labelEntry = byEntry ? 526 : 527, .kind = ControlKind::Text,
                    .encoding = Encoding::Custom, .inputMode = 2, .maxLength = byEntry ? 3 : 2};
  d.customShow = [byEntry](const FormContext& c) {
    const MergeSlots& slots = c.data.mergeSlots;
    const int v = byEntry ? AssignedZone(slots, c.cursor.record) : EntryForZone(slots, c.cursor.record);
    return v >= 0 ? std::to_string(v + 1) : std::string();
  };
  d.customStore = [byEntry](FormContext& c, std::string& text) {
    int n = 0;
    for (const char ch : text) {
      if (ch == ' ') continue;
      if (ch < '0' || ch > '9' || n > 1000) {
        c.refused = true;
        return;
      }
      n = n * 10 + (ch - '0');
    }
    if (n > (byEntry ? zones::kZoneCount : MergeSlots::kSlots)) {
      c.refused = true;  // the cell keeps what it had
      return;
    }
    MergeSlots& slots = c.data.mergeSlots;
    if (byEntry) AssignZone(slots, c.cursor.record, n - 1);
    else AssignEntryToZone(slots, c.cursor.record, n - 1);
  };
  return d;
}

}  // namespace

const std::vector<FieldDescriptor>& ZoneListFields() {
  static const std::vector<FieldDescriptor> fields = {
      Shown("type", 379,
            [](const FormContext& c) {
              CZoneMemory zm(c.data);
              return MergeTypeText(zm.ZoneType(c.cursor.record), zm.ZoneExists(c.cursor.record), c.text);
            }),
      Shown("name", 462, ZoneName),
  };
  return fields;
}

const std::vector<FieldDescriptor>& EntryListFields() {
  static const std::vector<FieldDescriptor> fields = {
      Shown("entry", 462, [](const FormContext& c) {
        const MergeSlots& slots = c.data.mergeSlots;
        const int s = c.cursor.record;
        if (!SlotUsed(slots, s)) return MergeTypeText(0xFF, false, c.text);
        const auto& block = slots.entries[static_cast<size_t>(s)].block;
        const std::string type = MergeTypeText(block[1], true, c.text);
        std::string name = BlockZoneName(block, c.data.model.NameWidth());
        while (!name.empty() && name.back() == ' ') name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(name.begin());
        return name.empty() ? type : type + " - " + name;
      }),
  };
  return fields;
}

const FieldDescriptor& AssignmentField(bool byEntry) {
  static const FieldDescriptor byZoneField = Assignment(false);
  static const FieldDescriptor byEntryField = Assignment(true);
  return byEntry ? byEntryField : byZoneField;
}

}  // namespace mergefields

}  // namespace vb420
