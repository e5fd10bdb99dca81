// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "data/ui/FileCommands.h"

#include <QFileInfo>
#include <cstring>

#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/ui/ModelInfoDlg.h"
#include "editors/zones/ZoneFixups.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {

std::string BaseName(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool HasExtension(const std::string& path, const char* ext) {
  return QString::fromStdString(path).endsWith(QString::fromLatin1(ext), Qt::CaseInsensitive);
}

}  // namespace

std::string FileCommands::JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '/' || last == '\\' || last == ':') return folder + name;
  return folder + "/" + name;
}

bool FileCommands::AskToSave() {
  host_.CommitPendingEdits();
  if (!ws_.data.buffers.Modified()) return true;
  const QString text = QStringLiteral("%1 \"%2\" ?").arg(msg_.T(277), QString::fromStdString(ws_.datName));
  switch (msg_.Ask(text, QStringLiteral("VB-420"), MsgIcon::Question, kMsgYesNoCancel)) {
    case kIdYes:
      // A save that was cancelled or failed must not let the changes be
      // thrown away: the command that asked stops.
      return SaveAsType(kDat);
    case kIdNo: return true;
    default: return false;
  }
}

bool FileCommands::New() {
  if (msg_.Warning(msg_.T(280), kMsgOkCancel) != kIdOk) return false;
  if (!AskToSave()) return false;
  // Editors go first so that nothing they still hold is written into the
  // new image.
  host_.CloseAllEditors();
  ResetToNewImage(ws_.data);
  ws_.RestoreDefaultFileNames();
  host_.ImageReplaced();
  return true;
}

bool FileCommands::Open() {
  if (!AskToSave()) return false;
  FileDialogRequest r;
  r.folder = QString::fromStdString(ws_.lastFilePath);
  r.filter = QStringLiteral("%1 (*.dat *.sdt)").arg(msg_.T(118));
  r.previewTitle = msg_.T(211);
  r.preview = [](const QString& path) {
    const auto texts = ProbeHeader(path.toStdString());
    return std::array<QString, 2>{QString::fromLatin1(texts[0].c_str()), QString::fromLatin1(texts[1].c_str())};
  };
  const QString path = msg_.Prompter().OpenFileName(host_.Owner(), r);
  if (path.isEmpty()) return false;
  return OpenFile(path) == kFileOk;
}

DataFileResult FileCommands::OpenFile(const QString& qpath) {
  const std::string path = qpath.toStdString();
  RadioData& data = ws_.data;
  // Loading fills the scratch copy; it starts as the working image so that a
  // zone-merge file (which carries no image) leaves the image as it is.
  data.buffers.KeepScratch();
  const FileStatus st = LoadDataFile(path, data);
  if (!st.ok()) {
    msg_.Error(QString::fromStdString(DataFileMessage(st, FileAction::Load, ws_.text)));
    return st.result;
  }
  if (HasExtension(path, ".sdt")) ws_.sdtName = BaseName(path);
  else ws_.datName = BaseName(path);
  ws_.lastFilePath = FolderOf(path);

  host_.CloseAllEditors();
  data.buffers.AcceptScratch();
  AdjustOpenedFile(data);
  data.buffers.TakeSnapshot();
  host_.ImageReplaced();
  return kFileOk;
}

bool FileCommands::WriteDat(const std::string& path) {
  const FileStatus st = SaveDatFile(path, ws_.data);
  if (!st.ok()) {
    msg_.Error(QString::fromStdString(DataFileMessage(st, FileAction::Save, ws_.text)));
    return false;
  }
  ws_.data.buffers.TakeSnapshot();
  return true;
}

bool FileCommands::Save() {
  host_.CommitPendingEdits();
  const std::string target = JoinPath(ws_.lastFilePath, ws_.datName);
  if (QFileInfo::exists(QString::fromStdString(target))) {
    const QString text = QStringLiteral("%1\n\n%2 : %3").arg(msg_.T(278), msg_.T(279), QString::fromStdString(target));
    if (msg_.Warning(text, kMsgOkCancel, MessageHelper::kWarningCaption, nullptr, kIdCancel) != kIdOk) return false;
  }
  return WriteDat(target);
}

bool FileCommands::SaveAs() {
  host_.CommitPendingEdits();
  CSaveTypeDlg dlg(msg_.Text(), help_, host_.Owner());
  msg_.Prompter().RunDialog(dlg);
  if (dlg.Choice() < 0) return false;
  return SaveAsType(dlg.Choice());
}

bool FileCommands::SaveAsType(int type) {
  const bool sdt = type == kSdt;
  const char* ext = sdt ? "sdt" : "dat";
  std::string path;
  for (;;) {
    FileDialogRequest r;
    r.folder = QString::fromStdString(ws_.lastFilePath);
    r.initialName = QString::fromStdString(sdt ? ws_.sdtName : ws_.datName);
    r.filter = QStringLiteral("%1 (*.%2)").arg(msg_.T(118), QString::fromLatin1(ext));
    r.defaultSuffix = QString::fromLatin1(ext);
    const QString chosen = msg_.Prompter().SaveFileName(host_.Owner(), r);
    if (chosen.isEmpty()) return false;
    const std::string picked = chosen.toStdString();
    path = WithExtension(picked, ext);
    if (NameTooLong(path)) {
      msg_.Error(msg_.T(293));
      continue;
    }
    // The dialog asked about the name it was given; a name that only now got
    // its extension may still hit an existing file.
    if (path != picked && QFileInfo::exists(QString::fromStdString(path))) {
      const QString text =
          QStringLiteral("%1\n\n%2 : %3").arg(msg_.T(278), msg_.T(279), QString::fromStdString(path));
      if (msg_.Warning(text, kMsgOkCancel, MessageHelper::kWarningCaption, nullptr, kIdCancel) != kIdOk) continue;
    }
    break;
  }
  if (sdt) {
    const FileStatus st = SaveSdtFile(path, ws_.data);
    if (!st.ok()) {
      msg_.Error(QString::fromStdString(DataFileMessage(st, FileAction::Save, ws_.text)));
      return false;
    }
    ws_.sdtName = BaseName(path);
  } else {
    if (!WriteDat(path)) return false;
    ws_.datName = BaseName(path);
  }
  ws_.lastFilePath = FolderOf(path);
  host_.CaptionChanged();
  return true;
}

}  // namespace vb420
