// SPDX-License-Identifier: GPL-3.0-or-later
// An edit box that lets through only the characters of its input mode: the
// in-cell editor of the grids and the typed fields of the dialogs.
#pragma once

#include <QLineEdit>
#include <QStringList>

namespace vb420 {

enum InputMode : int {
  kInputNothing = 0,
  kInputAll = 1,
  kInputDigits = 2,
  kInputDecimal = 3,
  kInputDtmf = 5,
  kInputHex = 6,
  kInputAlnum = 7,
  kInputName = 10,
  kInputSigned = 11,      // digits, "+" and "-"
  kInputDigitsDash = 12,  // digits and "-"
  kInputOption = 13,      // first letter of an option word
  kInputOptionDigits = 14,
  kInputOffset = 20,      // digits 0 to 5, "+" and "-"
  kInputDigitsA = 21,
  kInputDigitsC = 30,
  kInputDigitsCO = 31,
  // The edit part of a tone combo: digits, D, I, N and one decimal separator.
  kInputTone = 40,
};

class CFilterEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CFilterEdit(QWidget* parent = nullptr);

  void SetInputMode(int mode) { mode_ = mode; }
  int InputMode() const { return mode_; }
  // In a grid cell the box hands Enter, Escape, Tab and Up/Down to its owner.
  void SetInCell(bool on) { setProperty("vb420_incell", on); }
  // Option words of modes 13 and 14.
  void SetOptionWords(const QStringList& words) { options_ = words; }
  char DecimalSeparator() const { return separator_; }
  // Taken from the locale when the box is made; tests and the codecs may set it.
  void SetDecimalSeparator(char sep) { separator_ = sep; }

  // Whether `c` may be inserted now (caret and selection as they stand).
  // `replacement` receives the character actually inserted (upper case, the
  // locale separator).
  bool Accepts(QChar c, QChar* replacement = nullptr) const;

  // True while the text is what the user typed; false once the program or a
  // list choice of the combo box around it set it. A combo box must not take
  // a typed text that happens to equal a list row for a choice from the list.
  bool UserTyped() const { return typed_; }

 Q_SIGNALS:
  // Enter, Escape and the navigation keys that leave the box; the owner
  // (a grid or a dialog) decides what they mean.
  void KeyLeaving(int key, Qt::KeyboardModifiers modifiers);
  void EditFocusOut(Qt::FocusReason reason);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  int mode_ = kInputAll;
  char separator_ = '.';
  QStringList options_;
  bool typed_ = false;
  bool editPending_ = false;
};

// The locale's decimal separator as one character ("." when it is not one byte).
char LocaleDecimalSeparator();

}  // namespace vb420
