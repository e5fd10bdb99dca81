// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/GroupFields.h"

#include <cstdio>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {

using forms::ControlKind;
using forms::FieldDescriptor;
using forms::FormEngine;

namespace {

bool IsList(const FieldDescriptor& d) { return d.kind == ControlKind::Combo || d.kind == ControlKind::Check; }

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return s.substr(a, b - a);
}

// Text of a field of a record that exists; false otherwise.
bool RecordText(CZoneMemory& zones, TextTable& text, ZoneTable table, int zone, int record, int field,
                std::string& out) {
  out.clear();
  const FieldDescriptor* d = zonefields::ByNumber(table, field);
  if (!d) return false;
  ZoneFieldContext f(zones, text, table, zone, record);
  const forms::RecordBase base = table == ZoneTable::Repeater ? forms::RecordBase::Repeater : forms::RecordBase::Record;
  if (f.Context().locator->Locate(f.Context(), base) < 0) return false;
  out = forms::SettingText(f.Context(), *d);
  return true;
}

FieldResult StoreTyped(CZoneMemory& zones, TextTable& text, ZoneTable table, int zone, int record, int field,
                       const std::string& typed) {
  const FieldDescriptor* d = zonefields::ByNumber(table, field);
  if (!d || IsList(*d)) return {};
  ZoneFieldContext f(zones, text, table, zone, record);
  if (!FormEngine::Enabled(f.Context(), forms::FormPage{}, *d)) return {};
  const bool existed = zones.FindRecord(zone, record) >= 0;
  std::string t = typed;
  const bool ok = f.StoreText(*d, t);
  if (!ok) {
    const int m = f.Context().message;
    return {m == 299 ? -2 : m == 275 ? -1 : 0, m};
  }
  if (d->recordKey && existed && zones.FindRecord(zone, record) < 0) return {kFieldRecordRemoved, 0};
  return {kFieldStored, f.Context().message};
}

int StoreValue(CZoneMemory& zones, TextTable& text, ZoneTable table, int zone, int record, int field, int value) {
  const FieldDescriptor* d = zonefields::ByNumber(table, field);
  if (!d || !IsList(*d)) return 0;
  ZoneFieldContext f(zones, text, table, zone, record);
  if (!FormEngine::Enabled(f.Context(), forms::FormPage{}, *d)) return 0;
  return FormEngine::StoreChoice(f.Context(), *d, value) ? 1 : 0;
}

}  // namespace

bool CGroupFields::LtrFieldText(int zone, int group, int field, std::string& text) const {
  text.clear();
  if (zones_.ZoneClass(zone) != kClassLtr || zones_.FindRecord(zone, group) < 0) return false;
  if (field == 1) {
    text = std::to_string(group + 1);
    return true;
  }
  return RecordText(zones_, text_, ZoneTable::LtrGroup, zone, group, field, text);
}

bool CGroupFields::PassPortColumnText(int zone, int group, int column, std::string& text) const {
  return RecordText(zones_, text_, ZoneTable::PassPortGroup, zone, group, column, text);
}

bool CGroupFields::RepeaterFieldText(int zone, int repeater, int field, std::string& text) const {
  return RecordText(zones_, text_, ZoneTable::Repeater, zone, repeater, field, text);
}

FieldResult CGroupFields::SetLtrField(int zone, int group, int field, const std::string& text) {
  return StoreTyped(zones_, text_, ZoneTable::LtrGroup, zone, group, field, text);
}

FieldResult CGroupFields::SetPassPortColumn(int zone, int group, int column, const std::string& text) {
  return StoreTyped(zones_, text_, ZoneTable::PassPortGroup, zone, group, column, text);
}

int CGroupFields::SetLtrOption(int zone, int group, int field, int value) {
  return StoreValue(zones_, text_, ZoneTable::LtrGroup, zone, group, field, value);
}

int CGroupFields::SetPassPortSwitch(int zone, int group, int column, bool ticked) {
  return StoreValue(zones_, text_, ZoneTable::PassPortGroup, zone, group, column, ticked ? 0 : 1);
}

namespace {

// A zone header's text field through the form engine; 1 stored, 0 refused.
int StoreHeaderText(CZoneMemory& zones, TextTable& text, ZoneTable table, const FieldDescriptor* d, int zone,
                    const std::string& typed) {
  ZoneFieldContext f(zones, text, table, zone);
  if (!d || !FormEngine::Enabled(f.Context(), forms::FormPage{}, *d)) return 0;
  std::string t = typed;
  FormEngine::StoreText(f.Context(), *d, t);
  return 1;
}

}  // namespace

