// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's answers: a scripted port hands the input to the protocol as
// everything the radio says, and the first bytes choose which exchanges the
// program runs. Nothing the radio answers may make the program read or write
// outside its buffers, and a block read never fills more than the block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "data/ImageLayout.h"
#include "data/ModelRecord.h"
#include "data/RadioData.h"
#include "link/RadioInfoSession.h"
#include "link/RadioLink.h"

using namespace vb420;

namespace {

// A link whose line is the fuzzer's input: writes go nowhere, reads take the
// next bytes of the script and fail when it has run out, as a silent radio's
// read times out.
class ScriptedLink : public RadioLink {
 public:
  ScriptedLink(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool WriteBytes(const uint8_t*, size_t count) override { return count > 0; }
  bool Read(uint8_t* buffer, size_t count) override {
    if (count > size_ - at_) {
      at_ = size_;
      return false;
    }
    std::memcpy(buffer, data_ + at_, count);
    at_ += count;
    return true;
  }
  bool Done() const { return at_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 1) return 0;
  const size_t ops = bytes[0] % 8 + 1;
  if (size < 1 + ops) return 0;
  ScriptedLink link(bytes + 1 + ops, size - 1 - ops);
  for (size_t k = 0; k < ops && !link.Done(); ++k) {
    switch (bytes[1 + k] % 12) {
      case 0: (void)link.EnterProgramMode(); break;
      case 1: {
        // A block with guard bytes on both sides.
        std::vector<uint8_t> buf(kBlockSize + 32, 0xA5);
        (void)link.BlockRead(buf.data() + 16, 7);
        for (size_t i = 0; i < 16; ++i) VB420_FUZZ_CHECK(buf[i] == 0xA5 && buf[kBlockSize + 16 + i] == 0xA5);
        break;
      }
      case 2: {
        std::vector<uint8_t> buf(kExtPieceSize + 32, 0xA5);
        (void)link.AreaRead(buf.data() + 16, 0x100, kExtPieceSize);
        for (size_t i = 0; i < 16; ++i) VB420_FUZZ_CHECK(buf[i] == 0xA5 && buf[kExtPieceSize + 16 + i] == 0xA5);
        break;
      }
      case 3: {
        RadioInfo info;
        if (link.InformationQuery(info.record) == LinkResult::kOk) (void)FormatRadioInfo(info);
        break;
      }
      case 4: {
        std::array<uint8_t, 10> v{};
        (void)link.VersionQuery(v);
        break;
      }
      case 5: {
        uint16_t sum = 0;
        if (link.FirmwareChecksum(sum) == LinkResult::kOk) (void)ChecksumText(sum);
        break;
      }
      case 6: {
        std::array<uint8_t, 12> v{};
        (void)link.PassPortVersion(v);
        break;
      }
      case 7: {
        std::array<uint8_t, 8> ch{};
        (void)link.TestChannel(3, ch);
        break;
      }
      case 8: {
        uint8_t value = 0;
        (void)link.TestQuery(0x12, value, bytes[1 + k] & 0x80);
        break;
      }
      case 9: {
        std::array<uint8_t, 40> t{};
        (void)link.TestReadTuning(t);
        break;
      }
      case 10: {
        std::vector<uint8_t> buf(testcmd::kTestDataLength);
        (void)link.TestReadData(buf.data(), buf.size());
        break;
      }
      case 11: {
        // The model bytes as an identification would answer them, judged as
        // each conversation judges them.
        ModelBytes mb{};
        if (!link.Read(mb.data(), mb.size())) break;
        (void)ModelRecord::IsKnownModel(mb);
        (void)RadioLink::IsPlatformCode(mb);
        RadioData data;
        data.Image().write(img::kModelBytes, mb.data(), mb.size());
        (void)RadioLink::WriteModelCheck(mb, data.model);
        (void)data.model.ModelNumber();
        break;
      }
    }
  }
  return 0;
}
