// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ZoneFields.h"

#include <cstdio>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/GroupFields.h"
#include "editors/zones/PassPortFields.h"
#include "editors/zones/ZoneText.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets; every other member keeps its
// default on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

// ---------------------------------------------------------------------------
// Finding records

long ZoneRecordLocator::Locate(const FormContext& ctx, RecordBase base) const {
  const int zone = ctx.cursor.zone;
  if (zone < 0 || zone >= zones::kZoneCount) return -1;
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (!z.exists || z.cls != class_) return -1;
  const int record = ctx.cursor.record;
  switch (base) {
    case RecordBase::ZoneHeader: return z.offset;
    case RecordBase::ZoneByte:
    case RecordBase::ZoneBit: return zone;
    case RecordBase::Record: return record >= 0 && record < zones::kMaxRecords ? zones_.FindRecord(zone, record) : -1;
    case RecordBase::Repeater:
      return record >= 0 && record < zones::kMaxRepeaters ? zones_.FindRepeater(zone, record) : -1;
    case RecordBase::ChannelByte:
    case RecordBase::ChannelBit: {
      if (record < 0 || record >= zones::kMaxRecords) return -1;
      const int g = zones_.GlobalChannel(zone, record);
      return g >= 0 && g < zones::kChannelLimit ? g : -1;
    }
    default: return -1;
  }
}

