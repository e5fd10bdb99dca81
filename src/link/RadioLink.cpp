// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioLink.h"

#include <chrono>
#include <cstring>
#include <regex>

#include "lang/Platform.h"

namespace vb420 {

bool RadioPasswordTypable(std::string_view typed) {
  static const std::regex pattern(kRadioPasswordPattern);
  return std::regex_match(typed.begin(), typed.end(), pattern);
}

namespace {

void Pump(const PumpFn& pump) {
  if (pump) pump();
}

std::string TailOf(const std::string& mode) {
  const auto comma = mode.find(',');
  return comma == std::string::npos ? std::string() : mode.substr(comma);
}

std::string CodeOf(const ModelBytes& b) { return std::string(reinterpret_cast<const char*>(b.data()), 5); }

}  // namespace

// ---------------------------------------------------------------------------
// Encodings

Password PasswordBytes(std::string_view digits) {
  Password pw;
  pw.fill(0xFF);
  size_t n = 0;
  for (char c : digits)
    if (c >= '0' && c <= '9' && n < pw.size()) pw[n++] = static_cast<uint8_t>(c);
  if (n == 0) return pw;
  for (size_t i = n; i < pw.size(); ++i) pw[i] = 0x00;
  return pw;
}

DateStamp DateStampOf(const std::tm& t) {
  const int year = t.tm_year + 1900;
  return {static_cast<uint8_t>((year + 0x30) & 0xFF), static_cast<uint8_t>(t.tm_mon + 1),
          static_cast<uint8_t>(t.tm_mday), static_cast<uint8_t>(t.tm_hour),
          static_cast<uint8_t>(t.tm_min), static_cast<uint8_t>(t.tm_sec)};
}

DateStamp DateStampNow() {
  const std::time_t now = std::time(nullptr);
  return DateStampOf(LocalTime(now));
}

std::string ChecksumText(uint16_t checksum) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s(4, '0');
  for (int i = 0; i < 4; ++i) s[i] = kHex[(checksum >> (12 - 4 * i)) & 0xF];
  return s;
}

uint8_t Sum8(const uint8_t* data, size_t n) {
  uint8_t s = 0;
  for (size_t i = 0; i < n; ++i) s = static_cast<uint8_t>(s + data[i]);
  return s;
}

std::vector<uint8_t> StepBytes(int step) {
  if (step == 0) return {};
  if (step == 1) return {testcmd::kStepUp};
  if (step == -1) return {testcmd::kStepDown};
  if (step > 0) return {testcmd::kStepsUp, static_cast<uint8_t>(step)};
  return {testcmd::kStepsDown, static_cast<uint8_t>(-step)};
}

// ---------------------------------------------------------------------------
// Small exchange helpers

LinkResult RadioLink::ReadAckClose(bool nakToo) {
  if (!WriteByte(ctl::kAck)) return LinkResult::kFailed;
  uint8_t b = 0;
  if (!ReadOne(b)) return LinkResult::kFailed;
  return OkIf(b == ctl::kAck || (nakToo && b == ctl::kNak));
}

LinkResult RadioLink::CommandThenRead(uint8_t command, uint8_t* buffer, size_t length) {
  if (!WriteByte(command)) return LinkResult::kFailed;
  if (!Read(buffer, length)) return LinkResult::kFailed;
  return ReadAckClose();
}

LinkResult RadioLink::SendAndAck(const uint8_t* req, size_t n) {
  if (!WriteBytes(req, n)) return LinkResult::kFailed;
  uint8_t b = 0;
  if (!ReadOne(b)) return LinkResult::kFailed;
  return OkIf(b == ctl::kAck);
}

// ---------------------------------------------------------------------------
// Conversation

LinkResult RadioLink::EnterProgramMode(const PumpFn& pump) {
  const uint32_t savedTimeout = ReadTimeout();
  const std::string tail = TailOf(GetModeString());
  for (const char* rate : kEntryRates) {
    Pump(pump);
    SetModeString(std::string(rate) + tail);
    if (!WriteText(cmd::kEntry)) {
      Pump(pump);
      SetReadTimeout(savedTimeout);
      return LinkResult::kFailed;
    }
    SetReadTimeout(100);
    Pump(pump);
    uint8_t b = 0;
    if (!ReadOne(b) || b != ctl::kSyn) continue;
    // The radio has heard us; it moves to 19200 and confirms there.
    SetModeString("19200" + tail);
    SetReadTimeout(550);
    Pump(pump);
    if (ReadOne(b) && b == ctl::kAck) {
      SetReadTimeout(550);
      return LinkResult::kOk;
    }
  }
  Pump(pump);
  SetModeString("19200" + tail);
  SetReadTimeout(savedTimeout);
  return LinkResult::kFailed;
}