std::string CGroupFields::LtrZoneName(int zone) const {
  ZoneFieldContext f(zones_, text_, ZoneTable::LtrHeader, zone);
  return FormEngine::ShowText(f.Context(), *zonefields::ByNumber(ZoneTable::LtrHeader, 0));
}

int CGroupFields::SetLtrZoneName(int zone, const std::string& text) {
  return StoreHeaderText(zones_, text_, ZoneTable::LtrHeader, zonefields::ByNumber(ZoneTable::LtrHeader, 0), zone, text);
}

std::string CGroupFields::PassPortZoneName(int zone) const {
  const FieldDescriptor* d = zonefields::ByKey(ZoneTable::PassPortSystem, "name");
  if (!d || zones_.ZoneClass(zone) != kClassPassPort) return {};
  ZoneFieldContext f(zones_, text_, ZoneTable::PassPortSystem, zone);
  return FormEngine::ShowText(f.Context(), *d);
}

int CGroupFields::SetPassPortZoneName(int zone, const std::string& text) {
  if (zones_.ZoneClass(zone) != kClassPassPort) return 0;
  return StoreHeaderText(zones_, text_, ZoneTable::PassPortSystem, zonefields::ByKey(ZoneTable::PassPortSystem, "name"), zone, text);
}

FieldResult CGroupFields::SetRepeaterFrequency(int zone, int repeater, int field, const std::string& typed,
                                               bool interactive) {
  using namespace rec::rep;
  if ((field != 1 && field != 2) || repeater < 0 || repeater >= zones::kMaxRepeaters) return {};
  const ZoneLayout z = zones_.ZoneInfo(zone);
  if (!z.exists || z.cls != kClassLtr || z.damaged) return {};
  RadioData& data = zones_.Data();
  std::string text = Trim(data.field.DelocalizeDecimal(typed));
  int at = zones_.FindRepeater(zone, repeater);
  if (field == 1 && text.empty()) {
    if (at < 0) return {};
    return zones_.RemoveRepeater(zone, repeater) == ZoneResult::Done ? FieldResult{kFieldRecordRemoved, 0}
                                                                     : FieldResult{};
  }
  if (at < 0) {
    if (field == 2) return {-1, 0};
    const ZoneResult r = zones_.InsertRepeater(zone, repeater);
    if (r != ZoneResult::Done) return {static_cast<int>(r), ResultMessage(r)};  // 20 repeaters: no message
    at = zones_.FindRepeater(zone, repeater);
    if (at < 0) return {};
  }
  const size_t rep = static_cast<size_t>(at);
  ByteArea image = data.Image();
  FieldResult out{kFieldStored, 0};
  if (data.freq.CheckFreq(text) == 0 && interactive) out.message = field == 1 ? 283 : 284;
  const int band = data.model.BandClass() == 1 ? 1 : 0;
  const bool portable = data.model.IsPortable();
  auto put = [&](size_t freqAt, size_t stepAt, std::string t) {
    uint8_t f[4];
    const int step = data.freq.EncodeFreq(t, f, band, portable);
    if (step < 0) {
      image.setU32le(rep + freqAt, 0xFFFFFFFFu);
      image.setU8(rep + stepAt, 0xFF);
    } else {
      image.write(rep + freqAt, f, 4);
      image.setU8(rep + stepAt, static_cast<uint8_t>(step));
    }
  };
  uint16_t flags = image.u16le(rep + kFlags);
  auto setFlag = [&flags](int bit, bool on) {
    flags = static_cast<uint16_t>(on ? (flags | (1u << bit)) : (flags & ~(1u << bit)));
  };
  if (field == 1) {
    put(kFreq1, kStep1, text);
    // The second frequency follows at 5 MHz above the first.
    const uint8_t* first = image.ptr(rep + kFreq1, 4);
    if (first && !CFreqCodec::IsEmptyField(first)) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.8f", CFreqCodec::FieldToHz(first) / 1000000.0 + 5.0);
      std::string second = buf;
      data.freq.CheckFreq(second);
      put(kFreq2, kStep2, second);
    } else {
      put(kFreq2, kStep2, std::string());
    }
    const uint32_t rxHz = first && !CFreqCodec::IsEmptyField(first) ? CFreqCodec::FieldToHz(first) : 0;
    setFlag(0, ReceiveRangeFlag(data, rxHz, false));
    setFlag(2, ReceiveRangeFlag(data, rxHz, true));
  } else {
    put(kFreq2, kStep2, text);
  }
  const uint8_t* second = image.ptr(rep + kFreq2, 4);
  setFlag(3, TransmitCheckFlag(data, second && !CFreqCodec::IsEmptyField(second) ? CFreqCodec::FieldToHz(second) : 0));
  image.setU16le(rep + kFlags, flags);
  return out;
}

}  // namespace vb420