namespace {

constexpr int kClassOf[] = {kClassConv,     kClassConv,     kClassLtr,      kClassLtr,     kClassPassPort,
                            kClassLtr,      kClassPassPort, kClassPassPort, kClassPassPort};

const ZoneRecordLocator* Loc(const FormContext& c) { return dynamic_cast<const ZoneRecordLocator*>(c.locator); }

long Where(const FormContext& c, RecordBase base) { return c.locator ? c.locator->Locate(c, base) : -1; }

// The zone of the cursor can take changes: it exists with the table's class
// and its header can be trusted.
bool ZoneUsable(const FormContext& c) {
  const ZoneRecordLocator* l = Loc(c);
  if (!l || c.cursor.zone < 0 || c.cursor.zone >= zones::kZoneCount) return false;
  const ZoneLayout z = l->Zones().ZoneInfo(c.cursor.zone);
  return z.exists && z.cls == l->ZoneClass() && !z.damaged;
}

// As ZoneUsable, but a zone that does not exist yet is fine too: the first
// data column creates it.
bool ZoneUsableOrMissing(const FormContext& c) {
  const ZoneRecordLocator* l = Loc(c);
  if (!l || c.cursor.zone < 0 || c.cursor.zone >= zones::kZoneCount) return false;
  const ZoneLayout z = l->Zones().ZoneInfo(c.cursor.zone);
  return !z.exists || (z.cls == l->ZoneClass() && !z.damaged);
}

bool RecordThere(const FormContext& c) { return ZoneUsable(c) && Where(c, RecordBase::Record) >= 0; }
bool RepeaterThere(const FormContext& c) { return ZoneUsable(c) && Where(c, RecordBase::Repeater) >= 0; }

bool ChannelHasTransmit(const FormContext& c) {
  const long rec = Where(c, RecordBase::Record);
  if (rec < 0) return false;
  const uint8_t* p = c.data.Image().ptr(static_cast<size_t>(rec) + rec::ch::kTxFreq, 4);
  return p && !CFreqCodec::IsEmptyField(p);
}

uint8_t ZoneTypeOf(const FormContext& c) {
  const ZoneRecordLocator* l = Loc(c);
  return l ? l->Zones().ZoneType(c.cursor.zone) : 0xFF;
}

// --- building blocks ------------------------------------------------------------

FieldRef In(RecordBase base, size_t offset, int width = 1, int bit = -1, int bits = 1) {
  return {.area = Area::Image, .offset = static_cast<uint32_t>(offset), .width = width, .bit = bit, .bits = bits,
          .base = base};
}
FieldRef ExtTable(RecordBase base, size_t table) {
  return {.area = Area::Ext, .offset = static_cast<uint32_t>(table), .width = 1, .base = base};
}

// A check box the way the zone records keep them: a clear bit is ticked.
FieldDescriptor CheckBox(std::string key, int number, int label, FieldRef ref, Rule enabled) {
  return {.key = std::move(key), .number = number, .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = {{372, 0}, {373, 1}}, .checkedValue = 0, .uncheckedValue = 1,
          .enabled = std::move(enabled)};
}

FieldDescriptor Name(std::string key, int number, int label, FieldRef ref, Rule enabled) {
  return {.key = std::move(key), .number = number, .labelEntry = label, .kind = ControlKind::Text, .field = ref,
          .encoding = Encoding::Name, .textWidth = static_cast<int>(rec::kNameBytes), .textWidthGen2 = 8,
          .enabled = std::move(enabled)};
}

SteppedRange ModelRange(const FormContext& c) { return Field19Range(c.data.model.ModelNumber()); }

std::string FreqText(const FormContext& c, RecordBase base, size_t offset) {
  const long at = Where(c, base);
  std::string s;
  if (at < 0) return s;
  if (const uint8_t* p = c.data.Image().ptr(static_cast<size_t>(at) + offset, 4)) c.data.freq.FreqToText(p, s);
  return s;
}

// A channel or repeater frequency. Custom, because entering one is more than
// storing a value: the first frequency brings the record (and for a channel
// its zone) into being or removes it, a step code is written beside each
// frequency, the companion frequency follows, and the range and
// transmit-check flags are recomputed. `store` is the record's own entry
// operation, which holds those rules.
FieldDescriptor FrequencyField(const char* key, int number, int label, RecordBase base, size_t at, bool recordKey,
                               Rule enabled,
                               std::function<FieldResult(const ZoneRecordLocator&, FormContext&, std::string&)> store) {
  FieldDescriptor d{.key = key, .number = number, .labelEntry = label, .kind = ControlKind::Text,
                    .encoding = Encoding::Custom, .inputMode = 3, .maxLength = 9};
  d.customShow = [base, at](const FormContext& c) { return FreqText(c, base, at); };
  d.customStore = [store = std::move(store)](FormContext& c, std::string& text) {
    const ZoneRecordLocator* l = Loc(c);
    if (!l) return;
    const FieldResult r = store(*l, c, text);
    if (r.message) c.message = r.message;
    // Stored or removed; an empty text with no record to remove is nothing to
    // do. Anything else stored nothing (no room, the channel limit, a text
    // that is no frequency).
    const bool nothingToDo = r.result == 0 && r.message == 0 && text.find_first_not_of(" \t") == std::string::npos;
    if (r.result <= 0 && !nothingToDo) c.refused = true;
  };
  d.recordKey = recordKey;
  d.enabled = std::move(enabled);
  return d;
}

// The rows of the data-signalling choice (channel field 12, group field 7):
// which rows exist depends on the signalling ID mode byte, and in mode '1'
// every usable entry of the ID list is a row of its own. A row's value is
// the stored byte with the entry number in bits 8 and up.
std::vector<Choice> SignallingRows(const FormContext& c) {
  std::vector<Choice> rows{{371, 0xFF, {}}};
  const ByteArea image = c.data.Image();
  const uint8_t mode = image.u8(img::kSignallingIdMode);
  if (mode == '2') {
    rows.push_back({370, '4', {}});
    return rows;
  }
  rows.push_back({441, '0', {}});
  rows.push_back({442, '1', {}});
  rows.push_back({443, '2', {}});
  if (mode == '1') {
    const DirectoryList ids = IdList(image);
    for (size_t i = 0; i < ids.count && i < zones::kMaxRecords; ++i) {
      const size_t e = ids.Row(i);
      if (image.u8(e + 12) != 0xFF && image.u8(e + 15) == 0xFF)
        rows.push_back({-1, '3' | static_cast<int>(i + 1) << 8, FormatInt(c.text.Text(444) + " %d", static_cast<int>(i + 1))});
    }
  }
  return rows;
}

// The channel field 13 / repeater field 5 rows: two range flags shown as one
// value; the values with flag B clear are offered only with system type 4.
std::vector<Choice> RangeFlagRows() { return {{447, 0}, {446, 1}, {445, 2}, {371, 3}}; }
bool RangeRowOffered(const FormContext& c, const Choice& row) { return row.value >= 2 || c.SystemType() == 4; }

// Header fields were once keyed by their number ("zone.3.header.7"); they are
// keyed by what they hold now, and the number stays accepted.
void NameHeaderFields(std::vector<FieldDescriptor>& t, const std::vector<std::pair<int, const char*>>& names) {
  for (FieldDescriptor& d : t)
    for (const auto& [number, name] : names)
      if (d.number == number && d.key == std::to_string(number)) {
        d.oldKey = d.key;
        d.key = name;
      }
}

// ---------------------------------------------------------------------------
// Conventional zone header

std::vector<FieldDescriptor> MakeConvHeader() {
  using namespace rec::conv;
  const RecordBase H = RecordBase::ZoneHeader;
  const Rule usable = ZoneUsable;
  auto number = [&](int field, int label, FieldRef ref, int lo, int hi, int none, int noneText) {
    return FieldDescriptor{.key = std::to_string(field), .number = field, .labelEntry = label,
                           .kind = ControlKind::EditSpin, .field = ref, .encoding = Encoding::Number,
                           .minimum = lo, .maximum = hi, .emptyValue = none, .emptyTextEntry = noneText,
                           .enabled = usable, .inputMode = 2, .maxLength = 4};
  };
  std::vector<FieldDescriptor> t = {
      Name("0", 0, 462, In(H, kName), usable),
      number(1, 470, In(H, kField1), 1, 128, 0xFF, 362),
      number(2, 471, In(H, kField2), 1, 250, 0xFF, 362),
      number(3, 522, ExtTable(RecordBase::ZoneByte, ext::kZoneBytes), 1, 250, 0xFF, 362),
      CheckBox("4", 4, 473, In(H, kOptions, 1, 3), usable),
      {.key = "5", .number = 5, .labelEntry = 474, .kind = ControlKind::Combo, .field = In(H, kOptions, 1, 2),
       .encoding = Encoding::Value, .format = "", .choices = {{485, 0}, {486, 1}}, .enabled = usable},
      {.key = "6", .number = 6, .labelEntry = 475, .kind = ControlKind::Combo, .field = In(H, kOptions, 1, 0, 2),
       .encoding = Encoding::Value, .format = "", .choices = {{485, 0}, {487, 1}, {488, 2}}, .enabled = usable},
      number(7, 476, In(H, kField7, 2), 15, 1200, -1, -1),
      number(8, 477, In(H, kField8, 2), 1, 10, 0xFFFF, 371),
      number(9, 478, In(H, kField9, 2), 1, 60, 0xFFFF, 371),
      number(10, 479, In(H, kField10, 2), 1, 15, 0xFFFF, 371),
      CheckBox("11", 11, 480, In(H, kOptions, 1, 5), usable),
      CheckBox("12", 12, 481, ExtTable(RecordBase::ZoneBit, ext::kZoneBits), usable),
      CheckBox("13", 13, 482, In(H, kOptions, 1, 4), usable),
  };
  // High-power models (bit 2 of the seventh model byte clear) take at most 600.
  t[7].dynamicMaximum = [](const FormContext& c) { return (c.data.model.Bytes()[6] & 0x04) == 0 ? 600 : 1200; };
  NameHeaderFields(t, {{0, "name"}, {1, "revertzone"}, {2, "revertchannel"}, {3, "scanlist"}, {4, "talkaround"},
                       {5, "tailelimination"}, {6, "tailmode"}, {7, "timeout"}, {8, "penaltytimer"}, {9, "rekeytime"},
                       {10, "timeoutalert"}, {11, "busylockout"}, {12, "excludefromscan"}, {13, "monitor"}});
  return t;
}

// ---------------------------------------------------------------------------
// Conventional channel

std::vector<FieldDescriptor> MakeChannel() {
  using namespace rec::ch;
  const RecordBase R = RecordBase::Record;
  const Rule exists = RecordThere;
  auto withTransmit = [](const FormContext& c) { return RecordThere(c) && ChannelHasTransmit(c); };
  const FieldRef flags = In(R, kFlags, 2);
  auto flagBit = [&](int bit) {
    FieldRef f = flags;
    f.bit = bit;
    return f;
  };
  auto combo = [](std::string key, int number, int label, FieldRef ref, std::vector<Choice> rows, Rule enabled) {
    return FieldDescriptor{.key = std::move(key), .number = number, .labelEntry = label, .kind = ControlKind::Combo,
                           .field = ref, .encoding = Encoding::Value, .format = "", .choices = std::move(rows),
                           .enabled = std::move(enabled)};
  };

  std::vector<FieldDescriptor> t;

  // Frequencies (Custom, see FrequencyField): CConvFields::SetFrequency
  // copies the first receive frequency to the transmit frequency.
  for (int field : {3, 4}) {
    t.push_back(FrequencyField(field == 3 ? "rxf" : "txf", field, field == 3 ? 421 : 422, RecordBase::Record,
                               field == 3 ? kRxFreq : kTxFreq, field == 3,
                               field == 3 ? Rule(ZoneUsableOrMissing) : exists,
                               [field](const ZoneRecordLocator& l, FormContext& c, std::string& text) {
                                 return CConvFields(l.Zones(), c.text).SetFrequency(c.cursor.zone, c.cursor.record,
                                                                                    field, text, true);
                               }));
  }

  // Tones: Custom, because a typed receive tone also becomes the transmit
  // tone while that is off (a rule between two fields that only typing
  // triggers), and the list rows are tone-list rows, not stored values.
  for (int field : {5, 6}) {
    FieldDescriptor d{.key = field == 5 ? "rxtone" : "txtone", .number = field, .labelEntry = field == 5 ? 423 : 424,
                      .kind = ControlKind::EditCombo, .encoding = Encoding::Custom, .inputMode = 40, .maxLength = 5};
    const size_t at = field == 5 ? kRxTone : kTxTone;
    d.dynamicChoices = [](const FormContext& c) {
      std::vector<Choice> rows;
      rows.reserve(kToneListRows);
      rows.push_back({362, 0, {}});
      for (int r = 1; r < kToneListRows; ++r) rows.push_back({-1, r, c.data.field.LocalizeDecimal(c.data.field.ToneListText(r))});
      return rows;
    };
    d.customShow = [at](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      return rec < 0 ? std::string() : c.data.field.ToneToText(c.data.Image().u16le(static_cast<size_t>(rec) + at));
    };
    d.customValue = [at](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      return rec < 0 ? -1 : CFieldCodec::ToneListRow(c.data.Image().u16le(static_cast<size_t>(rec) + at));
    };
    d.customStoreValue = [field](FormContext& c, int row) {
      if (const ZoneRecordLocator* l = Loc(c)) CConvFields(l->Zones(), c.text).SetTone(c.cursor.zone, c.cursor.record, field, "", row);
    };
    d.customStore = [field](FormContext& c, std::string& text) {
      if (const ZoneRecordLocator* l = Loc(c)) CConvFields(l->Zones(), c.text).SetTone(c.cursor.zone, c.cursor.record, field, text);
    };
    d.enabled = field == 5 ? exists : Rule(withTransmit);
    t.push_back(std::move(d));
  }

  t.push_back(Name("name", 7, 425, In(R, kName), exists));
  t.push_back(combo("power", 8, 426, flagBit(3), {{1084, 1}, {1085, 0}}, withTransmit));
  {
    FieldRef f = flagBit(0);
    f.bits = 2;
    t.push_back(combo("bandwidth", 9, 428, f, {{436, 2}, {437, 0}}, exists));
  }
  t.push_back(combo("optsig", 10, 432, In(R, kField10),
                    {{362, 0xFF}, {405, '0'}, {406, '1'}, {407, '2'}, {408, '3'}, {409, '4'}, {410, '5'}}, exists));
  t.push_back(combo("bcl", 11, 430, In(R, kField11), {{373, 0xFF}, {438, '0'}, {439, '1'}, {440, '2'}},
                    [withTransmit](const FormContext& c) { return withTransmit(c) && ZoneTypeOf(c) != '3'; }));
  {
    // Custom, because one row stores two bytes (the choice and the ID-list
    // entry it names) and the rows come from the ID list; the text of an
    // entry row is shown even when that entry is no longer usable.
    FieldDescriptor d{.key = "pttid", .number = 12, .labelEntry = 431, .kind = ControlKind::Combo,
                      .encoding = Encoding::Custom, .enabled = withTransmit};
    d.dynamicChoices = SignallingRows;
    d.customValue = [](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return -1;
      const ByteArea im = c.data.Image();
      int v = im.u8(static_cast<size_t>(rec) + kField12);
      if (v == '3') v |= im.u8(static_cast<size_t>(rec) + kField12Entry) << 8;
      return v;
    };
    d.customStoreValue = [](FormContext& c, int v) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return;
      ByteArea im = c.data.Image();
      const int value = v & 0xFF;
      im.setU8(static_cast<size_t>(rec) + kField12, static_cast<uint8_t>(value));
      im.setU8(static_cast<size_t>(rec) + kField12Entry, value == '3' ? static_cast<uint8_t>(v >> 8) : 0xFF);
    };
    d.customShow = [](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return std::string();
      const ByteArea im = c.data.Image();
      const int v = im.u8(static_cast<size_t>(rec) + kField12);
      if (v == 0xFF) return c.text.Text(371);
      if (v >= '0' && v <= '2') return c.text.Text(441 + (v - '0'));
      if (v == '3') return FormatInt(c.text.Text(444) + " %d", im.u8(static_cast<size_t>(rec) + kField12Entry));
      if (v == '4') return c.text.Text(370);
      return std::string();
    };
    t.push_back(std::move(d));
  }
  {
    FieldRef f = flagBit(2);
    f.bitHigh = 6;
    FieldDescriptor d = combo("beatshift", 13, 429, f, RangeFlagRows(), exists);
    d.offered = RangeRowOffered;
    t.push_back(std::move(d));
  }
  t.push_back(CheckBox("scanadd", 14, 433, ExtTable(RecordBase::ChannelBit, ext::kChanBitsA),
                       [](const FormContext& c) { return RecordThere(c) && ZoneTypeOf(c) == '1'; }));
  t.push_back(CheckBox("compander", 15, 434, flagBit(4), exists));
  t.push_back(CheckBox("scrambler", 16, 366, flagBit(5), exists));
  t.push_back(CheckBox("talkback", 18, 828, ExtTable(RecordBase::ChannelBit, ext::kChanBitsB), exists));
  t.push_back({.key = "scramblecode", .number = 19, .labelEntry = 435, .kind = ControlKind::EditSpin,
               .field = ExtTable(RecordBase::ChannelByte, ext::kChanBytes), .encoding = Encoding::Number,
               .dynamicMinimum = [](const FormContext& c) { return ModelRange(c).minimum; },
               .dynamicMaximum = [](const FormContext& c) { return ModelRange(c).maximum; },
               .blankOutsideRange = true,
               .enabled = [](const FormContext& c) { return RecordThere(c) && c.SystemType() == 1; },
               .inputMode = 2, .maxLength = 2});
  t.push_back(combo("transmit", 20, 395, flagBit(7), {{371, 1}, {370, 0}}, exists));
  return t;
}

