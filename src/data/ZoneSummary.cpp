#include "data/ZoneSummary.h"

#include "data/RadioData.h"

namespace vb420 {

namespace {
constexpr size_t kZoneAreaStart = 0xB00;
constexpr size_t kZoneAreaEnd = 0x5307;
}  // namespace

ZoneSummary SummarizeZones(RadioData& data) {
  ZoneSummary s;
  ByteArea image = data.Image();
  size_t used = 0;
  for (int z = 0; z < 128; ++z) {
    const uint16_t off = image.u16le(img::kZoneTable + 2 * z);
    // A damaged table entry pointing outside the zone area is not followed.
    if (off == 0xFFFF || off < kZoneAreaStart || off + 6u > kZoneAreaEnd) continue;
    const uint8_t type = image.u8(off + 1);
    const uint8_t countByte = image.u8(off + 4);
    const int count = countByte == 0xFF ? 0 : countByte;
    uint8_t reps = image.u8(off + 5);
    if (reps == 0xFF) reps = 0;
    size_t size = 0;
    if (type >= '1' && type <= '4') {
      ++s.conventional;
      size = 32 + 48 * static_cast<size_t>(count);
    } else if (type == '0') {
      ++s.ltr;
      size = 48 + 32 * static_cast<size_t>(count) + 16 * static_cast<size_t>(reps);
    } else if (type == '5') {
      ++s.passport;
      size = 96 + 32 * static_cast<size_t>(count);
    } else {
      continue;
    }
    s.records += count;
    used += size;
  }
  const size_t room = kZoneAreaEnd - kZoneAreaStart;
  s.freeBytes = used > room ? 0 : static_cast<int>(room - used);
  return s;
}

}  // namespace vb420
