// SPDX-License-Identifier: GPL-3.0-or-later
// What a radio conversation asks the person at the keyboard. The desktop
// program answers with message boxes, the command-line tool with its flags,
// and the tests with scripted answers. Messages are named by text entry.
#pragma once

#include <array>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>

namespace vb420 {

// Text entries used by the radio conversations.
namespace msg {
constexpr int kRadioCaption = 265;      // caption of every radio message
constexpr int kWarningCaption = 266;    // caption of the model-difference warning
constexpr int kPortNotOpened = 269;     // error, OK only
constexpr int kCommFailed = 270;        // Retry/Cancel
constexpr int kModelNotSupported = 271; // Retry/Cancel
constexpr int kTestChannelsDiffer = 272;
constexpr int kTestModelDiffers = 273;
constexpr int kModelDiffers = 274;      // warning, OK/Cancel
constexpr int kWrongPassword = 276;
constexpr int kPasswordWarning = 223;   // OK/Cancel, followed by 695/696, 224, 225
constexpr int kPortBusy = 285;         // error, OK only; "%s" is the device
constexpr int kPortDevice = 84;        // "Device: %s", under 269
constexpr int kPortNoPermission = 86;  // what to do when the user may not open the device
constexpr int kPortAbsent = 87;        // what to do when the device is not there
constexpr int kPortBusyWhy = 117;      // who else may hold a USB serial adapter
constexpr int kPortSystemSays = 119;   // "%s" is the system's own words
constexpr int kPlatformCode = 294;      // error, OK only
constexpr int kTuningDiffers = 324;
constexpr int kTestModeNotEnded = 1329;  // error: the radio may still be in test mode, transmitting
constexpr int kPartlyWritten = 289;     // the radio holds a partly written programming
constexpr int kPartlyWrittenWhatNow = 290;  // write again or write a backup; "%s" is the backups folder
constexpr int kReadFirstBox = 221;        // Write dialog: read and keep the radio's programming first
constexpr int kVerifyBox = 227;           // Write dialog: read back and compare
constexpr int kRadioBackupFailed = 240;   // error: the radio's programming could not be kept; "%s" why
constexpr int kVerifyFailed = 241;        // error: the read-back differs; "%s" the addresses
constexpr int kWrittenBackupFailed = 242; // warning: the written programming could not be kept; "%s" why
constexpr int kWrittenAndVerified = 246;  // information: written and verified
constexpr int kReadPasswordLabel = 695;
constexpr int kOverwritePasswordLabel = 696;
}  // namespace msg

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Retry/Cancel with an error icon; true for Retry.
  virtual bool AskRetryCancel(int textEntry) = 0;
  // OK/Cancel with a warning icon; true for OK.
  virtual bool AskOkCancel(int textEntry) = 0;
  // An error box with OK only.
  virtual void ShowError(int textEntry) = 0;
  // The port is held by another program: text entry 285 naming the device.
  virtual void ShowPortBusy(const std::string& device) = 0;
  // The port could not be opened: `error` is the system's error number.
  // Answers that know the text table show PortOpenFailureText (Session.h).
  virtual void ShowPortOpenFailure(const std::string& device, int error) {
    if (error == EBUSY) ShowPortBusy(device);
    else ShowError(msg::kPortNotOpened);
  }
  // A write given up after it had begun to change the radio's memory: text
  // entries 289 and 290 (what to do now, naming the backups folder).
  virtual void ShowPartlyWritten() = 0;
  // A backup that could not be kept: `entry` 240 (the write stops) or 242
  // (the write goes on), with the reason (path and system error).
  virtual void ShowBackupFailed(int entry, const std::string& why) { ShowError(entry); }
  // The read-back after a write differs from what was sent: text entry 241
  // with the addresses (RangesText in link/WriteSession.h).
  virtual void ShowVerifyFailed(const std::string& ranges) { ShowError(msg::kVerifyFailed); }
  // A write refused because the radio is another model than the data (or
  // one this program does not know): text entry 271; a window names both.
  virtual void ShowWriteModelMismatch(const std::array<uint8_t, 8>& radio, const std::array<uint8_t, 8>& data) {
    (void)radio;
    (void)data;
    ShowError(msg::kModelNotSupported);
  }
  // The radio is another model of the same kind as the data (text entry
  // 274, OK writes anyway); a window names both. True for OK.
  virtual bool ConfirmModelDiffers(const std::array<uint8_t, 8>& radio, const std::array<uint8_t, 8>& data) {
    (void)radio;
    (void)data;
    return AskOkCancel(msg::kModelDiffers);
  }
  // An information box with OK only (the success of a transfer).
  virtual void ShowInformation(int textEntry) = 0;
  // The same under the caption of text entry `captionEntry` (a conversation
  // that belongs to one window, named by that window's own caption).
  virtual void ShowNotice(int textEntry, int captionEntry) {
    (void)captionEntry;
    ShowInformation(textEntry);
  }
  // The radio-password dialog: label text entry (695 read, 696 write) and,
  // for a read, the two lines of the radio's embedded message. Answers the
  // typed digits (at most 6) in `digits`; false for Cancel.
  virtual bool AskPassword(int labelEntry, const std::string& line1, const std::string& line2,
                           std::string& digits) = 0;
  // The warning before writing data that carry radio passwords: text entry
  // 223, the names of the passwords set, 224 and 225 (see
  // PasswordWarningText in link/WriteSession.h). True for OK.
  virtual bool ConfirmPasswordWrite(bool readPassword, bool overwritePassword) {
    return AskOkCancel(msg::kPasswordWarning);
  }
};

// Lets pending user-interface events run between protocol steps, so that a
// progress display repaints while a transfer blocks the thread.
using PumpFn = std::function<void()>;
// Progress of a transfer: steps done of total.
using ProgressFn = std::function<void(int done, int total)>;

}  // namespace vb420