// ---------------------------------------------------------------------------
// LTR zone header (48 bytes). Zone Information edits the name; the trunked
// zone editor every field; the repeater editor the home repeater and the
// area. Fields are numbered as the header layout numbers them; the home
// repeater (+46) and the area (+47) have none there and get 40 and 41.

std::vector<FieldDescriptor> MakeLtrHeader() {
  using namespace rec::ltr;
  const RecordBase H = RecordBase::ZoneHeader;
  const Rule usable = ZoneUsable;
  auto number = [&](int field, int label, FieldRef ref, int lo, int hi, int none = -1, int noneText = -1,
                    bool blankOutside = false) {
    return FieldDescriptor{.key = std::to_string(field), .number = field, .labelEntry = label,
                           .kind = ControlKind::EditSpin, .field = ref, .encoding = Encoding::Number,
                           .minimum = lo, .maximum = hi, .emptyValue = none, .emptyTextEntry = noneText,
                           .blankOutsideRange = blankOutside, .enabled = usable, .inputMode = 2,
                           // A box that shows "Off" must be able to hold it.
                           .maxLength = noneText >= 0 ? 0 : hi >= 100 ? 3 : 2};
  };
  auto list = [&](int field, int label, FieldRef ref, std::vector<Choice> rows) {
    return FieldDescriptor{.key = std::to_string(field), .number = field, .labelEntry = label,
                           .kind = ControlKind::Combo, .field = ref, .encoding = Encoding::Value, .format = "",
                           .choices = std::move(rows), .enabled = usable};
  };
  auto option = [&](int bit, int bits = 1) { return In(H, kOptions, 2, bit, bits); };
  const std::vector<Choice> signalling = {{362, 0xFF}, {405, '0'}, {410, '5'}};
  std::vector<FieldDescriptor> t = {
      Name("0", 0, 462, In(H, kName), usable),
      number(1, 489, In(H, kTransmitRetries), 1, 8),
      list(2, 428, option(0, 2), {{436, 2}, {437, 0}}),
      number(3, 470, In(H, kRevertZone), 1, 128, 0xFF, 362),
      number(4, 490, In(H, kRevertGroup), 1, 250, 0xFF, 362),
      number(5, 507, In(H, kHangTime), 0, 100),
      number(6, 522, ExtTable(RecordBase::ZoneByte, ext::kZoneBytes), 1, 250, 0xFF, 362),
      CheckBox("7", 7, 494, option(2), usable),
      number(8, 476, In(H, kTimeout, 2), 15, 600),
      number(9, 477, In(H, kPenaltyTimer, 2), 15, 600),
      list(10, 491, option(8, 2), {{512, 0}, {513, 1}}),
      list(11, 492, option(6), {{510, 0}, {511, 1}}),
      list(12, 493, option(7), {{510, 0}, {511, 1}}),
      CheckBox("13", 13, 481, ExtTable(RecordBase::ZoneBit, ext::kZoneBits), usable),
      CheckBox("14", 14, 495, option(3), usable),
      CheckBox("16", 16, 496, option(11), usable),
      CheckBox("17", 17, 497, option(4), usable),
      CheckBox("18", 18, 498, option(5), usable),
      // Two priority groups, each a group number, its optional signalling and
      // two switches (bits 0 and 1 of the byte after the signalling).
      number(23, 391, In(H, kPriorityGroup1), 1, 250, -1, -1, true),
      list(27, 432, In(H, kPriorityGroup1 + 1), signalling),
      CheckBox("25", 25, 395, In(H, kPriorityGroup1 + 2, 1, 0), usable),
      CheckBox("29", 29, 397, In(H, kPriorityGroup1 + 2, 1, 1), usable),
      number(24, 391, In(H, kPriorityGroup2), 1, 250, -1, -1, true),
      list(28, 432, In(H, kPriorityGroup2 + 1), signalling),
      CheckBox("26", 26, 395, In(H, kPriorityGroup2 + 2, 1, 0), usable),
      CheckBox("30", 30, 397, In(H, kPriorityGroup2 + 2, 1, 1), usable),
  };
  // Six scan groups: shown only while they hold a group number.
  for (int i = 0; i < 6; ++i) t.push_back(number(31 + i, 501 + i, In(H, kScanGroups + static_cast<size_t>(i)), 1, 250, -1, -1, true));
  {
    // The home repeater names one of the zone's repeaters (the write check
    // refuses one that does not exist).
    FieldDescriptor d = number(40, 466, In(H, kZoneRepeater), 1, zones::kMaxRepeaters, 0xFF, 362);
    d.key = "home";
    t.push_back(std::move(d));
  }
  {
    // Custom: the area is bit 0 of +47 shown inverted, as a number 0 or 1.
    FieldDescriptor d{.key = "area", .number = 41, .labelEntry = 467, .kind = ControlKind::EditSpin,
                      .encoding = Encoding::Custom, .minimum = 0, .maximum = 1, .enabled = usable, .inputMode = 2,
                      .maxLength = 1};
    auto bitAt = [](const FormContext& c) -> long {
      const long h = Where(c, RecordBase::ZoneHeader);
      return h < 0 ? -1 : h + static_cast<long>(kInvertedBit);
    };
    d.customShow = [bitAt](const FormContext& c) {
      const long at = bitAt(c);
      if (at < 0) return std::string();
      return std::string((c.data.Image().u8(static_cast<size_t>(at)) & 1) ? "0" : "1");
    };
    auto put = [bitAt](FormContext& c, int area) {
      const long at = bitAt(c);
      if (at >= 0) c.data.Image().setBit(static_cast<size_t>(at), 0, area == 0);
    };
    d.customStore = [put](FormContext& c, std::string& text) {
      if (text.find_first_not_of(" \t") == std::string::npos) return;  // an empty box keeps the area
      std::string t = text;
      put(c, CFieldCodec::ClampIntText(t, 1, 0, 1));
    };
    d.customSpin = [put, bitAt](FormContext& c, int) {
      const long at = bitAt(c);
      if (at >= 0) put(c, (c.data.Image().u8(static_cast<size_t>(at)) & 1) ? 1 : 0);
    };
    t.push_back(std::move(d));
  }
  NameHeaderFields(t, {{0, "name"}, {1, "retries"}, {2, "bandwidth"}, {3, "revertzone"}, {4, "revertgroup"},
                       {5, "hangtime"}, {6, "scanlist"}, {7, "ringback"}, {8, "timeout"}, {9, "penaltytimer"},
                       {10, "signallingmode"}, {11, "txpolarity"}, {12, "rxpolarity"}, {13, "excludefromscan"},
                       {14, "busytone"}, {16, "transpond"}, {17, "autoreset"}, {18, "receiveonly"},
                       {23, "prio1group"}, {27, "prio1optsig"}, {25, "prio1transmit"}, {29, "prio1compander"},
                       {24, "prio2group"}, {28, "prio2optsig"}, {26, "prio2transmit"}, {30, "prio2compander"},
                       {31, "scangroup1"}, {32, "scangroup2"}, {33, "scangroup3"}, {34, "scangroup4"},
                       {35, "scangroup5"}, {36, "scangroup6"}});
  return t;
}

