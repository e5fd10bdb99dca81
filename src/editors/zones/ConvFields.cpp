#include "editors/zones/ConvFields.h"

#include <cmath>
#include <cstring>

#include "data/RadioData.h"
#include "editors/zones/ZoneText.h"
#include "lang/TextTable.h"

namespace vb420 {

using namespace zones;

namespace {

// Channel record layout.
constexpr size_t kRxFreq = 1, kTxFreq = 5, kRxStep = 9, kTxStep = 10;
constexpr size_t kRxTone = 11, kTxTone = 13, kName = 15, kNameField = 12;
constexpr size_t kField10 = 27, kField11 = 28, kField12 = 29, kField12Entry = 30, kFlags = 46;

// Header layout.
constexpr size_t kHdrName = 5, kHdrOptions = 30;

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

struct HeaderNumber {
  int field;
  bool perZoneByte;  // ext 0xF00 + zone instead of the header
  size_t offset;
  int width;
  int minimum;
  int maximum;
  int off;       // the none value, 0 when the field has none
  int offText;
};

constexpr HeaderNumber kHeaderNumbers[] = {
    {1, false, 17, 1, 1, 128, 0xFF, 362},   {2, false, 18, 1, 1, 250, 0xFF, 362},
    {3, true, 0, 1, 1, 250, 0xFF, 362},     {7, false, 19, 2, 15, 1200, 0, 0},
    {8, false, 21, 2, 1, 10, 0xFFFF, 371},  {9, false, 23, 2, 1, 60, 0xFFFF, 371},
    {10, false, 25, 2, 1, 15, 0xFFFF, 371},
};

const HeaderNumber* FindHeaderNumber(int field) {
  for (const auto& h : kHeaderNumbers)
    if (h.field == field) return &h;
  return nullptr;
}

}  // namespace

// Field 19 is a small per-channel setting the radio applies to each channel.
// Mobiles take 1 to 16 and portables 1 to 8, in steps of 1; a new channel
// gets 1 (the byte the zone manager inserts), and an empty entry stores 1.
SteppedRange Field19Range(int model) {
  if (model >= 8) return {1, 8, 1, 1};
  return {1, 16, 1, 1};
}

void UpdateRangeFlags(RadioData& data, size_t record, int which) {
  ByteArea image = data.Image();
  const uint8_t* rec = image.ptr(record, kChannelSize);
  if (!rec) return;
  uint16_t flags = image.u16le(record + kFlags);
  const bool portable = data.model.IsPortable();
  const uint8_t rangeByte = data.model.BandCode();
  auto put = [&flags](int bitNo, bool on) {
    flags = static_cast<uint16_t>(on ? (flags | (1u << bitNo)) : (flags & ~(1u << bitNo)));
  };
  const uint32_t rxHz = CFreqCodec::FieldToHz(rec + kRxFreq);
  if (which & kRangeFlagA) put(2, RangeFlagSet(rxHz, SelectTable(portable, false, rangeByte)));
  if (which & kRangeFlagB) {
    CZoneMemory zones(data);
    if (zones.SystemType() != 4) put(6, true);
    else put(6, RangeFlagSet(rxHz, SelectTable(portable, true, rangeByte)));
  }
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
  auto add = [&](int entryText, int value) { out.push_back({text_.Text(entryText), value, 0xFF}); };
  switch (field) {
    case 8: add(1084, 1); add(1085, 0); break;
    case 9: add(436, 2); add(437, 0); break;
    case 10:
      add(362, 0xFF);
      for (int i = 0; i < 6; ++i) add(405 + i, '0' + i);
      break;
    case 11: add(373, 0xFF); add(438, '0'); add(439, '1'); add(440, '2'); break;
    case 12: {
      ByteArea image = Data().Image();
      const uint8_t filter = image.u8(0x180);
      add(371, 0xFF);
      if (filter == '2') {
        add(370, '4');
        break;
      }
      add(441, '0'); add(442, '1'); add(443, '2');
      if (filter == '1') {
        // One row per usable entry of the data-signalling ID list.
        const size_t list = image.u16le(0x9EC);
        const int count = image.u16le(0x9EE);
        for (int i = 0; i < count && i < 250; ++i) {
          const size_t e = list + 16 * static_cast<size_t>(i);
          if (!image.InRange(e, 16)) break;
          if (image.u8(e + 12) != 0xFF && image.u8(e + 15) == 0xFF)
            out.push_back({FormatInt(text_.Text(444) + " %d", i + 1), '3', i + 1});
        }
      }
      break;
    }
    case 13:
      if (zones_.SystemType() == 4) { add(447, 0); add(446, 1); }
      add(445, 2); add(371, 3);
      break;
    case 14: case 15: case 16: case 18: add(372, 0); add(373, 1); break;
    case 20: add(371, 1); add(370, 0); break;
    default: break;
  }
  return out;
}

int CConvFields::RecordFieldText(int zone, int channel, int field, std::string& text) const {
  text.clear();
  if (!ValidCell(zone, channel)) return 0;
  RadioData& data = Data();
  ByteArea image = data.Image();
  switch (field) {
    case 0:
      text = text_.Text(378) + "(" + CZoneMemory::ZoneTypeName(zones_.ZoneType(zone), text_) + ")";
      return 1;
    case 1: text = std::to_string(zone + 1); return 1;
    case 2: text = std::to_string(channel + 1); return 1;
    default: break;
  }
  const int r = ChannelRecord(zone, channel);
  if (r < 0) return 0;
  const size_t rec = static_cast<size_t>(r);
  const uint16_t flags = image.u16le(rec + kFlags);
  auto choiceText = [&](int value) {
    for (const auto& c : OptionChoices(zone, channel, field))
      if (c.value == value) return c.text;
    return std::string();
  };
  switch (field) {
    case 3: case 4: {
      const uint8_t* f = image.ptr(rec + (field == 3 ? kRxFreq : kTxFreq), 4);
      if (f) data.freq.FreqToText(f, text);
      return 1;
    }
    case 5: case 6:
      data.field.ToneToText(image.u16le(rec + (field == 5 ? kRxTone : kTxTone)), text);
      return 1;
    case 7:
      text = CFieldCodec::NameFromField(image.ptr(rec + kName, kNameField), data.model.NameWidth());
      return 1;
    case 8: { const int v = (flags >> 3) & 1; text = text_.Text(v ? 1084 : 1085); return v; }
    case 9: { const int v = flags & 3; text = v == 2 ? text_.Text(436) : v == 0 ? text_.Text(437) : ""; return v; }
    case 10: { const int v = image.u8(rec + kField10); text = choiceText(v); return v; }
    case 11: { const int v = image.u8(rec + kField11); text = choiceText(v); return v; }
    case 12: {
      const int v = image.u8(rec + kField12);
      if (v == 0xFF) text = text_.Text(371);
      else if (v >= '0' && v <= '2') text = text_.Text(441 + (v - '0'));
      else if (v == '3') text = FormatInt(text_.Text(444) + " %d", image.u8(rec + kField12Entry));
      else if (v == '4') text = text_.Text(370);
      return v;
    }
    case 13: {
      const int v = ((flags >> 2) & 1) | (((flags >> 6) & 1) << 1);
      static const int kTexts[] = {447, 446, 445, 371};
      text = text_.Text(kTexts[v]);
      return v;
    }
    case 14: case 18: {
      const PerChannelValues pc = zones_.ReadPerChannel(zones_.GlobalChannel(zone, channel));
      const int v = (field == 14 ? pc.bitA : pc.bitB) ? 1 : 0;
      text = text_.Text(v ? 373 : 372);
      return v;
    }
    case 15: case 16: {
      const int v = (flags >> (field == 15 ? 4 : 5)) & 1;
      text = text_.Text(v ? 373 : 372);
      return v;
    }
    case 19: {
      const int v = zones_.ReadPerChannel(zones_.GlobalChannel(zone, channel)).chanByte;
      const SteppedRange sr = Field19Range(data.model.ModelNumber());
      if (v >= sr.minimum && v <= sr.maximum) text = std::to_string(v);
      return v;
    }
    case 20: { const int v = (flags >> 7) & 1; text = text_.Text(v ? 371 : 370); return v; }
    default: return 0;
  }
}

bool CConvFields::IsEditable(int zone, int channel, int field) const {
  if (!ValidCell(zone, channel) || field < 3 || field > 20 || field == 17) return false;
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (z.exists && (z.cls != kClassConv || z.damaged)) return false;
  const int r = ChannelRecord(zone, channel);
  // Only the receive frequency brings a missing channel into being.
  if (r < 0) return field == 3;
  const uint8_t type = zones_.ZoneType(zone);
  switch (field) {
    case 11: if (type == '3') return false; [[fallthrough]];
    case 6: case 8: case 12: return HasTransmit(static_cast<size_t>(r));
    case 14: return type == '1';
    case 19: return zones_.SystemType() == 1;
    default: return true;
  }
}

FieldResult CConvFields::SetFrequency(int zone, int channel, int field, const std::string& typed, bool interactive) {
  if (!ValidCell(zone, channel) || (field != 3 && field != 4)) return {};
  RadioData& data = Data();
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (z.exists && (z.cls != kClassConv || z.damaged)) return {};
  std::string text = Trim(data.field.DelocalizeDecimal(typed));
  int r = ChannelRecord(zone, channel);
  if (field == 3) {
    if (text.empty()) {
      if (r < 0) return {};
      return zones_.RemoveRecord(zone, channel) == 1 ? FieldResult{kFieldRecordRemoved, 0} : FieldResult{};
    }
    if (r < 0) {
      // A zone created for this entry must not stay behind when the channel
      // cannot follow: a refused entry leaves the image as it was.
      std::vector<uint8_t> imageBefore, extBefore;
      auto undo = [&](FieldResult res) {
        if (!imageBefore.empty()) {
          data.Image().write(0, imageBefore.data(), imageBefore.size());
          data.Ext().write(0, extBefore.data(), extBefore.size());
        }
        return res;
      };
      if (!z.exists) {
        imageBefore = data.buffers.ImageBytes();
        extBefore = data.buffers.ExtBytes();
        const uint8_t type = ClassOfType(zones_.PendingType()) == kClassConv ? zones_.PendingType() : '1';
        const int c = zones_.CreateZone(zone, type);
        if (c == -1) return undo({-1, 275});
        if (c == -2) return undo({-2, 299});
        if (c != 1) return undo({});
      }
      const int ins = zones_.InsertRecord(zone, channel);
      if (ins == 0) return undo({0, 275});
      if (ins == -2) return undo({-2, 299});
      if (ins != 1) return undo({-1, 0});  // a full zone is refused without a message
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
  if (step < 0) return {0, out.message};
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
  const int r = ChannelRecord(zone, channel);
  RadioData& data = Data();
  uint8_t* field = data.Image().ptr(static_cast<size_t>(r) + kName, kNameField);
  if (!field) return 0;
  const int width = data.model.NameWidth();
  const std::string cut = text.substr(0, static_cast<size_t>(width));
  std::memset(field, 0, kNameField);
  data.field.NormalizeName(field, width, cut);
  return 1;
}

int CConvFields::SetOption(int zone, int channel, int field, int value, int entry) {
  if (!IsEditable(zone, channel, field)) return 0;
  bool offered = false;
  for (const auto& c : OptionChoices(zone, channel, field))
    if (c.value == value && (field != 12 || value != '3' || c.entry == entry)) offered = true;
  if (!offered) return 0;
  const size_t rec = static_cast<size_t>(ChannelRecord(zone, channel));
  ByteArea image = Data().Image();
  uint16_t flags = image.u16le(rec + kFlags);
  auto put = [&flags](int bitNo, bool on) {
    flags = static_cast<uint16_t>(on ? (flags | (1u << bitNo)) : (flags & ~(1u << bitNo)));
  };
  switch (field) {
    case 8: put(3, value != 0); break;
    case 9: flags = static_cast<uint16_t>((flags & ~3u) | static_cast<unsigned>(value)); break;
    case 10: image.setU8(rec + kField10, static_cast<uint8_t>(value)); return 1;
    case 11: image.setU8(rec + kField11, static_cast<uint8_t>(value)); return 1;
    case 12:
      image.setU8(rec + kField12, static_cast<uint8_t>(value));
      image.setU8(rec + kField12Entry, value == '3' ? static_cast<uint8_t>(entry) : 0xFF);
      return 1;
    case 13: put(2, value & 1); put(6, value & 2); break;
    case 14: case 18: {
      const int g = zones_.GlobalChannel(zone, channel);
      PerChannelValues pc = zones_.ReadPerChannel(g);
      (field == 14 ? pc.bitA : pc.bitB) = value != 0;
      zones_.WritePerChannel(g, pc);
      return 1;
    }
    case 15: put(4, value != 0); break;
    case 16: put(5, value != 0); break;
    case 20: put(7, value != 0); break;
    default: return 0;
  }
  image.setU16le(rec + kFlags, flags);
  return 1;
}

int CConvFields::SetStepped(int zone, int channel, const std::string& typed) {
  if (!IsEditable(zone, channel, 19)) return 0;
  const int g = zones_.GlobalChannel(zone, channel);
  if (g < 0 || g >= kChannelLimit) return 0;
  const SteppedRange sr = Field19Range(Data().model.ModelNumber());
  std::string text = Trim(typed);
  const int v = text.empty() ? sr.initial : CFieldCodec::ClampIntText(text, sr.maximum, sr.minimum, sr.step);
  PerChannelValues pc = zones_.ReadPerChannel(g);
  pc.chanByte = static_cast<uint8_t>(v);
  zones_.WritePerChannel(g, pc);
  return 1;
}

int CConvFields::SetStepped(int zone, int channel, int direction) {
  if (!IsEditable(zone, channel, 19)) return 0;
  const int g = zones_.GlobalChannel(zone, channel);
  if (g < 0 || g >= kChannelLimit) return 0;
  const SteppedRange sr = Field19Range(Data().model.ModelNumber());
  PerChannelValues pc = zones_.ReadPerChannel(g);
  pc.chanByte = static_cast<uint8_t>(CFieldCodec::Spin(pc.chanByte, sr.maximum, sr.minimum, sr.step, direction));
  zones_.WritePerChannel(g, pc);
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
  auto add = [&](int entryText, int value) { out.push_back({text_.Text(entryText), value, 0xFF}); };
  switch (field) {
    case 4: case 11: case 12: case 13: add(372, 0); add(373, 1); break;
    case 5: add(485, 0); add(486, 1); break;
    case 6: add(485, 0); add(487, 1); add(488, 2); break;
    default: break;
  }
  return out;
}

int CConvFields::HeaderFieldText(int zone, int field, std::string& text) const {
  text.clear();
  const int off = ConvZoneOffset(zone);
  if (off < 0) return 0;
  RadioData& data = Data();
  ByteArea image = data.Image();
  ByteArea ext = data.Ext();
  const size_t hdr = static_cast<size_t>(off);
  if (field == 0) {
    text = CFieldCodec::NameFromField(image.ptr(hdr + kHdrName, 12), data.model.NameWidth());
    return 1;
  }
  if (const HeaderNumber* h = FindHeaderNumber(field)) {
    const size_t at = h->perZoneByte ? kExtZoneBytes + static_cast<size_t>(zone) : hdr + h->offset;
    const int v = h->perZoneByte ? ext.u8(at) : h->width == 1 ? image.u8(at) : image.u16le(at);
    text = (h->off && v == h->off) ? text_.Text(h->offText) : std::to_string(v);
    return v;
  }
  const uint8_t opts = image.u8(hdr + kHdrOptions);
  int v;
  switch (field) {
    case 4: v = (opts >> 3) & 1; break;
    case 5: v = (opts >> 2) & 1; break;
    case 6: v = opts & 3; break;
    case 11: v = (opts >> 5) & 1; break;
    case 12: v = ext.bit(kExtZoneBits + static_cast<size_t>(zone / 8), zone % 8) ? 1 : 0; break;
    case 13: v = (opts >> 4) & 1; break;
    default: return 0;
  }
  for (const auto& c : HeaderChoices(field))
    if (c.value == v) text = c.text;
  return v;
}

int CConvFields::SetHeaderField(int zone, int field, const std::string& typed) {
  const int off = ConvZoneOffset(zone);
  if (off < 0 || zones_.ZoneDamaged(zone)) return 0;
  RadioData& data = Data();
  ByteArea image = data.Image();
  const size_t hdr = static_cast<size_t>(off);
  if (field == 0) {
    const int width = data.model.NameWidth();
    uint8_t* f = image.ptr(hdr + kHdrName, 12);
    if (!f) return 0;
    std::memset(f, 0, 12);
    data.field.NormalizeName(f, width, typed.substr(0, static_cast<size_t>(width)));
    return 1;
  }
  const HeaderNumber* h = FindHeaderNumber(field);
  if (!h) return 0;
  int maximum = h->maximum;
  // High-power models take at most 600 here.
  if (field == 7 && (data.model.Bytes()[6] & 0x04) == 0) maximum = 600;
  std::string text = Trim(typed);
  int v;
  if (text.empty() || (h->off && text == text_.Text(h->offText))) v = h->off ? h->off : h->minimum;
  else v = CFieldCodec::ClampIntText(text, maximum, h->minimum, 1);
  if (h->perZoneByte) data.Ext().setU8(kExtZoneBytes + static_cast<size_t>(zone), static_cast<uint8_t>(v));
  else if (h->width == 1) image.setU8(hdr + h->offset, static_cast<uint8_t>(v));
  else image.setU16le(hdr + h->offset, static_cast<uint16_t>(v));
  return 1;
}

int CConvFields::SpinHeaderField(int zone, int field, int direction) {
  const int off = ConvZoneOffset(zone);
  const HeaderNumber* h = FindHeaderNumber(field);
  if (off < 0 || !h || zones_.ZoneDamaged(zone)) return 0;
  RadioData& data = Data();
  std::string current;
  const int value = HeaderFieldText(zone, field, current);
  int maximum = h->maximum;
  if (field == 7 && (data.model.Bytes()[6] & 0x04) == 0) maximum = 600;
  const int v = h->off ? CFieldCodec::SpinWithOff(value, maximum, h->minimum, 1, h->off, direction)
                       : CFieldCodec::Spin(value, maximum, h->minimum, 1, direction);
  return SetHeaderField(zone, field, (h->off && v == h->off) ? std::string() : std::to_string(v));
}

int CConvFields::SetHeaderOption(int zone, int field, int value) {
  const int off = ConvZoneOffset(zone);
  if (off < 0 || zones_.ZoneDamaged(zone)) return 0;
  bool offered = false;
  for (const auto& c : HeaderChoices(field))
    if (c.value == value) offered = true;
  if (!offered) return 0;
  ByteArea image = Data().Image();
  const size_t at = static_cast<size_t>(off) + kHdrOptions;
  uint8_t opts = image.u8(at);
  auto put = [&opts](int bitNo, bool on) {
    opts = static_cast<uint8_t>(on ? (opts | (1u << bitNo)) : (opts & ~(1u << bitNo)));
  };
  switch (field) {
    case 4: put(3, value); break;
    case 5: put(2, value); break;
    case 6: opts = static_cast<uint8_t>((opts & ~3u) | static_cast<unsigned>(value)); break;
    case 11: put(5, value); break;
    case 13: put(4, value); break;
    case 12: {
      ByteArea ext = Data().Ext();
      ext.setBit(kExtZoneBits + static_cast<size_t>(zone / 8), zone % 8, value != 0);
      return 1;
    }
    default: return 0;
  }
  image.setU8(at, opts);
  return 1;
}

}  // namespace vb420
