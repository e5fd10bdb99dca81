// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/features/FeatureFields.h"

#include <algorithm>
#include <cctype>

#include "data/AreaDefaults.h"
#include "data/FeatureLayout.h"
#include "data/ImageLayout.h"
#include "editors/forms/FieldSets.h"
#include "lang/TextNames.h"

// Tables name only the members they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;
namespace F = layout::features;

// The radio passwords of the push button's dialog, as settings.
const char* const kReadPasswordKey = "common.readpassword";
const char* const kOverwritePasswordKey = "common.overwritepassword";

namespace {

// A check box shows and takes the "on" and "off" texts.
std::vector<forms::Choice> CheckMap(int checked = 0, int unchecked = 1) {
  return {{text::kOn, checked}, {text::kOff371, unchecked}};
}

// ---- small builders ------------------------------------------------------------

Rule MobileOnly() { return [](const FormContext& c) { return c.IsMobile(); }; }
Rule PortableOnly() { return [](const FormContext& c) { return c.IsPortable(); }; }
Rule FirstGenOnly() { return [](const FormContext& c) { return !c.IsSecondGen(); }; }

// A check box on a bit that is an "off" flag: checked stores 0.
FieldDescriptor Check(std::string key, int label, FieldRef ref, Rule enabled = {}) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = CheckMap(), .checkedValue = 0, .uncheckedValue = 1, .enabled = std::move(enabled)};
}

FieldDescriptor Caption(std::string key, int label) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Caption};
}

FieldDescriptor Combo(std::string key, int label, FieldRef ref, std::vector<Choice> choices, Rule enabled = {}) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Combo, .field = ref,
          .encoding = Encoding::Value, .choices = std::move(choices), .enabled = std::move(enabled)};
}

FieldDescriptor Number(std::string key, int label, FieldRef ref, int minimum, int maximum, Rule enabled = {}) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
          .encoding = Encoding::Number, .minimum = minimum, .maximum = maximum, .enabled = std::move(enabled)};
}

Rule And(Rule a, Rule b) {
  if (!a) return b;
  if (!b) return a;
  return [a, b](const FormContext& c) { return a(c) && b(c); };
}

// A byte read as a number inside 0..31, for the range pairs of page 1; a
// damaged byte counts as the far end of the range.
int RangeByte(const FormContext& c, size_t offset, int fallback) {
  const int v = c.ImageByte(static_cast<uint32_t>(offset));
  return v <= 31 ? v : fallback;
}

bool BitClear(const FormContext& c, size_t word, int bit) {
  const int v = c.ImageByte(static_cast<uint32_t>(word + bit / 8));
  return ((v >> (bit % 8)) & 1) == 0;
}

// ---- page 0: minutes and seconds sharing one byte ----------------------------

constexpr size_t kPowerOffDelay = F::kPowerOffDelay;
constexpr int kPowerOffCap = 48;  // 8 minutes 0 seconds

int DelayValue(const FormContext& c) {
  const int v = c.ImageByte(kPowerOffDelay);
  return v <= kPowerOffCap ? v : -1;  // anything larger shows empty boxes
}

void StoreDelay(FormContext& c, int minutes, int seconds) {
  int v = minutes * 6 + seconds / 10;
  v = std::clamp(v, 0, kPowerOffCap);
  c.data.Image().setU8(kPowerOffDelay, static_cast<uint8_t>(v));
}

int ParseNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  long v = 0;
  bool any = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && v < 100000) {
    v = v * 10 + (text[i++] - '0');
    any = true;
  }
  return any ? static_cast<int>(v) : 0;
}

FieldDescriptor DelayMinutes() {
  FieldDescriptor d{.key = "common.poweroffminutes", .labelEntry = 565, .kind = ControlKind::EditSpin,
                    .field = ImageByte(kPowerOffDelay), .encoding = Encoding::Custom, .minimum = 0, .maximum = 8,
                    .enabled = [](const FormContext& c) { return BitClear(c, F::kGeneralFlags, 8); }, .inputMode = 2,
                    .maxLength = 2};
  d.customShow = [](const FormContext& c) {
    const int v = DelayValue(c);
    return v < 0 ? std::string() : std::to_string(v / 6);
  };
  d.customStore = [](FormContext& c, std::string& text) {
    const int v = std::max(DelayValue(c), 0);
    StoreDelay(c, std::clamp(ParseNumber(text), 0, 8), (v % 6) * 10);
  };
  d.customSpin = [](FormContext& c, int dir) {
    const int v = std::max(DelayValue(c), 0);
    const int m = CFieldCodec::Spin(v / 6, 8, 0, 1, dir);
    StoreDelay(c, m, (v % 6) * 10);
  };
  d.dependents = {24};
  return d;
}

