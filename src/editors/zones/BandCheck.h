// SPDX-License-Identifier: GPL-3.0-or-later
// Frequencies of the zones that lie outside the model's band. Typing such a
// frequency only warns (the radio's owner may know better), so before a write
// every channel and repeater frequency is checked once more and the user is
// asked whether these may really go into the radio.
#pragma once

#include <string>
#include <vector>

namespace vb420 {

class RadioData;
class TextTable;

struct OutOfBandFrequency {
  int zone = 0;          // 0-based
  int record = 0;        // channel or repeater number, 0-based
  bool repeater = false; // an LTR repeater, not a conventional channel
  bool second = false;   // transmit frequency (channel) or second frequency (repeater)
  std::string text;      // as stored, "%.5f" with "."
};

// Every channel frequency of the conventional zones and every repeater
// frequency of the LTR zones below the model's lower or above its upper
// limit, in zone and record order. A field that is not decimal counts as
// outside. Damaged zones are walked as far as they can be trusted.
std::vector<OutOfBandFrequency> FindOutOfBandFrequencies(RadioData& data);

// "Zone 3, Channel 12, TX Frequency: 400.00000" in the current language.
std::string OutOfBandLine(const OutOfBandFrequency& f, TextTable& text);

}  // namespace vb420
