// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/grid/EditGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <QFontMetricsF>

#include "editors/grid/FilterEdit.h"
#include "lang/TextTable.h"

namespace vb420 {

// ---------------------------------------------------------------------------
// Model

CGridModel::CGridModel(QObject* parent)
    : QAbstractTableModel(parent), cells_(1, std::vector<QString>(1)), stale_(1, 0), align_(1, kAlignCentre), fixedFont_(1, 0) {}

void CGridModel::SetSize(int rows, int cols) {
  beginResetModel();
  rows_ = std::max(1, rows);
  cols_ = std::max(1, cols);
  cells_.assign(static_cast<size_t>(rows_), std::vector<QString>(static_cast<size_t>(cols_)));
  stale_.assign(static_cast<size_t>(rows_), 0);
  grey_.assign(static_cast<size_t>(rows_), {});
  align_.resize(static_cast<size_t>(cols_), kAlignCentre);
  fixedFont_.resize(static_cast<size_t>(cols_), 0);
  endResetModel();
}

void CGridModel::EnsureRow(int row) const {
  if (row <= 0 || row >= rows_ || !stale_[static_cast<size_t>(row)]) return;
  stale_[static_cast<size_t>(row)] = 0;
  auto& cells = cells_[static_cast<size_t>(row)];
  for (int c = 1; c < cols_; ++c) cells[static_cast<size_t>(c)].clear();
  if (filler_) filler_(row, cells);
  if (greyFiller_) {
    auto& grey = grey_[static_cast<size_t>(row)];
    grey.assign(static_cast<size_t>(cols_), 0);
    greyFiller_(row, cells, grey);
  }
}

bool CGridModel::Greyed(int row, int col) const {
  if (row <= 0 || row >= rows_ || col < 0 || col >= cols_) return false;
  EnsureRow(row);
  const auto& grey = grey_[static_cast<size_t>(row)];
  return static_cast<size_t>(col) < grey.size() && grey[static_cast<size_t>(col)];
}

QString CGridModel::Text(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return {};
  EnsureRow(row);
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void CGridModel::SetText(int row, int col, const QString& text) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return;
  EnsureRow(row);
  QString& cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == text) return;
  cell = text;
  if (row == 0) {
    if (col >= 1) Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
    Q_EMIT dataChanged(index(0, 0), index(0, 0));
  } else {
    const QModelIndex i = index(row - 1, col);
    Q_EMIT dataChanged(i, i);
  }
}

void CGridModel::RefillAll() {
  if (!filler_ && !greyFiller_) return;
  for (int r = 1; r < rows_; ++r) stale_[static_cast<size_t>(r)] = 1;
  if (rows_ > 1) Q_EMIT dataChanged(index(0, 0), index(rows_ - 2, cols_ - 1));
}

void CGridModel::RefillRow(int row) {
  if (row <= 0 || row >= rows_ || (!filler_ && !greyFiller_)) return;
  stale_[static_cast<size_t>(row)] = 1;
  Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, cols_ - 1));
}

void CGridModel::SetColumnFormat(int col, int alignment, bool fixedFont) {
  if (col < 0 || col >= cols_) return;
  align_[static_cast<size_t>(col)] = alignment;
  fixedFont_[static_cast<size_t>(col)] = fixedFont ? 1 : 0;
}

int CGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_ - 1; }
int CGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

namespace {
Qt::Alignment AlignmentOf(int code) {
  switch (code) {
    case kAlignLeft: return Qt::AlignLeft | Qt::AlignVCenter;
    case kAlignRight: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignCenter;
  }
}

}  // namespace

bool HasEqualAdvances(const QFont& font) {
  // What the fixed columns show: frequencies, tone and code texts, names.
  // Qt's pitch flag is not enough: some monospaced faces (Noto Sans Mono on
  // Qt 6.4) report a proportional pitch although every advance is equal.
  static const QString kShown = QStringLiteral("0123456789.-+ ABCDEFGHIJKLMNOPQRSTUVWXYZiW");
  const QFontMetricsF m(font);
  const qreal first = m.horizontalAdvance(kShown.at(0));
  if (first <= 0) return false;
  for (const QChar c : kShown)
    if (std::abs(m.horizontalAdvance(c) - first) > 0.01) return false;
  return true;
}

