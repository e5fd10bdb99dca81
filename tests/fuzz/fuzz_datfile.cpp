// SPDX-License-Identifier: GPL-3.0-or-later
// A ".dat" file of any content: loaded, accepted as the programming, put
// through the checks that follow a load, its zones checked for damage, and
// every field of every editor shown as the windows would show it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"

using namespace vb420;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  TextTable& text = fuzz::ProgramTexts();
  RadioData data(&text);
  if (LoadDatFile(fuzz::AsFile(bytes, size, ".dat"), data).result != kFileOk) return 0;
  data.buffers.AcceptScratch();
  IdentificationCheck(data);
  data.SyncCodecs();
  VersionRecheck(data);
  PostLoadAdjustments(data);
  const size_t imageSize = data.buffers.ImageBytes().size(), extSize = data.buffers.ExtBytes().size();
  CZoneMemory zones(data);
  (void)zones.CheckZoneArea();
  for (int z = 0; z < zones::kZoneCount; ++z) {
    (void)zones.RecordNumbers(z);
    (void)zones.RepeaterNumbers(z);
    (void)zones.FirstGlobal(z);
  }
  std::vector<forms::SettingLine> lines;
  (void)forms::ListSettings(data, text, "", lines);
  VB420_FUZZ_CHECK(data.buffers.ImageBytes().size() == imageSize);
  VB420_FUZZ_CHECK(data.buffers.ExtBytes().size() == extSize);
  return 0;
}
