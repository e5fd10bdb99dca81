// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/ui/MessageHelper.h"

#include "lang/TextTable.h"

namespace vb420 {

QString MessageHelper::T(int entry) const { return QString::fromStdString(text_.Text(entry)); }

int MessageHelper::Ask(const QString& text, const QString& caption, MsgIcon icon, int buttons, QWidget* owner,
                       int defaultAnswer) {
  boxShown = true;
  MessageRequest r;
  r.text = text;
  r.caption = caption;
  r.icon = icon;
  r.buttons = buttons;
  r.defaultAnswer = defaultAnswer;
  r.okText = T(kOkButton);
  r.cancelText = T(kCancelButton);
  r.yesText = T(kYesButton);
  r.noText = T(kNoButton);
  return prompter_.get().Message(owner ? owner : mainWindow_, r);
}

int MessageHelper::Error(const QString& text, int buttons, int captionEntry, QWidget* owner, int defaultAnswer) {
  return Ask(text, T(captionEntry), MsgIcon::Error, buttons, owner, defaultAnswer);
}

int MessageHelper::Warning(const QString& text, int buttons, int captionEntry, QWidget* owner, int defaultAnswer) {
  return Ask(text, T(captionEntry), MsgIcon::Warning, buttons, owner, defaultAnswer);
}

int MessageHelper::Notice(const QString& text, int buttons, int captionEntry, QWidget* owner, int defaultAnswer) {
  return Ask(text, T(captionEntry), MsgIcon::Notice, buttons, owner, defaultAnswer);
}

int MessageHelper::Plain(int textEntry, int captionEntry, int buttons, QWidget* owner) {
  const QString caption = captionEntry < 0 ? QString(TextTable::kMsgCaption) : T(captionEntry);
  return Ask(T(textEntry), caption, MsgIcon::None, buttons, owner);
}

}  // namespace vb420

namespace vb420 {

QString FillText(const QString& pattern, const QStringList& args) {
  QString out;
  int next = 0;
  int i = 0;
  bool anyPlaceholder = false;
  while (i < pattern.size()) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      anyPlaceholder = true;
      if (next < args.size()) out += args[next++];
      i += 2;
    } else {
      out += pattern[i++];
    }
  }
  if (!anyPlaceholder)
    for (const QString& a : args) out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + a;
  return out;
}

}  // namespace vb420
