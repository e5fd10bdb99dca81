// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh programming for each test: default model, new-image defaults, a
// text table whose entry n reads "T<n>".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420::testing {

inline TextTable& NumberedTexts() {
  static TextTable table = [] {
    TextTable t;
    std::string lng = "*Language,English\n";
    for (int i = 0; i < TextTable::kEntryCount; ++i)
      lng += "^#" + TextTable::IdentifierOf(i) + ",T" + std::to_string(i) + "\n";
    t.LoadText(lng, "English");
    return t;
  }();
  return table;
}

class ZoneFixture : public ::testing::Test {
 protected:
  ZoneFixture() : data(&NumberedTexts()), zm(data), conv(zm, NumberedTexts()) {
    data.buffers.Clear();
    InitNewImage(data, true);
    SetSystemType(0);
  }

  TextTable& text() { return NumberedTexts(); }
  ByteArea image() { return data.Image(); }
  ByteArea ext() { return data.Ext(); }

  void SetModel(int model, uint8_t band) {
    data.model.SetModel(model);
    data.model.SetBandCode(band);
    data.SyncCodecs();
  }
  // 1: 0x851 = 0; 2: 0x852 = 0; 4: 0x853 = 0; 0: none of them.
  void SetSystemType(int type) {
    image().fill(0x851, 3, 0xFF);
    if (type == 1) image().setU8(0x851, 0);
    if (type == 2) image().setU8(0x852, 0);
    if (type == 4) image().setU8(0x853, 0);
  }

  std::vector<uint8_t> Bytes(size_t off, size_t n) {
    std::vector<uint8_t> v(n);
    image().read(off, v.data(), n);
    return v;
  }
  // Creates a conventional zone and inserts the given 1-based channels.
  void MakeConv(int zone, std::vector<int> channels, uint8_t type = '1') {
    ASSERT_EQ(zm.CreateZone(zone, type), 1);
    for (int c : channels) ASSERT_EQ(zm.InsertRecord(zone, c - 1), 1) << "channel " << c;
  }
  std::string Field(int zone, int ch, int field) {
    std::string s;
    conv.RecordFieldText(zone, ch, field, s);
    return s;
  }
  uint16_t Flags(int zone, int ch) { return image().u16le(static_cast<size_t>(zm.FindRecord(zone, ch)) + 46); }
  uint16_t TableWord(int zone) { return image().u16le(0xA00 + 2 * static_cast<size_t>(zone)); }

  RadioData data;
  CZoneMemory zm;
  CConvFields conv;
};

}  // namespace vb420::testing