FieldDescriptor DelaySeconds() {
  FieldDescriptor d{.key = "common.poweroffseconds", .labelEntry = 566, .kind = ControlKind::EditSpin,
                    .field = ImageByte(kPowerOffDelay), .encoding = Encoding::Custom, .minimum = 0, .maximum = 50,
                    .step = 10, .format = "%02d",
                    .enabled = [](const FormContext& c) { return BitClear(c, F::kGeneralFlags, 8); }, .inputMode = 2,
                    .maxLength = 2};
  d.customShow = [](const FormContext& c) {
    const int v = DelayValue(c);
    if (v < 0) return std::string();
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", (v % 6) * 10);
    return std::string(buf);
  };
  d.customStore = [](FormContext& c, std::string& text) {
    const int v = std::max(DelayValue(c), 0);
    const int s = std::clamp(ParseNumber(text), 0, 50) / 10 * 10;
    StoreDelay(c, v / 6, s);
  };
  d.customSpin = [](FormContext& c, int dir) {
    const int v = std::max(DelayValue(c), 0);
    StoreDelay(c, v / 6, CFieldCodec::Spin((v % 6) * 10, 50, 0, 10, dir));
  };
  d.dependents = {23};
  return d;
}

// ---- page 6: the report budget ----------------------------------------------------

int BudgetWord(const FormContext& c, size_t offset) {
  const int v = c.ImageByte(static_cast<uint32_t>(offset)) | (c.ImageByte(static_cast<uint32_t>(offset + 1)) << 8);
  return v == 0xFFFF ? 0 : v;
}

// What the other two words leave of the budget of 300.
int BudgetLeft(const FormContext& c, size_t self) {
  int used = 0;
  for (size_t w : {feat::kReportBudget1, feat::kReportBudget2, feat::kReportBudget3})
    if (w != self) used += BudgetWord(c, w);
  return std::max(0, feat::kReportBudget - used);
}

FieldDescriptor ReportTime(std::string key, int label, size_t offset, int maximum) {
  FieldDescriptor d{.key = std::move(key), .labelEntry = label, .kind = ControlKind::EditSpin,
                    .field = ImageWord(static_cast<uint32_t>(offset)), .encoding = Encoding::Number, .minimum = 30,
                    .maximum = maximum, .step = 30, .emptyValue = 0xFFFF};
  d.dynamicMaximum = [offset, maximum](const FormContext& c) { return std::min(maximum, BudgetLeft(c, offset)); };
  // A value beyond what the other two leave is cut to it (in steps of 30);
  // nothing left, or less than one step, clears the field.
  d.adjust = [offset, maximum](FormContext& c, int value) {
    if (value == 0xFFFF) return value;
    const int left = std::min(maximum, BudgetLeft(c, offset));
    if (value > left) value = left / 30 * 30;
    return value < 30 ? 0xFFFF : value;
  };
  return d;
}

// ---- the page tables ------------------------------------------------------------------

