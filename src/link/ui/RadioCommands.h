// SPDX-License-Identifier: GPL-3.0-or-later
// The radio commands of the main window: Read, Write, Radio Information and
// Communication Port. They register themselves with the editor registry; the
// functions are public so that tests can run them with their own answers.
#pragma once

#include "frame/ui/Workspace.h"

#include <string>

namespace vb420 {

struct EditorContext;
class Prompter;
class RadioLink;

// The program's one radio link, pointed at the device of the current port.
RadioLink& ProgramRadioLink(Workspace& ws);

// What the main window remembers between radio commands for the rest of the
// run.
struct RadioCommandState {
  bool adjustTime = true;
  // The Write dialog's safety boxes; kept in the settings ("Backup" group,
  // ReadBeforeWrite and VerifyWrite) from one run to the next.
  bool readFirst = false;
  bool verify = true;
  bool warning1Ticked = false;
  bool warning2Ticked = false;
  // Where every successful read is also kept; "" = the user's data folder.
  std::string backupFolder;
  // The path of the last backup written, "" when none.
  std::string lastBackup;
};
RadioCommandState& RadioState();

// `prompter` answers the link's questions; nullptr asks the user.
void RunReadCommand(EditorContext& ctx, Prompter* prompter = nullptr);
void RunWriteCommand(EditorContext& ctx, Prompter* prompter = nullptr);
void RunRadioInfoCommand(EditorContext& ctx, Prompter* prompter = nullptr);
void RunCommPortCommand(EditorContext& ctx);

// The steps that make a successful read the programming: close the editors,
// accept the scratch copy (after keeping a backup of it), normalise, snapshot,
// default file names, menus, caption, Zone Information.
void AcceptReadData(EditorContext& ctx);

}  // namespace vb420
