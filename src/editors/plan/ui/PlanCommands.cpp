// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export and File > Import: the channel plan as ".itm" text; File >
// Export and Import Settings Text: the whole programming as a settings text.
#include <QFileInfo>
#include <string>

#include "data/DataFile.h"
#include "editors/plan/ItmFile.h"
#include "editors/plan/SettingsText.h"
#include "lang/TextNames.h"
#include "editors/plan/ZoneMerge.h"
#include "frame/ui/EditorView.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

constexpr int kFilterImport = 120;
constexpr int kFilterExport = 121;
constexpr int kMsgNotOurs = 281;

// Export and import keep their own folders for the run of the program; each
// starts where every file dialog starts.
struct PlanFolders {
  std::string exportFolder;
  std::string importFolder;
  bool exportUsed = false;
  bool importUsed = false;
};
PlanFolders& Folders() {
  static PlanFolders f;
  return f;
}


// Commits what is being typed and asks where to export; empty when the user
// chose nothing. The folder is remembered by the caller once the file is
// written.
std::string ChooseExportFile(EditorContext& ctx, const QString& initialName, const QString& filter, const char* suffix) {
  ctx.frame.CommitPendingEdits();
  PlanFolders& f = Folders();
  if (!f.exportUsed) f.exportFolder = ctx.ws.lastFilePath;
  FileDialogRequest r;
  r.folder = QString::fromStdString(f.exportFolder);
  r.initialName = initialName;
  r.filter = filter;
  r.defaultSuffix = QLatin1String(suffix);
  const QString chosen = ctx.msg.Prompter().SaveFileName(ctx.frame.MainWindow(), r);
  return chosen.isEmpty() ? std::string() : WithExtension(chosen.toStdString(), suffix);
}

void ExportDone(const std::string& path) {
  Folders().exportFolder = FolderOf(path);
  Folders().exportUsed = true;
}

void RunExport(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  const std::string path = ChooseExportFile(ctx, QString::fromStdString(ws.itmName),
                                            QStringLiteral("%1 (*.itm)").arg(msg.T(kFilterExport)), "itm");
  if (path.empty()) return;
  const ExportStatus st = ExportItmFile(path, ws.data, ws.text);
  if (!st.ok()) {
    msg.Error(QString::fromStdString(DataFileMessage(st.file, FileAction::Save, ws.text)));
    return;
  }
  ws.itmName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  ExportDone(path);
}

// Asks to save the changes, then for the file to import (only a name that
// ends in `suffix` is read) and reads it; false when the user stopped, chose
// nothing, or the file could not be read (the message shown).
bool ChooseImportFile(EditorContext& ctx, const QString& filter, const char* suffix, std::string& file) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  if (!ctx.frame.AskToSaveChanges()) return false;
  PlanFolders& f = Folders();
  if (!f.importUsed) f.importFolder = ws.lastFilePath;
  FileDialogRequest r;
  r.folder = QString::fromStdString(f.importFolder);
  r.filter = filter;
  const QString chosen = msg.Prompter().OpenFileName(ctx.frame.MainWindow(), r);
  if (chosen.isEmpty() || QFileInfo(chosen).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) != 0)
    return false;
  const std::string path = chosen.toStdString();
  int err = 0;
  if (!ReadWholeFile(path, file, err)) {
    FileStatus st;
    st.result = kFileCannotOpen;
    st.sysError = err;
    st.path = path;
    msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Load, ws.text)));
    return false;
  }
  f.importFolder = FolderOf(path);
  f.importUsed = true;
  return true;
}

void RunImport(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  std::string file;
  // Only a plan file is read.
  if (!ChooseImportFile(ctx, QStringLiteral("%1 (*.itm)").arg(msg.T(kFilterImport)), "itm", file)) return;
  const ItmHeader h = ReadItmHeader(file, ws.data, ws.text);
  if (!h.accepted) {
    msg.Error(msg.T(kMsgNotOurs));
    return;
  }
  if (h.Mismatch() && msg.Warning(QString::fromStdString(ItmMismatchWarning(h, ws.text)), kMsgOkCancel,
                                  MessageHelper::kWarningCaption, nullptr, kIdCancel) != kIdOk)
    return;
  // The windows go first: none of them shows a record while it is replaced.
  ctx.frame.CloseAllEditors();
  ItmImportSummary summary;
  ApplyItmRecords(file, h, ws.data, ws.text, summary);
  // No snapshot: the imported plan is a change that still wants saving.
  ctx.frame.ImageReplaced();
  const QString report = QString::fromStdString(ItmSummaryText(summary, ws.text));
  // A plan of which nothing could be applied left the programming as it was,
  // one that lost records is incomplete: a warning, not the notice of a
  // finished import.
  if (summary.NothingApplied() || summary.SomeSkipped()) msg.Warning(report);
  else msg.Notice(report);
}

