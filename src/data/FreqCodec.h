// SPDX-License-Identifier: GPL-3.0-or-later
// Frequencies: 4-byte packed BCD in units of 10 Hz (byte 3 most significant)
// with a step code beside each one, checked against the model's band.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/Bytes.h"

namespace vb420 {

// Channel steps by step-code index ('0' + index is the stored code).
constexpr int kStepHz[8] = {1250, 2500, 5000, 6250, 7500, 10000, 12500, 15000};

class CFreqCodec {
 public:
  virtual ~CFreqCodec() = default;

  // Fine step (1250 Hz on VHF) comes from the "step" start-up switch.
  void SetFineStep(bool on) { fineStep_ = on; }
  bool FineStep() const { return fineStep_; }
  // Texts shown to the user use this separator; typed texts may use it or ".".
  void SetDecimalSeparator(char sep) { decimalSeparator_ = sep; }
  char DecimalSeparator() const { return decimalSeparator_; }

  // Limits in MHz and band (0 VHF, 1 UHF) of the current model.
  void SetBand(double lower, double upper, int band);
  double Lower() const { return lower_; }
  double Upper() const { return upper_; }
  int Band() const { return band_; }

  // Text in MHz to a frequency field; returns the step code ('0'..'7') or -1
  // for an empty or zero text (the field is then left untouched).
  int EncodeFreq(const std::string& text, uint8_t out4[4], int band, bool portable) const;
  // Checks the text against the band: 1 inside (or empty), 0 outside. A value
  // beyond the clamping window is replaced by the nearer limit. A non-empty
  // text is rewritten as "%.5f" (with "." as separator).
  int CheckFreq(std::string& text) const;
  // Frequency field to display text; `out` is untouched when the field is empty.
  void FreqToText(const uint8_t in4[4], std::string& out) const;
  // The same, always with "." (files, the command line).
  static void FreqToPlainText(const uint8_t in4[4], std::string& out);

  // Frequency in Hz of a stored field, 0 when empty or not decimal.
  static uint32_t FieldToHz(const uint8_t in4[4]);
  static void HzToField(uint32_t hz, uint8_t out4[4]);
  static bool IsEmptyField(const uint8_t in4[4]);

 private:
  bool fineStep_ = false;
  char decimalSeparator_ = '.';
  double lower_ = 136.0;
  double upper_ = 174.0;
  int band_ = 0;
};

// A table of 10-byte frequency-pair slots in the image: receive (4 bytes),
// transmit (4 bytes), their two step codes. Used by the test-frequency table
// (16 slots at 0x8C0) and the tuning-frequency table (5 slots at 0x960).
class CFreqPairTable {
 public:
  CFreqPairTable(ByteArea image, size_t offset, int slotCount, const CFreqCodec& codec,
                 std::function<int()> bandOf, std::function<bool()> portable)
      : image_(image), offset_(offset), slots_(slotCount), codec_(codec),
        bandOf_(std::move(bandOf)), portable_(std::move(portable)) {}

  // which: 0 first (receive), 1 second (transmit). Returns 1 stored, -1 stored
  // but out of range, 0 cleared (an empty text clears the whole slot).
  int StorePairFreq(int slot, int which, const std::string& text);
  void PairFreqToText(int slot, int which, std::string& out) const;
  bool IsPairFreqSet(int slot, int which) const;
  // Re-encodes every frequency so that the step codes fit the current model.
  void RecodeAllPairs();
  // 1 when any slot has a first frequency; otherwise calls `loadDefaults`
  // (when given) and returns 0.
  int AnyPairSet(const std::function<void()>& loadDefaults = {});
  int Slots() const { return slots_; }

 private:
  ByteArea image_;
  size_t offset_;
  int slots_;
  const CFreqCodec& codec_;
  std::function<int()> bandOf_;
  std::function<bool()> portable_;
};

}  // namespace vb420
