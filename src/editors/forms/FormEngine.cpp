// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/forms/FormEngine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cmath>
#include <cstdlib>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "lang/DelimitedText.h"
#include "lang/TextTable.h"

namespace vb420::forms {

namespace {

ByteArea AreaOf(const FormContext& ctx, Area area) {
  switch (area) {
    case Area::Image: return ctx.data.buffers.Image();
    case Area::Ext: return ctx.data.buffers.Ext();
    default: return ByteArea();
  }
}

std::string Format(const std::string& format, int value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format.c_str(), value);
  return buf;
}

std::string ChoiceText(const FormContext& ctx, const Choice& c) {
  return c.textEntry >= 0 ? ctx.text.Text(c.textEntry) : c.literal;
}

// Leading decimal integer of a text as the entry boxes read it: optional sign,
// then digits; anything else reads as 0.
int ParseLeadingInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long v = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && v < 100000000) v = v * 10 + (text[i++] - '0');
  return static_cast<int>(negative ? -v : v);
}

bool IsBlankText(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); });
}

}  // namespace

// --- context -----------------------------------------------------------------

bool FormContext::IsMobile() const { return data.model.Kind() == 2; }
bool FormContext::IsSecondGen() const { return data.model.IsSecondGen(); }

int FormContext::SystemType() const { return vb420::SystemType(data.buffers.Image()); }

uint8_t FormContext::OptionBoard() const { return data.buffers.Image().u8(img::kOptionBoard); }
uint8_t FormContext::ImageByte(uint32_t offset) const { return data.buffers.Image().u8(offset); }
uint8_t FormContext::ExtByte(uint32_t offset) const { return data.buffers.Ext().u8(offset); }

// --- table helpers -------------------------------------------------------------

FieldRef ImageByte(uint32_t offset) { return {Area::Image, offset, 1, -1}; }
FieldRef ImageWord(uint32_t offset) { return {Area::Image, offset, 2, -1}; }
FieldRef ImageWordBit(uint32_t offset, int bit) { return {Area::Image, offset, 2, bit}; }
FieldRef ImageByteBit(uint32_t offset, int bit) { return {Area::Image, offset, 1, bit}; }
FieldRef ExtByte(uint32_t offset) { return {Area::Ext, offset, 1, -1}; }
FieldRef ExtWord(uint32_t offset) { return {Area::Ext, offset, 2, -1}; }

// --- raw values ----------------------------------------------------------------

bool FormEngine::Resolve(const FormContext& ctx, const FieldRef& ref, Place& place) {
  place = Place{ref.offset, ref.bit};
  if (ref.area == Area::None) return false;
  if (ref.base == RecordBase::None) return true;
  if (!ctx.locator) return false;
  const long at = ctx.locator->Locate(ctx, ref.base);
  if (at < 0) return false;
  const size_t n = static_cast<size_t>(at);
  switch (ref.base) {
    case RecordBase::ZoneBit:
    case RecordBase::ChannelBit:
      place.offset = ref.offset + n / 8;
      place.bit = static_cast<int>(n % 8);
      break;
    default: place.offset = ref.offset + n; break;
  }
  return true;
}

int FormEngine::ReadValue(const FormContext& ctx, const FieldRef& ref) {
  Place p;
  if (!Resolve(ctx, ref, p)) return -1;
  const ByteArea a = AreaOf(ctx, ref.area);
  const int width = ref.base == RecordBase::ZoneBit || ref.base == RecordBase::ChannelBit ? 1 : ref.width;
  if (!a.InRange(p.offset, static_cast<size_t>(width))) return -1;
  const int raw = width == 2 ? a.u16le(p.offset) : a.u8(p.offset);
  if (p.bit < 0) return raw;
  const int bits = ref.base == RecordBase::ZoneBit || ref.base == RecordBase::ChannelBit ? 1 : ref.bits;
  int v = (raw >> p.bit) & ((1 << bits) - 1);
  if (ref.bitHigh >= 0) v |= ((raw >> ref.bitHigh) & 1) << 1;
  return v;
}

