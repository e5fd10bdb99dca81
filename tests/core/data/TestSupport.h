// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers for the data tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "support/Files.h"

namespace vb420::test {

// Temporary folders and file bytes come from the shared test code.
using testsupport::TempDir;
inline std::vector<uint8_t> ReadBytes(const std::string& path) { return testsupport::FileBytes(path); }
using testsupport::WriteBytes;

inline std::vector<uint8_t> Slice(ByteArea a, size_t off, size_t n) {
  std::vector<uint8_t> v(n);
  a.read(off, v.data(), n);
  return v;
}

// Sets a model by number and band code on a cleared image.
inline void SetModel(RadioData& d, int model, uint8_t band) {
  d.model.SetBytes(kDefaultModelBytes);
  d.model.SetModel(model);
  d.model.SetBandCode(band);
  d.SyncCodecs();
}

// A new programming of the model and band, as File, New makes it.
inline void MakeNew(RadioData& d, int model, uint8_t band) {
  SetModel(d, model, band);
  ResetToNewImage(d);
}

}  // namespace vb420::test

#include "lang/TextTable.h"
#include "support/Programmings.h"

namespace vb420::test {
// A complete text table whose entry i reads "T<i>".
inline void LoadNumberedTable(TextTable& t) { testsupport::LoadNumberedTexts(t); }
}  // namespace vb420::test
