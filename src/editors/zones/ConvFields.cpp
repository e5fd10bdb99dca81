// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ConvFields.h"

#include <cmath>
#include <cstring>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneText.h"
#include "lang/TextTable.h"

namespace vb420 {

using namespace zones;

namespace {

using namespace rec::ch;

struct Window {
  double low, high;
};
struct WindowTable {
  const Window* rows;
  int count;
};

#define VB_TABLE(name, ...)                      \
  constexpr Window name##_rows[] = {__VA_ARGS__}; \
  constexpr WindowTable name = {name##_rows, static_cast<int>(sizeof(name##_rows) / sizeof(Window))};

// Receive frequencies inside one of these narrow windows clear the flag.
VB_TABLE(kPortableA4, {143.78, 143.795}, {154.84, 154.855}, {165.9, 165.915})
VB_TABLE(kPortableA6, {453.475, 453.495}, {464.535, 464.555}, {469.43, 469.45}, {469.975, 469.995},
         {470.345, 470.365}, {475.595, 475.615}, {486.655, 486.675}, {492.1, 492.115}, {492.52, 492.555},
         {497.72, 497.735}, {508.78, 508.795}, {514.575, 514.6}, {514.625, 514.645}, {514.65, 514.665},
         {519.84, 519.855})
VB_TABLE(kPortableA7, {403.64, 403.64}, {409.235, 409.24}, {415.765, 415.765}, {416.675, 416.675},
         {420.295, 420.3}, {425.76, 425.76}, {425.78, 425.78}, {425.8, 425.8}, {425.805, 425.805},
         {426.315, 426.315}, {426.445, 426.445}, {431.355, 431.365}, {431.865, 431.865}, {432.915, 432.92},
         {434.57, 434.57}, {436.84, 436.84}, {437.375, 437.375}, {438.36, 438.36}, {442.42, 442.425},
         {442.925, 442.925}, {443.42, 443.42}, {443.44, 443.44}, {443.525, 443.525}, {443.975, 443.975},
         {447.77, 447.77}, {447.855, 447.855}, {447.875, 447.875}, {447.9, 447.9}, {447.94, 447.94},
         {448.435, 448.435}, {453.48, 453.485}, {464.54, 464.545}, {465.045, 465.045}, {465.645, 465.645},
         {465.995, 465.995}, {469.975, 469.975}, {469.995, 469.995})
VB_TABLE(kPortableB4, {143.76, 143.775}, {154.82, 154.835}, {165.88, 165.895})
VB_TABLE(kPortableB6, {453.415, 453.43}, {464.47, 464.485}, {475.53, 475.545}, {486.59, 486.605},
         {497.65, 497.665}, {508.71, 508.725}, {519.77, 519.785})
VB_TABLE(kPortableB7, {409.19, 409.195}, {420.25, 420.255}, {425.8, 425.8}, {431.305, 431.31}, {434.76, 434.76},
         {436.82, 436.82}, {436.86, 436.86}, {442.365, 442.37}, {442.82, 442.82}, {447.88, 447.88},
         {447.895, 447.895}, {447.92, 447.92}, {453.425, 453.43}, {464.485, 464.49})
VB_TABLE(kMobileA4, {143.8, 143.82}, {154.86, 154.88}, {165.925, 165.945})
VB_TABLE(kMobileA6, {453.545, 453.565}, {464.605, 464.625}, {475.67, 475.69}, {486.73, 486.75},
         {497.795, 497.815}, {508.855, 508.875}, {519.92, 519.94})
VB_TABLE(kMobileA7, {409.295, 409.315}, {420.36, 420.38}, {431.42, 431.44}, {442.485, 442.505},
         {453.545, 453.565}, {464.605, 464.625})
#undef VB_TABLE
constexpr WindowTable kEmpty = {nullptr, 0};

const WindowTable* SelectTable(bool portable, bool setB, uint8_t rangeByte) {
  int i = rangeByte == 4 ? 0 : rangeByte == 6 ? 1 : rangeByte == 7 ? 2 : -1;
  if (i < 0) return nullptr;
  static const WindowTable* const kPortA[] = {&kPortableA4, &kPortableA6, &kPortableA7};
  static const WindowTable* const kPortB[] = {&kPortableB4, &kPortableB6, &kPortableB7};
  static const WindowTable* const kMobA[] = {&kMobileA4, &kMobileA6, &kMobileA7};
  if (portable) return setB ? kPortB[i] : kPortA[i];
  return setB ? &kEmpty : kMobA[i];
}

long long MHzToHz(double mhz) { return std::llround(mhz * 1000000.0); }

// True when the flag is to be set (the frequency lies in none of the windows).
bool RangeFlagSet(uint32_t hz, const WindowTable* table) {
  if (hz == 0 || !table) return true;
  for (int i = 0; i < table->count; ++i)
    if (MHzToHz(table->rows[i].low) <= hz && hz <= MHzToHz(table->rows[i].high)) return false;
  return true;
}

bool TransmitCheckSet(RadioData& data, uint32_t hz) {
  if (!data.model.IsPortable() || hz == 0) return true;
  int d, e;
  switch (data.model.BandCode()) {
    case 4: d = 16000; e = 11000; break;
    case 6: d = 25000; e = 35000; break;
    case 7: d = 23000; e = 32000; break;
    default: return true;
  }
  const long long g = std::llround(static_cast<double>(hz) / 115200.0) * 115200LL;
  return !(g - d <= hz && hz <= g + e);
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return s.substr(a, b - a);
}

bool ValidCell(int zone, int channel) { return zone >= 0 && zone < kZoneCount && channel >= 0 && channel < kMaxRecords; }

}  // namespace

// Field 19 is a small per-channel setting the radio applies to each channel.
// Mobiles take 1 to 16 and portables 1 to 8, in steps of 1; a new channel
// gets 1 (the byte the zone manager inserts), and an empty entry stores 1.
SteppedRange Field19Range(int model) {
  if (model >= 8) return {1, 8, 1, 1};
  return {1, 16, 1, 1};
}

bool ReceiveRangeFlag(RadioData& data, uint32_t hz, bool setB) {
  if (setB && SystemType(data.Image()) != 4) return true;
  return RangeFlagSet(hz, SelectTable(data.model.IsPortable(), setB, data.model.BandCode()));
}

bool TransmitCheckFlag(RadioData& data, uint32_t hz) { return TransmitCheckSet(data, hz); }

void UpdateRangeFlags(RadioData& data, size_t record, int which) {
  ByteArea image = data.Image();
  const uint8_t* rec = image.ptr(record, kChannelSize);
  if (!rec) return;
  uint16_t flags = image.u16le(record + kFlags);
  auto put = [&flags](int bitNo, bool on) {
    flags = static_cast<uint16_t>(on ? (flags | (1u << bitNo)) : (flags & ~(1u << bitNo)));
  };
  const uint32_t rxHz = CFreqCodec::FieldToHz(rec + kRxFreq);
  if (which & kRangeFlagA) put(2, ReceiveRangeFlag(data, rxHz, false));
  if (which & kRangeFlagB) put(6, ReceiveRangeFlag(data, rxHz, true));
  if (which & kTransmitCheck) put(7, TransmitCheckSet(data, CFreqCodec::FieldToHz(rec + kTxFreq)));
  image.setU16le(record + kFlags, flags);
}

void CConvFields::UpdateRangeFlags(size_t record, int which) { vb420::UpdateRangeFlags(Data(), record, which); }

int CConvFields::ConvZoneOffset(int zone) const {
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (!z.exists || z.cls != kClassConv) return -1;
  return z.offset;
}

int CConvFields::ChannelRecord(int zone, int channel) const {
  if (!ValidCell(zone, channel) || zones_.ZoneClass(zone) != kClassConv) return -1;
  return zones_.FindRecord(zone, channel);
}

bool CConvFields::HasTransmit(size_t rec) const {
  const uint8_t* p = Data().Image().ptr(rec + kTxFreq, 4);
  return p && !CFreqCodec::IsEmptyField(p);
}

// ---------------------------------------------------------------------------
// Channel fields

std::vector<OptionChoice> CConvFields::OptionChoices(int zone, int channel, int field) const {
  std::vector<OptionChoice> out;
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Channel, field);
  if (!d || (d->kind != forms::ControlKind::Combo && d->kind != forms::ControlKind::Check)) return out;
  ZoneFieldContext f(zones_, text_, ZoneTable::Channel, zone, channel);
  for (const forms::Choice& c : forms::FormEngine::Choices(f.Context(), *d)) {
    const std::string t = c.textEntry >= 0 ? text_.Text(c.textEntry) : c.literal;
    out.push_back({t, c.value & 0xFF, (c.value >> 8) ? (c.value >> 8) : 0xFF});
  }
  return out;
}

int CConvFields::RecordFieldText(int zone, int channel, int field, std::string& text) const {
  text.clear();
  if (!ValidCell(zone, channel)) return 0;
  switch (field) {
    case 0:
      text = text_.Text(378) + "(" + CZoneMemory::ZoneTypeName(zones_.ZoneType(zone), text_) + ")";
      return 1;
    case 1: text = std::to_string(zone + 1); return 1;
    case 2: text = std::to_string(channel + 1); return 1;
    default: break;
  }
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Channel, field);
  if (!d || ChannelRecord(zone, channel) < 0) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::Channel, zone, channel);
  text = forms::SettingText(f.Context(), *d);
  // Lists, check boxes and the stepped number answer their stored value.
  if (d->kind == forms::ControlKind::Combo || d->kind == forms::ControlKind::Check || field == 19)
    return forms::FormEngine::StoredValue(f.Context(), *d) & 0xFF;
  return 1;
}

