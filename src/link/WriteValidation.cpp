// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/WriteValidation.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "data/ImageLayout.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

constexpr uint8_t kNone8 = 0xFF;
constexpr uint16_t kNone16 = 0xFFFF;

// Image fields judged here.
constexpr size_t kOwnFleet = vxf::kOwnFleet;
constexpr size_t kOwnId = vxf::kOwnId;
constexpr size_t kPage5Fleet = vxf::kGpsFleet;
constexpr size_t kPage5Id = vxf::kGpsId;
constexpr size_t kPage5Flags = vxf::kGpsFlags;  // bit 0 clear: the function is switched on
constexpr size_t kPage6Fleet = vxf::kDispatcherFleet;
constexpr size_t kPage6Id = vxf::kDispatcherId;
constexpr size_t kEmergencySignalling = emf::kSignalling;  // '2' = Vantelix
constexpr size_t kEmergencyDtmfCount = emf::kDtmfCount;
constexpr size_t kEmergencyFleet = emf::kFleet;
constexpr size_t kEmergencyId = emf::kId;
constexpr size_t kIdListOffsetWord = dir::OffsetWord(dir::kIdListEntry);
constexpr size_t kIdListCountWord = dir::CountWord(dir::kIdListEntry);
constexpr size_t kIdEntrySize = 16;
constexpr size_t kIdEntryFleet = 12;

struct ExtraCheck {
  std::string group;
  WriteCheckFn fn;
};

std::array<std::vector<ExtraCheck>, kSlotCount>& ExtraChecks() {
  static std::array<std::vector<ExtraCheck>, kSlotCount> checks;
  return checks;
}

// Any entry of the Vantelix ID list in use; the list is found through the
// area directory and only the entries that lie inside the image are looked at.
bool IdListInUse(ByteArea image) {
  const size_t offset = image.u16le(kIdListOffsetWord);
  const size_t count = image.u16le(kIdListCountWord);
  if (offset == kNone16 || count == kNone16) return false;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = offset + i * kIdEntrySize;
    if (!image.InRange(at, kIdEntrySize)) break;
    if (image.u8(at + kIdEntryFleet) != kNone8) return true;
  }
  return false;
}

}  // namespace

void RegisterWriteCheck(const std::string& group, WriteCheckSlot slot, WriteCheckFn fn) {
  if (slot >= 0 && slot < kSlotCount && fn) ExtraChecks()[slot].push_back({group, std::move(fn)});
}

std::vector<std::string> RegisteredWriteCheckGroups() {
  std::set<std::string> groups;
  for (const auto& slot : ExtraChecks())
    for (const ExtraCheck& c : slot) groups.insert(c.group);
  std::vector<std::string> out = {"link"};
  out.insert(out.end(), groups.begin(), groups.end());
  return out;
}

void CheckOwnIdentity(RadioData& data, std::vector<WriteProblem>& out) {
  // The own fleet and ID are what the radio sends with every Vantelix call:
  // needed once the ID list holds an entry or the emergency call goes by
  // Vantelix.
  const ByteArea image = data.Image();
  if (!IdListInUse(image) && image.u8(kEmergencySignalling) != '2') return;
  if (image.u8(kOwnFleet) == kNone8) out.push_back({999, {}, {kOwnFleet}});
  if (image.u16le(kOwnId) == kNone16) out.push_back({1000, {}, {kOwnId}});
}

void CheckPage5Identity(RadioData& data, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  if (image.bit(kPage5Flags, 0)) return;  // switched off
  if (image.u8(kPage5Fleet) == kNone8) out.push_back({1056, {}, {kPage5Fleet}});
  if (image.u16le(kPage5Id) == kNone16) out.push_back({1057, {}, {kPage5Id}});
}

void CheckPage6Identity(RadioData& data, std::vector<WriteProblem>& out) {
  const ByteArea image = data.Image();
  const bool fleet = image.u8(kPage6Fleet) != kNone8;
  const bool id = image.u16le(kPage6Id) != kNone16;
  if (id && !fleet) out.push_back({1081, {}, {kPage6Fleet}});
  if (fleet && !id) out.push_back({1082, {}, {kPage6Id}});
}

