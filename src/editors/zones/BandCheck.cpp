// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/BandCheck.h"

#include <cmath>

#include "data/FreqCodec.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

// Channels and repeaters keep their two frequencies at the same places.
static_assert(rec::ch::kRxFreq == rec::rep::kFreq1 && rec::ch::kTxFreq == rec::rep::kFreq2);
constexpr size_t kFirstFreq = rec::ch::kRxFreq;   // channel: receive; repeater: first
constexpr size_t kSecondFreq = rec::ch::kTxFreq;  // channel: transmit; repeater: second

// A menu text without its access-key marks ("&Repeater").
std::string Plain(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size() && s[i + 1] != '&') continue;
    if (s[i] == '&' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  const size_t tab = out.find('\t');
  return tab == std::string::npos ? out : out.substr(0, tab);
}

}  // namespace

std::vector<OutOfBandFrequency> FindOutOfBandFrequencies(RadioData& data) {
  std::vector<OutOfBandFrequency> out;
  // The limits come from the model bytes themselves, whatever the codec was
  // last told.
  CFreqCodec limits;
  data.model.PushLimits(limits);
  const auto lower = static_cast<long long>(std::llround(limits.Lower() * 1e6));
  const auto upper = static_cast<long long>(std::llround(limits.Upper() * 1e6));
  const ByteArea image = data.Image();
  const CZoneMemory zones(data);
  const auto layout = zones.Layout();

  auto check = [&](int zone, int record, bool repeater, size_t at) {
    for (const bool second : {false, true}) {
      const uint8_t* f = image.ptr(at + (second ? kSecondFreq : kFirstFreq), 4);
      if (!f || CFreqCodec::IsEmptyField(f)) continue;
      const long long hz = CFreqCodec::FieldToHz(f);
      if (hz != 0 && hz >= lower && hz <= upper) continue;
      OutOfBandFrequency o;
      o.zone = zone;
      o.record = record;
      o.repeater = repeater;
      o.second = second;
      CFreqCodec::FreqToPlainText(f, o.text);
      out.push_back(std::move(o));
    }
  };

  for (int zn = 0; zn < zones::kZoneCount; ++zn) {
    const ZoneLayout& z = layout[static_cast<size_t>(zn)];
    if (!z.exists || z.offset < 0) continue;
    const size_t base = static_cast<size_t>(z.offset);
    if (z.cls == kClassConv) {
      for (int i = 0; i < z.records; ++i) {
        const size_t rec = base + zones::kConvHeader + static_cast<size_t>(i) * zones::kChannelSize;
        check(zn, image.u8(rec) - 1, false, rec);
      }
    } else if (z.cls == kClassLtr) {
      const size_t first = base + zones::kLtrHeader + static_cast<size_t>(z.records) * zones::kGroupSize;
      for (int i = 0; i < z.repeaters; ++i) {
        const size_t rec = first + static_cast<size_t>(i) * zones::kRepeaterSize;
        check(zn, image.u8(rec) - 1, true, rec);
      }
    }
  }
  return out;
}

std::string OutOfBandLine(const OutOfBandFrequency& f, TextTable& text) {
  const std::string what = f.repeater ? Plain(text.Text(67)) : Plain(text.Text(376));
  return Plain(text.Text(378)) + " " + std::to_string(f.zone + 1) + ", " + what + " " + std::to_string(f.record + 1) +
         ", " + Plain(text.Text(f.second ? 383 : 382)) + ": " + f.text;
}

}  // namespace vb420
