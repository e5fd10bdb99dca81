// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ZoneMemory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/RadioData.h"
#include "data/SignallingLayout.h"
#include "editors/zones/ZoneText.h"
#include "lang/TextTable.h"

namespace vb420 {

using namespace zones;

namespace {

// Size of the per-channel tables in entries.
constexpr int kChanEntries = 512;

bool GetBit(const ByteArea& a, size_t base, int n) { return a.bit(base + static_cast<size_t>(n / 8), n % 8); }
void SetBitN(ByteArea& a, size_t base, int n, bool v) { a.setBit(base + static_cast<size_t>(n / 8), n % 8, v); }

// A table of one bit per entry, bit n in byte n / 8 from the low end, read
// and written in place: every record inserted or removed moves the bits of
// all the records after it.
class BitTable {
 public:
  BitTable(ByteArea& a, size_t base, int entries)
      : p_(a.ptr(base, static_cast<size_t>((entries + 7) / 8))), entries_(entries) {}
  bool Valid() const { return p_ != nullptr; }
  bool Get(int n) const { return (p_[n >> 3] >> (n & 7)) & 1; }
  void Set(int n, bool on) {
    const auto mask = static_cast<uint8_t>(1u << (n & 7));
    p_[n >> 3] = static_cast<uint8_t>(on ? (p_[n >> 3] | mask) : (p_[n >> 3] & ~mask));
  }
  int Entries() const { return entries_; }

