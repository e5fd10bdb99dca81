// SPDX-License-Identifier: GPL-3.0-or-later
// A ".sdt" file of any content: the zone-merge slots it holds are loaded and
// saved again; what is saved must load back to the same slots.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  RadioData data(&fuzz::ProgramTexts());
  InitNewImage(data, true);
  if (LoadSdtFile(fuzz::AsFile(bytes, size, ".sdt"), data).result != kFileOk) return 0;
  static const std::string again = "/tmp/vb420-fuzz-again-" + std::to_string(getpid()) + ".sdt";
  if (SaveSdtFile(again, data).result != kFileOk) return 0;
  RadioData back(&fuzz::ProgramTexts());
  InitNewImage(back, true);
  VB420_FUZZ_CHECK(LoadSdtFile(again, back).result == kFileOk);
  for (int i = 0; i < MergeSlots::kSlots; ++i) {
    const MergeSlot& a = data.mergeSlots.entries[static_cast<size_t>(i)];
    const MergeSlot& b = back.mergeSlots.entries[static_cast<size_t>(i)];
    VB420_FUZZ_CHECK(a.block == b.block);
    VB420_FUZZ_CHECK(a.mark == b.mark && a.name == b.name && a.perChannel == b.perChannel);
  }
  VB420_FUZZ_CHECK(data.mergeSlots.marks == back.mergeSlots.marks);
  return 0;
}
