// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode: a conversation of its own with a radio on the bench. The radio is
// put on its test channels and test signalling entries, keyed and unkeyed, and
// its alignment values are stepped, set and watched through the adjustment
// panel. Everything the dialogs and the command line do goes through here, so
// that each control sends exactly one known command, wrapped in Retry/Cancel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/RadioData.h"
#include "lang/TextTable.h"
#include "link/RadioLink.h"
#include "link/Session.h"

namespace vb420 {

// ---------------------------------------------------------------------------
// The adjustment items

enum class ItemModels : uint8_t { kAll, kMobile, kPortable };
// How the number of points of an item follows the bandwidth selection.
enum class ItemPoints : uint8_t {
  kFixed,            // always `points`
  kFourWhenZero,     // 4 with selection 0, else 1
  kOneWhenTwo,       // 1 with selection 2, else 4
};

struct AdjustmentItem {
  int number;        // 0..24
  int nameEntry;     // text entry of its name
  ItemModels models;
  int points;        // the most points it has
  ItemPoints rule;
  std::array<uint8_t, 6> codes;  // parameter code per point
};

constexpr int kAdjustmentItemCount = 25;
const std::array<AdjustmentItem, kAdjustmentItemCount>& AdjustmentItems();
const AdjustmentItem& AdjustmentItemAt(int number);

// The items offered for a model (by model number), in table order; item 0 is
// never offered.
std::vector<int> AvailableItems(int modelNumber);
// The points an item has with a bandwidth selection.
int PointCount(int item, int bandwidth);
// Parameter code of a point (0 for a point the item does not have).
uint8_t PointCode(int item, int point, int bandwidth);
// Text entry of the name of point `point` of an item with `points` points
// (0 when the item has a single point).
int PointNameEntry(int points, int point);
// Text entry of the name of a bandwidth selection (0 for selection 1, which
// has no name of its own).
int BandwidthNameEntry(int bandwidth);
// Items whose number of points follows the bandwidth.
bool ItemFollowsBandwidth(int item);
// Items whose value is watched by the 550 ms query timer: always (10, 11,
// 20..23), or only while transmitting (24).
bool ItemQueriedAlways(int item);
bool ItemQueriedWhileTransmitting(int item);
// Receiver items, whose panel shows the volume group.
bool ItemHasVolume(int item);

// The adjustment list's entry for an item: its name, then in parentheses the
// bandwidth name for the items that follow the bandwidth, and the point name
// when that leaves them a single point.
std::string AdjustmentListText(TextTable& text, int item, int bandwidth);

// Values are one byte each, the range the radio answers in.
constexpr int kAdjustMin = 0;
constexpr int kAdjustMax = 255;
// The bytes read with 0x07 when a point is switched on: its value, then the
// volume.
constexpr size_t kPanelValuesLength = 2;
// The query timers of the panel.
constexpr int kPanelQueryIntervalMs = 550;

// ---------------------------------------------------------------------------
// The start sequence and the controls

enum class TestStart : int {
  kStarted = 0,
  kPortNotOpened,   // 269 (or the busy-port message) shown, nothing sent
  kCancelled,       // Cancel on a Retry/Cancel question
  kModelRefused,    // Cancel after 271
  kModelDiffers,    // 273 shown
  kChannelsDiffer,  // 272 shown
  kTuningDiffers,   // 324 shown
};

// The 32-bit values of a test-mode answer, most significant byte first, in
// the image's order (least significant byte first).
std::array<uint8_t, 4> SwapToImageOrder(const uint8_t* msbFirst);

// The prefixed set that mobiles get when test mode starts.
constexpr uint8_t kMobilePrefixValue = 0x08;
// Where the selectors of the radio's test data start (1-based on the wire).
constexpr int kTestChannels = 16;
constexpr int kTuningRows = 5;

class TestModeSession {
 public:
  TestModeSession(RadioLink& link, RadioData& data, Prompter& prompter, SessionCallbacks cb = {});
  ~TestModeSession();
  TestModeSession(const TestModeSession&) = delete;
  TestModeSession& operator=(const TestModeSession&) = delete;

  // Opens the port for test mode and runs the start sequence. Anything but
  // kStarted has shown its message and closed the port.
  [[nodiscard]] TestStart Start();
  // In test mode: the port is open and 'E' has not been sent yet.
  bool Active() const { return active_; }
  // Unkeys a keyed transmitter, sends 'E' (twice before giving up) and
  // closes the port; nothing when test mode has ended already. kEndFailed
  // when the radio did not confirm the end or the port would not close.
  TransferResult End();
  // How the last end went, also one that a failed command or a stop request
  // brought about: kEndFailed means the radio may still be in test mode, and
  // transmitting.
  TransferResult LastEnd() const { return lastEnd_; }