std::vector<FieldDescriptor> Page0() {
  std::vector<FieldDescriptor> p;
  FieldDescriptor chars = Number("common.displaychars", 540, ImageByte(F::kDisplayCharacters), 1, 12);
  chars.emptyValue = 0xFF;
  chars.emptyTextEntry = 362;
  chars.dynamicMaximum = [](const FormContext& c) { return c.IsSecondGen() ? 8 : 12; };
  p.push_back(chars);
  p.push_back(Combo("common.backlight", 541, ImageByte(F::kBacklight), {{362, 0xFF}, {586, '0'}, {587, '1'}, {588, '2'}, {620, '3'}},
                    FirstGenOnly()));
  p.push_back(WithNew(Combo("common.displaymode", 542, ExtByte(F::kExtDisplayMode), {{589, 0xFF}, {590, '0'}}), 0xFF));
  p.push_back(Combo("common.clockformat", 544, ImageWordBit(F::kGeneralFlags, 10), {{591, 0}, {592, 1}}, FirstGenOnly()));
  p.push_back(Combo("common.dateformat", 545, ImageWordBit(F::kGeneralFlags, 9), {{594, 0}, {593, 1}}, FirstGenOnly()));
  p.push_back(Combo("common.datatxpower", 569, ImageByte(F::kDataTxPower), {{802, 0xFF}, {1084, '0'}}));
  p.push_back(WithNew(Combo("common.publicaddress", 570, ExtByte(F::kExtPublicAddress), {{371, 0}, {1085, 1}, {1084, 0xFF}}, MobileOnly()), 0xFF));
  FieldDescriptor lock = Number("common.keylocktime", 571, ImageWord(F::kAutoKeyLockTime), 1, 300);
  lock.emptyValue = 0xFFFF;
  lock.emptyTextEntry = 371;
  p.push_back(lock);
  p.push_back(WithNewEmptyText({.key = "common.passwordlock", .labelEntry = 543, .kind = ControlKind::EditCombo,
                                .field = ImageByte(F::kPasswordLock), .encoding = Encoding::LengthText,
                                .textWidth = static_cast<int>(F::kPasswordLockChars), .inputMode = 1}));
  p.push_back({.key = "0.9", .labelEntry = 568, .kind = ControlKind::Button});
  p.push_back(Check("common.powermemory", 551, ImageWordBit(F::kGeneralFlags, 3),
                    [](const FormContext& c) { return c.IsMobile() && !BitClear(c, F::kGeneralFlags, 8); }));
  p.push_back(Check("common.busyled", 552, ImageWordBit(F::kGeneralFlags, 2)));
  p.push_back(Check("common.offhookmonitor", 553, ImageWordBit(F::kGeneralFlags, 0), MobileOnly()));
  p.push_back(Check("common.clockdisplay", 555, ImageWordBit(F::kGeneralFlags, 5), FirstGenOnly()));
  p.push_back(Check("common.keypadlamp", 557, ImageWordBit(F::kGeneralFlags, 6), PortableOnly()));
  p.push_back(Check("common.sitechangetone", 1243, ImageWordBit(F::kPhoneFlags, 15)));
  p.push_back(Caption("", 558));
  FieldDescriptor horn = Number("common.horntime", 560, ImageByte(F::kHornTime), 0, 30, MobileOnly());
  horn.choices = {{611, 0xFF}, {612, 0}};
  horn.emptyValue = 0xFF;
  horn.emptyTextEntry = 611;
  p.push_back(horn);
  p.push_back(Combo("common.hornpattern", 559, ImageByte(F::kHornPattern), {{613, 0xFF}, {614, '0'}, {615, '1'}}, MobileOnly()));
  p.push_back(Check("common.hornindividual", 561, ImageWordBit(F::kGeneralFlags, 1), MobileOnly()));
  p.push_back(Caption("", 562));
  FieldDescriptor ignition = Check("common.ignitionsense", 563, ImageWordBit(F::kGeneralFlags, 8), MobileOnly());
  ignition.dependents = {10, 22, 23, 24};
  p.push_back(ignition);
  p.push_back(WithNew(Combo("common.poweronmode", 564, ImageByte(F::kPowerOnMode), {{617, '0'}, {616, '1'}},
                            [](const FormContext& c) { return BitClear(c, F::kGeneralFlags, 8); }),
                      '0'));
  p.push_back(WithNew(DelayMinutes(), 0));  // 0 minutes 0 seconds
  p.push_back(DelaySeconds());
  p.push_back({.key = "", .labelEntry = 567, .kind = ControlKind::Static});
  return p;
}