QFont FixedPitchFace() {
  // The platform's fixed face, at the size of the other cells: a face named
  // by family may be missing or drawn larger than its neighbours. Only when
  // the platform's choice does not line the columns up do we look for an
  // installed face that does.
  static const QFont chosen = [] {
    const QFont base = QApplication::font();
    const auto sized = [&base](QFont f) {
      if (base.pointSizeF() > 0) f.setPointSizeF(base.pointSizeF());
      else if (base.pixelSize() > 0) f.setPixelSize(base.pixelSize());
      return f;
    };
    const QFont system = sized(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (HasEqualAdvances(system)) return system;
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono"}) {
      if (!installed.contains(QString::fromLatin1(family))) continue;
      QFont f = system;
      f.setFamilies({QString::fromLatin1(family)});
      if (HasEqualAdvances(f)) return f;
    }
    return system;
  }();
  return chosen;
}

QFont GridFixedFont() { return FixedPitchFace(); }

QVariant CGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int col = index.column();
  switch (role) {
    case Qt::DisplayRole: return Text(row, col);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(col == 0 ? Qt::Alignment(Qt::AlignCenter) : AlignmentOf(align_[static_cast<size_t>(col)]));
    case Qt::FontRole:
      if (col > 0 && fixedFont_[static_cast<size_t>(col)]) {
        static const QFont fixed = GridFixedFont();
        return fixed;
      }
      return {};
    case Qt::BackgroundRole:
      // Column 0 is a fixed column: it looks like the header.
      if (col == 0) return QApplication::palette().brush(enabledLook_ ? QPalette::Button : QPalette::Mid);
      return {};
    case Qt::ForegroundRole:
      if (!enabledLook_ || (col > 0 && Greyed(row, col))) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      // The fixed column is drawn like a button: its text in the button's
      // text colour, which stays readable under a dark palette.
      if (col == 0) return QApplication::palette().brush(QPalette::ButtonText);
      return {};
    default: return {};
  }
}

QVariant CGridModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o == Qt::Horizontal && role == Qt::DisplayRole) return Text(0, section);
  if (o == Qt::Horizontal && role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  if (o == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
  return {};
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---------------------------------------------------------------------------
// Clipboard

bool PutClipboardText(const QString& text, const ClipboardWriter& writer) {
  ClipboardWriter w = writer;
  if (!w) {
    w = [](const QString& t) {
      QClipboard* cb = QApplication::clipboard();
      if (!cb) return false;
      cb->setText(t);
      return true;
    };
  }
  for (int attempt = 0; attempt < 3; ++attempt)
    if (w(text)) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Grid

namespace {

// Grid lines in the palette's mid tone. A style hint rather than a style
// sheet: a sheet puts the grid and every child under Qt's style-sheet
// style, which made each window with grids open markedly slower.
class GridLineStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_Table_GridLineColor) {
      const QPalette palette = option ? option->palette : widget ? widget->palette() : QApplication::palette();
      return static_cast<int>(palette.color(QPalette::Mid).rgba());
    }
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// One for every grid of the program, gone with the application.
QStyle* GridStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new GridLineStyle(QApplication::style()->name());
    style->setParent(qApp);
  }
  return style;
}

}  // namespace

CEditGrid::CEditGrid(QWidget* parent) : QTableView(parent), model_(new CGridModel(this)) {
  setModel(model_);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(std::max(22, fontMetrics().height() + 8));
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  setStyle(GridStyle());
  connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int) {
    // A click on the header row is a click on a fixed cell of row 0.
    SetRowSelectMode(false);
  });
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
    connect(bar, &QScrollBar::sliderReleased, this, &CEditGrid::ScrollEnded);
}

void CEditGrid::SetSize(int rows, int cols) {
  HideEditor(false);
  model_->SetSize(rows, cols);
  SetCurrent(1, 1);
}

