// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/RecordCopy.h"

#include <algorithm>

#include "data/FieldCodec.h"
#include "data/ImageLayout.h"
#include "data/RadioData.h"

namespace vb420 {

using namespace zones;

namespace {

int RecordBytes(int cls) { return cls == kClassConv ? kChannelSize : (cls == kClassLtr || cls == kClassPassPort) ? kGroupSize : 0; }

FieldResult InsertFailure(InsertResult r) { return {static_cast<int>(r), ResultMessage(r)}; }

// A pasted group's data-signalling choice must be one the signalling ID mode
// allows.
void CheckGroupReferences(ByteArea image, size_t rec) {
  const uint8_t filter = image.u8(img::kSignallingIdMode);
  const size_t at = rec + rec::group::kField7;
  const uint8_t v = image.u8(at);
  if (filter != '2' && v == '4') image.setU8(at, 0xFF);
  if (filter == '2' && v != 0xFF && v != '4') image.setU8(at, 0xFF);
}

}  // namespace

FieldResult ChannelCopy(CZoneMemory& zones, int zone, int source, int target) {
  if (target < 0 || target >= kMaxRecords || target == source) return {-1, 0};
  const ZoneLayout z = zones.ZoneInfo(zone);
  if (!z.exists || z.damaged || (z.cls != kClassConv && z.cls != kClassLtr)) return {-1, 0};
  const int src = zones.FindRecord(zone, source);
  if (src < 0) return {-1, 0};
  const int size = RecordBytes(z.cls);
  // Taken before anything moves: removing the target may shift the source.
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  zones.Data().Image().read(static_cast<size_t>(src), bytes.data(), bytes.size());
  const PerChannelValues values = zones.ReadPerChannel(zones.GlobalChannel(zone, source));
  if (zones.RecordExists(zone, target) && zones.RemoveRecord(zone, target) != ZoneResult::Done) return {-1, 0};
  const InsertResult r = zones.InsertCopiedRecord(zone, target, bytes, values);
  if (r != InsertResult::Done) return InsertFailure(r);
  // A copied group is held to the signalling ID mode as a pasted one is.
  const int rec = zones.FindRecord(zone, target);
  if (z.cls == kClassLtr && rec >= 0) CheckGroupReferences(zones.Data().Image(), static_cast<size_t>(rec));
  return {1, 0};
}

int JumpTarget(std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return -1;
  return CFieldCodec::ClampIntText(text, kMaxRecords, 1, 1) - 1;
}

void CRecordCopyBuffer::Copy(CZoneMemory& zones, int zone, int firstRow, int lastRow) {
  rows_.clear();
  const ZoneLayout z = zones.ZoneInfo(zone);
  cls_ = z.exists ? z.cls : kClassNone;
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, kMaxRecords - 1);
  const int size = RecordBytes(cls_);
  ByteArea image = zones.Data().Image();
  for (int row = firstRow; row <= lastRow; ++row) {
    Row r;
    const int rec = size ? zones.FindRecord(zone, row) : -1;
    if (rec >= 0) {
      r.size = static_cast<uint8_t>(size);
      r.bytes.resize(static_cast<size_t>(size));
      image.read(static_cast<size_t>(rec), r.bytes.data(), r.bytes.size());
      r.values = zones.ReadPerChannel(zones.GlobalChannel(zone, row));
    }
    rows_.push_back(std::move(r));
  }
}

FieldResult CRecordCopyBuffer::Paste(CZoneMemory& zones, int zone, int row) {
  if (rows_.empty() || cls_ == kClassNone || row < 0 || row >= kMaxRecords) return {-1, 0};
  if (zones.ZoneExists(zone) && zones.ZoneClass(zone) != cls_) return {-3, 0};
  ByteArea image = zones.Data().Image();
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int target = row + static_cast<int>(i);
    if (target >= kMaxRecords) break;
    const Row& r = rows_[i];
    if (zones.RecordExists(zone, target) && zones.RemoveRecord(zone, target) != 1) return {-1, 0};
    if (r.size == 0) continue;
    if (!zones.ZoneExists(zone)) {
      // The paste reports a zone without room as a record without room (0).
      const ZoneResult c = zones.ChangeZone(zone, cls_);
      if (c == ZoneResult::NoRoom) return {0, ResultMessage(c)};
      if (c == ZoneResult::ChannelLimit) return {-2, ResultMessage(c)};
      if (c != ZoneResult::Done) return {-1, 0};
    }
    const InsertResult ins = zones.InsertCopiedRecord(zone, target, r.bytes, r.values);
    if (ins != InsertResult::Done) return InsertFailure(ins);
    const int rec = zones.FindRecord(zone, target);
    if (rec < 0) continue;
    if (cls_ == kClassLtr) {
      CheckGroupReferences(image, static_cast<size_t>(rec));
    } else if (cls_ == kClassConv && zones.SystemType() != 4) {
      // Receive-range flag B is only checked on system type 4.
      image.setBit(static_cast<size_t>(rec) + rec::ch::kFlags, 6, true);
    }
  }
  return {1, 0};
}

int CRecordCopyBuffer::Delete(CZoneMemory& zones, int zone, int firstRow, int lastRow) {
  int removed = 0;
  for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kMaxRecords - 1); ++row)
    if (zones.RecordExists(zone, row) && zones.RemoveRecord(zone, row) == 1) ++removed;
  return removed;
}

void CRepeaterCopyBuffer::Copy(CZoneMemory& zones, int zone, int firstRow, int lastRow) {
  rows_.clear();
  ByteArea image = zones.Data().Image();
  for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kMaxRepeaters - 1); ++row) {
    std::vector<uint8_t> bytes;
    const int at = zones.FindRepeater(zone, row);
    if (at >= 0) {
      bytes.resize(static_cast<size_t>(kRepeaterSize));
      image.read(static_cast<size_t>(at), bytes.data(), bytes.size());
    }
    rows_.push_back(std::move(bytes));
  }
}

FieldResult CRepeaterCopyBuffer::Paste(CZoneMemory& zones, int zone, int row) {
  const ZoneLayout z = zones.ZoneInfo(zone);
  if (rows_.empty() || row < 0 || row >= kMaxRepeaters || !z.exists || z.damaged || z.cls != kClassLtr) return {0, 0};
  ByteArea image = zones.Data().Image();
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int target = row + static_cast<int>(i);
    if (target >= kMaxRepeaters) break;
    if (zones.FindRepeater(zone, target) >= 0 && zones.RemoveRepeater(zone, target) != ZoneResult::Done) return {0, 0};
    if (rows_[i].empty()) continue;
    const ZoneResult r = zones.InsertRepeater(zone, target);
    if (r != ZoneResult::Done) return {static_cast<int>(r), ResultMessage(r)};
    const int at = zones.FindRepeater(zone, target);
    if (at < 0) return {0, 0};
    image.write(static_cast<size_t>(at), rows_[i].data(), rows_[i].size());
    image.setU8(static_cast<size_t>(at) + rec::rep::kNumber, static_cast<uint8_t>(target + 1));
  }
  return {1, 0};
}

int CRepeaterCopyBuffer::Delete(CZoneMemory& zones, int zone, int firstRow, int lastRow) {
  int removed = 0;
  for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kMaxRepeaters - 1); ++row)
    if (zones.FindRepeater(zone, row) >= 0 && zones.RemoveRepeater(zone, row) == ZoneResult::Done) ++removed;
  return removed;
}

}  // namespace vb420