// ---------------------------------------------------------------------------
// LTR group

std::vector<FieldDescriptor> MakeLtrGroup() {
  using namespace rec::group;
  const RecordBase R = RecordBase::Record;
  const Rule exists = RecordThere;
  auto opt = [&](int bit) { return In(R, kOptions, 1, bit); };
  std::vector<FieldDescriptor> t;
  t.push_back({.key = "encode", .number = 2, .labelEntry = 392, .kind = ControlKind::EditSpin, .field = In(R, kField2),
               .encoding = Encoding::Number, .minimum = 1, .maximum = 250, .blankOutsideRange = true,
               .recordKey = true, .enabled = ZoneUsableOrMissing, .inputMode = 2, .maxLength = 3});
  t.push_back({.key = "decode", .number = 3, .labelEntry = 393, .kind = ControlKind::EditSpin, .field = In(R, kField3),
               .encoding = Encoding::Number, .minimum = 1, .maximum = 250, .emptyValue = 0xFF,
               .blankOutsideRange = true, .enabled = exists, .inputMode = 2, .maxLength = 3});
  t.push_back(Name("name", 4, 394, In(R, kName), exists));
  t.push_back({.key = "power", .number = 5, .labelEntry = 387, .kind = ControlKind::Combo, .field = opt(0),
               .encoding = Encoding::Value, .format = "", .choices = {{1084, 1}, {1085, 0}}, .enabled = exists});
  t.push_back({.key = "optsig", .number = 6, .labelEntry = 390, .kind = ControlKind::Combo, .field = In(R, kField6),
               .encoding = Encoding::Value, .format = "", .choices = {{362, 0xFF}, {405, '0'}, {410, '5'}},
               .enabled = exists});
  {
    // Custom for the same reason as channel field 12; here the entry number
    // is a word.
    FieldDescriptor d{.key = "pttid", .number = 7, .labelEntry = 396, .kind = ControlKind::Combo,
                      .encoding = Encoding::Custom, .enabled = exists};
    d.dynamicChoices = SignallingRows;
    d.customValue = [](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return -1;
      const ByteArea im = c.data.Image();
      int v = im.u8(static_cast<size_t>(rec) + kField7);
      if (v == '3') v |= (im.u16le(static_cast<size_t>(rec) + kField7Entry) & 0xFF) << 8;
      return v;
    };
    d.customStoreValue = [](FormContext& c, int v) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return;
      ByteArea im = c.data.Image();
      const int value = v & 0xFF;
      im.setU8(static_cast<size_t>(rec) + kField7, static_cast<uint8_t>(value));
      im.setU16le(static_cast<size_t>(rec) + kField7Entry, value == '3' ? static_cast<uint16_t>(v >> 8) : 0xFFFF);
    };
    d.customShow = [](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return std::string();
      const ByteArea im = c.data.Image();
      switch (im.u8(static_cast<size_t>(rec) + kField7)) {
        case 0xFF: return c.text.Text(371);
        case '0': return c.text.Text(441);
        case '1': return c.text.Text(442);
        case '2': return c.text.Text(443);
        case '3': return c.text.Text(444) + " " + std::to_string(im.u16le(static_cast<size_t>(rec) + kField7Entry));
        case '4': return c.text.Text(370);
        default: return std::string();  // no value of ours: shown empty
      }
    };
    t.push_back(std::move(d));
  }
  t.push_back(CheckBox("transmit", 8, 395, opt(1), exists));
  t.push_back(CheckBox("compander", 9, 397, opt(2), exists));
  t.push_back(CheckBox("scan", 10, 389, ExtTable(RecordBase::ChannelBit, ext::kChanBitsA), exists));
  {
    // Custom and read-only: field 11 has no storage of its own. It is on
    // while field 6 holds a value or bit 3 of the option byte is set, so it
    // is shown and never stored.
    FieldDescriptor d = CheckBox("f11", 11, -1, opt(3), [](const FormContext&) { return false; });
    d.encoding = Encoding::Custom;
    d.customValue = [](const FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return -1;
      const ByteArea im = c.data.Image();
      const bool on = im.u8(static_cast<size_t>(rec) + kField6) != 0xFF || (im.u8(static_cast<size_t>(rec) + kOptions) & 0x08);
      return on ? 0 : 1;
    };
    t.push_back(std::move(d));
  }
  t.push_back(CheckBox("f12", 12, -1, opt(4), exists));
  t.push_back(CheckBox("f13", 13, -1, opt(5), exists));
  t.push_back(CheckBox("f14", 14, -1, opt(6), exists));
  t.push_back(CheckBox("f16", 16, -1, ExtTable(RecordBase::ChannelBit, ext::kChanBitsB), exists));
  t.push_back({.key = "f17", .number = 17, .kind = ControlKind::EditSpin,
               .field = ExtTable(RecordBase::ChannelByte, ext::kChanBytes), .encoding = Encoding::Number,
               .dynamicMinimum = [](const FormContext& c) { return ModelRange(c).minimum; },
               .dynamicMaximum = [](const FormContext& c) { return ModelRange(c).maximum; },
               .blankOutsideRange = true, .enabled = exists, .inputMode = 2, .maxLength = 2});
  return t;
}

