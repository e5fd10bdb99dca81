// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimRadio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "SimModels.h"
#include "SimWire.h"
#include "data/DataFile.h"
#include "data/ImageLayout.h"

namespace vb420::sim {

namespace {

constexpr uint8_t ACK = wire::kAck, NAK = wire::kNak, SYN = wire::kSyn;
constexpr long kProgramBaud = wire::kProgramBaud;
constexpr size_t kBlockBytes = wire::kBlockBytes;
// What a byte sent at one rate looks like to a receiver set to another.
constexpr uint8_t kGarbled = 0xF8;
// Which byte of a written block a corrupting fault changes, and how.
constexpr size_t kCorruptAt = 0x10;
constexpr uint8_t kCorruptMask = 0x5A;

bool Uniform(const uint8_t* p, size_t n) {
  for (size_t i = 1; i < n; ++i)
    if (p[i] != p[0]) return false;
  return true;
}

// A 32-bit value of the image (least significant byte first) as the radio
// sends it: most significant byte first.
void PutSwapped(std::vector<uint8_t>& out, const ByteArea& image, size_t off) {
  for (int k = 3; k >= 0; --k) out.push_back(image.u8(off + static_cast<size_t>(k)));
}

std::vector<uint8_t> Padded(const std::string& text, size_t width, uint8_t pad) {
  std::vector<uint8_t> out(width, pad);
  std::memcpy(out.data(), text.data(), std::min(width, text.size()));
  return out;
}

std::optional<std::string> ImagePassword(const ByteArea& image, size_t off) {
  const uint8_t len = image.u8(off);
  if (len > 6) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(image.ptr(off + 1, 6)), len);
}

}  // namespace

bool ParseFault(const std::string& text, Fault& out) {
  struct Name {
    const char* text;
    Fault::Kind kind;
    bool needsNumber;
  };
  static const Name kNames[] = {
      {"silence@block", Fault::kSilenceBlock, true}, {"noanswer@block", Fault::kNoAnswerBlock, true},
      {"badsum@block", Fault::kBadSumBlock, true},   {"badsum-always@block", Fault::kBadSumAlways, true},
      {"nak@block", Fault::kNakBlock, true},         {"silence@ext", Fault::kSilenceExt, true},
      {"exit@block", Fault::kExitBlock, true},       {"nopassport", Fault::kNoPassPort, false},
      {"noack@entry", Fault::kNoAckEntry, false},    {"garbled@end", Fault::kGarbledEnd, false},
      {"early-ack@entry", Fault::kEarlyAck, false},  {"stray@block", Fault::kStrayAfterBlock, true},
      {"differ@testchannel", Fault::kTestChannelDiffers, true}, {"differ@tuning", Fault::kTuningDiffers, false},
      {"noanswer@test", Fault::kNoAnswerTest, true}, {"silence@test", Fault::kSilenceTest, true},
      {"corrupt@block", Fault::kCorruptBlock, true}, {"corrupt@ext", Fault::kCorruptExt, true},
  };
  const auto eq = text.find('=');
  const std::string name = text.substr(0, eq);
  for (const auto& n : kNames) {
    if (name != n.text) continue;
    Fault f{n.kind, n.kind == Fault::kNoAckEntry ? 1 : 0, false};
    if (eq != std::string::npos) {
      char* end = nullptr;
      const std::string num = text.substr(eq + 1);
      f.where = static_cast<int>(std::strtol(num.c_str(), &end, 0));
      if (num.empty() || *end != '\0' || f.where < 0) return false;
    } else if (n.needsNumber) {
      return false;
    }
    out = f;
    return true;
  }
  return false;
}

