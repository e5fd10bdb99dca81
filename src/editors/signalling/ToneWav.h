// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering alert tones as sound: 16-bit mono samples of a sine per step,
// and the WAV file that `vb420cli tone` writes from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editors/signalling/TonePlayer.h"

namespace vb420 {

constexpr int kToneSampleRate = 44100;

// Appends `ms` of a sine of `hz` (0: silence) to `out`. The first and last
// millisecond are faded so that a step does not click; the phase starts at 0
// in every step.
void AppendToneSamples(std::vector<int16_t>& out, int hz, int ms, int sampleRate = kToneSampleRate);

// A sink that renders into memory as fast as it can (no waiting).
class SampleSink : public ToneSink {
 public:
  void Tone(int hz, int ms, StopSignal& stop) override;
  void Silence(int ms, StopSignal& stop) override;
  const std::vector<int16_t>& Samples() const { return samples_; }

 private:
  std::vector<int16_t> samples_;
};

// The bytes of a 16-bit mono PCM WAV file.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int sampleRate = kToneSampleRate);
// Writes them; false when the file cannot be written (`error` says why).
bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, std::string& error);

}  // namespace vb420
