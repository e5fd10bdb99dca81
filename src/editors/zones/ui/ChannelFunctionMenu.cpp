// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/ChannelFunctionMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "frame/ui/EditorView.h"
#include "lang/ui/MessageHelper.h"

namespace vb420 {

CChannelFunctionMenu::CChannelFunctionMenu(QWidget* owner, std::vector<Item> items, std::function<void(int)> run)
    : QObject(owner), items_(std::move(items)) {
  for (const Item& it : items_) {
    if (!it.command) {
      actions_.push_back(nullptr);
      continue;
    }
    auto* a = new QAction(owner);
    a->setData(it.command);
    a->setShortcut(it.key);
    // Only while the focus is inside this editor: another editor window has
    // its own keys.
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    owner->addAction(a);
    const int cmd = it.command;
    connect(a, &QAction::triggered, owner, [run, cmd] { run(cmd); });
    actions_.push_back(a);
  }
  Relabel();
}

QString CChannelFunctionMenu::Title(MessageHelper& msg) { return MenuLabel(msg.T(376)); }

void CChannelFunctionMenu::Relabel() {
  for (size_t i = 0; i < items_.size(); ++i)
    if (actions_[i] && items_[i].label) actions_[i]->setText(items_[i].label().section(QLatin1Char('\t'), 0, 0));
}

void CChannelFunctionMenu::Fill(QMenu* menu) {
  if (aboutToShow_) aboutToShow_();
  Relabel();
  for (QAction* a : actions_) {
    if (a) menu->addAction(a);
    else menu->addSeparator();
  }
  connect(menu, &QMenu::aboutToShow, this, [this] {
    if (aboutToShow_) aboutToShow_();
    Relabel();
  });
}

QAction* CChannelFunctionMenu::Action(int command) const {
  for (QAction* a : actions_)
    if (a && a->data().toInt() == command) return a;
  return nullptr;
}

void CChannelFunctionMenu::SetVisible(int command, bool visible) {
  if (QAction* a = Action(command)) a->setVisible(visible);
}

void CChannelFunctionMenu::SetEnabled(int command, bool enabled) {
  if (QAction* a = Action(command)) a->setEnabled(enabled);
}

}  // namespace vb420