 private:
  uint8_t* p_;
  int entries_;
};

void InsertBit(ByteArea& a, size_t base, int entries, int pos, bool v) {
  BitTable t(a, base, entries);
  if (!t.Valid() || pos < 0 || pos >= entries) return;
  for (int i = entries - 1; i > pos; --i) t.Set(i, t.Get(i - 1));
  t.Set(pos, v);
}

// Removes `count` entries from `pos` on: the later ones move down and the
// freed ones at the end read as set (unused), as `count` single removals at
// `pos` would leave them, in one pass.
void RemoveBits(ByteArea& a, size_t base, int entries, int pos, int count) {
  BitTable t(a, base, entries);
  if (!t.Valid() || pos < 0 || pos >= entries || count <= 0) return;
  count = std::min(count, entries - pos);
  for (int i = pos; i < entries - count; ++i) t.Set(i, t.Get(i + count));
  for (int i = entries - count; i < entries; ++i) t.Set(i, true);
}

void InsertByte(ByteArea& a, size_t base, int entries, int pos, uint8_t v) {
  uint8_t* p = a.ptr(base, static_cast<size_t>(entries));
  if (!p || pos < 0 || pos >= entries) return;
  std::memmove(p + pos + 1, p + pos, static_cast<size_t>(entries - pos - 1));
  p[pos] = v;
}

void RemoveBytes(ByteArea& a, size_t base, int entries, int pos, int count) {
  uint8_t* p = a.ptr(base, static_cast<size_t>(entries));
  if (!p || pos < 0 || pos >= entries || count <= 0) return;
  count = std::min(count, entries - pos);
  std::memmove(p + pos, p + pos + count, static_cast<size_t>(entries - pos - count));
  std::memset(p + entries - count, 0xFF, static_cast<size_t>(count));
}

bool ValidZone(int zone) { return zone >= 0 && zone < kZoneCount; }

std::string Hex(unsigned v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", width, v);
  return buf;
}

}  // namespace

int ClassOfType(uint8_t type) {
  switch (type) {
    case '0': return kClassLtr;
    case '1': case '2': case '3': case '4': return kClassConv;
    case '5': return kClassPassPort;
    default: return kClassNone;
  }
}

ByteArea CZoneMemory::Image() const { return data_.buffers.Image(); }
ByteArea CZoneMemory::Ext() const { return data_.buffers.Ext(); }

int CZoneMemory::HeaderSize(int cls) {
  switch (cls) {
    case kClassLtr: return kLtrHeader;
    case kClassConv: return kConvHeader;
    case kClassPassPort: return kPassPortHeader;
    default: return 0;
  }
}

int CZoneMemory::RecordSize(int cls) {
  switch (cls) {
    case kClassLtr: return kGroupSize;
    case kClassConv: return kChannelSize;
    case kClassPassPort: return kGroupSize;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------
// The walk over the area

std::array<ZoneLayout, kZoneCount> CZoneMemory::Layout() const { return Walk(kZoneCount - 1); }

// Zones are packed in order, so a zone's place is known once every zone
// before it has been walked: one zone's layout needs no walk past it.
std::array<ZoneLayout, kZoneCount> CZoneMemory::Walk(int last) const {
  std::array<ZoneLayout, kZoneCount> out{};
  const ByteArea image = Image();
  int off = static_cast<int>(kAreaStart);
  const int end = static_cast<int>(kAreaEnd);
  for (int z = 0; z <= last && z < kZoneCount; ++z) {
    ZoneLayout& L = out[z];
    L.exists = image.u16le(kTable + 2 * static_cast<size_t>(z)) != 0xFFFF;
    if (!L.exists) continue;
    L.offset = off;
    const int room = end - off;
    // The type byte must lie inside the area before it can be believed.
    const uint8_t type = room >= 2 ? image.u8(static_cast<size_t>(off) + rec::kZoneType) : 0xFF;
    L.cls = ClassOfType(type);
    const int hdr = HeaderSize(L.cls);
    if (L.cls == kClassNone || hdr > room) {
      L.cls = room >= 2 ? L.cls : kClassNone;
      L.damaged = true;
      L.size = (L.cls == kClassNone) ? 0 : room;
      off += L.size;
      continue;
    }
    const int rs = RecordSize(L.cls);
    const uint8_t countByte = image.u8(static_cast<size_t>(off) + rec::kRecordCount);
    int count = countByte == 0xFF ? 0 : countByte;
    if (count > kMaxRecords) L.damaged = true;
    int reps = 0;
    if (L.cls == kClassLtr) {
      const uint8_t r = image.u8(static_cast<size_t>(off) + rec::ltr::kRepeaterCount);
      reps = r == 0xFF ? 0 : r;
      if (reps > kMaxRepeaters) L.damaged = true;
    }
    const int raw = hdr + count * rs + reps * kRepeaterSize;
    if (raw > room) {
      // The header claims more than the area holds: keep what fits.
      L.damaged = true;
      L.size = room;
      L.records = std::min(count, (room - hdr) / rs);
      L.repeaters = std::min(reps, (room - hdr - L.records * rs) / kRepeaterSize);
    } else {
      L.size = raw;
      L.records = count;
      L.repeaters = reps;
    }
    off += L.size;
  }
  return out;
}

ZoneLayout CZoneMemory::ZoneInfo(int zone) const {
  if (!ValidZone(zone)) return {};
  return Walk(zone)[zone];
}

int CZoneMemory::ZoneOffset(int zone) const { return ZoneInfo(zone).offset; }
bool CZoneMemory::ZoneExists(int zone) const {
  return ValidZone(zone) && Image().u16le(kTable + 2 * static_cast<size_t>(zone)) != 0xFFFF;
}
uint8_t CZoneMemory::ZoneType(int zone) const {
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists || z.offset + 2 > static_cast<int>(kAreaEnd)) return 0xFF;
  return Image().u8(static_cast<size_t>(z.offset) + rec::kZoneType);
}
int CZoneMemory::ZoneClass(int zone) const { return ZoneInfo(zone).cls; }
int CZoneMemory::ZoneSize(int zone) const { return ZoneInfo(zone).size; }
bool CZoneMemory::ZoneDamaged(int zone) const { return ZoneInfo(zone).damaged; }
int CZoneMemory::RecordCount(int zone) const { return ZoneInfo(zone).records; }
int CZoneMemory::RepeaterCount(int zone) const { return ZoneInfo(zone).repeaters; }

int CZoneMemory::FreeBytes() const {
  int used = 0;
  for (const auto& z : Layout())
    if (z.exists) used += z.size;
  return std::max(0, static_cast<int>(kAreaSize) - used);
}

int CZoneMemory::TotalChannels() const {
  int n = 0;
  for (const auto& z : Layout())
    if (z.exists && (z.cls == kClassConv || z.cls == kClassLtr)) n += z.records;
  return n;
}

int CZoneMemory::FirstGlobal(int zone) const {
  if (!ValidZone(zone)) return -1;
  const auto layout = Layout();
  int n = 0;
  for (int z = 0; z < zone; ++z)
    if (layout[z].exists) n += layout[z].records;
  return n;
}

int CZoneMemory::RecordPosition(const ZoneLayout& z, int number, int* insertAt) const {
  const ByteArea image = Image();
  const int hdr = HeaderSize(z.cls);
  const int rs = RecordSize(z.cls);
  if (insertAt) *insertAt = z.records;
  bool placed = false;
  for (int i = 0; i < z.records; ++i) {
    const int n = image.u8(static_cast<size_t>(z.offset + hdr + i * rs));
    if (!placed && n >= number + 1) {
      if (insertAt) *insertAt = i;
      placed = true;
    }
    if (n == number + 1) return i;
  }
  return -1;
}

std::vector<int> CZoneMemory::RecordNumbers(int zone) const {
  std::vector<int> out;
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists || z.cls == kClassNone) return out;
  const ByteArea image = Image();
  const int hdr = HeaderSize(z.cls), rs = RecordSize(z.cls);
  for (int i = 0; i < z.records; ++i) out.push_back(image.u8(static_cast<size_t>(z.offset + hdr + i * rs)) - 1);
  return out;
}

std::vector<int> CZoneMemory::RepeaterNumbers(int zone) const {
  std::vector<int> out;
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists || z.cls != kClassLtr) return out;
  const ByteArea image = Image();
  const int base = z.offset + kLtrHeader + z.records * kGroupSize;
  for (int i = 0; i < z.repeaters; ++i) out.push_back(image.u8(static_cast<size_t>(base + i * kRepeaterSize)) - 1);
  return out;
}