// ---------------------------------------------------------------------------
// LTR repeater

std::vector<FieldDescriptor> MakeRepeater() {
  using namespace rec::rep;
  const RecordBase P = RecordBase::Repeater;
  std::vector<FieldDescriptor> t;
  // Frequencies (Custom, see FrequencyField): CGroupFields::SetRepeaterFrequency
  // sets the second one 5 MHz above the first.
  for (int field : {1, 2}) {
    t.push_back(FrequencyField(field == 1 ? "rxf" : "txf", field, field == 1 ? 382 : 383, RecordBase::Repeater,
                               field == 1 ? kFreq1 : kFreq2, field == 1,
                               field == 1 ? Rule(ZoneUsable) : Rule(RepeaterThere),
                               [field](const ZoneRecordLocator& l, FormContext& c, std::string& text) {
                                 return CGroupFields(l.Zones(), c.text).SetRepeaterFrequency(c.cursor.zone,
                                                                                             c.cursor.record, field,
                                                                                             text, true);
                               }));
  }
  {
    FieldRef f = In(P, kFlags, 2, 0);
    f.bitHigh = 2;
    t.push_back({.key = "beatshift", .number = 5, .labelEntry = 429, .kind = ControlKind::Combo, .field = f,
                 .encoding = Encoding::Value, .format = "", .choices = RangeFlagRows(), .offered = RangeRowOffered,
                 .enabled = RepeaterThere});
  }
  t.push_back(CheckBox("telephone", 6, 469, In(P, kFlags, 2, 1), RepeaterThere));
  return t;
}

