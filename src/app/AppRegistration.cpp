// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppRegistration.h"

#include <mutex>

#include "editors/registry/Registration.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

void RegisterAll() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterCore();
#ifndef VB420_SHELL_ONLY
    // The zone services first: their model-change hooks run before the scan
    // part's, which also wraps the Zone Information factory.
    RegisterZoneServices();
    RegisterZoneInfoWindow();
    RegisterChannelWindows();
    RegisterTrunkWindows();
    RegisterRepeaterWindow();
    RegisterPassPortWindows();
    RegisterTestFreqWindows();
    RegisterMessageWindows();
    RegisterFeatureWindows();
    RegisterKeyWindows();
    RegisterSignallingWindows();
    RegisterScanWindows();
    RegisterDtmfWindows();
    RegisterPlanCommands();
    RegisterZoneMergeWindow();
    RegisterCompareCommands();
    RegisterRadioCommands();
    RegisterTestModeCommand();
    print::RegisterPrintCommands();
#endif
    RegisterMemoryViewerCommands();
  });
}

}  // namespace vb420
