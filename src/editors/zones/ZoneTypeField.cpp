// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ZoneTypeField.h"

#include <memory>
#include <string>
#include <vector>

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420 {

using forms::Choice;
using forms::FieldDescriptor;
using forms::FormContext;

namespace {

constexpr int kZoneTypeLabel = 379;  // "Zone Type"

const std::vector<FieldDescriptor>& TypeFields() {
  static const std::vector<FieldDescriptor> fields = [] {
    FieldDescriptor d{.key = "type", .labelEntry = kZoneTypeLabel, .kind = forms::ControlKind::Combo,
                      .encoding = forms::Encoding::Custom, .recordKey = true};
    // The rows are the zone types by their names; PassPort's has no entry of
    // its own in the text table.
    d.choices = {{398, '1'}, {399, '0'}, {400, '2'}, {401, '3'}, {402, '4'}, {-1, '5', "PassPort System"}};
    d.customValue = [](const FormContext& c) { return static_cast<int>(CZoneMemory(c.data).ZoneType(c.cursor.zone)); };
    d.customStoreValue = [](FormContext& c, int value) {
      CZoneMemory zones(c.data);
      const int zone = c.cursor.zone;
      const uint8_t type = static_cast<uint8_t>(value);
      ZoneResult r = ZoneResult::Done;
      if (!zones.ZoneExists(zone)) {
        r = zones.CreateZone(zone, type);
      } else if (zones.ZoneClass(zone) != ClassOfType(type)) {
        r = zones.ChangeZone(zone, ClassOfType(type));
        if (r == ZoneResult::Done) r = zones.SetZoneType(zone, type);
      } else if (zones.ZoneType(zone) != type) {
        r = zones.SetZoneType(zone, type);
      }
      if (r != ZoneResult::Done) {
        c.refused = true;
        c.message = ResultMessage(r);
      }
    };
    return std::vector<FieldDescriptor>{d};
  }();
  return fields;
}

// "zone.Z", Z 1 to 128.
bool ParseZonePrefix(const std::string& prefix, forms::RecordCursor& c) {
  const std::string head = "zone.";
  if (prefix.compare(0, head.size(), head) != 0 || prefix.size() == head.size() || prefix.size() > head.size() + 3)
    return false;
  int z = 0;
  for (size_t i = head.size(); i < prefix.size(); ++i) {
    if (prefix[i] < '0' || prefix[i] > '9') return false;
    z = z * 10 + (prefix[i] - '0');
  }
  if (z < 1 || z > zones::kZoneCount || prefix[head.size()] == '0') return false;
  c.zone = z - 1;
  c.record = -1;
  return true;
}

}  // namespace

void RegisterZoneTypeFieldSet() {
  forms::FieldSet s;
  s.name = "zone";
  s.recordKind = "type";
  s.keyPattern = "`zone.Z.type`, Z 1 to 128: a zone that does not exist is created by its type, one of another "
                 "class is replaced by an empty zone of that class";
  s.fields = &TypeFields();
  s.records = [](RadioData& data) {
    std::vector<forms::FieldSetRecord> out;
    CZoneMemory zones(data);
    for (int z = 0; z < zones::kZoneCount; ++z)
      if (zones.ZoneExists(z)) out.push_back({"zone." + std::to_string(z + 1), {z, -1}});
    return out;
  };
  s.parse = [](RadioData&, const std::string& prefix, forms::RecordCursor& c) { return ParseZonePrefix(prefix, c); };
  s.bind = [](RadioData& data, TextTable& text, forms::RecordCursor c) -> std::unique_ptr<forms::BoundRecord> {
    struct Zone : forms::BoundRecord {
      Zone(RadioData& d, TextTable& t, forms::RecordCursor c) : ctx(d, t, d.votingSwitch, c) {}
      FormContext& Context() override { return ctx; }
      FormContext ctx;
    };
    return std::make_unique<Zone>(data, text, c);
  };
  forms::RegisterFieldSet(std::move(s));
}

}  // namespace vb420
