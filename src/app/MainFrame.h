// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menus, tool bar, status bar, tree bar and the editor
// windows inside its multiple-document area. It turns every command into an
// action and keeps at most one window of each editor kind.
#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <map>
#include <vector>

#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "app/SplashWnd.h"
#include "data/ui/FileCommands.h"

class QMdiArea;
class QLabel;
class QMenu;
class QToolBar;

namespace vb420 {

class Workspace;
class AppSettings;
class MessageHelper;
class HelpSystem;
class CTreeBar;
class CSplashWnd;
class CUndoController;

class CMainFrame : public QMainWindow, public FrameServices, public FileCommandHost {
  Q_OBJECT
 public:
  CMainFrame(Workspace& ws, AppSettings& settings, MessageHelper& msg, HelpSystem& help, int colourDepth,
             bool showSplash);
  ~CMainFrame() override;

  // FrameServices
  CEditorView* OpenEditor(EditorKind kind) override;
  CEditorView* FindEditor(EditorKind kind) const override;
  void RefreshAllEditors(CEditorView* source = nullptr) override;
  void CloseAllEditors() override;
  // Also FileCommandHost's.
  void CommitPendingEdits() override;
  void PostCommand(int command) override;
  void ImageReplaced() override;
  bool AskToSaveChanges() override;
  void UpdateCaption() override;
  QWidget* MainWindow() override { return this; }

  // FileCommandHost
  QWidget* Owner() override { return this; }
  void CaptionChanged() override { UpdateCaption(); }
  void RecomputeChannelMarks() override;

  // Runs a menu, tool-bar or tree-bar command.
  void RunCommand(int command);
  // Menus from the text table; the Window menu only when asked for.
  void RebuildMenus(bool withWindow);
  void UpdatePortPane() override;
  // Applies the stored placement and shows the window (maximised when none).
  void RestorePlacement(const QString& stored);
  // The placement as stored at close.
  QString PlacementText() const;

  // The caption text for the current programming.
  QString CaptionText() const;
  // The caption's unsaved-changes mark, from a comparison with the saved state.
  void UpdateModifiedMark();

  QMdiArea* Mdi() const { return mdi_; }
  QAction* Action(int command) const;
  CTreeBar* TreeBar() const { return tree_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QLabel* PortPane() const { return portPane_; }
  QLabel* DatePane() const { return datePane_; }
  QLabel* TimePane() const { return timePane_; }
  FileCommands& Files() { return files_; }
  EditorContext& Context() { return ctx_; }
  CSplashWnd* Splash() const { return splash_.data(); }
  bool HasWindowMenu() const { return withWindowMenu_; }
  // The active editor's own menu in the menu bar, or none.
  QMenu* ViewMenu() const { return viewMenu_; }
  // The open editor windows, oldest first.
  std::vector<CChildFrame*> Children() const;
  bool ClosingAll() const { return closingAll_; }
  CUndoController* Undo() const { return undo_; }
  // The recent files of the File menu, newest first.
  QStringList RecentFiles() const;
  // Opens a data file as Open does after its dialog (the save question
  // first); a missing file leaves the recent files with a message.
  bool OpenPath(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateActions();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateTreeBar();
  void RelabelActions();
  void UpdateClock();
  QMenu* AddMenu(int entry);
  void AddItems(QMenu* menu, std::initializer_list<int> commands);
  void FillWindowMenu(QMenu* menu);
  CEditorView* MenuView() const;
  void AddViewMenu(QAction* before);
  CEditorView* OpenFrame(int key, CEditorView* view);
  void OpenPending(int command);
  void ChildClosed(int key);
  void ToggleTree();
  void FocusTree();
  void TileWindows(bool horizontal);
  void ArrangeIcons();
  void RunModelInfo();
  void RunLanguageSetup();
  void ShowAbout();
  int ActiveHelpContext() const;
  // Undo, recent files, drop and compare (FileMenuExtras.cpp).
  void CreateExtras();
  void FillRecentMenu(QMenu* menu);
  void NoteRecent(const QString& path);
  void ModelRestored();
  void RunFileCommand(int command);
  static int ExtraHelpContext(int command);

  Workspace& ws_;
  AppSettings& settings_;
  MessageHelper& msg_;
  HelpSystem& help_;
  EditorContext ctx_;
  FileCommands files_;

  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  CTreeBar* tree_ = nullptr;
  QLabel* portPane_ = nullptr;
  QLabel* datePane_ = nullptr;
  QLabel* timePane_ = nullptr;
  QTimer clock_;
  QTimer modifiedTimer_;
  int cascade_ = 0;
  QPoint NextCascadePosition(const QSize& size, const QSize& area);
  QPointer<CSplashWnd> splash_;
  std::map<int, QAction*> actions_;
  std::map<int, QPointer<CChildFrame>> children_;  // by kind, or 1000 + command
  QPointer<QMenu> viewMenu_;
  bool withWindowMenu_ = false;
  bool accessKeysEverywhere_ = false;
  bool closingAll_ = false;
  bool wasMaximized_ = false;
  CUndoController* undo_ = nullptr;
  int runningCommand_ = 0;
  // The image and extension area as the windows last read them.
  std::vector<uint8_t> shownImage_;
  std::vector<uint8_t> shownExt_;
};

}  // namespace vb420
