// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/PassPortSettings.h"

#include <cstdio>
#include <functional>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextNames.h"
#include "lang/TextTable.h"
#include "print/core/ReportContent.h"

namespace vb420::print {

namespace {

namespace pp = rec::pp;

constexpr int kTextOn = text::kOn;
constexpr int kTextOff = text::kOff371;
// The labels, eleven, eleven and ten to an entry, one a line; then the value
// formats "%d ms", "%d sec" and "Code: %d".
constexpr int kTextLabels[] = {187, 188, 189};
constexpr int kTextFormats = 190;

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> out;
  size_t a = 0;
  for (;;) {
    const size_t b = s.find('\n', a);
    out.push_back(s.substr(a, b == std::string::npos ? std::string::npos : b - a));
    if (b == std::string::npos) break;
    a = b + 1;
  }
  return out;
}

// Line `i` of a text entry's lines, or `fallback` when the file has none
// there (or a line that lacks the "%d" the value needs).
std::string LineOf(TextTable& text, int entry, size_t i, const char* fallback, bool needsNumber) {
  const std::vector<std::string> lines = Lines(text.Text(entry));
  if (i >= lines.size() || lines[i].empty()) return fallback;
  if (needsNumber) {
    // Exactly one "%d" and no other conversion: the text is a format.
    const std::string& f = lines[i];
    size_t n = 0;
    for (size_t p = f.find('%'); p != std::string::npos; p = f.find('%', p + 2)) {
      if (p + 1 >= f.size() || f[p + 1] != 'd') return fallback;
      ++n;
    }
    if (n != 1) return fallback;
  }
  return lines[i];
}

struct Header {
  ByteArea image;
  size_t at;
  int u8(size_t off) const { return image.u8(at + off); }
  int u16(size_t off) const { return image.u16le(at + off); }
  bool bit(size_t off, int b) const { return (u8(off) >> b) & 1; }
};

std::string Num(const char* fmt, int a, int b = 0) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}
std::string Num(const std::string& fmt, int a) { return Num(fmt.c_str(), a); }

struct Item {
  const char* label;
  std::function<std::string(const Header&, TextTable&)> value;
};

std::string OnOff(TextTable& t, bool on) { return t.Text(on ? kTextOn : kTextOff); }

}  // namespace

std::vector<std::pair<std::string, std::string>> PassPortSettingLines(RadioData& data, TextTable& text, int zone) {
  std::vector<std::pair<std::string, std::string>> out;
  CZoneMemory zones(data);
  const ZoneLayout L = zones.ZoneInfo(zone);
  if (!L.exists || L.cls != kClassPassPort || L.size < zones::kPassPortHeader) return out;
  const Header h{data.Image(), static_cast<size_t>(L.offset)};
  ByteArea ext = data.Ext();
  const std::string name = ZoneNameText(data, zone);
  auto flag = [](size_t off, int b, bool clearIsOn = false) {
    return [=](const Header& hh, TextTable& t) { return OnOff(t, hh.bit(off, b) != clearIsOn); };
  };
  const Item items[] = {
      {"Zone Name", [&](const Header&, TextTable&) { return name; }},
      {"NSID", [](const Header& hh, TextTable&) { return Num("%d", (hh.u16(pp::kTxDfaWord) >> 1) & 3); }},
      {"ASID", [](const Header& hh, TextTable&) { return Num("%d", hh.u8(pp::kAsid) == 0xFF ? 1 : hh.u8(pp::kAsid)); }},
      {"MIN", [](const Header& hh, TextTable&) { return Num("%d", hh.u16(pp::kMin)); }},
      // An unset primary talk group (0xFFFF) shows an empty box in the window.
      {"Primary Talk Group",
       [](const Header& hh, TextTable&) {
         const int id = hh.u16(pp::kPrimaryGroupId);
         return id >= 1 && id <= 65530 ? Num("%d", id) : std::string();
       }},
      {"DFA Band", [](const Header& hh, TextTable&) { return Num("%d", (hh.u16(pp::kDfaBandWord) >> 1) & 15); }},
      {"DFA Channel", [](const Header& hh, TextTable&) { return Num("%d", hh.u16(pp::kDfaBandWord) >> 5); }},
      {"Primary Talk Group Autoscan", flag(pp::kGroupFlags, 4)},
      {"Data on PTG", flag(pp::kGroupFlags, 5)},
      {"Tx Low Power", flag(pp::kGroupFlags, 7)},
      {"DTMF Key Pad Enable", flag(pp::kDisplayFlags, 0)},
      {"Companded Interconnect", flag(pp::kCallFlags, 0)},
      {"Interconnect EOT Tone", flag(pp::kCallFlags, 2)},
      {"Rx Mobile ID display", flag(pp::kDisplayFlags, 1)},
      {"No Number Displayed if Named", flag(pp::kDisplayFlags, 2)},
      {"Tx Data Invert", flag(pp::kDisplayFlags, 5)},
      {"Rx Data Invert", flag(pp::kDisplayFlags, 6)},
      {"Horn On Interconnect", flag(pp::kCallFlags, 5)},
      {"Horn On Selective Call", flag(pp::kCallFlags, 6)},
      {"Use Band 5B Frequencies", flag(pp::kDisplayFlags, 7, true)},
      {"Tx Data Delay Time", [](const Header& hh, TextTable& t) { return Num(LineOf(t, kTextFormats, 0, "%d ms", true), hh.u8(pp::kTxDataDelay)); }},
      {"Scan Resume Time", [](const Header& hh, TextTable& t) { return Num(LineOf(t, kTextFormats, 1, "%d sec", true), hh.u8(pp::kScanResume)); }},
      {"Clear To Talk Tone Delay", [](const Header& hh, TextTable& t) { return Num(LineOf(t, kTextFormats, 0, "%d ms", true), hh.u16(pp::kClearToTalkDelay)); }},
      {"Companded Selective Calling", flag(pp::kCallFlags, 1)},
      {"Selective Calling EOT Tone", flag(pp::kCallFlags, 3)},
      {"Outbound Selective Calling", flag(pp::kCallFlags, 7)},
      {"Manual MIN Entry", flag(pp::kDisplayFlags, 3)},
      {"Scambler on Selective Call Enable",
       [&](const Header&, TextTable& t) {
         const bool on = ((ext.u8(ext::kEntryBits + static_cast<size_t>(zone / 8)) >> (zone % 8)) & 1) == 0;
         int code = ext.u8(ext::kEntryBytes + static_cast<size_t>(zone));
         if (code == 0xFF) code = 1;
         return on ? t.Text(kTextOn) + "     " + Num(LineOf(t, kTextFormats, 2, "Code: %d", true), code) : t.Text(kTextOff);
       }},
      {"Selective Call MIN Limits", [](const Header& hh, TextTable&) { return Num("%d - %d", hh.u16(pp::kMinLow), hh.u16(pp::kMinHigh)); }},
      {"RSSI in Sub-Display", flag(pp::kSiteFlags, 5)},
      {"Dispatch EOT Tone", flag(pp::kCallFlags, 4)},
      {"Primary Scan alert Tone", flag(pp::kDisplayFlags, 4)},
  };
  // The labels in the program's language, eleven to a text entry; the
  // English ones where the language file has none.
  size_t n = 0;
  for (const Item& i : items) {
    const std::string label = LineOf(text, kTextLabels[n / 11], n % 11, i.label, false);
    out.emplace_back(label, i.value(h, text));
    ++n;
  }
  return out;
}

}  // namespace vb420::print
