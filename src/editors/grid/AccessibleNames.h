// SPDX-License-Identifier: GPL-3.0-or-later
// Names for screen readers. A control is announced by its accessible name;
// Qt finds one for buttons (their text) and for controls that are a label's
// buddy. Every other input control gets the text of the label beside it in
// its layout (made the label's buddy when the label has none, so that the
// label's access key reaches it too), or, for a grid or list, the title of
// its group or window.
#pragma once

#include <QList>
#include <QString>

class QObject;
class QWidget;

namespace vb420 {

// A label, menu or button text as it reads: a single "&" marks the access
// key and goes, "&&" stands for a literal "&". Menus, titles and the names
// announced all read their texts through here.
QString WithoutAccessKeys(const QString& text);

// Names the controls under `root` that have no name yet; never renames one.
void NameControls(QWidget* root);

// The controls under `root` that take the keyboard focus and that a screen
// reader would still announce without a name.
QList<QWidget*> UnnamedControls(QWidget* root);

// Runs NameControls on every window, MDI child and tab page as it is first
// shown. Installed once on the application.
void InstallAccessibleNaming(QObject* application);

}  // namespace vb420
