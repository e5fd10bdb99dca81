// Writing the working programming into a radio: the image block by block, the
// extension area piece by piece (without the parts the radio keeps for
// itself), and the date stamp.
#pragma once

#include <string>

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

class WriteSession {
 public:
  WriteSession(RadioLink& link, RadioData& data, Prompter& prompter, SessionCallbacks cb = {})
      : link_(link), data_(data), prompter_(prompter), cb_(std::move(cb)) {}

  // "Adjust Time": send the date stamp at the end (never on second-generation
  // models).
  void SetAdjustTime(bool on) { adjustTime_ = on; }

  // The whole conversation.
  [[nodiscard]] TransferResult Run();

  const ModelBytes& RadioModel() const { return radio_; }
  // True after a write that began sending the memory and did not finish:
  // the radio then holds part old, part new programming.
  bool PartlyWritten() const { return partlyWritten_; }

 private:
  LinkResult TransferAll();

  RadioLink& link_;
  RadioData& data_;
  Prompter& prompter_;
  SessionCallbacks cb_;
  bool adjustTime_ = true;
  bool partlyWritten_ = false;
  ModelBytes radio_{};
};

}  // namespace vb420
