// SPDX-License-Identifier: GPL-3.0-or-later
// The 16 test-frequency slots (image 0x8C0, 10 bytes each: receive and
// transmit frequency and their step codes) as the test-frequency editor
// changes them: typed frequencies, and Copy, Paste and Delete of whole rows.
// A table that loses its last frequency gets the model's default test
// frequencies back, so that test mode always has a channel to offer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "data/RadioData.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

constexpr int kTestFreqSlots = 16;
constexpr int kTestFreqSlotSize = 10;

using TestFreqSlot = std::array<uint8_t, kTestFreqSlotSize>;

// Rows kept by Copy for the life of the program (cleared when the image is
// replaced).
struct TestFreqCopyBuffer {
  std::vector<TestFreqSlot> slots;
  bool Empty() const { return slots.empty(); }
  void Clear() { slots.clear(); }
};

enum class TestFreqStore : int {
  kStored = 1,
  kOutOfRange = -1,   // stored, but outside the model's range (warn 283 or 284)
  kCleared = 0,       // the slot was cleared
};

struct TestFreqStoreResult {
  TestFreqStore result;
  // No slot was set any more: the defaults were loaded and every row must be
  // shown again.
  bool defaultsLoaded = false;
};

// Stores the typed text of `column` (0 receive, 1 transmit) of `slot`.
TestFreqStoreResult StoreTestFreq(RadioData& data, int slot, int column, const std::string& text);
// The cell text of a slot's frequency, empty when it is not set.
std::string TestFreqText(RadioData& data, int slot, int column);
bool TestFreqSet(RadioData& data, int slot, int column);

void CopyTestFreqs(RadioData& data, int first, int last, TestFreqCopyBuffer& buffer);
// Writes the kept rows from `first` on, as far as there are rows; with
// `rows` > 0 no more than that many. True when anything was written.
bool PasteTestFreqs(RadioData& data, int first, int rows, const TestFreqCopyBuffer& buffer);
// Clears the rows; loads the defaults when none is left set (true then).
bool DeleteTestFreqs(RadioData& data, int first, int last);

// The grid's two columns as field descriptors ("rx", "tx"; the record
// cursor's `record` is the 0-based slot). They show and store exactly as the
// grid does, with the warning 283 or 284 left in the context's message; the
// grid itself stores through them. Registered as the field set "testfreq"
// (keys testfreq.N.rx and testfreq.N.tx, N 1 to 16).
const std::vector<forms::FieldDescriptor>& TestFreqFieldTable();
// What the grid's in-cell edit box would take: at most 9 characters, digits
// and the decimal separator only (an empty text clears the slot).
bool TestFreqTypable(const RadioData& data, const std::string& text);

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterTestFreqFieldSets();

}  // namespace vb420
