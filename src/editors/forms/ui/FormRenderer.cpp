// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/forms/ui/FormRenderer.h"

#include <algorithm>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "editors/grid/FilterEdit.h"
#include "editors/grid/FitCombo.h"
#include "lang/TextTable.h"

namespace vb420 {

using forms::ControlKind;
using forms::FormEngine;

CSpinButtons::CSpinButtons(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  // Never squeezed below its two arrows.
  setMinimumSize(16, 22);
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(16, 11);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    box->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Q_EMIT Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Q_EMIT Step(-1); });
}

namespace {

// The width of an edit box that shows `text` pixels of text whole: its frame
// and the margins a line edit keeps around its text.
int BoxWidthFor(const QLineEdit* edit, int text) {
  const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return text + 2 * frame + edit->textMargins().left() + edit->textMargins().right() + 4 + 2;
}

}  // namespace

CFormRenderer::CFormRenderer(forms::FormContext& ctx, std::vector<forms::FormPage> pages, QWidget* parent,
                             int rowsPerColumn)
    : QWidget(parent), ctx_(ctx), pages_(std::move(pages)), rowsPerColumn_(std::max(1, rowsPerColumn)) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  slots_.resize(pages_.size());
  if (pages_.size() == 1) {
    pageWidgets_.push_back(BuildPage(0));
    outer->addWidget(pageWidgets_[0]);
  } else {
    tabs_ = new QTabWidget(this);
    for (size_t p = 0; p < pages_.size(); ++p) {
      pageWidgets_.push_back(BuildPage(static_cast<int>(p)));
      tabs_->addTab(pageWidgets_.back(), QString::fromStdString(ctx_.text.Text(pages_[p].tabEntry)));
    }
    outer->addWidget(tabs_);
    // A page coming to the front shows what the image holds now and which
    // of its controls apply.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { Refresh(); });
  }
  for (size_t p = 0; p < pages_.size(); ++p)
    for (size_t i = 0; i < pages_[p].fields.size(); ++i) Wire(static_cast<int>(p), static_cast<int>(i));
  Refresh();
}