int CEditGrid::SetupColumns(const ColumnDescriptor* columns, int headerRow, int count) {
  int done = 0;
  for (int c = 0; c < Cols(); ++c) {
    if (count > 0 && done >= count) break;
    const ColumnDescriptor& d = columns[c];
    if (count == 0 && d.width == 0) break;
    const QString caption = text_ ? QString::fromStdString(text_->Text(d.captionEntry)) : QString();
    model_->SetText(headerRow, c, caption);
    // The table's widths are for 96 dots per inch; a heading longer than its
    // column in the font in use widens the column so that it shows whole.
    const int scaled = qRound(d.width * std::max(1.0, logicalDpiX() / 96.0));
    QStyleOptionHeader opt;
    opt.initFrom(horizontalHeader());
    opt.section = c;
    opt.text = caption;
    opt.fontMetrics = horizontalHeader()->fontMetrics();
    const int heading = style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), horizontalHeader()).width();
    setColumnWidth(c, std::max(scaled, heading + 4));
    model_->SetColumnFormat(c, d.alignment, d.proportional == 0);
    ++done;
  }
  SetCurrent(1, 1);
  return done;
}

void CEditGrid::NumberRows(int firstRow) {
  for (int r = std::max(1, firstRow); r < Rows(); ++r) model_->SetText(r, 0, QString::number(r - firstRow + 1));
  SetCurrent(1, 1);
}

void CEditGrid::SetRowTexts(const std::vector<std::pair<int, QString>>& pairs) {
  for (const auto& [row, text] : pairs) model_->SetText(row, 0, text);
}

int CEditGrid::Row() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

int CEditGrid::Col() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.column() : 0;
}

void CEditGrid::SetCurrent(int row, int col) {
  if (Rows() < 2 || Cols() < 2) return;
  row = std::clamp(row, 1, Rows() - 1);
  col = std::clamp(col, 1, Cols() - 1);
  setCurrentIndex(model_->index(row - 1, col));
  UpdateSelection();
}

int CEditGrid::TopRow() const { return verticalScrollBar()->value() + 1; }

void CEditGrid::SetTopRow(int row) { verticalScrollBar()->setValue(std::max(0, row - 1)); }

int CEditGrid::PageRows() const {
  const int h = viewport()->height();
  const int rh = verticalHeader()->defaultSectionSize();
  return std::max(1, rh > 0 ? h / rh : 1);
}

void CEditGrid::SetRowSelectMode(bool on) {
  if (on && !rowSelect_) anchorRow_ = Row();
  rowSelect_ = on;
  UpdateSelection();
}

void CEditGrid::SelectRows(int first, int last) {
  if (Rows() < 2) return;
  first = std::clamp(first, 1, Rows() - 1);
  last = std::clamp(last, 1, Rows() - 1);
  rowSelect_ = true;
  anchorRow_ = first;
  setCurrentIndex(model_->index(last - 1, 1));
  UpdateSelection();
}

void CEditGrid::SelectedRows(int& first, int& last) const {
  const int cur = Row();
  const int end = rowSelect_ ? anchorRow_ : cur;
  first = std::min(cur, end);
  last = std::max(cur, end);
}

void CEditGrid::UpdateSelection() {
  QItemSelectionModel* sm = selectionModel();
  if (!sm) return;
  const QModelIndex cur = currentIndex();
  if (!cur.isValid()) {
    sm->clearSelection();
    return;
  }
  if (rowSelect_) {
    int first, last;
    SelectedRows(first, last);
    QItemSelection sel(model_->index(first - 1, 0), model_->index(last - 1, Cols() - 1));
    sm->select(sel, QItemSelectionModel::ClearAndSelect);
  } else {
    sm->select(cur, QItemSelectionModel::ClearAndSelect);
  }
}

void CEditGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // The record-number column is fixed: the cursor never rests there.
  if (current.isValid() && current.column() == 0 && Cols() > 1) {
    setCurrentIndex(model_->index(current.row(), 1));
    return;
  }
  UpdateSelection();
  if (current.isValid()) Q_EMIT CellChanged(current.row() + 1, current.column());
}

// ---- in-cell editors ---------------------------------------------------------

QRect CEditGrid::EditorRect(int kind) const {
  const QModelIndex i = model_->index(editorKind_ ? editRow_ - 1 : Row() - 1, editorKind_ ? editCol_ : Col());
  QRect r = visualRect(i);
  if (!r.isValid() || !viewport()->rect().intersects(r)) return QRect(-1024, -1024, 0, 0);
  // The cell rectangle without its grid line, so the editor covers the cell.
  r.adjust(0, 0, -1, -1);
  if (kind == kEditButton) r.setWidth(std::max(0, r.width() - 18));
  return r;
}

