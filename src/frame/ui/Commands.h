// SPDX-License-Identifier: GPL-3.0-or-later
// Command identifiers of the main window and the tables that tie them to
// menu texts, editor kinds and help contexts. Qt-free so that every part of
// the program (and the tests) can name a command.
#pragma once

#include <vector>

#include "lang/HelpContexts.h"

namespace vb420 {

enum Command : int {
  kCmdNone = 0,
  // File
  kCmdFileNew = 100,
  kCmdFileOpen,
  kCmdFileSave,
  kCmdFileSaveAs,
  kCmdFileImport,
  kCmdFileExport,
  kCmdFilePrint,
  kCmdFilePrintPreview,
  kCmdFileExit,
  // The whole programming as a settings text (vb420cli settings --all/--from);
  // 110 and 111 are the compare commands (editors/compare/ui).
  kCmdFileExportSettingsText = 120,
  kCmdFileImportSettingsText,
  // Model
  kCmdModelInfo = 200,
  // Edit
  kCmdZoneInfo = 300,
  kCmdFeatures,
  kCmdKeys,
  kCmdScan,
  kCmdDtmf,
  kCmdTwoTone,
  kCmdVantelix,
  kCmdAlertTone,
  kCmdEmergency,
  kCmdExtFunction,
  kCmdZoneMerge,
  kCmdTestFreq,
  kCmdEmbMessage,
  kCmdEmbPassword,
  kCmdMobileIdNames,
  kCmdSiteInfo,
  kCmdTechSetting,
  // Sent by editor windows and the tree bar; no menu item.
  kCmdChannelEdit = 350,
  kCmdGidEdit,
  kCmdRepeater,
  kCmdConvZoneEdit,
  kCmdTrunkZoneEdit,
  kCmdScanList,
  kCmdKeyImage,
  kCmdPPSysData,
  kCmdPPSearchHold,
  kCmdPPSeedFreq,
  kCmdFocusTree,
  // Program
  kCmdRead = 400,
  kCmdWrite,
  kCmdTestMode,
  kCmdMemoryMap,
  kCmdEeprom,
  // Tool
  kCmdRadioInfo = 500,
  // Setup
  kCmdCommPort = 600,
  kCmdLanguage,
  // View
  kCmdTreeView = 700,
  kCmdToolBar,
  kCmdStatusBar,
  // Window
  kCmdCascade = 800,
  kCmdTileHorizontal,
  kCmdTileVertical,
  kCmdArrange,
  kCmdCloseAll,
  // Help
  kCmdHelpTopics = 900,
  kCmdAbout,
};

// The editor windows, in the order their kinds are registered. The numbers
// are that order; one window of each kind at most is open.
enum class EditorKind : int {
  None = 0,
  ZoneInfo = 1,      // CZnInfoView
  ChannelEdit,       // CChEditView
  GidEdit,           // CGidEditView
  RepeaterInfo,      // CRepInfoView
  PPSysData,         // CPPSysDataView
  PPSearchHold,      // CPPSearchHoldView
  PPSeedFreq,        // CPPSeedFreqView
  ScanList,          // CScanListView
  ConvZoneEdit,      // CConvEditView
  TrunkZoneEdit,     // CTrunkEditView
  ZoneMerge,         // CZnMergeView
  Features,          // CFeatureView
  ExtFunction,       // CExtFuncView
  OptionBoard,       // COptBoardView
  Keys,              // CKeyView
  KeyImage,          // CKeyImageView
  AlertTone,         // CAlertToneView
  Scan,              // CScanView
  Dtmf,              // CDtmfView
  TwoTone,           // CTwoToneView
  Vantelix,          // CVantelixView
  Emergency,         // CEmerView
  TestFreq,          // CTestFreqView
  EmbMessage,        // CEmbView
  EmbPassword,       // CEmbPassView
  TechSetting,       // CSpecialView
};
constexpr int kEditorKindCount = 26;

struct EditorKindInfo {
  EditorKind kind;
  const char* viewClass;   // the name later editors implement
  const char* frameClass;  // the frame style it opens in
  int titleEntry;          // text entry naming it (its menu or tree text), 0 when none
  int helpContext;         // F1 inside it, 0 when none
};

// All 26 kinds in registration order (index = kind - 1).
const std::vector<EditorKindInfo>& EditorKinds();
const EditorKindInfo* EditorKindInfoOf(EditorKind kind);

// One row of the Edit menu and the tree bar: command 0 is a separator.
struct EditorListRow {
  int command;
  int menuEntry;
  int treeEntry;
};
// The 23 rows in Edit-menu order.
const std::vector<EditorListRow>& EditorList();

// The editor kind a command opens; Extended Function depends on the model
// kind (option board on portables). None for commands that open no editor.
EditorKind EditorKindOfCommand(int command, bool portableModel);

// Help context of F1 on a menu command, 0 when it has none.
int HelpContextOfCommand(int command);

// Text entry labelling a menu command, 0 when it has none.
int MenuEntryOfCommand(int command);

}  // namespace vb420