std::vector<FieldDescriptor> Page1() {
  std::vector<FieldDescriptor> p;
  p.push_back(Caption("", 621));
  p.push_back(WithNew({.key = "audio.toneoffset", .labelEntry = 622, .kind = ControlKind::EditSpin, .field = ImageByte(F::kToneLevelOffset),
                       .encoding = Encoding::SignMagnitude, .minimum = -5, .maximum = 5, .format = "%+d", .maxLength = 3},
                      0));
  const int labels[] = {623, 624, 625, 626, 627, 628};
  const char* const kToneLevelKeys[] = {"audio.keybeeplevel", "audio.confirmlevel", "audio.warninglevel",
                                        "audio.calllevel", "audio.emergencylevel", "audio.scanlevel"};
  for (int i = 0; i < 6; ++i) {
    FieldDescriptor d = Number(kToneLevelKeys[i], labels[i], ImageByte(F::kToneLevels + static_cast<uint32_t>(i)), 1, 31);
    d.choices = {{613, 0xFF}, {647, '0'}, {371, 0}};
    d.spinThroughNames = true;
    d.unparsableValue = 0;
    p.push_back(d);
  }
  FieldDescriptor low = Number("audio.mintonelevel", 638, ImageByte(F::kMinToneLevel), 1, 31);
  low.dynamicMaximum = [](const FormContext& c) { return std::clamp(RangeByte(c, F::kMaxToneLevel, 31), 1, 31); };
  low.dependents = {9};
  low.newImage.value = 1;  // the whole range
  p.push_back(low);
  FieldDescriptor high = Number("audio.maxtonelevel", 639, ImageByte(F::kMaxToneLevel), 1, 31);
  high.dynamicMinimum = [](const FormContext& c) { return std::clamp(RangeByte(c, F::kMinToneLevel, 1), 1, 31); };
  high.dependents = {8};
  high.newImage.value = 31;
  p.push_back(high);
  p.push_back(Caption("", 583));
  FieldDescriptor maxVol = Number("audio.maxvolume", 550, ImageByte(F::kMaxVolume), 0, 31, PortableOnly());
  maxVol.dynamicMinimum = [](const FormContext& c) { return std::clamp(RangeByte(c, F::kMinVolume, 0), 0, 31); };
  maxVol.dependents = {13};
  p.push_back(maxVol);
  p.push_back(Combo("audio.volumecontrol", 584, ImageByte(F::kVolumeControl), {{618, '0'}, {619, '1'}}, MobileOnly()));
  FieldDescriptor minVol = Number("audio.minvolume", 549, ImageByte(F::kMinVolume), 0, 31);
  minVol.dynamicMaximum = [](const FormContext& c) { return std::clamp(RangeByte(c, F::kMaxVolume, 31), 0, 31); };
  minVol.dependents = {11};
  p.push_back(minVol);
  p.push_back(Caption("", 630));
  FieldDescriptor beep = Check("audio.keybeep", 631, ImageWordBit(F::kBeepFlags, 0));
  beep.dependents = {16};
  p.push_back(beep);
  p.push_back(Check("audio.functionbeeponly", 632, ImageWordBit(F::kBeepFlags, 1), [](const FormContext& c) { return BitClear(c, F::kBeepFlags, 0); }));
  p.push_back(Check("audio.powerontone", 633, ImageWordBit(F::kBeepFlags, 4)));
  p.push_back(Check("audio.rogerbeep", 634, ImageWordBit(F::kBeepFlags, 2)));
  p.push_back(Check("audio.outofrangetone", 635, ImageWordBit(F::kBeepFlags, 3)));
  p.push_back(Check("audio.clockalarmtone", 637, ImageWordBit(F::kBeepFlags, 5), FirstGenOnly()));
  p.push_back(Caption("", 644));
  FieldDescriptor display = Combo("audio.powerondisplay", 646, ImageByte(F::kDisplayType), {{371, 0xFF}, {648, '0'}, {649, '1'}});
  display.offered = [](const FormContext& c, const Choice& ch) { return !(ch.textEntry == 649 && c.IsSecondGen()); };
  display.dependents = {23};
  p.push_back(display);
  p.push_back(WithNewEmptyText({.key = "audio.powerontext", .labelEntry = 645, .kind = ControlKind::Text, .field = ImageByte(F::kMessageText),
                                .encoding = Encoding::Name, .textWidth = 12, .textWidthGen2 = 8,
                                .enabled = [](const FormContext& c) { return c.ImageByte(F::kDisplayType) == '0'; }}));
  return p;
}

// The embedded lists: one byte per row, numbered rows.
FieldDescriptor List(std::string key, size_t first, int rows, FieldDescriptor rowTemplate, int head1, int head2) {
  FieldDescriptor l{.key = key, .kind = ControlKind::List};
  for (int r = 0; r < rows; ++r) {
    FieldDescriptor d = rowTemplate;
    d.key = key + "." + std::to_string(r + 1);
    d.labelText = std::to_string(r + 1);
    d.field.offset = static_cast<uint32_t>(first) + static_cast<uint32_t>(r);
    l.listRows.push_back(d);
  }
  l.listHeadEntries[0] = head1;
  l.listHeadEntries[1] = head2;
  return l;
}

