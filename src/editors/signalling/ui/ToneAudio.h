// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's audio output for the alert-tone test. It is built as a
// module of its own (vb420audio), loaded the first time the test window
// opens: linked into the program, Qt's audio library and the sound
// server's libraries it brings cost every start a tenth of its time and
// memory, for a window most sessions never open.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class QObject;

namespace vb420 {

class ToneAudioOutput {
 public:
  virtual ~ToneAudioOutput() = default;
  // False when the computer has no output for the test's format.
  virtual bool HasAudio() const = 0;
  // On the window's thread, around a test.
  virtual void Begin() = 0;
  virtual void End() = 0;
  // Queues samples for the device (the player's worker thread).
  virtual void Push(const std::vector<int16_t>& samples) = 0;
  // Drops what is queued (any thread).
  virtual void Clear() = 0;
};

// An output whose Qt objects belong to `owner`; null when the module is not
// installed. The module stays loaded once loaded.
std::unique_ptr<ToneAudioOutput> MakeToneAudioOutput(QObject* owner);

}  // namespace vb420

// The one function the module exports.
extern "C" {
using Vb420MakeToneAudioOutput = vb420::ToneAudioOutput* (*)(QObject* owner);
}
#define VB420_TONE_AUDIO_ENTRY "vb420_make_tone_audio_output"
