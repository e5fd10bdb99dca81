// SPDX-License-Identifier: GPL-3.0-or-later
// The programming protocol: every exchange with the radio, byte for byte, on
// top of the serial port, and the retry wrappers that turn a failed exchange
// into the standard Retry/Cancel questions.
//
// Exchanges answer a typed result whose numbers are the protocol's own: 0 for
// success and a positive code for failure (1 unless the type lists others).
// The port is left at 19200 baud after program mode; a new conversation's
// entry sets the rate again for each try.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "data/ModelRecord.h"
#include "link/Prompter.h"
#include "link/SerialPort.h"

namespace vb420 {

namespace ctl {
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kSyn = 0x16;
constexpr uint8_t kDataMarker = 'W';
constexpr uint8_t kRecordMarker = 0x55;
}  // namespace ctl

// Command bytes of program mode.
namespace cmd {
constexpr const char* kEntry = "VB420PP";
constexpr const char* kTestEntry = "TUNING ";
constexpr const char* kInformation = "URK";
constexpr uint8_t kIdentify = 0x02;
constexpr uint8_t kOverwritePassword = 0x03;
constexpr uint8_t kReadPassword = 0x04;
constexpr uint8_t kTechnicianPassword = 0x2D;
constexpr uint8_t kEnd = 'E';
constexpr uint8_t kBlockRead = 'R';
constexpr uint8_t kBlockWrite = 'W';
constexpr uint8_t kBlockFill = 'Z';
constexpr uint8_t kAreaRead = 'S';
constexpr uint8_t kAreaWrite = 'X';
constexpr uint8_t kVersion = 0x50;
constexpr uint8_t kDateStamp = 0x5F;
constexpr uint8_t kFirmwareChecksum = 0x7C;
constexpr uint8_t kPassPortVersion = 0xEC;
}  // namespace cmd

// Test-mode bytes.
namespace testcmd {
constexpr uint8_t kOn = 0x0D;
constexpr uint8_t kOff = 0x0E;
constexpr uint8_t kStepUp = 0x0A;
constexpr uint8_t kStepDown = 0x0B;
constexpr uint8_t kStepsUp = 0x1A;
constexpr uint8_t kStepsDown = 0x1B;
constexpr uint8_t kSet = 0x1C;
constexpr uint8_t kQuery = 0x0C;
constexpr uint8_t kPrefix = 0x21;
constexpr uint8_t kTransmit = 0x08;
constexpr uint8_t kAckSwitch = 0x22;
constexpr uint8_t kPrefixedSet = 0x50;
constexpr uint8_t kMskHigh = 0x86;
constexpr uint8_t kMskLow = 0x85;
constexpr uint8_t kTestChannel = 0x10;
constexpr uint8_t kSignalling = 0x11;
constexpr uint8_t kTestData = 0x05;
constexpr uint8_t kValues = 0x07;
constexpr uint8_t kTuningBlock = 'B';
constexpr size_t kTestDataLength = 149;
constexpr size_t kTuningBlockLength = 40;
constexpr size_t kTestChannelAnswer = 8;
}  // namespace testcmd

// Sizes of the radio's memory as the protocol moves it.
constexpr int kBlockSize = 256;
constexpr int kBlockCount = 192;
constexpr int kExtPieceSize = 64;
constexpr int kExtPieceCount = 72;

// Baud rates tried by program-mode entry, in this order.
constexpr std::array<const char*, 7> kEntryRates = {"9600", "19200", "4800", "2400", "1200", "38400", "57600"};

using Password = std::array<uint8_t, 6>;
using DateStamp = std::array<uint8_t, 6>;

// The typed digits (at most 6) followed by 0x00 up to six bytes; an empty
// entry is six 0xFF bytes. Anything but a digit is left out.
Password PasswordBytes(std::string_view digits);
// Year − 2000 (low 8 bits of year + 0x30), month, day, hour, minute, second.
DateStamp DateStampOf(const std::tm& local);
DateStamp DateStampNow();
// Four upper-case hexadecimal digits, high byte first.
std::string ChecksumText(uint16_t checksum);
// 8-bit sum.
uint8_t Sum8(const uint8_t* data, size_t n);
// Test-mode step encoding: +1 → 0x0A, −1 → 0x0B, n > 1 → 0x1A n, n < −1 →
// 0x1B |n|; 0 → nothing.
std::vector<uint8_t> StepBytes(int step);

// The result of an exchange with the radio and of the retry wrappers: 0
// success, 1 failure (for a wrapper: given up, with program mode ended and
// the port closed).
enum class LinkResult : int { kOk = 0, kFailed = 1 };
constexpr LinkResult OkIf(bool ok) { return ok ? LinkResult::kOk : LinkResult::kFailed; }

// Block read results. Callers treat every one but kOk alike; the numbers say
// where the exchange broke off.
enum class BlockReadResult : int {
  kOk = 0,
  kFailed = 1,       // three attempts failed
  kCmdWrite = 2,     // the 'R' could not be written
  kNumberWrite = 3,  // the block number could not be written
  kAckWrite = 8,     // the closing ACK could not be written
  kNotAcked = 10,    // the radio closed with a byte other than ACK
  kNakWrite = 11,    // the NAK could not be written
  kNakNotAcked = 13, // the radio did not acknowledge our NAK
};

// Password results.
enum class PasswordResult : int { kOk = 0, kNoAnswer = 1, kWrong = 2 };

// What a radio password may hold: digits only, at most six, because that is
// all the radio's password prompts (and this program's password dialogs)
// take; a password with anything else would lock the user out of the radio.
// Every box a radio password is typed into uses this pattern for its
// validator, and every store of one asks RadioPasswordTypable.
inline constexpr const char* kRadioPasswordPattern = "[0-9]{0,6}";
bool RadioPasswordTypable(std::string_view typed);

// How an identified radio fits the programming about to be written.
enum class ModelFit : int {
  kAccepted = 0,  // the same model
  kRefused = 1,   // another model, generation or kind (text entry 271)
  kDiffers = 2,   // it fits, but its model bytes differ from the image's (ask 274)
};

class RadioLink : public SerialPort {
 public:
  RadioLink() = default;