SimRadio::SimRadio(RadioData& data, SimLine& line, const SimOptions& options)
    : data_(data), line_(line), opt_(options) {
  const ByteArea image = data_.Image();
  std::memcpy(modelBytes_.data(), image.ptr(img::kModelBytes, modelBytes_.size()), modelBytes_.size());
  if (opt_.identity.size() == 5) std::memcpy(modelBytes_.data(), opt_.identity.data(), 5);
  readPw_ = opt_.readPassword;
  overwritePw_ = opt_.overwritePassword;
  // Without a password on the command line the radio keeps the one its
  // programming carries (a clear bit of model byte 6 means it is set).
  const uint8_t flags = image.u8(img::kModelBytes + 6);
  if (!readPw_ && (flags & 0x01) == 0) readPw_ = ImagePassword(image, img::kReadPassword);
  if (!overwritePw_ && (flags & 0x02) == 0) overwritePw_ = ImagePassword(image, img::kOverwritePassword);
  modelBytes_[6] = static_cast<uint8_t>(readPw_ ? modelBytes_[6] & ~0x01 : modelBytes_[6] | 0x01);
  modelBytes_[6] = static_cast<uint8_t>(overwritePw_ ? modelBytes_[6] & ~0x02 : modelBytes_[6] | 0x02);
  values_.fill(0x80);
  volumes_.fill(0x08);
}

bool SimRadio::Save(std::string& error) {
  if (opt_.savePath.empty()) return true;
  const FileStatus st = SaveDatFile(opt_.savePath, data_);
  if (st.result != kFileOk) {
    error = "cannot write " + opt_.savePath + ": " + std::strerror(st.sysError);
    return false;
  }
  return true;
}

Fault* SimRadio::FindFault(Fault::Kind kind, int where) {
  for (auto& f : opt_.faults)
    if (f.kind == kind && f.where == where) return &f;
  return nullptr;
}

void SimRadio::Answer(const std::vector<uint8_t>& bytes) {
  if (opt_.latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(opt_.latencyMs));
  line_.Send(bytes);
}

bool SimRadio::Take(uint8_t& b, int timeoutMs) {
  long baud = 0;
  return line_.Get(b, baud, timeoutMs);
}

bool SimRadio::TakeN(uint8_t* buf, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (!Take(buf[i])) return false;
  return true;
}

void SimRadio::CloseWithAck() {
  uint8_t r = 0;
  if (!Take(r)) return;
  Answer(r == ACK ? ACK : NAK);
}

bool SimRadio::WaitForBaud(long baud, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (line_.Baud() == baud) return true;
    if (SimLine::stop) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return false;
}

int SimRadio::Run() {
  std::string window;
  std::vector<long> speeds;
  for (;;) {
    if (SimLine::stop) return 0;
    if (line_.HungUp()) {
      window.clear();
      speeds.clear();
      line_.WaitForPeer();
      continue;
    }
    uint8_t b = 0;
    long baud = 0;
    if (!line_.Get(b, baud, -1)) continue;
    if (silenced_) continue;
    window += static_cast<char>(b);
    speeds.push_back(baud);
    if (window.size() > 7) {
      window.erase(0, 1);
      speeds.erase(speeds.begin());
    }
    bool atOurRate = true;
    for (long s : speeds) atOurRate = atOurRate && s == opt_.baud;
    if (!atOurRate) continue;

    End end;
    if (window == wire::kProgramCall) {
      window.clear();
      speeds.clear();
      ++entries_;
      bool withholdAck = false;
      for (const auto& f : opt_.faults) withholdAck = withholdAck || (f.kind == Fault::kNoAckEntry && entries_ <= f.where);
      if (withholdAck) {
        Answer(SYN);
        continue;
      }
      if (Fault* f = FindFault(Fault::kEarlyAck, 0); f && !f->used) {
        // A hasty radio confirms at the programming rate straight after SYN,
        // before the program has moved there: the program hears the
        // confirmation garbled unless it called at that rate anyway.
        f->used = true;
        Answer({SYN, opt_.baud == kProgramBaud ? ACK : kGarbled});
      } else {
        Answer(SYN);
        // The radio moves to the programming rate and confirms there once
        // the other side has followed.
        if (!WaitForBaud(kProgramBaud, 1000)) continue;
        Answer(ACK);
      }
      atCallingRate_ = false;
      readUnlocked_ = !readPw_;
      writeUnlocked_ = !overwritePw_;
      techUnlocked_ = false;
      end = ProgramMode();
    } else if (window == wire::kTuningCall) {
      window.clear();
      speeds.clear();
      Answer(ACK);
      end = TestMode();
    } else {
      continue;
    }
    if (end == End::kExit || end == End::kStopped) return 0;
    if (opt_.once) {
      if (end == End::kEnded) line_.WaitForHangUp(2000);
      return 0;
    }
  }
}

