// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/FitCombo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <cmath>

namespace vb420 {

namespace {

// Widths of item texts by font: the boxes of a form hold the same lists
// (a key function list under every key), and shaping each text again for
// every box was most of the time a form took to open.
int TextWidth(const QFontMetrics& fm, const QString& fontKey, const QString& text) {
  static QHash<QString, QHash<QString, int>> widths;
  QHash<QString, int>& forFont = widths[fontKey];
  const auto found = forFont.constFind(text);
  if (found != forFont.cend()) return *found;
  const int w = fm.boundingRect(text).width();
  forFont.insert(text, w);
  return w;
}

}  // namespace

CFitCombo::CFitCombo(QWidget* parent) : QComboBox(parent) {
  // The width follows the items: any change to the list measures again.
  QAbstractItemModel* m = model();
  connect(m, &QAbstractItemModel::rowsInserted, this, [this] { Invalidate(); });
  connect(m, &QAbstractItemModel::rowsRemoved, this, [this] { Invalidate(); });
  connect(m, &QAbstractItemModel::dataChanged, this, [this] { Invalidate(); });
  connect(m, &QAbstractItemModel::modelReset, this, [this] { Invalidate(); });
  connect(m, &QAbstractItemModel::layoutChanged, this, [this] { Invalidate(); });
}

void CFitCombo::SetEditor(QLineEdit* edit) { setLineEdit(edit); }

void CFitCombo::Invalidate() {
  hint_ = QSize();
  updateGeometry();
}

QSize CFitCombo::sizeHint() const {
  if (hint_.isValid()) return hint_;
  // Measured as Qt measures a box that adjusts to its contents: the widest
  // item (with its icon), the placeholder, one line of the font, and the
  // style's frame and arrow around that.
  const QFontMetrics& fm = fontMetrics();
  const QString fontKey = font().key() + QLatin1Char('@') + QString::number(logicalDpiY());
  QSize text(0, 0);
  bool hasIcon = false;
  const int n = count();
  if (n == 0) {
    text.setWidth(7 * fm.horizontalAdvance(QLatin1Char('x')));
  } else {
    for (int i = 0; i < n; ++i) {
      int w = TextWidth(fm, fontKey, itemText(i));
      if (!itemIcon(i).isNull()) {
        hasIcon = true;
        w += iconSize().width() + 4;
      }
      text.setWidth(std::max(text.width(), w));
    }
  }
  if (!placeholderText().isEmpty()) text.setWidth(std::max(text.width(), fm.boundingRect(placeholderText()).width()));
  text.setHeight(std::max(static_cast<int>(std::ceil(QFontMetricsF(fm).height())), 14) + 2);
  if (hasIcon) text.setHeight(std::max(text.height(), iconSize().height() + 2));
  QStyleOptionComboBox option;
  initStyleOption(&option);
  hint_ = style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this);
  return hint_;
}

void CFitCombo::showPopup() {
  if (!popupPrepared_) {
    popupPrepared_ = true;
    // What setEditable(true) sets up in the pop-up of a typed-into box.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (isEditable() && style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
      view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  QComboBox::showPopup();
}

void CFitCombo::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange: hint_ = QSize(); break;
    default: break;
  }
  QComboBox::changeEvent(event);
}

}  // namespace vb420
