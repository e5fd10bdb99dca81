// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/features/KeyFields.h"

#include <algorithm>
#include <cstdio>

#include "data/AreaDefaults.h"
#include "data/ImageLayout.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"

// Tables name only the members they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

size_t KeyTableChoice::Base() const { return alternate ? img::kAlternateKeys : keys::kTable; }

namespace {

// A check box shows and takes the "on" and "off" texts.
std::vector<forms::Choice> CheckMap(int checked = 0, int unchecked = 1) { return {{370, checked}, {371, unchecked}}; }

size_t Record(KeyTableChoice t, int key) { return t.Base() + keys::kRecordSize * static_cast<size_t>(key); }
bool ValidKey(int key) { return key >= 0 && key < keys::kKeyCount; }

bool IsMobile(RadioData& d) { return d.model.Kind() == 2; }

// Hold companions: byte +2 and the hold time a first-column code brings.
struct Companion {
  int hold;
  int time;  // -1: the emergency hold time at 0x7DB
};

Companion CompanionOf(int code, bool alternate) {
  switch (code) {
    case 14: case 16: return {code + 1, 1000};
    case 20: case 22: return {21, 3000};
    case 24: case 26: case 28: case 34: return {code + 1, 3000};
    case 31: return {31, -1};
    case 37: return {37, 1000};
    case 44: return {45, 1000};
    case 46: return {41, 1000};
    case 49: return {0xFF, 1000};
    case 51: return {47, 2000};
    case 52: return {79, 1000};
    case 53: return {54, 1000};
    case 55: case 56: case 57: case 64: case 65: case 58: return {49, 1000};
    case 68: case 70: case 74: case 76: return {code + 1, 1000};
    case 73: return {72, 2000};
    case 92: return {92, 1000};
    case 96: case 97: case 98: case 99: case 102: case 104:
      if (alternate) return {code, 1000};
      return {0xFF, 0xFFFF};
    default: return {0xFF, 0xFFFF};
  }
}

bool CompanionInPlusZero(int hold) {
  return hold == 0xFF || hold == 15 || hold == 17 || hold == 69 || hold == 71 || hold == 75 || hold == 77;
}
bool CompanionHoldsFunction(int hold) { return hold == 31 || hold == 37 || hold == 92; }

bool In(int code, std::initializer_list<int> list) { return std::find(list.begin(), list.end(), code) != list.end(); }

}  // namespace

const std::vector<KeyFunction>& KeyFunctionList() {
  static const std::vector<KeyFunction> list = {
      {362, 255}, {351, 0},   {985, 3},   {936, 4},   {934, 1},   {935, 2},    {1092, 5},  {937, 6},
      {938, 7},   {907, 8},   {908, 9},   {909, 10},  {910, 11},  {911, 12},   {912, 13},  {939, 14},
      {966, 15},  {988, 78},  {940, 16},  {967, 17},  {898, 18},  {941, 19},   {921, 20},  {968, 21},
      {922, 22},  {969, 23},  {923, 24},  {970, 25},  {924, 26},  {971, 27},   {925, 28},  {972, 29},
      {542, 30},  {942, 31},  {943, 32},  {889, 33},  {944, 34},  {973, 35},   {945, 36},  {946, 37},
      {947, 38},  {570, 39},  {948, 40},  {655, 41},  {753, 42},  {949, 43},   {899, 44},  {974, 45},
      {950, 46},  {986, 47},  {951, 48},  {975, 49},  {990, 80},  {952, 51},   {953, 52},  {365, 53},
      {976, 54},  {954, 55},  {977, 56},  {955, 57},  {978, 58},  {956, 59},   {957, 60},  {669, 61},
      {958, 62},  {959, 63},  {1054, 64}, {979, 65},  {960, 66},  {961, 67},   {543, 50},  {1173, 92},
      {962, 68},  {980, 69},  {963, 70},  {981, 71},  {670, 73},  {676, 72},   {964, 74},  {983, 75},
      {965, 76},  {984, 77},  {989, 79},  {1199, 96}, {1200, 97}, {1201, 98},  {1203, 100}, {1205, 102},
      {1206, 103}, {1207, 104}, {1208, 105}, {1209, 106}, {1210, 107}, {1242, 112}};
  return list;
}

