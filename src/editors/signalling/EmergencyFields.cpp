// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/EmergencyFields.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/SignalFieldKit.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;
using namespace sigfields;

namespace {

constexpr uint8_t kNone8 = 0xFF;
constexpr int kOffText = 362;

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A typed whole number, -1 when the text is not one.
long TypedNumber(const std::string& t) {
  if (t.empty() || !std::isdigit(static_cast<unsigned char>(t[0]))) return -1;
  long n = 0;
  for (size_t i = 0; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && n < 100000; ++i)
    n = n * 10 + (t[i] - '0');
  return n;
}

uint8_t Byte(const FormContext& c, uint32_t at) { return c.data.buffers.Image().u8(at); }
void SetByte(FormContext& c, uint32_t at, int v) { c.data.buffers.Image().setU8(at, static_cast<uint8_t>(v)); }

std::string NumberOrOff(const FormContext& c, int v) { return v == kNone8 ? c.text.Text(kOffText) : std::to_string(v); }

// A zone or channel the window refuses is named with this message.
constexpr int kMsgRefused = 1250;

bool ZoneUsable(const FormContext& c, int zone1) { return EmergencyZoneUsable(CZoneMemory(c.data), zone1); }

void StoreZone(FormContext& c, int v) {
  if (v == kNone8) {
    SetByte(c, emf::kZone, kNone8);
    SetByte(c, emf::kChannel, kNone8);
    return;
  }
  if (!ZoneUsable(c, v)) {
    c.message = kMsgRefused;
    return;
  }
  // Another zone keeps the channel only when it has that channel too.
  const int channel = Byte(c, emf::kChannel);
  if (channel != kNone8 && !EmergencyChannelUsable(CZoneMemory(c.data), v, channel)) SetByte(c, emf::kChannel, kNone8);
  SetByte(c, emf::kZone, v);
}

void StoreChannel(FormContext& c, int v) {
  if (v == kNone8) SetByte(c, emf::kChannel, kNone8);
  else if (EmergencyChannelUsable(CZoneMemory(c.data), Byte(c, emf::kZone), v)) SetByte(c, emf::kChannel, v);
  else c.message = kMsgRefused;
}

// The zones the box offers and the spin walks: off, then every usable zone.
std::vector<int> ZoneCycle(const FormContext& c) {
  std::vector<int> cycle = {kNone8};
  const CZoneMemory zm(c.data);
  for (int z = 1; z <= zones::kZoneCount; ++z)
    if (EmergencyZoneUsable(zm, z)) cycle.push_back(z);
  return cycle;
}

// The emergency zone: a list of the zones the radio can switch to, "off"
// first. Any other zone is refused with a message and the stored zone shown
// again.
FieldDescriptor ZoneBox() {
  FieldDescriptor d{.key = "zone", .labelEntry = 779, .kind = ControlKind::EditCombo, .field = ImageByte(emf::kZone),
                    .encoding = Encoding::Custom, .inputMode = 1, .maxLength = 16};
  d.customShow = [](const FormContext& c) { return NumberOrOff(c, Byte(c, emf::kZone)); };
  d.customValue = [](const FormContext& c) { return static_cast<int>(Byte(c, emf::kZone)); };
  d.dynamicChoices = [](const FormContext& c) {
    std::vector<Choice> rows = {{kOffText, kNone8}};
    for (int z : ZoneCycle(c))
      if (z != kNone8) rows.push_back({-1, z, std::to_string(z)});
    return rows;
  };
  d.customStoreValue = StoreZone;
  d.customStore = [](FormContext& c, std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || SameText(t, c.text.Text(kOffText))) StoreZone(c, kNone8);
    else if (const long n = TypedNumber(t); n >= 1 && n <= zones::kZoneCount) StoreZone(c, static_cast<int>(n));
    else c.message = kMsgRefused;
    text = NumberOrOff(c, Byte(c, emf::kZone));
  };
  d.customSpin = [](FormContext& c, int dir) {
    const std::vector<int> cycle = ZoneCycle(c);
    const auto at = std::find(cycle.begin(), cycle.end(), Byte(c, emf::kZone));
    const long i = at == cycle.end() ? 0 : at - cycle.begin();
    const long n = static_cast<long>(cycle.size());
    StoreZone(c, cycle[static_cast<size_t>(((i + (dir > 0 ? 1 : -1)) % n + n) % n)]);
  };
  return d;
}

