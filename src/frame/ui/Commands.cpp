// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Commands.h"

#include <cstddef>

namespace vb420 {

namespace {

using K = EditorKind;

const std::vector<EditorKindInfo> kKinds = {
    {K::ZoneInfo, "CZnInfoView", "CZnInfoFrm", 71, 0x31000},
    {K::ChannelEdit, "CChEditView", "CChildFrame", 0, kHelpChannelEdit},
    {K::GidEdit, "CGidEditView", "CChildFrame", 0, kHelpGidEdit},
    {K::RepeaterInfo, "CRepInfoView", "CRepInfoChildFrm", 0, kHelpRepeaters},
    {K::PPSysData, "CPPSysDataView", "CChildFrame", 0, kHelpPPSystem},
    {K::PPSearchHold, "CPPSearchHoldView", "CChildFrame", 0, kHelpPPSearchHold},
    {K::PPSeedFreq, "CPPSeedFreqView", "CChildFrame", 0, kHelpPPSeedFreq},
    {K::ScanList, "CScanListView", "CChildFrame", 0, 0x34000},
    {K::ConvZoneEdit, "CConvEditView", "CChildFrame", 0, kHelpConvZoneEdit},
    {K::TrunkZoneEdit, "CTrunkEditView", "CChildFrame", 0, kHelpTrunkZoneEdit},
    {K::ZoneMerge, "CZnMergeView", "CZnMergeFrm", 70, 0x3B000},
    {K::Features, "CFeatureView", "CSpecialFrame", 56, 0x32000},
    {K::ExtFunction, "CExtFuncView", "CChildFrame", 73, 0x3A000},
    {K::OptionBoard, "COptBoardView", "CChildFrame", 73, 0x3A000},
    {K::Keys, "CKeyView", "CSpecialFrame", 55, 0x33000},
    {K::KeyImage, "CKeyImageView", "CSpecialFrame", 0, 0x33000},
    {K::AlertTone, "CAlertToneView", "CChildFrame", 72, 0x38000},
    {K::Scan, "CScanView", "CChildFrame", 57, 0x34000},
    {K::Dtmf, "CDtmfView", "CChildFrame", 58, 0x35000},
    {K::TwoTone, "CTwoToneView", "CChildFrame", 59, 0x36000},
    {K::Vantelix, "CVantelixView", "CChildFrame", 60, 0x37000},
    {K::Emergency, "CEmerView", "CChildFrame", 64, 0x39000},
    {K::TestFreq, "CTestFreqView", "CChildFrame", 61, 0x3C000},
    {K::EmbMessage, "CEmbView", "CChildFrame", 62, 0x3D000},
    {K::EmbPassword, "CEmbPassView", "CChildFrame", 63, 0x3E000},
    {K::TechSetting, "CSpecialView", "CChildFrame", 74, 0},
};

const std::vector<EditorListRow> kEditorList = {
    {kCmdZoneInfo, 71, 352},     {0, 0, 0},
    {kCmdFeatures, 56, 340},     {kCmdKeys, 55, 339},
    {kCmdScan, 57, 341},         {0, 0, 0},
    {kCmdDtmf, 58, 355},         {kCmdTwoTone, 59, 351},
    {kCmdVantelix, 60, 354},     {0, 0, 0},
    {kCmdAlertTone, 72, 353},    {kCmdEmergency, 64, 342},
    {kCmdExtFunction, 73, 356},  {0, 0, 0},
    {kCmdZoneMerge, 70, 357},    {0, 0, 0},
    {kCmdTestFreq, 61, 348},     {kCmdEmbMessage, 62, 211},
    {kCmdEmbPassword, 63, 349},  {0, 0, 0},
    {kCmdMobileIdNames, 1211, 1211}, {kCmdSiteInfo, 1212, 1212},
    {kCmdTechSetting, 74, 358},
};

struct CommandRow {
  int command;
  int menuEntry;
  int helpContext;
};

const CommandRow kCommandRows[] = {
    {kCmdFileNew, 42, 0x11000},        {kCmdFileOpen, 43, 0x12000},
    {kCmdFileSave, 44, 0x13000},       {kCmdFileSaveAs, 45, 0x14000},
    {kCmdFileImport, 50, 0x19000},     {kCmdFileExport, 51, 0x1A000},
    {kCmdFilePrint, 46, 0x15000},      {kCmdFilePrintPreview, 47, 0x16000},
    {kCmdFileExit, 49, 0x17000},       {kCmdFileExportSettingsText, 1330, kHelpSettingsText},
    {kCmdFileImportSettingsText, 1331, kHelpSettingsText},       {kCmdModelInfo, 53, 0x20000},
    {kCmdZoneInfo, 71, 0x31000},       {kCmdFeatures, 56, 0x32000},
    {kCmdKeys, 55, 0x33000},           {kCmdScan, 57, 0x34000},
    {kCmdDtmf, 58, 0x35000},           {kCmdTwoTone, 59, 0x36000},
    {kCmdVantelix, 60, 0x37000},       {kCmdAlertTone, 72, 0x38000},
    {kCmdEmergency, 64, 0x39000},      {kCmdExtFunction, 73, 0x3A000},
    {kCmdZoneMerge, 70, 0x3B000},      {kCmdTestFreq, 61, 0x3C000},
    {kCmdEmbMessage, 62, 0x3D000},     {kCmdEmbPassword, 63, 0x3E000},
    {kCmdMobileIdNames, 1211, kHelpPPMobileIds}, {kCmdSiteInfo, 1212, kHelpPPSites},
    {kCmdTechSetting, 74, 0},          {kCmdRead, 76, 0x41000},
    {kCmdWrite, 77, 0x42000},          {kCmdTestMode, 78, 0x43000},
    {kCmdMemoryMap, 79, 0},            {kCmdEeprom, 80, 0},
    {kCmdRadioInfo, 82, 0x51000},      {kCmdCommPort, 89, 0x61000},
    {kCmdLanguage, 90, 0x62000},       {kCmdTreeView, 92, 0x71000},
    {kCmdToolBar, 93, 0x72000},        {kCmdStatusBar, 94, 0x73000},
    {kCmdCascade, 96, 0x81000},        {kCmdTileHorizontal, 97, 0x82000},
    {kCmdTileVertical, 98, 0x83000},   {kCmdArrange, 99, 0x84000},
    {kCmdCloseAll, 100, 0x85000},      {kCmdHelpTopics, 102, 0},
    {kCmdAbout, 103, 0},
};

const CommandRow* RowOf(int command) {
  for (const auto& r : kCommandRows)
    if (r.command == command) return &r;
  return nullptr;
}

}  // namespace

const std::vector<EditorKindInfo>& EditorKinds() { return kKinds; }

const EditorKindInfo* EditorKindInfoOf(EditorKind kind) {
  const int i = static_cast<int>(kind) - 1;
  if (i < 0 || i >= kEditorKindCount) return nullptr;
  return &kKinds[static_cast<size_t>(i)];
}

const std::vector<EditorListRow>& EditorList() { return kEditorList; }

EditorKind EditorKindOfCommand(int command, bool portableModel) {
  switch (command) {
    case kCmdZoneInfo: return K::ZoneInfo;
    case kCmdFeatures: return K::Features;
    case kCmdKeys: return K::Keys;
    case kCmdScan: return K::Scan;
    case kCmdDtmf: return K::Dtmf;
    case kCmdTwoTone: return K::TwoTone;
    case kCmdVantelix: return K::Vantelix;
    case kCmdAlertTone: return K::AlertTone;
    case kCmdEmergency: return K::Emergency;
    case kCmdExtFunction: return portableModel ? K::OptionBoard : K::ExtFunction;
    case kCmdZoneMerge: return K::ZoneMerge;
    case kCmdTestFreq: return K::TestFreq;
    case kCmdEmbMessage: return K::EmbMessage;
    case kCmdEmbPassword: return K::EmbPassword;
    case kCmdTechSetting: return K::TechSetting;
    case kCmdChannelEdit: return K::ChannelEdit;
    case kCmdGidEdit: return K::GidEdit;
    case kCmdRepeater: return K::RepeaterInfo;
    case kCmdConvZoneEdit: return K::ConvZoneEdit;
    case kCmdTrunkZoneEdit: return K::TrunkZoneEdit;
    case kCmdScanList: return K::ScanList;
    case kCmdKeyImage: return K::KeyImage;
    case kCmdPPSysData: return K::PPSysData;
    case kCmdPPSearchHold: return K::PPSearchHold;
    case kCmdPPSeedFreq: return K::PPSeedFreq;
    default: return K::None;
  }
}

int HelpContextOfCommand(int command) {
  const CommandRow* r = RowOf(command);
  return r ? r->helpContext : 0;
}

int MenuEntryOfCommand(int command) {
  const CommandRow* r = RowOf(command);
  return r ? r->menuEntry : 0;
}

}  // namespace vb420
