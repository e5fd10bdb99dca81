// SPDX-License-Identifier: GPL-3.0-or-later
// The File commands on the programming: New, Open, Save, Save As and the
// question whether to save the changes first.
#pragma once

#include <QString>
#include <string>

#include "data/DataFile.h"
#include "frame/ui/FileCommandHost.h"

class QWidget;

namespace vb420 {

class Workspace;
class MessageHelper;
class HelpSystem;

class FileCommands {
 public:
  enum SaveType { kDat = 0, kSdt = 1 };

  FileCommands(Workspace& ws, MessageHelper& msg, HelpSystem* help, FileCommandHost& host)
      : ws_(ws), msg_(msg), help_(help), host_(host) {}

  // Each returns true when it did its work.
  bool New();
  bool Open();
  bool Save();
  bool SaveAs();
  bool SaveAsType(int type);
  // True when the caller may go on (saved, or the user said No).
  bool AskToSave();

  // Loads a chosen file and, on success, makes it the programming. Returns
  // the data-file result code.
  DataFileResult OpenFile(const QString& path);

  // `folder` + `name`, with a separator between when needed.
  static std::string JoinPath(const std::string& folder, const std::string& name);

 private:
  bool WriteDat(const std::string& path);

  Workspace& ws_;
  MessageHelper& msg_;
  HelpSystem* help_;
  FileCommandHost& host_;
};

}  // namespace vb420
