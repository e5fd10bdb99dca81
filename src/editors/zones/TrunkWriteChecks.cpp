// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/TrunkWriteChecks.h"

#include <functional>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ZoneText.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

constexpr int kZoneData = 472;
// The reasons named after it: "zone %d: ..." (the last: "%d channels ...").
constexpr int kHomeRepeaterMissing = 1270;
constexpr int kDataTalkgroupMissing = 1271;
constexpr int kZoneDamaged = 1272;
constexpr int kTooManyRecords = 1273;
constexpr int kScrambler = 944;
constexpr int kPttId = 431;
constexpr int kIdList = 995;
constexpr int kBotCode = 575;
constexpr int kEotCode = 576;
constexpr size_t kBotCodeCount = layout::features::kBotCode;  // digit count, 0xFF when empty
constexpr size_t kEotCodeCount = layout::features::kEotCode;

// Header bytes the checks read.
constexpr size_t kLtrHomeRepeater = rec::ltr::kZoneRepeater;
constexpr size_t kPassPortDataTalkgroup = rec::pp::kDataTalkgroup;

void Add(std::vector<WriteProblem>& out, WriteProblem p) {
  for (const WriteProblem& q : out)
    if (q == p) return;
  out.push_back(std::move(p));
}

// Every existing channel record of the conventional zones and group record
// of the LTR zones, with the offset of its PTT ID byte and entry word.
void ForEachPttId(RadioData& data, const std::function<void(size_t value, size_t entry, bool word)>& fn) {
  const CZoneMemory zones(data);
  for (const ZoneLayout& z : zones.Layout()) {
    if (!z.exists || z.damaged) continue;
    const size_t base = static_cast<size_t>(z.offset);
    if (z.cls == kClassConv) {
      for (int i = 0; i < z.records; ++i) {
        const size_t rec = base + zones::kConvHeader + static_cast<size_t>(i) * zones::kChannelSize;
        fn(rec + rec::ch::kField12, rec + rec::ch::kField12Entry, false);
      }
    } else if (z.cls == kClassLtr) {
      for (int i = 0; i < z.records; ++i) {
        const size_t rec = base + zones::kLtrHeader + static_cast<size_t>(i) * zones::kGroupSize;
        fn(rec + rec::group::kField7, rec + rec::group::kField7Entry, true);
      }
    }
  }
}

// An ID-list entry (1-based) that the PTT ID rows offer.
bool UsableIdEntry(const ByteArea& image, int entry) {
  const DirectoryList ids = IdList(image);
  if (entry < 1 || static_cast<size_t>(entry) > ids.count || entry > zones::kMaxRecords) return false;
  const size_t e = ids.Row(static_cast<size_t>(entry - 1));
  return image.u8(e + 12) != 0xFF && image.u8(e + 15) == 0xFF;
}

}  // namespace

bool HomeRepeaterMissing(RadioData& data, int zone) {
  const CZoneMemory zones(data);
  if (zone < 0 || zone >= zones::kZoneCount) return false;
  const ZoneLayout z = zones.ZoneInfo(zone);
  if (!z.exists || z.damaged || z.cls != kClassLtr || z.size < zones::kLtrHeader) return false;
  const uint8_t home = data.Image().u8(static_cast<size_t>(z.offset) + kLtrHomeRepeater);
  return home != 0xFF && (home < 1 || home > zones::kMaxRepeaters || zones.FindRepeater(zone, home - 1) < 0);
}

void CheckZoneReferences(RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
  const CZoneMemory zones(data);
  // One line per fault, naming the zone and the reason after the heading
  // "Zone and channel data".
  // `at`: the header byte the fault is in, when there is one.
  auto add = [&](int entry, int first, int second = -1, std::vector<uint32_t> at = {}) {
    std::string detail = FormatInt(text.Text(entry), first);
    if (second >= 0) detail = FormatInt(detail, second);
    Add(out, {0, "\"" + text.Text(kZoneData) + "\": " + detail, std::move(at)});
  };
  // A zone whose own block cannot be trusted; leftovers after the last block
  // are outside every zone and never reach the radio as zone data.
  std::vector<bool> damaged(zones::kZoneCount, false);
  for (const ZoneProblem& p : zones.CheckZoneArea())
    if (p.zone >= 0 && p.zone < zones::kZoneCount && !damaged[static_cast<size_t>(p.zone)]) {
      damaged[static_cast<size_t>(p.zone)] = true;
      add(kZoneDamaged, p.zone + 1);
    }
  if (zones.TotalChannels() > zones::kChannelLimit) add(kTooManyRecords, zones.TotalChannels());
  const ByteArea image = data.Image();
  for (int zone = 0; zone < zones::kZoneCount; ++zone) {
    const ZoneLayout z = zones.ZoneInfo(zone);
    if (!z.exists || z.damaged || damaged[static_cast<size_t>(zone)]) continue;
    const size_t h = static_cast<size_t>(z.offset);
    if (z.cls == kClassLtr) {
      if (HomeRepeaterMissing(data, zone))
        add(kHomeRepeaterMissing, zone + 1, image.u8(h + kLtrHomeRepeater), {static_cast<uint32_t>(h + kLtrHomeRepeater)});
    } else if (z.cls == kClassPassPort && z.size >= zones::kPassPortHeader) {
      const uint8_t group = image.u8(h + kPassPortDataTalkgroup);
      if (group != 0xFF && (group < 1 || group > zones::kMaxRecords || zones.FindRecord(zone, group - 1) < 0))
        add(kDataTalkgroupMissing, zone + 1, group, {static_cast<uint32_t>(h + kPassPortDataTalkgroup)});
    }
  }
}