void FormEngine::WriteValue(FormContext& ctx, const FieldRef& ref, int value) {
  Place p;
  if (!Resolve(ctx, ref, p)) return;
  ByteArea a = AreaOf(ctx, ref.area);
  const bool tableBit = ref.base == RecordBase::ZoneBit || ref.base == RecordBase::ChannelBit;
  const int width = tableBit ? 1 : ref.width;
  if (!a.InRange(p.offset, static_cast<size_t>(width))) return;
  if (p.bit >= 0) {
    int raw = width == 2 ? a.u16le(p.offset) : a.u8(p.offset);
    const int bits = tableBit ? 1 : ref.bits;
    const int mask = ((1 << bits) - 1) << p.bit;
    raw = (raw & ~mask) | ((value << p.bit) & mask);
    if (ref.bitHigh >= 0) raw = (value & 2) ? (raw | (1 << ref.bitHigh)) : (raw & ~(1 << ref.bitHigh));
    value = raw;
  }
  if (width == 2) a.setU16le(p.offset, static_cast<uint16_t>(value));
  else a.setU8(p.offset, static_cast<uint8_t>(value));
}

int FormEngine::Minimum(const FormContext& ctx, const FieldDescriptor& d) {
  return d.dynamicMinimum ? d.dynamicMinimum(ctx) : d.minimum;
}

int FormEngine::Maximum(const FormContext& ctx, const FieldDescriptor& d) {
  return d.dynamicMaximum ? d.dynamicMaximum(ctx) : d.maximum;
}

int FormEngine::TextWidth(const FormContext& ctx, const FieldDescriptor& d) {
  return (ctx.IsSecondGen() && d.textWidthGen2 > 0) ? d.textWidthGen2 : d.textWidth;
}

// --- showing -------------------------------------------------------------------

std::string FormEngine::ShowText(const FormContext& ctx, const FieldDescriptor& d) {
  const ByteArea a = AreaOf(ctx, d.field.area);
  if (d.encoding == Encoding::None) return {};
  if (d.encoding == Encoding::Custom) return d.customShow ? d.customShow(ctx) : std::string();
  Place place;
  if (!Resolve(ctx, d.field, place)) return {};  // the record does not exist
  const size_t at = place.offset;
  switch (d.encoding) {
    case Encoding::None:
    case Encoding::Custom: return {};
    case Encoding::Value:
    case Encoding::Number: {
      const int v = ReadValue(ctx, d.field);
      if (d.emptyValue >= 0 && v == d.emptyValue)
        return d.emptyTextEntry >= 0 ? ctx.text.Text(d.emptyTextEntry) : std::string();
      for (const Choice& c : d.choices)
        if (c.value == v) return ChoiceText(ctx, c);
      // A list whose rows come from the image names its value by its row too.
      if (d.encoding == Encoding::Value && d.dynamicChoices)
        for (const Choice& c : d.dynamicChoices(ctx))
          if (c.value == v) return ChoiceText(ctx, c);
      if (d.blankOutsideRange && (v < Minimum(ctx, d) || v > Maximum(ctx, d))) return {};
      return Format(d.format, v);
    }
    case Encoding::SignMagnitude: {
      const int raw = ReadValue(ctx, d.field);
      if (d.emptyValue >= 0 && raw == d.emptyValue) return {};
      const int v = (raw & 0x80) ? -(raw & 0x7F) : raw;
      return Format(d.format, v);
    }
    case Encoding::Scaled: {
      const int v = ReadValue(ctx, d.field);
      if (d.emptyValue >= 0 && v == d.emptyValue) return {};
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.*f", d.decimals, static_cast<double>(v) / d.scale);
      return ctx.data.field.LocalizeDecimal(buf);
    }
    case Encoding::Name: {
      const int w = TextWidth(ctx, d);
      const uint8_t* p = a.ptr(at, static_cast<size_t>(d.textWidth));
      if (!p) return {};
      return CFieldCodec::NameFromField(p, w);
    }
    case Encoding::LengthText: {
      const int len = a.u8(at);
      if (len == 0xFF || len > d.textWidth) return {};
      std::string s;
      for (int i = 0; i < len; ++i) {
        const uint8_t c = a.u8(at + 1 + i);
        if (c == 0) break;
        s.push_back(static_cast<char>(c));
      }
      return s;
    }
    case Encoding::Digits: {
      const int count = a.u8(at);
      const int maxDigits = d.textWidth * 2;
      if (count == 0xFF || count > maxDigits) return {};
      const uint8_t* p = a.ptr(at + 1, static_cast<size_t>(d.textWidth));
      return p ? CFieldCodec::UnpackDigits(p, count, d.dtmfDigits) : std::string();
    }
  }
  return {};
}