std::vector<FieldDescriptor> Page2() {
  std::vector<FieldDescriptor> p;
  p.push_back(Caption("", 577));
  p.push_back(Combo("battery.saver", 572, ImageByte(F::kBatterySaver), {{371, 0xFF}, {599, '0'}, {600, '1'}, {601, '2'}}, PortableOnly()));
  p.push_back(Combo("battery.lowwarning", 573, ImageByte(F::kLowBatteryWarning), {{371, 0xFF}, {602, '0'}, {603, '1'}, {604, '2'}}, PortableOnly()));
  p.push_back(Check("battery.saveronscan", 574, ImageWordBit(F::kGeneralFlags, 7), PortableOnly()));
  p.push_back(Caption("", 578));
  FieldDescriptor type = Combo("pttid.type", 629, ImageByte(feat::kPttIdType), {{605, '0'}, {606, '1'}, {607, '2'}});
  type.offered = [](const FormContext& c, const Choice& ch) { return ch.textEntry != 607 || c.SystemType() == 2; };
  type.dependents = {6, 7};
  type.newImage.value = '0';  // system type 2 (ANI) is not chosen in a new programming
  p.push_back(type);
  const Rule dtmf = [](const FormContext& c) { return c.ImageByte(feat::kPttIdType) == '0'; };
  p.push_back(WithNewEmptyText({.key = "pttid.bot", .labelEntry = 575, .kind = ControlKind::Text, .field = ImageByte(F::kBotCode),
                                .encoding = Encoding::Digits, .textWidth = 8, .dtmfDigits = true, .enabled = dtmf}));
  p.push_back(WithNewEmptyText({.key = "pttid.eot", .labelEntry = 576, .kind = ControlKind::Text, .field = ImageByte(F::kEotCode),
                                .encoding = Encoding::Digits, .textWidth = 8, .dtmfDigits = true, .enabled = dtmf}));
  // Up to six low-battery warning levels, in tenths of a volt (5.0 to 9.9 V);
  // an empty row is not used.
  FieldDescriptor level{.kind = ControlKind::EditSpin, .field = ImageByte(F::kBatteryLevels), .encoding = Encoding::Scaled,
                        .minimum = 50, .maximum = 99, .emptyValue = 0xFF, .scale = 10, .decimals = 1};
  p.push_back(List("battery.levels", F::kBatteryLevels, 6, level, 579, 580));
  return p;
}

std::vector<FieldDescriptor> Page3() {
  std::vector<FieldDescriptor> p;
  const Rule manDown = [](const FormContext& c) { return c.IsPortable() && c.OptionBoard() == '3'; };
  p.push_back(Check("squelch.tailelimination", 554, ImageWordBit(F::kGeneralFlags, 4)));
  p.push_back(Check("voice.announcement", 667, ImageWordBit(F::kOptionFlags, 0)));
  p.push_back(Check("voice.compander", 668, ImageWordBit(F::kOptionFlags, 1)));
  p.push_back(Number("squelch.level", 669, ExtByte(F::kExtSquelchLevel), 0, 9));
  p.push_back(Caption("", 670));
  FieldDescriptor alarm{.key = "mandown.alarm", .labelEntry = 676, .kind = ControlKind::Check, .field = ExtByte(F::kExtManDownAlarm),
                        .encoding = Encoding::Value, .choices = CheckMap('0', 0xFF), .checkedValue = '0', .uncheckedValue = 0xFF, .enabled = manDown};
  alarm.newImage.value = 0xFF;
  p.push_back(alarm);
  p.push_back(Number("mandown.delay", 677, ExtByte(F::kExtAlarmDelay), 1, 10, manDown));
  std::vector<Choice> tilt;
  for (int v : {300, 500, 1000, 1500, 2000, 3000}) tilt.push_back({.textEntry = -1, .value = v, .literal = std::to_string(v)});
  p.push_back(WithNew(Combo("mandown.tilttime", 678, ImageWord(F::kTiltTime), tilt, manDown), 300));  // the first row
  p.push_back(Check("mandown.prealert", 679, ImageWordBit(F::kOptionFlags, 4), manDown));
  p.push_back(Check("mandown.vibration", 680, ImageWordBit(F::kOptionFlags, 5), manDown));
  p.push_back(Check("mandown.emergencycall", 681, ImageWordBit(F::kOptionFlags, 6), manDown));
  p.push_back(Caption("", 640));
  FieldDescriptor ptt = Check("pttdelay.on", 642, ImageWordBit(F::kOptionFlags, 7));
  ptt.dependents = {13};
  p.push_back(ptt);
  p.push_back(WithNew(Number("pttdelay.time", 643, ImageWord(F::kPttDelayTime), 0, 6000,
                             [](const FormContext& c) { return BitClear(c, F::kOptionFlags, 7); }),
                      0));
  p.push_back(Check("squelch.scanlamp", 671, ImageWordBit(F::kOptionFlags, 2)));
  p.push_back(Check("squelch.monitorlock", 672, ImageWordBit(F::kOptionFlags, 3)));
  // Four squelch-level presets (0 to 9) the user steps through; an empty
  // row is not offered.
  FieldDescriptor preset{.kind = ControlKind::EditSpin, .field = ImageByte(F::kSquelchPresets), .encoding = Encoding::Number,
                         .minimum = 0, .maximum = 9, .emptyValue = 0xFF};
  p.push_back(List("squelch.presets", F::kSquelchPresets, 4, preset, 581, 669));
  p.push_back({.key = "", .labelEntry = 675, .kind = ControlKind::Static});
  return p;
}

