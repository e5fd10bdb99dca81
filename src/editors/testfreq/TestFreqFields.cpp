// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/testfreq/TestFreqFields.h"

#include <algorithm>

#include "data/NewImage.h"
#include "editors/forms/FieldSets.h"

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

// ---------------------------------------------------------------------------
// The grid's columns as a field table

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

namespace {

constexpr int kMaxTypedChars = 9;

FieldDescriptor Column(const char* key, int column, int label) {
  FieldDescriptor d{.key = key, .number = column, .labelEntry = label, .kind = ControlKind::Text,
                    .encoding = Encoding::Custom, .inputMode = 3, .maxLength = kMaxTypedChars};
  d.customShow = [column](const FormContext& c) { return TestFreqText(c.data, c.cursor.record, column); };
  d.customStore = [column](FormContext& c, std::string& text) {
    const TestFreqStoreResult r = StoreTestFreq(c.data, c.cursor.record, column, text);
    if (r.result == TestFreqStore::kOutOfRange) c.message = column == 0 ? 283 : 284;
    text = TestFreqText(c.data, c.cursor.record, column);
  };
  // A row starts with its receive frequency: the transmit cell of an empty
  // slot cannot be typed into.
  if (column == 1) d.enabled = [](const FormContext& c) { return TestFreqSet(c.data, c.cursor.record, 0); };
  return d;
}

// One slot of the table, bound for the settings verb.
class SlotRecord : public BoundRecord {
 public:
  SlotRecord(RadioData& data, TextTable& text, int slot) : ctx_(data, text, data.votingSwitch, {-1, slot}) {}
  FormContext& Context() override { return ctx_; }
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    // Surrounding blanks are not part of a frequency; anything the edit
    // box would not let through is refused rather than read as "clear".
    size_t a = 0, b = text.size();
    while (a < b && (text[a] == ' ' || text[a] == '\t')) ++a;
    while (b > a && (text[b - 1] == ' ' || text[b - 1] == '\t')) --b;
    std::string typed = text.substr(a, b - a);
    if (!TestFreqTypable(ctx_.data, typed)) return false;
    const bool stored = FormEngine::StoreText(ctx_, d, typed);
    text = typed;
    return stored;
  }

 private:
  FormContext ctx_;
};

bool ParseSlotPrefix(const std::string& prefix, RecordCursor& c) {
  const std::string head = "testfreq.";
  if (prefix.compare(0, head.size(), head) != 0) return false;
  const std::string n = prefix.substr(head.size());
  if (n.empty() || n.size() > 2 || n[0] == '0') return false;
  int v = 0;
  for (char ch : n) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < 1 || v > kTestFreqSlots) return false;
  c = {-1, v - 1};
  return true;
}

FieldSet MakeTestFreqSet() {
  FieldSet s;
  s.name = "testfreq";
  s.recordKind = "slot";
  s.keyPattern = "`testfreq.N.KEY`, N the row, 1 to 16";
  s.fields = &TestFreqFieldTable();
  s.records = [](RadioData&) {
    std::vector<FieldSetRecord> out;
    for (int slot = 0; slot < kTestFreqSlots; ++slot)
      out.push_back({"testfreq." + std::to_string(slot + 1), {-1, slot}});
    return out;
  };
  s.parse = [](RadioData&, const std::string& prefix, RecordCursor& c) { return ParseSlotPrefix(prefix, c); };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    if (!ValidSlot(c.record)) return nullptr;
    return std::make_unique<SlotRecord>(data, text, c.record);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeTestFreqSet());
}

}  // namespace

const std::vector<FieldDescriptor>& TestFreqFieldTable() {
  static const std::vector<FieldDescriptor> table = {Column("rx", 0, 360), Column("tx", 1, 361)};
  return table;
}

bool TestFreqTypable(const RadioData& data, const std::string& text) {
  if (text.size() > static_cast<size_t>(kMaxTypedChars)) return false;
  const char sep = data.freq.DecimalSeparator();
  for (char ch : text)
    if (!(ch >= '0' && ch <= '9') && ch != '.' && ch != sep) return false;
  return true;
}

void RegisterTestFreqFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
