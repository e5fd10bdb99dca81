// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/features/OptBoardFields.h"

#include <deque>
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "data/AreaDefaults.h"
#include "data/ImageLayout.h"
#include "lang/TextNames.h"
#include "editors/features/FeatureFields.h"
#include "editors/features/KeyFields.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"
#include "link/WriteValidation.h"

// Tables name only the members they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;

namespace {

// A check box shows and takes the "on" and "off" texts.
std::vector<forms::Choice> CheckMap(int checked = 0, int unchecked = 1) { return {{370, checked}, {371, unchecked}}; }

void WriteSystemBytes(ByteArea& image, int type) {
  image.setU8(img::kSystemTypeBytes + 0, type == 1 ? 0 : 0xFF);
  image.setU8(img::kSystemTypeBytes + 1, type == 2 ? 0 : 0xFF);
  image.setU8(img::kSystemTypeBytes + 2, type == 4 ? 0 : 0xFF);
}

}  // namespace

SystemTypeChange ChooseSystemType(FormContext& ctx, int type) {
  SystemTypeChange r;
  if (type != 0 && type != 1 && type != 2 && type != 4) return r;
  if (type == 4 && ctx.IsSecondGen()) return r;  // the data board does not exist there
  ByteArea image = ctx.data.Image();
  const uint8_t old[3] = {image.u8(img::kSystemTypeBytes), image.u8(img::kSystemTypeBytes + 1),
                          image.u8(img::kSystemTypeBytes + 2)};
  const int oldType = SystemType(image);
  WriteSystemBytes(image, type);
  if ((oldType == 4) != (type == 4) && !ctx.Confirm(optb::kConfirmSystemType)) {
    for (int i = 0; i < 3; ++i) image.setU8(img::kSystemTypeBytes + static_cast<size_t>(i), old[i]);
    r.cancelled = true;
    return r;
  }
  const uint8_t now[3] = {image.u8(img::kSystemTypeBytes), image.u8(img::kSystemTypeBytes + 1),
                          image.u8(img::kSystemTypeBytes + 2)};
  r.changed = oldType != type;
  r.zonesChanged = old[0] != now[0];
  if (type == 0 && image.u8(optb::kAccessoryConnector) == '2') {
    image.setU8(optb::kAccessoryConnector, '1');
    r.connectorChanged = true;
  }
  if (old[2] != now[2]) {
    RemoveKeyFunction(ctx.data, 3, true);
    RemoveKeyFunction(ctx.data, 46, true);
    r.keysChanged = true;
  }
  if (old[1] == 0 && now[1] == 0xFF) {
    if (image.u8(optb::kEmergencySignalling) == '3') image.setU8(optb::kEmergencySignalling, 0xFF);
    if (image.u8(feat::kPttIdType) == '2') image.setU8(feat::kPttIdType, '0');
  } else if (old[1] == 0xFF && now[1] == 0) {
    image.setU8(feat::kPttIdType, '2');
  }
  return r;
}

void ChooseOptionBoard(RadioData& data, uint8_t board) {
  if (board != '1' && board != '2' && board != '3') return;
  data.Image().setU8(img::kOptionBoard, board);
  if (board == '1' || board == '2') RemoveKeyFunction(data, 73, true);
  if (board == '1' || board == '3') RemoveKeyFunction(data, 92, true);
}

namespace {

FieldDescriptor SystemTypeField() {
  FieldDescriptor d{.key = "system", .labelEntry = 201, .kind = ControlKind::Combo, .field = ImageByte(layout::optboard::kSystemType),
                    .encoding = Encoding::Custom, .choices = {{362, 0}, {366, 1}, {1097, 4}, {367, 2}}};
  d.offered = [](const FormContext& c, const Choice& ch) { return ch.value != 4 || !c.IsSecondGen(); };
  d.customValue = [](const FormContext& c) { return c.SystemType(); };
  d.customStoreValue = [](FormContext& c, int v) { (void)ChooseSystemType(c, v); };
  d.dependents = {1};
  d.newImage = {.value = 0xFF, .fill = 3};  // no system type: all three selection bytes none
  return d;
}

FieldDescriptor ConnectorField() {
  FieldDescriptor d{.key = "connector", .labelEntry = 1171, .kind = ControlKind::Combo,
                    .field = ImageByte(optb::kAccessoryConnector), .encoding = Encoding::Value,
                    .choices = {{1126, '0'}, {1128, '1'}, {1144, '2'}}};
  d.offered = [](const FormContext& c, const Choice& ch) { return ch.value != '2' || c.SystemType() != 0; };
  d.newImage.value = '0';  // not used
  return d;
}

FieldDescriptor WordCheck(std::string key, int label, int bit) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Check,
          .field = ImageWordBit(optb::kOptionWord, bit), .encoding = Encoding::Value, .choices = CheckMap(), .checkedValue = 0,
          .uncheckedValue = 1};
}