std::vector<FieldDescriptor> Page4() {
  std::vector<FieldDescriptor> p;
  p.push_back(Combo("phone.autodial", 684, ImageByte(F::kAutoDialMode), {{362, 0xFF}, {692, '0'}, {693, '1'}}));
  p.push_back(WithNew(Number("phone.timeout", 760, ImageWord(F::kPhoneTimeout), 0, 300), 0));
  p.push_back(WithNew({.key = "phone.dtmfhangtime", .labelEntry = 685, .kind = ControlKind::EditSpin, .field = ImageWord(F::kDtmfHangTime),
                       .encoding = Encoding::Scaled, .minimum = 500, .maximum = 8000, .step = 500, .scale = 1000,
                       .decimals = 1},
                      500));
  p.push_back(Check("phone.autoanswer", 686, ImageWordBit(F::kPhoneFlags, 0)));
  p.push_back(Check("phone.ringtone", 687, ImageWordBit(F::kPhoneFlags, 1)));
  p.push_back(Check("phone.calltimer", 688, ImageWordBit(F::kPhoneFlags, 2)));
  p.push_back(Check("phone.viaoptionboard", 691, ImageWordBit(F::kPhoneFlags, 5), [](const FormContext& c) { return c.SystemType() != 1; }));
  p.push_back(Caption("", 667));
  p.push_back(Check("voice.announcechannel", 689, ImageWordBit(F::kPhoneFlags, 3)));
  p.push_back(Check("voice.announcezone", 690, ImageWordBit(F::kPhoneFlags, 4)));
  p.push_back(Caption("", 641));
  FieldDescriptor on = Check("datadelay.on", 642, ImageWordBit(F::kOptionFlags, 8));
  on.dependents = {12};
  p.push_back(on);
  p.push_back(WithNew(Number("datadelay.time", 643, ImageWord(F::kDataDelayTime), 0, 6000,
                             [](const FormContext& c) { return BitClear(c, F::kOptionFlags, 8); }),
                      0));
  return p;
}

std::vector<FieldDescriptor> Page5() {
  std::vector<FieldDescriptor> p;
  p.push_back(Caption("", 1213));
  const int labels[] = {1214, 1215, 1216};
  const char* const kMessageKeys[] = {"passport.stunnedmessage", "passport.killedmessage", "passport.searchingmessage"};
  for (int i = 0; i < 3; ++i)
    p.push_back({.key = kMessageKeys[i], .labelEntry = labels[i], .kind = ControlKind::Text,
                 .field = ImageByte(static_cast<uint32_t>(img::kDisplayTexts + 12 * i)), .encoding = Encoding::Name,
                 .textWidth = 12});
  p.push_back(WithNew(Number("passport.messagetime", 1225, ImageByte(layout::display::kMessageTime), 0, 20), 0));
  p.push_back(Caption("", 1218));
  const int checks[][2] = {{1217, 3}, {1219, 1}, {1220, 2}, {1221, 0}};
  const char* const kToneKeys[] = {"passport.callsetuptone", "passport.busytone", "passport.intercepttone",
                                   "passport.outofrangetone"};
  for (int i = 0; i < 4; ++i) {
    FieldDescriptor d = Check(kToneKeys[i], checks[i][0], ImageByteBit(layout::display::kPassPortTones, checks[i][1]));
    d.checkedValue = 1;
    d.uncheckedValue = 0;
    d.choices = CheckMap(1, 0);
    d.newImage.value = 0;  // unticked
    p.push_back(d);
  }
  return p;
}

