// SPDX-License-Identifier: GPL-3.0-or-later
// What every radio conversation of the Program and Tool menus shares: the
// callbacks it runs between steps, its result codes and the opening of the
// port.
#pragma once

#include <functional>
#include <string>

#include "link/Prompter.h"
#include "link/RadioLink.h"
#include "link/StopRequest.h"

namespace vb420 {

class TextTable;

// A whole transfer: 192 blocks of the main memory, then 72 pieces of the
// extension area.
constexpr int kTransferSteps = kBlockCount + kExtPieceCount;  // 264

enum class TransferResult : int {
  kOk = 0,
  kFailed = 1,     // failed or cancelled; the message has been shown
  kEndFailed = 2,  // the data moved, but ending program mode or closing the port failed
};

// The message to show once a conversation has returned `r`, 0 when there is
// none: success has each dialog's own text, and a failure has been told
// already; a radio left in program mode is told here.
int MessageAfter(TransferResult r);

struct SessionCallbacks {
  PumpFn pump;          // lets the user interface repaint between steps
  ProgressFn progress;  // steps done of kTransferSteps
  // Asked between the blocks of a read: true ends the read there (program
  // mode is ended and the port closed; nothing read is kept). A write never
  // asks: a radio stopped halfway holds a broken programming.
  std::function<bool()> cancelled;
};

namespace session {

inline void Pump(const SessionCallbacks& cb) {
  if (cb.pump) cb.pump();
}
// The user's Cancel, or a stop asked for from outside (a signal, quitting).
inline bool Cancelled(const SessionCallbacks& cb) { return StopRequested() || (cb.cancelled && cb.cancelled()); }
inline void Progress(const SessionCallbacks& cb, int done) {
  if (cb.progress) cb.progress(done, kTransferSteps);
}

// Closes the port and opens it again; when it cannot be opened tells the
// prompter which device and why (`ShowPortOpenFailure`). True when it is open.
[[nodiscard]] bool ReopenPort(RadioLink& link, Prompter& prompter);

// Ends program mode and closes the port at the end of a conversation that
// went well: kOk, or kEndFailed when either step failed.
[[nodiscard]] TransferResult Finish(RadioLink& link);

// The radio's password round for command 0x04 (read) or 0x03 (overwrite):
// asks for the digits, sends them, and counts wrong answers (text entry 276,
// three end it); no answer offers Retry/Cancel (270) and sends the same digits
// again. On giving up it ends program mode and closes the port. kOk
// accepted, kFailed given up.
[[nodiscard]] LinkResult PasswordRound(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb,
                                       bool readPassword, const std::string& line1, const std::string& line2);

// The information record ("URK") with Retry/Cancel (270); `serial` gets the
// radio's serial number (data bytes 16..27, blanks trimmed). Giving up ends
// program mode and closes the port.
[[nodiscard]] LinkResult QuerySerial(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb,
                                     std::string& serial);

// Reads all 192 blocks into `image` (0xC000 bytes) and all 72 extension
// pieces into `ext` (0x1200 bytes); `step(k)` is told before step k (1..264).
// A failure asks Retry/Cancel (270): Retry starts again with block 0, Cancel
// ends program mode, closes the port and answers kFailed.
[[nodiscard]] LinkResult ReadMemory(RadioLink& link, Prompter& prompter, const SessionCallbacks& cb,
                                    uint8_t* image, uint8_t* ext, const std::function<void(int)>& step);

}  // namespace session

// The message for a port that would not open: text entry 269, the device
// (entry 84) and what to do about the reason (86 no permission, 87 absent,
// 285 with 117 busy, 119 with the system's words otherwise). `absentEntry`
// says what to do about a device that is not there: the program points at
// its Communication Port dialog, the command-line tool at its option.
std::string PortOpenFailureText(TextTable& text, const std::string& device, int error,
                                int absentEntry = msg::kPortAbsent);

}  // namespace vb420