  void SetBlockSize(int n) { blockSize_ = n; }
  int BlockSize() const { return blockSize_; }

  // ---- conversation ---------------------------------------------------
  // Calls the radio at each rate of kEntryRates until it answers SYN and then
  // ACK at 19200.
  [[nodiscard]] LinkResult EnterProgramMode(const PumpFn& pump = {});
  // The 8 model bytes of the radio.
  [[nodiscard]] LinkResult Identify(ModelBytes& out);
  // 'E'; when it is not acknowledged (no answer or another byte), 'E'
  // once more at 9600 baud.
  [[nodiscard]] LinkResult EndProgramMode();
  // Close, open; then 9600 baud and a read time-out of 1500 ms.
  [[nodiscard]] LinkResult OpenForTestMode();
  [[nodiscard]] LinkResult EnterTestMode();

  // ---- memory -----------------------------------------------------------
  // `buffer` holds BlockSize() bytes.
  [[nodiscard]] BlockReadResult BlockRead(uint8_t* buffer, int blockNumber);
  // kOk written, kFailed (three refusals, or at once on a write failure or
  // silence). A block of equal bytes goes as 'Z' and the one byte.
  [[nodiscard]] LinkResult BlockWrite(const uint8_t* buffer, int blockNumber);
  // Extension area, `length` 1..255 bytes at `offset`.
  [[nodiscard]] LinkResult AreaRead(uint8_t* buffer, int offset, int length);
  [[nodiscard]] LinkResult AreaWrite(const uint8_t* buffer, int offset, int length);

  // ---- queries and settings -------------------------------------------
  [[nodiscard]] PasswordResult SendReadPassword(const Password& pw) {
    return SendPassword(cmd::kReadPassword, pw, false);
  }
  [[nodiscard]] PasswordResult SendOverwritePassword(const Password& pw) {
    return SendPassword(cmd::kOverwritePassword, pw, false);
  }
  [[nodiscard]] PasswordResult SendTechnicianPassword(const Password& pw) {
    return SendPassword(cmd::kTechnicianPassword, pw, true);
  }
  [[nodiscard]] LinkResult SendDateStamp(const DateStamp& stamp);
  [[nodiscard]] LinkResult VersionQuery(std::array<uint8_t, 10>& out);
  [[nodiscard]] LinkResult FirmwareChecksum(uint16_t& out);
  // The 32 data bytes of the information record.
  [[nodiscard]] LinkResult InformationQuery(std::array<uint8_t, 32>& out);
  [[nodiscard]] LinkResult PassPortVersion(std::array<uint8_t, 12>& out);

