// SPDX-License-Identifier: GPL-3.0-or-later
// A channel plan (".itm") of any content imported into a new programming:
// whatever the file says, the image and the extension area keep their sizes,
// nothing outside the areas an import may change is touched, and the
// programming can be exported again and that export read back.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/plan/ItmFile.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  TextTable& text = fuzz::ProgramTexts();
  RadioData data(&text);
  InitNewImage(data, true);
  const std::vector<uint8_t> modelBefore(data.buffers.ImageBytes().begin() + 0x120,
                                         data.buffers.ImageBytes().begin() + 0x128);
  const std::string_view file(reinterpret_cast<const char*>(bytes), size);
  const ItmHeader h = ReadItmHeader(file, data, text);
  if (!h.accepted) return 0;
  ItmImportSummary summary;
  ApplyItmRecords(file, h, data, text, summary);
  VB420_FUZZ_CHECK(data.buffers.ImageBytes().size() == kImageSize);
  VB420_FUZZ_CHECK(data.buffers.ExtBytes().size() == kExtSize);
  // An import never changes the model.
  VB420_FUZZ_CHECK(std::memcmp(data.buffers.ImageBytes().data() + 0x120, modelBefore.data(), 8) == 0);
  VB420_FUZZ_CHECK(summary.Applied() >= 0 && summary.Skipped() >= 0);
  // What was imported exports, and the export is a plan this program reads.
  const std::string again = BuildItmText(data, text);
  RadioData back(&text);
  InitNewImage(back, true);
  const ItmHeader h2 = ReadItmHeader(again, back, text);
  VB420_FUZZ_CHECK(h2.accepted);
  ItmImportSummary s2;
  ApplyItmRecords(again, h2, back, text, s2);
  VB420_FUZZ_CHECK(!s2.cutOff);
  return 0;
}
