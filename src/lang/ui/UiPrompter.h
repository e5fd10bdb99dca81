// SPDX-License-Identifier: GPL-3.0-or-later
// Everything that asks the user through a modal window goes through this
// interface: message boxes, the file dialogs and the running of a dialog.
// The program uses the real windows; the tests replace it with scripted answers.
#pragma once

#include <QString>
#include <array>
#include <functional>

class QDialog;
class QWidget;

namespace vb420 {

enum class MsgIcon { None, Error, Warning, Notice, Question };
enum MsgButtons { kMsgOk, kMsgOkCancel, kMsgYesNo, kMsgYesNoCancel };
// Answers, numbered as the platform's message boxes number them.
enum MsgAnswer { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

struct MessageRequest {
  QString text;
  QString caption;
  MsgIcon icon = MsgIcon::None;
  int buttons = kMsgOk;
  int defaultAnswer = 0;  // 0: the first button
  // Button texts in the program's language; an empty one keeps the
  // platform's own text.
  QString okText, cancelText, yesText, noText;
};

struct FileDialogRequest {
  QString title;          // empty: the dialog's own
  QString folder;         // where it starts
  QString initialName;    // proposed file name (save)
  QString filter;         // "Data file (*.dat *.sdt)"
  QString defaultSuffix;  // "dat" (save)
  // Open dialog only: the two preview lines of a selected file, and the
  // title shown while a file is selected.
  std::function<std::array<QString, 2>(const QString& path)> preview;
  QString previewTitle;
};

class UiPrompter {
 public:
  virtual ~UiPrompter() = default;
  // Returns one of MsgAnswer.
  virtual int Message(QWidget* owner, const MessageRequest& request);
  // The chosen existing file, empty when cancelled.
  virtual QString OpenFileName(QWidget* owner, const FileDialogRequest& request);
  // The chosen file name (the dialog asks before overwriting), empty when cancelled.
  virtual QString SaveFileName(QWidget* owner, const FileDialogRequest& request);
  // Runs a dialog modally; returns its result code (QDialog::Accepted ...).
  virtual int RunDialog(QDialog& dialog);
};

}  // namespace vb420