FormPage BuildOptBoardPage() {
  FormPage p;
  p.tabEntry = 356;
  FieldDescriptor board{.key = "board", .labelEntry = 1172, .kind = ControlKind::Combo,
                        .field = ImageByte(img::kOptionBoard), .encoding = Encoding::Custom,
                        .choices = {{1148, '1'}, {1173, '2'}, {1149, '3'}}};
  board.customValue = [](const FormContext& c) { return static_cast<int>(c.OptionBoard()); };
  board.customStoreValue = [](FormContext& c, int v) { ChooseOptionBoard(c.data, static_cast<uint8_t>(v)); };
  board.newImage.value = '1';  // the first row
  p.fields = {SystemTypeField(),
              ConnectorField(),
              {.key = "", .labelEntry = 366, .kind = ControlKind::Caption},
              WordCheck("scrambler", 1175, 5),
              board,
              {.key = "", .labelEntry = 1173, .kind = ControlKind::Caption},
              WordCheck("autorecord", 1174, 4)};
  return p;
}

// ---- extended function ---------------------------------------------------------------------

bool PinCounts(const FormContext& c, int pin) {
  if (pin == 0) return true;
  if (pin == 1) return c.SystemType() != 1 && c.SystemType() != 4;
  return c.IsMobile();
}

FormPage BuildExtFuncPage() {
  FormPage p;
  p.tabEntry = 356;
  // Mobiles have no option-board window: the system type is chosen here,
  // by the same rules (and with the same question) as there.
  const FieldDescriptor system = SystemTypeField();
  // Two columns of zone/channel records, then the connector and its pins.
  p.fields.push_back({.key = "", .labelEntry = 918, .kind = ControlKind::Caption});
  for (int i = 0; i < optb::kZoneChannelCount; ++i) {
    const uint32_t rec = static_cast<uint32_t>(optb::kZoneChannelRecords + 2 * static_cast<size_t>(i));
    FieldDescriptor z{.key = std::to_string(i + 1) + ".zone", .labelEntry = -1, .kind = ControlKind::EditSpin,
                      .field = ImageByte(rec), .encoding = Encoding::Number, .minimum = 1, .maximum = 128,
                      .emptyValue = 0xFF, .emptyTextEntry = 362};
    z.labelText = std::to_string(i + 1);
    p.fields.push_back(z);
  }
  p.fields.push_back({.key = "", .labelEntry = 917, .kind = ControlKind::Caption});
  for (int i = 0; i < optb::kZoneChannelCount; ++i) {
    const uint32_t rec = static_cast<uint32_t>(optb::kZoneChannelRecords + 2 * static_cast<size_t>(i));
    p.fields.push_back({.key = std::to_string(i + 1) + ".channel", .labelEntry = -1, .kind = ControlKind::EditSpin,
                        .field = ImageByte(rec + 1), .encoding = Encoding::Number, .minimum = 1, .maximum = 250,
                        .emptyValue = 0xFF, .emptyTextEntry = 362, .labelText = std::to_string(i + 1)});
  }
  p.fields.push_back(system);
  p.fields.push_back(ConnectorField());
  for (int pin = 0; pin < 3; ++pin) {
    FieldDescriptor d{.key = "pin" + std::to_string(pin + 1), .labelEntry = 1094 + pin, .kind = ControlKind::Combo,
                      .field = ImageByte(static_cast<uint32_t>(feat::kAccessoryFunctions[pin])),
                      .encoding = Encoding::Value};
    d.dynamicChoices = [](const FormContext& c) { return AccessoryPinChoices(c.data); };
    d.enabled = [pin](const FormContext& c) { return PinCounts(c, pin); };
    p.fields.push_back(d);
  }
  return p;
}

