// SPDX-License-Identifier: GPL-3.0-or-later
// What each part of the program adds to the EditorRegistry: its windows,
// its menu commands and its hooks (image replaced, model change, channel
// marks). Each function is defined in the part's own ui/ folder and called
// once, in the order of app/AppRegistration.cpp, by RegisterAll().
#pragma once

namespace vb420 {

void RegisterZoneServices();          // editors/zones/ui/ZoneServices.cpp
void RegisterZoneInfoWindow();        // editors/zones/ui/ZnInfoView.cpp
void RegisterChannelWindows();        // editors/zones/ui/ChEditView.cpp
void RegisterTrunkWindows();          // editors/trunk/ui/TrunkViews.cpp
void RegisterRepeaterWindow();        // editors/trunk/ui/RepInfoView.cpp
void RegisterPassPortWindows();       // editors/passport/ui/PassPortViews.cpp
void RegisterTestFreqWindows();       // editors/testfreq/ui/TestFreqView.cpp
void RegisterMessageWindows();        // editors/messages/ui/MessageViews.cpp
void RegisterFeatureWindows();        // editors/features/ui/FeatureViews.cpp
void RegisterKeyWindows();            // editors/features/ui/KeyViews.cpp
void RegisterSignallingWindows();     // editors/signalling/ui/SignalViews.cpp
void RegisterScanWindows();           // editors/scan/ui/ScanViews.cpp (after the zone windows)
void RegisterDtmfWindows();           // editors/dtmf/ui/DtmfViews.cpp
void RegisterPlanCommands();          // editors/plan/ui/PlanCommands.cpp
void RegisterZoneMergeWindow();       // editors/plan/ui/ZnMergeView.cpp
void RegisterCompareCommands();       // editors/compare/ui/CompareWindow.cpp
void RegisterRadioCommands();         // link/ui/RadioCommands.cpp
void RegisterTestModeCommand();       // link/ui/TestModeDlg.cpp
void RegisterMemoryViewerCommands();  // data/ui/MemoryViewer.cpp
namespace print {
void RegisterPrintCommands();         // print/PrintCommands.cpp
}  // namespace print

}  // namespace vb420
