// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ModelRecord.h"

#include <cstring>

#include "data/FreqCodec.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {

const ModelInfo kModels[kModelCount] = {
    {"VT-1600", "M1600", 1, {0x04}},
    {"VT-1600H", "M1600", 0, {0x04}},
    {"VT-1602", "M1602", 1, {0x04}},
    {"VT-1602H", "M1602", 0, {0x04}},
    {"VT-2600", "M2600", 1, {0x06, 0x07}},
    {"VT-2600H", "M2600", 0, {0x06, 0x07}},
    {"VT-2602", "M2602", 1, {0x06, 0x07}},
    {"VT-2602H", "M2602", 0, {0x06, 0x07}},
    {"VT-1400", "P1400", 1, {0x04}},
    {"VT-2400", "P2400", 1, {0x06, 0x07}},
};

const BandInfo kBands[kBandCount] = {
    {0x04, "136-174 MHz", 0, 136, 174},
    {0x06, "450-520 MHz", 1, 450, 520},
    {0x07, "400-470 MHz", 1, 400, 470},
};

struct Variant {
  const char* model;
  const char* variant;
  const char* band;
};

const Variant kVariants[] = {
    {"VT-1600", "K", "136-174 MHz"},  {"VT-1600H", "K", "136-174 MHz"}, {"VT-1602", "K", "136-174 MHz"},
    {"VT-1602H", "K", "136-174 MHz"}, {"VT-2600", "K", "450-520 MHz"},  {"VT-2600", "K2", "400-470 MHz"},
    {"VT-2600H", "K", "450-520 MHz"}, {"VT-2600H", "K2", "400-470 MHz"}, {"VT-2602", "K", "450-520 MHz"},
    {"VT-2602", "K2", "400-470 MHz"}, {"VT-2602H", "K", "450-520 MHz"}, {"VT-2602H", "K2", "400-470 MHz"},
    {"VT-1400", "K", "136-174 MHz"},  {"VT-1400", "K2", "136-174 MHz"}, {"VT-2400", "K", "450-520 MHz"},
    {"VT-2400", "K2", "400-470 MHz"}, {"VT-2400", "K3", "450-520 MHz"}, {"VT-2400", "K4", "400-470 MHz"},
};

}  // namespace

const ModelInfo& ModelTable(int modelNumber) {
  if (modelNumber < 0 || modelNumber >= kModelCount) return kModels[0];
  return kModels[modelNumber];
}

const BandInfo& BandTable(int bandIndex) {
  if (bandIndex < 0 || bandIndex >= kBandCount) return kBands[0];
  return kBands[bandIndex];
}

int BandIndexOfCode(uint8_t bandCode) {
  for (int i = 0; i < kBandCount; ++i)
    if (kBands[i].code == bandCode) return i;
  return -1;
}

int ModelNumberOfName(const std::string& name) {
  for (int i = 0; i < kModelCount; ++i)
    if (name == kModels[i].name) return i;
  return -1;
}

int BandCodeOfText(const std::string& text) {
  for (const auto& b : kBands) {
    const std::string full = b.text;
    if (text == full || text == full.substr(0, 7)) return b.code;
  }
  return -1;
}

std::string VariantBandText(const std::string& modelName, const std::string& variant) {
  for (const auto& v : kVariants)
    if (modelName == v.model && variant == v.variant) return v.band;
  return {};
}

ModelBytes ModelRecord::Bytes() const {
  ModelBytes b;
  buffers_.Image().read(img::kModelBytes, b.data(), b.size());
  return b;
}

void ModelRecord::SetBytes(const ModelBytes& b) { buffers_.Image().write(img::kModelBytes, b.data(), b.size()); }

int ModelRecord::ModelNumberOf(const ModelBytes& b) {
  const int power = (b[6] >> 2) & 1;
  for (int i = 0; i < kModelCount; ++i)
    if (std::memcmp(b.data(), kModels[i].code, 5) == 0 && kModels[i].powerBit == power) return i;
  return -1;
}

bool ModelRecord::IsKnownModel(const ModelBytes& b) {
  const int m = ModelNumberOf(b);
  if (m < 0) return false;
  for (uint8_t code : kModels[m].bands)
    if (code == b[5]) return true;
  return false;
}

bool ModelRecord::IsSelectableBand(uint8_t bandCode) {
  return bandCode == 0x04 || bandCode == 0x06 || bandCode == 0x07;
}

bool ModelRecord::SameKindAsPlatform(const std::string& platformCode) const {
  if (platformCode.empty()) return false;
  const bool platformMobile = platformCode[0] == 'M';
  return platformMobile == (Kind() == 2);
}

int ModelRecord::BandClass() const {
  const int i = BandIndex();
  return i < 0 ? -1 : kBands[i].bandClass;
}

int ModelRecord::LowerLimit() const {
  const uint8_t c = BandCode();
  return c == 0x06 ? 450 : c == 0x07 ? 400 : 136;
}

int ModelRecord::UpperLimit() const {
  const uint8_t c = BandCode();
  return c == 0x06 ? 520 : c == 0x07 ? 470 : 174;
}

std::string ModelRecord::DisplayNameOf(int model, TextTable& text) {
  if (model < 0 || model >= kModelCount) return {};
  return std::string(kModels[model].name) + "[" + text.Text(model < 8 ? 204 : 205) + "]";
}

std::string ModelRecord::Description(TextTable& text) const {
  const int i = BandIndex();
  const std::string band = i < 0 ? std::string() : kBands[i].text;
  return DisplayName(text) + " " + (BandClass() == 1 ? "UHF :" : "VHF :") + " " + band;
}

std::string ModelRecord::ShortDescription(TextTable& text) const {
  return DisplayName(text) + (BandClass() == 1 ? " [UHF]" : " [VHF]");
}

std::vector<std::pair<std::string, int>> ModelRecord::ModelList(TextTable& text) {
  std::vector<std::pair<std::string, int>> out;
  for (int i = 0; i < kModelCount; ++i) out.emplace_back(DisplayNameOf(i, text), i);
  return out;
}

std::vector<std::pair<std::string, int>> ModelRecord::BandList(int model) {
  std::vector<std::pair<std::string, int>> out;
  if (model < 0 || model >= kModelCount) return out;
  for (uint8_t code : kModels[model].bands) out.emplace_back(kBands[BandIndexOfCode(code)].text, code);
  return out;
}

void ModelRecord::SetModel(int model) {
  if (model < 0 || model >= kModelCount) return;
  ModelBytes b = Bytes();
  std::memcpy(b.data(), kModels[model].code, 5);
  b[6] = static_cast<uint8_t>((b[6] & ~0x04) | (kModels[model].powerBit << 2));
  SetBytes(b);
}

void ModelRecord::SetBandCode(uint8_t code) {
  ModelBytes b = Bytes();
  b[5] = code;
  SetBytes(b);
}

void ModelRecord::SetReadPasswordBit(bool passwordSet) {
  ModelBytes b = Bytes();
  b[6] = passwordSet ? static_cast<uint8_t>(b[6] & ~0x01) : static_cast<uint8_t>(b[6] | 0x01);
  SetBytes(b);
}

void ModelRecord::SetOverwritePasswordBit(bool passwordSet) {
  ModelBytes b = Bytes();
  b[6] = passwordSet ? static_cast<uint8_t>(b[6] & ~0x02) : static_cast<uint8_t>(b[6] | 0x02);
  SetBytes(b);
}

void ModelRecord::PushLimits(CFreqCodec& codec) const {
  codec.SetBand(LowerLimit(), UpperLimit(), BandClass() == 1 ? 1 : 0);
}

}  // namespace vb420
