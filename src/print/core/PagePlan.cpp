// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/PagePlan.h"

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

#include <cstdlib>
#include <memory>

namespace vb420::print {

namespace {

int CeilDiv(int a, int b) { return a <= 0 ? 0 : (a + b - 1) / b; }

// Settings pages and list pages of one zone, by its class.
struct ZonePages {
  int settings = 0;
  int list = 0;
};

ZonePages PagesOfZone(RadioData& data, const CZoneMemory& zones, int zone, bool landscape) {
  ZonePages p;
  const ZoneLayout L = zones.ZoneInfo(zone);
  if (!L.exists) return p;
  switch (L.cls) {
    case kClassLtr: p.settings = TrunkedZoneOption15(data, zone) ? 3 : 2; break;
    case kClassConv: p.settings = landscape && ConvZoneOption14(data, zone) ? 2 : 1; break;
    case kClassPassPort: p.settings = landscape ? 2 : 1; break;
    default: return p;  // a block of no known class holds nothing to print
  }
  p.list = CeilDiv(CeilDiv(L.records, kRecordsPerPart), PartsPerPage(landscape));
  return p;
}

}  // namespace

bool ConvZoneOption14(RadioData& data, int zone) {
  CZoneMemory zones(data);
  const uint8_t type = zones.ZoneType(zone);
  return zones.ZoneClass(zone) == kClassConv && type >= '2' && type <= '4';
}

bool TrunkedZoneOption15(RadioData& data, int zone) {
  CZoneMemory zones(data);
  return zones.ZoneClass(zone) == kClassLtr && zones.ZoneInfo(zone).repeaters > 0;
}

int ZonePrintParts(RadioData& data, int zone) {
  CZoneMemory zones(data);
  const ZoneLayout L = zones.ZoneInfo(zone);
  return L.exists ? CeilDiv(L.records, kRecordsPerPart) : 0;
}

int ScanSettingsPages(RadioData& data, bool landscape) {
  return landscape && data.model.VotingCapable(data.votingSwitch) ? 2 : 1;
}

std::vector<ScanListRow> ScanListRows(RadioData& data) {
  std::vector<ScanListRow> out;
  const forms::FieldSet* set = nullptr;
  for (const forms::FieldSet& s : forms::FieldSets())
    if (s.name == "scanlist") set = &s;
  if (!set) return out;
  // Whether a box is ticked needs no text.
  static TextTable noText;
  CZoneMemory zones(data);
  constexpr int kItemsPerRow = 16;
  for (const forms::FieldSetRecord& r : set->records(data)) {
    const int z = r.cursor.zone;
    if (z < 0 || !zones.ZoneExists(z)) continue;
    std::unique_ptr<forms::BoundRecord> b = set->bind(data, noText, r.cursor);
    if (!b) continue;
    std::vector<int> on;
    for (const forms::FieldDescriptor& d : *set->fields) {
      if (d.kind != forms::ControlKind::Check || d.encoding == forms::Encoding::None) continue;
      if (forms::FormEngine::Checked(b->Context(), d)) on.push_back(std::atoi(d.key.c_str()));
    }
    if (on.empty()) continue;
    // Runs of zones as "a-b"; so many items to a row.
    std::vector<std::string> items;
    for (size_t i = 0; i < on.size();) {
      size_t j = i;
      while (j + 1 < on.size() && on[j + 1] == on[j] + 1) ++j;
      items.push_back(j > i ? std::to_string(on[i]) + "-" + std::to_string(on[j]) : std::to_string(on[i]));
      i = j + 1;
    }
    for (size_t i = 0; i < items.size(); i += kItemsPerRow) {
      ScanListRow row{z, {}};
      for (size_t k = i; k < items.size() && k < i + kItemsPerRow; ++k) row.zones += (k > i ? ", " : "") + items[k];
      out.push_back(std::move(row));
    }
  }
  return out;
}

int IdListRecords(RadioData& data) { return static_cast<int>(IdList(data.Image()).count); }
int StatusListRecords(RadioData& data) { return static_cast<int>(StatusList(data.Image()).count); }

int SectionPageCount(RadioData& data, const PrintOptions& options, bool landscape, int section) {
  const bool gen2 = data.model.IsSecondGen();
  switch (section) {
    case 1: return (landscape ? 9 : 8) - (gen2 ? 1 : 0);
    case 2: return landscape ? 3 : 2;
    case 3: {
      const int rows = static_cast<int>(ScanListRows(data).size());
      return ScanSettingsPages(data, landscape) + CeilDiv(rows, ScanListRowsPerPage(landscape));
    }
    case 4: return landscape ? 3 : 2;
    case 5: return landscape ? 4 : 6;
    case 6: {
      const int rows = ListRowsPerPage(landscape);
      return 5 + CeilDiv(IdListRecords(data), rows) + CeilDiv(StatusListRecords(data), rows);
    }
    case 7: return 8;
    case 8: return 1;
    case 9: return data.model.IsPortable() ? 1 : (landscape ? 3 : 2);
    case 10: return 1;
    case 13: return 1;
    case 14: {
      CZoneMemory zones(data);
      int n = 0;
      for (int z = options.FirstZone() - 1; z <= options.LastZone() - 1 && z < zones::kZoneCount; ++z) {
        if (z < 0) continue;
        const ZonePages p = PagesOfZone(data, zones, z, landscape);
        n += p.settings + p.list;
      }
      return n;
    }
    default: return 0;
  }
}

std::vector<PageEntry> BuildPagePlan(RadioData& data, const PrintOptions& options, bool landscape) {
  std::vector<PageEntry> plan;
  for (int section : kSectionOrder) {
    if (!options.On(section)) continue;
    if (section == 14) {
      CZoneMemory zones(data);
      int index = 0;
      for (int z = options.FirstZone() - 1; z <= options.LastZone() - 1 && z < zones::kZoneCount; ++z) {
        if (z < 0) continue;
        const ZonePages p = PagesOfZone(data, zones, z, landscape);
        for (int i = 0; i < p.settings; ++i) plan.push_back({14, index++, z, ZonePageKind::Settings, i});
        for (int i = 0; i < p.list; ++i) plan.push_back({14, index++, z, ZonePageKind::List, i});
      }
      continue;
    }
    const int n = SectionPageCount(data, options, landscape, section);
    for (int i = 0; i < n; ++i) plan.push_back({section, i});
  }
  if (plan.empty()) plan.push_back({});
  return plan;
}

int PageCount(RadioData& data, const PrintOptions& options, bool landscape) {
  int n = 0;
  for (int section : kSectionOrder)
    if (options.On(section)) n += SectionPageCount(data, options, landscape, section);
  return n > 0 ? n : 1;
}

}  // namespace vb420::print
