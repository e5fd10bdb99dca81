// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the password-protected message (two 32-character lines at
// extension offsets 0x600 and 0x620) into a connected radio, on its own, from
// the editor window or the command line. Nothing else of the radio's memory
// is touched, and the image and extension area are only read.
#pragma once

#include "data/MemoryBuffers.h"
#include "link/Session.h"

namespace vb420 {

// Text entries of the message write.
namespace msg {
constexpr int kMessageWritten = 318;       // notice at the end
constexpr int kMessageEndFailed = 317;     // ending the conversation failed
constexpr int kWriteMessageQuestion = 320; // OK/Cancel before writing
constexpr int kMessagePasswordCaption = 349;
}  // namespace msg

constexpr size_t kMessageAreaOffset = ext::kMessageLine1;
constexpr int kMessageAreaLength = 64;

enum class MessageWriteResult : int {
  kWritten = 0,    // written, program mode ended, port closed
  kFailed = 1,     // failed or cancelled; its message has been shown
  kEndFailed = 2,  // written, but ending program mode or closing failed
};

class MessageWriteSession {
 public:
  MessageWriteSession(RadioLink& link, const ByteArea& ext, Prompter& prompter, SessionCallbacks cb = {})
      : link_(link), ext_(ext), prompter_(prompter), cb_(std::move(cb)) {}

  // The whole conversation, repeated while a silent radio is answered with
  // Retry; shows 318 or 317 at the end of a write.
  [[nodiscard]] MessageWriteResult Run();

 private:
  enum class Step { kDone, kFailed, kAgain };
  Step Once(MessageWriteResult& result);

  RadioLink& link_;
  ByteArea ext_;
  Prompter& prompter_;
  SessionCallbacks cb_;
};

}  // namespace vb420