QWidget* CFormRenderer::BuildPage(int page) {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(4);
  const auto& fields = pages_[static_cast<size_t>(page)].fields;
  const int rowsPerColumn = pages_[static_cast<size_t>(page)].rowsPerColumn > 0 ? pages_[static_cast<size_t>(page)].rowsPerColumn
                                                                                : rowsPerColumn_;
  auto& pageSlots = slots_[static_cast<size_t>(page)];
  pageSlots.resize(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) {
    const forms::FieldDescriptor& d = fields[i];
    Slot& s = pageSlots[i];
    QWidget* cell = nullptr;  // what the grid holds when more than the control
    const int row = static_cast<int>(i) % rowsPerColumn;
    const int col = 2 * (static_cast<int>(i) / rowsPerColumn);
    // A text entry, a literal, or both ("Option Settings 0x81E").
    QString label = d.labelEntry >= 0 ? QString::fromStdString(ctx_.text.Text(d.labelEntry)) : QString();
    if (!d.labelText.empty()) label += (label.isEmpty() ? "" : " ") + QString::fromStdString(d.labelText);
    switch (d.kind) {
      case ControlKind::Caption: {
        s.label = new QLabel(label);
        QFont f = s.label->font();
        f.setBold(true);
        s.label->setFont(f);
        // A heading sits on the controls it heads, also beside a tall row.
        grid->addWidget(s.label, row, col, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
        continue;
      }
      case ControlKind::Check: {
        auto* cb = new QCheckBox(label);
        s.control = cb;
        grid->addWidget(cb, row, col + 1);
        continue;
      }
      case ControlKind::Button: {
        s.control = new QPushButton(label);
        grid->addWidget(s.control, row, col + 1);
        continue;
      }
      default: break;
    }
    if (!label.isEmpty()) {
      s.label = new QLabel(label);
      grid->addWidget(s.label, row, col);
    }
    switch (d.kind) {
      case ControlKind::Combo: {
        // As wide as its longest item, and never narrower, in a tiled
        // window too.
        auto* c = new CFitCombo;
        c->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        s.control = c;
        break;
      }
      case ControlKind::EditCombo: {
        // As wide as the items its list holds now (they follow other fields).
        auto* c = new CFitCombo;
        s.edit = new CFilterEdit;
        c->SetEditor(s.edit);
        // No inline completion from the list: a typed value is stored as typed.
        c->setCompleter(nullptr);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        s.control = c;
        if (d.encoding == forms::Encoding::Number) {
          // A number: stepped with arrows beside the list as in a number box.
          auto* box = new QWidget;
          auto* h = new QHBoxLayout(box);
          h->setContentsMargins(0, 0, 0, 0);
          h->setSpacing(1);
          s.spin = new CSpinButtons;
          h->addWidget(c);
          h->addWidget(s.spin);
          h->addStretch();
          cell = box;
        }
        break;
      }
      case ControlKind::EditSpin: {
        auto* box = new QWidget;
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(1);
        s.edit = new CFilterEdit;
        s.edit->setMaximumWidth(90);
        // Never narrower than its longest value, a number or a name it steps
        // through ("Default", "Off"), in every language.
        {
          const QFontMetrics fm = s.edit->fontMetrics();
          int widest = std::max(fm.horizontalAdvance(QString::number(d.maximum)), fm.horizontalAdvance(QString::number(d.minimum)));
          for (const forms::Choice& c : d.choices)
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(
                                          c.textEntry >= 0 ? ctx_.text.Text(c.textEntry) : c.literal)));
          if (d.emptyTextEntry >= 0)
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(ctx_.text.Text(d.emptyTextEntry))));
          const int needed = BoxWidthFor(s.edit, widest);
          s.edit->setMinimumWidth(needed);
          s.edit->setMaximumWidth(std::max(90, needed));
        }
        s.spin = new CSpinButtons;
        h->addWidget(s.edit);
        h->addWidget(s.spin);
        h->addStretch();
        s.control = box;
        break;
      }
      case ControlKind::Text:
        s.edit = new CFilterEdit;
        s.control = s.edit;
        // A box for a few characters is as wide as they need, and no narrower.
        if (d.maxLength > 0 && d.maxLength <= 4) {
          s.edit->setMaximumWidth(s.edit->fontMetrics().horizontalAdvance(QString(d.maxLength + 2, QLatin1Char('W'))));
          s.edit->setMinimumWidth(BoxWidthFor(s.edit, s.edit->fontMetrics().horizontalAdvance(QString(d.maxLength, QLatin1Char('W')))));
        }
        break;
      case ControlKind::List: {
        // An embedded list: one row per row descriptor, its label in the
        // first column and its value, typed into the cell, in the second.
        auto* t = new QTableWidget(static_cast<int>(d.listRows.size()), 2);
        QStringList heads;
        for (int e : d.listHeadEntries) heads << (e >= 0 ? QString::fromStdString(ctx_.text.Text(e)) : QString());
        t->setHorizontalHeaderLabels(heads);
        t->verticalHeader()->hide();
        t->horizontalHeader()->setStretchLastSection(true);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
        for (int r = 0; r < t->rowCount(); ++r) {
          const auto& rd = d.listRows[static_cast<size_t>(r)];
          auto* head = new QTableWidgetItem(rd.labelEntry >= 0 ? QString::fromStdString(ctx_.text.Text(rd.labelEntry))
                                                               : QString::fromStdString(rd.labelText));
          head->setFlags(Qt::ItemIsEnabled);
          t->setItem(r, 0, head);
          t->setItem(r, 1, new QTableWidgetItem);
        }
        t->resizeColumnsToContents();
        t->setMinimumHeight(t->horizontalHeader()->height() + t->rowCount() * t->verticalHeader()->defaultSectionSize() + 4);
        t->setMaximumHeight(t->minimumHeight());
        s.control = t;
        break;
      }
      default:
        s.control = new QLabel;
        break;
    }
    if (s.edit) {
      s.edit->SetInputMode(FormEngine::InputMode(ctx_, d));
      s.edit->SetDecimalSeparator(ctx_.data.field.DecimalSeparator());
      int limit = d.maxLength;
      if (limit <= 0 && (d.encoding == forms::Encoding::Name || d.encoding == forms::Encoding::LengthText))
        limit = FormEngine::TextWidth(ctx_, d);
      if (limit <= 0 && d.encoding == forms::Encoding::Digits) limit = d.textWidth * 2;
      if (limit > 0) s.edit->setMaxLength(limit);
      if (s.label) s.label->setBuddy(s.edit);
    } else if (s.label) {
      s.label->setBuddy(s.control);
    }
    grid->addWidget(cell ? cell : s.control, row, col + 1);
  }
  grid->setRowStretch(rowsPerColumn, 1);
  grid->setColumnStretch(grid->columnCount(), 1);
  return w;
}