int CZoneMemory::FindRecord(int zone, int number) const {
  if (number < 0 || number >= kMaxRecords) return -1;
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists || z.cls == kClassNone) return -1;
  const int pos = RecordPosition(z, number, nullptr);
  if (pos < 0) return -1;
  return z.offset + HeaderSize(z.cls) + pos * RecordSize(z.cls);
}

int CZoneMemory::FindRepeater(int zone, int number) const {
  if (number < 0 || number >= kMaxRepeaters) return -1;
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists || z.cls != kClassLtr) return -1;
  const ByteArea image = Image();
  const int base = z.offset + kLtrHeader + z.records * kGroupSize;
  for (int i = 0; i < z.repeaters; ++i)
    if (image.u8(static_cast<size_t>(base + i * kRepeaterSize)) == number + 1) return base + i * kRepeaterSize;
  return -1;
}

bool CZoneMemory::RecordExists(int zone, int number) const {
  if (number == -1) return ZoneExists(zone);
  return FindRecord(zone, number) >= 0;
}

int CZoneMemory::GlobalChannel(int zone, int number) const {
  if (!ValidZone(zone) || number < 0 || number >= kMaxRecords) return -1;
  const auto layout = Layout();
  const ZoneLayout& z = layout[zone];
  if (!z.exists || z.cls == kClassNone) return -1;
  const int pos = RecordPosition(z, number, nullptr);
  if (pos < 0) return -1;
  int n = 0;
  for (int i = 0; i < zone; ++i)
    if (layout[i].exists) n += layout[i].records;
  return n + pos;
}

// ---------------------------------------------------------------------------
// Gaps

int CZoneMemory::OpenGap(int zone, size_t at, int n, bool channelCheck,
                         const std::array<ZoneLayout, kZoneCount>& before) {
  int used = 0;
  int channels = 0;
  for (const auto& z : before) {
    if (!z.exists) continue;
    used += z.size;
    if (z.cls == kClassConv || z.cls == kClassLtr) channels += z.records;
  }
  const int freeBytes = static_cast<int>(kAreaSize) - used;
  if (n < 0 || freeBytes < n) return -1;
  if (channelCheck && channels >= kChannelLimit) return -2;
  if (at < kAreaStart || at > kAreaEnd || static_cast<size_t>(n) > kAreaEnd - at) return -1;
  ByteArea image = Image();
  uint8_t* p = image.ptr(kAreaStart, kAreaSize);
  const size_t rel = at - kAreaStart;
  std::memmove(p + rel + n, p + rel, kAreaSize - rel - static_cast<size_t>(n));
  std::memset(p + rel, 0xFF, static_cast<size_t>(n));
  // The later blocks moved up; their table words follow them. They are
  // written from the walk rather than by adding to the old word, so that a
  // damaged word cannot wrap round into 0xFFFF and lose its zone.
  for (int z = zone + 1; z < kZoneCount; ++z)
    if (before[z].exists) image.setU16le(kTable + 2 * static_cast<size_t>(z), static_cast<uint16_t>(before[z].offset + n));
  return 1;
}

void CZoneMemory::CloseGap(int zone, size_t at, int n, const std::array<ZoneLayout, kZoneCount>& before) {
  if (n <= 0 || at < kAreaStart || at > kAreaEnd || static_cast<size_t>(n) > kAreaEnd - at) return;
  ByteArea image = Image();
  uint8_t* p = image.ptr(kAreaStart, kAreaSize);
  const size_t rel = at - kAreaStart;
  std::memmove(p + rel, p + rel + n, kAreaSize - rel - static_cast<size_t>(n));
  std::memset(p + kAreaSize - n, 0xFF, static_cast<size_t>(n));
  for (int z = zone + 1; z < kZoneCount; ++z)
    if (before[z].exists) image.setU16le(kTable + 2 * static_cast<size_t>(z), static_cast<uint16_t>(before[z].offset - n));
}

void CZoneMemory::UpdateBlockRange() {
  ByteArea image = Image();
  bool any = false;
  int total = 0;
  for (const auto& z : Layout()) {
    if (!z.exists) continue;
    any = true;
    total += z.size;
  }
  if (!any) {
    image.setU16le(kFirstBlockWord, 0xFFFF);
    image.setU16le(kLastBlockWord, 0xFFFF);
    return;
  }
  const int first = static_cast<int>(kAreaStart / 256);
  image.setU16le(kFirstBlockWord, static_cast<uint16_t>(first));
  image.setU16le(kLastBlockWord, static_cast<uint16_t>(first + (total > 0 ? (total - 1) / 256 : 0)));
}