// The channel in that zone: the zone's existing records, "off" first.
FieldDescriptor ChannelBox() {
  FieldDescriptor d{.key = "channel", .kind = ControlKind::EditCombo, .field = ImageByte(emf::kChannel),
                    .encoding = Encoding::Custom, .inputMode = 1, .maxLength = 16};
  d.customShow = [](const FormContext& c) { return NumberOrOff(c, Byte(c, emf::kChannel)); };
  d.customValue = [](const FormContext& c) { return static_cast<int>(Byte(c, emf::kChannel)); };
  d.dynamicChoices = [](const FormContext& c) {
    std::vector<Choice> rows = {{kOffText, kNone8}};
    const int zone = Byte(c, emf::kZone);
    if (ZoneUsable(c, zone))
      for (int n : CZoneMemory(c.data).RecordNumbers(zone - 1)) rows.push_back({-1, n + 1, std::to_string(n + 1)});
    std::sort(rows.begin() + 1, rows.end(), [](const Choice& a, const Choice& b) { return a.value < b.value; });
    return rows;
  };
  d.customStoreValue = StoreChannel;
  d.customStore = [](FormContext& c, std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || SameText(t, c.text.Text(kOffText))) StoreChannel(c, kNone8);
    else if (const long n = TypedNumber(t); n >= 1 && n <= zones::kMaxRecords) StoreChannel(c, static_cast<int>(n));
    else c.message = kMsgRefused;
    text = NumberOrOff(c, Byte(c, emf::kChannel));
  };
  d.customSpin = [](FormContext& c, int dir) {
    std::vector<int> cycle = {kNone8};
    const int zone = Byte(c, emf::kZone);
    if (ZoneUsable(c, zone)) {
      std::vector<int> numbers = CZoneMemory(c.data).RecordNumbers(zone - 1);
      std::sort(numbers.begin(), numbers.end());
      for (int n : numbers) cycle.push_back(n + 1);
    }
    const auto at = std::find(cycle.begin(), cycle.end(), Byte(c, emf::kChannel));
    const long i = at == cycle.end() ? 0 : at - cycle.begin();
    const long n = static_cast<long>(cycle.size());
    StoreChannel(c, cycle[static_cast<size_t>(((i + (dir > 0 ? 1 : -1)) % n + n) % n)]);
  };
  d.enabled = [](const FormContext& c) { return Byte(c, emf::kZone) != kNone8; };
  return d;
}

// The emergency key delay: 0.1 to 5.0 s in tenths, stored in ms; 0 is "off".
FieldDescriptor KeyDelayBox() {
  const FieldRef ref = ImageWord(emf::kKeyDelay);
  FieldDescriptor d{.key = "keydelay", .labelEntry = 803, .kind = ControlKind::EditSpin, .field = ref,
                    .encoding = Encoding::Custom, .minimum = 100, .maximum = 5000, .step = 100, .emptyValue = 0,
                    .emptyTextEntry = 371, .inputMode = 1, .maxLength = 16};
  auto show = [ref](const FormContext& c) -> std::string {
    const int v = FormEngine::ReadValue(c, ref);
    if (v < 0) return {};
    if (v == 0) return c.text.Text(371);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v / 1000.0);
    return c.data.field.LocalizeDecimal(buf);
  };
  d.customShow = show;
  d.customStore = [ref, show](FormContext& c, std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || SameText(t, c.text.Text(371))) {
      FormEngine::WriteValue(c, ref, 0);
    } else if (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '.' || t[0] == ',') {
      std::string work = c.data.field.DelocalizeDecimal(t);
      if (std::atof(work.c_str()) == 0.0) {
        FormEngine::WriteValue(c, ref, 0);
      } else {
        const double s = CFieldCodec::ClampDecimalText(work, 5.0, 0.1, 0.1);
        FormEngine::WriteValue(c, ref, static_cast<int>(std::lround(s * 1000)));
      }
    }
    text = show(c);
  };
  d.customSpin = [ref](FormContext& c, int dir) {
    const int v = FormEngine::ReadValue(c, ref);
    if (v < 0) return;
    FormEngine::WriteValue(c, ref, CFieldCodec::SpinWithOff(v, 5000, 100, 100, 0, dir));
  };
  return d;
}

