// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/grid/FieldGrid.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "lang/TextTable.h"

namespace vb420 {

using forms::ControlKind;
using forms::Encoding;
using forms::FieldDescriptor;
using forms::FormEngine;

namespace {

constexpr int kNumberCaption = 359;
// "%s cells could not be stored..." after a paste from another program.
constexpr int kPasteRefusedEntry = 1186;
constexpr int kPasteEntry = 105;  // "&Paste"

// A menu or label text without its access key mark and shortcut column.
QString PlainLabel(const std::string& text) {
  QString t = QString::fromStdString(text).section(QLatin1Char('\t'), 0, 0);
  t.remove(QLatin1Char('&'));
  return t.trimmed();
}

QString& PendingStepName() {
  static QString name;
  return name;
}

bool IsList(const FieldDescriptor& d) { return d.kind == ControlKind::Combo || d.kind == ControlKind::Check; }

}  // namespace

CFieldGrid::CFieldGrid(RadioData& data, TextTable& text, Binder binder, std::vector<Column> columns, int rows,
                       QWidget* parent)
    : CEditGrid(parent), data_(data), text_(text), binder_(std::move(binder)), columns_(std::move(columns)) {
  Build(rows);
}

CFieldGrid::CFieldGrid(RadioData& data, TextTable& text, bool voting, std::unique_ptr<forms::RecordLocator> locator,
                       std::vector<Column> columns, int rows, int page, QWidget* parent)
    : CEditGrid(parent), data_(data), text_(text), columns_(std::move(columns)) {
  std::shared_ptr<forms::RecordLocator> shared(std::move(locator));
  binder_ = [&data, &text, voting, shared, page](int row) -> std::unique_ptr<forms::BoundRecord> {
    return std::make_unique<forms::CursorRecord>(data, text, voting, forms::RecordCursor{page, row - 1}, shared.get());
  };
  Build(rows);
}

CFieldGrid::~CFieldGrid() = default;

void CFieldGrid::Build(int rows) {
  SetTextTable(&text_);
  const int cols = static_cast<int>(columns_.size()) + 1;
  SetSize(rows + 1, cols);
  desc_.push_back({kNumberCaption, 36, kAlignCentre, 1});
  for (const Column& c : columns_)
    desc_.push_back({c.captionEntry >= 0 ? c.captionEntry : c.field->labelEntry, c.width, c.alignment, c.fixedFont ? 0 : 1});
  SetupColumns(desc_.data(), 0, cols);
  NumberRows(1);
  Model()->SetRowFiller(
      [this](int row, std::vector<QString>& cells, std::vector<char>& grey) { FillRow(row, cells, grey); });
  Refill();  // rows are read when first shown

  // Text pasted from a spreadsheet goes in cell by cell, as if typed (into
  // a grid that takes typed values at all).
  if (std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.field->kind != ControlKind::Static; }))
    SetCellStore([this](int row, int col, const QString& text) { return StoreCellText(row, col, text); },
               [this](int refused) {
                 NameNextStep(PlainLabel(text_.Text(kPasteEntry)));
                 Refill();
                 Q_EMIT Stored(Row(), 0);
                 if (refused > 0 && notice_)
                   notice_(QString::fromStdString(text_.Text(kPasteRefusedEntry))
                               .replace(QStringLiteral("%s"), QString::number(refused)));
               });

  connect(this, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { Open(e, false); });
  connect(this, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) { Open(nullptr, true); });
  connect(this, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers mods) { LeaveKey(key, mods); });
  connect(this, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    // A message box or a pop-up list taking the keyboard is no leave.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitEdit();
  });
  connect(this, &CEditGrid::KeyToView, this, [this](QKeyEvent* e) { ViewKey(e); });
  connect(this, &CEditGrid::ContextMenuAsked, this, [this](const QPoint& at, int row) { Popup(at, row); });
}

void CFieldGrid::SetRowCount(int rows) {
  if (EditorKindOpen()) HideEditor(false);
  if (Rows() == rows + 1) return;
  SetSize(rows + 1, Cols());
  SetupColumns(desc_.data(), 0, static_cast<int>(desc_.size()));
  NumberRows(1);
}

void CFieldGrid::SetNumberColumn(int captionEntry, int width) {
  desc_[0] = {captionEntry, width, kAlignCentre, 1};
  SetupColumns(desc_.data(), 0, static_cast<int>(desc_.size()));
  NumberRows(1);
}

