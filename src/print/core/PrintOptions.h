// SPDX-License-Identifier: GPL-3.0-or-later
// The options of one print or preview: which parts of the programming go on
// paper, which page-header blocks are drawn, and the range of zones.
#pragma once

#include <array>
#include <string>

namespace vb420::print {

// Option numbers. Options 1 to 10, 13 and 14 are sections; 0, 11 and 12
// are blocks of the page header; 15 is kept at 0; 16 and 17 are the first
// and last zone to print (1-based).
enum Option : int {
  kOptModelBlock = 0,
  kOptFeatures = 1,
  kOptKeys = 2,
  kOptScan = 3,
  kOptDtmf = 4,
  kOptTwoTone = 5,
  kOptDataSignalling = 6,
  kOptAlertTone = 7,
  kOptEmergency = 8,
  kOptExtFunction = 9,
  kOptTestFrequency = 10,
  kOptMessageBlock = 11,
  kOptPassMessageBlock = 12,
  kOptTechnician = 13,
  kOptZones = 14,
  kOptReserved = 15,
  kOptFirstZone = 16,
  kOptLastZone = 17,
};

constexpr int kOptionCount = 18;
constexpr int kCheckBoxCount = 15;  // options 0 to 14
constexpr int kFirstZoneNumber = 1;
constexpr int kLastZoneNumber = 128;

// The sections in the order they are printed.
constexpr std::array<int, 12> kSectionOrder = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14};

// The text entry of each check box (options 0 to 14).
int CheckBoxTextEntry(int option);
// The title entry of a section (1..10, 13, 14).
int SectionTitleEntry(int section);

struct PrintOptions {
  std::array<int, kOptionCount> values{};

  // Every box checked, zones 1 to 128.
  static PrintOptions Defaults();

  bool On(int option) const { return option >= 0 && option < kCheckBoxCount && values[option] != 0; }
  void Set(int option, bool on) {
    if (option >= 0 && option < kCheckBoxCount) values[option] = on ? 1 : 0;
  }
  bool AnyChecked() const;
  void SetAll(bool on);

  int FirstZone() const { return values[kOptFirstZone]; }
  int LastZone() const { return values[kOptLastZone]; }
  // The first zone brought into 1..128; a first zone above the last one
  // moves the last one up to it.
  void SetFirstZone(int zone);
  // The last zone brought into 1..128; a last zone below the first one
  // moves the first one down to it.
  void SetLastZone(int zone);
};

// The number a zone field's text stands for, brought into 1..128: digits
// only, an empty or unreadable text gives 1.
int ZoneFieldValue(const std::string& text);

// Parses a --sections list: comma-separated section numbers (1-10, 13, 14)
// and the names "model", "message", "passmessage" for the header blocks, or
// "all". Options not named are cleared. False for an unknown name.
bool ParseSectionList(const std::string& list, PrintOptions& options, std::string& bad);

}  // namespace vb420::print