std::vector<FieldDescriptor> Page6() {
  // The whole page works only with the data board (system type 4); the rule
  // is on every field too, so that the settings verb refuses them alike.
  const Rule board = [](const FormContext& c) { return c.SystemType() == 4; };
  std::vector<FieldDescriptor> p;
  p.push_back(Caption("", 650));
  FieldDescriptor r1 = ReportTime("data.emergencyreport", 651, feat::kReportBudget1, 30);
  FieldDescriptor r2 = ReportTime("data.positionreport", 652, feat::kReportBudget2, 300);
  FieldDescriptor r3 = ReportTime("data.statusreport", 653, feat::kReportBudget3, 300);
  r1.dependents = {2, 3, 6};
  r2.dependents = {1, 3, 6};
  r3.dependents = {1, 2, 6};
  for (FieldDescriptor* d : {&r1, &r2, &r3}) {
    d->enabled = board;
    p.push_back(*d);
  }
  // How the position and status reports go out (the report mode byte).
  p.push_back(Combo("data.reportmode", 654, ImageByte(F::kReportMode), {{663, 0xFF}, {664, '0'}, {665, '1'}, {666, '2'}}, board));
  p.push_back(Caption("", 655));
  FieldDescriptor autoPos{.key = "data.autoposition", .labelEntry = 1021, .kind = ControlKind::Check, .field = ImageByte(F::kAutoPositionReport),
                          .encoding = Encoding::Value, .choices = CheckMap('0', '1'), .checkedValue = '0', .uncheckedValue = '1'};
  autoPos.enabled = And(board, [](const FormContext& c) {
    return (c.ImageByte(feat::kReportBudget2) | (c.ImageByte(feat::kReportBudget2 + 1) << 8)) != 0xFFFF;
  });
  autoPos.newImage.value = '1';  // unticked
  p.push_back(autoPos);
  p.push_back(Caption("", 657));
  p.push_back(Check("data.acknowledge", 658, ImageWordBit(F::kDataFlags, 0), board));
  p.push_back(Check("data.alerttone", 659, ImageWordBit(F::kDataFlags, 1), board));
  p.push_back(Caption("", 660));
  const Rule input = [](const FormContext& c) { return AccessoryFunctionInUse(c.data, feat::kInputAlarmFunction); };
  FieldDescriptor alarm = Check("data.inputalarm", 661, ImageWordBit(F::kDataFlags, 2), And(board, input));
  alarm.dependents = {12};
  p.push_back(alarm);
  p.push_back(WithNew(Number("data.inputholdtime", 662, ImageWord(F::kInputHoldTime), 1, 3600,
                             And(board, And(input, [](const FormContext& c) { return BitClear(c, F::kDataFlags, 2); }))),
                      1));
  return p;
}

std::vector<FormPage> BuildPages() {
  std::vector<FormPage> pages(kFeaturePages);
  const int tabs[kFeaturePages] = {534, 535, 536, 537, 538, 1190, 539};
  pages[0].fields = Page0();
  pages[1].fields = Page1();
  pages[2].fields = Page2();
  pages[3].fields = Page3();
  pages[4].fields = Page4();
  pages[5].fields = Page5();
  pages[6].fields = Page6();
  for (int i = 0; i < kFeaturePages; ++i) pages[static_cast<size_t>(i)].tabEntry = tabs[i];
  pages[kFeatureDataBoardPage].shown = FirstGenOnly();
  pages[kFeatureDataBoardPage].enabled = [](const FormContext& c) { return c.SystemType() == 4; };
  return pages;
}

// The radio passwords as settings (the push button's dialog edits them).
FieldDescriptor PasswordField(std::string key, std::string oldKey, int label, bool overwrite) {
  FieldDescriptor d{.key = std::move(key), .labelEntry = label, .kind = ControlKind::Text,
                    .field = ImageByte(overwrite ? img::kOverwritePassword : img::kReadPassword),
                    .encoding = Encoding::Custom, .maxLength = 6};
  d.customShow = [overwrite](const FormContext& c) { return RadioPassword(c.data, overwrite); };
  d.customStore = [overwrite](FormContext& c, std::string& text) {
    if (RadioPasswordTypable(text)) StoreRadioPassword(c.data, overwrite, text);
  };
  d.newImage = {.value = 0xFF, .fill = static_cast<int>(F::kPasswordBytes)};  // no password
  d.oldKey = std::move(oldKey);
  return d;
}

// The key earlier versions gave a control: its page and its index there.
// Scripts written then still work (FieldDescriptor::oldKey).
std::string Positional(size_t page, size_t index) { return std::to_string(page) + "." + std::to_string(index); }

// ---- the settings set ----------------------------------------------------------------

