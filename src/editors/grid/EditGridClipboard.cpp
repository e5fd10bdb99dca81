// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's side of spreadsheet interchange: the selected rows as
// tab-separated text on the clipboard, and tab-separated text from another
// program stored cell by cell through the owning view's typing rules.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QStringList>
#include <algorithm>

#include "editors/grid/EditGrid.h"

namespace vb420 {

namespace {

// The text this program last put on the clipboard from a grid: pasting it
// back is the owner's own record paste (every field, not only the shown
// texts); anything else came from another program.
QString& LastCopied() {
  static QString text;
  return text;
}

bool IsHeadingCopy(const QKeyEvent* k) {
  return k->key() == Qt::Key_C && k->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
}

}  // namespace

void CEditGrid::SetCellStore(CellStore store, PasteDone done) {
  cellStore_ = std::move(store);
  pasteDone_ = std::move(done);
}

QString CEditGrid::SelectionText(bool headings) const {
  int first = Row(), last = Row(), c0 = Col(), c1 = Col();
  if (rowSelect_) {
    SelectedRows(first, last);
    c0 = 1;
    c1 = Cols() - 1;
  }
  QStringList lines;
  auto cells = [&](int row) {
    QStringList out;
    for (int c = c0; c <= c1; ++c) out << Text(row, c).trimmed();
    return out.join(QLatin1Char('\t'));
  };
  if (headings) lines << cells(0);
  for (int r = std::max(first, 1); r <= last && r < Rows(); ++r) lines << cells(r);
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool CEditGrid::CopySelectionText(bool headings) {
  if (Rows() <= 1 || Cols() <= 1) return false;
  const QString text = SelectionText(headings);
  LastCopied() = text;
  return PutClipboardText(text);
}

bool CEditGrid::ClipboardHasForeignText() const {
  if (!cellStore_) return false;
  const QClipboard* cb = QApplication::clipboard();
  if (!cb) return false;
  const QString text = cb->text();
  return !text.trimmed().isEmpty() && text != LastCopied();
}

int CEditGrid::PasteText(const QString& raw) {
  if (!cellStore_ || Rows() <= 1 || Cols() <= 1) return 0;
  QString text = raw;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = text.split(QLatin1Char('\n'));
  while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  if (lines.isEmpty()) return 0;

  int row = Row(), col = Col();
  if (rowSelect_) {
    int last = 0;
    SelectedRows(row, last);
    col = 1;
  }
  row = std::max(row, 1);
  col = std::max(col, 1);
  // A first line that repeats the headings (of the grid from column 0, or
  // from the paste column on) is no data; in the first case every line
  // starts with the record number, which is not pasted either.
  bool dropFirstCell = false;
  const QStringList head = lines.front().split(QLatin1Char('\t'));
  auto same = [this, &head](int fromCol) {
    if (head.size() < 2) return false;
    for (int i = 0; i < head.size(); ++i) {
      if (fromCol + i >= Cols() || head[i].trimmed() != Text(0, fromCol + i).trimmed()) return false;
    }
    return true;
  };
  if (same(0)) {
    lines.removeFirst();
    dropFirstCell = true;
  } else if (same(col)) {
    lines.removeFirst();
  }

  int refused = 0;
  for (int i = 0; i < lines.size(); ++i) {
    const int r = row + i;
    if (r >= Rows()) break;
    QStringList cells = lines[i].split(QLatin1Char('\t'));
    if (dropFirstCell && !cells.isEmpty()) cells.removeFirst();
    for (int j = 0; j < cells.size(); ++j) {
      const int c = col + j;
      if (c >= Cols()) break;
      const QString cell = cells[j].trimmed();
      if (cell.isEmpty()) continue;
      if (cell == Text(r, c).trimmed()) continue;  // already what it shows
      if (!cellStore_(r, c, cell)) ++refused;
    }
  }
  if (pasteDone_) pasteDone_(refused);
  return refused;
}

bool CEditGrid::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride && editorKind_ == kNoEditor) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (ClaimsKey(k)) {
      // The owner's command: no shortcut elsewhere may take the key first.
      e->accept();
      return true;
    }
    if (k->matches(QKeySequence::Copy)) {
      // The owner's Copy (its record copy buffer) still runs: the clipboard
      // gets the rows as text beside it.
      CopySelectionText(false);
    } else if (IsHeadingCopy(k) || (k->matches(QKeySequence::Paste) && ClipboardHasForeignText())) {
      e->accept();  // handled by the grid itself, in keyPressEvent
      return true;
    }
  }
  return QTableView::event(e);
}

bool CEditGrid::ClipboardKey(QKeyEvent* e) {
  if (editorKind_ != kNoEditor) return false;
  if (e->matches(QKeySequence::Copy)) {
    // As the pop-up menu's Copy: the rows' text for other programs, and the
    // window's own copy of the records when it keeps one.
    CopySelectionText(false);
    Q_EMIT KeyToView(e);
  } else if (IsHeadingCopy(e)) {
    CopySelectionText(true);
  } else if (e->matches(QKeySequence::Paste) && ClipboardHasForeignText()) {
    PasteText(QApplication::clipboard()->text());
  } else {
    return false;
  }
  e->accept();
  return true;
}

}  // namespace vb420
