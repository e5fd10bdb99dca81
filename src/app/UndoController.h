// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo for every window, without their help: after every event the
// program has handled, the controller compares the working image and
// extension area with the last committed state and records what changed as
// one step of the edit history. The step is named after the field or record
// that changed (read through the field tables), or the command that ran, or
// the window it was made in. Typing in one field is one step while it goes on.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "data/EditHistory.h"

class QAction;
class QWidget;

namespace vb420 {

class Workspace;
class MessageHelper;
class FrameServices;

// Command numbers of the two Edit-menu items (kept beside the Edit commands).
constexpr int kCmdUndo = 340;
constexpr int kCmdRedo = 341;
// The help page of the two items.
constexpr int kHelpUndo = 0x1C000;

class CUndoController : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    // A restored state whose model bytes differ: the windows of the old
    // model close, menus and caption follow the model again.
    std::function<void()> modelRestored;
    // The window the change was made in (its title names a step that
    // nothing better names).
    std::function<QString()> activeTitle;
  };

  CUndoController(Workspace& ws, MessageHelper& msg, FrameServices& frame, Hooks hooks, QObject* parent = nullptr);
  ~CUndoController() override;

  QAction* UndoAction() const { return undo_; }
  QAction* RedoAction() const { return redo_; }
  EditHistory& History() { return history_; }

  // Another programming arrived (New, Open, Read): the history starts again.
  void Reset();
  // Records a change not yet recorded (every event loop pass does this by itself).
  void CommitNow();
  bool Undo();
  bool Redo();
  // Texts of the two items from the text table and the steps they would take.
  void UpdateActions();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Idle();
  void ScheduleCommit();
  bool Apply(bool undo);
  QString NameStep();
  QString MergeKey() const;

  Workspace& ws_;
  MessageHelper& msg_;
  FrameServices& frame_;
  Hooks hooks_;
  EditHistory history_;
  QAction* undo_;
  QAction* redo_;
  // What the user did last, for naming and merging the next step.
  QString lastCommand_;
  bool typing_ = false;
  bool applying_ = false;
  bool scheduled_ = false;
};

}  // namespace vb420
