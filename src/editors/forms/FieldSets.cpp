// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/forms/FieldSets.h"

#include <algorithm>
#include <deque>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "data/RadioData.h"
#include "lang/DelimitedText.h"
#include "lang/TextTable.h"

namespace vb420::forms {

namespace {

// The input filter of a tone box, and the off text every tone list shows.
constexpr int kToneInput = 40;
constexpr int kOffTextEntry = 362;

std::vector<FieldSet>& Registry() {
  static std::vector<FieldSet> sets;
  return sets;
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

const FieldDescriptor* FindField(const FieldSet& set, const std::string& key) {
  if (set.byKey) {
    const auto it = set.byKey->find(key);
    return it == set.byKey->end() ? nullptr : it->second;
  }
  for (const FieldDescriptor& d : *set.fields)
    if (!d.key.empty() && (d.key == key || d.oldKey == key)) return &d;
  return nullptr;
}

// Only fields with a key and a value are settings (captions and buttons are not).
bool IsSetting(const FieldDescriptor& d) { return !d.key.empty() && d.encoding != Encoding::None; }

const FormPage& NoPage() {
  static const FormPage page;
  return page;
}

struct Found {
  const FieldSet* set = nullptr;
  const FieldDescriptor* field = nullptr;
  std::unique_ptr<BoundRecord> record;
};

SettingStatus Find(RadioData& data, TextTable& text, const std::string& key, Found& f) {
  // Field keys may hold dots themselves (a page and an index, "0.7"): every
  // split from the last dot leftwards is tried until a set takes the prefix.
  for (size_t dot = key.rfind('.'); dot != std::string::npos && dot > 0; dot = key.rfind('.', dot - 1)) {
    if (dot + 1 == key.size()) return SettingStatus::UnknownKey;
    const std::string prefix = key.substr(0, dot);
    const std::string fieldKey = key.substr(dot + 1);
    for (const FieldSet& set : Registry()) {
      const FieldDescriptor* d = FindField(set, fieldKey);
      if (!d || !IsSetting(*d)) continue;
      RecordCursor cursor;
      if (!set.parse || !set.parse(data, prefix, cursor)) continue;
      f.set = &set;
      f.field = d;
      f.record = set.bind(data, text, cursor);
      return f.record ? SettingStatus::Ok : SettingStatus::UnknownKey;
    }
  }
  return SettingStatus::UnknownKey;
}

}  // namespace

bool BoundRecord::StoreText(const FieldDescriptor& d, std::string& text) {
  return FormEngine::StoreText(Context(), d, text);
}

void RegisterFieldSet(FieldSet set) {
  if (set.fields) {
    // The first field of a key wins, as the search in table order did.
    auto index = std::make_shared<std::unordered_map<std::string, const FieldDescriptor*>>();
    for (const FieldDescriptor& d : *set.fields)
      if (!d.key.empty()) index->emplace(d.key, &d);
    for (const FieldDescriptor& d : *set.fields)
      if (!d.key.empty() && !d.oldKey.empty()) index->emplace(d.oldKey, &d);
    set.byKey = std::move(index);
  }
  for (FieldSet& s : Registry())
    if (s.name == set.name) {
      s = std::move(set);
      return;
    }
  Registry().push_back(std::move(set));
}

const std::vector<FieldSet>& FieldSets() { return Registry(); }

const std::vector<FieldDescriptor>* NamedFields(const std::vector<FieldDescriptor>& fields,
                                                std::initializer_list<KeyName> names) {
  static std::deque<std::vector<FieldDescriptor>> kept;
  std::vector<FieldDescriptor>& out = kept.emplace_back(fields);
  for (FieldDescriptor& d : out)
    for (const KeyName& n : names)
      if (d.key == n.old) {
        d.oldKey = d.key;
        d.key = n.name;
        break;
      }
  return &out;
}

std::string SettingText(const FormContext& ctx, const FieldDescriptor& d) {
  if ((d.kind == ControlKind::Combo || d.kind == ControlKind::Check) && d.encoding == Encoding::Custom &&
      !d.customShow) {
    const int row = FormEngine::CurrentRow(ctx, d);
    const auto texts = FormEngine::ChoiceTexts(ctx, d);
    return row >= 0 ? texts[static_cast<size_t>(row)] : std::string();
  }
  // A damaged image may hold any byte in a text field: what leaves here is
  // UTF-8 whatever the bytes were.
  return ValidUtf8(FormEngine::ShowText(ctx, d));
}

SettingStatus ListSettings(RadioData& data, TextTable& text, const std::string& editor, std::vector<SettingLine>& out) {
  bool any = false;
  for (const FieldSet& set : Registry()) {
    if (!editor.empty() && set.name != editor) continue;
    any = true;
    for (const FieldSetRecord& r : set.records(data)) {
      std::unique_ptr<BoundRecord> b = set.bind(data, text, r.cursor);
      if (!b) continue;
      for (const FieldDescriptor& d : *set.fields) {
        if (!IsSetting(d)) continue;
        const FormContext& ctx = b->Context();
        out.push_back({r.prefix + "." + d.key, SettingText(ctx, d), FormEngine::Enabled(ctx, NoPage(), d)});
      }
    }
  }
  return any ? SettingStatus::Ok : SettingStatus::UnknownEditor;
}

const FieldDescriptor* SettingDescriptor(RadioData& data, const std::string& key) {
  for (size_t dot = key.rfind('.'); dot != std::string::npos && dot > 0; dot = key.rfind('.', dot - 1)) {
    if (dot + 1 == key.size()) return nullptr;
    const std::string prefix = key.substr(0, dot);
    const std::string fieldKey = key.substr(dot + 1);
    for (const FieldSet& set : Registry()) {
      const FieldDescriptor* d = FindField(set, fieldKey);
      RecordCursor cursor;
      if (d && IsSetting(*d) && set.parse && set.parse(data, prefix, cursor)) return d;
    }
  }
  return nullptr;
}

SettingStatus GetSetting(RadioData& data, TextTable& text, const std::string& key, SettingLine& out) {
  Found f;
  const SettingStatus st = Find(data, text, key, f);
  if (st != SettingStatus::Ok) return st;
  const FormContext& ctx = f.record->Context();
  out = {key, SettingText(ctx, *f.field), FormEngine::Enabled(ctx, NoPage(), *f.field)};
  return SettingStatus::Ok;
}

namespace {

// A whole text that is one decimal number ("." or `separator`), surrounding
// blanks allowed.
bool PlainNumber(const std::string& text, char separator, double& out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  bool digit = false, point = false;
  for (; i < t.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(t[i]))) digit = true;
    else if ((t[i] == '.' || t[i] == separator) && !point) point = true, t[i] = '.';
    else return false;
  }
  if (!digit) return false;
  out = std::strtod(t.c_str(), nullptr);
  return true;
}

// The largest step a field rounds a typed number down to, in shown units.
// Frequencies (shown with five decimals, in MHz) round to a channel step of
// at most 15 kHz.
double ShownStep(const FieldDescriptor& d, const std::string& shown) {
  const size_t point = shown.find_first_of(".,");
  if (d.encoding == Encoding::Custom && point != std::string::npos && shown.size() - point - 1 >= 5) return 0.015;
  const double step = d.step > 0 ? d.step : 1;
  return d.encoding == Encoding::Scaled && d.scale > 0 ? step / d.scale : step;
}

}  // namespace

