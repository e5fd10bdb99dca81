// SPDX-License-Identifier: GPL-3.0-or-later
// The editor windows: the base class every editor view derives from, what a
// view may ask of the main window, and the registry through which each
// editor plugs its view into the program.
#pragma once

#include <QMdiSubWindow>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "frame/ui/Commands.h"

class QLabel;
class QMenu;

namespace vb420 {

class Workspace;
class MessageHelper;
class HelpSystem;
class CEditorView;
struct ByteChanges;
struct ModelChangeHooks;

// A menu text without its accelerator marks and its shortcut column.
QString MenuLabel(const QString& text);

// What an editor (or a command) may ask of the main window.
class FrameServices {
 public:
  virtual ~FrameServices() = default;
  // Opens the one window of `kind`, or brings the open one to the front.
  virtual CEditorView* OpenEditor(EditorKind kind) = 0;
  virtual CEditorView* FindEditor(EditorKind kind) const = 0;
  // Every open view rereads the image (except `source`, which made the change).
  virtual void RefreshAllEditors(CEditorView* source = nullptr) = 0;
  virtual void CloseAllEditors() = 0;
  // Every open view stores a cell or field still being edited (before a
  // command reads the whole image, such as Write).
  virtual void CommitPendingEdits() {}
  // Runs a command once the current event is done (the tree bar, buttons).
  virtual void PostCommand(int command) = 0;
  // The image was replaced as a whole: menus, caption, Zone Information.
  virtual void ImageReplaced() = 0;
  // Before a command replaces the image: when it holds unsaved changes the
  // user is asked whether to save them (Yes, No, Cancel). False when the
  // command must stop (Cancel, or a save that did not happen).
  virtual bool AskToSaveChanges() { return true; }
  virtual void UpdateCaption() = 0;
  // The status bar's port pane after the port number changed (it also
  // follows by itself within a second).
  virtual void UpdatePortPane() {}
  virtual QWidget* MainWindow() = 0;
};

// Handed to every view and command handler.
struct EditorContext {
  Workspace& ws;
  MessageHelper& msg;
  HelpSystem& help;
  FrameServices& frame;
};

class CEditorView : public QWidget {
  Q_OBJECT
 public:
  CEditorView(EditorContext& ctx, EditorKind kind, QWidget* parent = nullptr);

  EditorKind Kind() const { return kind_; }
  EditorContext& Context() { return ctx_; }

  // Window caption; by default the editor's menu or tree text.
  virtual QString Title() const;
  // Reads the view's area of the image again (after another window changed it).
  virtual void Refresh() {}
  // Whether the view shows any of the bytes another window's store changed
  // (only those views are refreshed); by default every view does, and so
  // does every view when the model record changed.
  virtual bool ShowsBytes(const ByteChanges& changes) const;
  // First fill after the window is made.
  virtual void InitialUpdate() { Refresh(); }
  // Stores a cell or field that is still being edited. False keeps the
  // window open (the value was refused and the user is told why).
  virtual bool CommitPendingEdit() { return true; }
  // Asked when the user closes the window (not when the image is replaced
  // and every window must go). False keeps it open.
  virtual bool QueryClose() { return true; }
  // Help context of F1 in the view.
  virtual int HelpContext() const;

  // The view's own menu (the Channel Function menu of the zone and channel
  // editors). The main window shows it in its menu bar, before the Window
  // menu, while this view's window is the active one, and builds it again
  // after a language change. An empty title means the view has no menu.
  virtual QString MenuTitle() const { return {}; }
  // Adds the view's commands to `menu`; the actions belong to the view, so
  // their shortcuts work whether or not the menu is shown.
  virtual void FillMenu(QMenu* menu) {}
  // Where the window opens in the editor area; (-1, -1) lets the area
  // choose. Its size is the view's size hint.
  virtual QPoint InitialPosition() const { return {-1, -1}; }
  // The control that has the keyboard when the window opens; none: the
  // first control that takes the focus with Tab.
  virtual QWidget* InitialFocus() const { return nullptr; }

