// SPDX-License-Identifier: GPL-3.0-or-later
// Typed, bounds-checked access to a byte area of the memory image.
//
// Every multi-byte value in the radio's memory is little-endian. Offsets that
// come out of the image itself (zone table entries, directory words, record
// counts) may be damaged, so every accessor checks its range: a read outside
// the area answers the "none" value (0xFF..), a write outside it is dropped.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vb420 {

class ByteArea {
 public:
  ByteArea() = default;
  ByteArea(uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  bool InRange(size_t offset, size_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  uint8_t u8(size_t off) const { return off < size_ ? data_[off] : 0xFF; }
  void setU8(size_t off, uint8_t v) {
    if (off < size_) data_[off] = v;
  }
  uint16_t u16le(size_t off) const {
    if (!InRange(off, 2)) return 0xFFFF;
    return static_cast<uint16_t>(data_[off] | (data_[off + 1] << 8));
  }
  void setU16le(size_t off, uint16_t v) {
    if (!InRange(off, 2)) return;
    data_[off] = static_cast<uint8_t>(v & 0xFF);
    data_[off + 1] = static_cast<uint8_t>(v >> 8);
  }
  uint32_t u32le(size_t off) const {
    if (!InRange(off, 4)) return 0xFFFFFFFFu;
    return static_cast<uint32_t>(data_[off]) | (static_cast<uint32_t>(data_[off + 1]) << 8) |
           (static_cast<uint32_t>(data_[off + 2]) << 16) | (static_cast<uint32_t>(data_[off + 3]) << 24);
  }
  void setU32le(size_t off, uint32_t v) {
    if (!InRange(off, 4)) return;
    for (int i = 0; i < 4; ++i) data_[off + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  bool bit(size_t off, int bitNo) const { return (u8(off) >> bitNo) & 1; }
  void setBit(size_t off, int bitNo, bool on) {
    if (off >= size_) return;
    if (on) data_[off] = static_cast<uint8_t>(data_[off] | (1u << bitNo));
    else data_[off] = static_cast<uint8_t>(data_[off] & ~(1u << bitNo));
  }

  // Pointer to `length` bytes at `off`, or nullptr when they do not all fit.
  uint8_t* ptr(size_t off, size_t length) { return InRange(off, length) ? data_ + off : nullptr; }
  const uint8_t* ptr(size_t off, size_t length) const { return InRange(off, length) ? data_ + off : nullptr; }

  void fill(size_t off, size_t length, uint8_t v) {
    if (InRange(off, length)) std::memset(data_ + off, v, length);
  }
  void write(size_t off, const void* src, size_t length) {
    if (InRange(off, length)) std::memcpy(data_ + off, src, length);
  }
  void read(size_t off, void* dst, size_t length) const {
    if (InRange(off, length)) std::memcpy(dst, data_ + off, length);
    else std::memset(dst, 0xFF, length);
  }
  // Writes the characters of `s` and pads the rest of `width` with `pad`.
  void writeText(size_t off, std::string_view s, size_t width, uint8_t pad = 0x00) {
    if (!InRange(off, width)) return;
    const size_t n = std::min(width, s.size());
    std::memcpy(data_ + off, s.data(), n);
    std::memset(data_ + off + n, pad, width - n);
  }
  // The raw characters of a fixed-width field up to its first zero byte.
  std::string text(size_t off, size_t width) const {
    if (!InRange(off, width)) return {};
    size_t n = 0;
    while (n < width && data_[off + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(data_ + off), n);
  }
  bool equals(size_t off, const void* what, size_t length) const {
    return InRange(off, length) && std::memcmp(data_ + off, what, length) == 0;
  }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace vb420