bool ClampedToLimit(const std::string& typed, const std::string& shown, double step, char separator) {
  double t = 0, s = 0;
  if (!PlainNumber(typed, separator, t) || !PlainNumber(shown, separator, s)) return false;
  // Rounding to the step moves a number by less than one step.
  constexpr double kSlack = 1e-9;
  return std::abs(t - s) >= step - kSlack;
}

SettingStatus SetSetting(RadioData& data, TextTable& text, const std::string& key, const std::string& value,
                         SettingLine& out, int& message, bool exactTones) {
  message = 0;
  Found f;
  const SettingStatus st = Find(data, text, key, f);
  if (st != SettingStatus::Ok) return st;
  FormContext& ctx = f.record->Context();
  const FieldDescriptor& d = *f.field;
  if (!FormEngine::Enabled(ctx, NoPage(), d)) return SettingStatus::Disabled;
  ctx.message = 0;
  switch (d.kind) {
    case ControlKind::Combo:
    case ControlKind::Check: {
      // A list is chosen from, never typed into: the text must be one of its rows.
      const std::string t = Trim(value);
      const auto rows = FormEngine::Choices(ctx, d);
      const Choice* chosen = nullptr;
      for (const Choice& c : rows) {
        const std::string rowText = c.textEntry >= 0 ? text.Text(c.textEntry) : c.literal;
        if (SameText(rowText, t)) {
          chosen = &c;
          break;
        }
      }
      if (!chosen) return SettingStatus::BadValue;
      // A row whose store brings records into being (a zone's type) may
      // still be refused by the records' rules.
      ctx.refused = false;
      FormEngine::StoreChoice(ctx, d, chosen->value);
      if (ctx.refused) {
        message = ctx.message;
        return SettingStatus::Refused;
      }
      break;
    }
    default: {
      std::string t = value;
      if (exactTones && d.inputMode == kToneInput && !Trim(value).empty()) {
        const int row = data.field.ToneChoiceRow(value, text.TextsInEveryLanguage(kOffTextEntry));
        if (row < 0) return SettingStatus::BadValue;
        t = row == 0 ? text.Text(kOffTextEntry) : data.field.LocalizeDecimal(data.field.ToneListText(row));
      }
      if (!f.record->StoreText(d, t)) {
        message = ctx.message;
        return SettingStatus::Refused;
      }
      break;
    }
  }
  message = ctx.message;
  out = {key, SettingText(ctx, d), FormEngine::Enabled(ctx, NoPage(), d)};
  out.clamped = d.kind != ControlKind::Combo && d.kind != ControlKind::Check &&
                ClampedToLimit(value, out.text, ShownStep(d, out.text), data.field.DecimalSeparator());
  return SettingStatus::Ok;
}