 Q_SIGNALS:
  void TitleChanged();

 private:
  EditorContext& ctx_;
  EditorKind kind_;
};

// The window of an editor kind that later work fills in: names the editor
// and says it is not there yet.
class CPendingView : public CEditorView {
  Q_OBJECT
 public:
  CPendingView(EditorContext& ctx, EditorKind kind, int command, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;
  int Command() const { return command_; }

 private:
  int command_;
  QLabel* heading_;
  QLabel* detail_;
};

// The MDI child frame around one view. A close asked for by the user waits
// one turn of the event loop so that a cell editor losing the focus stores
// its value first.
// The width a window (an editor's frame or a dialog) needs to show its whole
// title beside the buttons of its title bar.
int WidthForTitle(const QWidget* window);

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT
 public:
  CChildFrame(CEditorView* view, int key, QWidget* parent = nullptr);
  CEditorView* View() const { return view_; }
  int Key() const { return key_; }
  // Commits the view's pending edit and closes at once; false when the view
  // refused.
  bool CloseNow();
  // Closes even when the view refuses its pending edit (the image is about
  // to be replaced).
  void ForceClose();
  // Wide enough for its view and for its whole title.
  QSize sizeHint() const override;
  bool event(QEvent* event) override;

 Q_SIGNALS:
  void Closed(int key);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CEditorView* view_;
  int key_;
  bool closeNow_ = false;
  bool closePosted_ = false;
};

using EditorFactory = std::function<CEditorView*(EditorContext& ctx, QWidget* parent)>;
using CommandHandler = std::function<void(EditorContext& ctx)>;

// Where the editors and the commands of later parts of the program are
// registered: each part's Register...() function (frame/ui/PartRegistration.h)
// adds its own, all of them called in one order by RegisterAll()
// (app/AppRegistration.h) while the program starts, before the main window
// exists.
class EditorRegistry {
 public:
  static EditorRegistry& Instance();

  void RegisterEditor(EditorKind kind, EditorFactory factory);
  void RegisterCommand(int command, CommandHandler handler);
  // Takes a registration back (the tests use it to see the fallback window).
  void UnregisterEditor(EditorKind kind) { editors_.erase(kind); }
  void UnregisterCommand(int command) { commands_.erase(command); }
  // The zone, channel and key parts of a model change.
  void AddModelChangeHooks(std::function<void(EditorContext&, ModelChangeHooks&)> provider);
  // Recomputes every channel's transmit validity mark after a load.
  void AddChannelMarkRecompute(std::function<void(EditorContext&)> fn);
  // Runs after the image was replaced (clears the editors' copy buffers...).
  void AddImageReplacedHook(std::function<void(EditorContext&)> fn);
  // Runs after the texts were reloaded in another language (windows that
  // outlive the editors, such as the memory viewers, retitle themselves).
  void AddLanguageChangedHook(std::function<void(EditorContext&)> fn);

  const EditorFactory* Editor(EditorKind kind) const;
  const CommandHandler* Command(int command) const;
  void FillModelChangeHooks(EditorContext& ctx, ModelChangeHooks& hooks) const;
  void RecomputeChannelMarks(EditorContext& ctx) const;
  void RunImageReplacedHooks(EditorContext& ctx) const;
  void RunLanguageChangedHooks(EditorContext& ctx) const;

 private:
  std::map<EditorKind, EditorFactory> editors_;
  std::map<int, CommandHandler> commands_;
  std::vector<std::function<void(EditorContext&, ModelChangeHooks&)>> modelHooks_;
  std::vector<std::function<void(EditorContext&)>> markHooks_;
  std::vector<std::function<void(EditorContext&)>> replacedHooks_;
  std::vector<std::function<void(EditorContext&)>> languageHooks_;
};

}  // namespace vb420
