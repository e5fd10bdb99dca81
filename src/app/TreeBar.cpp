// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "app/TreeBar.h"
#include "app/ToolIcons.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeWidget>

#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "lang/TextTable.h"

namespace vb420 {

CTreeBar::CTreeBar(TextTable& text, RadioData& data, QWidget* parent)
    : QDockWidget(parent), text_(text), data_(data) {
  setObjectName("treeBar");
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setIconSize(QSize(16, 16));
  tree_->setRootIsDecorated(true);
  tree_->installEventFilter(this);
  setWidget(tree_);
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) { Run(item); });
  Rebuild();
}

void CTreeBar::Rebuild() {
  setWindowTitle(QString::fromStdString(text_.Text(239)));
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_);
  root->setText(0, QString::fromStdString(data_.model.DisplayName(text_)));
  root->setIcon(0, ToolIcon(ToolPicture::Radio));
  root->setData(0, Qt::UserRole, 0);
  const QIcon windowIcon = ToolIcon(ToolPicture::Window);
  for (const EditorListRow& row : EditorList()) {
    if (row.command == 0) continue;
    auto* item = new QTreeWidgetItem(root);
    item->setText(0, MenuLabel(QString::fromStdString(text_.Text(row.treeEntry))));
    item->setIcon(0, windowIcon);
    item->setData(0, Qt::UserRole, row.command);
  }
  root->setExpanded(true);
  tree_->setCurrentItem(root);
  // Wide enough for its longest label in this language: a docked bar that
  // cuts its texts is no help.
  const int scroll = tree_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree_);
  tree_->resizeColumnToContents(0);
  tree_->setMinimumWidth(tree_->columnWidth(0) + 2 * tree_->frameWidth() + scroll + 8);
}

void CTreeBar::Run(QTreeWidgetItem* item) {
  if (!item) return;
  const int command = item->data(0, Qt::UserRole).toInt();
  if (command != 0) Q_EMIT RunCommand(command);
}

bool CTreeBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: Run(tree_->currentItem()); return true;
      case Qt::Key_Escape: Q_EMIT ToggleRequested(); return true;
      case Qt::Key_F1: Q_EMIT HelpRequested(); return true;
      default: break;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

void CTreeBar::closeEvent(QCloseEvent* event) {
  // The close button is the Tree View command, which keeps the menu check in step.
  event->ignore();
  Q_EMIT ToggleRequested();
}

}  // namespace vb420
