// SPDX-License-Identifier: GPL-3.0-or-later
// A new programming and the shipped texts, for the signalling editors' tests.
#pragma once

#include "support/Paths.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420::sigtest {

class SignalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(text.LoadFile(::vb420::testsupport::ResourceDir() + "/vb420.lng", "English"), TextTable::LoadResult::Ok);
    data.field.SetTextTable(&text);
    InitNewImage(data, true);
    data.SyncCodecs();
  }
  void UseModel(int model) {
    data.model.SetModel(model);
    data.SyncCodecs();
  }
  forms::SettingStatus Set(const std::string& key, const std::string& value) {
    message = 0;
    return forms::SetSetting(data, text, key, value, shown, message);
  }
  std::string Get(const std::string& key) {
    forms::SettingLine l;
    EXPECT_EQ(forms::GetSetting(data, text, key, l), forms::SettingStatus::Ok) << key;
    return l.text;
  }
  std::vector<uint8_t> Bytes(size_t at, size_t n) {
    const uint8_t* p = data.Image().ptr(at, n);
    return p ? std::vector<uint8_t>(p, p + n) : std::vector<uint8_t>();
  }
  uint8_t B(size_t at) { return data.Image().u8(at); }
  uint16_t W(size_t at) { return data.Image().u16le(at); }

  TextTable text;
  RadioData data;
  forms::SettingLine shown;
  int message = 0;
};

}  // namespace vb420::sigtest
