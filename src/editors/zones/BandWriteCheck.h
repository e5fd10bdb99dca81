// The band check as one of the checks before a write. Kept apart from
// BandCheck.h so that the zone library itself does not need the radio link;
// the programs that write a radio call RegisterBandWriteCheck() once.
#pragma once

#include "editors/zones/BandCheck.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"

namespace vb420 {

inline void RegisterBandWriteCheck() {
  static const bool registered = [] {
    RegisterWriteCheck(kSlotBandRange, [](RadioData& data, TextTable& text, std::vector<WriteProblem>& out) {
      for (const OutOfBandFrequency& f : FindOutOfBandFrequencies(data)) out.push_back({0, OutOfBandLine(f, text)});
    });
    return true;
  }();
  (void)registered;
}

// The question before a write: the heading, one line per frequency, then
// "Do you want to continue writing?".
inline std::string BandWarningText(TextTable& text, const std::vector<WriteProblem>& warnings) {
  return ValidationMessage(text, kOutOfBandHeading, warnings) + "\n\n" + text.Text(kOutOfBandQuestion);
}

}  // namespace vb420