// ---- technician setting ---------------------------------------------------------------------

std::string Hex(size_t v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*zX", width, v);
  return buf;
}

int ParseHex(const std::string& text, int maximum) {
  long v = 0;
  bool any = false;
  for (char ch : text) {
    const int d = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0'
                  : (std::toupper(static_cast<unsigned char>(ch)) >= 'A' && std::toupper(static_cast<unsigned char>(ch)) <= 'F')
                      ? std::toupper(static_cast<unsigned char>(ch)) - 'A' + 10
                      : -1;
    if (d < 0) return -1;
    v = v * 16 + d;
    any = true;
    if (v > maximum) return -1;
  }
  return any ? static_cast<int>(v) : -1;
}

FieldDescriptor HexField(size_t offset, int width, int label) {
  FieldDescriptor d{.key = "0x" + Hex(offset, 3), .labelEntry = label, .kind = ControlKind::Text,
                    .field = width == 2 ? ImageWord(static_cast<uint32_t>(offset)) : ImageByte(static_cast<uint32_t>(offset)),
                    .encoding = Encoding::Custom, .inputMode = 6, .maxLength = 2 * width};
  d.labelText = "0x" + Hex(offset, 3);
  d.customShow = [offset, width](const FormContext& c) {
    const int v = width == 2 ? (c.ImageByte(static_cast<uint32_t>(offset)) | (c.ImageByte(static_cast<uint32_t>(offset + 1)) << 8))
                             : c.ImageByte(static_cast<uint32_t>(offset));
    return Hex(static_cast<size_t>(v), 2 * width);
  };
  d.customStore = [offset, width](FormContext& c, std::string& text) {
    // Only whole hexadecimal values are taken; anything else leaves the byte.
    const int v = ParseHex(text, width == 2 ? 0xFFFF : 0xFF);
    if (v < 0) return;
    if (width == 2) c.data.Image().setU16le(offset, static_cast<uint16_t>(v));
    else c.data.Image().setU8(offset, static_cast<uint8_t>(v));
  };
  return d;
}

FormPage BuildSpecialPage() {
  FormPage p;
  p.tabEntry = 358;
  p.fields.push_back({.key = "", .labelEntry = 1106, .kind = ControlKind::Caption});
  for (size_t off = img::kExtendedFunction; off < img::kDisplayTexts; ++off) {
    if (!SpecialOwnsByte(off)) continue;
    if (off == fld::kExtendedFixed) {
      // Always '1' after a load: shown, never changed here.
      FieldDescriptor d = HexField(off, 1, text::kFixedValue);  // shown with its offset
      d.enabled = [](const FormContext&) { return false; };
      d.newImage.value = '1';
      p.fields.push_back(d);
      continue;
    }
    if (off == layout::optboard::kOptionSettings) {
      // The option settings the warning before a write looks at (bits 0, 1, 6, 8).
      p.fields.push_back(HexField(off, 2, text::kOptionSettings));
      ++off;
      continue;
    }
    p.fields.push_back(HexField(off, 1, -1));
  }
  return p;
}

// ---- the settings sets ----------------------------------------------------------------------

class PlainRecord : public BoundRecord {
 public:
  PlainRecord(RadioData& d, TextTable& t) : ctx_(d, t) {}
  FormContext& Context() override { return ctx_; }

 private:
  FormContext ctx_;
};

// The fields of a page that hold a value (captions hold none).
const std::vector<FieldDescriptor>* ValueFields(const FormPage& page) {
  // Owned here for the life of the program, beside the registry that points
  // at them (a deque never moves what it holds).
  static std::deque<std::vector<FieldDescriptor>> kept;
  std::vector<FieldDescriptor>& out = kept.emplace_back();
  // Captions are kept (they have no key, so they are no settings) for the
  // printed report, which shows the groups the window shows.
  for (const FieldDescriptor& d : page.fields)
    if ((!d.key.empty() && d.encoding != Encoding::None) || d.kind == ControlKind::Caption) out.push_back(d);
  return &out;
}

