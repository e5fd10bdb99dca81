// SPDX-License-Identifier: GPL-3.0-or-later
// The page plan of the printed report: which page shows what. Every section
// starts on a new page; most sections take a fixed number of pages that
// depends on the orientation and the model, the data-signalling lists and
// the zones take as many as their data need.
#pragma once

#include <string>
#include <vector>

#include "print/core/PrintOptions.h"

namespace vb420 {
class RadioData;
}

namespace vb420::print {

enum class ZonePageKind { None, Settings, List };

struct PageEntry {
  int section = 0;  // 1..10, 13, 14; 0 for the page of an empty plan
  int index = 0;    // the page's index within its section
  // Zone pages: the zone (0-based), settings page n or list page n of it.
  int zone = -1;
  ZonePageKind zoneKind = ZonePageKind::None;
  int zonePage = 0;
  friend bool operator==(const PageEntry&, const PageEntry&) = default;
};

// A zone's list (channels or groups) is divided into print parts of this
// many records; a portrait page holds three parts, a landscape page two.
constexpr int kRecordsPerPart = 12;
inline int PartsPerPage(bool landscape) { return landscape ? 2 : 3; }
// Rows of the data-signalling ID and status lists on one page: as many as
// a page holds at a legible size (a landscape page is shorter).
inline int ListRowsPerPage(bool landscape) { return landscape ? 30 : 60; }

// The scan section: its settings pages (the voting settings on a page of
// their own in landscape when the radio can vote), then the scan lists of
// the zones that exist and have one, one row per zone (longer lists over
// several rows), as many rows to a page as it holds legibly.
int ScanSettingsPages(RadioData& data, bool landscape);
struct ScanListRow {
  int zone = 0;       // 0-based; the first row of a zone names it
  std::string zones;  // "1-4, 7, 9" (1-based zone numbers)
};
std::vector<ScanListRow> ScanListRows(RadioData& data);
inline int ScanListRowsPerPage(bool landscape) { return landscape ? 28 : 48; }

// Zone questions the plan asks. A conventional zone of a voting type ('2'
// to '4') carries its voting settings on a second settings page in
// landscape (zone option 14); an LTR zone that holds repeaters lists them on
// a third settings page (zone option 15).
bool ConvZoneOption14(RadioData& data, int zone);
bool TrunkedZoneOption15(RadioData& data, int zone);
// The number of print parts of a zone's list: its records in parts of
// kRecordsPerPart.
int ZonePrintParts(RadioData& data, int zone);

// Pages of one section (zones: all pages of the chosen range).
int SectionPageCount(RadioData& data, const PrintOptions& options, bool landscape, int section);
// The whole plan, in section order; never empty (an empty plan has one page).
std::vector<PageEntry> BuildPagePlan(RadioData& data, const PrintOptions& options, bool landscape);
int PageCount(RadioData& data, const PrintOptions& options, bool landscape);

// The record counts of the data-signalling lists, as the area directory gives
// them (cut to the rows that lie inside the image).
int IdListRecords(RadioData& data);
int StatusListRecords(RadioData& data);

}  // namespace vb420::print