CFilterEdit* CFieldGrid::CellEdit() const {
  if (!edit_) {
    auto* self = const_cast<CFieldGrid*>(this);
    edit_ = new CFilterEdit(self);
    edit_->setObjectName("cellEdit");
    edit_->hide();
  }
  return edit_;
}

QComboBox* CFieldGrid::CellList() const {
  if (!list_) {
    auto* self = const_cast<CFieldGrid*>(this);
    list_ = new QComboBox(self);
    list_->setObjectName("cellList");
    list_->hide();
    connect(list_, &QComboBox::activated, self, [self](int) {
      self->CommitEdit();
      self->setFocus();
    });
  }
  return list_;
}

CToneCombo* CFieldGrid::CellCombo() const {
  if (!combo_) {
    auto* self = const_cast<CFieldGrid*>(this);
    combo_ = new CToneCombo(self);
    combo_->setObjectName("cellTone");
    combo_->Edit()->SetInCell(true);
    combo_->hide();
    // Enter, Escape and the other leaving keys of the combo's edit part.
    connect(combo_->Edit(), &CFilterEdit::KeyLeaving, self, [self](int key, Qt::KeyboardModifiers mods) {
      if (key > 0 && self->EditorKindOpen()) self->LeaveKey(key, mods);
    });
  }
  return combo_;
}

const FieldDescriptor* CFieldGrid::Field(int col) const {
  if (col < 1 || col > static_cast<int>(columns_.size())) return nullptr;
  return columns_[static_cast<size_t>(col - 1)].field;
}

void CFieldGrid::ClaimCommands(std::vector<int> commands, CommandRunner run) {
  claimed_ = std::move(commands);
  run_ = std::move(run);
}

bool CFieldGrid::Claims(int command) const {
  return run_ && std::find(claimed_.begin(), claimed_.end(), command) != claimed_.end();
}

void CFieldGrid::SetPopup(bool longMenu, std::function<bool()> canPaste) {
  longMenu_ = longMenu;
  canPaste_ = std::move(canPaste);
}

bool CFieldGrid::RowExists(int row) const {
  if (row < 1 || row >= Rows()) return false;
  if (rowTest_) return rowTest_(row);
  auto rec = binder_(row);
  forms::FormEngine::Place place;
  bool anyBase = false;
  for (const Column& c : columns_) {
    if (c.field->field.base == forms::RecordBase::None) continue;
    anyBase = true;
    if (FormEngine::Resolve(rec->Context(), c.field->field, place)) return true;
  }
  return !anyBase;
}

bool CFieldGrid::CellEditable(int row, int col) const {
  const FieldDescriptor* d = Field(col);
  if (!d || d->kind == ControlKind::Static || row < 1 || row >= Rows() || !EnabledLook()) return false;
  if (!RowExists(row)) return d->recordKey;
  auto rec = binder_(row);
  return FormEngine::Enabled(rec->Context(), forms::FormPage{}, *d);
}

void CFieldGrid::FillRow(int row, std::vector<QString>& cells, std::vector<char>& grey) const {
  if (!RowExists(row)) return;  // empty cells: the record-key column makes the record
  auto rec = binder_(row);
  const forms::FormContext& ctx = rec->Context();
  for (size_t c = 0; c < columns_.size(); ++c) {
    const FieldDescriptor& d = *columns_[c].field;
    cells[c + 1] = QString::fromStdString(forms::SettingText(ctx, d));
    grey[c + 1] = FormEngine::Enabled(ctx, forms::FormPage{}, d) ? 0 : 1;
  }
}

int CFieldGrid::EditLength(const forms::FormContext& ctx, const FieldDescriptor& d) const {
  int limit = d.maxLength;
  if (d.encoding == Encoding::Name || (d.encoding == Encoding::Custom && d.textWidth > 0 && limit == 0))
    limit = FormEngine::TextWidth(ctx, d);
  if (d.encoding == Encoding::Digits) limit = d.textWidth * 2;
  return limit > 0 ? limit : 32767;
}

