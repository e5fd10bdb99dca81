// SPDX-License-Identifier: GPL-3.0-or-later
// The dockable tree bar: the model at the root, one item per editor command
// under it. Enter or a double-click runs the item's command.
#pragma once

#include <QDockWidget>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

namespace vb420 {

class TextTable;
class RadioData;

class CTreeBar : public QDockWidget {
  Q_OBJECT
 public:
  CTreeBar(TextTable& text, RadioData& data, QWidget* parent = nullptr);

  // Title and items from the current text table and model.
  void Rebuild();
  QTreeWidget* Tree() const { return tree_; }

 Q_SIGNALS:
  // An item's command (Enter, double-click).
  void RunCommand(int command);
  // Escape and the close button: the Tree View command.
  void ToggleRequested();
  // F1 and the help button.
  void HelpRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Run(QTreeWidgetItem* item);

  TextTable& text_;
  RadioData& data_;
  QTreeWidget* tree_;
};

}  // namespace vb420
