// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ReadSession.h"

namespace vb420 {

using session::Progress;
using session::Pump;

namespace {
constexpr int kMessageBlock = 9;
constexpr size_t kMessageLineWidth = 32;
}  // namespace

std::string ReadSession::MessageLine(ByteArea image, size_t offset) {
  std::string line;
  for (size_t i = 0; i < kMessageLineWidth; ++i) {
    const uint8_t c = image.u8(offset + i);
    if (c == 0xFF || c == 0x00) break;
    line.push_back(static_cast<char>(c));
  }
  return line;
}

TransferResult ReadSession::Run() {
  constexpr LinkResult kOk = LinkResult::kOk;
  link_.SetBlockSize(kBlockSize);
  Pump(cb_);
  if (!session::ReopenPort(link_, prompter_)) return TransferResult::kFailed;
  if (link_.EnterProgramModeWithRetry(prompter_, cb_.pump) != kOk) return TransferResult::kFailed;
  if (link_.IdentifyForRead(prompter_, cb_.pump, radio_) != kOk) return TransferResult::kFailed;
  std::array<uint8_t, 10> version{};
  if (link_.VersionQueryWithRetry(prompter_, cb_.pump, version) != kOk) return TransferResult::kFailed;
  if (querySerial_ && session::QuerySerial(link_, prompter_, cb_, serial_) != kOk) return TransferResult::kFailed;
  // Bit 0 of model byte 6 is clear while the radio's read password is set.
  if ((radio_[6] & 0x01) == 0 && ReadPassword() != kOk) return TransferResult::kFailed;
  if (TransferAll() != kOk) return TransferResult::kFailed;

  Progress(cb_, kTransferSteps);
  Pump(cb_);
  const TransferResult result = session::Finish(link_);

  ByteArea image = buffers_.ScratchImage();
  image.write(img::kModelBytes, radio_.data(), radio_.size());
  // The message password the radio keeps is never taken over from a radio.
  buffers_.ScratchExt().fill(ext::kMessagePasswordLength, 7, 0xFF);
  return result;
}

LinkResult ReadSession::ReadPassword() {
  ByteArea image = buffers_.ScratchImage();
  uint8_t* block = image.ptr(static_cast<size_t>(kMessageBlock) * kBlockSize, kBlockSize);
  for (;;) {
    Pump(cb_);
    if (link_.BlockRead(block, kMessageBlock) == BlockReadResult::kOk) break;
    if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
      link_.GiveUp();
      return LinkResult::kFailed;
    }
  }
  return session::PasswordRound(link_, prompter_, cb_, true, MessageLine(image, img::kEmbeddedMessage),
                                MessageLine(image, img::kEmbeddedMessageLine2));
}

LinkResult ReadSession::Stop() {
  // Between two blocks the radio waits for the next command: ending program
  // mode there leaves it exactly as it was.
  link_.GiveUp();
  cancelled_ = true;
  return LinkResult::kFailed;
}

LinkResult ReadSession::TransferAll() {
  ByteArea image = buffers_.ScratchImage();
  ByteArea extArea = buffers_.ScratchExt();
  for (;;) {
    link_.SetBlockSize(kBlockSize);
    Progress(cb_, 0);
    bool failed = false;
    for (int n = 0; n < kBlockCount && !failed; ++n) {
      Pump(cb_);
      if (session::Cancelled(cb_)) return Stop();
      Progress(cb_, n + 1);
      failed =
          link_.BlockRead(image.ptr(static_cast<size_t>(n) * kBlockSize, kBlockSize), n) != BlockReadResult::kOk;
    }
    for (int i = 0; i < kExtPieceCount && !failed; ++i) {
      Pump(cb_);
      if (session::Cancelled(cb_)) return Stop();
      Progress(cb_, kBlockCount + 1 + i);
      const int offset = i * kExtPieceSize;
      failed = link_.AreaRead(extArea.ptr(static_cast<size_t>(offset), kExtPieceSize), offset, kExtPieceSize) !=
               LinkResult::kOk;
    }
    if (!failed) return LinkResult::kOk;
    if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
      link_.GiveUp();
      return LinkResult::kFailed;
    }
  }
}

}  // namespace vb420