void CFieldGrid::Open(QKeyEvent* key, bool enter) {
  if (EditorKindOpen() || !EnabledLook()) return;
  int row = Row();
  int col = Col();
  if (row < 1 || col < 1 || col > static_cast<int>(columns_.size())) return;
  if (!RowExists(row) && !Field(col)->recordKey) {
    // A row without its record starts with the column that makes it.
    for (int c = 1; c <= static_cast<int>(columns_.size()); ++c)
      if (Field(c)->recordKey) {
        col = c;
        enter = false;
        break;
      }
  }
  if (openCheck_) {
    const int askedRow = row, askedCol = col;
    if (!openCheck_(row, col)) return;
    if (row != askedRow || col != askedCol) enter = false;
  }
  if (row != Row() || col != Col()) SetCurrent(row, col);
  const FieldDescriptor& d = *Field(col);
  if (d.kind == ControlKind::Static) return;  // shown only
  auto rec = binder_(row);
  const forms::FormContext& ctx = rec->Context();
  if (RowExists(row) ? !FormEngine::Enabled(ctx, forms::FormPage{}, d) : !d.recordKey) return;
  const QString current = enter ? Text(row, col) : QString();
  const QString heading = Text(0, col);
  const bool backspace = key && key->key() == Qt::Key_Backspace;
  auto replay = [key, backspace](QWidget* target) {
    if (!key || backspace) return;
    QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
    QCoreApplication::sendEvent(target, &copy);
  };
  if (IsList(d)) {
    const auto texts = FormEngine::ChoiceTexts(ctx, d);
    if (key && key->key() == Qt::Key_Space && texts.size() == 2) {
      // Space flips a mark of two rows (yes and no, on and off) at once.
      const int now = FormEngine::CurrentRow(ctx, d);
      auto flip = binder_(row);
      flip->Context().message = 0;
      FormEngine::StoreRow(flip->Context(), d, now == 0 ? 1 : 0);
      AfterStore(row, col, flip->Context().message);
      return;
    }
    // A typed letter picks the first row that starts with it; a letter no
    // row starts with opens nothing.
    int picked = -1;
    if (key && !key->text().isEmpty() && !backspace) {
      for (size_t i = 0; i < texts.size() && picked < 0; ++i)
        if (QString::fromStdString(texts[i]).startsWith(key->text(), Qt::CaseInsensitive)) picked = static_cast<int>(i);
      if (picked < 0) return;
    }
    CellList()->clear();
    for (const std::string& t : texts) CellList()->addItem(QString::fromStdString(t));
    CellList()->setAccessibleName(heading);
    ShowList(CellList(), Text(row, col), true);
    if (picked >= 0) CellList()->setCurrentIndex(picked);
    return;
  }
  if (d.kind == ControlKind::EditCombo) {
    CellCombo()->clear();
    for (const std::string& t : FormEngine::ChoiceTexts(ctx, d)) CellCombo()->addItem(QString::fromStdString(t));
    CellCombo()->Edit()->SetInputMode(FormEngine::InputMode(ctx, d));
    CellCombo()->Edit()->SetDecimalSeparator(data_.field.DecimalSeparator());
    CellCombo()->Edit()->setMaxLength(EditLength(ctx, d));
    CellCombo()->setAccessibleName(heading);
    ShowCombo(CellCombo(), current, true);
    if (key) {
      CellCombo()->setEditText(QString());
      replay(CellCombo()->lineEdit());
    }
    return;
  }
  CellEdit()->SetInputMode(FormEngine::InputMode(ctx, d));
  CellEdit()->SetDecimalSeparator(data_.field.DecimalSeparator());
  CellEdit()->setMaxLength(EditLength(ctx, d));
  // A key the field cannot take opens nothing (letters in a number).
  if (key && !backspace && (key->text().isEmpty() || !CellEdit()->Accepts(key->text().at(0)))) return;
  CellEdit()->setAccessibleName(heading);
  ShowEdit(CellEdit(), current, true);
  if (key) {
    CellEdit()->clear();
    replay(CellEdit());
  }
}

void CFieldGrid::LeaveKey(int key, Qt::KeyboardModifiers mods) {
  if (key == Qt::Key_Escape) {
    CancelEdit();
    setFocus();
    return;
  }
  if ((mods & Qt::AltModifier) && (key == Qt::Key_Up || key == Qt::Key_Down)) {
    Spin(key == Qt::Key_Up ? 1 : -1);
    return;
  }
  const int row = EditRow();
  CommitEdit();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) Advance(1, mods);
  else if (key == Qt::Key_Backtab) SetCurrent(row, std::max(1, Col() - 1));
  else if (key == Qt::Key_Up) SetCurrent(std::max(1, row - 1), Col());
  else if (key == Qt::Key_Down) SetCurrent(std::min(Rows() - 1, row + 1), Col());
  else if (key == Qt::Key_PageUp) PageUp();
  else if (key == Qt::Key_PageDown) PageDown();
  setFocus();
}

