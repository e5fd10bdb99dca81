// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ZoneFixups.h"

#include <functional>
#include <string>

#include "data/ModelChange.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420 {

using namespace zones;

namespace {

// Calls `fn` with the image offset of every channel record of every
// conventional zone (only records that lie inside the area).
void ForEachChannel(RadioData& data, const std::function<void(size_t)>& fn) {
  CZoneMemory zm(data);
  for (const ZoneLayout& z : zm.Layout()) {
    if (!z.exists || z.cls != kClassConv) continue;
    for (int i = 0; i < z.records; ++i) fn(static_cast<size_t>(z.offset + kConvHeader + i * kChannelSize));
  }
}

// Calls `fn` with the image offset of every repeater record of every LTR
// zone (only records that lie inside the area).
void ForEachRepeater(RadioData& data, const std::function<void(size_t)>& fn) {
  CZoneMemory zm(data);
  for (const ZoneLayout& z : zm.Layout()) {
    if (!z.exists || z.cls != kClassLtr || z.damaged) continue;
    const size_t first = static_cast<size_t>(z.offset + kLtrHeader + z.records * kGroupSize);
    for (int i = 0; i < z.repeaters; ++i) fn(first + static_cast<size_t>(i) * kRepeaterSize);
  }
}

uint32_t FreqHz(const ByteArea& image, size_t at) {
  const uint8_t* p = image.ptr(at, 4);
  return p && !CFreqCodec::IsEmptyField(p) ? CFreqCodec::FieldToHz(p) : 0;
}

// A repeater's range flags (bits 0 and 2, from the first frequency) and
// transmit-check flag (bit 3, from the second), as entering its
// frequencies sets them.
void UpdateRepeaterFlags(RadioData& data, size_t rep, bool rangeFlags) {
  ByteArea image = data.Image();
  uint16_t flags = image.u16le(rep + rec::rep::kFlags);
  auto put = [&flags](int bit, bool on) { flags = static_cast<uint16_t>(on ? flags | (1u << bit) : flags & ~(1u << bit)); };
  if (rangeFlags) {
    const uint32_t rx = FreqHz(image, rep + rec::rep::kFreq1);
    put(0, ReceiveRangeFlag(data, rx, false));
    put(2, ReceiveRangeFlag(data, rx, true));
  }
  put(3, TransmitCheckFlag(data, FreqHz(image, rep + rec::rep::kFreq2)));
  image.setU16le(rep + rec::rep::kFlags, flags);
}

void CutName(RadioData& data, size_t offset) {
  uint8_t* field = data.Image().ptr(offset, 12);
  if (!field || field[0] == 0xFF) return;
  std::string name = CFieldCodec::NameFromField(field, 12);
  if (name.size() > 8) name.resize(8);
  data.field.NormalizeName(field, 12, name);
}

void Reencode(RadioData& data, size_t freqAt, size_t stepAt) {
  ByteArea image = data.Image();
  uint8_t* f = image.ptr(freqAt, 4);
  if (!f || CFreqCodec::IsEmptyField(f)) return;
  std::string text;
  CFreqCodec::FreqToPlainText(f, text);
  uint8_t out[4];
  const int step = data.freq.EncodeFreq(text, out, data.model.BandClass() == 1 ? 1 : 0, data.model.IsPortable());
  if (step < 0) return;
  image.write(freqAt, out, 4);
  image.setU8(stepAt, static_cast<uint8_t>(step));
}

}  // namespace

void ClearAllZones(RadioData& data) {
  CZoneMemory zm(data);
  // Highest first, so that no block has to move.
  for (int z = kZoneCount - 1; z >= 0; --z)
    if (zm.ZoneExists(z)) (void)zm.ChangeZone(z, kClassNone);  // deleting cannot fail; the area is wiped below anyway
  // Whatever a damaged area held beyond the blocks goes too.
  ByteArea image = data.Image();
  image.fill(kTable, 2 * kZoneCount, 0xFF);
  image.fill(kAreaStart, kAreaSize, 0xFF);
  zm.UpdateBlockRange();
}