bool CConvFields::IsEditable(int zone, int channel, int field) const {
  if (!ValidCell(zone, channel)) return false;
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Channel, field);
  if (!d || !d->enabled) return false;
  ZoneFieldContext f(zones_, text_, ZoneTable::Channel, zone, channel);
  return d->enabled(f.Context());
}

bool CConvFields::CanCopyTone(int zone, int channel) const {
  const int r = ChannelRecord(zone, channel);
  return r >= 0 && HasTransmit(static_cast<size_t>(r)) && Data().Image().u16le(static_cast<size_t>(r) + kRxTone) != 0xFFFF;
}

FieldResult CConvFields::SetFrequency(int zone, int channel, int field, const std::string& typed, bool interactive) {
  if (!ValidCell(zone, channel) || (field != 3 && field != 4)) return {};
  RadioData& data = Data();
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (z.exists && (z.cls != kClassConv || z.damaged)) return {};
  std::string text = Trim(data.field.DelocalizeDecimal(typed));
  int r = ChannelRecord(zone, channel);
  // A zone or channel created for this entry must not stay behind when the
  // entry is refused: a refused entry leaves the image as it was.
  std::vector<uint8_t> imageBefore, extBefore;
  auto undo = [&](FieldResult res) {
    if (!imageBefore.empty()) {
      data.Image().write(0, imageBefore.data(), imageBefore.size());
      data.Ext().write(0, extBefore.data(), extBefore.size());
    }
    return res;
  };
  if (field == 3) {
    if (text.empty()) {
      if (r < 0) return {};
      return zones_.RemoveRecord(zone, channel) == ZoneResult::Done ? FieldResult{kFieldRecordRemoved, 0} : FieldResult{};
    }
    if (r < 0) {
      imageBefore = data.buffers.ImageBytes();
      extBefore = data.buffers.ExtBytes();
      if (!z.exists) {
        const uint8_t type = ClassOfType(zones_.PendingType()) == kClassConv ? zones_.PendingType() : '1';
        const ZoneResult c = zones_.CreateZone(zone, type);
        if (c == ZoneResult::Refused) return undo({});
        if (c != ZoneResult::Done) return undo({static_cast<int>(c), ResultMessage(c)});
      }
      const InsertResult ins = zones_.InsertRecord(zone, channel);
      if (ins != InsertResult::Done) return undo({static_cast<int>(ins), ResultMessage(ins)});  // a full zone: no message
      r = ChannelRecord(zone, channel);
      if (r < 0) return undo({});
    }
  } else if (r < 0) {
    return {-1, 0};
  }
  const size_t rec = static_cast<size_t>(r);
  ByteArea image = data.Image();
  FieldResult out{kFieldStored, 0};
  if (data.freq.CheckFreq(text) == 0 && interactive) out.message = field == 3 ? 283 : 284;
  uint8_t f[4];
  const int step = data.freq.EncodeFreq(text, f, data.model.BandClass() == 1 ? 1 : 0, data.model.IsPortable());
  if (field == 4) {
    if (step < 0) {
      image.setU32le(rec + kTxFreq, 0xFFFFFFFFu);
      image.setU8(rec + kTxStep, 0xFF);
      image.setU16le(rec + kTxTone, 0xFFFF);
    } else {
      image.write(rec + kTxFreq, f, 4);
      image.setU8(rec + kTxStep, static_cast<uint8_t>(step));
    }
    UpdateRangeFlags(rec, kTransmitCheck);
    return out;
  }
  if (step < 0) return undo({0, out.message});
  image.write(rec + kRxFreq, f, 4);
  image.setU8(rec + kRxStep, static_cast<uint8_t>(step));
  int which = kRangeFlagA | kRangeFlagB;
  if (!HasTransmit(rec)) {
    image.write(rec + kTxFreq, f, 4);
    image.setU8(rec + kTxStep, static_cast<uint8_t>(step));
    which |= kTransmitCheck;
  }
  UpdateRangeFlags(rec, which);
  return out;
}