void CFieldGrid::Spin(int direction) {
  // A number's spin step, from what the box holds: the value is stored and
  // the box shows the stepped value, still open.
  if (EditorKindOpen() != kEditBox) return;
  const int row = EditRow();
  const int col = EditCol();
  const FieldDescriptor& d = *Field(col);
  if (d.kind != ControlKind::EditSpin || !RowExists(row)) return;
  auto rec = binder_(row);
  std::string t = CellEdit()->text().toStdString();
  if (CellEdit()->text() != SavedCellText() && !rec->StoreText(d, t)) return;
  FormEngine::Spin(rec->Context(), d, direction);
  const QString shown = QString::fromStdString(forms::SettingText(rec->Context(), d));
  CellEdit()->setText(shown);
  NameStep(row, col);
  Model()->RefillRow(row);
  Q_EMIT Stored(row, col);
}

void CFieldGrid::CommitEdit() {
  const int kind = EditorKindOpen();
  if (!kind) return;
  const int row = EditRow();
  const int col = EditCol();
  const FieldDescriptor& d = *Field(col);
  const QString saved = SavedCellText();
  auto rec = binder_(row);
  forms::FormContext& ctx = rec->Context();
  ctx.message = 0;
  if (kind == kDropList) {
    const int chosen = CellList()->currentIndex();
    HideEditor(false);
    if (chosen < 0 || (CellList()->itemText(chosen) == saved && FormEngine::CurrentRow(ctx, d) == chosen)) {
      Model()->RefillRow(row);
      return;
    }
    FormEngine::StoreRow(ctx, d, chosen);
  } else if (kind == kEditCombo) {
    const QString typed = CellCombo()->currentText();
    const int i = CellCombo()->currentIndex();
    HideEditor(false);
    if (typed == saved) {
      SetText(row, col, saved);
      return;
    }
    // A typed text goes through the field's rule even when it equals a row.
    if (!CellCombo()->Edit()->UserTyped() && i >= 0 && CellCombo()->itemText(i) == typed) {
      FormEngine::StoreRow(ctx, d, i);
    } else {
      std::string t = typed.toStdString();
      rec->StoreText(d, t);
    }
  } else {
    const QString typed = CellEdit()->text();
    HideEditor(false);
    if (typed == saved) {
      SetText(row, col, saved);
      return;
    }
    std::string t = typed.toStdString();
    rec->StoreText(d, t);
  }
  AfterStore(row, col, ctx.message);
}

void NameNextStep(const QString& name) { PendingStepName() = name; }

QString TakeNextStepName() {
  QString name;
  name.swap(PendingStepName());
  return name;
}

void CFieldGrid::NameStep(int row, int col) const {
  const FieldDescriptor* d = Field(col);
  if (!d) return;
  const QString label = PlainLabel(d->labelEntry >= 0 ? text_.Text(d->labelEntry) : d->labelText);
  const QString record = recordName_ ? recordName_(row) : QString();
  NameNextStep(record.isEmpty() ? label : record + QLatin1Char(' ') + label);
}

void CFieldGrid::AfterStore(int row, int col, int message) {
  // The row shows what was stored; the window refreshes what else depends
  // on it.
  NameStep(row, col);
  Model()->RefillRow(row);
  Q_EMIT Stored(row, col);
  if (message && notice_) notice_(QString::fromStdString(text_.Text(message)));
}

bool CFieldGrid::TypedAsInTheCell(const QString& pasted, int mode, int maxLength, QString& typed) const {
  // The characters go through the cell's own input filter one by one, as
  // typing them would; a character the cell would not take refuses the cell
  // (rather than storing the text without it).
  probe_->SetInputMode(mode);
  probe_->SetDecimalSeparator(data_.field.DecimalSeparator());
  typed.clear();
  probe_->clear();
  bool synced = true;
  for (const QChar c : pasted) {
    // Whether a digit is taken never depends on what stands before it; other
    // characters (a second decimal point, a suffix letter) may.
    if (!c.isDigit() && !synced) {
      probe_->setText(typed);
      probe_->setCursorPosition(static_cast<int>(typed.size()));
      synced = true;
    }
    QChar replacement = c;
    if (!probe_->Accepts(c, &replacement)) return false;
    typed += replacement;
    synced = false;
  }
  return typed.size() <= maxLength;
}

