// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's undo wiring, recent files, dropped files and the
// compare commands' menu items: kept apart from the menu tables so that
// each stays short.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/MainFrame.h"
#include "app/TreeBar.h"
#include "app/UndoController.h"
#include "editors/compare/ui/CompareWindow.h"
#include "frame/ui/AppSettings.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

namespace {
constexpr int kRecentFilesEntry = 1178;
constexpr int kRecentMissingEntry = 1187;
constexpr int kMaxRecent = 8;

bool IsDataFile(const QString& path) {
  return path.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive) ||
         path.endsWith(QStringLiteral(".sdt"), Qt::CaseInsensitive);
}
}  // namespace

void CMainFrame::CreateExtras() {
  CUndoController::Hooks hooks;
  hooks.modelRestored = [this] { ModelRestored(); };
  hooks.activeTitle = [this] {
    auto* child = qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
    return child ? MenuLabel(child->windowTitle()) : QString();
  };
  undo_ = new CUndoController(ws_, msg_, *this, std::move(hooks), this);
  addAction(undo_->UndoAction());
  addAction(undo_->RedoAction());
  for (int c : {kCmdCompareWith, kCmdCompareRadio}) {
    auto* a = new QAction(this);
    a->setData(c);
    connect(a, &QAction::triggered, this, [this, c] { RunCommand(c); });
    actions_[c] = a;
  }
  setAcceptDrops(true);
}

int CMainFrame::ExtraHelpContext(int command) {
  switch (command) {
    case kCmdUndo:
    case kCmdRedo: return kHelpUndo;
    case kCmdCompareWith:
    case kCmdCompareRadio: return kHelpCompare;
    default: return 0;
  }
}

void CMainFrame::ModelRestored() {
  // The windows were made for the other model: they close, and the menus,
  // caption and tree follow the model the programming has again.
  CloseAllEditors();
  RebuildMenus(false);
  UpdateCaption();
  if (tree_->isVisible()) tree_->Rebuild();
  OpenEditor(EditorKind::ZoneInfo);
}

QStringList CMainFrame::RecentFiles() const { return settings_.RecentFiles(); }

void CMainFrame::FillRecentMenu(QMenu* file) {
  actions_[kCmdCompareWith]->setText(msg_.T(kCompareWithEntry));
  actions_[kCmdCompareRadio]->setText(msg_.T(kCompareRadioEntry));
  undo_->UpdateActions();
  QMenu* recent = file->addMenu(msg_.T(kRecentFilesEntry));
  recent->setObjectName("recentMenu");
  const QStringList files = RecentFiles();
  int n = 1;
  for (const QString& path : files) {
    QAction* a = recent->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QFileInfo(path).fileName()));
    a->setToolTip(path);
    a->setStatusTip(path);
    connect(a, &QAction::triggered, this, [this, path] { OpenPath(path); });
  }
  recent->setEnabled(!files.isEmpty());
  file->addSeparator();
}

void CMainFrame::NoteRecent(const QString& path) {
  if (path.isEmpty()) return;
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(full);
  files.prepend(full);
  while (files.size() > kMaxRecent) files.removeLast();
  settings_.SetRecentFiles(files);
  RebuildMenus(!Children().empty());
}

bool CMainFrame::OpenPath(const QString& path) {
  if (!QFileInfo::exists(path)) {
    QStringList files = RecentFiles();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) + files.removeAll(path) > 0) {
      settings_.SetRecentFiles(files);
      RebuildMenus(!Children().empty());
    }
    msg_.Warning(msg_.T(kRecentMissingEntry).replace(QStringLiteral("%s"), path));
    return false;
  }
  const int outer = runningCommand_;
  runningCommand_ = kCmdFileOpen;
  bool ok = files_.AskToSave() && files_.OpenFile(path) == kFileOk;
  runningCommand_ = outer;
  if (ok) NoteRecent(path);
  return ok;
}

void CMainFrame::RunFileCommand(int command) {
  const std::string dat = ws_.datName, sdt = ws_.sdtName, folder = ws_.lastFilePath;
  bool ok = false;
  switch (command) {
    case kCmdFileNew: files_.New(); return;
    case kCmdFileOpen: ok = files_.Open(); break;
    case kCmdFileSave: ok = files_.Save(); break;
    case kCmdFileSaveAs: ok = files_.SaveAs(); break;
    default: return;
  }
  if (!ok) return;
  // The file just opened or saved: the name that changed, else the data file.
  const bool sdtFile = ws_.sdtName != sdt && ws_.datName == dat;
  NoteRecent(QString::fromStdString(FileCommands::JoinPath(ws_.lastFilePath, sdtFile ? ws_.sdtName : ws_.datName)));
  (void)folder;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  const auto urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile() && IsDataFile(urls.front().toLocalFile()))
    event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const auto urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  const QString path = urls.front().toLocalFile();
  if (!IsDataFile(path)) return;
  event->acceptProposedAction();
  // Opened once the drop is over, so that the source is not kept waiting by
  // the save question.
  QTimer::singleShot(0, this, [this, path] { OpenPath(path); });
}

}  // namespace vb420