void CFormRenderer::WireSpin(int page, int index) {
  Slot& s = slots_[static_cast<size_t>(page)][static_cast<size_t>(index)];
  connect(s.spin, &CSpinButtons::Step, this, [this, page, index](int dir) {
    const auto& dd = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
    if (!FormEngine::Enabled(ctx_, pages_[static_cast<size_t>(page)], dd)) return;
    FormEngine::Spin(ctx_, dd, dir);
    AfterStore(page, index);
  });
}

void CFormRenderer::Wire(int page, int index) {
  Slot& s = slots_[static_cast<size_t>(page)][static_cast<size_t>(index)];
  const forms::FieldDescriptor& d = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
  switch (d.kind) {
    case ControlKind::Combo: {
      auto* c = static_cast<QComboBox*>(s.control);
      // A list choice is stored as soon as the selection changes.
      connect(c, &QComboBox::currentIndexChanged, this, [this, page, index, c](int row) {
        if (refreshing_ || row < 0) return;
        const auto& dd = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
        FormEngine::StoreRow(ctx_, dd, c->itemData(row).toInt());
        AfterStore(page, index);
      });
      break;
    }
    case ControlKind::EditCombo: {
      auto* c = static_cast<QComboBox*>(s.control);
      connect(c, &QComboBox::activated, this, [this, page, index, c](int row) {
        if (refreshing_ || row < 0) return;
        const auto& dd = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
        FormEngine::StoreRow(ctx_, dd, c->itemData(row).toInt());
        AfterStore(page, index);
      });
      connect(s.edit, &QLineEdit::editingFinished, this, [this, page, index] { StoreTyped(page, index); });
      if (s.spin) WireSpin(page, index);
      break;
    }
    case ControlKind::EditSpin:
      connect(s.edit, &QLineEdit::editingFinished, this, [this, page, index] { StoreTyped(page, index); });
      WireSpin(page, index);
      s.edit->installEventFilter(this);
      break;
    case ControlKind::Text:
      connect(s.edit, &QLineEdit::editingFinished, this, [this, page, index] { StoreTyped(page, index); });
      break;
    case ControlKind::Check: {
      auto* cb = static_cast<QCheckBox*>(s.control);
      connect(cb, &QCheckBox::clicked, this, [this, page, index](bool checked) {
        const auto& dd = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
        FormEngine::StoreChecked(ctx_, dd, checked);
        AfterStore(page, index);
      });
      break;
    }
    case ControlKind::Button:
      connect(static_cast<QPushButton*>(s.control), &QPushButton::clicked, this,
              [this, page, index] { Q_EMIT ButtonClicked(page, index); });
      break;
    case ControlKind::List: {
      auto* t = static_cast<QTableWidget*>(s.control);
      connect(t, &QTableWidget::itemChanged, this, [this, page, index](QTableWidgetItem* item) {
        if (refreshing_ || !item || item->column() != 1) return;
        const auto& dd = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
        if (item->row() < 0 || item->row() >= static_cast<int>(dd.listRows.size())) return;
        const auto& rd = dd.listRows[static_cast<size_t>(item->row())];
        if (!FormEngine::Enabled(ctx_, pages_[static_cast<size_t>(page)], rd)) return;
        std::string text = item->text().toStdString();
        if (rd.encoding != forms::Encoding::Scaled) text = ctx_.data.field.DelocalizeDecimal(text);
        FormEngine::StoreText(ctx_, rd, text);
        AfterStore(page, index);
      });
      break;
    }
    default: break;
  }
}