void CEditGrid::PlaceEditor() {
  if (!editorKind_ || !editor_) return;
  const QRect r = EditorRect(editorKind_);
  editor_->setGeometry(r);
  if (editorKind_ == kEditButton && button_) {
    if (r.width() == 0) button_->setGeometry(-1024, -1024, 0, 0);
    else button_->setGeometry(r.right() + 1, r.top(), 18, r.height());
  }
}

void CEditGrid::OpenCommon(QWidget* editor, int kind, const QString& text) {
  if (editorKind_) HideEditor(false);
  editor_ = editor;
  editorKind_ = kind;
  editRow_ = Row();
  editCol_ = Col();
  savedText_ = Text(editRow_, editCol_);
  if (editor->parentWidget() != viewport()) editor->setParent(viewport());
  // The editor types in the face its cell shows. The grid's style sheet
  // would override a font set with setFont, so the face goes in the
  // editor's own sheet.
  if (model_->FixedFont(editCol_)) {
    const QFont f = GridFixedFont();
    editor->setStyleSheet(QStringLiteral("font-family: \"%1\"; font-size: %2pt;").arg(f.family()).arg(f.pointSizeF()));
  } else {
    editor->setStyleSheet(QString());
  }
  editor->installEventFilter(this);
  if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(this);
  // The cell is blanked while the editor covers it.
  model_->SetText(editRow_, editCol_, QString());
  PlaceEditor();
  editor->setEnabled(true);
  editor->show();
  editor->raise();
  (void)text;
}

int CEditGrid::ShowEdit(CFilterEdit* editor, const QString& text, bool takeFocus, QAbstractButton* button) {
  if (!editor || Row() < 1 || Col() < 1) return 0;
  editor->SetInCell(true);
  disconnect(editor, nullptr, this, nullptr);
  connect(editor, &CFilterEdit::KeyLeaving, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key < 0) {
      enterReleased_ = true;  // Enter released over the editor
      return;
    }
    Q_EMIT EditorKey(key, mods);
  });
  connect(editor, &CFilterEdit::EditFocusOut, this, [this, editor](Qt::FocusReason reason) {
    if (editor_ == editor && editorKind_) Q_EMIT EditorFocusOut(reason);
  });
  OpenCommon(editor, button ? kEditButton : kEditBox, text);
  if (button) {
    button_ = button;
    if (button->parentWidget() != viewport()) button->setParent(viewport());
    PlaceEditor();
    button->setEnabled(true);
    button->show();
    button->raise();
  }
  editor->setText(text);
  editor->selectAll();
  if (takeFocus) editor->setFocus(Qt::OtherFocusReason);
  return 1;
}

int CEditGrid::ShowList(QComboBox* combo, const QString& text, bool takeFocus) {
  if (!combo || Row() < 1 || Col() < 1) return 0;
  OpenCommon(combo, kDropList, text);
  combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
  if (takeFocus) combo->setFocus(Qt::OtherFocusReason);
  return 1;
}

int CEditGrid::ShowCombo(QComboBox* combo, const QString& text, bool takeFocus) {
  if (!combo || Row() < 1 || Col() < 1) return 0;
  OpenCommon(combo, kEditCombo, text);
  const int row = combo->findText(text, Qt::MatchExactly);
  combo->setCurrentIndex(row);
  if (row < 0) combo->setEditText(text);
  if (combo->lineEdit()) combo->lineEdit()->selectAll();
  if (takeFocus) combo->setFocus(Qt::OtherFocusReason);
  return 1;
}

int CEditGrid::HideEditor(bool clearText) {
  if (!editorKind_) return 0;
  QWidget* ed = editor_;
  editorKind_ = kNoEditor;
  const bool hadFocus = ed && ed->isAncestorOf(QApplication::focusWidget());
  const bool selfFocus = ed && QApplication::focusWidget() == ed;
  if (ed) {
    ed->removeEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(ed); combo && combo->lineEdit()) combo->lineEdit()->removeEventFilter(this);
    // Take the focus first so that the editor's focus-out is not a commit.
    if (hadFocus || selfFocus) setFocus(Qt::OtherFocusReason);
    ed->hide();
    ed->setEnabled(false);
    if (clearText) {
      if (auto* le = qobject_cast<QLineEdit*>(ed)) le->clear();
      if (auto* combo = qobject_cast<QComboBox*>(ed); combo && combo->isEditable()) combo->setEditText(QString());
    }
  }
  if (button_) {
    button_->hide();
    button_->setEnabled(false);
    button_ = nullptr;
  }
  editor_ = nullptr;
  return 1;
}