int KeyFunctionEntry(int code) {
  for (const KeyFunction& f : KeyFunctionList())
    if (f.code == code) return f.textEntry;
  return -1;
}

bool KeyPresent(RadioData& data, int key) {
  const bool mobile = IsMobile(data);
  const ByteArea image = data.Image();
  const uint8_t a = image.u8(keys::kAccessoryA), b = image.u8(keys::kAccessoryB);
  const bool keypad = a != 0xFF && b == 0xFF;
  if (key == 0 || key == 1 || key == 8 || key == 9) return mobile;
  if (key >= 2 && key <= 7) return true;
  if (key == 10) return !mobile;
  if ((key >= 11 && key <= 20) || key == 25 || key == 26) return keypad;
  if (key >= 21 && key <= 24) return mobile && a == '2' && b == 0xFF;
  if (key == 27 || key == 28) return !mobile;
  return false;
}

int KeyLabelEntry(RadioData& data, int key, std::string& literal) {
  literal.clear();
  const bool mobile = IsMobile(data);
  switch (key) {
    case 0: return 928;
    case 1: return 929;
    case 2: return mobile ? 932 : 914;
    case 3: literal = "S "; return -1;
    case 4: literal = "A "; return -1;
    case 5: literal = "B "; return -1;
    case 6: literal = "C "; return -1;
    case 7: return mobile ? 933 : 915;
    case 8: return 930;
    case 9: return 931;
    case 10: return 913;
    case 25: literal = "* "; return -1;
    case 26: literal = "# "; return -1;
    case 27: return 919;
    case 28: return 920;
    default: break;
  }
  if (key >= 11 && key <= 20) literal = std::string(1, static_cast<char>('0' + key - 11)) + " ";
  else if (key >= 21 && key <= 24) literal = std::string(1, static_cast<char>('A' + key - 21)) + " ";
  return -1;
}

std::string KeyLabel(RadioData& data, TextTable& text, int key) {
  std::string literal;
  const int entry = KeyLabelEntry(data, key, literal);
  return entry >= 0 ? text.Text(entry) : literal;
}

bool KeyFunctionAllowed(RadioData& data, KeyTableChoice table, int c, int key, int m) {
  const bool mobile = IsMobile(data);
  const bool portable = !mobile;
  const bool gen2 = data.model.IsSecondGen();
  const int system = SystemType(data.Image());
  const uint8_t board = data.Image().u8(img::kOptionBoard);
  if (In(c, {255, 0, 1, 2, 4, 8, 9, 10, 11, 12, 13, 18, 30, 32, 42, 50, 61, 62, 66, 67, 78, 59})) return true;
  if (c == 3) return system == 4;
  if (c == 5 || c == 38 || c == 40) return portable;
  if (In(c, {6, 7, 36, 39, 48})) return mobile;
  if (In(c, {14, 16, 20, 22, 24, 26, 28, 33, 34, 51, 52, 53, 55, 57, 64, 74, 76, 43, 63})) return m != 1;
  if (c == 19) return !gen2;
  if (c == 31) return m != 1 && (key == 10 || (key == 2 && mobile) || (key == 27 && portable));
  if (c == 37) return m != 1 && portable;
  if (c == 44) return m == 0;
  if (c == 46) return m != 1 && system == 4;
  if (c == 60) return portable && (key == 27 || key == 28);
  if (c == 68 || c == 70) return m != 1 && mobile;
  if (c == 73) return m != 1 && portable && board == '3';
  if (c == 79) return m == 2;
  if (c == 80) return gen2;
  if (c == 92) return m != 1 && portable && board == '2';
  if (In(c, {96, 97, 98, 99, 102, 104})) return table.alternate && m != 1;
  if (In(c, {100, 101, 103, 105, 106, 107, 112})) return table.alternate;
  return false;
}

int DisplayedFirstFunction(RadioData& data, KeyTableChoice table, int key) {
  if (!ValidKey(key)) return keys::kNone;
  const ByteArea image = data.Image();
  const size_t rec = Record(table, key);
  const int hold = image.u8(rec + 2);
  if (CompanionInPlusZero(hold)) return image.u8(rec + 0);
  if (CompanionHoldsFunction(hold)) return hold;
  return image.u8(rec + 3);
}

