// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: start-up in its fixed order, the settings, and
// what is written back at exit.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "frame/ui/AppSettings.h"
#include "frame/ui/Workspace.h"

namespace vb420 {

class CMainFrame;
class MessageHelper;
class HelpSystem;
class UiPrompter;

struct StartupOptions {
  std::vector<std::string> args;  // command-line arguments after the program name
  std::string programPath;        // the program file; its folder is searched first
  // Folders searched for the language file; empty: ResourceDirs() of the
  // program's folder (beside it, ../share/vb420, the XDG data folders, and
  // the source tree when run from the build tree).
  std::vector<std::string> languageDirs;
  // Folders that may hold help/<lang>/; empty: the same places.
  std::vector<QString> resourceDirs;
  bool splash = true;
  // Message boxes and dialogs; null: the real ones.
  UiPrompter* prompter = nullptr;
};

class CVb420App {
 public:
  explicit CVb420App(StartupOptions options);
  ~CVb420App();

  // Runs start-up; false when the program has to end (nothing is written back).
  bool InitInstance();
  // Writes the settings back when start-up completed.
  void ExitInstance();

  Workspace& Ws() { return ws_; }
  AppSettings& Settings() { return settings_; }
  MessageHelper& Msg() { return *msg_; }
  HelpSystem& Help() { return *help_; }
  CMainFrame* Frame() { return frame_.get(); }
  int ColourDepth() const { return colourDepth_; }
  // True when the stored model bytes were taken over at start-up.
  bool ModelRestored() const { return modelRestored_; }

 private:
  bool LoadLanguage();

  StartupOptions options_;
  Workspace ws_;
  AppSettings settings_;
  std::unique_ptr<UiPrompter> ownPrompter_;
  std::unique_ptr<MessageHelper> msg_;
  std::unique_ptr<HelpSystem> help_;
  std::unique_ptr<CMainFrame> frame_;
  int colourDepth_ = 24;
  bool modelRestored_ = false;
};

}  // namespace vb420