void CEditGrid::CancelEdit() {
  if (!editorKind_) return;
  const int r = editRow_, c = editCol_;
  const QString saved = savedText_;
  HideEditor(false);
  model_->SetText(r, c, saved);
  setFocus(Qt::OtherFocusReason);
}

bool CEditGrid::eventFilter(QObject* watched, QEvent* event) {
  // Keys that leave a combo editor go to the owner like those of an edit box.
  if (editorKind_ == kDropList || editorKind_ == kEditCombo) {
    auto* combo = qobject_cast<QComboBox*>(editor_.data());
    const bool ours = combo && (watched == combo || watched == combo->lineEdit());
    if (ours && event->type() == QEvent::KeyPress) {
      auto* ke = static_cast<QKeyEvent*>(event);
      const int key = ke->key();
      const bool popup = combo->view() && combo->view()->isVisible();
      if (!popup && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
                     key == Qt::Key_Backtab)) {
        Q_EMIT EditorKey(key, ke->modifiers());
        return true;
      }
    }
    if (ours && event->type() == QEvent::KeyRelease) {
      auto* ke = static_cast<QKeyEvent*>(event);
      if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) enterReleased_ = true;
    }
    if (ours && event->type() == QEvent::FocusOut) {
      auto* fe = static_cast<QFocusEvent*>(event);
      // Focus moving between the combo and its own edit part or list is no leave.
      // The list is a window of its own: focus moving into it stays in the combo.
      QWidget* now = QApplication::focusWidget();
      const bool own = now && (now == combo || combo->isAncestorOf(now) ||
                               (combo->view() && now->window() == combo->view()->window()));
      if (!own && fe->reason() != Qt::PopupFocusReason)
        Q_EMIT EditorFocusOut(fe->reason());
    }
  }
  return QTableView::eventFilter(watched, event);
}

// ---- moving ------------------------------------------------------------------

void CEditGrid::PageDown() {
  const int last = Rows() - 1;
  const int pr = PageRows();
  if (last <= pr) return;
  const int top = TopRow();
  const int newTop = top + pr;
  if (newTop <= last) {
    SetTopRow(newTop);
    const int realTop = TopRow();
    const int cur = Row();
    if (cur < realTop || cur >= realTop + pr) SetCurrent(std::min(cur + pr, last), Col());
  }
  SetRowSelectMode(false);
  Q_EMIT Notify(2, Qt::Key_PageDown);
}

void CEditGrid::PageUp() {
  const int last = Rows() - 1;
  const int pr = PageRows();
  if (last <= pr) return;
  const int top = TopRow();
  const int newTop = std::max(1, top - pr);
  SetTopRow(newTop);
  const int cur = Row();
  if (cur < newTop || cur >= newTop + pr) SetCurrent(std::max(1, cur - pr), Col());
  SetRowSelectMode(false);
  Q_EMIT Notify(2, Qt::Key_PageUp);
}

void CEditGrid::Advance(int n, Qt::KeyboardModifiers mods) {
  setFocus(Qt::OtherFocusReason);
  if (mods & (Qt::ShiftModifier | Qt::ControlModifier)) {
    enterReleased_ = false;
    return;
  }
  const int dataCols = Cols() - 1;
  if (dataCols <= 0) return;
  int row = Row();
  int col = Col() + n;
  while (col > dataCols) {
    col -= dataCols;
    ++row;
  }
  if (row > Rows() - 1) {
    enterReleased_ = false;
    return;
  }
  SetCurrent(row, col);
  scrollTo(currentIndex());
}

void CEditGrid::SendTab(bool backwards) {
  setFocus(Qt::TabFocusReason);
  focusNextPrevChild(!backwards);
}

void CEditGrid::ExtendRowSelection(int delta) {
  if (!rowSelect_) anchorRow_ = Row();
  rowSelect_ = true;
  const int row = std::clamp(Row() + delta, 1, Rows() - 1);
  setCurrentIndex(model_->index(row - 1, 1));
  scrollTo(currentIndex());
  UpdateSelection();
}

