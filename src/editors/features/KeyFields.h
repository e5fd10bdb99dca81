// SPDX-License-Identifier: GPL-3.0-or-later
// Key assignment (Edit > Key Assignment): which function each programmable
// key performs. 29 key records of 8 bytes at image 0x5B0 (and the same
// table for PassPort zones at 0x5308): +0 the first function when it has no
// hold companion (or one of 15, 17, 69, 71, 75, 77), +1 the second function,
// +2 the hold companion, +3 the first function with any other companion,
// +4 the hold time in ms. Which keys exist depends on the model and on the
// accessory bytes 0x583/0x584; which functions a key may take on the model,
// the column, the system type and the option board.
#pragma once

#include <string>
#include <vector>

#include "data/RadioData.h"
#include "data/FeatureLayout.h"
#include "data/SignallingLayout.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

class TextTable;

namespace keys {
constexpr size_t kTable = layout::keys::kTable;
constexpr int kKeyCount = 29;
constexpr size_t kRecordSize = 8;
constexpr size_t kSelector = layout::keys::kSelector;
constexpr size_t kAccessoryA = layout::keys::kAccessoryA;
constexpr size_t kAccessoryB = layout::keys::kAccessoryB;
constexpr size_t kOptionWord = layout::keys::kOptionWord;
constexpr size_t kEmergencyHoldTime = emf::kKeyDelay;  // hold time of function 31
constexpr size_t kQuickCallParams = layout::keys::kExtQuickCalls;
constexpr size_t kDirectChannelParams = layout::keys::kExtDirectChannels;
constexpr int kNone = 0xFF;
constexpr int kFunctionRows = 94;
}  // namespace keys

// Which of the two key tables: the PassPort one is used while the zone type
// Zone Information holds as current is PassPort ('5').
struct KeyTableChoice {
  bool alternate = false;
  size_t Base() const;
};

struct KeyFunction {
  int textEntry;
  int code;
};
// The 94 functions in list order (code 255 is "none").
const std::vector<KeyFunction>& KeyFunctionList();
int KeyFunctionEntry(int code);  // text entry of a code, -1 when unknown

bool KeyPresent(RadioData& data, int key);
// The row label of a key: a text entry, or -1 with a literal in `literal`.
int KeyLabelEntry(RadioData& data, int key, std::string& literal);
std::string KeyLabel(RadioData& data, TextTable& text, int key);

// Column kinds: 0 first column, 1 second column, 2 hold byte.
bool KeyFunctionAllowed(RadioData& data, KeyTableChoice table, int code, int key, int column);

int DisplayedFirstFunction(RadioData& data, KeyTableChoice table, int key);
int SecondFunction(RadioData& data, KeyTableChoice table, int key);
int HoldFunction(RadioData& data, KeyTableChoice table, int key);
int HoldTime(RadioData& data, KeyTableChoice table, int key);
bool SecondColumnEditable(RadioData& data, KeyTableChoice table, int key);

// Assigns a function; false (nothing changed) when the code is not allowed
// there. `othersChanged` is set when code 34 or 51 became assigned or
// unassigned, after which every open editor must be refreshed.
bool AssignKeyFunction(RadioData& data, KeyTableChoice table, int key, int column, int code, bool* othersChanged = nullptr);
// Whether a function is assigned to a present key (the assigned test).
bool KeyFunctionAssigned(RadioData& data, KeyTableChoice table, int code);

// Removes every function no key may hold any longer (after a change of
// system type, option board or model): first and second columns of both
// tables, keys that exist or not. Returns how many assignments went.
int RemoveDisallowedKeyFunctions(RadioData& data);
// The key editor keeps the number of key records and the place of the
// PassPort key table in the area directory; it states them when it opens.
void StateKeyTablesInDirectory(RadioData& data);

// The pages of the key window, by model kind.
enum class KeyPageKind { Settings, Keys, QuickCall, DirectChannel };
struct KeyPage {
  int tabEntry;
  KeyPageKind kind;
  std::vector<int> keys;  // Keys pages: the key rows in order (present ones only)
};
std::vector<KeyPage> KeyPages(RadioData& data);

// Field tables of the window. A key row: first and second column (combos),
// hold function and hold time (shown). `key` -1 takes the key from the
// form context's cursor (the settings set); `cursor.zone` 1 selects the
// PassPort table.
std::vector<forms::FieldDescriptor> KeyRowFields(int key);
// Page-0 settings (mobile or portable as the model), the portable selector,
// the quick-call parameters (codes 8 to 13) and the direct channels (20 to 28).
std::vector<forms::FieldDescriptor> KeySettingsFields();
forms::FieldDescriptor KeySelectorField();
std::vector<forms::FieldDescriptor> QuickCallFields();
std::vector<forms::FieldDescriptor> DirectChannelFields();

// Names of the quick-call targets: kind '0' the DTMF memory, '1' the 2-tone
// codes, '3' the status list (as many as its count).
std::vector<forms::Choice> QuickCallTargets(RadioData& data, int kind);

// The pre-write check of the keys (slot 888).
void RegisterKeyWriteChecks();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterKeyFieldSets();

}  // namespace vb420