// The settings text is written and read in English whatever language the
// program shows, so that a listing does not change with the user.
struct EnglishTexts {
  explicit EnglishTexts(TextTable& shown) : table(&shown) {
    if (!shown.Path().empty() && own.LoadFile(shown.Path(), "English") == TextTable::LoadResult::Ok) table = &own;
  }
  TextTable own;
  TextTable* table;
};

void RunExportSettingsText(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  const QString base = QFileInfo(QString::fromStdString(ws.datName)).completeBaseName();
  const std::string path = ChooseExportFile(ctx, (base.isEmpty() ? QStringLiteral("vb420") : base) + QStringLiteral(".txt"),
                                            msg.T(text::kSettingsTextTxt), "txt");
  if (path.empty()) return;
  EnglishTexts english(ws.text);
  const std::string listing = settingstext::BuildListing(ws.data, *english.table);
  const FileStatus st = WriteFileAtomically(path, listing.data(), listing.size());
  if (!st.ok()) {
    msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Save, ws.text)));
    return;
  }
  ExportDone(path);
}

// The refused lines in one message: the first 25, then how many more.
QString RefusedMessage(const settingstext::ApplyReport& r, MessageHelper& msg, TextTable& text) {
  constexpr size_t kShown = 25;
  QString m = msg.T(text::kNothingWasImportedThese);
  for (size_t i = 0; i < r.refused.size() && i < kShown; ++i)
    m += QLatin1Char('\n') + QString::fromStdString(settingstext::RefusedLineText(r.refused[i], text));
  if (r.refused.size() > kShown) m += QStringLiteral("\n(+%1)").arg(r.refused.size() - kShown);
  return m;
}

void RunImportSettingsText(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  std::string file;
  if (!ChooseImportFile(ctx, msg.T(text::kSettingsTextTxt), "txt", file)) return;
  // Applied to a copy first: the windows close only for a text that goes in
  // whole, and a refused one leaves everything as it was.
  EnglishTexts english(ws.text);
  const settingstext::ApplyReport check = [&] {
    RadioData trial(english.table);
    trial.votingSwitch = ws.data.votingSwitch;
    trial.Image().write(0, ws.data.buffers.ImageBytes().data(), kImageSize);
    trial.Ext().write(0, ws.data.buffers.ExtBytes().data(), kExtSize);
    trial.SyncCodecs();
    return settingstext::ApplyListing(file, trial, *english.table, {});
  }();
  if (check.result == settingstext::ApplyResult::OtherModel) {
    msg.Error(QString::fromStdString(settingstext::OtherModelText(check, ws.text)));
    return;
  }
  if (check.result != settingstext::ApplyResult::Ok) {
    msg.Warning(RefusedMessage(check, msg, ws.text));
    return;
  }
  // The windows go first: none of them shows a record while it is replaced.
  ctx.frame.CloseAllEditors();
  (void)settingstext::ApplyListing(file, ws.data, *english.table, {});
  // No snapshot: the text is a change that still wants saving, and one step
  // Undo takes back.
  ctx.frame.ImageReplaced();
}

}  // namespace


void RegisterPlanCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdFileExport, [](EditorContext& ctx) { RunExport(ctx); });
  reg.RegisterCommand(kCmdFileImport, [](EditorContext& ctx) { RunImport(ctx); });
  reg.RegisterCommand(kCmdFileExportSettingsText, [](EditorContext& ctx) { RunExportSettingsText(ctx); });
  reg.RegisterCommand(kCmdFileImportSettingsText, [](EditorContext& ctx) { RunImportSettingsText(ctx); });
}

}  // namespace vb420