bool CFormRenderer::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down in the edit box of a spin step the value like the arrows.
  if (event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down) {
      for (size_t p = 0; p < slots_.size(); ++p)
        for (size_t i = 0; i < slots_[p].size(); ++i)
          if (slots_[p][i].edit == watched && slots_[p][i].spin) {
            Q_EMIT slots_[p][i].spin->Step(ke->key() == Qt::Key_Up ? 1 : -1);
            return true;
          }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CFormRenderer::StoreTyped(int page, int index) {
  if (refreshing_) return;
  Slot& s = slots_[static_cast<size_t>(page)][static_cast<size_t>(index)];
  const auto& d = pages_[static_cast<size_t>(page)].fields[static_cast<size_t>(index)];
  if (!s.edit || !FormEngine::Enabled(ctx_, pages_[static_cast<size_t>(page)], d)) return;
  std::string text = ctx_.data.field.DelocalizeDecimal(s.edit->text().toStdString());
  if (d.encoding == forms::Encoding::Scaled) text = s.edit->text().toStdString();
  const std::string shown = FormEngine::ShowText(ctx_, d);
  if (QString::fromStdString(shown) == s.edit->text()) return;  // nothing changed
  FormEngine::StoreText(ctx_, d, text);
  AfterStore(page, index);
}

void CFormRenderer::AfterStore(int page, int index) {
  Refresh();
  Q_EMIT Stored(page, index);
}

void CFormRenderer::ShowField(int page, int index) {
  Slot& s = slots_[static_cast<size_t>(page)][static_cast<size_t>(index)];
  const forms::FormPage& pg = pages_[static_cast<size_t>(page)];
  const auto& d = pg.fields[static_cast<size_t>(index)];
  const bool enabled = FormEngine::Enabled(ctx_, pg, d);
  if (s.label) s.label->setEnabled(enabled);
  if (s.control) s.control->setEnabled(enabled);
  if (s.spin) s.spin->setEnabled(enabled);
  switch (d.kind) {
    case ControlKind::Combo:
    case ControlKind::EditCombo: {
      auto* c = static_cast<QComboBox*>(s.control);
      const auto rows = FormEngine::Choices(ctx_, d);
      const int current = FormEngine::CurrentRow(ctx_, d);
      // Rows keep their position as item data (StoreRow takes a position).
      bool same = c->count() == static_cast<int>(rows.size());
      for (int i = 0; same && i < c->count(); ++i) {
        const std::string t = rows[static_cast<size_t>(i)].textEntry >= 0 ? ctx_.text.Text(rows[static_cast<size_t>(i)].textEntry)
                                                                          : rows[static_cast<size_t>(i)].literal;
        same = c->itemText(i) == QString::fromStdString(t);
      }
      if (!same) {
        c->clear();
        for (size_t i = 0; i < rows.size(); ++i) {
          const std::string t = rows[i].textEntry >= 0 ? ctx_.text.Text(rows[i].textEntry) : rows[i].literal;
          c->addItem(QString::fromStdString(t), static_cast<int>(i));
        }
      }
      c->setCurrentIndex(current);
      if (d.kind == ControlKind::EditCombo && (current < 0 || d.encoding != forms::Encoding::Value)) {
        // No row leaves the edit part empty, even while it has the focus: an
        // empty box would be stored as "none" when the editing finishes.
        if (current < 0 || !(s.edit && s.edit->hasFocus()))
          c->setEditText(QString::fromStdString(FormEngine::ShowText(ctx_, d)));
      }
      break;
    }
    case ControlKind::EditSpin:
    case ControlKind::Text:
      s.edit->setText(QString::fromStdString(FormEngine::ShowText(ctx_, d)));
      break;
    case ControlKind::Check:
      static_cast<QCheckBox*>(s.control)->setChecked(FormEngine::Checked(ctx_, d));
      break;
    case ControlKind::Static:
      if (auto* l = qobject_cast<QLabel*>(s.control)) l->setText(QString::fromStdString(FormEngine::ShowText(ctx_, d)));
      break;
    case ControlKind::List: {
      auto* t = static_cast<QTableWidget*>(s.control);
      for (int r = 0; r < t->rowCount() && r < static_cast<int>(d.listRows.size()); ++r) {
        const auto& rd = d.listRows[static_cast<size_t>(r)];
        QTableWidgetItem* item = t->item(r, 1);
        const QString text = QString::fromStdString(FormEngine::ShowText(ctx_, rd));
        if (item->text() != text) item->setText(text);
        const bool on = enabled && FormEngine::Enabled(ctx_, pg, rd);
        item->setFlags(on ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::ItemFlags());
      }
      break;
    }
    default: break;
  }
}

void CFormRenderer::Refresh() {
  refreshing_ = true;
  for (size_t p = 0; p < pages_.size(); ++p) {
    if (tabs_) tabs_->setTabVisible(static_cast<int>(p), FormEngine::PageShown(ctx_, pages_[p]));
    for (size_t i = 0; i < pages_[p].fields.size(); ++i) ShowField(static_cast<int>(p), static_cast<int>(i));
  }
  refreshing_ = false;
  KeepFocusSane();
}

void CFormRenderer::KeepFocusSane() {
  // A control that just became disabled must not keep the keyboard: move on
  // to the next enabled control of the page.
  QWidget* f = QApplication::focusWidget();
  if (!f || !isAncestorOf(f)) return;
  bool disabled = !f->isEnabled();
  for (QWidget* p = f; p && p != this && !disabled; p = p->parentWidget()) disabled = !p->isEnabled();
  if (!disabled) return;
  QWidget* next = f;
  for (int guard = 0; guard < 500; ++guard) {
    next = next->nextInFocusChain();
    if (!next || next == f) break;
    if (isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(this) && (next->focusPolicy() & Qt::TabFocus)) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  setFocus(Qt::OtherFocusReason);
}

void CFormRenderer::CommitPending() {
  QWidget* f = QApplication::focusWidget();
  for (size_t p = 0; p < slots_.size(); ++p)
    for (size_t i = 0; i < slots_[p].size(); ++i)
      if (slots_[p][i].edit && slots_[p][i].edit == f) StoreTyped(static_cast<int>(p), static_cast<int>(i));
}

QWidget* CFormRenderer::Control(int page, int index) const {
  if (page < 0 || page >= static_cast<int>(slots_.size())) return nullptr;
  const auto& s = slots_[static_cast<size_t>(page)];
  if (index < 0 || index >= static_cast<int>(s.size())) return nullptr;
  return s[static_cast<size_t>(index)].edit ? s[static_cast<size_t>(index)].edit : s[static_cast<size_t>(index)].control;
}

QLabel* CFormRenderer::Label(int page, int index) const {
  if (page < 0 || page >= static_cast<int>(slots_.size())) return nullptr;
  const auto& s = slots_[static_cast<size_t>(page)];
  return (index >= 0 && index < static_cast<int>(s.size())) ? s[static_cast<size_t>(index)].label : nullptr;
}

CSpinButtons* CFormRenderer::Spin(int page, int index) const {
  if (page < 0 || page >= static_cast<int>(slots_.size())) return nullptr;
  const auto& s = slots_[static_cast<size_t>(page)];
  return (index >= 0 && index < static_cast<int>(s.size())) ? s[static_cast<size_t>(index)].spin : nullptr;
}

void CFormRenderer::SetCurrentPage(int page) {
  if (tabs_) tabs_->setCurrentIndex(page);
}

int CFormRenderer::CurrentPage() const { return tabs_ ? tabs_->currentIndex() : 0; }

}  // namespace vb420
