// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the working programming into a radio: the image block by block, the
// extension area piece by piece (without the parts the radio keeps for
// itself), and the date stamp.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/RadioData.h"
#include "link/Session.h"

namespace vb420 {

class TextTable;

// Text entries of the write.
namespace msg {
constexpr int kPasswordWarning2 = 224;
constexpr int kPasswordWarning3 = 225;
}  // namespace msg

// The warning shown before writing data that carry radio passwords: entry
// 223; a line with "695" for the read password; a line with "696", a blank
// line and 224 for the overwrite password; a blank line and 225.
std::string PasswordWarningText(TextTable& text, bool readPassword, bool overwritePassword);

// Where each of the 72 extension pieces goes on a write. The first four
// pieces (the named records the program keeps for itself) and the piece at
// 0x600 are not sent; the piece at 0x640 is sent without the message
// password, as 48 bytes from 0x650.
struct ExtPiece {
  bool sent = false;
  int offset = 0;
  int length = 0;
};
ExtPiece WritePieceOf(int piece);

// A run of bytes that differ between what was written and what the radio
// gave back.
struct ByteRange {
  bool ext = false;  // in the extension area (else the memory image)
  size_t first = 0;
  size_t last = 0;
  bool operator==(const ByteRange&) const = default;
};

// The bytes a read-back is held to: every byte of the memory image but the
// radio's own model bytes (0x120..0x127: the radio keeps its identity, and a
// read puts it there), and every extension byte that the write sends
// (WritePieceOf). Everything else is the radio's to keep or change.
bool VerifiedImageByte(size_t offset);
bool VerifiedExtByte(size_t offset);

// The runs where `image`/`ext` read back from the radio differ from what was
// sent (`sentImage`, `sentExt`), in address order, image first.
std::vector<ByteRange> CompareReadBack(const uint8_t* sentImage, const uint8_t* sentExt, const uint8_t* image,
                                       const uint8_t* ext);

// "0x3010-0x301F, ext 0x0200" for the first `shown` runs, then "(+N)".
std::string RangesText(const std::vector<ByteRange>& ranges, size_t shown = 12);

// How the read-back after a write went.
enum class VerifyOutcome {
  kNotRun,       // switched off, or the write did not get that far
  kVerified,     // every byte sent is in the radio
  kDiffers,      // the radio holds other bytes: the write failed
  kNotFinished,  // the read-back was given up
};

class WriteSession {
 public:
  WriteSession(RadioLink& link, RadioData& data, Prompter& prompter, SessionCallbacks cb = {})
      : link_(link), data_(data), prompter_(prompter), cb_(std::move(cb)) {}

  // "Adjust Time": send the date stamp at the end (never on second-generation
  // models).
  void SetAdjustTime(bool on) { adjustTime_ = on; }
  // Where the backups go: the programming as written (always, once a folder
  // is set) and, with SetReadFirst, what the radio held before. "" keeps none.
  void SetBackupFolder(std::string folder) { backupFolder_ = std::move(folder); }
  // Reads the radio's own programming and keeps it in the backups folder
  // before anything is written; when it cannot be kept nothing is written.
  void SetReadFirst(bool on) { readFirst_ = on; }
  // Reads the radio back after the write and compares every byte sent.
  void SetVerify(bool on) { verify_ = on; }
  // Called once the radio is identified and its serial number is known,
  // before anything is read or written: may change the programming about to
  // be written (a fleet gives each radio its own identity). False gives up:
  // program mode is ended and nothing is written.
  using PrepareFn = std::function<bool(const std::string& serial)>;
  void SetPrepare(PrepareFn fn) { prepare_ = std::move(fn); }

  // Steps of the whole conversation: 264 for the write, as many again for
  // the read before and for the read-back.
  int TotalSteps() const { return kTransferSteps * (1 + (readFirst_ ? 1 : 0) + (verify_ ? 1 : 0)); }

  // The whole conversation.
  [[nodiscard]] TransferResult Run();

  const ModelBytes& RadioModel() const { return radio_; }
  // True after a write that began sending the memory and did not finish:
  // the radio then holds part old, part new programming.
  bool PartlyWritten() const { return partlyWritten_; }
  // The radio's serial number from its information record ("" before it was
  // asked, or when there was no reason to ask).
  const std::string& SerialNumber() const { return serial_; }
  VerifyOutcome Verified() const { return verified_; }
  const std::vector<ByteRange>& Differences() const { return differences_; }
  // The backups this write kept ("" when none).
  const std::string& WrittenBackup() const { return writtenBackup_; }
  const std::string& RadioBackup() const { return radioBackup_; }

 private:
  LinkResult TransferAll();
  // Ends the write between two blocks on a stop request.
  LinkResult StopWriting(bool anyWritten);
  // The read password, once, before the first read of a radio that has one.
  LinkResult UnlockReading();
  LinkResult ReadRadioFirst();
  LinkResult ReadBack();
  void Step(int done);

  RadioLink& link_;
  RadioData& data_;
  Prompter& prompter_;
  SessionCallbacks cb_;
  bool adjustTime_ = true;
  bool readFirst_ = false;
  bool verify_ = false;
  bool readUnlocked_ = false;
  bool partlyWritten_ = false;
  int stepBase_ = 0;
  std::string backupFolder_;
  PrepareFn prepare_;
  ModelBytes radio_{};
  std::string serial_;
  VerifyOutcome verified_ = VerifyOutcome::kNotRun;
  std::vector<ByteRange> differences_;
  std::string writtenBackup_;
  std::string radioBackup_;
};

}  // namespace vb420