void CEditGrid::keyPressEvent(QKeyEvent* e) {
  if (ClipboardKey(e)) return;
  const int key = e->key();
  const auto mods = e->modifiers();
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!enterReleased_) {
        e->accept();  // the Enter that closed an editor is still down
        return;
      }
      SetRowSelectMode(false);
      if ((Row() == Rows() - 1 && Col() == Cols() - 1) || shift || ctrl) enterReleased_ = false;
      Q_EMIT EnterPressed(mods);
      e->accept();
      return;
    case Qt::Key_Left:
      SetRowSelectMode(false);
      if (Col() <= 1) {
        if (wrap_ && !shift && Row() > 1) SetCurrent(Row() - 1, Cols() - 1);
        e->accept();
        return;
      }
      SetCurrent(Row(), Col() - 1);
      e->accept();
      return;
    case Qt::Key_Right:
      SetRowSelectMode(false);
      if (Col() >= Cols() - 1) {
        if (wrap_ && !shift && Row() < Rows() - 1) SetCurrent(Row() + 1, 1);
        e->accept();
        return;
      }
      SetCurrent(Row(), Col() + 1);
      e->accept();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (shift) {
        if (!rowSelect_) SetCurrent(Row(), 1);
        ExtendRowSelection(key == Qt::Key_Up ? -1 : 1);
        e->accept();
        return;
      }
      SetRowSelectMode(false);
      SetCurrent(Row() + (key == Qt::Key_Up ? -1 : 1), Col());
      scrollTo(currentIndex());
      e->accept();
      return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (!ctrl) {
        if (key == Qt::Key_PageUp) PageUp();
        else PageDown();
        e->accept();
        return;
      }
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      SetRowSelectMode(false);
      SetCurrent(ctrl ? (key == Qt::Key_Home ? 1 : Rows() - 1) : Row(), key == Qt::Key_Home ? 1 : Cols() - 1);
      scrollTo(currentIndex());
      e->accept();
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      QTableView::keyPressEvent(e);
      return;
    default: break;
  }
  const QString t = e->text();
  if (!t.isEmpty() && (t[0].isPrint() || key == Qt::Key_Backspace) && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
    Q_EMIT CharTyped(e);
    e->accept();
    return;
  }
  Q_EMIT KeyToView(e);
  if (!e->isAccepted()) QTableView::keyPressEvent(e);
}

void CEditGrid::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) enterReleased_ = true;
  QTableView::keyReleaseEvent(e);
}

void CEditGrid::mousePressEvent(QMouseEvent* e) {
  const QModelIndex i = indexAt(e->position().toPoint());
  if (!i.isValid()) {
    QTableView::mousePressEvent(e);
    return;
  }
  if (e->button() == Qt::RightButton) {
    // The right button keeps the selection for the pop-up menu.
    e->accept();
    return;
  }
  if (i.column() == 0) {
    // The record-number column is the row header: it selects whole rows.
    const bool extend = (e->modifiers() & Qt::ShiftModifier) && rowSelect_;
    if (!extend) anchorRow_ = i.row() + 1;
    rowSelect_ = true;
    setCurrentIndex(model_->index(i.row(), 1));
    UpdateSelection();
    setFocus(Qt::MouseFocusReason);
    e->accept();
    return;
  }
  rowSelect_ = false;
  QTableView::mousePressEvent(e);
  UpdateSelection();
}

void CEditGrid::contextMenuEvent(QContextMenuEvent* e) {
  QPoint pos = e->pos();
  int row = 0;
  if (e->reason() == QContextMenuEvent::Keyboard) {
    pos = visualRect(currentIndex()).center();
    row = Row();
  } else {
    const QModelIndex i = indexAt(viewport()->mapFromGlobal(e->globalPos()));
    row = i.isValid() ? i.row() + 1 : 0;
  }
  Q_EMIT ContextMenuAsked(e->reason() == QContextMenuEvent::Keyboard ? viewport()->mapToGlobal(pos) : e->globalPos(), row);
  e->accept();
}

void CEditGrid::wheelEvent(QWheelEvent* e) {
  const int last = Rows() - 1;
  const int pr = PageRows();
  if (last <= pr) {
    QTableView::wheelEvent(e);
    return;
  }
  const int delta = e->angleDelta().y();
  int rows;
  if (e->modifiers() & Qt::ControlModifier) rows = (delta / 120) * pr;
  else rows = delta / 40;
  // Scrolling down (negative delta) moves the top row down.
  const int newTop = std::clamp(TopRow() - rows, 1, std::max(1, last - pr + 1));
  SetTopRow(newTop);
  PlaceEditor();
  Q_EMIT Scrolled();
  e->accept();
}