int CConvFields::SetTone(int zone, int channel, int field, const std::string& text, int listRow) {
  if ((field != 5 && field != 6) || !IsEditable(zone, channel, field)) return 0;
  const int r = ChannelRecord(zone, channel);
  if (r < 0) return 0;
  const size_t rec = static_cast<size_t>(r);
  RadioData& data = Data();
  ByteArea image = data.Image();
  uint16_t word;
  if (listRow >= 0) {
    if (listRow >= kToneListRows) return 0;
    word = CFieldCodec::ToneListWord(listRow);
  } else {
    word = data.field.TextToTone(Trim(data.field.DelocalizeDecimal(text)));
  }
  if (field == 5) {
    image.setU16le(rec + kRxTone, word);
    // A typed receive tone also becomes the transmit tone while that is off.
    if (listRow < 0 && HasTransmit(rec) && image.u16le(rec + kTxTone) == 0xFFFF) image.setU16le(rec + kTxTone, word);
  } else {
    image.setU16le(rec + kTxTone, word);
  }
  return 1;
}

int CConvFields::SetName(int zone, int channel, const std::string& text) {
  if (!IsEditable(zone, channel, 7)) return 0;
  std::string t = text;
  return StoreTyped(ZoneTable::Channel, zone, channel, 7, t);
}

