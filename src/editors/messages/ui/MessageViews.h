// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded message (Edit > Embedded Message) and the password-protected
// message (Edit > Embedded Message with Password), which is also written into
// a connected radio from its window.
#pragma once

#include <QDialog>

#include "frame/ui/EditorView.h"
#include "data/Bytes.h"

class QLineEdit;
class QPushButton;

namespace vb420 {

class Prompter;
class TextTable;

// Two lines of 32 characters in the fixed-pitch font, stored when they lose
// the focus; Enter moves on as Tab does.
class CMessageLinesView : public CEditorView {
  Q_OBJECT
 public:
  CMessageLinesView(EditorContext& ctx, EditorKind kind, QWidget* parent);
  void Refresh() override;
  bool CommitPendingEdit() override;
  QWidget* InitialFocus() const override;
  QLineEdit* Line(int i) const { return lines_[i]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  virtual ByteArea Area() = 0;
  virtual size_t Offset(int line) const = 0;
  // Places the lines (and the buttons) and sizes the window to 32
  // characters of the font.
  void Build(const QList<QPushButton*>& buttons);

 private:
  void Store(int line);

  QLineEdit* lines_[2] = {};
  QList<QPushButton*> buttons_;
};

class CEmbView : public CMessageLinesView {
  Q_OBJECT
 public:
  CEmbView(EditorContext& ctx, QWidget* parent = nullptr);

 protected:
  ByteArea Area() override;
  size_t Offset(int line) const override;
};

// The message password: at most six characters; empty removes it.
class CMessagePasswordDlg : public QDialog {
  Q_OBJECT
 public:
  CMessagePasswordDlg(TextTable& text, const QString& current, QWidget* parent = nullptr);
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_;
};

class CEmbPassView : public CMessageLinesView {
  Q_OBJECT
 public:
  CEmbPassView(EditorContext& ctx, QWidget* parent = nullptr);
  QPushButton* PasswordButton() const { return password_; }
  QPushButton* WriteButton() const { return write_; }
  // `prompter` answers the link's questions (nullptr asks the user).
  void SetPrompter(Prompter* p) { prompter_ = p; }
  void EditPassword();
  void WriteToRadio();

 protected:
  ByteArea Area() override;
  size_t Offset(int line) const override;

 private:
  void SetControlsEnabled(bool on);
  QPushButton* password_;
  QPushButton* write_;
  Prompter* prompter_ = nullptr;
};

}  // namespace vb420
