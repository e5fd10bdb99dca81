// SPDX-License-Identifier: GPL-3.0-or-later
// Field sets: every table of field descriptors, with the records it applies
// to, under one stable key scheme. The same sets drive the editor windows,
// `vb420cli settings` and the field tests.
//
// A key is `<prefix>.<field key>`; the prefix names the record:
//   zone.3.header.timeout    header field "timeout" of zone 3 (its number, 7, is still taken)
//   zone.3.ch.17.rxf         receive frequency of channel 17 of zone 3
//   zone.3.group.5.name      name of group 5 of zone 3 (LTR or PassPort)
//   zone.3.rep.2.rxf          first frequency of repeater 2 of zone 3
// Editors of radio-wide areas use `<area>.<group>.<name>`
// (features.common.keylocktime; a field's positional key of earlier
// versions, features.0.7, is still taken) or `<area>.<page>.<index>`, and
// list editors `<list>.<row>.<field>` (idlist.7.fleet). Numbers in keys are
// 1-based, as the windows show them.
//
// Each table file has a `Register...FieldSets()` that adds its sets; the one
// registration of every part (`RegisterCore()`, editors/registry) calls them
// all, so every program and test sees the same sets.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "editors/forms/FormEngine.h"

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::forms {

// One record of a set, bound to the image: its form context (with the
// cursor and a locator that finds the record) lives as long as this object.
class BoundRecord {
 public:
  virtual ~BoundRecord() = default;
  virtual FormContext& Context() = 0;
  // Stores a typed text. The default is the engine's rule; sets whose
  // records come and go with their first field (`recordKey`) create or
  // remove the record here. Returns false when the text was refused.
  virtual bool StoreText(const FieldDescriptor& d, std::string& text);
};

// A record its cursor (and, for record-relative fields, a locator) finds:
// the binding of list rows that need nothing more.
class CursorRecord : public BoundRecord {
 public:
  CursorRecord(RadioData& data, TextTable& text, bool voting, RecordCursor cursor,
               const RecordLocator* locator = nullptr)
      : ctx_(data, text, voting, cursor, locator) {}
  FormContext& Context() override { return ctx_; }

 private:
  FormContext ctx_;
};

struct FieldSetRecord {
  std::string prefix;  // "zone.3.ch.17"
  RecordCursor cursor;
};

struct FieldSet {
  std::string name;       // the editor name `--editor` takes
  std::string recordKind; // the part of the prefix after the zone ("ch", "group", "header", ...)
  // How the field document describes the keys of a set outside the zones
  // (Markdown); empty for the zone sets (zone.Z.<recordKind>[.N].KEY).
  std::string keyPattern;
  const std::vector<FieldDescriptor>* fields = nullptr;
  // The records the set applies to now, in window order.
  std::function<std::vector<FieldSetRecord>(RadioData&)> records;
  // Reads a key prefix back into a cursor; false when it is not one of ours.
  std::function<bool(RadioData&, const std::string& prefix, RecordCursor&)> parse;
  // Binds one record.
  std::function<std::unique_ptr<BoundRecord>(RadioData&, TextTable&, RecordCursor)> bind;
  // The setting fields by key and by old key, made when the set is
  // registered (a whole programming's text looks up tens of thousands of
  // keys).
  std::shared_ptr<const std::unordered_map<std::string, const FieldDescriptor*>> byKey;
};

// Adds a set, or replaces the set of the same name (registering twice is
// harmless).
void RegisterFieldSet(FieldSet set);
const std::vector<FieldSet>& FieldSets();

// A set's fields under names that say what they hold: a copy of `fields`
// in which each key of `names` (old, new) takes its new name and keeps the
// old one as an alias, so that scripts written with the older keys still
// work. Fields left out of `names` keep their key. The copy lives as long as
// the program.
struct KeyName {
  const char* old;
  const char* name;
};
const std::vector<FieldDescriptor>* NamedFields(const std::vector<FieldDescriptor>& fields,
                                                std::initializer_list<KeyName> names);

// ---- settings by key ---------------------------------------------------------

struct SettingLine {
  std::string key;
  std::string text;   // as the editor window shows it
  bool enabled = true;
  // After a store: the typed number lay beyond the field's range and was
  // brought to the nearer limit (ClampedToLimit).
  bool clamped = false;
};

// True when a store changed a typed number into another one by more than
// rounding down to the field's step can: the number was brought to a limit
// of its range. `step` is in the units shown; texts that are not plain
// numbers (names, "Off", letters) are never taken as clamped. The settings
// and the channel command both ask this.
bool ClampedToLimit(const std::string& typed, const std::string& shown, double step, char separator);

enum class SettingStatus {
  Ok = 0,
  UnknownKey,     // no set, record or field of that name
  Disabled,       // the field exists but cannot be changed now (model, zone type, ...)
  BadValue,       // a list field given a text that is none of its rows, a tone none of the list
  UnknownEditor,  // `editor` names no set
  Refused,        // the store was refused (no room for the record, the channel limit)
};

// Every field of every record of every set (or of the set `editor`).
SettingStatus ListSettings(RadioData& data, TextTable& text, const std::string& editor, std::vector<SettingLine>& out);
// The descriptor a key names now, without binding its record: null when no
// set takes the key (a zone header of a zone that does not exist yet).
const FieldDescriptor* SettingDescriptor(RadioData& data, const std::string& key);
// One field.
SettingStatus GetSetting(RadioData& data, TextTable& text, const std::string& key, SettingLine& out);
// Stores `value` by the rules of the window: typed texts are clamped as the
// edit boxes clamp them, list fields take one of their row texts. `out`
// receives the text shown afterwards; `message` a message entry the window
// would show (a warning, a failed record creation), 0 for none. With
// `exactTones` a tone must name a tone of the list, a code or the off text
// (CFieldCodec::ToneChoiceRow), where the window's box forces any text into
// some tone: what a person types on a command line is taken at its word,
// while a file keeps every tone the window could have stored.
SettingStatus SetSetting(RadioData& data, TextTable& text, const std::string& key, const std::string& value,
                         SettingLine& out, int& message, bool exactTones = false);

// The keys of the fields whose value starts at one of the image offsets
// `at` (the findings of the checks before a write name their bytes so).
std::vector<std::string> KeysAtImageOffsets(RadioData& data, TextTable& text, const std::vector<uint32_t>& at);

// Writes the new-programming values the descriptors carry (NewImageValue)
// into the image and the extension area: of one table, or of every
// registered set. Record fields (zones, lists) have none.
void WriteNewImageValues(RadioData& data, const std::vector<FieldDescriptor>& table);
void WriteRegisteredNewImageValues(RadioData& data);

// The text of a field of a bound record, as the window shows it.
std::string SettingText(const FormContext& ctx, const FieldDescriptor& d);

}  // namespace vb420::forms