bool Signalling(const FormContext& c, uint8_t v) { return Byte(c, emf::kSignalling) == v; }

FormPage BuildPage() {
  const FieldRef sw = ImageByte(emf::kSwitches);
  auto swBit = [](int bit) { return ImageByteBit(emf::kSwitches, bit); };
  (void)sw;
  ShiftedNumber cycles{.low = 1, .high = 200, .none = 0xFF, .noneText = 364, .zeroTypedIsNone = true};
  ShiftedNumber lone{.low = 1, .high = 70, .none = 0xFF, .noneText = 371};
  ShiftedNumber preAlert{.low = 1, .high = 69, .none = 0xFF, .noneText = 371};
  // The pre-alert comes before the lone-worker time runs out.
  preAlert.dynamicHigh = [](const FormContext& c) {
    const int t = Byte(c, emf::kLoneTimer);
    return t == kNone8 ? 69 : t - 1;
  };
  FieldDescriptor loneTimer = Shifted("lwtimer", 790, ImageByte(emf::kLoneTimer), lone);
  loneTimer.afterStore = [](FormContext& c) {
    // A shorter lone-worker time takes the pre-alert down with it.
    const int t = Byte(c, emf::kLoneTimer);
    const int p = Byte(c, emf::kPreAlert);
    if (t != kNone8 && p != kNone8 && p >= t) SetByte(c, emf::kPreAlert, t > 1 ? t - 1 : kNone8);
  };
  FieldDescriptor name{.key = "display", .labelEntry = 785, .kind = ControlKind::Text, .field = ImageByte(emf::kName),
                       .encoding = Encoding::Name, .textWidth = 12, .textWidthGen2 = 8};
  FieldDescriptor signalling = ChoiceList("signalling", 778, ImageByte(emf::kSignalling),
                                          {{362, 0xFF}, {355, '0'}, {354, '2'}, {367, '3'}});
  signalling.offered = [](const FormContext& c, const Choice& ch) { return ch.textEntry != 367 || c.SystemType() == 2; };
  FieldDescriptor dtmf{.key = "dtmf", .labelEntry = 810, .kind = ControlKind::Text,
                       .field = ImageByte(emf::kDtmfCount), .encoding = Encoding::Digits, .textWidth = 8,
                       .dtmfDigits = true};
  dtmf.enabled = [](const FormContext& c) { return Signalling(c, '0'); };
  FieldDescriptor fleet = FleetBox("fleet", 811, ImageByte(emf::kFleet), 806);
  FieldDescriptor id = IdBox("id", 812, ImageWord(emf::kId), 806);
  fleet.enabled = [](const FormContext& c) { return Signalling(c, '2'); };
  id.enabled = fleet.enabled;

  FormPage p{.tabEntry = 342};
  p.fields = {
      ChoiceList("chmode", 793, swBit(0), {{796, 0}, {809, 1}}),
      WithNew(ZoneBox(), kNone8),
      WithNew(ChannelBox(), kNone8),
      WithNew(Shifted("cycles", 794, ImageByte(emf::kCycles), cycles), kNone8),
      WithNew(NumberBox("active", 780, ImageWord(emf::kActiveTime), 0, 255), 0),
      WithNew(NumberBox("interval", 781, ImageWord(emf::kIntervalTime), 1, 60), 1),
      WithNew(NumberBox("micactive", 782, ImageWord(emf::kMicActive), 0, 255), 0),
      WithNew(NumberBox("micinterval", 783, ImageWord(emf::kMicInterval), 1, 180), 1),
      ChoiceList("afterch", 784, swBit(2), {{809, 0}, {797, 1}}),
      WithNewEmptyText(name),
      ChoiceList("mode", 786, swBit(1), {{798, 0}, {799, 1}}),
      WithNew(KeyDelayBox(), 0),  // off; also the hold time a key gets with function 31
      WithNew(ChoiceList("txpower", 787, ImageByte(emf::kTxPower), {{802, 0xFF}, {1084, '0'}}), 0xFF),
      BitCheck("acktone", 804, swBit(3)),
      BitCheck("horn", 805, swBit(4)),
      Caption(788),
      WithNew(ByteCheck("loneworker", 788, ImageByte(emf::kLoneWorker), '0', 0xFF), 0xFF),
      WithNew(loneTimer, kNone8),
      WithNew(Shifted("prealert", 791, ImageByte(emf::kPreAlert), preAlert), kNone8),
      ChoiceList("lwreset", 792, swBit(5), {{800, 1}, {801, 0}}),
      Caption(778),
      WithNew(signalling, 0xFF),
      WithNewEmptyText(dtmf),
      WithNew(fleet, kNone8),
      WithNew(id, 0xFFFF),
  };
  return p;
}

