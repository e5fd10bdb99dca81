// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/TestMode.h"

#include <algorithm>

#include "link/StopRequest.h"

namespace vb420 {

// ---------------------------------------------------------------------------
// The adjustment items

namespace {

using M = ItemModels;
using P = ItemPoints;

const std::array<AdjustmentItem, kAdjustmentItemCount> kItems = {{
    {0, 135, M::kAll, 1, P::kFixed, {0xB3}},
    {1, 138, M::kAll, 1, P::kFixed, {0x20}},
    {2, 139, M::kAll, 4, P::kFixed, {0xA0, 0xC0, 0xC1, 0xC2}},
    {3, 140, M::kAll, 4, P::kFixed, {0xA1, 0xC3, 0xC4, 0xC5}},
    {4, 141, M::kMobile, 6, P::kFixed, {0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB}},
    {5, 142, M::kMobile, 6, P::kFixed, {0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1}},
    {6, 143, M::kAll, 6, P::kFixed, {0x12, 0x30, 0x33, 0x31, 0x34, 0x32}},
    {7, 144, M::kAll, 6, P::kFixed, {0x14, 0x60, 0x63, 0x61, 0x64, 0x62}},
    {8, 145, M::kAll, 4, P::kFourWhenZero, {0x18, 0x65, 0x66, 0x67}},
    {9, 146, M::kAll, 4, P::kFourWhenZero, {0x17, 0x24, 0x25, 0x26}},
    {10, 147, M::kPortable, 1, P::kFixed, {0x3C}},
    {11, 148, M::kPortable, 1, P::kFixed, {0x3D}},
    {12, 149, M::kAll, 4, P::kFourWhenZero, {0x19, 0x6A, 0x6B, 0x6C}},
    {13, 150, M::kAll, 4, P::kFourWhenZero, {0x1A, 0x6F, 0x70, 0x71}},
    {14, 151, M::kAll, 4, P::kOneWhenTwo, {0x1C, 0x48, 0x49, 0x4A}},
    {15, 152, M::kAll, 1, P::kFixed, {0x1D}},
    {16, 153, M::kAll, 1, P::kFixed, {0x3A}},
    {17, 154, M::kAll, 1, P::kFixed, {0x1B}},
    {18, 155, M::kAll, 6, P::kFixed, {0x1F, 0x35, 0x37, 0x36, 0x38, 0x39}},
    {19, 156, M::kPortable, 6, P::kFixed, {0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7}},
    {20, 157, M::kAll, 4, P::kFixed, {0x92, 0x93, 0x94, 0x95}},
    {21, 158, M::kAll, 4, P::kFixed, {0xAB, 0xAC, 0xAD, 0xAE}},
    {22, 159, M::kAll, 4, P::kFixed, {0x96, 0x97, 0x98, 0x99}},
    {23, 160, M::kAll, 4, P::kFixed, {0xAF, 0xB0, 0xB1, 0xB2}},
    {24, 161, M::kPortable, 1, P::kFixed, {0x1E}},
}};

bool ValidItem(int item) { return item >= 0 && item < kAdjustmentItemCount; }

}  // namespace

const std::array<AdjustmentItem, kAdjustmentItemCount>& AdjustmentItems() { return kItems; }

const AdjustmentItem& AdjustmentItemAt(int number) { return kItems[ValidItem(number) ? number : 0]; }

std::vector<int> AvailableItems(int modelNumber) {
  std::vector<int> out;
  const bool mobile = IsMobileModel(modelNumber);
  for (const auto& it : kItems) {
    if (it.number == 0) continue;
    if (it.models == M::kMobile && !mobile) continue;
    if (it.models == M::kPortable && mobile) continue;
    out.push_back(it.number);
  }
  return out;
}

int PointCount(int item, int bandwidth) {
  if (!ValidItem(item)) return 0;
  const AdjustmentItem& it = kItems[item];
  switch (it.rule) {
    case P::kFourWhenZero: return bandwidth == 0 ? 4 : 1;
    case P::kOneWhenTwo: return bandwidth == 2 ? 1 : 4;
    case P::kFixed: break;
  }
  return it.points;
}

uint8_t PointCode(int item, int point, int bandwidth) {
  if (point < 0 || point >= PointCount(item, bandwidth)) return 0;
  return kItems[item].codes[point];
}

int PointNameEntry(int points, int point) {
  static const int kFour[4] = {258, 259, 261, 263};
  if (point < 0) return 0;
  if (points == 4 && point < 4) return kFour[point];
  if (points == 6 && point < 6) return 258 + point;
  return 0;
}

int BandwidthNameEntry(int bandwidth) {
  if (bandwidth == 0) return 167;
  if (bandwidth == 2) return 164;
  return 0;
}

bool ItemFollowsBandwidth(int item) { return ValidItem(item) && kItems[item].rule != P::kFixed; }

bool ItemQueriedAlways(int item) { return item == 10 || item == 11 || (item >= 20 && item <= 23); }
bool ItemQueriedWhileTransmitting(int item) { return item == 24; }
bool ItemHasVolume(int item) { return item >= 15 && item <= 18; }

std::string AdjustmentListText(TextTable& text, int item, int bandwidth) {
  std::string s = text.Text(AdjustmentItemAt(item).nameEntry);
  if (!ItemFollowsBandwidth(item)) return s;
  std::string extra;
  if (const int bw = BandwidthNameEntry(bandwidth)) extra = text.Text(bw);
  if (PointCount(item, bandwidth) == 1) {
    const std::string point = text.Text(PointNameEntry(AdjustmentItemAt(item).points, 0));
    extra += (extra.empty() || point.empty() ? "" : ", ") + point;
  }
  if (!extra.empty()) s += " (" + extra + ")";
  return s;
}

std::array<uint8_t, 4> SwapToImageOrder(const uint8_t* msbFirst) {
  return {msbFirst[3], msbFirst[2], msbFirst[1], msbFirst[0]};
}

// ---------------------------------------------------------------------------
// The session

TestModeSession::TestModeSession(RadioLink& link, RadioData& data, Prompter& prompter, SessionCallbacks cb)
    : link_(link), data_(data), prompter_(prompter), cb_(std::move(cb)) {}

TestModeSession::~TestModeSession() {
  // A radio is never left in test mode because its session went away.
  if (active_) End();
}

int TestModeSession::ModelNumber() const { return data_.model.ModelNumber(); }
bool TestModeSession::IsMobile() const { return IsMobileModel(ModelNumber()); }
int TestModeSession::SignallingCount() const { return data_.model.IsSecondGen() ? 16 : 17; }

bool TestModeSession::IsChannelValid(int index) const {
  if (index < 0 || index >= kTestChannels) return false;
  return data_.TestFreqTable().IsPairFreqSet(index, 0);
}

int TestModeSession::StepChannel(int index, int dir) const {
  int i = index;
  for (int tries = 0; tries < 17; ++tries) {
    i = (i + (dir >= 0 ? 1 : -1) + kTestChannels) % kTestChannels;
    if (IsChannelValid(i)) return i;
  }
  return index;
}

std::string TestModeSession::ChannelFreqText(int which) const {
  const CFreqPairTable table = data_.TestFreqTable();
  if (!table.IsPairFreqSet(channel_, which)) return "  ";
  std::string text;
  table.PairFreqToText(channel_, which, text);
  return "  " + text;
}

template <class F>
bool TestModeSession::Command(F&& attempt) {
  if (!active_) return false;
  for (;;) {
    session::Pump(cb_);
    // Asked to stop (a signal, the program quitting): no new command and no
    // retry; the radio is unkeyed and leaves test mode.
    if (StopRequested()) {
      End();
      return false;
    }
    if (attempt() == LinkResult::kOk) return true;
    if (StopRequested() || !prompter_.AskRetryCancel(msg::kCommFailed)) {
      End();
      return false;
    }
  }
}

TransferResult TestModeSession::End() {
  if (!active_) return TransferResult::kOk;
  active_ = false;
  // Leaving test mode drops the carrier; a keyed transmitter is unkeyed
  // first all the same, so that a radio that misses the end is not left on
  // the air. The end is sent twice before it counts as lost.
  LinkResult ended = LinkResult::kOk;
  if (tuned_) {
    if (transmit_) (void)link_.TestTransmit(false);
    ended = link_.EndProgramMode();
    if (ended != LinkResult::kOk) ended = link_.EndProgramMode();
  }
  transmit_ = false;
  tuned_ = false;
  const bool closed = link_.SetOpenState(0);
  lastEnd_ = ended == LinkResult::kOk && closed ? TransferResult::kOk : TransferResult::kEndFailed;
  return lastEnd_;
}

TestStart TestModeSession::Abandon(TestStart why, int message) {
  End();
  if (message) prompter_.ShowError(message);
  return why;
}

TestStart TestModeSession::Start() {
  active_ = false;
  tuned_ = false;
  transmit_ = false;
  session::Pump(cb_);
  if (!session::ReopenPort(link_, prompter_)) return TestStart::kPortNotOpened;
  link_.SetBaudField("9600");
  link_.SetReadTimeout(1500);
  active_ = true;

  for (;;) {
    // "TUNING ", with Retry/Cancel; a Cancel here leaves nothing to end.
    for (;;) {
      session::Pump(cb_);
      if (link_.EnterTestMode() == LinkResult::kOk) break;
      if (!prompter_.AskRetryCancel(msg::kCommFailed)) {
        End();
        return TestStart::kCancelled;
      }
    }
    tuned_ = true;
    ModelBytes radio{};
    if (!Command([&] { return link_.Identify(radio); })) return TestStart::kCancelled;
    if (!ModelRecord::IsKnownModel(radio)) {
      (void)link_.EndProgramMode();
      tuned_ = false;
      if (prompter_.AskRetryCancel(msg::kModelNotSupported)) continue;
      End();
      return TestStart::kModelRefused;
    }
    if (onIdentified_) onIdentified_(radio);
    ModelBytes a = radio, b = data_.model.Bytes();
    a[6] &= static_cast<uint8_t>(~0x04);
    b[6] &= static_cast<uint8_t>(~0x04);
    if (a != b) return Abandon(TestStart::kModelDiffers, msg::kTestModelDiffers);
    break;
  }

  std::array<uint8_t, 10> version{};
  if (!Command([&] { return link_.VersionQuery(version); })) return TestStart::kCancelled;

  const ByteArea image = data_.Image();
  firstValid_ = -1;
  for (int ch = 0; ch < kTestChannels; ++ch) {
    std::array<uint8_t, 8> got{};
    if (!Command([&] { return link_.TestChannel(static_cast<uint8_t>(ch + 1), got); })) return TestStart::kCancelled;
    std::array<uint8_t, 8> want{};
    image.read(img::kTestFreqs + static_cast<size_t>(ch) * 10, want.data(), 8);
    const auto rx = SwapToImageOrder(got.data()), tx = SwapToImageOrder(got.data() + 4);
    if (!std::equal(rx.begin(), rx.end(), want.begin()) || !std::equal(tx.begin(), tx.end(), want.begin() + 4))
      return Abandon(TestStart::kChannelsDiffer, msg::kTestChannelsDiffer);
    if (firstValid_ < 0 && IsChannelValid(ch)) firstValid_ = ch;
  }
  if (firstValid_ < 0) firstValid_ = 0;

  std::array<uint8_t, 40> tuning{};
  if (!Command([&] { return link_.TestReadTuning(tuning); })) return TestStart::kCancelled;
  for (int row = 0; row < kTuningRows; ++row) {
    std::array<uint8_t, 8> want{};
    image.read(img::kTuningFreqs + static_cast<size_t>(row) * 10, want.data(), 8);
    const auto rx = SwapToImageOrder(tuning.data() + row * 8), tx = SwapToImageOrder(tuning.data() + row * 8 + 4);
    if (!std::equal(rx.begin(), rx.end(), want.begin()) || !std::equal(tx.begin(), tx.end(), want.begin() + 4))
      return Abandon(TestStart::kTuningDiffers, msg::kTuningDiffers);
  }

  if (IsMobile() && !Command([&] { return link_.TestPrefixSetValue(kMobilePrefixValue); }))
    return TestStart::kCancelled;

  channel_ = firstValid_;
  signalling_ = 0;
  bandwidth_ = 0;
  if (!SelectChannel(channel_)) return TestStart::kCancelled;
  if (!SelectSignalling(signalling_)) return TestStart::kCancelled;
  return TestStart::kStarted;
}

// ---------------------------------------------------------------------------
// The controls

bool TestModeSession::SelectChannel(int index) {
  if (index < 0 || index >= kTestChannels) return active_;
  std::array<uint8_t, 8> got{};
  if (!Command([&] { return link_.TestChannel(static_cast<uint8_t>(index + 1), got); })) return false;
  channel_ = index;
  const auto rx = SwapToImageOrder(got.data()), tx = SwapToImageOrder(got.data() + 4);
  std::copy(rx.begin(), rx.end(), radioChannel_.begin());
  std::copy(tx.begin(), tx.end(), radioChannel_.begin() + 4);
  return true;
}

bool TestModeSession::SelectSignalling(int index) {
  if (index < 0 || index >= SignallingCount()) return active_;
  if (!Command([&] { return link_.TestSignalling(static_cast<uint8_t>(index + 1)); })) return false;
  signalling_ = index;
  return true;
}

bool TestModeSession::SetBandwidth(int selection) {
  if (selection < 0 || selection > 2) return active_;
  if (!Command([&] { return link_.TestBandwidth(selection); })) return false;
  bandwidth_ = selection;
  return true;
}

bool TestModeSession::SetCompander(bool on) {
  return Command([&] { return link_.TestSwitch(0x84, on); });
}

bool TestModeSession::SetBeatShift(bool on) {
  return Command([&] { return link_.TestSwitch(0x0B, on); });
}

bool TestModeSession::SetMskRate(bool high) {
  return Command([&] { return link_.TestMskRate(high); });
}

bool TestModeSession::SetNoiseBlanker(int selection) {
  // The noise blanker shares the bandwidth letters; it does not change the
  // bandwidth selection the panel's items follow.
  if (selection < 0 || selection > 2) return active_;
  return Command([&] { return link_.TestBandwidth(selection); });
}

bool TestModeSession::SetTransmit(bool on) {
  if (!Command([&] { return link_.TestTransmit(on); })) return false;
  transmit_ = on;
  return true;
}

bool TestModeSession::ReadChecksum(uint16_t& out) {
  uint16_t got = 0;
  const bool ok = Command([&] { return link_.FirmwareChecksum(got); });
  if (ok) out = got;
  return ok;
}

bool TestModeSession::ReadTestData() {
  std::array<uint8_t, testcmd::kTestDataLength> got{};
  if (!Command([&] { return link_.TestReadData(got.data(), got.size()); })) return false;
  testData_ = got;
  return true;
}

bool TestModeSession::Switch(uint8_t code, bool on) {
  return Command([&] { return link_.TestSwitch(code, on); });
}

bool TestModeSession::Step(uint8_t code, int step, bool prefixed) {
  return Command([&] { return link_.TestStep(code, step, prefixed); });
}

bool TestModeSession::Set(uint8_t code, uint8_t value, bool prefixed) {
  return Command([&] { return link_.TestSet(code, value, prefixed); });
}

bool TestModeSession::Query(uint8_t code, uint8_t& value, bool prefixed) {
  return Command([&] { return link_.TestQuery(code, value, prefixed); });
}

bool TestModeSession::ReadValues(uint8_t* out, size_t length) {
  return Command([&] { return link_.TestReadValues(out, length); });
}

// ---------------------------------------------------------------------------
// The adjustment panel

AdjustmentPanelState::AdjustmentPanelState(TestModeSession& session, int item)
    : session_(session),
      item_(ValidItem(item) ? item : 1),
      bandwidth_(session.Bandwidth()),
      points_(PointCount(item_, bandwidth_)) {}

bool AdjustmentPanelState::SelectPoint(int point) {
  if (point < 0 || point >= points_) return session_.Active();
  if (pointOn_ && point_ >= 0) {
    if (!session_.Switch(PointCode(item_, point_, bandwidth_), false)) return false;
    pointOn_ = false;
  }
  point_ = point;
  if (!session_.Switch(Code(), true)) return false;
  pointOn_ = true;
  std::array<uint8_t, kPanelValuesLength> values{};
  if (!session_.ReadValues(values.data(), values.size())) return false;
  value_ = values[0];
  volume_ = values[1];
  return true;
}

bool AdjustmentPanelState::StepValue(int step) {
  const int target = std::clamp(value_ + step, kAdjustMin, kAdjustMax);
  step = target - value_;
  if (step == 0) return session_.Active();
  if (!session_.Step(Code(), step)) return false;
  value_ = target;
  return true;
}

bool AdjustmentPanelState::SetValue(int value) {
  value = std::clamp(value, kAdjustMin, kAdjustMax);
  if (!session_.Set(Code(), static_cast<uint8_t>(value))) return false;
  value_ = value;
  return true;
}

bool AdjustmentPanelState::StepVolume(int step) {
  const int target = std::clamp(volume_ + step, kAdjustMin, kAdjustMax);
  step = target - volume_;
  if (step == 0) return session_.Active();
  if (!session_.Step(Code(), step, true)) return false;
  volume_ = target;
  return true;
}

bool AdjustmentPanelState::SetVolume(int value) {
  value = std::clamp(value, kAdjustMin, kAdjustMax);
  if (!session_.Set(Code(), static_cast<uint8_t>(value), true)) return false;
  volume_ = value;
  return true;
}

bool AdjustmentPanelState::ToggleTransmit() { return session_.ToggleTransmit(); }

bool AdjustmentPanelState::QueryDue() const {
  return ItemQueriedAlways(item_) || (ItemQueriedWhileTransmitting(item_) && session_.Transmitting());
}

bool AdjustmentPanelState::Query() {
  if (!QueryDue()) return session_.Active();
  uint8_t v = 0;
  if (!session_.Query(Code(), v)) return false;
  value_ = v;
  return true;
}

bool AdjustmentPanelState::Ok() {
  if (session_.Transmitting() && !session_.SetTransmit(false)) return false;
  if (pointOn_) {
    if (!session_.Switch(Code(), false)) return false;
    pointOn_ = false;
  }
  return true;
}

bool AdjustmentPanelState::Cancel() {
  if (session_.Transmitting() && !session_.SetTransmit(false)) return false;
  if (!session_.ReadTestData()) return false;
  if (!session_.SelectChannel(session_.Channel())) return false;
  return session_.SelectSignalling(session_.Signalling());
}

}  // namespace vb420