bool CFieldGrid::StoreCellText(int row, int col, const QString& text) {
  if (!CellEditable(row, col)) return false;
  const FieldDescriptor& d = *Field(col);
  auto rec = binder_(row);
  forms::FormContext& ctx = rec->Context();
  const QString wanted = text.trimmed();
  auto rowOf = [&](const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i)
      if (QString::fromStdString(texts[i]).trimmed().compare(wanted, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
  };
  if (IsList(d)) {
    const int r = rowOf(FormEngine::ChoiceTexts(ctx, d));
    if (r < 0) return false;
    FormEngine::StoreRow(ctx, d, r);
    return true;
  }
  if (d.kind == ControlKind::EditCombo && rowOf(FormEngine::ChoiceTexts(ctx, d)) >= 0) {
    // A row's text is typed as it stands (a tone list row's text is a tone
    // the box takes), with the typing rules that follow from it.
    std::string t = wanted.toStdString();
    return rec->StoreText(d, t) && !ctx.refused;
  }
  if (!probe_) {
    probe_ = new CFilterEdit(this);
    probe_->setObjectName(QStringLiteral("pasteProbe"));
    probe_->hide();
  }
  QString typed;
  if (!TypedAsInTheCell(wanted, FormEngine::InputMode(ctx, d), EditLength(ctx, d), typed)) return false;
  std::string t = typed.toStdString();
  return rec->StoreText(d, t) && !ctx.refused;
}

void CFieldGrid::ClearCells() {
  if (!EnabledLook()) return;
  int first = Row(), last = Row(), c0 = Col(), c1 = Col();
  if (RowSelectState()) {
    SelectedRows(first, last);
    c0 = 1;
    c1 = static_cast<int>(columns_.size());
  }
  bool any = false;
  for (int r = std::max(first, 1); r <= last && r < Rows(); ++r) {
    // The record's other fields first: the column that makes the record
    // removes it when emptied.
    for (int c = c1; c >= c0; --c) {
      const FieldDescriptor* d = Field(c);
      if (!d || IsList(*d) || !RowExists(r) || !CellEditable(r, c) || Text(r, c).isEmpty()) continue;
      auto rec = binder_(r);
      std::string t;
      if (rec->StoreText(*d, t) && !rec->Context().refused) any = true;
    }
  }
  if (any && c0 == c1) NameStep(first, c0);
  Refill();
  if (any) Q_EMIT Stored(first, c0 == c1 ? c0 : 0);
}

bool CFieldGrid::ClaimsKey(const QKeyEvent* e) const {
  if (EditorKindOpen()) return false;
  if (e->matches(QKeySequence::Copy)) return Claims(kCmdGridCopy);
  if (e->matches(QKeySequence::Paste)) return Claims(kCmdGridPaste) || ClipboardHasForeignText();
  if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) return true;
  return false;
}

void CFieldGrid::ViewKey(QKeyEvent* e) {
  int command = 0;
  if (e->matches(QKeySequence::Copy)) command = kCmdGridCopy;
  else if (e->matches(QKeySequence::Paste)) command = kCmdGridPaste;
  else if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) command = kCmdGridDelete;
  if (!command) {
    e->ignore();
    return;
  }
  e->accept();
  if (command == kCmdGridCopy) {
    // The cells went to the clipboard already; the window's own copy too.
    if (Claims(kCmdGridCopy)) run_(kCmdGridCopy);
    return;
  }
  RunCommand(command);
}

void CFieldGrid::RunCommand(int command) {
  CommitEdit();
  switch (command) {
    case kCmdGridDelete:
      // Whole rows go by the window's command; a cell is emptied.
      if (RowSelectState() && Claims(kCmdGridDelete)) run_(kCmdGridDelete);
      else ClearCells();
      return;
    case kCmdGridPaste:
      if (ClipboardHasForeignText()) PasteText(QApplication::clipboard()->text());
      else if (Claims(kCmdGridPaste)) run_(kCmdGridPaste);
      return;
    case kCmdGridCopy:
      if (Claims(kCmdGridCopy)) run_(kCmdGridCopy);
      return;
    case kCmdGridToClip:
    case kCmdGridToClipTitle:
      CopySelectionText(command == kCmdGridToClipTitle);
      SetRowSelectMode(false);
      return;
    default:
      if (Claims(command)) run_(command);
      return;
  }
}

void CFieldGrid::Popup(const QPoint& globalPos, int row) {
  if (!PopupAllowed(row)) return;
  const bool canPaste = canPaste_ ? canPaste_() : false;
  const bool noCopy = !Claims(kCmdGridCopy) && !longMenu_;
  if (const int command = RunPopupMenu(globalPos, longMenu_, canPaste, noCopy)) {
    if (command == kCmdGridPaste && !Claims(kCmdGridPaste)) return;
    RunCommand(command);
  }
}

}  // namespace vb420