FieldSet MakeSet(std::string name, const FormPage& page, std::string pattern) {
  FieldSet s;
  s.name = name;
  s.recordKind = "settings";
  s.keyPattern = std::move(pattern);
  s.fields = ValueFields(page);
  s.records = [name](RadioData&) { return std::vector<FieldSetRecord>{{name, {}}}; };
  s.parse = [name](RadioData&, const std::string& prefix, RecordCursor& c) {
    c = {};
    return prefix == name;
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<PlainRecord>(data, text);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeSet("optboard", OptBoardPage(), "`optboard.KEY`"));
  RegisterFieldSet(MakeSet("extfunc", ExtFuncPage(), "`extfunc.KEY`; the zone/channel records `extfunc.N.zone|channel`, N 1 to 16"));
  RegisterFieldSet(MakeSet("special", SpecialPage(), "`special.0xOFFSET`, the value in hexadecimal"));
}



// ---- pre-write checks (mobiles) -------------------------------------------------------------

void CheckFeatures(RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
  if (data.model.Kind() != 2) return;
  // 1098: every accessory pin in use holds a function this radio can run,
  // and no function is on two pins.
  const ByteArea image = data.Image();
  const std::vector<Choice> allowed = AccessoryPinChoices(data);
  const int system = SystemType(image);
  std::vector<int> used;
  bool bad = false;
  for (int pin = 0; pin < 3; ++pin) {
    const bool counts = pin == 0 || (pin == 1 && system != 1 && system != 4) || pin == 2;
    if (!counts) continue;
    const int v = image.u8(feat::kAccessoryFunctions[pin]);
    if (v == 0xFF) continue;
    const bool ok = std::any_of(allowed.begin(), allowed.end(), [v](const Choice& c) { return c.value == v; });
    if (!ok || std::find(used.begin(), used.end(), v) != used.end()) bad = true;
    used.push_back(v);
  }
  if (bad) out.push_back({1098, {}});
  // 1093: the zone/channel records are whole (both set or both none) and in
  // range, and the option board on the connector needs a system type.
  bad = system == 0 && image.u8(optb::kAccessoryConnector) == '2';
  for (int i = 0; i < optb::kZoneChannelCount && !bad; ++i) {
    const size_t rec = optb::kZoneChannelRecords + 2 * static_cast<size_t>(i);
    const int z = image.u8(rec), ch = image.u8(rec + 1);
    if ((z == 0xFF) != (ch == 0xFF)) bad = true;
    else if (z != 0xFF && (z < 1 || z > 128 || ch < 1 || ch > 250)) bad = true;
  }
  if (bad) out.push_back({1093, {}});
}

}  // namespace

const FormPage& OptBoardPage() {
  static const FormPage p = BuildOptBoardPage();
  return p;
}

const FormPage& ExtFuncPage() {
  static const FormPage p = BuildExtFuncPage();
  return p;
}

const FormPage& SpecialPage() {
  static const FormPage p = BuildSpecialPage();
  return p;
}

std::vector<Choice> AccessoryPinChoices(RadioData& data) {
  std::vector<Choice> out{{362, 0xFF}, {661, feat::kInputAlarmFunction}};
  for (const KeyFunction& f : KeyFunctionList()) {
    if (f.code == 0xFF || f.code == feat::kInputAlarmFunction) continue;
    // A pin acts as a plain key: first-column functions that need no
    // particular key.
    if (KeyFunctionAllowed(data, {false}, f.code, -1, 0)) out.push_back({f.textEntry, f.code});
  }
  return out;
}

bool SpecialOwnsByte(size_t off) {
  if (off < img::kExtendedFunction || off >= img::kDisplayTexts) return false;
  if (off == img::kOptionBoard) return false;                                  // option board window
  if (off == optb::kOptionWord || off == optb::kOptionWord + 1) return false;  // its two check boxes
  if (off >= optb::kZoneChannelRecords && off < optb::kZoneChannelRecords + 2 * optb::kZoneChannelCount)
    return false;                                                              // extended function window
  if (off >= img::kSystemTypeBytes && off < img::kSystemTypeBytes + 3) return false;  // system type
  if (off == optb::kAccessoryConnector) return false;
  return true;
}

void RegisterFeatureWriteChecks() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterWriteCheck("features", kSlotOptionalFeatures, CheckFeatures);
  RegisterKeyWriteChecks();
}

void RegisterOptBoardFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