LinkResult RadioLink::Identify(ModelBytes& out) {
  Wait(50);
  if (!WriteByte(cmd::kIdentify)) return LinkResult::kFailed;
  ModelBytes got{};
  if (!Read(got.data(), got.size())) return LinkResult::kFailed;
  out = got;
  return ReadAckClose();
}

LinkResult RadioLink::EndProgramMode() {
  uint8_t b = 0;
  if (WriteByte(cmd::kEnd) && ReadOne(b) && b == ctl::kAck) return LinkResult::kOk;
  // No answer, or a byte that is not ACK: a radio that has gone back to its
  // calling rate answers garbled at 19200 and hears us only at 9600.
  SetBaudField("9600");
  if (WriteByte(cmd::kEnd) && ReadOne(b) && b == ctl::kAck) return LinkResult::kOk;
  return LinkResult::kFailed;
}

LinkResult RadioLink::OpenForTestMode() {
  SetOpenState(0);
  if (!SetOpenState(1)) return LinkResult::kFailed;
  SetBaudField("9600");
  SetReadTimeout(1500);
  return LinkResult::kOk;
}

LinkResult RadioLink::EnterTestMode() {
  return SendAndAck(reinterpret_cast<const uint8_t*>(cmd::kTestEntry), std::strlen(cmd::kTestEntry));
}

// ---------------------------------------------------------------------------
// Memory

BlockReadResult RadioLink::BlockRead(uint8_t* buffer, int blockNumber) {
  const size_t size = static_cast<size_t>(blockSize_);
  const uint8_t number[2] = {static_cast<uint8_t>(blockNumber >> 8), static_cast<uint8_t>(blockNumber)};
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!WriteByte(cmd::kBlockRead)) return BlockReadResult::kCmdWrite;
    if (!WriteBytes(number, 2)) return BlockReadResult::kNumberWrite;
    uint8_t code = 0;
    if (!ReadOne(code)) continue;
    bool sumOk = true;
    if (code == ctl::kDataMarker) {
      uint8_t sum = 0;
      if (!Read(buffer, size) || !ReadOne(sum)) continue;
      sumOk = Sum8(buffer, size) == sum;
    } else {
      // Any other answer stands for a block of one repeated byte.
      uint8_t fill = 0;
      if (!ReadOne(fill)) continue;
      std::memset(buffer, fill, size);
    }
    uint8_t answer = 0;
    if (!sumOk) {
      if (!WriteByte(ctl::kNak)) return BlockReadResult::kNakWrite;
      if (!ReadOne(answer)) continue;
      if (answer != ctl::kAck) return BlockReadResult::kNakNotAcked;
      continue;
    }
    if (!WriteByte(ctl::kAck)) return BlockReadResult::kAckWrite;
    if (!ReadOne(answer)) continue;
    return answer == ctl::kAck ? BlockReadResult::kOk : BlockReadResult::kNotAcked;
  }
  return BlockReadResult::kFailed;
}

LinkResult RadioLink::BlockWrite(const uint8_t* buffer, int blockNumber) {
  const size_t size = static_cast<size_t>(blockSize_);
  if (size == 0) return LinkResult::kFailed;
  const uint8_t number[2] = {static_cast<uint8_t>(blockNumber >> 8), static_cast<uint8_t>(blockNumber)};
  for (int attempt = 0; attempt < 3; ++attempt) {
    const uint8_t sum = Sum8(buffer, size);
    bool uniform = true;
    for (size_t i = 1; i < size && uniform; ++i) uniform = buffer[i] == buffer[0];
    if (!WriteByte(uniform ? cmd::kBlockFill : cmd::kBlockWrite)) return LinkResult::kFailed;
    if (!WriteBytes(number, 2)) return LinkResult::kFailed;
    if (uniform) {
      if (!WriteByte(buffer[0])) return LinkResult::kFailed;
    } else {
      if (!WriteBytes(buffer, size) || !WriteByte(sum)) return LinkResult::kFailed;
    }
    uint8_t answer = 0;
    if (!ReadOne(answer)) return LinkResult::kFailed;
    if (answer == ctl::kAck) return LinkResult::kOk;
  }
  return LinkResult::kFailed;
}