void CheckEmergencyTargets(RadioData& data, std::vector<WriteProblem>& out) {
  // The emergency call sends the DTMF code when its signalling is DTMF, and
  // the Vantelix fleet and ID when it is Vantelix.
  const ByteArea image = data.Image();
  const uint8_t signalling = image.u8(kEmergencySignalling);
  if (signalling == '0' && image.u8(kEmergencyDtmfCount) == kNone8) out.push_back({810, {}, {kEmergencyDtmfCount}});
  if (signalling == '2' && image.u8(kEmergencyFleet) == kNone8) out.push_back({811, {}, {kEmergencyFleet}});
  if (signalling == '2' && image.u16le(kEmergencyId) == kNone16) out.push_back({812, {}, {kEmergencyId}});
}

WriteValidationResult ValidateForWrite(RadioData& data, TextTable& text) {
  WriteValidationResult r;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    std::vector<WriteProblem>& out = slot == kSlotZoneMerge         ? r.mergeProblems
                                     : slot == kSlotSettingWarnings ? r.settingWarnings
                                     : slot == kSlotBandRange       ? r.warnings
                                                                    : r.problems;
    switch (slot) {
      case kSlotOwnIdentity: CheckOwnIdentity(data, out); break;
      case kSlotPage5Identity: CheckPage5Identity(data, out); break;
      case kSlotPage6Identity: CheckPage6Identity(data, out); break;
      case kSlotEmergencyTargets: CheckEmergencyTargets(data, out); break;
      default: break;
    }
    for (const ExtraCheck& c : ExtraChecks()[static_cast<size_t>(slot)]) c.fn(data, text, out);
  }
  return r;
}

std::string ValidationMessage(TextTable& text, int headingEntry, const std::vector<WriteProblem>& problems) {
  std::string s = text.Text(headingEntry);
  for (const WriteProblem& p : problems) s += "\n" + (p.entry ? "\"" + text.Text(p.entry) + "\"" : p.line);
  return s;
}

WriteWarnings DueWriteWarnings(RadioData& data, bool firstTicked, bool secondTicked) {
  WriteWarnings w;
  if (data.model.IsPortable()) return w;
  const ByteArea image = data.Image();
  // Ignition sense is bit 8 of the general flag word (a clear bit is ticked).
  const bool ignitionSense = (image.u16le(layout::features::kGeneralFlags) & (1u << 8)) == 0;
  w.first = !firstTicked && ignitionSense && image.u8(layout::features::kPowerOnMode) == '1';
  const uint16_t options = image.u16le(layout::optboard::kOptionSettings);
  w.second = !secondTicked && (options & ((1u << 0) | (1u << 1) | (1u << 6) | (1u << 8))) != 0;
  return w;
}

std::string WarningsMessage(TextTable& text, const WriteValidationResult& r, size_t maxLines) {
  // A message box must fit the screen: the first lines, then how many more.
  auto list = [&](int heading, const std::vector<WriteProblem>& lines) {
    std::vector<WriteProblem> shown(lines.begin(), lines.begin() + static_cast<long>(std::min(lines.size(), maxLines)));
    if (lines.size() > maxLines) shown.push_back({0, "... (+" + std::to_string(lines.size() - maxLines) + ")", {}});
    return ValidationMessage(text, heading, shown);
  };
  std::string s;
  if (!r.settingWarnings.empty()) s = list(msg::kSettingWarningsHeading, r.settingWarnings);
  if (!r.warnings.empty()) s += (s.empty() ? "" : "\n\n") + list(msg::kWarningsHeading, r.warnings);
  return s;
}

std::string WarningsQuestion(TextTable& text, const WriteValidationResult& r, size_t maxLines) {
  return WarningsMessage(text, r, maxLines) + "\n\n" + text.Text(msg::kWarningsQuestion);
}

}  // namespace vb420