int CConvFields::SetOption(int zone, int channel, int field, int value, int entry) {
  if (!IsEditable(zone, channel, field)) return 0;
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Channel, field);
  if (!d || (d->kind != forms::ControlKind::Combo && d->kind != forms::ControlKind::Check)) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::Channel, zone, channel);
  // An ID-list row carries its entry number above the stored byte.
  const int v = (field == 12 && value == '3') ? (value | (entry & 0xFF) << 8) : value;
  return forms::FormEngine::StoreChoice(f.Context(), *d, v) ? 1 : 0;
}

int CConvFields::SetStepped(int zone, int channel, const std::string& typed) {
  if (!IsEditable(zone, channel, 19)) return 0;
  std::string t = Trim(typed);
  return StoreTyped(ZoneTable::Channel, zone, channel, 19, t);
}

int CConvFields::SetStepped(int zone, int channel, int direction) {
  if (!IsEditable(zone, channel, 19)) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::Channel, zone, channel);
  forms::FormEngine::Spin(f.Context(), *zonefields::ByNumber(ZoneTable::Channel, 19), direction);
  return 1;
}

int CConvFields::StoreTyped(ZoneTable table, int zone, int record, int field, std::string& text) {
  const forms::FieldDescriptor* d = zonefields::ByNumber(table, field);
  if (!d) return 0;
  ZoneFieldContext f(zones_, text_, table, zone, record);
  forms::FormEngine::StoreText(f.Context(), *d, text);
  return 1;
}

