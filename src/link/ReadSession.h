// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a whole programming out of a radio into the scratch copy. The
// working buffers are never touched: whoever runs the session accepts the
// scratch copy only after it returned kTransferOk.
#pragma once

#include <string>

#include "data/MemoryBuffers.h"
#include "data/ModelRecord.h"
#include "link/Session.h"

namespace vb420 {

class ReadSession {
 public:
  ReadSession(RadioLink& link, MemoryBuffers& buffers, Prompter& prompter, SessionCallbacks cb = {})
      : link_(link), buffers_(buffers), prompter_(prompter), cb_(std::move(cb)) {}

  // Also asks the radio's information record, for its serial number.
  void SetQuerySerial(bool on) { querySerial_ = on; }

  // The whole conversation.
  [[nodiscard]] TransferResult Run();
  // The serial number, when it was asked.
  const std::string& SerialNumber() const { return serial_; }

  // The radio's answer to the identification (valid once identified).
  const ModelBytes& RadioModel() const { return radio_; }

  // The two lines of the embedded message in block 9 (image 0x9A0 and 0x9C0,
  // 32 characters each, a 0xFF byte ends a line).
  static std::string MessageLine(ByteArea image, size_t offset);

  // The user stopped the read between two blocks (the result is kFailed,
  // with no message: nothing went wrong).
  bool Cancelled() const { return cancelled_; }

 private:
  // Block 9 and the read-password round; kFailed when given up.
  LinkResult ReadPassword();
  // All blocks, then all extension pieces; a failure asked Retry starts over
  // with block 0. kFailed when given up.
  LinkResult TransferAll();
  // Ends the conversation for a cancel between blocks.
  LinkResult Stop();

  RadioLink& link_;
  MemoryBuffers& buffers_;
  Prompter& prompter_;
  SessionCallbacks cb_;
  ModelBytes radio_{};
  bool querySerial_ = false;
  std::string serial_;
  bool cancelled_ = false;
};

}  // namespace vb420