void CEditGrid::focusInEvent(QFocusEvent* e) {
  QTableView::focusInEvent(e);
  Q_EMIT Notify(1, 0);
}

void CEditGrid::focusOutEvent(QFocusEvent* e) {
  QTableView::focusOutEvent(e);
  Q_EMIT Notify(0, 0);
}

void CEditGrid::scrollContentsBy(int dx, int dy) {
  const bool dragging = verticalScrollBar()->isSliderDown() || horizontalScrollBar()->isSliderDown();
  const bool keep = (editorKind_ == kEditBox || editorKind_ == kEditButton) && dragging && editor_;
  // Scrolling the viewport moves its children, the editors among them.
  const QRect editAt = keep ? editor_->geometry() : QRect();
  const QRect buttonAt = keep && button_ ? button_->geometry() : QRect();
  QTableView::scrollContentsBy(dx, dy);
  if (keep) {
    // The edit box keeps its place (and the text being typed) until the
    // thumb is released; combo boxes follow their cell at once.
    editor_->setGeometry(editAt);
    if (button_) button_->setGeometry(buttonAt);
    placePending_ = true;
  } else {
    PlaceEditor();
  }
  Q_EMIT Scrolled();
}

void CEditGrid::ScrollEnded() {
  if (!placePending_) return;
  placePending_ = false;
  PlaceEditor();
}

void CEditGrid::SetStretch(bool on) {
  stretch_ = on;
  baseWidths_.clear();
  for (int c = 0; c < Cols(); ++c) baseWidths_.push_back(columnWidth(c));
  setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAsNeeded : horizontalScrollBarPolicy());
  StretchColumns();
}

void CEditGrid::StretchColumns() {
  if (!stretch_ || baseWidths_.size() != static_cast<size_t>(Cols())) return;
  int base = 0;
  for (int w : baseWidths_) base += w;
  // The fixed record-number column keeps its width; the data columns share
  // whatever the window has beyond the widths the table asks for.
  const int fixed = baseWidths_.empty() ? 0 : baseWidths_[0];
  const int extra = std::max(0, viewport()->width() - base);
  const int share = std::max(1, base - fixed);
  int given = 0;
  for (int c = 0; c < Cols(); ++c) {
    int w = baseWidths_[static_cast<size_t>(c)];
    if (c > 0 && extra > 0) {
      const int add = c == Cols() - 1 ? extra - given : extra * w / share;
      given += add;
      w += add;
    }
    if (columnWidth(c) != w) setColumnWidth(c, w);
  }
}

void CEditGrid::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  StretchColumns();
  PlaceEditor();
  MoveAnchored();
}

void CEditGrid::moveEvent(QMoveEvent* e) {
  QTableView::moveEvent(e);
  MoveAnchored();
}

void CEditGrid::changeEvent(QEvent* e) {
  QTableView::changeEvent(e);
  // A new scroll-bar width (style or system metrics) refits a fitted grid.
  if (e->type() == QEvent::StyleChange && home_.isValid()) {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (extent != scrollBarExtent_) FitToRows();
  }
}

// ---- look ---------------------------------------------------------------------

int CEditGrid::RowHeight() const { return verticalHeader()->defaultSectionSize(); }

int CEditGrid::FullWidth() const {
  int w = 0;
  // A stretched grid is as wide as the widths its table asks for.
  if (stretch_ && baseWidths_.size() == static_cast<size_t>(Cols()))
    for (int bw : baseWidths_) w += bw;
  else
    for (int c = 0; c < Cols(); ++c) w += columnWidth(c);
  return w + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2 + 2 * frameWidth();
}

int CEditGrid::HeightForRows(int rows) const {
  const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
  return header + rows * RowHeight() + 2 * frameWidth();
}

void CEditGrid::FitToRows() {
  scrollBarExtent_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  // Every column fits: a horizontal scroll bar would only hide a row.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QRect home = home_.isValid() ? home_ : geometry();
  const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
  const int rh = std::max(1, RowHeight());
  const int whole = std::max(0, (home.height() - header - 2 * frameWidth()) / rh);
  int h = home.height();
  if (whole < Rows() - 1) h = HeightForRows(std::max(1, whole));  // cut to the last whole row
  setGeometry(home.x(), home.y(), FullWidth(), h);
}

