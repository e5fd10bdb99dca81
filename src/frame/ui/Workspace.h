// SPDX-License-Identifier: GPL-3.0-or-later
// The single set of objects a running program works on: the text table, the
// programming (buffers, model record, codecs) and the state the application
// keeps beside them. Created once by the application and passed by reference.
#pragma once

#include <string>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "lang/TextTable.h"

namespace vb420 {

// The four start-up switches; set once from the command line.
struct StartSwitches {
  bool voting = false;   // voting page of Scan Information
  bool fineStep = false; // 1250 Hz step tried when encoding frequencies
  bool aqua = false;     // additional zone-merge behaviour
  bool memMap = false;   // memory-map commands of the editors' pop-up menus
};

class Workspace {
 public:
  static constexpr const char* kDefaultDatName = "vb420.dat";
  static constexpr const char* kDefaultSdtName = "vb420.sdt";
  static constexpr const char* kDefaultItmName = "vb420.itm";

  Workspace() : data(&text) {}
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  TextTable text;
  RadioData data;
  StartSwitches switches;

  // Serial port number 1..20 (until the radio link owns it).
  int comPort = 1;
  // Folder every file dialog starts in; ends with a separator when not empty.
  std::string lastFilePath;
  // Names offered by the file dialogs and shown in the caption.
  std::string datName = kDefaultDatName;
  std::string sdtName = kDefaultSdtName;
  std::string itmName = kDefaultItmName;
  // Language asked for (as in the file's language row) and its help book.
  std::string languageName;
  std::string helpFile;
  // Set once the language file is loaded and the image initialised; the
  // settings are written back at exit only when it is set.
  bool started = false;

  void RestoreDefaultFileNames() {
    datName = kDefaultDatName;
    sdtName = kDefaultSdtName;
    itmName = kDefaultItmName;
  }
  // Switch flags into the objects that read them.
  void ApplySwitches() {
    data.votingSwitch = switches.voting;
    data.freq.SetFineStep(switches.fineStep);
  }
};

}  // namespace vb420