  // ---- test mode ----------------------------------------------------------
  [[nodiscard]] LinkResult TestSwitch(uint8_t code, bool on);
  // The transmitter: answer awaited 800 ms, then the time-out becomes 500 ms.
  [[nodiscard]] LinkResult TestTransmit(bool on);
  // A step of 0 sends nothing and succeeds.
  [[nodiscard]] LinkResult TestStep(uint8_t code, int step, bool prefixed = false);
  [[nodiscard]] LinkResult TestSet(uint8_t code, uint8_t value, bool prefixed = false);
  [[nodiscard]] LinkResult TestQuery(uint8_t code, uint8_t& value, bool prefixed = false);
  [[nodiscard]] LinkResult TestPrefixedSet(uint8_t value);  // 0x50 0x1A value
  // The parameter prefix in front of a bare set form: 0x21 0x1C value (mobiles
  // get 0x08 when test mode starts).
  [[nodiscard]] LinkResult TestPrefixSetValue(uint8_t value);
  [[nodiscard]] LinkResult TestAckSwitch(bool on);          // ACK, then 0x22 on/off
  [[nodiscard]] LinkResult TestMskRate(bool high);          // 0x86 / 0x85
  [[nodiscard]] LinkResult TestBandwidth(int selector);     // 'G', 'L', 'F' for 0, 1, 2
  // Selects test channel `selector` (1..16); the two 32-bit frequencies as the
  // radio sends them (most significant byte first).
  [[nodiscard]] LinkResult TestChannel(uint8_t selector, std::array<uint8_t, 8>& out);
  [[nodiscard]] LinkResult TestSignalling(uint8_t selector);
  [[nodiscard]] LinkResult TestReadData(uint8_t* buffer, size_t length);    // 0x05
  [[nodiscard]] LinkResult TestReadValues(uint8_t* buffer, size_t length);  // 0x07
  [[nodiscard]] LinkResult TestReadTuning(std::array<uint8_t, 40>& out);    // 'B'

  // ---- retry wrappers -------------------------------------------------------
  // Each lets events run before every attempt and asks Retry/Cancel on a
  // failure; giving up (kFailed) ends program mode and closes the port.
  [[nodiscard]] LinkResult EnterProgramModeWithRetry(Prompter& prompter, const PumpFn& pump);
  // Identify, then refuse platform codes (text entry 294) and models that are
  // unknown or on an unselectable band (271).
  [[nodiscard]] LinkResult IdentifyForRead(Prompter& prompter, const PumpFn& pump, ModelBytes& out);
  // Identify, then accept only a radio that fits the image's model; ask
  // before writing to a radio whose model bytes differ from the image's.
  [[nodiscard]] LinkResult IdentifyForWrite(Prompter& prompter, const PumpFn& pump, const ModelRecord& current,
                                            ModelBytes& out);
  // Identify, then require a known model.
  [[nodiscard]] LinkResult IdentifyForRadioFunctions(Prompter& prompter, const PumpFn& pump, ModelBytes& out);
  [[nodiscard]] LinkResult VersionQueryWithRetry(Prompter& prompter, const PumpFn& pump,
                                                 std::array<uint8_t, 10>& out);
  // The stamp is taken from the clock anew for every attempt.
  [[nodiscard]] LinkResult DateStampWithRetry(Prompter& prompter, const PumpFn& pump);
  // End program mode and close the port; kOk when both worked. Callers that
  // are giving up after a failure have nothing left to do with the result.
  LinkResult GiveUp();

  // The check of an identified radio for a write.
  [[nodiscard]] static ModelFit WriteModelCheck(const ModelBytes& radio, const ModelRecord& current);
  static bool IsPlatformCode(const ModelBytes& radio);

 private:
  [[nodiscard]] PasswordResult SendPassword(uint8_t command, const Password& pw, bool waitFirst);
  // Send ACK, read 1: kOk when it is ACK (or, with `nakToo`, NAK).
  [[nodiscard]] LinkResult ReadAckClose(bool nakToo = false);
  // One command byte, then `length` bytes of answer closed by ACK.
  [[nodiscard]] LinkResult CommandThenRead(uint8_t command, uint8_t* buffer, size_t length);
  bool ReadOne(uint8_t& b) { return Read(&b, 1); }
  // The request, then kOk when the answer is ACK.
  [[nodiscard]] LinkResult SendAndAck(const uint8_t* req, size_t n);

  int blockSize_ = kBlockSize;
};

}  // namespace vb420