// ---------------------------------------------------------------------------
// PassPort group

std::vector<FieldDescriptor> MakePassPortGroup() {
  using namespace rec::pp;
  const RecordBase R = RecordBase::Record;
  const Rule exists = RecordThere;
  std::vector<FieldDescriptor> t;
  {
    FieldDescriptor d{.key = "id", .number = 1, .labelEntry = 1191, .kind = ControlKind::EditSpin,
                      .field = In(R, kGroupId, 2), .encoding = Encoding::Number, .minimum = 1, .maximum = 65519,
                      .blankOutsideRange = true, .recordKey = true, .enabled = ZoneUsableOrMissing,
                      .inputMode = 2, .maxLength = 5};
    // The record keeps the ID twice; the copy follows every change. The
    // zone's first group is its primary talkgroup: its ID goes into the
    // header as well.
    d.afterStore = [](FormContext& c) {
      const long rec = Where(c, RecordBase::Record);
      if (rec < 0) return;
      ByteArea im = c.data.Image();
      const uint16_t id = im.u16le(static_cast<size_t>(rec) + kGroupId);
      im.setU16le(static_cast<size_t>(rec) + kGroupIdCopy, id);
      const long header = Where(c, RecordBase::ZoneHeader);
      if (header >= 0 && rec == header + static_cast<long>(kHeaderSize))
        im.setU16le(static_cast<size_t>(header) + kPrimaryGroupId, id);
    };
    t.push_back(std::move(d));
  }
  t.push_back(Name("name", 2, 1192, In(R, kGroupName), exists));
  struct Switch {
    const char* key;
    int label;
  };
  const Switch switches[] = {{"tx", 395},   {"call", 1193}, {"scrambler", 1194}, {"compand", 1195},
                             {"horn", 1222}, {"scan", 365},  {"scanedit", 976}};
  for (int i = 0; i < 7; ++i) {
    Rule enabled = exists;
    // The horn alert is a feature of mobile radios only.
    if (i == 4) enabled = [](const FormContext& c) { return RecordThere(c) && c.IsMobile(); };
    t.push_back(CheckBox(switches[i].key, 3 + i, switches[i].label, In(R, kSwitches, 1, i), enabled));
  }
  // The group page: what the group may do on the system, a clear bit of
  // +18 for each (so that a new record, 0xFF, allows nothing extra).
  const Switch page[] = {{"alert", 1209}, {"selcall", 1205}, {"phone", 1203}, {"sitelock", 1199}};
  for (int i = 0; i < 4; ++i) t.push_back(CheckBox(page[i].key, 10 + i, page[i].label, In(R, kPermissions, 1, i), exists));
  return t;
}

