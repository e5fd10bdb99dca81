// SPDX-License-Identifier: GPL-3.0-or-later
// The field tables of the zone records: the conventional zone header, the
// conventional channel, the LTR group, the LTR repeater and the PassPort
// group. Each table lists, field by field, where the value lives in its
// record, how it is encoded, its range, its rows and when it may be changed,
// in the form-engine's descriptors. The Zone Information grids, the channel
// editor, the conventional zone editor, `vb420cli settings` and the tests
// all read these same tables; `CConvFields` and `CGroupFields` are the
// field-number interfaces over them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editors/forms/FieldSets.h"
#include "editors/forms/FormEngine.h"
#include "editors/zones/ZoneMemory.h"

namespace vb420 {

class TextTable;

// The PassPort header is split by the windows that edit it: the system data,
// the site search and hold settings, and the seed search frequencies.
enum class ZoneTable {
  ConvHeader, Channel, LtrGroup, Repeater, PassPortGroup, LtrHeader,
  PassPortSystem, PassPortSearch, PassPortSeed,
};

// Finds zone blocks and records for the form engine. It answers only for
// zones of its class: a field of a conventional table finds nothing in an
// LTR zone.
class ZoneRecordLocator : public forms::RecordLocator {
 public:
  ZoneRecordLocator(CZoneMemory& zones, int zoneClass) : zones_(zones), class_(zoneClass) {}
  long Locate(const forms::FormContext& ctx, forms::RecordBase base) const override;
  CZoneMemory& Zones() const { return zones_; }
  int ZoneClass() const { return class_; }

 private:
  CZoneMemory& zones_;
  int class_;
};

// A form context over one record of a zone table.
class ZoneFieldContext : public forms::BoundRecord {
 public:
  ZoneFieldContext(CZoneMemory& zones, TextTable& text, ZoneTable table, int zone, int record = -1);
  ZoneFieldContext(const ZoneFieldContext&) = delete;
  ZoneFieldContext& operator=(const ZoneFieldContext&) = delete;

  forms::FormContext& Context() override { return ctx_; }
  const forms::FormContext& Context() const { return ctx_; }
  ZoneTable Table() const { return table_; }
  // Creates the record (and for a channel its zone) before its first field
  // is stored, or removes it for an empty text, then stores the text.
  bool StoreText(const forms::FieldDescriptor& d, std::string& text) override;

 private:
  ZoneTable table_;
  ZoneRecordLocator locator_;
  forms::FormContext ctx_;
};

namespace zonefields {

const std::vector<forms::FieldDescriptor>& Fields(ZoneTable table);
// The descriptor of a field by its number (channel and header fields as the
// grids number them; LTR group fields 2..17; repeater fields 1, 2, 5, 6;
// PassPort columns 1..9, PassPort group-page fields 10..13; the PassPort
// header tables count their fields from 1) or by its key; nullptr when there
// is none.
const forms::FieldDescriptor* ByNumber(ZoneTable table, int number);
const forms::FieldDescriptor* ByKey(ZoneTable table, const std::string& key);

// The zone class a table belongs to.
int ClassOf(ZoneTable table);

}  // namespace zonefields

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterZoneFieldSets();

}  // namespace vb420
