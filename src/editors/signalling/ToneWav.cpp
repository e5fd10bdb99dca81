// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/ToneWav.h"

#include "lang/Platform.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

namespace vb420 {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAmplitude = 0.6 * 32767;

void PutU32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

void AppendToneSamples(std::vector<int16_t>& out, int hz, int ms, int sampleRate) {
  if (ms <= 0) return;
  const long n = std::lround(static_cast<double>(ms) * sampleRate / 1000.0);
  if (hz <= 0) {
    out.insert(out.end(), static_cast<size_t>(n), 0);
    return;
  }
  const long fade = std::min<long>(sampleRate / 1000, n / 2);
  out.reserve(out.size() + static_cast<size_t>(n));
  for (long i = 0; i < n; ++i) {
    double g = 1.0;
    if (i < fade) g = static_cast<double>(i) / fade;
    else if (i >= n - fade) g = static_cast<double>(n - 1 - i) / fade;
    const double v = kAmplitude * g * std::sin(2 * kPi * hz * static_cast<double>(i) / sampleRate);
    out.push_back(static_cast<int16_t>(std::lround(v)));
  }
}

void SampleSink::Tone(int hz, int ms, StopSignal& stop) {
  if (!stop.Stopped()) AppendToneSamples(samples_, hz, ms);
}

void SampleSink::Silence(int ms, StopSignal& stop) {
  if (!stop.Stopped()) AppendToneSamples(samples_, 0, ms);
}

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> b;
  b.reserve(44 + dataBytes);
  PutTag(b, "RIFF");
  PutU32(b, 36 + dataBytes);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  PutU32(b, 16);
  PutU16(b, 1);  // PCM
  PutU16(b, 1);  // mono
  PutU32(b, static_cast<uint32_t>(sampleRate));
  PutU32(b, static_cast<uint32_t>(sampleRate) * 2);
  PutU16(b, 2);   // bytes per frame
  PutU16(b, 16);  // bits per sample
  PutTag(b, "data");
  PutU32(b, dataBytes);
  for (int16_t s : samples) PutU16(b, static_cast<uint16_t>(s));
  return b;
}

bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, std::string& error) {
  const std::vector<uint8_t> bytes = WavBytes(samples);
  std::ofstream f(PathOfUtf8(path), std::ios::binary | std::ios::trunc);
  if (!f) {
    error = std::strerror(errno);
    return false;
  }
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  f.close();
  if (!f) {
    error = "write failed";
    return false;
  }
  return true;
}

}  // namespace vb420
