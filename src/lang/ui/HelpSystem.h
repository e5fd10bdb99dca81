// SPDX-License-Identifier: GPL-3.0-or-later
// Help: HTML pages per language, one per help context, shown in a help window.
// The language's help book "vb420En.chm" is the folder help/en/ in one of the
// resource folders (ResourceDirs: beside the program, ../share/vb420, the XDG
// data folders); context 0 is index.html, any other context its hexadecimal
// number in lower case, e.g. 0x20000 -> 20000.html, 0x1A000 -> 1a000.html.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QWidget;
class QTextBrowser;

namespace vb420 {

class HelpSystem : public QObject {
  Q_OBJECT
 public:
  // `resourceDirs`: folders that may hold "help/<lang>/".
  explicit HelpSystem(std::vector<QString> resourceDirs, QObject* parent = nullptr);
  ~HelpSystem() override;

  // The help book of the current language ("vb420En.chm").
  void SetHelpFile(const std::string& helpFile);
  QString HelpFolder() const;  // the folder of the book, empty when absent
  // The page of a context; an unknown context falls back to the contents.
  // Empty when the book is absent (help then shows nothing).
  QString PageFor(int context) const;

  // Cancels modes (pop-up menus, mouse capture) and shows the page, in front
  // of everything: from within a modal dialog the help window belongs to the
  // dialog, so that it stands above it and takes input (every dialog's Help
  // and F1 come here).
  bool Show(QWidget* from, int context);
  void CloseAll();
  // The open help window's browser, or null.
  QTextBrowser* Browser() const;
  QWidget* Window() const;

  static QString PageName(int context);
  // The <title> of a page file; empty when it has none or cannot be read.
  static QString PageTitle(const QString& page);
  static QString FolderNameOf(const std::string& helpFile);

 private:
  std::vector<QString> dirs_;
  std::string helpFile_;
  QPointer<QWidget> window_;
  QTextBrowser* browser_ = nullptr;
};

// F1 on `widget` or any of its children shows the context `context()` gives.
void InstallHelpKey(QWidget* widget, HelpSystem& help, std::function<int()> context);

}  // namespace vb420