void ReencodeAllChannels(RadioData& data) {
  ForEachChannel(data, [&](size_t rec) {
    Reencode(data, rec + rec::ch::kRxFreq, rec + rec::ch::kRxStep);
    Reencode(data, rec + rec::ch::kTxFreq, rec + rec::ch::kTxStep);
  });
  // LTR repeaters carry step codes too.
  ForEachRepeater(data, [&](size_t rep) {
    Reencode(data, rep + rec::rep::kFreq1, rep + rec::rep::kStep1);
    Reencode(data, rep + rec::rep::kFreq2, rep + rec::rep::kStep2);
  });
}

void RecomputeChannelMarks(RadioData& data) {
  ForEachChannel(data, [&](size_t rec) { UpdateRangeFlags(data, rec, kRangeFlagA | kRangeFlagB | kTransmitCheck); });
  ForEachRepeater(data, [&](size_t rep) { UpdateRepeaterFlags(data, rep, true); });
}

void LowerConventionalPower(RadioData& data) {
  CZoneMemory zm(data);
  ByteArea image = data.Image();
  for (const ZoneLayout& z : zm.Layout()) {
    if (!z.exists || z.cls != kClassConv || z.size < kConvHeader) continue;
    const size_t at = static_cast<size_t>(z.offset) + 0x13;
    if (image.u16le(at) > 600) image.setU16le(at, 600);
  }
}

void ZoneGenerationFixup(RadioData& data) {
  CZoneMemory zm(data);
  for (const ZoneLayout& z : zm.Layout()) {
    if (!z.exists || z.cls == kClassNone) continue;
    const size_t off = static_cast<size_t>(z.offset);
    switch (z.cls) {
      case kClassConv:
        if (z.size >= kConvHeader) CutName(data, off + rec::conv::kName);
        for (int i = 0; i < z.records; ++i) CutName(data, off + kConvHeader + static_cast<size_t>(i) * kChannelSize + rec::ch::kName);
        break;
      case kClassLtr:
        if (z.size >= kLtrHeader) CutName(data, off + rec::ltr::kName);
        for (int i = 0; i < z.records; ++i) CutName(data, off + kLtrHeader + static_cast<size_t>(i) * kGroupSize + rec::group::kName);
        break;
      case kClassPassPort:
        if (z.size >= kPassPortHeader) CutName(data, off + rec::ltr::kName);  // the PassPort header keeps its name where the LTR header does
        for (int i = 0; i < z.records; ++i) CutName(data, off + kPassPortHeader + static_cast<size_t>(i) * kGroupSize + rec::pp::kGroupName);
        break;
      default: break;
    }
  }
}

void RecomputeTransmitChecks(RadioData& data) {
  ForEachChannel(data, [&](size_t rec) { UpdateRangeFlags(data, rec, kTransmitCheck); });
  ForEachRepeater(data, [&](size_t rep) { UpdateRepeaterFlags(data, rep, false); });
}

void AdjustOpenedFile(RadioData& data) {
  IdentificationCheck(data);
  VersionRecheck(data, [&data] { RecomputeTransmitChecks(data); });
  PostLoadAdjustments(data);
}

void WireZoneFixups(ModelChangeHooks& hooks, RadioData& data) {
  hooks.clearAllZones = [&data] { ClearAllZones(data); };
  hooks.reencodeAllChannels = [&data] { ReencodeAllChannels(data); };
  hooks.recomputeChannelMarks = [&data] { RecomputeChannelMarks(data); };
  hooks.lowerConventionalPower = [&data] { LowerConventionalPower(data); };
  hooks.zoneGenerationFixup = [&data] { ZoneGenerationFixup(data); };
}

}  // namespace vb420