bool SimRadio::NextCommand(uint8_t& c, long& baud, End& end) {
  for (;;) {
    if (line_.Get(c, baud, -1)) return true;
    if (SimLine::stop) {
      end = End::kStopped;
      return false;
    }
    if (line_.HungUp()) {
      end = End::kHungUp;
      return false;
    }
  }
}

SimRadio::End SimRadio::ProgramMode() {
  for (;;) {
    uint8_t c = 0;
    long baud = 0;
    End end{};
    if (!NextCommand(c, baud, end)) return end;
    if (silenced_ || baud != (atCallingRate_ ? opt_.baud : kProgramBaud)) continue;  // garbage at another rate
    switch (c) {
      case wire::kIdentify: Identify(); break;
      case wire::kEnd:
        if (Fault* f = FindFault(Fault::kGarbledEnd, 0); f && !f->used) {
          // The radio has slipped back to its calling rate: its answer
          // reaches the program garbled, and it listens at that rate now.
          f->used = true;
          Answer(kGarbled);
          atCallingRate_ = true;
          break;
        }
        Answer(ACK);
        return End::kEnded;
      case wire::kReadBlock: BlockRead(); break;
      case wire::kWriteBlock:
        if (BlockWrite(false) == End::kExit) return End::kExit;
        break;
      case wire::kFillBlock:
        if (BlockWrite(true) == End::kExit) return End::kExit;
        break;
      case wire::kReadArea: AreaRead(); break;
      case wire::kWriteArea: AreaWrite(); break;
      case wire::kReadPassword:
      case wire::kOverwritePassword:
      case wire::kTechnicianPassword: PasswordCommand(c); break;
      case wire::kDateStamp: DateStampCommand(); break;
      case wire::kVersion: Version(); break;
      case wire::kFirmwareSum: Checksum(); break;
      case static_cast<uint8_t>(wire::kInfoQuery[0]): Information(); break;
      case wire::kPassPortVersion: PassPort(); break;
      case 'V': {
        // Called again without the line being closed in between.
        uint8_t rest[6];
        if (TakeN(rest, 6) && std::memcmp(rest, wire::kProgramCall.data() + 1, 6) == 0) {
          Answer({SYN, ACK});
          atCallingRate_ = false;
          readUnlocked_ = !readPw_;
          writeUnlocked_ = !overwritePw_;
          techUnlocked_ = false;
        }
        break;
      }
      default: break;  // not a command: no answer
    }
    if (exit_) return End::kExit;
  }
}

void SimRadio::Identify() {
  Answer(std::vector<uint8_t>(modelBytes_.begin(), modelBytes_.end()));
  CloseWithAck();
}

void SimRadio::BlockRead() {
  uint8_t hi = 0, lo = 0;
  if (!Take(hi) || !Take(lo)) return;
  const int n = (hi << 8) | lo;
  if (FindFault(Fault::kExitBlock, n)) {
    exit_ = true;
    return;
  }
  if (FindFault(Fault::kSilenceBlock, n)) {
    silenced_ = true;
    return;
  }
  if (Fault* f = FindFault(Fault::kNoAnswerBlock, n); f && !f->used) {
    f->used = true;
    return;
  }
  // A locked radio lets only the block with its embedded message be read.
  if (n >= wire::kBlocks || (!readUnlocked_ && n != 9)) {
    Answer(NAK);
    return;
  }
  const uint8_t* block = data_.Image().ptr(static_cast<size_t>(n) * kBlockBytes, kBlockBytes);
  Fault* bad = FindFault(Fault::kBadSumBlock, n);
  if (bad && bad->used) bad = nullptr;
  if (!bad) bad = FindFault(Fault::kBadSumAlways, n);
  if (Uniform(block, kBlockBytes) && !opt_.noFill && !bad) {
    Answer({wire::kFillBlockMarker, block[0]});
  } else {
    std::vector<uint8_t> out;
    out.reserve(kBlockBytes + 2);
    out.push_back(wire::kFullBlockMarker);
    out.insert(out.end(), block, block + kBlockBytes);
    uint8_t sum = wire::Sum(block, kBlockBytes);
    if (bad) {
      sum = static_cast<uint8_t>(sum ^ 0x01);
      bad->used = true;
    }
    out.push_back(sum);
    Answer(out);
  }
  uint8_t r = 0;
  if (!Take(r)) return;
  // ACK closes the read; NAK is acknowledged and the block is asked again.
  if (r == NAK) Answer(ACK);
  if (r == ACK) Answer(Closing(n));
}