  // ---- state -------------------------------------------------------------
  int Channel() const { return channel_; }           // 0..15
  int Signalling() const { return signalling_; }     // 0..16
  int Bandwidth() const { return bandwidth_; }       // 0..2
  bool Transmitting() const { return transmit_; }
  int FirstValidChannel() const { return firstValid_; }
  int SignallingCount() const;                       // 17, or 16 for second-generation models
  int ModelNumber() const;
  bool IsMobile() const;
  // The image holds a receive frequency for test channel `index`.
  bool IsChannelValid(int index) const;
  // From `index`, the next (dir > 0) or previous valid channel, wrapping
  // between the first and the last; at most 17 tries; `index` itself when no
  // other is valid.
  int StepChannel(int index, int dir) const;
  // The radio's answer to the last 0x10: receive and transmit frequency in the
  // image's byte order.
  const std::array<uint8_t, 8>& RadioChannelBytes() const { return radioChannel_; }
  // "  %s" texts of the current channel's frequencies from the image (empty
  // text when not set).
  std::string ChannelFreqText(int which) const;
  const std::array<uint8_t, testcmd::kTestDataLength>& TestData() const { return testData_; }

  // ---- the controls ----------------------------------------------------------
  // Each runs one command inside the test-mode wrapper: true when it was
  // acknowledged, false when the user chose Cancel, which has ended test mode.
  bool SelectChannel(int index);
  bool SelectSignalling(int index);
  bool SetBandwidth(int selection);
  bool SetCompander(bool on);
  bool SetBeatShift(bool on);
  bool SetMskRate(bool high);
  bool SetNoiseBlanker(int selection);
  bool SetTransmit(bool on);
  bool ToggleTransmit() { return SetTransmit(!transmit_); }
  bool ReadChecksum(uint16_t& out);
  // The 149-byte test data block (Print).
  bool ReadTestData();

  // ---- the forms the adjustment panel uses --------------------------------
  bool Switch(uint8_t code, bool on);
  bool Step(uint8_t code, int step, bool prefixed = false);
  bool Set(uint8_t code, uint8_t value, bool prefixed = false);
  bool Query(uint8_t code, uint8_t& value, bool prefixed = false);
  bool ReadValues(uint8_t* out, size_t length);

  RadioLink& Link() { return link_; }
  // Called with the model bytes of a known radio before they are compared
  // with the image's: a caller without programming of its own builds the
  // radio's default programming here.
  void SetOnIdentified(std::function<void(const ModelBytes&)> fn) { onIdentified_ = std::move(fn); }

 private:
  // Runs `attempt` until it succeeds; on failure asks Retry/Cancel (270);
  // Cancel ends test mode.
  template <class F>
  bool Command(F&& attempt);
  TestStart Abandon(TestStart why, int message);

  RadioLink& link_;
  RadioData& data_;
  Prompter& prompter_;
  SessionCallbacks cb_;
  std::function<void(const ModelBytes&)> onIdentified_;
  bool active_ = false;
  TransferResult lastEnd_ = TransferResult::kOk;
  bool tuned_ = false;  // "TUNING " was acknowledged
  int channel_ = 0;
  int signalling_ = 0;
  int bandwidth_ = 0;
  bool transmit_ = false;
  int firstValid_ = 0;
  std::array<uint8_t, 8> radioChannel_{};
  std::array<uint8_t, testcmd::kTestDataLength> testData_{};
};

// ---------------------------------------------------------------------------
// The adjustment panel, apart from its widgets

class AdjustmentPanelState {
 public:
  AdjustmentPanelState(TestModeSession& session, int item);

  int Item() const { return item_; }
  int Points() const { return points_; }
  int Point() const { return point_; }
  uint8_t Code() const { return PointCode(item_, point_, bandwidth_); }
  int Value() const { return value_; }
  int Volume() const { return volume_; }
  bool Transmitting() const { return session_.Transmitting(); }
  bool HasVolume() const { return ItemHasVolume(item_); }

  // Opening the panel and changing tab: the previous point off when one is
  // on, the new point on, its values read with 0x07.
  bool Open() { return SelectPoint(0); }
  bool SelectPoint(int point);
  // The step form: the value moved by `step` (0 sends nothing).
  bool StepValue(int step);
  // The set form: the value given.
  bool SetValue(int value);
  // The same two forms with the parameter prefix for the volume.
  bool StepVolume(int step);
  bool SetVolume(int value);
  bool ToggleTransmit();
  // The query timer: true when a query is due now (items 10, 11, 20..23, or
  // 24 while transmitting), then runs it.
  bool QueryDue() const;
  bool Query();
  // OK: transmitter off, point off. Cancel: transmitter off, the test state
  // restored (0x05, 0x10, 0x11). False when the user cancelled a failed
  // exchange (test mode has ended).
  bool Ok();
  bool Cancel();

 private:
  TestModeSession& session_;
  int item_;
  int bandwidth_;
  int points_;
  int point_ = -1;
  bool pointOn_ = false;
  int value_ = 0;
  int volume_ = 0;
};

}  // namespace vb420
