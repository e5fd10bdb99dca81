// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/WriteSession.h"

#include <cstdio>
#include <memory>

#include "data/NewImage.h"
#include "lang/TextTable.h"
#include "link/Backups.h"
#include "link/RadioInfoSession.h"
#include "link/StopRequest.h"

namespace vb420 {

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
    // The first 16 bytes of the piece hold the message password, which
    // stays the radio's own.
    p.offset = static_cast<int>(ext::kAfterMessagePassword);
    p.length = static_cast<int>(ext::kMessagePasswordLength + kExtPieceSize - ext::kAfterMessagePassword);
  }
  return p;
}

bool VerifiedImageByte(size_t offset) {
  return offset < kImageSize && !(offset >= img::kModelBytes && offset < img::kModelBytes + 8);
}

bool VerifiedExtByte(size_t offset) {
  if (offset >= kExtSize) return false;
  const ExtPiece p = WritePieceOf(static_cast<int>(offset / kExtPieceSize));
  return p.sent && offset >= static_cast<size_t>(p.offset) && offset < static_cast<size_t>(p.offset + p.length);
}

std::vector<ByteRange> CompareReadBack(const uint8_t* sentImage, const uint8_t* sentExt, const uint8_t* image,
                                       const uint8_t* ext) {
  std::vector<ByteRange> out;
  const auto scan = [&out](bool isExt, const uint8_t* sent, const uint8_t* got, size_t size, bool (*held)(size_t)) {
    for (size_t i = 0; i < size; ++i) {
      if (!held(i) || sent[i] == got[i]) continue;
      if (!out.empty() && out.back().ext == isExt && out.back().last + 1 == i) out.back().last = i;
      else out.push_back({isExt, i, i});
    }
  };
  scan(false, sentImage, image, kImageSize, VerifiedImageByte);
  scan(true, sentExt, ext, kExtSize, VerifiedExtByte);
  return out;
}

std::string RangesText(const std::vector<ByteRange>& ranges, size_t shown) {
  std::string s;
  char buf[40];
  for (size_t i = 0; i < ranges.size() && i < shown; ++i) {
    const ByteRange& r = ranges[i];
    if (r.first == r.last) std::snprintf(buf, sizeof buf, "%s0x%04zX", r.ext ? "ext " : "", r.first);
    else std::snprintf(buf, sizeof buf, "%s0x%04zX-0x%04zX", r.ext ? "ext " : "", r.first, r.last);
    if (!s.empty()) s += ", ";
    s += buf;
  }
  if (ranges.size() > shown) s += " (+" + std::to_string(ranges.size() - shown) + ")";
  return s;
}

void WriteSession::Step(int done) {
  if (cb_.progress) cb_.progress(stepBase_ + done, TotalSteps());
}

TransferResult WriteSession::Run() {
  constexpr LinkResult kOk = LinkResult::kOk;
  constexpr TransferResult kFailed = TransferResult::kFailed;
  link_.SetBlockSize(kBlockSize);
  stepBase_ = 0;
  verified_ = VerifyOutcome::kNotRun;
  differences_.clear();
  writtenBackup_.clear();
  radioBackup_.clear();
  readUnlocked_ = false;
  Step(0);
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
  // The serial number names the backups and finds a fleet radio's identity.
  if ((!backupFolder_.empty() || prepare_) && session::QuerySerial(link_, prompter_, cb_, serial_) != kOk) return kFailed;
  if (prepare_ && !prepare_(serial_)) {
    link_.GiveUp();
    return kFailed;
  }
  // Bit 1 of model byte 6 is clear while the radio's overwrite password is set.
  if ((radio_[6] & 0x02) == 0 && session::PasswordRound(link_, prompter_, cb_, false, {}, {}) != kOk)
    return kFailed;

  if (readFirst_) {
    if (ReadRadioFirst() != kOk) return kFailed;
    stepBase_ += kTransferSteps;
  }

  // The radio learns which program wrote it.
  ByteArea work = data_.Image();
  static const uint8_t kMagic[7] = {'V', 'B', '4', '2', '0', 0, 0};
  work.write(img::kIdentBlock, kMagic, sizeof kMagic);
  work.writeText(img::kVersion, kVersionString, 5);
  work.writeText(img::kProgramId, kProgramIdentification, 12);

  // What goes into the radio is kept too, under the radio's serial number;
  // a backup that fails is told but does not stop the write.
  if (!backupFolder_.empty()) {
    std::string error;
    writtenBackup_ = SaveBackup(data_, backupFolder_, BackupKind::kWritten, serial_, error);
    if (writtenBackup_.empty()) prompter_.ShowBackupFailed(msg::kWrittenBackupFailed, error);
  }

  if (TransferAll() != kOk) return kFailed;
  stepBase_ += kTransferSteps;

  if (verify_) {
    if (ReadBack() != kOk) {
      verified_ = VerifyOutcome::kNotFinished;
      return kFailed;
    }
    if (verified_ == VerifyOutcome::kDiffers) {
      // The radio does not hold what was sent: end the conversation and say
      // where; the write has failed.
      link_.GiveUp();
      prompter_.ShowVerifyFailed(RangesText(differences_));
      return kFailed;
    }
    stepBase_ += kTransferSteps;
  }

  if (adjustTime_ && !data_.model.IsSecondGen() && link_.DateStampWithRetry(prompter_, cb_.pump) != kOk)
    return kFailed;

  stepBase_ = 0;
  Step(TotalSteps());
  Pump(cb_);
  return session::Finish(link_);
}