// ---------------------------------------------------------------------------
// Field sets for the settings listing

int ParseNumberPart(const std::string& s, size_t& pos) {
  const size_t start = pos;
  int v = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 4) v = v * 10 + (s[pos++] - '0');
  if (pos == start || (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')) return -1;
  return v;
}

// "zone.Z.<kind>" or "zone.Z.<kind>.N" -> 0-based zone and record.
bool ParsePrefix(const std::string& prefix, const std::string& kind, bool withRecord, int maxRecord, RecordCursor& c) {
  const std::string head = "zone.";
  if (prefix.compare(0, head.size(), head) != 0) return false;
  size_t pos = head.size();
  const int zone = ParseNumberPart(prefix, pos);
  if (zone < 1 || zone > zones::kZoneCount) return false;
  const std::string mid = "." + kind;
  if (prefix.compare(pos, mid.size(), mid) != 0) return false;
  pos += mid.size();
  int record = 0;
  if (withRecord) {
    if (pos >= prefix.size() || prefix[pos] != '.') return false;
    ++pos;
    record = ParseNumberPart(prefix, pos);
    if (record < 1 || record > maxRecord) return false;
  }
  if (pos != prefix.size()) return false;
  c.zone = zone - 1;
  c.record = withRecord ? record - 1 : -1;
  return true;
}

// A zone-table set: a key names a record of an existing zone of the set's
// class; a channel or group may also name a zone that does not exist yet
// (its first data column creates it).
FieldSet MakeSet(const char* name, const char* kind, ZoneTable table) {
  FieldSet s;
  s.name = name;
  s.recordKind = kind;
  s.fields = &zonefields::Fields(table);
  const int cls = zonefields::ClassOf(table);
  const bool header = table == ZoneTable::ConvHeader || table == ZoneTable::LtrHeader ||
                      table == ZoneTable::PassPortSystem || table == ZoneTable::PassPortSearch ||
                      table == ZoneTable::PassPortSeed;
  const bool repeaters = table == ZoneTable::Repeater;
  const std::string k = kind;
  // The PassPort header tables: one record per zone, their labels fixed
  // texts of the windows.
  if (header && zonefields::ClassOf(table) == kClassPassPort)
    s.keyPattern = "`zone.Z." + k + ".KEY`, Z a PassPort zone; labels are the window's own fixed texts";
  s.records = [=](RadioData& data) {
    std::vector<FieldSetRecord> out;
    CZoneMemory zones(data);
    for (int z = 0; z < zones::kZoneCount; ++z) {
      const ZoneLayout L = zones.ZoneInfo(z);
      if (!L.exists || L.cls != cls) continue;
      const std::string zp = "zone." + std::to_string(z + 1) + "." + k;
      if (header) {
        out.push_back({zp, {z, -1}});
        continue;
      }
      for (int n : repeaters ? zones.RepeaterNumbers(z) : zones.RecordNumbers(z))
        out.push_back({zp + "." + std::to_string(n + 1), {z, n}});
    }
    return out;
  };
  s.parse = [=](RadioData& data, const std::string& prefix, RecordCursor& c) {
    if (!ParsePrefix(prefix, k, !header, repeaters ? zones::kMaxRepeaters : zones::kMaxRecords, c)) return false;
    CZoneMemory zones(data);
    const ZoneLayout L = zones.ZoneInfo(c.zone);
    if (L.exists) return L.cls == cls;
    // The first data column of a channel or group creates its zone, as in
    // the grid.
    return table == ZoneTable::Channel || table == ZoneTable::LtrGroup || table == ZoneTable::PassPortGroup;
  };
  s.bind = [=](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    struct Owned : BoundRecord {
      Owned(RadioData& d, TextTable& t, ZoneTable table, RecordCursor c)
          : zones(d), field(zones, t, table, c.zone, c.record) {}
      FormContext& Context() override { return field.Context(); }
      bool StoreText(const FieldDescriptor& d, std::string& text) override { return field.StoreText(d, text); }
      CZoneMemory zones;
      ZoneFieldContext field;
    };
    return std::make_unique<Owned>(data, text, table, c);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeSet("conv-zone", "header", ZoneTable::ConvHeader));
  RegisterFieldSet(MakeSet("channel", "ch", ZoneTable::Channel));
  RegisterFieldSet(MakeSet("ltr-zone", "header", ZoneTable::LtrHeader));
  RegisterFieldSet(MakeSet("ltr-group", "group", ZoneTable::LtrGroup));
  RegisterFieldSet(MakeSet("repeater", "rep", ZoneTable::Repeater));
  RegisterFieldSet(MakeSet("passport-group", "group", ZoneTable::PassPortGroup));
  RegisterFieldSet(MakeSet("passport-system", "system", ZoneTable::PassPortSystem));
  RegisterFieldSet(MakeSet("passport-search", "search", ZoneTable::PassPortSearch));
  RegisterFieldSet(MakeSet("passport-seed", "seed", ZoneTable::PassPortSeed));
}

}  // namespace