class FeatureRecord : public BoundRecord {
 public:
  FeatureRecord(RadioData& d, TextTable& t) : ctx_(d, t) {}
  FormContext& Context() override { return ctx_; }
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    if ((d.key == kReadPasswordKey || d.key == kOverwritePasswordKey) && !RadioPasswordTypable(text))
      return false;
    return FormEngine::StoreText(ctx_, d, text);
  }

 private:
  FormContext ctx_;
};

FieldSet MakeFeatureSet() {
  FieldSet s;
  s.name = "features";
  s.recordKind = "page";
  s.keyPattern = "`features.SECTION.NAME`; list rows `features.SECTION.NAME.R`. The older `features.P.I` (P the page, "
                  "I the control's index on it) is still taken";
  s.fields = &FeatureFieldTable();
  s.records = [](RadioData&) { return std::vector<FieldSetRecord>{{"features", {}}}; };
  s.parse = [](RadioData&, const std::string& prefix, RecordCursor& c) {
    c = {};
    return prefix == "features";
  };
  s.bind = [](RadioData& data, TextTable& text, RecordCursor) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<FeatureRecord>(data, text);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeFeatureSet());
}

}  // namespace

const std::vector<FormPage>& FeaturePages() {
  static const std::vector<FormPage> pages = BuildPages();
  return pages;
}

const std::vector<FieldDescriptor>& FeatureFieldTable() {
  static const std::vector<FieldDescriptor> table = [] {
    std::vector<FieldDescriptor> t;
    const auto& pages = FeaturePages();
    for (size_t p = 0; p < pages.size(); ++p) {
      for (size_t i = 0; i < pages[p].fields.size(); ++i) {
        const FieldDescriptor& d = pages[p].fields[i];
        // Captions stay in the table (they are no settings: they have no key)
        // so that the printed report shows the groups the window shows; an
        // embedded list is captioned by its first heading.
        if (d.kind == ControlKind::List) {
          if (d.listHeadEntries[0] >= 0) t.push_back(Caption("", d.listHeadEntries[0]));
          for (size_t r = 0; r < d.listRows.size(); ++r) {
            FieldDescriptor row = d.listRows[r];
            row.oldKey = Positional(p, i) + "." + std::to_string(r + 1);
            t.push_back(row);
          }
          continue;
        }
        if (d.kind == ControlKind::Caption) {
          t.push_back(d);
          continue;
        }
        if (d.key.empty() || d.encoding == Encoding::None) {
          // Captions and the push button hold no value; the button's dialog does.
          if (d.kind == ControlKind::Button) {
            t.push_back(PasswordField(kReadPasswordKey, "0.9.read", 695, false));
            t.push_back(PasswordField(kOverwritePasswordKey, "0.9.overwrite", 696, true));
          }
          continue;
        }
        FieldDescriptor copy = d;
        copy.oldKey = Positional(p, i);
        // Fields of a page that is off as a whole are off in the settings too.
        if (pages[p].enabled) copy.enabled = And(pages[p].enabled, d.enabled);
        if (pages[p].shown) copy.enabled = And(pages[p].shown, copy.enabled);
        t.push_back(copy);
      }
    }
    return t;
  }();
  return table;
}

bool AccessoryFunctionInUse(RadioData& data, int function) {
  if (function < 0 || function > 0xFE) return false;
  return AnyUsedOptionSlotHolds(data, static_cast<uint8_t>(function));
}

std::string RadioPassword(RadioData& data, bool overwrite) {
  const ByteArea image = data.Image();
  const size_t at = overwrite ? img::kOverwritePassword : img::kReadPassword;
  const int len = image.u8(at);
  if (len == 0xFF || len > 6) return {};
  std::string s;
  for (int i = 0; i < len; ++i) {
    const uint8_t ch = image.u8(at + 1 + static_cast<size_t>(i));
    if (!std::isalnum(ch)) break;  // a damaged password shows what is readable
    s.push_back(static_cast<char>(ch));
  }
  return s;
}

void StoreRadioPassword(RadioData& data, bool overwrite, const std::string& typed) {
  if (!RadioPasswordTypable(typed)) return;
  ByteArea image = data.Image();
  const size_t at = overwrite ? img::kOverwritePassword : img::kReadPassword;
  image.fill(at, 7, 0xFF);
  if (!typed.empty()) {
    image.setU8(at, static_cast<uint8_t>(typed.size()));
    image.write(at + 1, typed.data(), typed.size());
  }
  if (overwrite) data.model.SetOverwritePasswordBit(!typed.empty());
  else data.model.SetReadPasswordBit(!typed.empty());
}

void RegisterFeatureFieldSets() { RegisterTheseSets(); }

}  // namespace vb420
