// SPDX-License-Identifier: GPL-3.0-or-later
// The message windows reached by key (message.1|2, passmessage.1|2 and
// passmessage.password): typed texts become the bytes the windows store, and
// what the windows would not take is refused without a change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ImageLayout.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/messages/MessageFields.h"
#include "lang/TextTable.h"
#include "support/Registered.h"

namespace vb420 {
namespace {

using Bytes = std::vector<uint8_t>;
using forms::SettingLine;
using forms::SettingStatus;

TEST(TypedLine, CutToThirtyTwoCharactersOfLatinOne) {
  std::string b;
  ASSERT_TRUE(TypedLineBytes("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcd", b));
  EXPECT_EQ(b, "0123456789ABCDEFGHIJKLMNOPQRSTUV");
  // Characters, not bytes, are counted: "ñ" is two bytes of UTF-8 and one of the line.
  const std::string enye = "\xC3\xB1";
  std::string typed;
  for (int i = 0; i < 33; ++i) typed += enye;
  ASSERT_TRUE(TypedLineBytes(typed, b));
  EXPECT_EQ(b, std::string(32, '\xF1'));
  // Outside Latin-1 (the euro sign, an emoji): '?'.
  ASSERT_TRUE(TypedLineBytes("A\xE2\x82\xAC" "B\xF0\x9F\x93\xBB", b));
  EXPECT_EQ(b, "A?B?");
  ASSERT_TRUE(TypedLineBytes("", b));
  EXPECT_EQ(b, "");
  // Not text, or a control character: refused.
  for (const std::string& bad : {std::string("A\xC3"), std::string("\xFF"), std::string("\xC0\x81"),
                                std::string("\xED\xA0\x80"), std::string("A\tB"), std::string("A\nB"),
                                std::string("A\0B", 3), std::string("\x7F"), std::string("\xC2\x85")})
    EXPECT_FALSE(TypedLineBytes(bad, b)) << bad;
}

TEST(TypedLine, PasswordsAreUpToSixLettersAndDigits) {
  EXPECT_TRUE(MessagePasswordTypable(""));
  EXPECT_TRUE(MessagePasswordTypable("a1B2c3"));
  EXPECT_FALSE(MessagePasswordTypable("1234567"));
  EXPECT_FALSE(MessagePasswordTypable("12 34"));
  EXPECT_FALSE(MessagePasswordTypable("12-4"));
}

class MessageSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)MessageFieldTable();
    InitNewImage(data, true);
    data.SyncCodecs();
  }
  SettingStatus Set(const std::string& key, const std::string& value) {
    int message = 0;
    return forms::SetSetting(data, text, key, value, shown, message);
  }
  Bytes Bytes32(const ByteArea& a, size_t off) const {
    const auto* p = a.ptr(off, 32);
    return Bytes(p, p + 32);
  }
  TextTable text;
  RadioData data;
  SettingLine shown;
};

TEST_F(MessageSettings, LinesStoreAsTheWindowsStoreThem) {
  const Bytes ext = data.buffers.ExtBytes();
  ASSERT_EQ(Set("message.1", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "0123456789ABCDEFGHIJKLMNOPQRSTUV");
  const std::string full = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
  EXPECT_EQ(Bytes32(data.Image(), img::kEmbeddedMessage), Bytes(full.begin(), full.end()));
  ASSERT_EQ(Set("message.2", "AB      "), SettingStatus::Ok);
  Bytes ab(32, 0);
  ab[0] = 'A';
  ab[1] = 'B';
  EXPECT_EQ(Bytes32(data.Image(), img::kEmbeddedMessage + 0x20), ab);
  EXPECT_EQ(data.buffers.ExtBytes(), ext);  // the plain message lives in the image only

  // The password-protected lines live in the extension area only.
  const Bytes image = data.buffers.ImageBytes();
  ASSERT_EQ(Set("passmessage.2", "   "), SettingStatus::Ok);
  EXPECT_EQ(Bytes32(data.Ext(), ext::kMessageLine2), Bytes(32, 0));
  ASSERT_EQ(Set("passmessage.1", "Se\xC3\xB1or"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "Se\xC3\xB1or");  // shown as it is typed: UTF-8
  EXPECT_EQ(MessageLineText(data.Ext(), ext::kMessageLine1), "Se\xF1or");
  EXPECT_EQ(data.buffers.ImageBytes(), image);

  std::vector<SettingLine> lines;
  ASSERT_EQ(forms::ListSettings(data, text, "passmessage", lines), SettingStatus::Ok);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].key, "passmessage.1");
  EXPECT_EQ(lines[0].text, "Se\xC3\xB1or");
  // The listing stores back as it is: nothing changes.
  const Bytes before = data.buffers.ExtBytes();
  ASSERT_EQ(Set("passmessage.1", lines[0].text), SettingStatus::Ok);
  EXPECT_EQ(data.buffers.ExtBytes(), before);
  EXPECT_EQ(lines[1].key, "passmessage.2");
  EXPECT_EQ(lines[1].text, "");
  EXPECT_EQ(lines[2].key, "passmessage.password");
}

TEST_F(MessageSettings, PasswordStoresItsLengthAndIsRefusedWhenTheDialogWouldRefuseIt) {
  ASSERT_EQ(Set("passmessage.password", "4711"), SettingStatus::Ok);
  EXPECT_EQ(shown.text, "4711");
  const auto* p = data.Ext().ptr(ext::kMessagePasswordLength, 7);
  EXPECT_EQ(Bytes(p, p + 7), (Bytes{4, '4', '7', '1', '1', 0xFF, 0xFF}));
  const Bytes image = data.buffers.ImageBytes();
  const Bytes ext = data.buffers.ExtBytes();
  for (const char* bad : {"1234567", "12 4", "ab-c"}) {
    EXPECT_EQ(Set("passmessage.password", bad), SettingStatus::Refused) << bad;
    EXPECT_EQ(data.buffers.ExtBytes(), ext);
  }
  EXPECT_EQ(Set("message.1", "A\tB"), SettingStatus::Refused);
  EXPECT_EQ(Set("passmessage.1", "\xC3"), SettingStatus::Refused);
  EXPECT_EQ(data.buffers.ImageBytes(), image);
  EXPECT_EQ(data.buffers.ExtBytes(), ext);
  // An empty password: length and characters all 0xFF.
  ASSERT_EQ(Set("passmessage.password", ""), SettingStatus::Ok);
  EXPECT_EQ(Bytes(p, p + 7), Bytes(7, 0xFF));
  EXPECT_EQ(shown.text, "");
  SettingLine l;
  for (const char* key : {"message.3", "message.password", "passmessage.0", "messages.1", "message"})
    EXPECT_EQ(forms::GetSetting(data, text, key, l), SettingStatus::UnknownKey) << key;
}

}  // namespace
}  // namespace vb420