// ---------------------------------------------------------------------------

ZoneFieldContext::ZoneFieldContext(CZoneMemory& zones, TextTable& text, ZoneTable table, int zone, int record)
    : table_(table),
      locator_(zones, zonefields::ClassOf(table)),
      ctx_{zones.Data(), text, zones.Data().votingSwitch, {zone, record}, &locator_} {}

bool ZoneFieldContext::StoreText(const FieldDescriptor& d, std::string& text) {
  if (!d.recordKey || d.encoding == Encoding::Custom) return BoundRecord::StoreText(d, text);
  CZoneMemory& zones = locator_.Zones();
  const int zone = ctx_.cursor.zone;
  const int record = ctx_.cursor.record;
  std::string trimmed = text;
  while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.pop_back();
  while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) trimmed.erase(trimmed.begin());
  if (trimmed.empty()) {
    // An empty first column removes the record.
    if (zones.FindRecord(zone, record) >= 0 && zones.RemoveRecord(zone, record) != ZoneResult::Done) return false;
    text.clear();
    return true;
  }
  // A zone created for this entry goes again when its first record cannot
  // follow: a refused entry leaves the image as it was.
  std::vector<uint8_t> imageBefore, extBefore;
  if (!zones.ZoneExists(zone)) {
    RadioData& data = zones.Data();
    imageBefore = data.buffers.ImageBytes();
    extBefore = data.buffers.ExtBytes();
    const uint8_t type = locator_.ZoneClass() == kClassPassPort ? '5' : locator_.ZoneClass() == kClassLtr ? '0' : '1';
    const ZoneResult r = zones.CreateZone(zone, type);
    if (r != ZoneResult::Done) {
      ctx_.message = ResultMessage(r);
      return false;
    }
  }
  if (zones.FindRecord(zone, record) < 0) {
    const InsertResult r = zones.InsertRecord(zone, record);
    if (r != InsertResult::Done) {
      if (!imageBefore.empty()) {
        zones.Data().Image().write(0, imageBefore.data(), imageBefore.size());
        zones.Data().Ext().write(0, extBefore.data(), extBefore.size());
      }
      ctx_.message = ResultMessage(r);
      return false;
    }
  }
  return FormEngine::StoreText(ctx_, d, text);
}

namespace zonefields {

const std::vector<FieldDescriptor>& Fields(ZoneTable table) {
  static const std::vector<FieldDescriptor> header = MakeConvHeader();
  static const std::vector<FieldDescriptor> channel = MakeChannel();
  static const std::vector<FieldDescriptor> group = MakeLtrGroup();
  static const std::vector<FieldDescriptor> repeater = MakeRepeater();
  static const std::vector<FieldDescriptor> passport = MakePassPortGroup();
  static const std::vector<FieldDescriptor> ltrHeader = MakeLtrHeader();
  static const std::vector<FieldDescriptor> ppSystem = passport::MakeSystemTable();
  static const std::vector<FieldDescriptor> ppSearch = passport::MakeSearchTable();
  static const std::vector<FieldDescriptor> ppSeed = passport::MakeSeedTable();
  switch (table) {
    case ZoneTable::ConvHeader: return header;
    case ZoneTable::Channel: return channel;
    case ZoneTable::LtrGroup: return group;
    case ZoneTable::Repeater: return repeater;
    case ZoneTable::PassPortGroup: return passport;
    case ZoneTable::LtrHeader: return ltrHeader;
    case ZoneTable::PassPortSystem: return ppSystem;
    case ZoneTable::PassPortSearch: return ppSearch;
    case ZoneTable::PassPortSeed: return ppSeed;
  }
  return header;
}

const FieldDescriptor* ByNumber(ZoneTable table, int number) {
  for (const FieldDescriptor& d : Fields(table))
    if (d.number == number) return &d;
  return nullptr;
}

const FieldDescriptor* ByKey(ZoneTable table, const std::string& key) {
  for (const FieldDescriptor& d : Fields(table))
    if (d.key == key) return &d;
  return nullptr;
}

int ClassOf(ZoneTable table) { return kClassOf[static_cast<int>(table)]; }

}  // namespace zonefields

void RegisterZoneFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
