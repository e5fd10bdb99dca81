// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStackedWidget>
#include <QWidget>

namespace vb420 {

QString WithoutAccessKeys(const QString& text) {
  // One pass, no regular expression: every menu, title and label of a
  // window comes through here as the window opens.
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == u'&') {
      if (i + 1 < text.size() && text.at(i + 1) == u'&') {
        out.append(c);
        ++i;
      }
      continue;
    }
    out.append(c);
  }
  return out;
}

namespace {

QString Stripped(const QString& label) {
  // "&Zone:" is announced as "Zone".
  QString text = WithoutAccessKeys(label).simplified();
  while (text.endsWith(u':')) text.chop(1);
  return text.trimmed();
}

QString NameOf(QWidget* w) {
  if (!w->accessibleName().isEmpty()) return w->accessibleName();
  if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w)) return i->text(QAccessible::Name);
  return {};
}

bool IsControl(QWidget* w) {
  if (qobject_cast<QLabel*>(w) || w->isWindow()) return false;
  if (w->focusPolicy() == Qt::NoFocus) return false;
  // The parts of a compound control are announced through it.
  QWidget* p = w->parentWidget();
  if (p && (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractItemView*>(p))) return false;
  if (qobject_cast<QLineEdit*>(w) && p && p->inherits("QAbstractSpinBox")) return false;
  return true;
}

// Finds where `w` sits in `layout` (recursively): the layout that holds it
// and its index there.
bool Locate(QLayout* layout, QWidget* w, QLayout*& holder, int& index) {
  if (!layout) return false;
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (item->widget() == w) {
      holder = layout;
      index = i;
      return true;
    }
    if (item->layout() && Locate(item->layout(), w, holder, index)) return true;
  }
  return false;
}

// Whether a layout cell holds a control: the control itself or a box of one.
bool ControlCell(QWidget* w) {
  if (!w) return false;
  if (w->focusPolicy() != Qt::NoFocus) return true;
  for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c->focusPolicy() != Qt::NoFocus) return true;
  return false;
}

QLabel* LabelInLayout(QLayout* holder, int index, QWidget* w) {
  if (auto* form = qobject_cast<QFormLayout*>(holder)) return qobject_cast<QLabel*>(form->labelForField(w));
  if (auto* grid = qobject_cast<QGridLayout*>(holder)) {
    int row, col, rs, cs;
    grid->getItemPosition(index, &row, &col, &rs, &cs);
    // The nearest label to the left in its row, else the nearest one above
    // in its column (a heading).
    for (int c = col - 1; c >= 0; --c)
      if (QLayoutItem* item = grid->itemAtPosition(row, c)) {
        if (auto* l = qobject_cast<QLabel*>(item->widget()); l && !l->text().isEmpty()) return l;
        if (ControlCell(item->widget())) break;
      }
    for (int r = row - 1; r >= 0; --r)
      if (QLayoutItem* item = grid->itemAtPosition(r, col))
        if (auto* l = qobject_cast<QLabel*>(item->widget()); l && !l->text().isEmpty()) return l;
    return nullptr;
  }
  // In a row or a column: the nearest label before it, with no other
  // control between them.
  for (int i = index - 1; i >= 0; --i) {
    QWidget* before = holder->itemAt(i)->widget();
    if (!before) continue;
    if (auto* l = qobject_cast<QLabel*>(before)) return l->text().isEmpty() ? nullptr : l;
    if (ControlCell(before)) return nullptr;
  }
  return nullptr;
}

QLabel* LabelBeside(QWidget* w);

// A box made of a control and its helpers (an edit and its spin arrows) is
// labelled as one: by the label beside the box.
QLabel* LabelBesideBox(QWidget* w) {
  QWidget* box = w->parentWidget();
  if (!box || box->isWindow() || !box->layout() || qobject_cast<QLabel*>(box)) return nullptr;
  int controls = 0;
  for (QWidget* c : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c->focusPolicy() != Qt::NoFocus) ++controls;
  if (controls != 1 || box->layout()->indexOf(w) != 0) return nullptr;
  return LabelBeside(box);
}

QLabel* LabelBeside(QWidget* w) {
  QWidget* parent = w->parentWidget();
  if (!parent) return nullptr;
  QLayout* holder = nullptr;
  int index = -1;
  if (!Locate(parent->layout(), w, holder, index)) return nullptr;
  if (QLabel* l = LabelInLayout(holder, index, w)) return l;
  return LabelBesideBox(w);
}

QString TitleAround(QWidget* w, bool orWindow) {
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (auto* g = qobject_cast<QGroupBox*>(p); g && !g->title().isEmpty()) return Stripped(g->title());
    if (p->isWindow() || qobject_cast<QMdiSubWindow*>(p)) {
      if (!orWindow) return {};
      QString title = p->windowTitle();
      title.remove(QStringLiteral("[*]"));
      return title.trimmed();
    }
  }
  return {};
}

void NameOne(QWidget* w) {
  // A list box announces its current item when it has no name: that is no
  // label, the one beside it is.
  if (!w->accessibleName().isEmpty() || (!qobject_cast<QComboBox*>(w) && !NameOf(w).isEmpty())) return;
  if (QLabel* label = LabelBeside(w)) {
    if (!label->buddy()) label->setBuddy(w);
    // A heading over several controls is the buddy of one of them only.
    if (label->buddy() != w || NameOf(w).isEmpty() || qobject_cast<QComboBox*>(w))
      w->setAccessibleName(Stripped(label->text()));
    return;
  }
  QString name = Stripped(w->toolTip());
  if (name.isEmpty())
    if (auto* e = qobject_cast<QLineEdit*>(w)) name = Stripped(e->placeholderText());
  // Last, the title of the group it sits in, else of its window.
  if (name.isEmpty()) name = TitleAround(w, true);
  if (!name.isEmpty()) w->setAccessibleName(name);
}

class NamingFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w) || qobject_cast<QStackedWidget*>(w->parentWidget()))
        NameControls(w);
    }
    return false;
  }
};

}  // namespace

void NameControls(QWidget* root) {
  if (!root) return;
  for (QWidget* w : root->findChildren<QWidget*>())
    if (IsControl(w)) NameOne(w);
}

QList<QWidget*> UnnamedControls(QWidget* root) {
  QList<QWidget*> out;
  if (!root) return out;
  for (QWidget* w : root->findChildren<QWidget*>())
    if (IsControl(w) && w->isVisibleTo(root) && NameOf(w).isEmpty()) out << w;
  return out;
}

void InstallAccessibleNaming(QObject* application) {
  static QPointer<NamingFilter> filter;
  if (filter || !application) return;
  filter = new NamingFilter(application);
  application->installEventFilter(filter);
}

}  // namespace vb420
