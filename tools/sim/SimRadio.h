// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's side of the programming protocol: its memory and extension
// area, model bytes, passwords, identity answers, test-mode state and the
// faults a test asks for.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SimLine.h"
#include "data/RadioData.h"

namespace vb420::sim {

struct Fault {
  enum Kind { kSilenceBlock, kNoAnswerBlock, kBadSumBlock, kBadSumAlways, kNakBlock, kSilenceExt, kExitBlock,
              kNoPassPort, kNoAckEntry, kGarbledEnd, kEarlyAck, kStrayAfterBlock,
              // Test mode: a test channel or the tuning block that differs from
              // the memory, and a command left unanswered (once, or always).
              kTestChannelDiffers, kTuningDiffers, kNoAnswerTest, kSilenceTest,
              // A written block, or the extension byte at an offset, stored
              // with a byte changed while the write is acknowledged as good.
              kCorruptBlock, kCorruptExt };
  Kind kind;
  int where = 0;    // block number, extension offset or count
  bool used = false;
};
// "silence@block=5", "nopassport", "garbled@end", ...; false when the text is
// not a fault.
bool ParseFault(const std::string& text, Fault& out);

struct SimOptions {
  long baud = 9600;
  bool lineRate = false;
  int latencyMs = 0;
  bool noFill = false;      // always answer a block read with the full block
  bool once = false;
  std::optional<std::string> readPassword;
  std::optional<std::string> overwritePassword;
  std::optional<std::string> technicianPassword;
  std::string identity;     // a 5-character code answered instead of the model's
  std::string serial = "000012345678";
  std::string firmwareVersion = "V3.05";
  uint16_t firmwareChecksum = 15450;  // 3C5A as the radio shows it
  std::string passPortVersion = "PP V2.01";
  int valuesLength = 2;     // bytes answered to test-mode 0x07
  std::vector<Fault> faults;
  std::string savePath;
};

class SimRadio {
 public:
  SimRadio(RadioData& data, SimLine& line, const SimOptions& options);

  // Answers conversations until stopped, or after the first with --once.
  // Returns the process exit code.
  int Run();

  // The model bytes the radio answers to identification.
  const std::array<uint8_t, 8>& AnsweredModelBytes() const { return modelBytes_; }
  bool Save(std::string& error);

 private:
  enum class End { kEnded, kHungUp, kStopped, kExit };

  End ProgramMode();
  End TestMode();
  // Waits for the next byte of a conversation; false with `end` set when the
  // line hung up or the radio was told to stop.
  bool NextCommand(uint8_t& c, long& baud, End& end);
  void Answer(const std::vector<uint8_t>& bytes);
  void Answer(uint8_t b) { Answer(std::vector<uint8_t>{b}); }
  bool Take(uint8_t& b, int timeoutMs = 1000);
  bool TakeN(uint8_t* buf, size_t n);
  // Waits for the closing ACK of an answer and confirms it.
  void CloseWithAck();
  bool WaitForBaud(long baud, int timeoutMs);

  void Identify();
  void BlockRead();
  // The ACK that ends the exchange of block n, with a stray byte after it
  // when a fault asks for one.
  std::vector<uint8_t> Closing(int blockNumber);
  End BlockWrite(bool fill);
  void AreaRead();
  void AreaWrite();
  void PasswordCommand(uint8_t command);
  void DateStampCommand();
  void Version();
  void Checksum();
  void Information();
  void PassPort();
  void TestParameter(uint8_t code, bool prefixed);
  // Whether a test-mode command starting with `c` is to go unanswered.
  bool TestCommandSilenced(uint8_t c);
  // A query value that wanders a little over time, as a meter reading does.
  uint8_t MeterReading(uint8_t code) const;
  void Note(const std::string& text) { line_.TraceNote(text); }
  void TestChannel();
  void TuningBlock();

  Fault* FindFault(Fault::Kind kind, int where);

  RadioData& data_;
  SimLine& line_;
  SimOptions opt_;
  std::array<uint8_t, 8> modelBytes_{};
  std::optional<std::string> readPw_, overwritePw_;
  bool readUnlocked_ = true, writeUnlocked_ = true, techUnlocked_ = false;
  bool silenced_ = false;
  bool exit_ = false;  // the radio disappears (a fault)
  // Fallen back to the calling rate in the middle of program mode (a fault):
  // commands are heard only at that rate.
  bool atCallingRate_ = false;
  int entries_ = 0;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::array<uint8_t, 6> dateStamp_{};

  // Test mode.
  std::array<uint8_t, 256> values_{};
  std::array<uint8_t, 256> volumes_{};  // the prefixed forms' second value per code
  uint8_t prefixValue_ = 0;             // 0x21 0x1C value
  std::array<bool, 256> on_{};
  int switchedOn_ = -1;
  int bandwidth_ = 0;
  bool transmit_ = false;
  bool mskHigh_ = false;
  int testChannel_ = 1;
  int signalling_ = 1;
  uint8_t prefixedSet_ = 0;
};

}  // namespace vb420::sim