std::vector<const Choice*> FormEngine::OfferedChoices(const FormContext& ctx, const FieldDescriptor& d) {
  std::vector<const Choice*> out;
  for (const Choice& c : d.choices)
    if (!d.offered || d.offered(ctx, c)) out.push_back(&c);
  return out;
}

std::vector<Choice> FormEngine::Choices(const FormContext& ctx, const FieldDescriptor& d) {
  std::vector<Choice> out;
  if (d.dynamicChoices) {
    for (Choice& c : d.dynamicChoices(ctx))
      if (!d.offered || d.offered(ctx, c)) out.push_back(std::move(c));
    return out;
  }
  for (const Choice* c : OfferedChoices(ctx, d)) out.push_back(*c);
  return out;
}

std::vector<std::string> FormEngine::ChoiceTexts(const FormContext& ctx, const FieldDescriptor& d) {
  std::vector<std::string> out;
  for (const Choice& c : Choices(ctx, d)) out.push_back(ChoiceText(ctx, c));
  return out;
}

int FormEngine::StoredValue(const FormContext& ctx, const FieldDescriptor& d) {
  if (d.customValue) return d.customValue(ctx);
  return ReadValue(ctx, d.field);
}

int FormEngine::CurrentRow(const FormContext& ctx, const FieldDescriptor& d) {
  const int v = StoredValue(ctx, d);
  const auto rows = Choices(ctx, d);
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].value == v) return static_cast<int>(i);
  return -1;
}

bool FormEngine::Checked(const FormContext& ctx, const FieldDescriptor& d) {
  return StoredValue(ctx, d) == d.checkedValue;
}

int FormEngine::InputMode(const FormContext& ctx, const FieldDescriptor& d) {
  if (d.inputMode > 0) return d.inputMode;
  switch (d.encoding) {
    case Encoding::Number:
    case Encoding::Value: return (Minimum(ctx, d) < 0 || !d.choices.empty()) ? 1 : 2;
    case Encoding::SignMagnitude: return 11;
    case Encoding::Scaled: return 3;
    case Encoding::Name: return ctx.IsSecondGen() ? 10 : 1;
    case Encoding::Digits: return d.dtmfDigits ? 5 : 6;
    // A name kept by the field's own functions takes what a name takes.
    case Encoding::Custom: return d.textWidth > 0 && ctx.IsSecondGen() ? 10 : 1;
    default: return 1;
  }
}

// --- storing -------------------------------------------------------------------

void FormEngine::StoreNumber(FormContext& ctx, const FieldDescriptor& d, int value) {
  if (d.adjust) value = d.adjust(ctx, value);
  if (d.customStoreValue) d.customStoreValue(ctx, value);
  else WriteValue(ctx, d.field, value);
  if (d.afterStore) d.afterStore(ctx);
}

bool FormEngine::StoreText(FormContext& ctx, const FieldDescriptor& d, std::string& text) {
  ctx.refused = false;
  StoreTextInPlace(ctx, d, text);
  return !ctx.refused;
}

