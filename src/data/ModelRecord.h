// SPDX-License-Identifier: GPL-3.0-or-later
// The model record: which of the ten radio models and which frequency band the
// memory image belongs to, answered from the 8 model bytes at image 0x120.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/MemoryBuffers.h"

namespace vb420 {

class TextTable;

using ModelBytes = std::array<uint8_t, 8>;

struct ModelInfo {
  const char* name;   // "VT-1600"
  const char* code;   // "M1600", 5 characters
  int powerBit;       // model byte 6 bit 2: 1 standard power, 0 high power
  std::vector<uint8_t> bands;  // allowed band codes, first is the default
};

struct BandInfo {
  uint8_t code;       // 0x04, 0x06, 0x07
  const char* text;   // "136-174 MHz"
  int bandClass;      // 0 VHF, 1 UHF
  int lowerMHz;
  int upperMHz;
};

constexpr int kModelCount = 10;
constexpr int kBandCount = 3;
constexpr ModelBytes kDefaultModelBytes = {'M', '1', '6', '0', '0', 0x04, 0xFF, 0xFF};

const ModelInfo& ModelTable(int modelNumber);  // 0..9
const BandInfo& BandTable(int bandIndex);      // 0..2
int BandIndexOfCode(uint8_t bandCode);         // -1 when unknown
// Model number of a name such as "VT-2600H", -1 when unknown.
int ModelNumberOfName(const std::string& name);
// Band code of a band text such as "450-520" or "450-520 MHz", -1 when unknown.
int BandCodeOfText(const std::string& text);
// Band text of a model name and variant letter ("VT-2600", "K2"), or "" when the
// pair is unknown.
std::string VariantBandText(const std::string& modelName, const std::string& variant);

// Platform codes that a radio may answer the identification with.
constexpr const char* kPlatformMobile1 = "M9300";
constexpr const char* kPlatformPortable1 = "P9302";
constexpr const char* kPlatformGen2 = "S9300";

// Model-number tests that need no image.
inline bool IsMobileModel(int model) { return model < 8; }
inline bool IsPortableModel(int model) { return model >= 8; }
inline bool IsSecondGeneration(int model) { return model == 2 || model == 3 || model == 6 || model == 7; }
inline bool IsFirstGeneration(int model) { return model >= 0 && model <= 9 && !IsSecondGeneration(model); }
inline bool IsHighPower(int model) { return model == 1 || model == 3 || model == 5 || model == 7; }

class CFreqCodec;

class ModelRecord {
 public:
  explicit ModelRecord(MemoryBuffers& buffers) : buffers_(buffers) {}

  // The 8 model bytes of the working image.
  ModelBytes Bytes() const;
  void SetBytes(const ModelBytes& b);

  // Model number of the image's bytes (or of outside bytes), -1 when none.
  int ModelNumber() const { return ModelNumberOf(Bytes()); }
  static int ModelNumberOf(const ModelBytes& b);
  // The bytes name a model and their band is one that model allows.
  bool IsKnownModel() const { return IsKnownModel(Bytes()); }
  static bool IsKnownModel(const ModelBytes& b);
  // The band code is in the band table (0x04, 0x06 or 0x07).
  static bool IsSelectableBand(uint8_t bandCode);

  // 2 mobile, 1 portable. An unknown model (-1) counts as mobile.
  int Kind() const { return KindOf(ModelNumber()); }
  static int KindOf(int model) { return model < 8 ? 2 : 1; }
  static int KindOf(const ModelBytes& b) { return KindOf(ModelNumberOf(b)); }
  bool IsPortable() const { return Kind() == 1; }
  bool IsSecondGen() const { return IsSecondGeneration(ModelNumber()); }
  bool IsFirstGen() const { return IsFirstGeneration(ModelNumber()); }
  bool IsHighPower() const { return vb420::IsHighPower(ModelNumber()); }
  // Name width of the model's channel and zone names: 8 or 12.
  int NameWidth() const { return IsSecondGen() ? 8 : 12; }
  // A platform code from a radio ("M9300", "P9302", "S9300" or a model code)
  // is of the same kind (mobile/portable) as the current model.
  bool SameKindAsPlatform(const std::string& platformCode) const;

  uint8_t BandCode() const { return Bytes()[5]; }
  int BandIndex() const { return BandIndexOfCode(BandCode()); }
  // 0 VHF, 1 UHF, -1 unknown.
  int BandClass() const;
  // Limits in MHz; a band code outside the table gives the VHF limits.
  int LowerLimit() const;
  int UpperLimit() const;

  // "%s[%s]": model name and the mobile/portable word.
  std::string DisplayName(TextTable& text) const { return DisplayNameOf(ModelNumber(), text); }
  static std::string DisplayNameOf(int model, TextTable& text);
  // Main window caption form: display name, "VHF :"/"UHF :", band text.
  std::string Description(TextTable& text) const;
  // Printed report form: display name and " [UHF]"/" [VHF]".
  std::string ShortDescription(TextTable& text) const;
  // All ten display names with their model numbers.
  static std::vector<std::pair<std::string, int>> ModelList(TextTable& text);
  // The bands a model allows, as (text, code).
  static std::vector<std::pair<std::string, int>> BandList(int model);

  // Writes code and power bit and keeps the password bits.
  void SetModel(int model);
  void SetBandCode(uint8_t code);
  // Password bits of byte 6: bit 0 read password, bit 1 overwrite password;
  // the bit is 0 while the password is set.
  bool ReadPasswordSet() const { return (Bytes()[6] & 0x01) == 0; }
  bool OverwritePasswordSet() const { return (Bytes()[6] & 0x02) == 0; }
  void SetReadPasswordBit(bool passwordSet);
  void SetOverwritePasswordBit(bool passwordSet);

  // Voting needs the start-up switch and a first-generation model.
  bool VotingCapable(bool votingSwitch) const { return votingSwitch && !IsSecondGen(); }

  // Gives the frequency codec the limits and band class of the image's band.
  void PushLimits(CFreqCodec& codec) const;

 private:
  MemoryBuffers& buffers_;
};

}  // namespace vb420
