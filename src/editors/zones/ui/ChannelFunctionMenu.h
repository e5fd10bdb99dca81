// SPDX-License-Identifier: GPL-3.0-or-later
// The Channel Function menu that Zone Information and the channel editor show
// in the main menu bar while their window is active. Each view owns one set
// of actions with their accelerators; the main window only borrows them for
// its menu, so a key works whether or not the menu is open.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace vb420 {

class MessageHelper;

class CChannelFunctionMenu : public QObject {
  Q_OBJECT
 public:
  // One item: the command, its label (evaluated every time the menu is
  // built or opened, so that it can follow the current zone's class) and
  // its accelerator. Command 0 is a separator.
  struct Item {
    int command;
    std::function<QString()> label;
    QKeySequence key;
  };

  // The actions are added to `owner`, so their accelerators work while the
  // focus is anywhere inside it; `run` carries out a command.
  CChannelFunctionMenu(QWidget* owner, std::vector<Item> items, std::function<void(int)> run);

  // The menu title (the "Channel" text of the language file).
  static QString Title(MessageHelper& msg);
  // Builds the items into a menu of the menu bar.
  void Fill(QMenu* menu);
  // Labels every action again from the text table.
  void Relabel();
  // Shows or hides the actions of `command` (memory-map commands follow the
  // memory-map switch); a hidden action's accelerator does nothing.
  void SetVisible(int command, bool visible);
  void SetEnabled(int command, bool enabled);
  QAction* Action(int command) const;
  // Called before the menu shows (visibility and labels that depend on the
  // view's state).
  void SetAboutToShow(std::function<void()> fn) { aboutToShow_ = std::move(fn); }

 private:
  std::vector<Item> items_;
  std::vector<QAction*> actions_;  // nullptr for separators
  std::function<void()> aboutToShow_;
};

}  // namespace vb420