void FormEngine::StoreTextInPlace(FormContext& ctx, const FieldDescriptor& d, std::string& text) {
  ByteArea a = AreaOf(ctx, d.field.area);
  Place place;
  if (d.encoding != Encoding::Custom && d.encoding != Encoding::None && !Resolve(ctx, d.field, place)) {
    text.clear();  // the record does not exist: nothing to store into
    ctx.refused = true;
    return;
  }
  const size_t at = place.offset;
  switch (d.encoding) {
    case Encoding::None: return;
    case Encoding::Custom:
      if (d.customStore) d.customStore(ctx, text);
      if (d.afterStore) d.afterStore(ctx);
      break;
    case Encoding::Value:
    case Encoding::Number: {
      if (text.empty() || IsBlankText(text)) {
        StoreNumber(ctx, d, d.emptyValue >= 0 ? d.emptyValue : (d.unparsableValue >= 0 ? d.unparsableValue : Minimum(ctx, d)));
        break;
      }
      // The text the box shows for the empty value stores it again.
      if (d.emptyValue >= 0 && d.emptyTextEntry >= 0 && text == ctx.text.Text(d.emptyTextEntry)) {
        StoreNumber(ctx, d, d.emptyValue);
        break;
      }
      // A name is recognised by its first character, before any number.
      bool named = false;
      for (const Choice& c : d.choices) {
        const std::string name = ChoiceText(ctx, c);
        if (!name.empty() && std::toupper(static_cast<unsigned char>(name[0])) == std::toupper(static_cast<unsigned char>(text[0]))) {
          StoreNumber(ctx, d, c.value);
          named = true;
          break;
        }
      }
      if (named) break;
      const bool numeric = std::isdigit(static_cast<unsigned char>(text[0])) ||
                           ((text[0] == '-' || text[0] == '+') && text.size() > 1 &&
                            std::isdigit(static_cast<unsigned char>(text[1])));
      if (!numeric && d.unparsableValue >= 0) {
        StoreNumber(ctx, d, d.unparsableValue);
        break;
      }
      std::string t = std::to_string(numeric ? ParseLeadingInt(text) : 0);
      const int v = CFieldCodec::ClampIntText(t, Maximum(ctx, d), Minimum(ctx, d), d.step > 0 ? d.step : 1);
      StoreNumber(ctx, d, v);
      break;
    }
    case Encoding::SignMagnitude: {
      if (text.empty() && d.emptyValue >= 0) {
        StoreNumber(ctx, d, d.emptyValue);
        break;
      }
      std::string t = std::to_string(ParseLeadingInt(text));
      const int v = CFieldCodec::ClampIntText(t, Maximum(ctx, d), Minimum(ctx, d), d.step > 0 ? d.step : 1);
      StoreNumber(ctx, d, v < 0 ? ((-v) | 0x80) : v);
      break;
    }
    case Encoding::Scaled: {
      if ((text.empty() || IsBlankText(text)) && d.emptyValue >= 0) {
        StoreNumber(ctx, d, d.emptyValue);
        break;
      }
      const double scale = d.scale;
      std::string t = ctx.data.field.DelocalizeDecimal(text);
      const double v = CFieldCodec::ClampDecimalText(t, Maximum(ctx, d) / scale, Minimum(ctx, d) / scale,
                                                     (d.step > 0 ? d.step : 1) / scale);
      const long stored = std::lround(v * scale);
      StoreNumber(ctx, d, static_cast<int>(stored));
      break;
    }
    case Encoding::Name: {
      uint8_t* p = a.ptr(at, static_cast<size_t>(d.textWidth));
      if (!p) return;
      const int w = TextWidth(ctx, d);
      const std::string typed = CutText(text, static_cast<size_t>(std::max(w, 0)));
      ctx.data.field.NormalizeName(p, d.textWidth, typed);
      if (d.afterStore) d.afterStore(ctx);
      break;
    }
    case Encoding::LengthText: {
      // A NUL ends the text when it is read: stored, it would leave a length
      // that counts characters nobody sees.
      const std::string typed =
          CutText(std::string_view(text).substr(0, text.find('\0')), static_cast<size_t>(std::max(d.textWidth, 0)));
      a.fill(at + 1, static_cast<size_t>(d.textWidth), 0x00);
      a.write(at + 1, typed.data(), typed.size());
      a.setU8(at, typed.empty() ? 0xFF : static_cast<uint8_t>(typed.size()));
      if (d.afterStore) d.afterStore(ctx);
      break;
    }
    case Encoding::Digits: {
      uint8_t* p = a.ptr(at + 1, static_cast<size_t>(d.textWidth));
      if (!p) return;
      std::string typed;
      for (char c : text) {
        const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const uint8_t code = d.dtmfDigits ? CFieldCodec::DtmfCharToCode(u) : CFieldCodec::HexCharToCode(u);
        if (code != 0xFF) typed.push_back(u);  // characters outside the digit set are dropped
      }
      const int n = CFieldCodec::PackDigits(p, typed, d.textWidth, d.dtmfDigits);
      a.setU8(at, n == 0 ? 0xFF : static_cast<uint8_t>(n));
      if (d.afterStore) d.afterStore(ctx);
      break;
    }
  }
  text = ShowText(ctx, d);
}

