// SPDX-License-Identifier: GPL-3.0-or-later
// A new programming of a chosen model with the shipped English texts, for
// the tests of the radio-wide editors.
#pragma once

#include "support/Paths.h"
#include <gtest/gtest.h>

#include <string>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420::test {

class RadioFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(text.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
    NewModel(0);
  }
  void NewModel(int model) {
    data.buffers.Clear();
    data.model.SetModel(model);
    data.model.SetBandCode(model == 4 || model == 5 || model == 6 || model == 7 || model == 9 ? 0x06 : 0x04);
    data.SyncCodecs();
    InitNewImage(data, false);
  }
  forms::SettingStatus Set(const std::string& key, const std::string& value) {
    forms::SettingLine line;
    int message = 0;
    const auto st = forms::SetSetting(data, text, key, value, line, message);
    shown = line.text;
    return st;
  }
  std::string Get(const std::string& key) {
    forms::SettingLine line;
    EXPECT_EQ(forms::GetSetting(data, text, key, line), forms::SettingStatus::Ok) << key;
    return line.text;
  }
  uint8_t B(size_t off) { return data.Image().u8(off); }
  uint16_t W(size_t off) { return data.Image().u16le(off); }

  TextTable text;
  RadioData data{&text};
  std::string shown;
};

}  // namespace vb420::test
