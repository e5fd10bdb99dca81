#include "editors/messages/MessageFields.h"

#include <algorithm>
#include <cstring>

#include "data/FieldCodec.h"
#include "data/MemoryBuffers.h"

namespace vb420 {

std::string MessageLineText(const ByteArea& area, size_t offset) {
  const uint8_t* p = area.ptr(offset, kMessageLineLength);
  if (!p) return {};
  // Copied into a zeroed buffer one longer than the field, so that a full
  // line ends there.
  char buf[kMessageLineLength + 1] = {};
  std::memcpy(buf, p, kMessageLineLength);
  return std::string(buf);
}

void StoreMessageLine(ByteArea area, size_t offset, std::string_view typed) {
  uint8_t* field = area.ptr(offset, kMessageLineLength);
  if (!field) return;
  char buf[kMessageLineLength + 1] = {};
  std::memcpy(buf, typed.data(), std::min<size_t>(typed.size(), kMessageLineLength));
  // Blanks only: all zero bytes.
  CFieldCodec::IsBlank(reinterpret_cast<uint8_t*>(buf), kMessageLineLength, 0x00, 0x00);
  CFieldCodec::TrimTrailingSpaces(buf, kMessageLineLength);
  std::memset(field, 0, kMessageLineLength);
  std::memcpy(field, buf, std::strlen(buf));
}

std::string MessagePassword(const ByteArea& ext) {
  const uint8_t len = ext.u8(ext::kMessagePasswordLength);
  if (len == 0 || len > kMessagePasswordLength) return {};
  return ext.text(ext::kMessagePassword, len);
}

void StoreMessagePassword(ByteArea ext, std::string_view password) {
  const size_t n = std::min<size_t>(password.size(), kMessagePasswordLength);
  ext.fill(ext::kMessagePasswordLength, 1 + kMessagePasswordLength, 0xFF);
  if (n == 0) return;
  ext.setU8(ext::kMessagePasswordLength, static_cast<uint8_t>(n));
  ext.write(ext::kMessagePassword, password.data(), n);
}

}  // namespace vb420
