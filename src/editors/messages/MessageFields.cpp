// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/messages/MessageFields.h"

#include <algorithm>
#include <cstring>

#include "data/FieldCodec.h"
#include "data/ImageLayout.h"
#include "data/MemoryBuffers.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"

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

// ---------------------------------------------------------------------------
// The windows' fields as tables

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

bool TypedLineBytes(std::string_view utf8, std::string& bytes) {
  bytes.clear();
  size_t i = 0;
  int chars = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    int len = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > utf8.size()) return false;
    uint32_t cp = len == 1 ? b0 : b0 & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
      if ((b & 0xC0) != 0x80) return false;
      cp = cp << 6 | (b & 0x3F);
    }
    // Overlong forms and surrogates are not text.
    static const uint32_t kLeast[] = {0, 0, 1u << 7, 1u << 11, 1u << 16};
    if (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) return false;
    i += static_cast<size_t>(len);
    // The edit box holds 32 characters: the rest is cut, as pasting there cuts it.
    if (chars++ < kMessageLineLength) bytes.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
  }
  return true;
}

bool MessagePasswordTypable(std::string_view typed) {
  if (typed.size() > static_cast<size_t>(kMessagePasswordLength)) return false;
  for (char c : typed)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

namespace {

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char ch : latin1) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

ByteArea AreaOf(const FormContext& c, Area area) { return area == Area::Ext ? c.data.Ext() : c.data.Image(); }

FieldDescriptor Line(const char* key, int line, Area area, size_t offset) {
  FieldDescriptor d{.key = key, .number = line,
                    .kind = ControlKind::Text,
                    .field = {.area = area, .offset = static_cast<uint32_t>(offset)},
                    .encoding = Encoding::Custom, .textWidth = kMessageLineLength, .inputMode = 1,
                    .maxLength = kMessageLineLength};
  // The line's bytes are Latin-1; as a setting it is shown in UTF-8, the
  // form it is typed in, so that a listing can be stored back as it is.
  d.customShow = [area, offset](const FormContext& c) {
    return Latin1ToUtf8(MessageLineText(AreaOf(c, area), offset));
  };
  // `text` holds the line's bytes already (see TypedLineBytes).
  d.customStore = [area, offset](FormContext& c, std::string& text) {
    StoreMessageLine(AreaOf(c, area), offset, text);
    text = Latin1ToUtf8(MessageLineText(AreaOf(c, area), offset));
  };
  return d;
}

FieldDescriptor Password() {
  FieldDescriptor d{.key = "password", .number = 3, .labelEntry = 210, .kind = ControlKind::Text,
                    .field = {.area = Area::Ext, .offset = static_cast<uint32_t>(ext::kMessagePasswordLength)},
                    .encoding = Encoding::Custom, .textWidth = kMessagePasswordLength, .inputMode = 1,
                    .maxLength = kMessagePasswordLength};
  d.customShow = [](const FormContext& c) { return MessagePassword(c.data.Ext()); };
  d.customStore = [](FormContext& c, std::string& text) {
    StoreMessagePassword(c.data.Ext(), text);
    text = MessagePassword(c.data.Ext());
  };
  return d;
}

// The message windows have one record each; a typed text passes the
// windows' own input rules first, and what they would not take is refused.
class MessageRecord : public BoundRecord {
 public:
  MessageRecord(RadioData& data, TextTable& text) : ctx_(data, text, data.votingSwitch) {}
  FormContext& Context() override { return ctx_; }
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    std::string typed;
    if (d.key == "password") {
      if (!MessagePasswordTypable(text)) return false;
      typed = text;
    } else if (!TypedLineBytes(text, typed)) {
      return false;
    }
    const bool stored = FormEngine::StoreText(ctx_, d, typed);
    text = typed;
    return stored;
  }

 private:
  FormContext ctx_;
};

FieldSet MakeMessageSet(const char* name, const std::vector<FieldDescriptor>& fields, const char* keys) {
  FieldSet s;
  s.name = name;
  s.recordKind = name;
  s.keyPattern = keys;
  s.fields = &fields;
  const std::string prefix = name;
  s.records = [prefix](RadioData&) { return std::vector<FieldSetRecord>{{prefix, {}}}; };
  s.parse = [prefix](RadioData&, const std::string& p, RecordCursor& c) {
    c = {};
    return p == prefix;
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<MessageRecord>(data, text);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeMessageSet("message", MessageFieldTable(), "`message.KEY`, the lines 1 and 2"));
  RegisterFieldSet(MakeMessageSet("passmessage", PassMessageFieldTable(), "`passmessage.KEY`, the lines 1 and 2 and the message password"));
}

}  // namespace

const std::vector<FieldDescriptor>& MessageFieldTable() {
  static const std::vector<FieldDescriptor> table = {Line("1", 1, Area::Image, MessageLine(false, 0)),
                                                     Line("2", 2, Area::Image, MessageLine(false, 1))};
  return table;
}

const std::vector<FieldDescriptor>& PassMessageFieldTable() {
  static const std::vector<FieldDescriptor> table = {Line("1", 1, Area::Ext, MessageLine(true, 0)),
                                                     Line("2", 2, Area::Ext, MessageLine(true, 1)), Password()};
  return table;
}

void RegisterMessageFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
