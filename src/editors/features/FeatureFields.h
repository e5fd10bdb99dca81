// SPDX-License-Identifier: GPL-3.0-or-later
// The optional features (Edit > Optional Features): seven pages of radio-wide
// settings in the feature area (image 0x140 onwards), the display texts at
// 0x860 and a few extension-area bytes. Each page is a table of field
// descriptors; the position of a descriptor is the control's index. The
// settings key of a control names its group and what it holds
// (`features.audio.mintonelevel`, list rows `features.battery.levels.ROW`);
// the positional key `features.PAGE.INDEX` of earlier versions is still taken.
#pragma once

#include <string>
#include <vector>

#include "data/FeatureLayout.h"
#include "data/RadioData.h"
#include "editors/forms/FormEngine.h"
#include "link/RadioLink.h"  // RadioPasswordTypable, the one rule of a radio password

namespace vb420 {

constexpr int kFeaturePages = 7;
constexpr int kFeatureDataBoardPage = 6;  // not on second-generation models
constexpr int kNoticeDataBoardOnly = 334;

// The PTT ID type ('0' DTMF, '1' Vantelix, '2' ANI, the last only while the
// system type is 2) and the report words sharing a budget of 300.
namespace feat {
constexpr size_t kPttIdType = layout::features::kPttIdType;
constexpr size_t kReportBudget1 = layout::features::kEmergencyReport;
constexpr size_t kReportBudget2 = layout::features::kPositionReport;
constexpr size_t kReportBudget3 = layout::features::kStatusReport;
constexpr int kReportBudget = 300;
constexpr size_t kAccessoryFunctions[3] = {
    layout::features::kAccessorySlots, layout::features::kAccessorySlots + layout::features::kAccessorySlotSize,
    layout::features::kAccessorySlots + 2 * layout::features::kAccessorySlotSize};
constexpr int kInputAlarmFunction = 49;
}  // namespace feat

// The seven pages in tab order (page 6 is not shown on second-generation
// models; its controls are disabled while the system type is not 4).
const std::vector<forms::FormPage>& FeaturePages();
// Every field of every page (with the list rows and the radio passwords)
// as the settings set "features" holds them.
const std::vector<forms::FieldDescriptor>& FeatureFieldTable();

// True when one of the accessory function bytes that counts holds `function`
// (0x15A always, 0x15C unless the system type is 1 or 4, 0x15E on mobiles).
bool AccessoryFunctionInUse(RadioData& data, int function);

// The radio passwords of page 0's push button: at most six characters,
// empty removes the password. The model byte's password bit follows.
std::string RadioPassword(RadioData& data, bool overwrite);
void StoreRadioPassword(RadioData& data, bool overwrite, const std::string& typed);

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterFeatureFieldSets();

}  // namespace vb420
