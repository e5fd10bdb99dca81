// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ModelChange.h"

#include <algorithm>
#include <string>

#include "data/AreaDefaults.h"
#include "data/ImageLayout.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

void AddLine(std::string& warning, const std::string& line) {
  if (!warning.empty()) warning += "\n";
  warning += line;
}

// Cuts one name field of `width` bytes to 8 characters through the name rules
// of a second-generation model. A field that starts with 0xFF holds no name
// and is left as it is.
void CutName(RadioData& data, ByteArea area, size_t offset, int width, int keep) {
  uint8_t* field = area.ptr(offset, static_cast<size_t>(width));
  if (!field || field[0] == 0xFF) return;
  std::string name = CFieldCodec::NameFromField(field, width);
  if (static_cast<int>(name.size()) > keep) name.resize(static_cast<size_t>(keep));
  data.field.NormalizeName(field, width, name);
}

}  // namespace

ModelChangePlan PlanModelChange(RadioData& data, TextTable& text, int newModel, uint8_t newBand) {
  ModelChangePlan plan;
  const int oldModel = data.model.ModelNumber();
  if (newBand != data.model.BandCode()) {
    plan.flags.band = true;
    plan.warning = text.Text(286);
  }
  if (ModelRecord::KindOf(newModel) != ModelRecord::KindOf(oldModel)) {
    plan.flags.kind = true;
    AddLine(plan.warning, text.Text(287));
    if (!plan.flags.band) AddLine(plan.warning, text.Text(295));
  }
  if (!IsHighPower(oldModel) && IsHighPower(newModel)) {
    plan.flags.power = true;
    if (plan.warning.empty()) plan.warning = text.Text(297);
  }
  if (IsSecondGeneration(oldModel) != IsSecondGeneration(newModel)) {
    plan.flags.generation = true;
    if (IsSecondGeneration(newModel)) plan.warning = text.Text(296);
  }
  return plan;
}

void CutNamesToSecondGeneration(RadioData& data) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  CutName(data, image, fld::kFeatureName, 12, 8);
  for (size_t off = fld::kNamedRecords; off + fld::kNamedRecordSize <= fld::kNamedRecordsEnd; off += fld::kNamedRecordSize)
    CutName(data, image, off, 12, 8);
  for (size_t off = ext::kNamedRecords; off + extfld::kNamedRecordSize <= ext::kNamedRecordsEnd; off += extfld::kNamedRecordSize)
    CutName(data, ext, off, 12, 8);
  for (size_t off = fld::kTwoToneNames; off + fld::kTwoToneRecordSize <= fld::kTwoToneNamesEnd; off += fld::kTwoToneRecordSize)
    CutName(data, image, off, 12, 8);
  CutName(data, image, fld::kEmergencyName, 12, 8);

  // The data-signalling lists are placed by the area directory; a damaged
  // directory must not send us outside the image.
  const DirectoryList ids = IdList(image);
  for (size_t i = 0; i < ids.count; ++i) {
    if (image.u8(ids.Row(i) + 12) == 0xFF) continue;  // unused entry
    CutName(data, image, ids.Row(i), 12, 8);
  }
  const DirectoryList statuses = StatusList(image);
  for (size_t i = 0; i < statuses.count; ++i) CutName(data, image, statuses.Row(i), 16, 16);
}

void ApplyModelChange(RadioData& data, int newModel, uint8_t newBand, const ModelChangeFlags& flags,
                      const ModelChangeHooks& hooks) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  data.model.SetModel(newModel);
  data.model.SetBandCode(newBand);
  data.SyncCodecs();
  // The step codes of the test frequencies depend on the model.
  data.TestFreqTable().RecodeAllPairs();

  if (flags.band) {
    if (hooks.clearAllZones) hooks.clearAllZones();
    WriteDefaultTestFrequencies(data);
    WriteDefaultTuningFrequencies(data);
  }

  if (flags.kind) {
    for (size_t i = 0; i < fld::kOptionSlotCount; ++i) image.setU8(fld::kOptionSlots + fld::kOptionSlotSize * i, 0xFF);
    for (size_t i = 0; i < fld::kOptionSlotCount; ++i) {
      const size_t off = fld::kOptionSlots + fld::kOptionSlotSize * i + 1;
      uint8_t b = image.u8(off);
      b = static_cast<uint8_t>((b | 0x03 | 0x60) & ~0x1C);
      image.setU8(off, b);
    }
    WriteKeyDefaults(data);
    if (data.model.IsPortable()) {
      if (image.u8(fld::kDataSignallingMode) == '1') image.setU8(fld::kDataSignallingMode, 0xFF);
      image.setU8(fld::kKindByte1, 0);
      image.setU8(fld::kKindByte2, 0x1F);
      image.setU8(fld::kKindByte3, '1');
    } else {
      image.setU8(fld::kKindByte1, 8);
      image.setU8(fld::kKindByte2, 0x1F);
      image.setU8(fld::kKindByte3, '0');
    }
    const uint16_t larger = std::max(ext.u16le(extfld::kKindPair1), ext.u16le(extfld::kKindPair2));
    ext.setU16le(extfld::kKindPair1, larger);
    ext.setU16le(extfld::kKindPair2, larger);
    if (!flags.band) {
      WriteDefaultTuningFrequencies(data);
      if (hooks.reencodeAllChannels) hooks.reencodeAllChannels();
      if (hooks.recomputeChannelMarks) hooks.recomputeChannelMarks();
    }
  }

  if (flags.power && hooks.lowerConventionalPower) hooks.lowerConventionalPower();

  if (flags.generation) {
    if (data.model.IsSecondGen()) {
      const uint8_t v = image.u8(fld::kFeatureLimit);
      if (v != 0xFF && v > 8) image.setU8(fld::kFeatureLimit, 8);
      if (image.u8(fld::kFeatureSwitch) == '1') image.setU8(fld::kFeatureSwitch, 0xFF);
      if (image.u8(fld::kScanMode) == '6' || image.u8(fld::kScanMode) == '7') image.setU8(fld::kScanMode, '0');
      CutNamesToSecondGeneration(data);
      if (SystemType(image) == 4) {
        image.fill(img::kSystemTypeBytes, 3, 0xFF);
        // The functions of the data board go with it, as when the user
        // leaves that system type.
        RemoveKeyFunction(data, 3, true);
        RemoveKeyFunction(data, 46, true);
      }
      RemoveKeyFunction(data, 19, true);
      if (hooks.zoneGenerationFixup) hooks.zoneGenerationFixup();
    } else {
      RemoveKeyFunction(data, 80);
    }
  }
}

}  // namespace vb420