void CheckScramblers(RadioData& data, std::vector<WriteProblem>& out) {
  const CZoneMemory zones(data);
  const ByteArea image = data.Image();
  const ByteArea extension = data.Ext();
  const bool board = image.u8(img::kSystemTypeBytes) == 0;
  for (int zone = 0; zone < zones::kZoneCount; ++zone) {
    const ZoneLayout z = zones.ZoneInfo(zone);
    if (!z.exists || z.damaged || z.cls != kClassPassPort) continue;
    // Scrambler on selective call: a clear bit is ticked.
    const bool selective = !extension.bit(ext::kEntryBits + static_cast<size_t>(zone) / 8, zone % 8);
    const uint8_t code = extension.u8(ext::kEntryBytes + static_cast<size_t>(zone));
    if (selective && (!board || code < 1 || code > 16)) Add(out, {kScrambler, {}});
    for (int i = 0; i < z.records; ++i) {
      const size_t rec = static_cast<size_t>(z.offset) + zones::kPassPortHeader + static_cast<size_t>(i) * zones::kGroupSize;
      if (!image.bit(rec + rec::pp::kSwitches, 2) && !board) Add(out, {kScrambler, {}});
    }
  }
}

void CheckPttIds(RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  const uint8_t mode = image.u8(img::kSignallingIdMode);
  bool bad = false;
  ForEachPttId(data, [&](size_t at, size_t entryAt, bool word) {
    const uint8_t v = image.u8(at);
    if (v == 0xFF) return;
    if (mode == '2') {
      bad = bad || v != '4';
      return;
    }
    if (v == '4') bad = true;
    else if (v == '3') bad = bad || mode != '1' || !UsableIdEntry(image, word ? image.u16le(entryAt) : image.u8(entryAt));
    else if (v < '0' || v > '2') bad = true;
  });
  if (bad) Add(out, {0, "\"" + text.Text(kPttId) + "-" + text.Text(kIdList) + "\""});
}

void CheckBotEotCodes(RadioData& data, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  if (image.u8(img::kSignallingIdMode) != '0') return;  // the codes are in use only in this mode
  auto empty = [&](size_t count) { return image.u8(count) == 0xFF || image.u8(count) == 0; };
  bool bot = false, eot = false;
  ForEachPttId(data, [&](size_t at, size_t, bool) {
    const uint8_t v = image.u8(at);
    bot = bot || v == '0' || v == '2';
    eot = eot || v == '1' || v == '2';
  });
  if (bot && empty(kBotCodeCount)) Add(out, {kBotCode, {}, {static_cast<uint32_t>(kBotCodeCount)}});
  if (eot && empty(kEotCodeCount)) Add(out, {kEotCode, {}, {static_cast<uint32_t>(kEotCodeCount)}});
}

void CheckVotingZones(RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
  if (data.model.VotingCapable(data.votingSwitch)) return;
  const CZoneMemory zones(data);
  for (int zone = 0; zone < zones::kZoneCount; ++zone) {
    const uint8_t type = zones.ZoneType(zone);
    if (type == '2' || type == '3' || type == '4') {
      Add(out, {0, "\"" + text.Text(400) + "/" + text.Text(401) + "/" + text.Text(402) + "\"\n(" + text.Text(309) + ")"});
      return;
    }
  }
}

void RegisterTrunkWriteChecks() {
  static const bool registered = [] {
    RegisterWriteCheck("trunk", kSlotZoneChannels, [](RadioData& d, TextTable& t, std::vector<WriteProblem>& out) {
      CheckZoneReferences(d, t, out);
    });
    RegisterWriteCheck("trunk", kSlotZones944, [](RadioData& d, TextTable&, std::vector<WriteProblem>& out) {
      CheckScramblers(d, out);
    });
    RegisterWriteCheck("trunk", kSlotZones431, [](RadioData& d, TextTable& t, std::vector<WriteProblem>& out) {
      CheckPttIds(d, t, out);
    });
    RegisterWriteCheck("trunk", kSlotZoneFlags, [](RadioData& d, TextTable&, std::vector<WriteProblem>& out) {
      CheckBotEotCodes(d, out);
    });
    RegisterWriteCheck("trunk", kSlotZones400, [](RadioData& d, TextTable& t, std::vector<WriteProblem>& out) {
      CheckVotingZones(d, t, out);
    });
    return true;
  }();
  (void)registered;
}

}  // namespace vb420