namespace {
// The extension area is 0x1200 bytes; a piece must lie inside it.
bool AreaPieceValid(int offset, int length) {
  return offset >= 0 && length >= 1 && length <= 255 && offset + length <= static_cast<int>(kExtSize);
}
}  // namespace

LinkResult RadioLink::AreaRead(uint8_t* buffer, int offset, int length) {
  if (!AreaPieceValid(offset, length)) return LinkResult::kFailed;
  const uint8_t req[4] = {cmd::kAreaRead, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset),
                          static_cast<uint8_t>(length)};
  if (!WriteBytes(req, sizeof req)) return LinkResult::kFailed;
  uint8_t header = 0;
  if (!ReadOne(header)) return LinkResult::kFailed;
  if (!Read(buffer, static_cast<size_t>(length))) return LinkResult::kFailed;
  return ReadAckClose();
}

LinkResult RadioLink::AreaWrite(const uint8_t* buffer, int offset, int length) {
  if (!AreaPieceValid(offset, length)) return LinkResult::kFailed;
  const uint8_t req[4] = {cmd::kAreaWrite, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset),
                          static_cast<uint8_t>(length)};
  if (!WriteBytes(req, sizeof req)) return LinkResult::kFailed;
  if (!WriteBytes(buffer, static_cast<size_t>(length))) return LinkResult::kFailed;
  uint8_t b = 0;
  if (!ReadOne(b)) return LinkResult::kFailed;
  return OkIf(b == ctl::kAck);
}

// ---------------------------------------------------------------------------
// Queries and settings

PasswordResult RadioLink::SendPassword(uint8_t command, const Password& pw, bool waitFirst) {
  if (waitFirst) Wait(50);
  uint8_t req[7];
  req[0] = command;
  std::memcpy(req + 1, pw.data(), pw.size());
  if (!WriteBytes(req, sizeof req)) return PasswordResult::kNoAnswer;
  uint8_t b = 0;
  if (!ReadOne(b)) return PasswordResult::kNoAnswer;
  return b == ctl::kAck ? PasswordResult::kOk : PasswordResult::kWrong;
}

LinkResult RadioLink::SendDateStamp(const DateStamp& stamp) {
  uint8_t req[7];
  req[0] = cmd::kDateStamp;
  std::memcpy(req + 1, stamp.data(), stamp.size());
  return SendAndAck(req, sizeof req);
}

LinkResult RadioLink::VersionQuery(std::array<uint8_t, 10>& out) {
  if (!WriteByte(cmd::kVersion)) return LinkResult::kFailed;
  std::array<uint8_t, 10> got{};
  if (!Read(got.data(), got.size())) return LinkResult::kFailed;
  out = got;
  return ReadAckClose();
}

LinkResult RadioLink::FirmwareChecksum(uint16_t& out) {
  SetReadTimeout(3000);
  if (!WriteByte(cmd::kFirmwareChecksum)) return LinkResult::kFailed;
  uint8_t got[2];
  const bool ok = Read(got, 2);
  // The long wait is only for the radio's own summing; later reads use 500 ms
  // whether or not the sum came.
  SetReadTimeout(500);
  if (!ok) return LinkResult::kFailed;
  out = static_cast<uint16_t>((got[0] << 8) | got[1]);
  return ReadAckClose();
}

LinkResult RadioLink::InformationQuery(std::array<uint8_t, 32>& out) {
  if (!WriteText(cmd::kInformation)) return LinkResult::kFailed;
  uint8_t rec[34];
  if (!Read(rec, sizeof rec)) return LinkResult::kFailed;
  if (ReadAckClose() != LinkResult::kOk) return LinkResult::kFailed;
  if (rec[0] != ctl::kRecordMarker || Sum8(rec + 1, 32) != rec[33]) return LinkResult::kFailed;
  std::memcpy(out.data(), rec + 1, 32);
  return LinkResult::kOk;
}

LinkResult RadioLink::PassPortVersion(std::array<uint8_t, 12>& out) {
  if (!WriteByte(cmd::kPassPortVersion)) return LinkResult::kFailed;
  std::array<uint8_t, 12> got{};
  if (!Read(got.data(), got.size())) return LinkResult::kFailed;
  out = got;
  return ReadAckClose();
}

// ---------------------------------------------------------------------------
// Test mode

LinkResult RadioLink::TestSwitch(uint8_t code, bool on) {
  const uint8_t req[2] = {code, on ? testcmd::kOn : testcmd::kOff};
  return SendAndAck(req, 2);
}