FieldResult CConvFields::SetRecordField(int zone, int channel, int field, const std::string& text, bool interactive) {
  switch (field) {
    case 3: case 4: return SetFrequency(zone, channel, field, text, interactive);
    case 5: case 6: return {SetTone(zone, channel, field, text), 0};
    case 7: return {SetName(zone, channel, text), 0};
    case 19: return {SetStepped(zone, channel, text), 0};
    default: break;
  }
  const std::string t = Trim(text);
  for (const auto& c : OptionChoices(zone, channel, field))
    if (c.text == t) return {SetOption(zone, channel, field, c.value, c.entry), 0};
  return {};
}

// ---------------------------------------------------------------------------
// Zone header fields

std::vector<OptionChoice> CConvFields::HeaderChoices(int field) const {
  std::vector<OptionChoice> out;
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d || (d->kind != forms::ControlKind::Combo && d->kind != forms::ControlKind::Check)) return out;
  for (const forms::Choice& c : d->choices) out.push_back({text_.Text(c.textEntry), c.value, 0xFF});
  return out;
}

int CConvFields::HeaderFieldText(int zone, int field, std::string& text) const {
  text.clear();
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d || ConvZoneOffset(zone) < 0) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::ConvHeader, zone);
  text = forms::SettingText(f.Context(), *d);
  return field == 0 ? 1 : forms::FormEngine::StoredValue(f.Context(), *d);
}

bool CConvFields::HeaderEditable(int zone, int field) const {
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d) return false;
  ZoneFieldContext f(zones_, text_, ZoneTable::ConvHeader, zone);
  return forms::FormEngine::Enabled(f.Context(), forms::FormPage{}, *d);
}

int CConvFields::SetHeaderField(int zone, int field, const std::string& typed) {
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d || d->encoding == forms::Encoding::Value || !HeaderEditable(zone, field)) return 0;
  std::string t = field == 0 ? typed : Trim(typed);
  return StoreTyped(ZoneTable::ConvHeader, zone, -1, field, t);
}

int CConvFields::SpinHeaderField(int zone, int field, int direction) {
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d || d->encoding != forms::Encoding::Number || !HeaderEditable(zone, field)) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::ConvHeader, zone);
  forms::FormEngine::Spin(f.Context(), *d, direction);
  return 1;
}

int CConvFields::SetHeaderOption(int zone, int field, int value) {
  const forms::FieldDescriptor* d = zonefields::ByNumber(ZoneTable::ConvHeader, field);
  if (!d || d->encoding != forms::Encoding::Value || !HeaderEditable(zone, field)) return 0;
  ZoneFieldContext f(zones_, text_, ZoneTable::ConvHeader, zone);
  return forms::FormEngine::StoreChoice(f.Context(), *d, value) ? 1 : 0;
}

}  // namespace vb420
