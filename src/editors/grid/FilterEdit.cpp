// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/FilterEdit.h"

#include <QComboBox>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

namespace vb420 {

char LocaleDecimalSeparator() {
  const QString s = QLocale().decimalPoint();
  return (s.size() == 1 && s[0].unicode() < 0x80) ? static_cast<char>(s[0].unicode()) : '.';
}

CFilterEdit::CFilterEdit(QWidget* parent) : QLineEdit(parent), separator_(LocaleDecimalSeparator()) {
  // A text the user typed announces itself (textEdited) just before the
  // change every text announces (textChanged); anything else that changes
  // the text (the program, a list choice in a combo box) comes without it.
  connect(this, &QLineEdit::textEdited, this, [this] { editPending_ = true; });
  connect(this, &QLineEdit::textChanged, this, [this] {
    typed_ = editPending_;
    editPending_ = false;
  });
}

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool NameChar(QChar c) {
  if ((c >= u'A' && c <= u'Z') || IsDigit(c) || c == u' ') return true;
  static const QString kPunct = QStringLiteral("#$%()*+,-/=\\_@");
  return kPunct.contains(c);
}

// The test of one mode for an upper-case candidate.
bool ModeAccepts(int mode, QChar c, const CFilterEdit& e, const QStringList& options) {
  const QString text = e.text();
  const bool atEnd = e.cursorPosition() == text.size() && !e.hasSelectedText();
  switch (mode) {
    case kInputAll: return true;
    case kInputDigits: return IsDigit(c);
    case kInputDtmf: return IsDigit(c) || (c >= u'A' && c <= u'D') || c == u'*' || c == u'#';
    case kInputHex: return IsDigit(c) || (c >= u'A' && c <= u'F');
    case kInputAlnum: return c.unicode() < 0x80 && (IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'));
    case kInputName: return NameChar(c);
    case kInputSigned: return IsDigit(c) || c == u'+' || c == u'-';
    case kInputDigitsDash: return IsDigit(c) || c == u'-';
    case kInputOffset: return (c >= u'0' && c <= u'5') || c == u'+' || c == u'-';
    case kInputOption:
    case kInputOptionDigits: {
      if (mode == kInputOptionDigits && IsDigit(c)) return true;
      bool isOptionLetter = false;
      for (const QString& w : options)
        if (!w.isEmpty() && w[0].toUpper() == c) isOptionLetter = true;
      if (!isOptionLetter || !atEnd) return false;
      // One option letter at most.
      for (const QString& w : options)
        if (!w.isEmpty() && text.contains(w[0].toUpper())) return false;
      return true;
    }
    case kInputDigitsA: return IsDigit(c) || (c == u'A' && atEnd && !text.contains(u'A'));
    case kInputDigitsC: return IsDigit(c) || (c == u'C' && atEnd && !text.contains(u'C'));
    case kInputDigitsCO:
      return IsDigit(c) || ((c == u'C' || c == u'O') && atEnd && !text.contains(c));
    default: return false;
  }
}

}  // namespace

bool CFilterEdit::Accepts(QChar c, QChar* replacement) const {
  if (replacement) *replacement = c;
  if (mode_ == kInputNothing) return false;
  if (mode_ == kInputDecimal || mode_ == kInputTone) {
    if (IsDigit(c)) return true;
    if (mode_ == kInputTone) {
      const QChar u = c.toUpper();
      if (u == u'D' || u == u'I' || u == u'N') {
        if (replacement) *replacement = u;
        return true;
      }
    }
    if (c != u'.' && c != u',' && c != QChar(separator_)) return false;
    const QString t = text();
    const int existing = [&] {
      for (int i = 0; i < t.size(); ++i)
        if (t[i] == u'.' || t[i] == u',' || t[i] == QChar(separator_)) return i;
      return -1;
    }();
    if (existing >= 0) {
      // Allowed only when the typed separator replaces the existing one.
      if (!hasSelectedText()) return false;
      const int s = selectionStart();
      if (existing < s || existing >= s + selectedText().size()) return false;
    }
    if (replacement) *replacement = QChar(separator_);
    return true;
  }
  // Modes that take letters keep the text upper case.
  const QChar upper = c.toUpper();
  if (upper != c && ModeAccepts(mode_, upper, *this, options_) && mode_ != kInputAll && mode_ != kInputAlnum) {
    if (replacement) *replacement = upper;
    return true;
  }
  return ModeAccepts(mode_, c, *this, options_);
}

void CFilterEdit::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  const auto mods = e->modifiers();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (property("vb420_incell").toBool()) {
        Q_EMIT KeyLeaving(key, mods);
        e->accept();
        return;
      }
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) Q_EMIT KeyLeaving(key, mods);
      QLineEdit::keyPressEvent(e);
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      // Alt+Down (or Alt+Up) in the edit part of a combo box drops its list,
      // as in any combo box: the typed text stays, nothing is stored and
      // the cursor stays in the cell.
      if ((key == Qt::Key_Up || key == Qt::Key_Down) && (mods & Qt::AltModifier)) {
        if (auto* combo = qobject_cast<QComboBox*>(parentWidget())) {
          combo->showPopup();
          e->accept();
          return;
        }
      }
      if (property("vb420_incell").toBool()) {
        Q_EMIT KeyLeaving(key, mods);
        e->accept();
        return;
      }
      QLineEdit::keyPressEvent(e);
      return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      if (mode_ == kInputNothing) {
        e->accept();
        return;
      }
      QLineEdit::keyPressEvent(e);
      return;
    default: break;
  }
  if (e->matches(QKeySequence::Paste)) {
    if (mode_ == kInputNothing) return;
    // A pasted text goes through the same filter, character by character.
    const QString pasted = QApplication::clipboard()->text();
    for (QChar c : pasted) {
      QChar r;
      if (Accepts(c, &r) && (maxLength() <= 0 || text().size() < maxLength() || hasSelectedText())) insert(QString(r));
    }
    return;
  }
  const QString typed = e->text();
  if (typed.size() == 1 && typed[0].isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
    QChar r;
    if (Accepts(typed[0], &r)) {
      if (r != typed[0]) {
        insert(QString(r));
      } else {
        QLineEdit::keyPressEvent(e);
      }
    }
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

void CFilterEdit::keyReleaseEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && property("vb420_incell").toBool())
    Q_EMIT KeyLeaving(-e->key(), e->modifiers());  // negative: a release
  QLineEdit::keyReleaseEvent(e);
}

void CFilterEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  Q_EMIT EditFocusOut(e->reason());
}

}  // namespace vb420