std::vector<std::string> KeysAtImageOffsets(RadioData& data, TextTable& text, const std::vector<uint32_t>& at) {
  std::vector<std::string> out;
  if (at.empty()) return out;
  for (const FieldSet& set : Registry()) {
    for (const FieldSetRecord& r : set.records(data)) {
      std::unique_ptr<BoundRecord> b = set.bind(data, text, r.cursor);
      if (!b) continue;
      for (const FieldDescriptor& d : *set.fields) {
        FormEngine::Place place;
        if (!IsSetting(d) || d.field.area != Area::Image || !FormEngine::Resolve(b->Context(), d.field, place)) continue;
        if (std::find(at.begin(), at.end(), place.offset) != at.end()) out.push_back(r.prefix + "." + d.key);
      }
    }
  }
  return out;
}

// ---- new-programming values ----------------------------------------------------

void WriteNewImageValues(RadioData& data, const std::vector<FieldDescriptor>& table) {
  TextTable noText;
  FormContext ctx(data, noText);
  for (const FieldDescriptor& d : table) {
    const NewImageValue& n = d.newImage;
    if (!n.Set() || d.field.base != RecordBase::None) continue;
    ByteArea a = d.field.area == Area::Ext ? data.Ext() : data.Image();
    const size_t at = d.field.offset;
    const size_t width = static_cast<size_t>(std::max(d.textWidth, 0));
    if (n.emptyText) {
      switch (d.encoding) {
        case Encoding::Name: a.fill(at, width, 0x00); break;
        case Encoding::LengthText:  // length none, characters zero
          a.setU8(at, 0xFF);
          a.fill(at + 1, width, 0x00);
          break;
        case Encoding::Digits: a.fill(at, 1 + width, 0xFF); break;  // count none, no digits
        default: break;
      }
    } else if (n.fill > 0) {
      a.fill(at, static_cast<size_t>(n.fill), static_cast<uint8_t>(n.value));
    } else {
      FormEngine::WriteValue(ctx, d.field, n.value);
    }
  }
}

void WriteRegisteredNewImageValues(RadioData& data) {
  for (const FieldSet& s : FieldSets())
    if (s.fields) WriteNewImageValues(data, *s.fields);
}

}  // namespace vb420::forms