std::vector<uint8_t> SimRadio::Closing(int blockNumber) {
  std::vector<uint8_t> out = {ACK};
  // Noise on the line after the block's last answer, sent with it so that it
  // is surely waiting when the program makes its next request.
  if (Fault* f = FindFault(Fault::kStrayAfterBlock, blockNumber); f && !f->used) {
    f->used = true;
    out.push_back(kGarbled);
  }
  return out;
}

SimRadio::End SimRadio::BlockWrite(bool fill) {
  uint8_t hi = 0, lo = 0;
  if (!Take(hi) || !Take(lo)) return End::kEnded;
  const int n = (hi << 8) | lo;
  if (FindFault(Fault::kExitBlock, n)) {
    exit_ = true;
    return End::kExit;
  }
  if (FindFault(Fault::kSilenceBlock, n)) {
    silenced_ = true;
    return End::kEnded;
  }
  std::vector<uint8_t> block(kBlockBytes);
  uint8_t sum = 0;
  if (fill) {
    uint8_t v = 0;
    if (!Take(v)) return End::kEnded;
    std::fill(block.begin(), block.end(), v);
    sum = wire::Sum(block.data(), block.size());
  } else if (!TakeN(block.data(), block.size()) || !Take(sum)) {
    return End::kEnded;  // an incomplete block is dropped unanswered
  }
  if (Fault* f = FindFault(Fault::kNakBlock, n); f && !f->used) {
    f->used = true;
    Answer(NAK);
    return End::kEnded;
  }
  if (n >= wire::kBlocks || !writeUnlocked_ || wire::Sum(block.data(), block.size()) != sum) {
    Answer(NAK);
    return End::kEnded;
  }
  // A failing memory cell: the radio stores the block with one byte changed
  // and acknowledges it all the same.
  if (FindFault(Fault::kCorruptBlock, n)) block[kCorruptAt] = static_cast<uint8_t>(block[kCorruptAt] ^ kCorruptMask);
  data_.Image().write(static_cast<size_t>(n) * kBlockBytes, block.data(), block.size());
  Answer(Closing(n));
  return End::kEnded;
}

namespace {
bool ExtPieceValid(int off, int len) { return len >= 1 && off + len <= static_cast<int>(wire::kAreaBytes); }
}  // namespace

void SimRadio::AreaRead() {
  uint8_t req[3];
  if (!TakeN(req, 3)) return;
  const int off = (req[0] << 8) | req[1], len = req[2];
  for (const auto& f : opt_.faults)
    if (f.kind == Fault::kSilenceExt && f.where >= off && f.where < off + std::max(len, 1)) {
      silenced_ = true;
      return;
    }
  if (!ExtPieceValid(off, len) || !readUnlocked_) {
    Answer(NAK);
    return;
  }
  std::vector<uint8_t> out;
  out.push_back(wire::kFullBlockMarker);
  const uint8_t* p = data_.Ext().ptr(static_cast<size_t>(off), static_cast<size_t>(len));
  out.insert(out.end(), p, p + len);
  Answer(out);
  CloseWithAck();
}

void SimRadio::AreaWrite() {
  uint8_t req[3];
  if (!TakeN(req, 3)) return;
  const int off = (req[0] << 8) | req[1], len = req[2];
  std::vector<uint8_t> piece(len);
  if (!TakeN(piece.data(), piece.size())) return;
  for (const auto& f : opt_.faults)
    if (f.kind == Fault::kSilenceExt && f.where >= off && f.where < off + std::max(len, 1)) {
      silenced_ = true;
      return;
    }
  // The technician password opens the password-protected message lines
  // (ext 0x600..0x63F) to writing, and nothing else.
  const bool messageOnly = off >= static_cast<int>(ext::kMessageLine1) && off + len <= static_cast<int>(ext::kMessagePasswordLength);
  if (!ExtPieceValid(off, len) || !(writeUnlocked_ || (techUnlocked_ && messageOnly))) {
    Answer(NAK);
    return;
  }
  for (const auto& f : opt_.faults)
    if (f.kind == Fault::kCorruptExt && f.where >= off && f.where < off + len)
      piece[static_cast<size_t>(f.where - off)] = static_cast<uint8_t>(piece[static_cast<size_t>(f.where - off)] ^ kCorruptMask);
  data_.Ext().write(static_cast<size_t>(off), piece.data(), piece.size());
  Answer(ACK);
}

