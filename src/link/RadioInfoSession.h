// SPDX-License-Identifier: GPL-3.0-or-later
// Radio Information: the identity of a connected radio, read in one
// conversation without touching the memory image.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/ModelRecord.h"
#include "link/Session.h"

namespace vb420 {

struct RadioInfo {
  ModelBytes model{};
  std::array<uint8_t, 32> record{};   // the information record's data bytes
  uint16_t checksum = 0;              // firmware checksum
  std::array<uint8_t, 10> version{};  // version record
  std::array<uint8_t, 12> passport{}; // PassPort version text
  bool hasPassport = false;           // the radio answered the PassPort query
};

// The six lines of the Radio Information dialog, each "  %s".
struct RadioInfoLines {
  std::string modelType;     // "  name:type"
  std::string frequency;     // band text of the model name and type code
  std::string serialNumber;
  std::string version;
  std::string checksum;      // four upper-case hexadecimal digits
  std::string passport;      // empty when the radio did not answer
};
RadioInfoLines FormatRadioInfo(const RadioInfo& info);

// Bytes of a text field with every 0xFF shown as a blank; `trimRight` drops
// trailing blanks. A zero byte ends the text.
std::string FieldText(const uint8_t* bytes, size_t n, bool trimRight);

class RadioInfoSession {
 public:
  RadioInfoSession(RadioLink& link, Prompter& prompter, SessionCallbacks cb = {})
      : link_(link), prompter_(prompter), cb_(std::move(cb)) {}

  // 0 when everything was read (show the dialog), 1 failed or cancelled,
  // 2 read but ending program mode or closing the port failed.
  [[nodiscard]] TransferResult Run();
  const RadioInfo& Info() const { return info_; }

 private:
  RadioLink& link_;
  Prompter& prompter_;
  SessionCallbacks cb_;
  RadioInfo info_;
};

}  // namespace vb420
