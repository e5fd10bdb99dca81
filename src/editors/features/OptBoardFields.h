// SPDX-License-Identifier: GPL-3.0-or-later
// The radio-description area (image 0x810 onwards): the system type and the
// option board (portables, Edit > Extended Function), the accessory-connector
// functions and zone/channel records (mobiles, Edit > Extended Function) and
// the technician setting (the bytes no other window owns).
#pragma once

#include <string>
#include <vector>

#include "data/FeatureLayout.h"
#include "data/RadioData.h"
#include "data/SignallingLayout.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

namespace optb {
constexpr size_t kAccessoryConnector = layout::optboard::kAccessoryConnector;
constexpr size_t kOptionWord = layout::optboard::kOptionWord;
constexpr size_t kEmergencySignalling = emf::kSignalling;
constexpr size_t kZoneChannelRecords = layout::optboard::kZoneChannelRecords;  // zone, channel (1-based, 0xFF none)
constexpr int kZoneChannelCount = 16;
constexpr int kConfirmSystemType = 295;
// Places on the extended-function page: 16 zones, 16 channels (each column
// under its heading), then the system type, the connector and the pins.
constexpr int kExtFuncRows = 17;
constexpr int kExtFuncZone1 = 1;
constexpr int kExtFuncChannel1 = 18;
constexpr int kExtFuncSystem = 34;
constexpr int kExtFuncConnector = 35;
constexpr int kExtFuncPin1 = 36;
}  // namespace optb

struct SystemTypeChange {
  bool cancelled = false;      // the user answered Cancel: the three bytes are back
  bool changed = false;        // the type is a different one now
  bool zonesChanged = false;   // byte 0x851 changed: zone data and the main window
  bool keysChanged = false;    // byte 0x853 changed: functions 3 and 46 went from the keys
  bool connectorChanged = false;  // byte 0x855 was lowered from '2' to '1'
};

// Chooses a system type (0, 1, 2 or 4) with every fix-up that follows;
// entering or leaving type 4 asks `ctx.Confirm(295)` first.
SystemTypeChange ChooseSystemType(forms::FormContext& ctx, int type);
// Chooses the option board type ('1', '2', '3') and removes the key
// functions the new board cannot run (73 unless '3', 92 unless '2').
void ChooseOptionBoard(RadioData& data, uint8_t board);

// The option-board window's single page, the extended-function window's
// page and the technician-setting page.
const forms::FormPage& OptBoardPage();
const forms::FormPage& ExtFuncPage();
const forms::FormPage& SpecialPage();

// The values an accessory pin of the extended-function window offers: none,
// the input alarm (49) and every function a key's first column may take on
// this model with this system type and option board.
std::vector<forms::Choice> AccessoryPinChoices(RadioData& data);

// Whether an image byte belongs to the technician setting (no other window
// shows or changes it).
bool SpecialOwnsByte(size_t offset);

void RegisterFeatureWriteChecks();

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterOptBoardFieldSets();

}  // namespace vb420