int SecondFunction(RadioData& data, KeyTableChoice table, int key) {
  return ValidKey(key) ? data.Image().u8(Record(table, key) + 1) : keys::kNone;
}

int HoldFunction(RadioData& data, KeyTableChoice table, int key) {
  return ValidKey(key) ? data.Image().u8(Record(table, key) + 2) : keys::kNone;
}

int HoldTime(RadioData& data, KeyTableChoice table, int key) {
  return ValidKey(key) ? data.Image().u16le(Record(table, key) + 4) : 0xFFFF;
}

bool SecondColumnEditable(RadioData& data, KeyTableChoice table, int key) {
  return DisplayedFirstFunction(data, table, key) != 31;
}

bool KeyFunctionAssigned(RadioData& data, KeyTableChoice table, int code) {
  const ByteArea image = data.Image();
  // The second column counts only while some key holds code 33 (the key
  // that switches to the second functions) in its first column.
  bool shiftKey = false;
  for (int k = 0; k < keys::kKeyCount && !shiftKey; ++k)
    if (KeyPresent(data, k) && DisplayedFirstFunction(data, table, k) == 33) shiftKey = true;
  for (int k = 0; k < keys::kKeyCount; ++k) {
    if (!KeyPresent(data, k)) continue;
    const size_t rec = Record(table, k);
    if (KeyFunctionAllowed(data, table, code, k, 2) && image.u8(rec + 2) == code) return true;
    const bool plusZero = table.alternate && image.u8(rec + 2) == 0xFF;
    if ((plusZero ? image.u8(rec + 0) : image.u8(rec + 3)) == code) return true;
    if (DisplayedFirstFunction(data, table, k) == code) return true;
    if (shiftKey && SecondColumnEditable(data, table, k) && image.u8(rec + 1) == code) return true;
  }
  return false;
}

bool AssignKeyFunction(RadioData& data, KeyTableChoice table, int key, int column, int code, bool* othersChanged) {
  if (othersChanged) *othersChanged = false;
  if (!ValidKey(key) || (column != 0 && column != 1)) return false;
  if (!KeyFunctionAllowed(data, table, code, key, column)) return false;
  if (column == 1 && !SecondColumnEditable(data, table, key)) return false;
  const bool had34 = KeyFunctionAssigned(data, table, 34), had51 = KeyFunctionAssigned(data, table, 51);
  ByteArea image = data.Image();
  const size_t rec = Record(table, key);
  if (column == 1) {
    image.setU8(rec + 1, static_cast<uint8_t>(code));
  } else {
    const Companion c = CompanionOf(code, table.alternate);
    image.setU8(rec + 2, static_cast<uint8_t>(c.hold));
    image.setU16le(rec + 4, static_cast<uint16_t>(c.time < 0 ? image.u16le(keys::kEmergencyHoldTime) : c.time));
    if (CompanionInPlusZero(c.hold)) {
      image.setU8(rec + 0, static_cast<uint8_t>(code));
      image.setU8(rec + 3, keys::kNone);
    } else if (CompanionHoldsFunction(c.hold)) {
      image.setU8(rec + 0, keys::kNone);
      image.setU8(rec + 3, keys::kNone);
    } else {
      image.setU8(rec + 3, static_cast<uint8_t>(code));
      image.setU8(rec + 0, keys::kNone);
    }
    if (code == 31) image.setU8(rec + 1, keys::kNone);
  }
  if (othersChanged)
    *othersChanged = had34 != KeyFunctionAssigned(data, table, 34) || had51 != KeyFunctionAssigned(data, table, 51);
  return true;
}