class AreaRecord : public BoundRecord {
 public:
  AreaRecord(RadioData& data, TextTable& text) : ctx_(data, text, data.votingSwitch) {}
  FormContext& Context() override { return ctx_; }
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    // A zone or channel the radio cannot switch to is refused, with the
    // window's message; any other text the field's rules refuse, too.
    ctx_.message = 0;
    const bool stored = FormEngine::StoreText(ctx_, d, text);
    if ((d.key == "zone" || d.key == "channel") && ctx_.message != 0) return false;
    return stored;
  }

 private:
  FormContext ctx_;
};

FieldSet MakeEmergencySet() {
  FieldSet s;
  s.name = "emergency";
  s.recordKind = "area";
  s.keyPattern = "`emergency.KEY`";
  static const std::vector<FieldDescriptor> settings = [] {
    std::vector<FieldDescriptor> t;
    for (const FieldDescriptor& d : EmergencyFieldTable())
      if (!d.key.empty()) t.push_back(d);  // captions are no settings
    return t;
  }();
  s.fields = &settings;
  s.records = [](RadioData&) { return std::vector<FieldSetRecord>{{"emergency", {}}}; };
  s.parse = [](RadioData&, const std::string& prefix, RecordCursor& c) {
    c = {};
    return prefix == "emergency";
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<AreaRecord>(data, text);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeEmergencySet());
}

}  // namespace

bool EmergencyZoneUsable(const CZoneMemory& zones, int zone1) {
  // The radio switches to a channel: a trunked zone has none to offer, and a
  // damaged zone cannot be trusted to hold one.
  return zone1 >= 1 && zone1 <= zones::kZoneCount && zones.ZoneClass(zone1 - 1) == kClassConv &&
         !zones.ZoneDamaged(zone1 - 1);
}

bool EmergencyChannelUsable(const CZoneMemory& zones, int zone1, int channel1) {
  return EmergencyZoneUsable(zones, zone1) && channel1 >= 1 && channel1 <= zones::kMaxRecords &&
         zones.RecordExists(zone1 - 1, channel1 - 1);
}

const FormPage& EmergencyPage() {
  static const FormPage page = BuildPage();
  return page;
}

const std::vector<FieldDescriptor>& EmergencyFieldTable() { return EmergencyPage().fields; }

void RegisterEmergencyFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
