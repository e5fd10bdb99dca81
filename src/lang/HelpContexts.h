// SPDX-License-Identifier: GPL-3.0-or-later
// Help contexts of the windows and dialogs that are not menu commands (the
// menu commands' own contexts come with the command table). Qt-free, so that
// the dialogs of every folder name them without the main window's headers.
#pragma once

namespace vb420 {

// Help contexts used outside the menus.
constexpr int kHelpContents = 0;
constexpr int kHelpModelDialog = 0x20000;
constexpr int kHelpModelList = 0x21000;
constexpr int kHelpBandList = 0x22000;
constexpr int kHelpSaveType = 0x14000;
constexpr int kHelpTreeBar = 0x71000;
constexpr int kHelpToolBar = 0x72000;
constexpr int kHelpStatusBar = 0x73000;
constexpr int kHelpLanguage = 0x62000;
// File > Export and Import Settings Text: the settings text's page.
constexpr int kHelpSettingsText = 0x1D000;
// Editor windows without a menu command of their own: their own pages,
// beside Zone Information's.
constexpr int kHelpZoneInfo = 0x31000;
constexpr int kHelpChannelEdit = 0x31100;
constexpr int kHelpConvZoneEdit = 0x31200;
// The copy and jump dialogs of the zone and channel windows.
constexpr int kHelpZoneDialogs = 0x31300;
// The trunking windows: LTR zone, GID and repeater editors, the PassPort
// system data, search and hold and seed frequency editors, and the PassPort
// mobile ID names and site information dialogs.
constexpr int kHelpTrunkZoneEdit = 0x31400;
constexpr int kHelpGidEdit = 0x31500;
constexpr int kHelpRepeaters = 0x31600;
constexpr int kHelpPPSystem = 0x31700;
constexpr int kHelpPPSearchHold = 0x31800;
constexpr int kHelpPPSeedFreq = 0x31900;
constexpr int kHelpPPMobileIds = 0x31A00;
constexpr int kHelpPPSites = 0x31B00;

}  // namespace vb420
