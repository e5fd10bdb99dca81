// SPDX-License-Identifier: GPL-3.0-or-later
// One programming as the program holds it: the buffers, the model record that
// reads them, the two codecs and the zone-merge slots kept outside the image.
// The application (and every test) owns one of these and passes it down.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/FieldCodec.h"
#include "data/FreqCodec.h"
#include "data/MemoryBuffers.h"
#include "data/ModelRecord.h"

namespace vb420 {

class TextTable;

// One zone kept by the zone-merge list outside the image (saved in ".sdt").
struct MergeSlot {
  std::vector<uint8_t> block;          // the zone's data block as it stood in the image
  uint8_t mark = 0;                    // one per-slot byte
  std::array<uint8_t, 16> name{};      // 16-byte field
  std::array<std::array<uint8_t, 250>, 3> perChannel{};  // per-zone/per-channel tables
};

struct MergeSlots {
  static constexpr int kSlots = 20;
  std::array<MergeSlot, kSlots> entries;
  std::array<std::array<uint8_t, kSlots>, 4> marks{};  // four per-slot byte arrays
  void Clear() {
    for (auto& s : entries) s = MergeSlot{};
    for (auto& m : marks) m.fill(0);
  }
};

class RadioData {
 public:
  explicit RadioData(TextTable* text = nullptr) : field(text) {}
  RadioData(const RadioData&) = delete;
  RadioData& operator=(const RadioData&) = delete;

  MemoryBuffers buffers;
  ModelRecord model{buffers};
  CFreqCodec freq;
  CFieldCodec field;
  MergeSlots mergeSlots;
  // Start-up switches that change behaviour for the whole run.
  bool votingSwitch = false;

  ByteArea Image() { return buffers.Image(); }
  ByteArea Ext() { return buffers.Ext(); }

  // After the model bytes change: limits into the frequency codec, name rules
  // into the field codec.
  void SyncCodecs() {
    model.PushLimits(freq);
    field.SetSecondGeneration(model.IsSecondGen());
  }
  // The test-frequency (16 slots) and tuning-frequency (5 slots) tables.
  CFreqPairTable TestFreqTable();
  CFreqPairTable TuningFreqTable();
};

}  // namespace vb420
