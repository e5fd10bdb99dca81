// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/NewImage.h"

#include <cstring>
#include <string>

#include "data/AreaDefaults.h"
#include "data/RadioData.h"

namespace vb420 {

CFreqPairTable RadioData::TestFreqTable() {
  return CFreqPairTable(buffers.Image(), img::kTestFreqs, 16, freq, [this] { return model.BandClass() == 1 ? 1 : 0; },
                        [this] { return model.IsPortable(); });
}

CFreqPairTable RadioData::TuningFreqTable() {
  return CFreqPairTable(buffers.Image(), img::kTuningFreqs, 5, freq, [this] { return model.BandClass() == 1 ? 1 : 0; },
                        [this] { return model.IsPortable(); });
}

namespace {

struct FreqPair {
  const char* rx;
  const char* tx;
};

void WritePairs(RadioData& data, size_t offset, size_t areaBytes, const FreqPair* rows, int count) {
  ByteArea image = data.Image();
  image.fill(offset, areaBytes, 0xFF);
  const int band = data.model.BandClass() == 1 ? 1 : 0;
  const bool portable = data.model.IsPortable();
  for (int i = 0; i < count; ++i) {
    uint8_t* slot = image.ptr(offset + static_cast<size_t>(i) * 10, 10);
    if (!slot) return;
    const int rxStep = data.freq.EncodeFreq(rows[i].rx, slot, band, portable);
    const int txStep = data.freq.EncodeFreq(rows[i].tx, slot + 4, band, portable);
    slot[8] = rxStep < 0 ? 0xFF : static_cast<uint8_t>(rxStep);
    slot[9] = txStep < 0 ? 0xFF : static_cast<uint8_t>(txStep);
  }
}

const FreqPair kTestVhf[] = {
    {"155.05000", "155.10000"}, {"136.05000", "136.10000"}, {"173.95000", "173.90000"}, {"155.00000", "155.00000"},
    {"155.20000", "155.20000"}, {"155.40000", "155.40000"}, {"177.95000", "177.90000"},
};
const FreqPair kTest450[] = {
    {"485.05000", "485.10000"}, {"450.05000", "450.10000"}, {"519.95000", "519.90000"},
    {"485.00000", "485.00000"}, {"485.20000", "485.20000"}, {"485.40000", "485.40000"},
};
const FreqPair kTest400[] = {
    {"435.05000", "435.10000"}, {"400.05000", "400.10000"}, {"469.95000", "469.90000"},
    {"435.00000", "435.00000"}, {"435.20000", "435.20000"}, {"435.40000", "435.40000"},
};

const FreqPair kTuneVhf[] = {{"136.05000", "136.10000"},
                             {"145.55000", "145.60000"},
                             {"155.05000", "155.10000"},
                             {"164.55000", "164.60000"},
                             {"173.95000", "173.90000"}};
const FreqPair kTune450Mobile[] = {{"450.05000", "450.10000"},
                                   {"467.55000", "467.60000"},
                                   {"485.05000", "485.10000"},
                                   {"502.55000", "502.60000"},
                                   {"519.95000", "519.90000"}};
const FreqPair kTune450Portable[] = {{"450.05000", "450.10000"},
                                     {"469.05000", "467.60000"},
                                     {"485.05000", "485.10000"},
                                     {"502.55000", "502.60000"},
                                     {"519.95000", "519.90000"}};
const FreqPair kTune400Mobile[] = {{"400.05000", "400.10000"},
                                   {"417.55000", "417.60000"},
                                   {"435.05000", "435.10000"},
                                   {"452.55000", "452.60000"},
                                   {"469.95000", "469.90000"}};
const FreqPair kTune400Portable[] = {{"400.05000", "400.10000"},
                                     {"427.05000", "417.60000"},
                                     {"435.05000", "435.10000"},
                                     {"452.55000", "452.60000"},
                                     {"469.95000", "469.90000"}};

const uint8_t kIdentMagic[7] = {'V', 'B', '4', '2', '0', 0, 0};

}  // namespace

void WriteDefaultTestFrequencies(RadioData& data) {
  const uint8_t band = data.model.BandCode();
  if (band == 0x06) WritePairs(data, img::kTestFreqs, 160, kTest450, 6);
  else if (band == 0x07) WritePairs(data, img::kTestFreqs, 160, kTest400, 6);
  else WritePairs(data, img::kTestFreqs, 160, kTestVhf, 7);
}

void WriteDefaultTuningFrequencies(RadioData& data) {
  const uint8_t band = data.model.BandCode();
  const bool portable = data.model.IsPortable();
  const FreqPair* rows = kTuneVhf;
  if (band == 0x06) rows = portable ? kTune450Portable : kTune450Mobile;
  else if (band == 0x07) rows = portable ? kTune400Portable : kTune400Mobile;
  WritePairs(data, img::kTuningFreqs, 50, rows, 5);
}

void InitNewImage(RadioData& data, bool selectDefaultModel) {
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  if (selectDefaultModel) data.model.SetBytes(kDefaultModelBytes);
  data.SyncCodecs();

  // Identification block.
  image.write(img::kIdentBlock, kIdentMagic, sizeof kIdentMagic);
  image.writeText(img::kVersion, kVersionString, 5);
  image.writeText(img::kProgramId, kProgramIdentification, 12);

  WriteDefaultTestFrequencies(data);
  WriteDefaultTuningFrequencies(data);

  // The zone-merge list lives outside the image and starts empty.
  data.mergeSlots.Clear();

  // Area directory: no zone yet; the four directory areas at their places.
  image.setU16le(dir::kFirstBlockWord, 0xFFFF);
  image.setU16le(dir::kLastBlockWord, 0xFFFF);
  for (int entry = 1; entry <= 4; ++entry) {
    image.setU16le(dir::OffsetWord(entry), dir::kEntryDefaults[entry - 1].offset);
    image.setU16le(dir::CountWord(entry), dir::kEntryDefaults[entry - 1].count);
  }

  WriteEditorAreaDefaults(data);

  // Texts the radio shows, and the scan list name.
  image.writeText(img::kDisplayTexts + 0, "Stunned     ", 12);
  image.writeText(img::kDisplayTexts + 12, "Killed      ", 12);
  image.writeText(img::kDisplayTexts + 24, "Searching...", 12);
  image.writeText(fld::kScanName, "    SCAN", 8);

  // Extension area.
  ext.setU8(extfld::kSetting1, 5);
  ext.setU8(extfld::kSetting2, 5);
  ext.setU16le(extfld::kKindPair1, 180);
  ext.setU16le(extfld::kKindPair2, 180);
  ext.setU16le(extfld::kSetting3, 0);
  ext.fill(ext::kMessageLine1, 64, 0x00);
}

void ResetToNewImage(RadioData& data) {
  ModelBytes bytes = data.model.Bytes();
  bytes[6] |= 0x03;  // no read and no overwrite password
  data.buffers.Clear();
  data.model.SetBytes(bytes);
  InitNewImage(data, false);
  data.buffers.TakeSnapshot();
}

bool IdentificationCheck(RadioData& data) {
  ByteArea image = data.Image();
  if (image.equals(img::kIdentBlock, kIdentMagic, sizeof kIdentMagic)) return false;
  const ModelBytes bytes = data.model.Bytes();
  image.fill(0, kImageSize, 0xFF);
  data.model.SetBytes(bytes);
  InitNewImage(data, false);
  return true;
}

void VersionRecheck(RadioData& data, const std::function<void()>& recomputeChannelMarks) {
  data.SyncCodecs();
  if (data.Image().equals(img::kVersion, kVersionString, 5) && recomputeChannelMarks) recomputeChannelMarks();
}

void PostLoadAdjustments(RadioData& data) {
  ByteArea image = data.Image();
  if (image.u8(fld::kExtendedFixed) != '1') image.setU8(fld::kExtendedFixed, '1');
  if (image.u8(fld::kEmergencySwitch) == '1') image.setU8(fld::kEmergencySwitch, '0');
  if (image.u8(img::kOptionBoard) != '3') {
    if (AnyUsedOptionSlotHolds(data, '1') || AnyKeyHasFunction(data, 73)) {
      image.setU8(img::kOptionBoard, '3');
      RemoveKeyFunction(data, 92);
    }
  }
  const uint8_t scan = image.u8(fld::kScanFirst);
  if (scan != 0xFF) {
    if (scan == 'x') {
      image.setU8(fld::kScanSecond, 0xFF);
    } else if (scan + 5 <= 0xFF && image.u8(fld::kScanSecond) < scan + 5) {
      // A damaged scan byte near 0xFF must not wrap the minimum round to a
      // tiny value.
      image.setU8(fld::kScanSecond, static_cast<uint8_t>(scan + 5));
    }
  }
}

}  // namespace vb420
