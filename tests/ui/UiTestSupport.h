// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the GUI tests: a complete small language file, scripted
// answers for every modal window, and a program started in a temporary
// folder with its own settings.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/ui/Workspace.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "editors/grid/FieldGrid.h"
#include "lang/ui/UiPrompter.h"

namespace vb420::test {

// A language file with every entry: English "E<n>", Spanish "S<n>", except
// the entries given in `overrides` (same text in both columns).
std::string MakeLanguageFile(const std::map<int, std::string>& overrides = {});

// A file's bytes (empty when it cannot be read).
QByteArray FileData(const QString& path);
// The overrides the tests use: the texts with "%s" of the open messages.
std::map<int, std::string> StandardOverrides();

class ScriptedPrompter : public UiPrompter {
 public:
  int Message(QWidget* owner, const MessageRequest& request) override;
  QString OpenFileName(QWidget* owner, const FileDialogRequest& request) override;
  QString SaveFileName(QWidget* owner, const FileDialogRequest& request) override;
  int RunDialog(QDialog& dialog) override;

  // Every message shown, in order.
  std::vector<MessageRequest> messages;
  // Answers for the next messages; when none is queued the first button
  // (OK or Yes) is taken.
  std::deque<int> answers;
  std::deque<QString> openNames;
  std::deque<QString> saveNames;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  // Scripts for the next dialogs: they may set controls and accept or
  // reject; the return value is the dialog's result. Without a script the
  // dialog is rejected.
  std::deque<std::function<int(QDialog&)>> dialogs;
  // When set, every dialog that no script answers is shown to it before it
  // is rejected.
  std::function<void(QDialog&)> inspect;
  QStringList dialogTitles;

  QStringList MessageTexts() const;
  void Clear();
};

// A program started in a temporary folder:
//   <dir>/lang/vb420.lng      the language file
//   <dir>/bin/vb420           the program path (the default data folder)
//   <dir>/config              the settings
class AppFixture {
 public:
  AppFixture();
  ~AppFixture();

  QString Dir() const { return dir_.path(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // Stored settings before start-up ("Backup/ComPort" ...).
  void SetSetting(const QString& key, const QVariant& value);
  QVariant Setting(const QString& key) const;
  bool HasSetting(const QString& key) const;

  // Starts the program; the queued Zone Information command has run when it
  // returns true.
  bool Start(const std::vector<std::string>& args = {}, bool splash = false);
  // Closes the main window as the user would and writes the settings back.
  void Exit();

  CVb420App& App() { return *app_; }
  CMainFrame& Frame() { return *app_->Frame(); }
  Workspace& Ws() { return app_->Ws(); }
  ScriptedPrompter prompter;
  // Written before Start(); empty leaves no language file.
  std::string languageText;
  QByteArray oldHome_;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<CVb420App> app_;
};

// The image and extension area at one moment: a whole programming's state,
// compared before and after an operation and its undo.
struct ImageState {
  std::vector<uint8_t> image, ext;
  bool operator==(const ImageState&) const = default;
};
ImageState Now(Workspace& ws);

// The top-level menu titles, in order.
QStringList MenuTitles(CMainFrame& frame);
// The texts of a top-level menu's items ("-" for a separator).
QStringList MenuItems(CMainFrame& frame, const QString& title);
// Lets queued commands and deferred closes run.
void Settle();

// Runs a menu command as the user would and answers the editor window of
// `kind` it opened (null when none of that class is open).
template <class V>
V* OpenEditor(AppFixture& f, int command, EditorKind kind) {
  f.Frame().RunCommand(command);
  Settle();
  return qobject_cast<V*>(f.Frame().FindEditor(kind));
}

// ---- the script every list grid runs ------------------------------------------
// One list's part in it: how to reach the grid (`with` opens the list,
// calls the function with its grid while the list is open, and closes it),
// the key of a row's record (`prefix(row)`, 1-based: "zone.1.ch.3"), the
// cell the script types into and the texts it types and pastes. Each step
// is done on the grid as the user would and, on a copy of the programming,
// through `forms::SetSetting` (what `vb420cli settings` does): the two
// programmings must hold the same bytes after every step.
struct GridScriptCase {
  const char* name;
  std::function<void(AppFixture&, const std::function<void(CFieldGrid*)>&)> with;
  std::function<std::string(int row)> prefix;
  int row = 1;
  int col = 1;
  QString valid;        // a value the cell takes
  QString outOfRange;   // a number beyond the field's range (brought to the limit, or refused)
  QString letters;      // letters a number cell does not take
  // 3 x 3, tab-separated, pasted at (row + 1, col); cells beyond the
  // grid's last column are left out by the grid as by the script.
  std::function<QString(CFieldGrid*)> block;
  // A modal list (its undo is the Edit menu's, after the list closes).
  bool dialog = false;
};
// Runs: type the valid value, the out-of-range value, the letters; open a
// cell, type and press Escape; paste the block; Delete the cell; Ctrl+Z.
void RunGridScript(AppFixture& app, const GridScriptCase& c);

}  // namespace vb420::test
