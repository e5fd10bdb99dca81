// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export and File > Import: the channel plan as ".itm" text.
#include <QFileInfo>
#include <string>

#include "data/DataFile.h"
#include "editors/plan/ItmFile.h"
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

bool HasItmExtension(const QString& path) { return QFileInfo(path).suffix().compare(QLatin1String("itm"), Qt::CaseInsensitive) == 0; }

void RunExport(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  ctx.frame.CommitPendingEdits();
  PlanFolders& f = Folders();
  if (!f.exportUsed) f.exportFolder = ws.lastFilePath;
  FileDialogRequest r;
  r.folder = QString::fromStdString(f.exportFolder);
  r.initialName = QString::fromStdString(ws.itmName);
  r.filter = QStringLiteral("%1 (*.itm)").arg(msg.T(kFilterExport));
  r.defaultSuffix = QStringLiteral("itm");
  const QString chosen = msg.Prompter().SaveFileName(ctx.frame.MainWindow(), r);
  if (chosen.isEmpty()) return;
  const std::string path = WithExtension(chosen.toStdString(), "itm");
  const ExportStatus st = ExportItmFile(path, ws.data, ws.text);
  if (!st.ok()) {
    msg.Error(QString::fromStdString(DataFileMessage(st.file, FileAction::Save, ws.text)));
    return;
  }
  ws.itmName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  f.exportFolder = FolderOf(path);
  f.exportUsed = true;
}

void RunImport(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  MessageHelper& msg = ctx.msg;
  if (!ctx.frame.AskToSaveChanges()) return;
  PlanFolders& f = Folders();
  if (!f.importUsed) f.importFolder = ws.lastFilePath;
  FileDialogRequest r;
  r.folder = QString::fromStdString(f.importFolder);
  r.filter = QStringLiteral("%1 (*.itm)").arg(msg.T(kFilterImport));
  const QString chosen = msg.Prompter().OpenFileName(ctx.frame.MainWindow(), r);
  // Only a plan file is read.
  if (chosen.isEmpty() || !HasItmExtension(chosen)) return;
  const std::string path = chosen.toStdString();
  std::string file;
  int err = 0;
  if (!ReadWholeFile(path, file, err)) {
    FileStatus st;
    st.result = kFileCannotOpen;
    st.sysError = err;
    st.path = path;
    msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Load, ws.text)));
    return;
  }
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
  f.importFolder = FolderOf(path);
  f.importUsed = true;
  // No snapshot: the imported plan is a change that still wants saving.
  ctx.frame.ImageReplaced();
  const QString report = QString::fromStdString(ItmSummaryText(summary, ws.text));
  // A plan of which nothing could be applied left the programming as it was,
  // one that lost records is incomplete: a warning, not the notice of a
  // finished import.
  if (summary.NothingApplied() || summary.SomeSkipped()) msg.Warning(report);
  else msg.Notice(report);
}

}  // namespace


void RegisterPlanCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdFileExport, [](EditorContext& ctx) { RunExport(ctx); });
  reg.RegisterCommand(kCmdFileImport, [](EditorContext& ctx) { RunImport(ctx); });
}

}  // namespace vb420