int RemoveDisallowedKeyFunctions(RadioData& data) {
  int removed = 0;
  for (bool alt : {false, true}) {
    const KeyTableChoice t{alt};
    for (int k = 0; k < keys::kKeyCount; ++k) {
      const int first = DisplayedFirstFunction(data, t, k);
      if (first != keys::kNone && !KeyFunctionAllowed(data, t, first, k, 0)) {
        AssignKeyFunction(data, t, k, 0, keys::kNone);
        ++removed;
      }
      const int second = SecondFunction(data, t, k);
      if (second != keys::kNone && !KeyFunctionAllowed(data, t, second, k, 1)) {
        data.Image().setU8(Record(t, k) + 1, keys::kNone);
        ++removed;
      }
    }
  }
  return removed;
}

std::vector<KeyPage> KeyPages(RadioData& data) {
  auto present = [&](std::initializer_list<int> list) {
    std::vector<int> out;
    for (int k : list)
      if (KeyPresent(data, k)) out.push_back(k);
    return out;
  };
  if (IsMobile(data))
    return {{882, KeyPageKind::Settings, {}},
            {883, KeyPageKind::Keys, present({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
            {884, KeyPageKind::Keys, present({11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 25, 26, 21, 22, 23, 24})},
            {887, KeyPageKind::QuickCall, {}},
            {888, KeyPageKind::DirectChannel, {}}};
  return {{882, KeyPageKind::Settings, {}},
          {885, KeyPageKind::Keys, present({10, 2, 7})},
          {886, KeyPageKind::Keys, present({3, 4, 5, 6, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 25, 26})},
          {884, KeyPageKind::Keys, present({27, 28})},
          {887, KeyPageKind::QuickCall, {}},
          {888, KeyPageKind::DirectChannel, {}}};
}

// ---- field tables -------------------------------------------------------------------

namespace {

int KeyOf(const FormContext& c, int key) { return key >= 0 ? key : c.cursor.record; }
KeyTableChoice TableOf(const FormContext& c) { return {c.cursor.zone == 1}; }

std::vector<Choice> FunctionChoices() {
  std::vector<Choice> out;
  for (const KeyFunction& f : KeyFunctionList()) out.push_back({f.textEntry, f.code});
  return out;
}

FieldDescriptor FunctionColumn(int key, int column) {
  FieldDescriptor d{.key = column == 0 ? "press" : "second",
                    .labelEntry = -1,
                    .kind = ControlKind::Combo,
                    .field = ImageByte(static_cast<uint32_t>(keys::kTable + (key < 0 ? 0 : keys::kRecordSize * key) +
                                                             (column == 0 ? 3 : 1))),
                    .encoding = Encoding::Custom,
                    .choices = FunctionChoices()};
  d.offered = [key, column](const FormContext& c, const Choice& ch) {
    return KeyFunctionAllowed(c.data, TableOf(c), ch.value, KeyOf(c, key), column);
  };
  d.customValue = [key, column](const FormContext& c) {
    const int k = KeyOf(c, key);
    return column == 0 ? DisplayedFirstFunction(c.data, TableOf(c), k) : SecondFunction(c.data, TableOf(c), k);
  };
  d.customStoreValue = [key, column](FormContext& c, int value) {
    AssignKeyFunction(c.data, TableOf(c), KeyOf(c, key), column, value);
  };
  if (column == 1)
    d.enabled = [key](const FormContext& c) { return SecondColumnEditable(c.data, TableOf(c), KeyOf(c, key)); };
  return d;
}

FieldDescriptor HoldColumn(int key) {
  FieldDescriptor d{.key = "hold", .labelEntry = 982, .kind = ControlKind::Static, .encoding = Encoding::Custom};
  d.customShow = [key](const FormContext& c) {
    const int hold = HoldFunction(c.data, TableOf(c), KeyOf(c, key));
    const int entry = KeyFunctionEntry(hold);
    return entry >= 0 ? c.text.Text(entry) : std::to_string(hold);
  };
  d.enabled = [](const FormContext&) { return false; };  // follows the first column
  return d;
}

FieldDescriptor HoldTimeColumn(int key) {
  FieldDescriptor d{.key = "holdtime", .labelEntry = 987, .kind = ControlKind::Static, .encoding = Encoding::Custom};
  d.customShow = [key](const FormContext& c) {
    const int t = HoldTime(c.data, TableOf(c), KeyOf(c, key));
    return t == 0xFFFF ? c.text.Text(362) : std::to_string(t);
  };
  d.enabled = [](const FormContext&) { return false; };
  return d;
}

// The names of the stored records for the quick-call target list.
std::string RecordName(const ByteArea& area, size_t at, size_t width) {
  std::string s;
  for (size_t i = 0; i < width; ++i) {
    const uint8_t ch = area.u8(at + i);
    if (ch == 0 || ch == 0xFF) break;
    s.push_back(ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '?');
  }
  while (!s.empty() && s.back() == ' ') s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  return s;
}

}  // namespace

std::vector<Choice> QuickCallTargets(RadioData& data, int kind) {
  std::vector<Choice> out;
  auto add = [&](int n, const std::string& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    out.push_back({.textEntry = -1, .value = n, .literal = name.empty() ? std::string(buf) : std::string(buf) + ": " + name});
  };
  if (kind == '0') {
    for (int i = 0; i < 32; ++i) add(i + 1, RecordName(data.Ext(), ext::kNamedRecords + 32 * static_cast<size_t>(i), 12));
  } else if (kind == '1') {
    for (int i = 0; i < 32; ++i)
      add(i + 1, RecordName(data.Image(), fld::kTwoToneNames + fld::kTwoToneRecordSize * static_cast<size_t>(i), 12));
  } else if (kind == '3') {
    const DirectoryList l = StatusList(data.Image());
    for (size_t i = 0; i < l.count; ++i) add(static_cast<int>(i) + 1, RecordName(data.Image(), l.Row(i), 16));
  }
  return out;
}

std::vector<FieldDescriptor> KeyRowFields(int key) {
  return {FunctionColumn(key, 0), FunctionColumn(key, 1), HoldColumn(key), HoldTimeColumn(key)};
}

std::vector<FieldDescriptor> KeySettingsFields() {
  FieldDescriptor a{.key = "setup.acca", .labelEntry = 891, .kind = ControlKind::Combo,
                    .field = ImageByte(keys::kAccessoryA), .encoding = Encoding::Value,
                    .choices = {{362, 0xFF}, {895, '1'}, {896, '2'}, {897, '0'}}};
  a.offered = [](const FormContext& c, const Choice& ch) {
    if (ch.value == 0xFF) return true;
    return c.IsMobile() ? ch.value != '0' : ch.value == '0';
  };
  FieldDescriptor b{.key = "setup.accb", .labelEntry = 892, .kind = ControlKind::Combo,
                    .field = ImageByte(keys::kAccessoryB), .encoding = Encoding::Value,
                    .choices = {{362, 0xFF}, {898, '0'}, {899, '1'}, {900, '2'}, {901, '3'}, {902, '4'}, {903, '5'}, {904, '6'}}};
  FieldDescriptor tone{.key = "setup.sidetone", .labelEntry = 893, .kind = ControlKind::Check,
                       .field = ImageWordBit(keys::kOptionWord, 2), .encoding = Encoding::Value, .choices = CheckMap(), .checkedValue = 0,
                       .uncheckedValue = 1};
  return {a, b, tone};
}

FieldDescriptor KeySelectorField() {
  FieldDescriptor d{.key = "setup.selector", .labelEntry = 916, .kind = ControlKind::Combo,
                    .field = ImageByte(keys::kSelector), .encoding = Encoding::Value,
                    .choices = {{362, 0xFF}, {917, '0'}, {918, '1'}}};
  d.enabled = [](const FormContext& c) { return c.IsPortable(); };
  return d;
}

std::vector<FieldDescriptor> QuickCallFields() {
  std::vector<FieldDescriptor> kinds, numbers;
  for (int i = 0; i < 6; ++i) {
    const uint32_t rec = static_cast<uint32_t>(keys::kQuickCallParams + 4 * static_cast<size_t>(i));
    FieldDescriptor k{.key = "qcall." + std::to_string(i + 1) + ".kind", .labelEntry = 907 + i, .kind = ControlKind::Combo,
                      .field = ExtByte(rec), .encoding = Encoding::Value, .choices = {{355, '0'}, {351, '1'}, {903, '3'}}};
    // A new kind leaves the number unset until one of its items is chosen.
    k.afterStore = [rec](FormContext& c) { c.data.Ext().setU16le(rec + 1, 0xFFFF); };
    k.dependents = {6 + i};
    kinds.push_back(k);
    FieldDescriptor n{.key = "qcall." + std::to_string(i + 1) + ".number", .labelEntry = -1,
                      .kind = ControlKind::EditCombo, .field = ExtWord(rec + 1), .encoding = Encoding::Number,
                      .minimum = 1, .maximum = 32, .emptyValue = 0xFFFF, .emptyTextEntry = 362};
    n.dynamicMaximum = [rec](const FormContext& c) {
      const int kind = c.ExtByte(rec);
      if (kind != '3') return 32;
      return std::max(static_cast<int>(StatusList(c.data.Image()).count), 1);  // as many as the list holds
    };
    n.dynamicChoices = [rec](const FormContext& c) {
      std::vector<Choice> rows{{362, 0xFFFF}};
      for (Choice& ch : QuickCallTargets(c.data, c.ExtByte(rec))) rows.push_back(std::move(ch));
      return rows;
    };
    n.customShow = nullptr;
    n.blankOutsideRange = false;
    numbers.push_back(n);
  }
  kinds.insert(kinds.end(), numbers.begin(), numbers.end());
  return kinds;
}

std::vector<FieldDescriptor> DirectChannelFields() {
  std::vector<FieldDescriptor> zones, channels;
  for (int i = 0; i < 5; ++i) {
    const uint32_t rec = static_cast<uint32_t>(keys::kDirectChannelParams + 2 * static_cast<size_t>(i));
    zones.push_back({.key = "dchan." + std::to_string(i + 1) + ".zone", .labelEntry = 921 + i, .kind = ControlKind::EditSpin,
                     .field = ExtByte(rec), .encoding = Encoding::Number, .minimum = 1, .maximum = 128,
                     .emptyValue = 0xFF, .emptyTextEntry = 362});
    channels.push_back({.key = "dchan." + std::to_string(i + 1) + ".channel", .labelEntry = -1,
                        .kind = ControlKind::EditSpin, .field = ExtByte(rec + 1), .encoding = Encoding::Number,
                        .minimum = 1, .maximum = 250, .emptyValue = 0xFF, .emptyTextEntry = 362});
  }
  zones.insert(zones.end(), channels.begin(), channels.end());
  zones.push_back({.key = "dchan.usersel", .labelEntry = 926, .kind = ControlKind::Check,
                   .field = ImageWordBit(keys::kOptionWord, 3), .encoding = Encoding::Value, .choices = CheckMap(), .checkedValue = 0,
                   .uncheckedValue = 1});
  zones.push_back({.key = "dchan.storetone", .labelEntry = 927, .kind = ControlKind::Check,
                   .field = ImageWordBit(keys::kOptionWord, 4), .encoding = Encoding::Value, .choices = CheckMap(), .checkedValue = 0,
                   .uncheckedValue = 1});
  return zones;
}

// ---- settings sets ------------------------------------------------------------------------

namespace {

class KeyRecord : public BoundRecord {
 public:
  KeyRecord(RadioData& d, TextTable& t, RecordCursor c) : ctx_(d, t, false, c) {}
  FormContext& Context() override { return ctx_; }

 private:
  FormContext ctx_;
};

// keys.K (K the key index 0 to 28, present keys only) and keys.alt.K for the
// PassPort table.
bool ParseKeyPrefix(RadioData& data, const std::string& prefix, RecordCursor& c) {
  std::string rest;
  int table = 0;
  if (prefix.rfind("keys.alt.", 0) == 0) {
    rest = prefix.substr(9);
    table = 1;
  } else if (prefix.rfind("keys.", 0) == 0) {
    rest = prefix.substr(5);
  } else {
    return false;
  }
  if (rest.empty() || rest.size() > 2 || (rest.size() > 1 && rest[0] == '0')) return false;
  int k = 0;
  for (char ch : rest) {
    if (ch < '0' || ch > '9') return false;
    k = k * 10 + (ch - '0');
  }
  if (!ValidKey(k) || !KeyPresent(data, k)) return false;
  c = {table, k};
  return true;
}

const std::vector<FieldDescriptor>& GenericKeyFields() {
  static const std::vector<FieldDescriptor> f = KeyRowFields(-1);
  return f;
}

const std::vector<FieldDescriptor>& KeyParamFields() {
  static const std::vector<FieldDescriptor> f = [] {
    std::vector<FieldDescriptor> all = KeySettingsFields();
    all.push_back(KeySelectorField());
    for (FieldDescriptor& d : QuickCallFields()) all.push_back(d);
    for (FieldDescriptor& d : DirectChannelFields()) all.push_back(d);
    return all;
  }();
  return f;
}

FieldSet MakeKeySet() {
  FieldSet s;
  s.name = "keys";
  s.recordKind = "key";
  s.keyPattern = "`keys.K.KEY`, K the key index (0 to 28, keys the model and accessories have); "
                 "`keys.alt.K.KEY` the PassPort key table";
  s.fields = &GenericKeyFields();
  s.records = [](RadioData& data) {
    std::vector<FieldSetRecord> out;
    for (int table = 0; table < 2; ++table)
      for (int k = 0; k < keys::kKeyCount; ++k)
        if (KeyPresent(data, k)) out.push_back({(table ? "keys.alt." : "keys.") + std::to_string(k), {table, k}});
    return out;
  };
  s.parse = ParseKeyPrefix;
  s.bind = [](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<KeyRecord>(data, text, c);
  };
  return s;
}

FieldSet MakeKeyParamSet() {
  FieldSet s;
  s.name = "keysetup";
  s.recordKind = "settings";
  s.keyPattern = "`keys.KEY`: the accessory settings (`setup.*`), the quick-call targets (`qcall.N.*`) and the "
                 "direct channels (`dchan.N.*`)";
  s.fields = &KeyParamFields();
  s.records = [](RadioData&) { return std::vector<FieldSetRecord>{{"keys", {}}}; };
  s.parse = [](RadioData&, const std::string& prefix, RecordCursor& c) {
    c = {};
    return prefix == "keys";
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<KeyRecord>(data, text, c);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeKeySet());
  RegisterFieldSet(MakeKeyParamSet());
}


// ---- the pre-write check ---------------------------------------------------------------

void CheckKeys(RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
  // A key bound to a function the model, the option board or the system
  // type no longer allows: named with its key and function.
  for (bool alt : {false, true}) {
    const KeyTableChoice t{alt};
    for (int k = 0; k < keys::kKeyCount; ++k) {
      if (!KeyPresent(data, k)) continue;
      for (int column = 0; column < 2; ++column) {
        const int f = column == 0 ? DisplayedFirstFunction(data, t, k) : SecondFunction(data, t, k);
        if (f == keys::kNone || KeyFunctionAllowed(data, t, f, k, column)) continue;
        const int entry = KeyFunctionEntry(f);
        std::string line = "\"" + text.Text(339) + "\": " + KeyLabel(data, text, k);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        line += " - " + (entry >= 0 ? text.Text(entry) : std::to_string(f));
        out.push_back({0, line});
      }
    }
  }
  // A direct-channel function needs its zone and channel.
  const ByteArea ext = data.Ext();
  for (int i = 0; i < 5; ++i) {
    const int code = 20 + 2 * i;
    const size_t rec = keys::kDirectChannelParams + 2 * static_cast<size_t>(i);
    const bool set = ext.u8(rec) != 0xFF && ext.u8(rec + 1) != 0xFF;
    if (!set && (KeyFunctionAssigned(data, {false}, code) || KeyFunctionAssigned(data, {true}, code))) {
      out.push_back({888, {}});
      return;
    }
  }
}

}  // namespace

void RegisterKeyWriteChecks() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterWriteCheck("keys", kSlotKeys, CheckKeys);
}

void StateKeyTablesInDirectory(RadioData& data) {
  ByteArea image = data.Image();
  image.setU16le(dir::kKeyTableCountWord, keys::kKeyCount);
  image.setU16le(dir::kAlternateKeysWord, static_cast<uint16_t>(img::kAlternateKeys));
}

void RegisterKeyFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