void SimRadio::PasswordCommand(uint8_t command) {
  std::array<uint8_t, 6> got{};
  if (!TakeN(got.data(), got.size())) return;
  const std::optional<std::string>& want = command == wire::kReadPassword        ? readPw_
                                           : command == wire::kOverwritePassword ? overwritePw_
                                                                                : opt_.technicianPassword;
  if (want && wire::PasswordField(*want) != got) {
    Answer(NAK);
    return;
  }
  if (command == wire::kReadPassword) readUnlocked_ = true;
  if (command == wire::kOverwritePassword) writeUnlocked_ = true;
  if (command == wire::kTechnicianPassword) techUnlocked_ = true;
  Answer(ACK);
}

void SimRadio::DateStampCommand() {
  std::array<uint8_t, 6> s{};
  if (!TakeN(s.data(), s.size())) return;
  const bool valid = s[1] >= 1 && s[1] <= 12 && s[2] >= 1 && s[2] <= 31 && s[3] < 24 && s[4] < 60 && s[5] < 60;
  if (!valid) {
    Answer(NAK);
    return;
  }
  dateStamp_ = s;
  std::fprintf(stderr, "vb420sim: date stamp 20%02u-%02u-%02u %02u:%02u:%02u\n", s[0], s[1], s[2], s[3], s[4],
               s[5]);
  Answer(ACK);
}

void SimRadio::Version() {
  std::vector<uint8_t> out = Padded(opt_.firmwareVersion, 6, ' ');
  out.insert(out.end(), 4, 0x00);
  Answer(out);
  CloseWithAck();
}

void SimRadio::Checksum() {
  Answer({static_cast<uint8_t>(opt_.firmwareChecksum >> 8), static_cast<uint8_t>(opt_.firmwareChecksum)});
  CloseWithAck();
}

void SimRadio::Information() {
  uint8_t rk[2];
  if (!TakeN(rk, 2) || rk[0] != static_cast<uint8_t>(wire::kInfoQuery[1]) || rk[1] != static_cast<uint8_t>(wire::kInfoQuery[2])) return;
  const SimModel* model = SimModelOf(modelBytes_);
  const std::string name = model ? model->name : "";
  const std::string type = model ? SimTypeCode(modelBytes_[5]) : "";
  std::vector<uint8_t> rec = {wire::kInfoMarker};
  for (const auto& part : {Padded(name, 12, 0xFF), Padded(type, 4, 0xFF), Padded(opt_.serial, 12, 0xFF),
                           std::vector<uint8_t>(4, 0xFF)})
    rec.insert(rec.end(), part.begin(), part.end());
  rec.push_back(wire::Sum(rec.data() + 1, 32));
  Answer(rec);
  CloseWithAck();
}

void SimRadio::PassPort() {
  for (const auto& f : opt_.faults)
    if (f.kind == Fault::kNoPassPort) return;
  Answer(Padded(opt_.passPortVersion, 12, ' '));
  CloseWithAck();
}

// ---------------------------------------------------------------------------
// Test mode

namespace {

std::string Hex(uint8_t b) {
  char t[8];
  std::snprintf(t, sizeof t, "0x%02X", b);
  return t;
}

// The readings a radio measures rather than stores: battery, RSSI, noise.
bool IsMeter(uint8_t code) {
  return code == 0x3C || code == 0x3D || code == 0x1E || (code >= 0x92 && code <= 0x99) ||
         (code >= 0xAB && code <= 0xB2);
}

bool IsForm(uint8_t b) {
  return b == wire::kSwitchOn || b == wire::kSwitchOff || b == wire::kStepUp || b == wire::kStepDown ||
         b == wire::kStepUpBy || b == wire::kStepDownBy || b == wire::kSetValue || b == wire::kQueryValue;
}

}  // namespace

