// A read-only count of the zones in an image, for summaries (command line,
// radio information). Editing goes through the zone memory manager.
#pragma once

namespace vb420 {

class RadioData;

struct ZoneSummary {
  int conventional = 0;
  int ltr = 0;
  int passport = 0;
  int records = 0;    // channels of conventional zones and groups of all trunked zones
  int freeBytes = 0;  // free room in the zone area
};

ZoneSummary SummarizeZones(RadioData& data);

}  // namespace vb420