void FormEngine::StoreRow(FormContext& ctx, const FieldDescriptor& d, int row) {
  const auto rows = Choices(ctx, d);
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  StoreNumber(ctx, d, rows[static_cast<size_t>(row)].value);
}

void FormEngine::StoreChecked(FormContext& ctx, const FieldDescriptor& d, bool checked) {
  StoreNumber(ctx, d, checked ? d.checkedValue : d.uncheckedValue);
}

bool FormEngine::StoreChoice(FormContext& ctx, const FieldDescriptor& d, int value) {
  for (const Choice& c : Choices(ctx, d))
    if (c.value == value) {
      StoreNumber(ctx, d, value);
      return true;
    }
  return false;
}

void FormEngine::Spin(FormContext& ctx, const FieldDescriptor& d, int direction) {
  if (direction == 0) return;
  if (d.encoding == Encoding::Custom) {
    if (d.customSpin) d.customSpin(ctx, direction);
    if (d.afterStore) d.afterStore(ctx);
    return;
  }
  const int minimum = Minimum(ctx, d);
  const int maximum = Maximum(ctx, d);
  const int step = d.step > 0 ? d.step : 1;
  int v = ReadValue(ctx, d.field);
  if (v < 0) return;  // the record does not exist
  if (d.encoding == Encoding::SignMagnitude) {
    if (v == d.emptyValue && d.emptyValue >= 0) v = minimum - 1;  // outside: wraps like any stray value
    else v = (v & 0x80) ? -(v & 0x7F) : v;
    v = CFieldCodec::Spin(v, maximum, minimum, step, direction);
    StoreNumber(ctx, d, v < 0 ? ((-v) | 0x80) : v);
    return;
  }
  if (d.encoding != Encoding::Number && d.encoding != Encoding::Scaled && d.encoding != Encoding::Value) return;

  if (d.spinThroughNames && !d.choices.empty()) {
    // The cycle runs minimum .. maximum, then the names in table order.
    int nameIndex = -1;
    for (size_t i = 0; i < d.choices.size(); ++i)
      if (d.choices[i].value == v) {
        nameIndex = static_cast<int>(i);
        break;
      }
    const int names = static_cast<int>(d.choices.size());
    int next;
    if (direction > 0) {
      if (nameIndex >= 0) next = nameIndex + 1 < names ? d.choices[static_cast<size_t>(nameIndex + 1)].value : minimum;
      else if (v == maximum) next = d.choices.front().value;
      else next = (v >= minimum && v < maximum) ? v + step : minimum;
    } else {
      if (nameIndex == 0) next = maximum;
      else if (nameIndex > 0) next = d.choices[static_cast<size_t>(nameIndex - 1)].value;
      else if (v == minimum) next = d.choices.back().value;
      else next = (v > minimum && v <= maximum) ? v - step : maximum;
    }
    StoreNumber(ctx, d, next);
    return;
  }
  if (d.emptyValue >= 0) {
    StoreNumber(ctx, d, CFieldCodec::SpinWithOff(v, maximum, minimum, step, d.emptyValue, direction));
    return;
  }
  StoreNumber(ctx, d, CFieldCodec::Spin(v, maximum, minimum, step, direction));
}

bool FormEngine::Enabled(const FormContext& ctx, const FormPage& page, const FieldDescriptor& d) {
  if (page.enabled && !page.enabled(ctx)) return false;
  return !d.enabled || d.enabled(ctx);
}

bool FormEngine::PageShown(const FormContext& ctx, const FormPage& page) { return !page.shown || page.shown(ctx); }

}  // namespace vb420::forms