void CEditGrid::SetEnabledLook(bool enabled) {
  enabledLook_ = enabled;
  model_->SetHeaderLook(enabled);
  QHeaderView* header = horizontalHeader();
  if (enabled) {
    header->setPalette(QPalette());
  } else {
    QPalette p = header->palette();
    p.setColor(QPalette::Button, palette().color(QPalette::Inactive, QPalette::Mid));
    p.setColor(QPalette::ButtonText, palette().color(QPalette::Disabled, QPalette::Text));
    header->setPalette(p);
  }
  if (model_->Rows() > 1) Q_EMIT model_->dataChanged(model_->index(0, 0), model_->index(model_->Rows() - 2, model_->Cols() - 1));
  header->viewport()->update();
  viewport()->update();
}

void CEditGrid::MoveRelative(QWidget* control, int anchors) {
  if (!control) return;
  const QRect g = geometry();
  const QRect c = control->geometry();
  anchored_.push_back({control, anchors, c.left() - g.right(), c.right() - g.right(), c.top() - g.bottom(),
                       c.bottom() - g.bottom()});
}

void CEditGrid::MoveAnchored() {
  const QRect g = geometry();
  for (const Anchored& a : anchored_) {
    if (!a.control) continue;
    QRect c = a.control->geometry();
    if (a.anchors & kAnchorRight) c.moveLeft(g.right() + a.left);
    if (a.anchors & kAnchorRightEdge) c.setRight(g.right() + a.right);
    if ((a.anchors & kAnchorTop) && (a.anchors & kAnchorBottom)) c.moveTop(g.bottom() + a.top);
    else if (a.anchors & kAnchorTop) c.setTop(g.bottom() + a.top);
    else if (a.anchors & kAnchorBottom) c.setBottom(g.bottom() + a.bottom);
    a.control->setGeometry(c);
  }
}

// ---- pop-up menu ----------------------------------------------------------------

bool CEditGrid::PopupAllowed(int row) const {
  if (!rowSelect_) return false;
  int first, last;
  SelectedRows(first, last);
  if (row == 0) return first == 1 && last == Rows() - 1;
  return row >= first && row <= last;
}

QMenu* CEditGrid::BuildPopupMenu(bool longMenu, bool canPaste, bool noCopy, QWidget* parent) const {
  auto* menu = new QMenu(parent ? parent : const_cast<CEditGrid*>(this));
  auto label = [this](int entry, const char* fallback) {
    const QString t = text_ ? QString::fromStdString(text_->Text(entry)) : QString();
    return t.isEmpty() ? QString::fromLatin1(fallback) : t;
  };
  QAction* copy = menu->addAction(label(104, "&Copy"));
  copy->setData(kCmdGridCopy);
  QAction* paste = menu->addAction(label(105, "&Paste"));
  paste->setData(kCmdGridPaste);
  QAction* del = menu->addAction(label(106, "&Delete"));
  del->setData(kCmdGridDelete);
  if (!canPaste) paste->setEnabled(false);
  if (!longMenu && noCopy) {
    copy->setEnabled(false);
    paste->setEnabled(false);
  }
  if (longMenu) {
    menu->addSeparator();
    menu->addAction(label(107, "to Clip"))->setData(kCmdGridToClip);
    menu->addAction(label(108, "to Clip(w/Title)"))->setData(kCmdGridToClipTitle);
  }
  return menu;
}

int CEditGrid::RunPopupMenu(const QPoint& globalPos, bool longMenu, bool canPaste, bool noCopy) {
  const bool foreign = ClipboardHasForeignText();
  QMenu* menu = BuildPopupMenu(longMenu, canPaste || foreign, noCopy && !foreign);
  QAction* chosen = menu->exec(globalPos);
  const int cmd = chosen ? chosen->data().toInt() : 0;
  menu->deleteLater();
  if (cmd == kCmdGridCopy) CopySelectionText(false);
  if (cmd == kCmdGridPaste && foreign) {
    PasteText(QApplication::clipboard()->text());
    return 0;
  }
  return cmd;
}

}  // namespace vb420
