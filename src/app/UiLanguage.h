// SPDX-License-Identifier: GPL-3.0-or-later
// What follows the program's language besides its own texts: Qt's texts
// (file dialogs, standard buttons, context menus of text boxes) and the
// date shown in the status bar.
#pragma once

#include <QLocale>
#include <string>

namespace vb420 {

// The locale that goes with a language of the text table ("English",
// "Spanish"). When the user's own locale speaks that language it is kept
// (with its country's date order); otherwise the language's default.
QLocale UiLocale(const std::string& languageName);

// Loads Qt's own translations for the language (replacing those of the
// previous one). False when the language needs a translation and none was
// found; English needs none.
bool InstallQtTranslations(const std::string& languageName);

// The language of the Qt translations installed now ("es"; empty for none).
QString InstalledQtLanguage();

}  // namespace vb420
