// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessKeys.h"

#include <QAction>
#include <vector>

namespace vb420 {

namespace {

// Position of the character after the single "&", -1 when none.
int MarkPosition(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return -1;
}

QString WithoutMark(const QString& text) {
  const int at = MarkPosition(text);
  if (at < 0) return text;
  QString s = text;
  s.remove(at - 1, 1);
  return s;
}

// A letter a keyboard of either language reaches with Alt alone.
bool Pickable(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }

}  // namespace

QChar AccessKeyOf(const QString& text) {
  const int at = MarkPosition(text);
  return at < 0 ? QChar() : text[at].toLower();
}

QString WithAccessKey(const QString& text, const QString& used) {
  const QString plain = WithoutMark(text);
  auto freeAt = [&](int i) {
    // "&" itself and the character after a literal "&&" are not letters.
    return Pickable(plain[i]) && !used.contains(plain[i].toLower()) &&
           !(i > 0 && plain[i - 1] == QLatin1Char('&'));
  };
  int pick = -1;
  for (int i = 0; i < plain.size() && pick < 0; ++i) {
    const bool wordStart = i == 0 || !plain[i - 1].isLetterOrNumber();
    if (wordStart && plain[i].isLetter() && freeAt(i)) pick = i;
  }
  for (int i = 0; i < plain.size() && pick < 0; ++i)
    if (plain[i].isLetter() && freeAt(i)) pick = i;
  if (pick < 0) return text;
  QString s = plain;
  s.insert(pick, QLatin1Char('&'));
  return s;
}

void EnsureAccessKeys(const QList<QAction*>& actions, bool fillMissing) {
  std::vector<QAction*> items;
  for (QAction* a : actions)
    if (a && !a->isSeparator() && a->isVisible() && !a->text().isEmpty()) items.push_back(a);
  const bool fill = fillMissing;

  QString used;
  std::vector<QAction*> redo;
  for (QAction* a : items) {
    const QChar key = AccessKeyOf(a->text());
    if (key.isNull()) {
      if (fill) redo.push_back(a);
    } else if (used.contains(key)) {
      redo.push_back(a);
    } else {
      used += key;
    }
  }
  for (QAction* a : redo) {
    const QString text = WithAccessKey(a->text(), used);
    const QChar key = AccessKeyOf(text);
    if (!key.isNull()) used += key;
    if (text != a->text()) a->setText(text);
  }
}

}  // namespace vb420
