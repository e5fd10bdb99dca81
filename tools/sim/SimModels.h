// SPDX-License-Identifier: GPL-3.0-or-later
// Which radio the simulator is: its model name, the model code and power bit
// it answers to identification, its bands, and the type code of its
// information record. The simulator's own table, not the program's.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace vb420::sim {

struct SimModel {
  const char* name;
  const char* code;    // model bytes 0..4
  bool standardPower;  // model byte 6, bit 2
  bool uhf;            // 450-520 and 400-470 MHz; otherwise 136-174 MHz
};

inline constexpr SimModel kSimModels[] = {
    {"VT-1600", "M1600", true, false},  {"VT-1600H", "M1600", false, false}, {"VT-1602", "M1602", true, false},
    {"VT-1602H", "M1602", false, false}, {"VT-2600", "M2600", true, true},   {"VT-2600H", "M2600", false, true},
    {"VT-2602", "M2602", true, true},   {"VT-2602H", "M2602", false, true},  {"VT-1400", "P1400", true, false},
    {"VT-2400", "P2400", true, true},
};

// Band codes (model byte 5).
constexpr uint8_t kBandVhf = 0x04;      // 136-174 MHz
constexpr uint8_t kBandUhfHigh = 0x06;  // 450-520 MHz
constexpr uint8_t kBandUhfLow = 0x07;   // 400-470 MHz

inline const SimModel* SimModelNamed(const std::string& name) {
  for (const SimModel& m : kSimModels)
    if (name == m.name) return &m;
  return nullptr;
}

inline const SimModel* SimModelOf(const std::array<uint8_t, 8>& bytes) {
  const bool standard = (bytes[6] & 0x04) != 0;
  for (const SimModel& m : kSimModels)
    if (std::memcmp(bytes.data(), m.code, 5) == 0 && m.standardPower == standard) return &m;
  return nullptr;
}

// "136-174" or "136-174 MHz" and so on; 0 when it is no band.
inline uint8_t SimBandOf(const std::string& text) {
  const std::string t = text.size() > 4 && text.compare(text.size() - 4, 4, " MHz") == 0 ? text.substr(0, text.size() - 4)
                                                                                          : text;
  if (t == "136-174") return kBandVhf;
  if (t == "450-520") return kBandUhfHigh;
  if (t == "400-470") return kBandUhfLow;
  return 0;
}

inline bool SimModelHasBand(const SimModel& m, uint8_t band) {
  return m.uhf ? band == kBandUhfHigh || band == kBandUhfLow : band == kBandVhf;
}

// The type code of the information record: the 400-470 MHz radios are the K2
// variant of their model, all others K.
inline const char* SimTypeCode(uint8_t band) { return band == kBandUhfLow ? "K2" : "K"; }

}  // namespace vb420::sim
