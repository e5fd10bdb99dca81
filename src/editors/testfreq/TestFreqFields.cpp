#include "editors/testfreq/TestFreqFields.h"

#include <algorithm>

#include "data/NewImage.h"

namespace vb420 {

namespace {

size_t SlotOffset(int slot) { return img::kTestFreqs + static_cast<size_t>(slot) * kTestFreqSlotSize; }
bool ValidSlot(int slot) { return slot >= 0 && slot < kTestFreqSlots; }

// True when the defaults had to be loaded.
bool EnsureAnySet(RadioData& data) {
  bool loaded = false;
  data.TestFreqTable().AnyPairSet([&] {
    WriteDefaultTestFrequencies(data);
    loaded = true;
  });
  return loaded;
}

}  // namespace

TestFreqStoreResult StoreTestFreq(RadioData& data, int slot, int column, const std::string& text) {
  if (!ValidSlot(slot) || column < 0 || column > 1) return {TestFreqStore::kCleared, false};
  const int r = data.TestFreqTable().StorePairFreq(slot, column, text);
  TestFreqStoreResult out{r == 1 ? TestFreqStore::kStored : r < 0 ? TestFreqStore::kOutOfRange
                                                                  : TestFreqStore::kCleared,
                          false};
  out.defaultsLoaded = EnsureAnySet(data);
  return out;
}

std::string TestFreqText(RadioData& data, int slot, int column) {
  if (!TestFreqSet(data, slot, column)) return {};
  std::string s;
  data.TestFreqTable().PairFreqToText(slot, column, s);
  return s;
}

bool TestFreqSet(RadioData& data, int slot, int column) {
  return ValidSlot(slot) && data.TestFreqTable().IsPairFreqSet(slot, column);
}

void CopyTestFreqs(RadioData& data, int first, int last, TestFreqCopyBuffer& buffer) {
  first = std::max(first, 0);
  last = std::min(last, kTestFreqSlots - 1);
  if (first > last) return;
  buffer.slots.clear();
  const ByteArea image = data.Image();
  for (int s = first; s <= last; ++s) {
    TestFreqSlot slot{};
    image.read(SlotOffset(s), slot.data(), slot.size());
    buffer.slots.push_back(slot);
  }
}

bool PasteTestFreqs(RadioData& data, int first, int rows, const TestFreqCopyBuffer& buffer) {
  if (!ValidSlot(first) || buffer.Empty()) return false;
  const int kept = static_cast<int>(buffer.slots.size());
  const int count = std::min({rows > 0 ? rows : kept, kept, kTestFreqSlots - first});
  ByteArea image = data.Image();
  for (int i = 0; i < count; ++i) {
    const TestFreqSlot& slot = buffer.slots[static_cast<size_t>(i)];
    image.write(SlotOffset(first + i), slot.data(), slot.size());
  }
  EnsureAnySet(data);
  return count > 0;
}

bool DeleteTestFreqs(RadioData& data, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kTestFreqSlots - 1);
  ByteArea image = data.Image();
  for (int s = first; s <= last; ++s) image.fill(SlotOffset(s), kTestFreqSlotSize, 0xFF);
  return EnsureAnySet(data);
}

}  // namespace vb420