LinkResult WriteSession::UnlockReading() {
  // Bit 0 of model byte 6 is clear while the radio's read password is set;
  // the radio then gives out nothing but its message block until it is told.
  if (readUnlocked_ || (radio_[6] & 0x01) != 0) return LinkResult::kOk;
  if (session::PasswordRound(link_, prompter_, cb_, true, {}, {}) != LinkResult::kOk) return LinkResult::kFailed;
  readUnlocked_ = true;
  return LinkResult::kOk;
}

LinkResult WriteSession::ReadRadioFirst() {
  if (UnlockReading() != LinkResult::kOk) return LinkResult::kFailed;
  auto before = std::make_unique<RadioData>();
  if (session::ReadMemory(link_, prompter_, cb_, before->buffers.ScratchImage().ptr(0, kImageSize),
                          before->buffers.ScratchExt().ptr(0, kExtSize), [this](int k) { Step(k); }) !=
      LinkResult::kOk)
    return LinkResult::kFailed;
  before->buffers.AcceptScratch();
  // Kept as a read keeps it: the radio's identity, without the message
  // password.
  before->Image().write(img::kModelBytes, radio_.data(), radio_.size());
  before->Ext().fill(ext::kMessagePasswordLength, 7, 0xFF);
  std::string error;
  const std::string folder = backupFolder_;
  if (!folder.empty()) radioBackup_ = SaveBackup(*before, folder, BackupKind::kRadio, serial_, error);
  else error = "no folder for backups";
  if (radioBackup_.empty()) {
    // The user asked for the radio's programming to be kept before it is
    // overwritten: without it, nothing is written.
    link_.GiveUp();
    prompter_.ShowBackupFailed(msg::kRadioBackupFailed, error);
    return LinkResult::kFailed;
  }
  return LinkResult::kOk;
}

LinkResult WriteSession::ReadBack() {
  if (UnlockReading() != LinkResult::kOk) return LinkResult::kFailed;
  auto back = std::make_unique<MemoryBuffers>();
  uint8_t* image = back->ScratchImage().ptr(0, kImageSize);
  uint8_t* ext = back->ScratchExt().ptr(0, kExtSize);
  if (session::ReadMemory(link_, prompter_, cb_, image, ext, [this](int k) { Step(k); }) != LinkResult::kOk)
    return LinkResult::kFailed;
  differences_ = CompareReadBack(data_.Image().ptr(0, kImageSize), data_.Ext().ptr(0, kExtSize), image, ext);
  verified_ = differences_.empty() ? VerifyOutcome::kVerified : VerifyOutcome::kDiffers;
  return LinkResult::kOk;
}

LinkResult WriteSession::StopWriting(bool anyWritten) {
  // The user will not wait for the rest (a signal, the program quitting):
  // the radio waits between two blocks, so ending program mode there leaves
  // it able to be written again, and the user is told what it holds now.
  link_.GiveUp();
  partlyWritten_ = anyWritten;
  if (anyWritten) prompter_.ShowPartlyWritten();
  return LinkResult::kFailed;
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
      if (StopRequested()) return StopWriting(n > 0);
      Step(n + 1);
      failed = link_.BlockWrite(image.ptr(static_cast<size_t>(n) * kBlockSize, kBlockSize), n) != LinkResult::kOk;
    }
    for (int i = 0; i < kExtPieceCount && !failed; ++i) {
      Pump(cb_);
      if (StopRequested()) return StopWriting(true);
      Step(kBlockCount + 1 + i);
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