LinkResult RadioLink::TestTransmit(bool on) {
  SetReadTimeout(800);
  const LinkResult r = TestSwitch(testcmd::kTransmit, on);
  SetReadTimeout(500);
  return r;
}

LinkResult RadioLink::TestStep(uint8_t code, int step, bool prefixed) {
  const std::vector<uint8_t> steps = StepBytes(step);
  if (steps.empty()) return LinkResult::kOk;
  std::vector<uint8_t> req;
  if (prefixed) req.push_back(testcmd::kPrefix);
  req.push_back(code);
  req.insert(req.end(), steps.begin(), steps.end());
  return SendAndAck(req.data(), req.size());
}

LinkResult RadioLink::TestSet(uint8_t code, uint8_t value, bool prefixed) {
  std::vector<uint8_t> req;
  if (prefixed) req.push_back(testcmd::kPrefix);
  req.insert(req.end(), {code, testcmd::kSet, value});
  return SendAndAck(req.data(), req.size());
}

LinkResult RadioLink::TestQuery(uint8_t code, uint8_t& value, bool prefixed) {
  std::vector<uint8_t> req;
  if (prefixed) req.push_back(testcmd::kPrefix);
  req.insert(req.end(), {code, testcmd::kQuery});
  if (!WriteBytes(req.data(), req.size())) return LinkResult::kFailed;
  uint8_t v = 0;
  if (!ReadOne(v)) return LinkResult::kFailed;
  value = v;
  return ReadAckClose();
}

LinkResult RadioLink::TestPrefixedSet(uint8_t value) {
  const uint8_t req[3] = {testcmd::kPrefixedSet, testcmd::kStepsUp, value};
  return SendAndAck(req, 3);
}

LinkResult RadioLink::TestPrefixSetValue(uint8_t value) {
  const uint8_t req[3] = {testcmd::kPrefix, testcmd::kSet, value};
  return SendAndAck(req, 3);
}

LinkResult RadioLink::TestAckSwitch(bool on) {
  if (SendAndAck(&ctl::kAck, 1) != LinkResult::kOk) return LinkResult::kFailed;
  return TestSwitch(testcmd::kAckSwitch, on);
}

LinkResult RadioLink::TestMskRate(bool high) {
  const uint8_t b = high ? testcmd::kMskHigh : testcmd::kMskLow;
  return SendAndAck(&b, 1);
}

LinkResult RadioLink::TestBandwidth(int selector) {
  static const uint8_t kLetters[3] = {'G', 'L', 'F'};
  if (selector < 0 || selector > 2) return LinkResult::kFailed;
  return SendAndAck(&kLetters[selector], 1);
}

LinkResult RadioLink::TestChannel(uint8_t selector, std::array<uint8_t, 8>& out) {
  const uint8_t req[2] = {testcmd::kTestChannel, selector};
  if (!WriteBytes(req, 2)) return LinkResult::kFailed;
  std::array<uint8_t, 8> got{};
  if (!Read(got.data(), got.size())) return LinkResult::kFailed;
  out = got;
  return ReadAckClose(true);
}

LinkResult RadioLink::TestSignalling(uint8_t selector) {
  const uint8_t req[2] = {testcmd::kSignalling, selector};
  return SendAndAck(req, 2);
}

LinkResult RadioLink::TestReadData(uint8_t* buffer, size_t length) {
  return CommandThenRead(testcmd::kTestData, buffer, length);
}

LinkResult RadioLink::TestReadValues(uint8_t* buffer, size_t length) {
  return CommandThenRead(testcmd::kValues, buffer, length);
}

LinkResult RadioLink::TestReadTuning(std::array<uint8_t, 40>& out) {
  if (!WriteByte(testcmd::kTuningBlock)) return LinkResult::kFailed;
  std::array<uint8_t, 40> got{};
  if (!Read(got.data(), got.size())) return LinkResult::kFailed;
  out = got;
  return ReadAckClose(true);
}

// ---------------------------------------------------------------------------
// Retry wrappers

LinkResult RadioLink::GiveUp() {
  const LinkResult ended = EndProgramMode();
  const bool closed = SetOpenState(0);
  return OkIf(ended == LinkResult::kOk && closed);
}

