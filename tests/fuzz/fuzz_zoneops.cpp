// SPDX-License-Identifier: GPL-3.0-or-later
// Zone operations on a damaged image. A programming with zones of each kind
// is damaged by the input (bytes set anywhere in the area directory, the zone
// table, the zone area and the per-channel tables), then the rest of the
// input drives zone and record operations. Whatever the damage, nothing is
// written outside the zone area and the tables that belong to it, and the
// image and extension area never change size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "data/ImageLayout.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneMemory.h"

using namespace vb420;

namespace {

// The base programming: a conventional, an LTR and a PassPort zone with
// records, and a few free zones between them.
const std::vector<uint8_t>& Base(bool ext) {
  static std::vector<uint8_t> image, extArea;
  if (image.empty()) {
    RadioData data(&fuzz::ProgramTexts());
    InitNewImage(data, true);
    CZoneMemory z(data);
    (void)z.CreateZone(0, '1');
    for (int n = 0; n < 12; ++n) (void)z.InsertRecord(0, n);
    (void)z.CreateZone(2, '0');
    for (int n = 0; n < 6; ++n) (void)z.InsertRecord(2, n);
    (void)z.InsertRepeater(2, 0);
    (void)z.InsertRepeater(2, 3);
    (void)z.CreateZone(5, '5');
    for (int n = 0; n < 4; ++n) (void)z.InsertRecord(5, n);
    (void)z.CreateZone(7, '3');
    image = data.buffers.ImageBytes();
    extArea = data.buffers.ExtBytes();
  }
  return ext ? extArea : image;
}

// Image bytes zone operations may change: the area directory, the zone
// table and the packed zone area.
bool ZoneImageByte(size_t i) { return i >= img::kAreaDirectory && i < img::kZoneAreaEnd; }
// Extension bytes they may change: the zone references of the features, and
// the per-channel and per-zone tables.
bool ZoneExtByte(size_t i) {
  return (i >= zones::kExtPriority1 && i < zones::kExtPriority1 + 4) || (i >= 0x570 && i < 0x600) ||
         (i >= 0x670 && i < 0x6F0 + 16) || i >= 0x700;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  RadioData data(&fuzz::ProgramTexts());
  data.buffers.Image().write(0, Base(false).data(), kImageSize);
  data.buffers.Ext().write(0, Base(true).data(), kExtSize);
  data.SyncCodecs();
  size_t at = 0;
  // Damage: up to 64 bytes, each three input bytes (where, value).
  const size_t damage = size > 0 ? bytes[at++] % 65 : 0;
  for (size_t d = 0; d < damage && at + 3 <= size; ++d, at += 3) {
    const size_t where = static_cast<size_t>(bytes[at]) << 8 | bytes[at + 1];
    const uint8_t value = bytes[at + 2];
    if (where & 0x8000) data.buffers.Ext().setU8(0x500 + (where & 0x0FFF) % (kExtSize - 0x500), value);
    else data.buffers.Image().setU8(img::kAreaDirectory + where % (img::kZoneAreaEnd - img::kAreaDirectory), value);
  }
  const std::vector<uint8_t> image0 = data.buffers.ImageBytes(), ext0 = data.buffers.ExtBytes();
  CZoneMemory z(data);
  (void)z.CheckZoneArea();
  for (; at + 3 <= size; at += 3) {
    const int op = bytes[at] % 12;
    const int zone = bytes[at + 1] % (zones::kZoneCount + 2) - 1;  // -1 and 128 are outside too
    const int number = bytes[at + 2] % 260 - 2;
    switch (op) {
      case 0: (void)z.InsertRecord(zone, number); break;
      case 1: (void)z.RemoveRecord(zone, number); break;
      case 2: (void)z.InsertRepeater(zone, number); break;
      case 3: (void)z.RemoveRepeater(zone, number); break;
      case 4: (void)z.CreateZone(zone, static_cast<uint8_t>('0' + number % 7)); break;
      case 5: (void)z.ChangeZone(zone, number % 5); break;
      case 6: (void)z.SetZoneType(zone, static_cast<uint8_t>('0' + number % 7)); break;
      case 7: {
        const int rec = z.FindRecord(zone, number);
        std::vector<uint8_t> copy;
        if (rec >= 0) {
          const int cls = z.ZoneClass(zone);
          const int length = cls == kClassConv ? 32 : cls == kClassLtr ? 24 : 32;
          if (const uint8_t* p = data.buffers.Image().ptr(static_cast<size_t>(rec), static_cast<size_t>(length)))
            copy.assign(p, p + length);
        }
        (void)z.InsertCopiedRecord(zone, (number + 1) % 250, copy, z.ReadPerChannel(z.GlobalChannel(zone, number)));
        break;
      }
      case 8: (void)z.WritePerChannel(number * 2, PerChannelValues{}); break;
      case 9:
        (void)z.RecordNumbers(zone);
        (void)z.RepeaterNumbers(zone);
        (void)z.GlobalChannel(zone, number);
        break;
      case 10: (void)z.Layout(); break;
      case 11: (void)z.CheckZoneArea(); break;
    }
    VB420_FUZZ_CHECK(data.buffers.ImageBytes().size() == kImageSize);
    VB420_FUZZ_CHECK(data.buffers.ExtBytes().size() == kExtSize);
  }
  const std::vector<uint8_t>& image1 = data.buffers.ImageBytes();
  const std::vector<uint8_t>& ext1 = data.buffers.ExtBytes();
  for (size_t i = 0; i < kImageSize; ++i)
    if (!ZoneImageByte(i)) VB420_FUZZ_CHECK(image1[i] == image0[i]);
  for (size_t i = 0; i < kExtSize; ++i)
    if (!ZoneExtByte(i)) VB420_FUZZ_CHECK(ext1[i] == ext0[i]);
  return 0;
}
