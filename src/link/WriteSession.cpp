#include "link/WriteSession.h"

#include "data/NewImage.h"
#include "lang/TextTable.h"

namespace vb420 {

using session::Progress;
using session::Pump;

std::string PasswordWarningText(TextTable& text, bool readPassword, bool overwritePassword) {
  std::string s = text.Text(msg::kPasswordWarning);
  if (readPassword) s += "\n\"" + text.Text(msg::kReadPasswordLabel) + "\"";
  if (overwritePassword) s += "\n\"" + text.Text(msg::kOverwritePasswordLabel) + "\"\n\n" + text.Text(msg::kPasswordWarning2);
  s += "\n\n" + text.Text(msg::kPasswordWarning3);
  return s;
}

ExtPiece WritePieceOf(int piece) {
  ExtPiece p;
  p.offset = piece * kExtPieceSize;
  p.length = kExtPieceSize;
  if (p.offset < static_cast<int>(kExtBlockOffset) || p.offset == static_cast<int>(ext::kMessageLine1)) return p;
  p.sent = true;
  if (p.offset == static_cast<int>(ext::kMessagePasswordLength)) {
    // 0x640..0x64F hold the message password, which stays the radio's own.
    p.offset = 0x650;
    p.length = 48;
  }
  return p;
}

TransferResult WriteSession::Run() {
  constexpr LinkResult kOk = LinkResult::kOk;
  constexpr TransferResult kFailed = TransferResult::kFailed;
  link_.SetBlockSize(kBlockSize);
  Progress(cb_, 0);
  Pump(cb_);
  const ByteArea image = data_.Image();
  const bool readPw = !image.bit(img::kModelBytes + 6, 0);
  const bool overwritePw = !image.bit(img::kModelBytes + 6, 1);
  if ((readPw || overwritePw) && !prompter_.ConfirmPasswordWrite(readPw, overwritePw)) return kFailed;

  if (!session::ReopenPort(link_, prompter_)) return kFailed;
  if (link_.EnterProgramModeWithRetry(prompter_, cb_.pump) != kOk) return kFailed;
  if (link_.IdentifyForWrite(prompter_, cb_.pump, data_.model, radio_) != kOk) return kFailed;
  std::array<uint8_t, 10> version{};
  if (link_.VersionQueryWithRetry(prompter_, cb_.pump, version) != kOk) return kFailed;
  // Bit 1 of model byte 6 is clear while the radio's overwrite password is set.
  if ((radio_[6] & 0x02) == 0 && session::PasswordRound(link_, prompter_, cb_, false, {}, {}) != kOk)
    return kFailed;

  // The radio learns which program wrote it.
  ByteArea work = data_.Image();
  static const uint8_t kMagic[7] = {'V', 'B', '4', '2', '0', 0, 0};
  work.write(img::kIdentBlock, kMagic, sizeof kMagic);
  work.writeText(img::kVersion, kVersionString, 5);
  work.writeText(img::kProgramId, kProgramIdentification, 12);

  if (TransferAll() != kOk) return kFailed;

  if (adjustTime_ && !data_.model.IsSecondGen() && link_.DateStampWithRetry(prompter_, cb_.pump) != kOk)
    return kFailed;

  Progress(cb_, kTransferSteps);
  Pump(cb_);
  return session::Finish(link_);
}

LinkResult WriteSession::TransferAll() {
  ByteArea image = data_.Image();
  ByteArea extArea = data_.Ext();
  // From the first block on, the radio's programming is no longer what it was.
  partlyWritten_ = true;
  for (;;) {
    link_.SetBlockSize(kBlockSize);
    bool failed = false;
    for (int n = 0; n < kBlockCount && !failed; ++n) {
      Pump(cb_);
      Progress(cb_, n + 1);
      failed = link_.BlockWrite(image.ptr(static_cast<size_t>(n) * kBlockSize, kBlockSize), n) != LinkResult::kOk;
    }
    for (int i = 0; i < kExtPieceCount && !failed; ++i) {
      Pump(cb_);
      Progress(cb_, kBlockCount + 1 + i);
      const ExtPiece p = WritePieceOf(i);
      if (!p.sent) continue;
      failed = link_.AreaWrite(extArea.ptr(static_cast<size_t>(p.offset), static_cast<size_t>(p.length)), p.offset,
                               p.length) != LinkResult::kOk;
    }
    if (!failed) {
      partlyWritten_ = false;
      return LinkResult::kOk;
    }
    if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
      link_.GiveUp();
      // Leaving it there would leave a radio that may not work: say so, and
      // what puts it right.
      prompter_.ShowPartlyWritten();
      return LinkResult::kFailed;
    }
  }
}

}  // namespace vb420