bool SimRadio::TestCommandSilenced(uint8_t c) {
  for (auto& f : opt_.faults) {
    if (f.where != c) continue;
    if (f.kind == Fault::kSilenceTest) return true;
    if (f.kind == Fault::kNoAnswerTest && !f.used) {
      f.used = true;
      return true;
    }
  }
  return false;
}

uint8_t SimRadio::MeterReading(uint8_t code) const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
  const int wiggle = static_cast<int>((ms.count() / 550 + code) % 5) - 2;
  return static_cast<uint8_t>(std::clamp(static_cast<int>(values_[code]) + wiggle, 0, 255));
}

SimRadio::End SimRadio::TestMode() {
  Note("tuning-call");
  for (;;) {
    uint8_t c = 0;
    long baud = 0;
    End end{};
    if (!NextCommand(c, baud, end)) return end;
    if (silenced_ || baud != opt_.baud) continue;
    if (TestCommandSilenced(c)) {
      // The rest of the request goes unheard with it.
      uint8_t drop = 0;
      while (Take(drop, 50)) {
      }
      Note("no answer to " + Hex(c));
      continue;
    }
    switch (c) {
      case wire::kEnd:
        transmit_ = false;
        Note("end");
        Answer(ACK);
        return End::kEnded;
      case ACK: Answer(ACK); break;
      case wire::kIdentify: Note("identify"); Identify(); break;
      case wire::kVersion: {
        // 0x50 alone asks the version; 0x50 0x1A value is a setting.
        uint8_t next = 0;
        long nb = 0;
        if (line_.Get(next, nb, 30)) {
          if (next == wire::kStepUpBy) {
            if (Take(prefixedSet_)) {
              Note("setting 0x50 = " + Hex(prefixedSet_));
              Answer(ACK);
            }
            break;
          }
          line_.Unget(next, nb);
        }
        Note("version");
        Version();
        break;
      }
      case wire::kFirmwareSum: Note("checksum"); Checksum(); break;
      case wire::kTestChannel: TestChannel(); break;
      case wire::kSignalling: {
        uint8_t sel = 0;
        if (!Take(sel)) break;
        if (sel >= 1 && sel <= 17) {
          signalling_ = sel;
          Note("signalling " + std::to_string(sel));
          Answer(ACK);
        } else {
          Note("signalling " + std::to_string(sel) + " refused");
          Answer(NAK);
        }
        break;
      }
      case wire::kTestData: {
        std::vector<uint8_t> out = {static_cast<uint8_t>(testChannel_), static_cast<uint8_t>(signalling_),
                                    static_cast<uint8_t>(bandwidth_), static_cast<uint8_t>(transmit_),
                                    static_cast<uint8_t>(mskHigh_)};
        for (size_t i = 0; out.size() < wire::kTestDataLength; ++i) out.push_back(values_[0x12 + i]);
        Note("test-data");
        Answer(out);
        CloseWithAck();
        break;
      }
      case wire::kTestValues: {
        // The value of the point switched on, its volume, then the values
        // of the codes after it.
        std::vector<uint8_t> out;
        const int first = switchedOn_ >= 0 ? switchedOn_ : 0;
        for (int i = 0; i < opt_.valuesLength; ++i)
          out.push_back(i == 1 ? volumes_[first & 0xFF] : values_[(first + i) & 0xFF]);
        Note("values of " + Hex(static_cast<uint8_t>(first)));
        Answer(out);
        CloseWithAck();
        break;
      }
      case wire::kTuningBlock: Note("tuning-block"); TuningBlock(); break;
      case wire::kBandwidthWide: bandwidth_ = 0; Note("bandwidth G"); Answer(ACK); break;
      case wire::kBandwidthNarrow: bandwidth_ = 1; Note("bandwidth L"); Answer(ACK); break;
      case wire::kBandwidthF: bandwidth_ = 2; Note("bandwidth F"); Answer(ACK); break;
      case wire::kMskHigh: mskHigh_ = true; Note("msk high"); Answer(ACK); break;
      case wire::kMskLow: mskHigh_ = false; Note("msk low"); Answer(ACK); break;
      case wire::kParameterPrefix: {
        // 0x21 0x1C value is a setting of its own; 0x21 code form addresses
        // the second value of a parameter.
        uint8_t code = 0;
        if (!Take(code)) break;
        if (code == wire::kSetValue) {
          uint8_t next = 0;
          long nb = 0;
          if (!line_.Get(next, nb, 1000)) break;
          if (!IsForm(next)) {
            prefixValue_ = next;
            Note("prefix set " + Hex(next));
            Answer(ACK);
            break;
          }
          line_.Unget(next, nb);
        }
        TestParameter(code, true);
        break;
      }
      default: TestParameter(c, false); break;
    }
  }
}

