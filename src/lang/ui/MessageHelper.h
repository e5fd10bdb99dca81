// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes every window uses: error, warning, notice and plain, each
// with its caption from the text table, owned by the given window or by the
// main window.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "lang/ui/UiPrompter.h"

class QWidget;

namespace vb420 {

class TextTable;

class MessageHelper {
 public:
  static constexpr int kErrorCaption = 265;
  static constexpr int kWarningCaption = 266;
  static constexpr int kNoticeCaption = 267;
  // Texts of the message-box buttons.
  static constexpr int kOkButton = 13;
  static constexpr int kCancelButton = 14;
  static constexpr int kYesButton = 372;
  static constexpr int kNoButton = 373;

  MessageHelper(TextTable& text, UiPrompter& prompter) : text_(text), prompter_(prompter) {}

  void SetMainWindow(QWidget* w) { mainWindow_ = w; }
  void SetPrompter(UiPrompter& p) { prompter_ = p; }
  UiPrompter& Prompter() { return prompter_; }
  TextTable& Text() { return text_; }

  // A text entry as a QString.
  QString T(int entry) const;

  int Error(const QString& text, int buttons = kMsgOk, int captionEntry = kErrorCaption, QWidget* owner = nullptr,
            int defaultAnswer = 0);
  int Warning(const QString& text, int buttons = kMsgOk, int captionEntry = kWarningCaption, QWidget* owner = nullptr,
              int defaultAnswer = 0);
  int Notice(const QString& text, int buttons = kMsgOk, int captionEntry = kNoticeCaption, QWidget* owner = nullptr,
             int defaultAnswer = 0);
  // Text entry as text; the caption is another entry or, when none (-1),
  // "VB-420".
  int Plain(int textEntry, int captionEntry = -1, int buttons = kMsgOk, QWidget* owner = nullptr);
  // A box with a literal caption, for the few messages that carry their own.
  int Ask(const QString& text, const QString& caption, MsgIcon icon, int buttons, QWidget* owner = nullptr,
          int defaultAnswer = 0);

  // Set by every box; the main window reads and clears it.
  bool boxShown = false;

 private:
  TextTable& text_;
  std::reference_wrapper<UiPrompter> prompter_;
  QWidget* mainWindow_ = nullptr;
};

}  // namespace vb420

namespace vb420 {
// Fills the "%s" of a text entry with `args` in order; an entry without
// placeholders gets the arguments on lines of their own after it.
QString FillText(const QString& pattern, const QStringList& args);
}  // namespace vb420
