// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/forms/FieldSets.h"
#include "editors/signalling/SignalFieldKit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "data/RadioData.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420::sigfields {

using namespace forms;

namespace {

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

int High(const FormContext& ctx, const ShiftedNumber& r) { return r.dynamicHigh ? r.dynamicHigh(ctx) : r.high; }

int ToStored(const ShiftedNumber& r, int shown) { return (shown - r.bias) / (r.scale > 0 ? r.scale : 1); }
int ToShown(const ShiftedNumber& r, int stored) { return stored * r.scale + r.bias; }

}  // namespace

std::string ShiftedText(const FormContext& ctx, const ShiftedNumber& r, int stored) {
  if (stored < 0) return {};
  if (r.none >= 0 && stored == r.none) return r.noneText >= 0 ? ctx.text.Text(r.noneText) : std::string();
  if (stored == 0 && r.zeroText >= 0) return ctx.text.Text(r.zeroText);
  return std::to_string(ToShown(r, stored));
}

int ShiftedParse(FormContext& ctx, const ShiftedNumber& r, const std::string& typed) {
  const std::string t = Trim(typed);
  if (t.empty()) return (r.blankIsNone && r.none >= 0) ? r.none : -2;
  if (r.noneText >= 0 && SameText(t, ctx.text.Text(r.noneText))) return r.none >= 0 ? r.none : -2;
  if (r.zeroText >= 0 && SameText(t, ctx.text.Text(r.zeroText))) return 0;
  if (!std::isdigit(static_cast<unsigned char>(t[0]))) return -2;  // not a number: left as it is
  long n = 0;
  for (size_t i = 0; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && n < 1000000; ++i)
    n = n * 10 + (t[i] - '0');
  if (n == 0) {
    if (r.zeroTypedIsNone && r.none >= 0) return r.none;
    if (r.zeroTypedIsZero || r.zeroText >= 0) return 0;
  }
  const int high = High(ctx, r);
  if (high < r.low) return r.none >= 0 ? r.none : -2;  // no value is allowed now
  int shown = static_cast<int>(std::clamp<long>(n, r.low, high));
  if (r.step > 1) shown = shown / r.step * r.step;
  if (shown < r.low) shown += r.step;
  return ToStored(r, shown);
}

FieldDescriptor Shifted(std::string key, int label, FieldRef ref, ShiftedNumber rule, ControlKind kind) {
  FieldDescriptor d{.key = std::move(key), .labelEntry = label, .kind = kind, .field = ref,
                    .encoding = Encoding::Custom};
  d.minimum = rule.low;
  d.maximum = rule.high;
  d.step = rule.step;
  d.emptyValue = rule.none;
  d.inputMode = (rule.noneText >= 0 || rule.zeroText >= 0) ? 1 : 2;
  d.maxLength = rule.noneText >= 0 || rule.zeroText >= 0 ? 24 : static_cast<int>(std::to_string(rule.high).size());
  d.customShow = [ref, rule](const FormContext& c) { return ShiftedText(c, rule, FormEngine::ReadValue(c, ref)); };
  d.customValue = [ref](const FormContext& c) { return FormEngine::ReadValue(c, ref); };
  d.customStoreValue = [ref](FormContext& c, int v) { FormEngine::WriteValue(c, ref, v); };
  d.customStore = [ref, rule](FormContext& c, std::string& text) {
    if (FormEngine::ReadValue(c, ref) < 0) return;  // nowhere to store
    const int v = ShiftedParse(c, rule, text);
    if (v >= 0) FormEngine::WriteValue(c, ref, v);
    text = ShiftedText(c, rule, FormEngine::ReadValue(c, ref));
  };
  d.customSpin = [ref, rule](FormContext& c, int dir) {
    const int v = FormEngine::ReadValue(c, ref);
    if (v < 0) return;
    std::vector<int> specials;  // stored values that come before the range
    if (rule.none >= 0 && rule.noneText >= 0) specials.push_back(rule.none);
    if (rule.zeroText >= 0) specials.push_back(0);
    const int high = High(c, rule);
    const bool haveRange = high >= rule.low;
    const int shown = ToShown(rule, v);
    const auto at = std::find(specials.begin(), specials.end(), v);
    int next = v;
    if (dir > 0) {
      if (at != specials.end()) next = at + 1 != specials.end() ? *(at + 1) : (haveRange ? ToStored(rule, rule.low) : specials.front());
      else if (haveRange && shown >= rule.low && shown < high) next = ToStored(rule, shown + rule.step);
      else if (haveRange && shown == high && !specials.empty()) next = specials.front();
      else if (haveRange) next = ToStored(rule, rule.low);
      else if (!specials.empty()) next = specials.front();
    } else {
      if (at != specials.end()) next = at != specials.begin() ? *(at - 1) : (haveRange ? ToStored(rule, high) : specials.back());
      else if (haveRange && shown > rule.low && shown <= high) next = ToStored(rule, shown - rule.step);
      else if (haveRange && shown == rule.low && !specials.empty()) next = specials.back();
      else if (haveRange) next = ToStored(rule, high);
      else if (!specials.empty()) next = specials.back();
    }
    FormEngine::WriteValue(c, ref, next);
  };
  return d;
}

FieldDescriptor FleetBox(std::string key, int label, FieldRef ref, int zeroText) {
  ShiftedNumber r{.bias = kFleetBias, .low = kFleetLow, .high = kFleetHigh, .none = 0xFF, .zeroText = zeroText};
  return Shifted(std::move(key), label, ref, r);
}

FieldDescriptor IdBox(std::string key, int label, FieldRef ref, int zeroText, ControlKind kind) {
  ShiftedNumber r{.bias = kIdBias, .low = kIdLow, .high = kIdHigh, .none = 0xFFFF, .zeroText = zeroText};
  return Shifted(std::move(key), label, ref, r, kind);
}

FieldDescriptor BitCheck(std::string key, int label, FieldRef ref) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = {{372, 0}, {373, 1}}, .checkedValue = 0, .uncheckedValue = 1};
}

FieldDescriptor ByteCheck(std::string key, int label, FieldRef ref, int checkedValue, int uncheckedValue) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = {{372, checkedValue}, {373, uncheckedValue}},
          .checkedValue = checkedValue, .uncheckedValue = uncheckedValue};
}

FieldDescriptor ChoiceList(std::string key, int label, FieldRef ref, std::vector<Choice> rows) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Combo, .field = ref,
          .encoding = Encoding::Value, .choices = std::move(rows)};
}

FieldDescriptor NumberBox(std::string key, int label, FieldRef ref, int low, int high, int step) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
          .encoding = Encoding::Number, .minimum = low, .maximum = high, .step = step,
          .maxLength = static_cast<int>(std::to_string(high).size())};
}

FieldDescriptor SecondsBox(std::string key, int label, FieldRef ref, int lowMs, int highMs, int stepMs) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
          .encoding = Encoding::Scaled, .minimum = lowMs, .maximum = highMs, .step = stepMs, .scale = 1000,
          .decimals = 1, .maxLength = 5};
}

FieldDescriptor Caption(int label) {
  return {.labelEntry = label, .kind = ControlKind::Caption};
}

}  // namespace vb420::sigfields