void CZoneMemory::UpdateGlobalNumbers() {
  ByteArea image = Image();
  int next = 1;
  for (const auto& z : Layout()) {
    if (!z.exists || z.cls == kClassNone || z.size < 6) continue;
    // A zone that never held a record keeps its +2 as it was created.
    if (image.u8(static_cast<size_t>(z.offset) + rec::kRecordCount) == 0xFF) continue;
    image.setU16le(static_cast<size_t>(z.offset) + rec::kFirstGlobal, static_cast<uint16_t>(next));
    next += z.records;
  }
}

// ---------------------------------------------------------------------------
// Per-channel tables

PerChannelValues CZoneMemory::ReadPerChannel(int global) const {
  PerChannelValues v;
  const ByteArea ext = Ext();
  if (global >= 0 && global < kChanEntries) {
    v.bitA = GetBit(ext, kExtChanBitsA, global);
    v.bitB = GetBit(ext, kExtChanBitsB, global);
    v.chanByte = ext.u8(kExtChanBytes + static_cast<size_t>(global));
  }
  return v;
}

void CZoneMemory::WritePerChannel(int global, const PerChannelValues& v) {
  ByteArea ext = Ext();
  if (global >= 0 && global < kChanEntries) {
    SetBitN(ext, kExtChanBitsA, global, v.bitA);
    SetBitN(ext, kExtChanBitsB, global, v.bitB);
    ext.setU8(kExtChanBytes + static_cast<size_t>(global), v.chanByte);
  }
}

void CZoneMemory::InsertPerChannel(int global, const PerChannelValues& v) {
  ByteArea ext = Ext();
  InsertBit(ext, kExtChanBitsA, kChanEntries, global, v.bitA);
  InsertBit(ext, kExtChanBitsB, kChanEntries, global, v.bitB);
  InsertByte(ext, kExtChanBytes, kChanEntries, global, v.chanByte);
}

void CZoneMemory::RemovePerChannel(int global, int count) {
  ByteArea ext = Ext();
  RemoveBits(ext, kExtChanBitsA, kChanEntries, global, count);
  RemoveBits(ext, kExtChanBitsB, kChanEntries, global, count);
  RemoveBytes(ext, kExtChanBytes, kChanEntries, global, count);
}

int ResultMessage(ZoneResult r) {
  switch (r) {
    case ZoneResult::NoRoom: return 275;
    case ZoneResult::ChannelLimit: return 299;
    default: return 0;
  }
}

