// SPDX-License-Identifier: GPL-3.0-or-later
// A radio played inside the test: a RadioLink whose writes go to a small
// protocol engine instead of the line and whose reads take that engine's
// answers. The port itself is a pseudo-terminal, so that opening, closing and
// line settings work as on a real line. Every write is logged.
#pragma once

#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "data/MemoryBuffers.h"
#include "data/ModelRecord.h"
#include "link/RadioLink.h"

namespace vb420::testing {

class FakeRadioLink : public RadioLink {
 public:
  using Bytes = std::vector<uint8_t>;

  FakeRadioLink() : memory(kImageSize, 0xFF), ext(kExtSize, 0xFF) {
    openpty(&master_, &slave_, nullptr, nullptr, nullptr);
    SetDevicePath(ttyname(slave_));
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 3 + (i >> 8));
    for (size_t i = 0; i < ext.size(); ++i) ext[i] = static_cast<uint8_t>(i * 5 + 1);
  }
  ~FakeRadioLink() override {
    SetOpenState(0);
    ::close(slave_);
    ::close(master_);
  }

  // ---- the radio ----------------------------------------------------------
  ModelBytes model = kDefaultModelBytes;
  Bytes memory;
  Bytes ext;
  std::string readPassword = "12";       // compared with the digits sent
  std::string overwritePassword = "34";
  // Hooks: true = the radio stays silent this time.
  std::function<bool(int block)> silentBlockRead = [](int) { return false; };
  std::function<bool(int offset)> silentAreaRead = [](int) { return false; };
  std::function<bool(int offset)> silentAreaWrite = [](int) { return false; };
  std::function<bool(int block)> silentBlockWrite = [](int) { return false; };
  int silentPasswords = 0;   // password commands left unanswered
  int failedInfoQueries = 0; // "URK" answers with a wrong first byte
  int silentChecksums = 0;
  int silentDateStamps = 0;
  bool passportAnswers = true;
  bool endAnswers = true;

  // ---- what the program sent --------------------------------------------------
  std::vector<Bytes> writes;
  int CountWrites(const Bytes& w) const {
    int n = 0;
    for (const auto& x : writes) n += x == w;
    return n;
  }
  int CountFirst(uint8_t first, size_t size) const {
    int n = 0;
    for (const auto& x : writes) n += x.size() == size && x[0] == first;
    return n;
  }

  // Whether the line is in exclusive mode now (asked on our own hold of it),
  // and whether it was at every request the program sent.
  bool LineExclusive() const {
    int on = 0;
    return ioctl(slave_, TIOCGEXCL, &on) == 0 && on != 0;
  }
  bool exclusiveAtEveryWrite = true;

  bool WriteBytes(const uint8_t* b, size_t n) override {
    if (!IsOpen()) return false;
    exclusiveAtEveryWrite = exclusiveAtEveryWrite && LineExclusive();
    out_.clear();  // the line drops what was not read before a new request
    const Bytes w(b, b + n);
    writes.push_back(w);
    Handle(w);
    return true;
  }
  bool Read(uint8_t* b, size_t n) override {
    if (!IsOpen() || out_.size() < n) {
      out_.clear();
      return false;
    }
    for (size_t i = 0; i < n; ++i) {
      b[i] = out_.front();
      out_.pop_front();
    }
    return true;
  }

 private:
  enum class Next { Command, BlockReadNumber, BlockWriteNumber, BlockWriteData, BlockWriteSum, AreaWriteData };

