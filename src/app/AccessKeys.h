// SPDX-License-Identifier: GPL-3.0-or-later
// Access keys (the underlined letter of a menu item, Alt+letter): every
// item of one menu level needs its own, in every language, whatever the
// texts of the language file give.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

class QAction;

namespace vb420 {

// The access key of a menu text, lower case; a null QChar when it has none.
// "&&" stands for a plain "&".
QChar AccessKeyOf(const QString& text);

// The text with its access-key mark moved to the first letter not in
// `used`, preferring the first letter of a word; unchanged when every
// letter is taken.
QString WithAccessKey(const QString& text, const QString& used);

// Gives the visible items of one menu level distinct access keys: the first
// item keeps a letter, a later one that repeats it gets a free letter. With
// `fillMissing`, items that have no access key get one too.
void EnsureAccessKeys(const QList<QAction*>& actions, bool fillMissing);

}  // namespace vb420