LinkResult RadioLink::EnterProgramModeWithRetry(Prompter& prompter, const PumpFn& pump) {
  for (;;) {
    Pump(pump);
    if (EnterProgramMode(pump) == LinkResult::kOk) return LinkResult::kOk;
    if (!prompter.AskRetryCancel(msg::kCommFailed)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

bool RadioLink::IsPlatformCode(const ModelBytes& radio) {
  const std::string code = CodeOf(radio);
  return code == kPlatformMobile1 || code == kPlatformPortable1 || code == kPlatformGen2;
}

ModelFit RadioLink::WriteModelCheck(const ModelBytes& radio, const ModelRecord& current) {
  const std::string code = CodeOf(radio);
  const int cur = current.ModelNumber();
  bool fits = false;
  if (code == kPlatformMobile1) fits = IsFirstGeneration(cur) && IsMobileModel(cur);
  else if (code == kPlatformPortable1) fits = IsFirstGeneration(cur) && IsPortableModel(cur);
  else if (code == kPlatformGen2) fits = IsSecondGeneration(cur);
  else {
    const int model = ModelRecord::ModelNumberOf(radio);
    fits = model >= 0 && cur >= 0 && IsSecondGeneration(model) == IsSecondGeneration(cur) &&
           ModelRecord::KindOf(model) == ModelRecord::KindOf(cur);
  }
  if (!fits) return ModelFit::kRefused;
  ModelBytes mine = current.Bytes();
  ModelBytes theirs = radio;
  mine[6] |= 0x04;  // the power bit does not count
  theirs[6] |= 0x04;
  return mine == theirs ? ModelFit::kAccepted : ModelFit::kDiffers;
}

LinkResult RadioLink::IdentifyForRead(Prompter& prompter, const PumpFn& pump, ModelBytes& out) {
  for (;;) {
    Pump(pump);
    ModelBytes radio{};
    int ask = 0;
    if (Identify(radio) != LinkResult::kOk) {
      ask = msg::kCommFailed;
    } else if (IsPlatformCode(radio)) {
      prompter.ShowError(msg::kPlatformCode);
      GiveUp();
      return LinkResult::kFailed;
    } else if (!ModelRecord::IsKnownModel(radio) || !ModelRecord::IsSelectableBand(radio[5])) {
      ask = msg::kModelNotSupported;
    } else {
      out = radio;
      return LinkResult::kOk;
    }
    if (!prompter.AskRetryCancel(ask)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

LinkResult RadioLink::IdentifyForWrite(Prompter& prompter, const PumpFn& pump, const ModelRecord& current,
                                ModelBytes& out) {
  for (;;) {
    Pump(pump);
    ModelBytes radio{};
    int ask = 0;
    if (Identify(radio) != LinkResult::kOk) {
      ask = msg::kCommFailed;
    } else {
      const ModelFit check = WriteModelCheck(radio, current);
      if (check == ModelFit::kRefused) {
        // Asking the same radio again cannot change its model: say which
        // two models differ and stop.
        prompter.ShowWriteModelMismatch(radio, current.Bytes());
        GiveUp();
        return LinkResult::kFailed;
      } else {
        if (check == ModelFit::kDiffers && !prompter.ConfirmModelDiffers(radio, current.Bytes())) {
          GiveUp();
          return LinkResult::kFailed;
        }
        out = radio;
        return LinkResult::kOk;
      }
    }
    if (!prompter.AskRetryCancel(ask)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

LinkResult RadioLink::IdentifyForRadioFunctions(Prompter& prompter, const PumpFn& pump, ModelBytes& out) {
  for (;;) {
    Pump(pump);
    ModelBytes radio{};
    int ask = 0;
    if (Identify(radio) != LinkResult::kOk) ask = msg::kCommFailed;
    else if (!ModelRecord::IsKnownModel(radio)) ask = msg::kModelNotSupported;
    else {
      out = radio;
      return LinkResult::kOk;
    }
    if (!prompter.AskRetryCancel(ask)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

LinkResult RadioLink::VersionQueryWithRetry(Prompter& prompter, const PumpFn& pump, std::array<uint8_t, 10>& out) {
  for (;;) {
    Pump(pump);
    if (VersionQuery(out) == LinkResult::kOk) return LinkResult::kOk;
    if (!prompter.AskRetryCancel(msg::kCommFailed)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

LinkResult RadioLink::DateStampWithRetry(Prompter& prompter, const PumpFn& pump) {
  for (;;) {
    Pump(pump);
    if (SendDateStamp(DateStampNow()) == LinkResult::kOk) return LinkResult::kOk;
    if (!prompter.AskRetryCancel(msg::kCommFailed)) {
      GiveUp();
      return LinkResult::kFailed;
    }
  }
}

}  // namespace vb420