int ResultMessage(InsertResult r) {
  switch (r) {
    case InsertResult::NoRoom: return 275;
    case InsertResult::ChannelLimit: return 299;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------
// Zones

void CZoneMemory::WriteZoneHeader(int zone, size_t at, uint8_t type) {
  ByteArea image = Image();
  const int cls = ClassOfType(type);
  const std::string number = FormatInt("%3d", zone + 1);
  image.setU8(at + rec::kZoneNumber, static_cast<uint8_t>(zone + 1));
  image.setU8(at + rec::kZoneType, type);
  if (cls == kClassConv) {
    image.setU16le(at + rec::kFirstGlobal, 0);
    image.setU8(at + rec::kRecordCount, 0xFF);
    image.writeText(at + rec::conv::kName, number, rec::kNameBytes);
    image.setU16le(at + rec::conv::kField7, 60);
    image.setU16le(at + rec::conv::kField8, 0xFFFF);
    image.setU16le(at + rec::conv::kField9, 0xFFFF);
    image.setU16le(at + rec::conv::kField10, 0xFFFF);
    const uint8_t b = image.u8(at + rec::conv::kOptions);
    image.setU8(at + rec::conv::kOptions, static_cast<uint8_t>((b & 0xC0) | 0x38));
  } else if (cls == kClassLtr) {
    image.setU16le(at + rec::kFirstGlobal, 0);
    image.setU8(at + rec::kRecordCount, 0xFF);
    image.setU8(at + rec::ltr::kRepeaterCount, 0);
    image.writeText(at + rec::ltr::kName, number, rec::kNameBytes);
    image.setU8(at + 0x20, 1);
    image.setU8(at + 0x21, 15);
    image.setU16le(at + 0x24, 60);
    image.setU16le(at + 0x26, 180);
    image.setU16le(at + rec::ltr::kOptions, static_cast<uint16_t>((image.u16le(at + rec::ltr::kOptions) & 0xF87E) | 2));
    image.setU8(at + rec::ltr::kZoneRepeater, 1);
    image.setBit(at + rec::ltr::kInvertedBit, 0, true);
  } else if (cls == kClassPassPort) {
    const bool uhf = data_.model.BandClass() == 1;
    image.setU16le(at + 2, 0xFFFF);
    image.setU8(at + 4, 0);
    image.writeText(at + 6, number, 12);
    image.setU8(at + 18, 15);
    image.setU8(at + 27, 1);
    image.setU16le(at + 28, 100);
    image.setU16le(at + 32, 0);
    image.setU8(at + 52, 4);
    image.setU16le(at + 73, 1);
    image.setU16le(at + 75, 65500);
    static const uint8_t kSearch[] = {10, 6, 15, 25, 70, 65, 75, 5, 0, 5, 5, 2, 16};  // +34..+46
    image.write(at + 34, kSearch, sizeof kSearch);
    image.setU8(at + 48, 0);
    image.setU8(at + 49, 0);
    image.setU8(at + 50, 0);
    image.setU8(at + 51, 20);
    image.fill(at + 53, 16, 0x00);
    // DFA band in bits 1-4 (5 on UHF, 0 on VHF); bit 0 and the channel bits cleared.
    image.setU16le(at + 69, static_cast<uint16_t>((uhf ? 5 : 0) << 1));
    image.setU16le(at + 71, static_cast<uint16_t>(image.u16le(at + 71) & ~0x0006));
    image.setU16le(at + 92, static_cast<uint16_t>(image.u16le(at + 92) & 0x001F));
    image.setU8(at + 77, 0x60);
    image.setU8(at + 78, static_cast<uint8_t>((image.u8(at + 78) & 0xC0) | 0x04));
    image.setU8(at + 79, 0x80);
    image.setU8(at + 80, static_cast<uint8_t>((image.u8(at + 80) & 0x0F) | 0x50));
    image.setU8(at + 81, static_cast<uint8_t>((image.u8(at + 81) & 0x88) | 0x26));
    image.setU8(at + 82, static_cast<uint8_t>(image.u8(at + 82) | 0xF0));
    image.setU8(at + 83, static_cast<uint8_t>(image.u8(at + 83) | 0xFC));
  }
}

ZoneResult CZoneMemory::CreateZone(int zone, uint8_t type) {
  if (!ValidZone(zone)) return ZoneResult::Refused;
  const int cls = ClassOfType(type);
  if (cls == kClassNone) return ZoneResult::Refused;
  const auto before = Layout();
  if (before[zone].exists) return ZoneResult::Refused;
  size_t at = kAreaStart;
  for (int z = 0; z < zone; ++z)
    if (before[z].exists) at += static_cast<size_t>(before[z].size);
  const int r = OpenGap(zone, at, HeaderSize(cls), true, before);
  if (r != 1) return static_cast<ZoneResult>(r);
  ByteArea image = Image();
  image.setU16le(kTable + 2 * static_cast<size_t>(zone), static_cast<uint16_t>(at));
  WriteZoneHeader(zone, at, type);
  ByteArea ext = Ext();
  SetBitN(ext, kExtZoneBits, zone, false);
  UpdateBlockRange();
  return ZoneResult::Done;
}

void CZoneMemory::DropZoneReferences(int zone) {
  ByteArea ext = Ext();
  for (size_t ref : {kExtPriority1, kExtPriority2}) {
    if (ext.u8(ref) == zone + 1) {
      ext.setU8(ref, 0xFF);
      ext.setU8(ref + 1, 0xFF);
    }
  }
}

void CZoneMemory::DropEmergencyReference(int zone, int number) {
  // The emergency channel (image 0x7D0 zone, 0x7D1 channel) names a zone or
  // record that is going: it goes too, as the priority channels do.
  ByteArea image = Image();
  if (image.u8(emf::kZone) != zone + 1) return;
  if (number >= 0 && image.u8(emf::kChannel) != number + 1) return;
  image.setU8(emf::kZone, 0xFF);
  image.setU8(emf::kChannel, 0xFF);
}

ZoneResult CZoneMemory::ChangeZone(int zone, int newClass) {
  if (!ValidZone(zone) || newClass < kClassNone || newClass > kClassPassPort) return ZoneResult::Refused;
  const auto before = Layout();
  const ZoneLayout z = before[zone];
  if (z.exists) {
    DropZoneReferences(zone);
    DropEmergencyReference(zone, -1);
    // The zone's records leave the per-channel tables together; the later
    // records' entries move down in their place.
    int first = 0;
    for (int i = 0; i < zone; ++i)
      if (before[i].exists) first += before[i].records;
    RemovePerChannel(first, z.records);
    CloseGap(zone, static_cast<size_t>(z.offset), z.size, before);
    ByteArea image = Image();
    image.setU16le(kTable + 2 * static_cast<size_t>(zone), 0xFFFF);
    ByteArea ext = Ext();
    SetBitN(ext, kExtZoneBits, zone, true);
    // The zone's scrambler switch and code go back to their defaults (off,
    // no code): a zone created here later does not inherit them.
    SetBitN(ext, kExtEntryBits, zone, true);
    ext.setU8(kExtEntryBytes + static_cast<size_t>(zone), 0xFF);
    if (hooks_.zoneDeleted) hooks_.zoneDeleted(zone, static_cast<int>(ext.u8(kExtZoneBytes + static_cast<size_t>(zone))) - 1);
    UpdateGlobalNumbers();
    UpdateBlockRange();
  }
  if (newClass == kClassNone) return ZoneResult::Done;
  uint8_t type = '1';
  if (newClass == kClassLtr) type = '0';
  else if (newClass == kClassPassPort) type = '5';
  else if (ClassOfType(pendingType_) == kClassConv) type = pendingType_;
  return CreateZone(zone, type);
}

bool CZoneMemory::ConfirmDelete(int zone, int newClass, TextTable& text,
                                const std::function<bool(const std::string&)>& askOkCancel) const {
  if (!ZoneExists(zone) || ZoneClass(zone) == newClass) return true;
  const std::string message = FormatInt(text.Text(310), zone + 1);
  return askOkCancel ? askOkCancel(message) : false;
}

ZoneResult CZoneMemory::SetZoneType(int zone, uint8_t type) {
  if (!ValidZone(zone)) return ZoneResult::Refused;
  const int cls = ClassOfType(type);
  if (cls == kClassNone) return ZoneResult::Refused;
  const ZoneLayout z = ZoneInfo(zone);
  if (!z.exists) {
    pendingType_ = type;
    return ZoneResult::Done;
  }
  if (z.cls != cls) return ZoneResult::Refused;
  ByteArea image = Image();
  const uint8_t old = image.u8(static_cast<size_t>(z.offset) + rec::kZoneType);
  image.setU8(static_cast<size_t>(z.offset) + rec::kZoneType, type);
  if (old == '1' && type != '1') {
    DropZoneReferences(zone);
    if (hooks_.typeOneReferencesDropped) hooks_.typeOneReferencesDropped(zone);
  }
  return ZoneResult::Done;
}

// ---------------------------------------------------------------------------
// Records

void CZoneMemory::WriteRecordDefaults(const ZoneLayout& z, size_t rec, int number) {
  ByteArea image = Image();
  image.setU8(rec, static_cast<uint8_t>(number + 1));
  const bool gen2 = data_.model.IsSecondGen();
  if (z.cls == kClassConv) {
    image.writeText(rec + rec::ch::kName, FormatInt(gen2 ? " CH %3d" : "  CH %3d", number + 1), rec::kNameBytes);
    image.setU16le(rec + rec::ch::kFlags, static_cast<uint16_t>(image.u16le(rec + rec::ch::kFlags) & ~1u));
  } else if (z.cls == kClassLtr) {
    image.writeText(rec + rec::group::kName, FormatInt(gen2 ? " GR %3d" : "  GR %3d", number + 1), rec::kNameBytes);
  } else if (z.cls == kClassPassPort) {
    image.writeText(rec + rec::pp::kGroupName, FormatInt(gen2 ? " GR %3d" : "  GR %3d", number + 1), rec::kNameBytes);
  }
}

InsertResult CZoneMemory::InsertRecordBytes(int zone, int number, const std::vector<uint8_t>* bytes,
                                   const PerChannelValues* values) {
  if (!ValidZone(zone) || number < 0 || number >= kMaxRecords) return InsertResult::Refused;
  const auto before = Layout();
  const ZoneLayout z = before[zone];
  if (!z.exists || z.damaged || z.cls == kClassNone) return InsertResult::Refused;
  int insertAt = 0;
  if (RecordPosition(z, number, &insertAt) >= 0) return InsertResult::Refused;
  const int rs = RecordSize(z.cls);
  if (bytes && bytes->size() != static_cast<size_t>(rs)) return InsertResult::Refused;
  if (FreeBytes() < rs) return InsertResult::NoRoom;
  if (z.records >= kMaxRecords) return InsertResult::Refused;
  const size_t rec = static_cast<size_t>(z.offset + HeaderSize(z.cls) + insertAt * rs);
  // PassPort groups count in the numbering but not in the limit.
  const int r = OpenGap(zone, rec, rs, z.cls != kClassPassPort, before);
  if (r == -1) return InsertResult::NoRoom;
  if (r != 1) return static_cast<InsertResult>(r);
  ByteArea image = Image();
  const size_t countAt = static_cast<size_t>(z.offset) + rec::kRecordCount;
  const uint8_t c = image.u8(countAt);
  image.setU8(countAt, static_cast<uint8_t>((c == 0xFF ? 0 : c) + 1));
  if (bytes) {
    image.write(rec, bytes->data(), bytes->size());
    image.setU8(rec, static_cast<uint8_t>(number + 1));
  } else {
    WriteRecordDefaults(z, rec, number);
  }
  int first = 0;
  for (int i = 0; i < zone; ++i)
    if (before[i].exists) first += before[i].records;
  // A new record's entries: field 14 on (bit 0), the other bit off (1) and
  // the byte 1.
  PerChannelValues fresh;
  fresh.bitA = false;
  fresh.chanByte = 1;
  InsertPerChannel(first + insertAt, values ? *values : fresh);
  UpdateGlobalNumbers();
  UpdateBlockRange();
  return InsertResult::Done;
}

InsertResult CZoneMemory::InsertRecord(int zone, int number) { return InsertRecordBytes(zone, number, nullptr, nullptr); }

InsertResult CZoneMemory::InsertCopiedRecord(int zone, int number, const std::vector<uint8_t>& bytes,
                                    const PerChannelValues& values) {
  return InsertRecordBytes(zone, number, &bytes, &values);
}

ZoneResult CZoneMemory::RemoveRecord(int zone, int number) {
  if (!ValidZone(zone) || number < 0 || number >= kMaxRecords) return ZoneResult::Refused;
  const auto before = Layout();
  const ZoneLayout z = before[zone];
  if (!z.exists || z.damaged || z.cls == kClassNone) return ZoneResult::Refused;
  ByteArea image = Image();
  const size_t countAt = static_cast<size_t>(z.offset) + rec::kRecordCount;
  const uint8_t c = image.u8(countAt);
  if (c == 0 || c == 0xFF) return ZoneResult::Refused;
  const int pos = RecordPosition(z, number, nullptr);
  if (pos < 0) return ZoneResult::Refused;
  const int rs = RecordSize(z.cls);
  int first = 0;
  for (int i = 0; i < zone; ++i)
    if (before[i].exists) first += before[i].records;
  RemovePerChannel(first + pos);
  CloseGap(zone, static_cast<size_t>(z.offset + HeaderSize(z.cls) + pos * rs), rs, before);
  image.setU8(countAt, static_cast<uint8_t>(c - 1));
  // A PassPort zone's data talkgroup that names this group goes with it.
  const size_t dataTalkgroup = static_cast<size_t>(z.offset) + rec::pp::kDataTalkgroup;
  if (z.cls == kClassPassPort && image.u8(dataTalkgroup) == number + 1) image.setU8(dataTalkgroup, 0xFF);
  // Feature references that name this record go with it.
  DropEmergencyReference(zone, number);
  ByteArea ext = Ext();
  for (size_t ref : {kExtPriority1, kExtPriority2}) {
    if (ext.u8(ref) == zone + 1 && ext.u8(ref + 1) == number + 1) {
      ext.setU8(ref, 0xFF);
      ext.setU8(ref + 1, 0xFF);
    }
  }
  if (hooks_.recordRemoved) hooks_.recordRemoved(zone, number);
  UpdateGlobalNumbers();
  UpdateBlockRange();
  return ZoneResult::Done;
}

ZoneResult CZoneMemory::InsertRepeater(int zone, int number) {
  if (!ValidZone(zone) || number < 0 || number >= kMaxRepeaters) return ZoneResult::Refused;
  const auto before = Layout();
  const ZoneLayout z = before[zone];
  if (!z.exists || z.damaged || z.cls != kClassLtr) return ZoneResult::Refused;
  if (FindRepeater(zone, number) >= 0) return ZoneResult::Refused;
  if (z.repeaters >= kMaxRepeaters) return ZoneResult::Refused;
  if (FreeBytes() < kRepeaterSize) return ZoneResult::NoRoom;
  ByteArea image = Image();
  const int base = z.offset + kLtrHeader + z.records * kGroupSize;
  int insertAt = z.repeaters;
  for (int i = 0; i < z.repeaters; ++i) {
    if (image.u8(static_cast<size_t>(base + i * kRepeaterSize)) >= number + 1) {
      insertAt = i;
      break;
    }
  }
  const size_t rec = static_cast<size_t>(base + insertAt * kRepeaterSize);
  const int r = OpenGap(zone, rec, kRepeaterSize, false, before);
  if (r != 1) return ZoneResult::NoRoom;
  image.setU8(static_cast<size_t>(z.offset) + rec::ltr::kRepeaterCount, static_cast<uint8_t>(z.repeaters + 1));
  image.setU8(rec, static_cast<uint8_t>(number + 1));
  // Receive-range flags A and B and the check box start set.
  image.setU8(rec + rec::rep::kFlags, static_cast<uint8_t>(image.u8(rec + rec::rep::kFlags) | 0x07));
  UpdateBlockRange();
  return ZoneResult::Done;
}

ZoneResult CZoneMemory::RemoveRepeater(int zone, int number) {
  const auto before = Layout();
  if (!ValidZone(zone)) return ZoneResult::Refused;
  const ZoneLayout z = before[zone];
  if (!z.exists || z.damaged || z.cls != kClassLtr) return ZoneResult::Refused;
  const int rec = FindRepeater(zone, number);
  if (rec < 0) return ZoneResult::Refused;
  CloseGap(zone, static_cast<size_t>(rec), kRepeaterSize, before);
  Image().setU8(static_cast<size_t>(z.offset) + rec::ltr::kRepeaterCount, static_cast<uint8_t>(z.repeaters - 1));
  UpdateBlockRange();
  return ZoneResult::Done;
}

// ---------------------------------------------------------------------------
// Checks and texts

std::vector<ZoneProblem> CZoneMemory::CheckZoneArea() const {
  std::vector<ZoneProblem> out;
  const ByteArea image = Image();
  const auto layout = Layout();
  int total = 0;
  bool any = false;
  int expectedFirst = 1;
  for (int zn = 0; zn < kZoneCount; ++zn) {
    const ZoneLayout& z = layout[zn];
    if (!z.exists) continue;
    any = true;
    total += z.size;
    const uint16_t word = image.u16le(kTable + 2 * static_cast<size_t>(zn));
    if (z.offset >= static_cast<int>(kAreaEnd)) {
      out.push_back({zn, "block lies beyond the end of the zone area"});
      continue;
    }
    if (word != z.offset)
      out.push_back({zn, "table word " + Hex(word, 4) + " but the block lies at " + Hex(static_cast<unsigned>(z.offset), 4)});
    const uint8_t type = image.u8(static_cast<size_t>(z.offset) + 1);
    if (z.cls == kClassNone) {
      out.push_back({zn, "type byte " + Hex(type, 2) + " names no zone class"});
      continue;
    }
    const uint8_t num = image.u8(static_cast<size_t>(z.offset));
    if (num != zn + 1) out.push_back({zn, "header names zone " + std::to_string(num)});
    const uint8_t count = image.u8(static_cast<size_t>(z.offset) + 4);
    if (count != 0xFF && count > kMaxRecords)
      out.push_back({zn, "count byte " + std::to_string(count) + " is above " + std::to_string(kMaxRecords)});
    if (z.cls == kClassLtr) {
      const uint8_t reps = image.u8(static_cast<size_t>(z.offset) + 5);
      if (reps != 0xFF && reps > kMaxRepeaters)
        out.push_back({zn, "repeater count " + std::to_string(reps) + " is above " + std::to_string(kMaxRepeaters)});
    }
    if (z.damaged && z.offset + z.size == static_cast<int>(kAreaEnd))
      out.push_back({zn, "block runs past the end of the zone area"});
    const int hdr = HeaderSize(z.cls), rs = RecordSize(z.cls);
    int last = 0;
    for (int i = 0; i < z.records; ++i) {
      const int n = image.u8(static_cast<size_t>(z.offset + hdr + i * rs));
      if (n < 1 || n > kMaxRecords || n <= last) {
        out.push_back({zn, "record " + std::to_string(i + 1) + " has number " + std::to_string(n) + " out of order"});
        break;
      }
      last = n;
    }
    if (count != 0xFF && z.records > 0) {
      const uint16_t firstWord = image.u16le(static_cast<size_t>(z.offset) + 2);
      if (firstWord != expectedFirst)
        out.push_back({zn, "first global channel " + std::to_string(firstWord) + ", expected " + std::to_string(expectedFirst)});
    }
    if (count != 0xFF) expectedFirst += z.records;
  }
  if (total < static_cast<int>(kAreaSize)) {
    const uint8_t* tail = image.ptr(kAreaStart + static_cast<size_t>(total), kAreaSize - static_cast<size_t>(total));
    if (tail && std::any_of(tail, tail + (kAreaSize - static_cast<size_t>(total)), [](uint8_t b) { return b != 0xFF; }))
      out.push_back({-1, "bytes after the last block are not free (0xFF)"});
  }
  const uint16_t f = image.u16le(kFirstBlockWord), l = image.u16le(kLastBlockWord);
  const uint16_t ef = any ? static_cast<uint16_t>(kAreaStart / 256) : 0xFFFF;
  const uint16_t el = any ? static_cast<uint16_t>(kAreaStart / 256 + (total > 0 ? (total - 1) / 256 : 0)) : 0xFFFF;
  if (f != ef || l != el)
    out.push_back({-1, "block-range words " + Hex(f, 4) + "/" + Hex(l, 4) + ", expected " + Hex(ef, 4) + "/" + Hex(el, 4)});
  if (TotalChannels() > kChannelLimit)
    out.push_back({-1, std::to_string(TotalChannels()) + " channels and LTR groups, above " + std::to_string(kChannelLimit)});
  return out;
}

std::string CZoneMemory::ZoneTypeName(uint8_t type, TextTable& text) {
  switch (type) {
    case '1': return text.Text(398);
    case '0': return text.Text(399);
    case '2': return text.Text(400);
    case '3': return text.Text(401);
    case '4': return text.Text(402);
    case '5': return "PassPort System";
    case 0xFF: return text.Text(362);
    default: return {};
  }
}

std::vector<uint8_t> CZoneMemory::OfferedZoneTypes() const {
  if (data_.model.VotingCapable(data_.votingSwitch)) return {'1', '0', '2', '3', '4', '5'};
  return {'1', '0', '5'};
}

int CZoneMemory::SystemType() const { return vb420::SystemType(Image()); }

}  // namespace vb420