  void Answer(std::initializer_list<uint8_t> bytes) { out_.insert(out_.end(), bytes); }
  void Answer(const Bytes& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
  static std::string Digits(const Bytes& w) {
    std::string s;
    for (size_t i = 1; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i) s.push_back(static_cast<char>(w[i]));
    return s;
  }

  void Handle(const Bytes& w) {
    switch (next_) {
      case Next::BlockReadNumber: {
        next_ = Next::Command;
        const int block = (w[0] << 8) | w[1];
        if (silentBlockRead(block)) return;
        Bytes a{'W'};
        a.insert(a.end(), memory.begin() + block * 256, memory.begin() + block * 256 + 256);
        a.push_back(Sum8(memory.data() + block * 256, 256));
        Answer(a);
        return;
      }
      case Next::BlockWriteNumber:
        block_ = (w[0] << 8) | w[1];
        next_ = Next::BlockWriteData;
        return;
      case Next::BlockWriteData:
        if (fill_ && silentBlockWrite(block_)) {
          next_ = Next::Command;
          return;
        }
        if (fill_) {
          std::fill(memory.begin() + block_ * 256, memory.begin() + block_ * 256 + 256, w[0]);
          next_ = Next::Command;
          Answer({ctl::kAck});
        } else {
          std::copy(w.begin(), w.end(), memory.begin() + block_ * 256);
          next_ = Next::BlockWriteSum;
        }
        return;
      case Next::BlockWriteSum:
        next_ = Next::Command;
        if (!silentBlockWrite(block_)) Answer({ctl::kAck});
        return;
      case Next::AreaWriteData:
        next_ = Next::Command;
        if (silentAreaWrite(area_)) return;
        std::copy(w.begin(), w.end(), ext.begin() + area_);
        Answer({ctl::kAck});
        return;
      case Next::Command: break;
    }
    const std::string text(w.begin(), w.end());
    if (text == "VB420PP") return Answer({ctl::kSyn, ctl::kAck});
    if (text == "URK") {
      Bytes a{failedInfoQueries > 0 ? uint8_t(0x54) : ctl::kRecordMarker};
      if (failedInfoQueries > 0) --failedInfoQueries;
      const std::string rec = "VT-1600     K   000012345678    ";
      a.insert(a.end(), rec.begin(), rec.end());
      a.push_back(Sum8(a.data() + 1, 32));
      return Answer(a);
    }
    const uint8_t c = w[0];
    if (w.size() == 1) {
      switch (c) {
        case cmd::kIdentify: return Answer(Bytes(model.begin(), model.end()));
        case ctl::kAck: return Answer({ctl::kAck});
        case cmd::kVersion: return Answer({'V', '3', '.', '0', '5', ' ', 0, 0, 0, 0});
        case cmd::kBlockRead: next_ = Next::BlockReadNumber; return;
        case cmd::kBlockWrite:
        case cmd::kBlockFill:
          fill_ = c == cmd::kBlockFill;
          next_ = Next::BlockWriteNumber;
          return;
        case cmd::kEnd:
          if (endAnswers) Answer({ctl::kAck});
          return;
        case cmd::kFirmwareChecksum:
          if (silentChecksums > 0) {
            --silentChecksums;
            return;
          }
          return Answer({0x12, 0xAB});
        case cmd::kPassPortVersion:
          if (passportAnswers) Answer({'P', 'P', ' ', 'V', '1', '.', '0', '0', ' ', ' ', ' ', ' '});
          return;
        default: return;
      }
    }
    if (w.size() == 4 && c == cmd::kAreaRead) {
      const int offset = (w[1] << 8) | w[2];
      if (silentAreaRead(offset)) return;
      Bytes a{0x00};
      a.insert(a.end(), ext.begin() + offset, ext.begin() + offset + w[3]);
      return Answer(a);
    }
    if (w.size() == 4 && c == cmd::kAreaWrite) {
      area_ = (w[1] << 8) | w[2];
      next_ = Next::AreaWriteData;
      return;
    }
    if (w.size() == 7 && (c == cmd::kReadPassword || c == cmd::kOverwritePassword)) {
      if (silentPasswords > 0) {
        --silentPasswords;
        return;
      }
      const std::string& want = c == cmd::kReadPassword ? readPassword : overwritePassword;
      return Answer({Digits(w) == want ? ctl::kAck : ctl::kNak});
    }
    if (w.size() == 7 && c == cmd::kDateStamp) {
      if (silentDateStamps > 0) {
        --silentDateStamps;
        return;
      }
      return Answer({ctl::kAck});
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::deque<uint8_t> out_;
  Next next_ = Next::Command;
  int block_ = 0;
  int area_ = 0;
  bool fill_ = false;
};

}  // namespace vb420::testing