void SimRadio::TestParameter(uint8_t code, bool prefixed) {
  uint8_t form = 0;
  if (!Take(form)) return;
  uint8_t& v = prefixed ? volumes_[code] : values_[code];
  const std::string name = (prefixed ? "volume " : "parameter ") + Hex(code);
  auto stepBy = [&v](int d) { v = static_cast<uint8_t>(std::clamp(static_cast<int>(v) + d, 0, 255)); };
  switch (form) {
    case wire::kSwitchOn:
      on_[code] = true;
      switchedOn_ = code;
      if (code == wire::kTransmitter) transmit_ = true;
      Note(code == wire::kTransmitter ? "transmit on" : name + " on");
      Answer(ACK);
      return;
    case wire::kSwitchOff:
      on_[code] = false;
      if (switchedOn_ == code) switchedOn_ = -1;
      if (code == wire::kTransmitter) transmit_ = false;
      Note(code == wire::kTransmitter ? "transmit off" : name + " off");
      Answer(ACK);
      return;
    case wire::kStepUp: stepBy(1); Note(name + " step +1"); Answer(ACK); return;
    case wire::kStepDown: stepBy(-1); Note(name + " step -1"); Answer(ACK); return;
    case wire::kStepUpBy:
    case wire::kStepDownBy: {
      uint8_t n = 0;
      if (!Take(n)) return;
      stepBy(form == wire::kStepUpBy ? n : -n);
      Note(name + " step " + (form == wire::kStepUpBy ? "+" : "-") + std::to_string(n));
      Answer(ACK);
      return;
    }
    case wire::kSetValue: {
      uint8_t value = 0;
      if (!Take(value)) return;
      v = value;
      Note(name + " set " + Hex(value));
      Answer(ACK);
      return;
    }
    case wire::kQueryValue: {
      const uint8_t answer = !prefixed && IsMeter(code) ? MeterReading(code) : v;
      Note(name + " query " + Hex(answer));
      Answer(answer);
      CloseWithAck();
      return;
    }
    default: Note(name + " unknown form " + Hex(form)); Answer(NAK); return;
  }
}

void SimRadio::TestChannel() {
  uint8_t sel = 0;
  if (!Take(sel)) return;
  std::vector<uint8_t> out;
  if (sel >= 1 && sel <= 16) {
    testChannel_ = sel;
    const size_t rec = img::kTestFreqs + (sel - 1) * img::kTestFreqRowSize;
    PutSwapped(out, data_.Image(), rec);
    PutSwapped(out, data_.Image(), rec + img::kFreqPairTx);
    // A radio aligned with other test channels than its programming holds.
    if (FindFault(Fault::kTestChannelDiffers, sel)) out[3] ^= 0x10;
  } else {
    out.assign(8, 0xFF);
  }
  Note("test-channel " + std::to_string(sel));
  Answer(out);
  CloseWithAck();
}

void SimRadio::TuningBlock() {
  std::vector<uint8_t> out;
  for (size_t row = 0; row < img::kTuningFreqRows; ++row) {
    PutSwapped(out, data_.Image(), img::kTuningFreqs + row * img::kTuningFreqRowSize);
    PutSwapped(out, data_.Image(), img::kTuningFreqs + row * img::kTuningFreqRowSize + img::kFreqPairTx);
  }
  if (FindFault(Fault::kTuningDiffers, 0)) out[2] ^= 0x01;
  Answer(out);
  CloseWithAck();
}

}  // namespace vb420::sim
