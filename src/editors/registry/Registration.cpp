// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/registry/Registration.h"

#include <mutex>

#include "data/AreaDefaults.h"

#include "editors/dtmf/DtmfFields.h"
#include "editors/features/FeatureFields.h"
#include "editors/features/KeyFields.h"
#include "editors/features/OptBoardFields.h"
#include "editors/forms/FieldSets.h"
#include "editors/messages/MessageFields.h"
#include "editors/passport/PassPortLists.h"
#include "editors/plan/ZoneMerge.h"
#include "editors/scan/ScanFields.h"
#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/EmergencyFields.h"
#include "editors/signalling/SignallingChecks.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneTypeField.h"
#include "editors/zones/ZoneWriteChecks.h"

namespace vb420 {

void RegisterCore() {
  static std::once_flag once;
  std::call_once(once, [] {
    // New programmings take the single fields' values from the tables.
    SetFieldTableDefaultsWriter(&forms::WriteRegisteredNewImageValues);
    // Field sets, in the order the listing and the field document show them.
    RegisterZoneTypeFieldSet();  // each zone before its records
    RegisterZoneFieldSets();
    RegisterTestFreqFieldSets();
    RegisterMessageFieldSets();
    RegisterFeatureFieldSets();
    RegisterKeyFieldSets();
    RegisterOptBoardFieldSets();
    pplist::RegisterPassPortListFieldSets();
    RegisterAlertToneFieldSets();
    RegisterEmergencyFieldSets();
    RegisterSignalListFieldSets();
    RegisterVantelixFieldSets();
    scan::RegisterScanFieldSets();
    dtmf::RegisterDtmfFieldSets();
    // Every pre-write check (the radio link's own checks are built in).
    RegisterZoneWriteChecks();  // with the trunking checks
    RegisterFeatureWriteChecks();  // with the key checks
    RegisterSignallingWriteChecks();
    scan::RegisterScanWriteChecks();
    dtmf::RegisterDtmfWriteChecks();
    RegisterMergeWriteCheck();
  });
}

std::vector<std::string> RegisteredFieldSetNames() {
  std::vector<std::string> out;
  for (const forms::FieldSet& s : forms::FieldSets()) out.push_back(s.name);
  return out;
}

}  // namespace vb420
