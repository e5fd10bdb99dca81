// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/PrintOptions.h"

#include <algorithm>
#include <cctype>

namespace vb420::print {

int CheckBoxTextEntry(int option) {
  static constexpr std::array<int, kCheckBoxCount> kEntries = {196, 340, 339, 341, 355, 351, 354, 353,
                                                               342, 356, 348, 211, 349, 358, 352};
  return option >= 0 && option < kCheckBoxCount ? kEntries[static_cast<size_t>(option)] : -1;
}

int SectionTitleEntry(int section) {
  return section >= 1 && section <= 14 && section != 11 && section != 12 ? CheckBoxTextEntry(section) : -1;
}

PrintOptions PrintOptions::Defaults() {
  PrintOptions o;
  for (int i = 0; i < kCheckBoxCount; ++i) o.values[static_cast<size_t>(i)] = 1;
  o.values[kOptReserved] = 0;
  o.values[kOptFirstZone] = kFirstZoneNumber;
  o.values[kOptLastZone] = kLastZoneNumber;
  return o;
}

bool PrintOptions::AnyChecked() const {
  for (int i = 0; i < kCheckBoxCount; ++i)
    if (values[static_cast<size_t>(i)] != 0) return true;
  return false;
}

void PrintOptions::SetAll(bool on) {
  for (int i = 0; i < kCheckBoxCount; ++i) values[static_cast<size_t>(i)] = on ? 1 : 0;
}

void PrintOptions::SetFirstZone(int zone) {
  zone = std::clamp(zone, kFirstZoneNumber, kLastZoneNumber);
  values[kOptFirstZone] = zone;
  if (values[kOptLastZone] < zone) values[kOptLastZone] = zone;
}

void PrintOptions::SetLastZone(int zone) {
  zone = std::clamp(zone, kFirstZoneNumber, kLastZoneNumber);
  values[kOptLastZone] = zone;
  if (values[kOptFirstZone] > zone) values[kOptFirstZone] = zone;
}

int ZoneFieldValue(const std::string& text) {
  long v = 0;
  bool any = false;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (c < '0' || c > '9') return kFirstZoneNumber;
    any = true;
    v = std::min<long>(v * 10 + (c - '0'), 100000);
  }
  if (!any) return kFirstZoneNumber;
  return static_cast<int>(std::clamp<long>(v, kFirstZoneNumber, kLastZoneNumber));
}

bool ParseSectionList(const std::string& list, PrintOptions& options, std::string& bad) {
  PrintOptions o = options;
  o.SetAll(false);
  size_t pos = 0;
  bool any = false;
  while (pos <= list.size()) {
    size_t comma = list.find(',', pos);
    if (comma == std::string::npos) comma = list.size();
    std::string item = list.substr(pos, comma - pos);
    item.erase(std::remove_if(item.begin(), item.end(), [](unsigned char c) { return std::isspace(c); }), item.end());
    std::transform(item.begin(), item.end(), item.begin(), [](unsigned char c) { return std::tolower(c); });
    pos = comma + 1;
    if (item.empty()) {
      if (comma == list.size()) break;
      continue;
    }
    any = true;
    if (item == "all") {
      o.SetAll(true);
    } else if (item == "model") {
      o.Set(kOptModelBlock, true);
    } else if (item == "message") {
      o.Set(kOptMessageBlock, true);
    } else if (item == "passmessage") {
      o.Set(kOptPassMessageBlock, true);
    } else {
      int n = 0;
      bool digits = item.size() <= 2;
      for (char c : item) {
        if (c < '0' || c > '9') digits = false;
        else n = n * 10 + (c - '0');
      }
      if (!digits || SectionTitleEntry(n) < 0) {
        bad = item;
        return false;
      }
      o.Set(n, true);
    }
  }
  if (!any) {
    bad = list;
    return false;
  }
  options = o;
  return true;
}

}  // namespace vb420::print
