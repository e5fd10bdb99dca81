// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/trunk/ui/TrunkViews.h"
#include "editors/zones/TrunkWriteChecks.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneFormBoxes.h"
#include "lang/HelpContexts.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {
constexpr int kPasteRefused = 1186;  // "%s cells could not be stored"

constexpr int kRows = zones::kMaxRepeaters + 1;
constexpr int kCols = 5;
// Grid column -> repeater field.
constexpr int kColumnField[kCols] = {0, 1, 2, 5, 6};
const ColumnDescriptor kColumns[kCols] = {
    {359, 40, kAlignCentre, 1}, {382, 80, kAlignRight, 1}, {383, 80, kAlignRight, 1},
    {429, 150, kAlignCentre, 1}, {469, 80, kAlignCentre, 1},
};

}  // namespace

CRepInfoView::CRepInfoView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::RepeaterInfo, parent), z_(ZonesOf(ctx)) {
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) zone_ = zi->Zone();
  if (auto* te = dynamic_cast<CTrunkEditView*>(ctx.frame.FindEditor(EditorKind::TrunkZoneEdit))) zone_ = te->Zone();
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, kClassLtr);
  fctx_ = std::make_unique<FormContext>(
      FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting, {zone_, -1}, locator_.get()});
  // Above the grid: the zone, and the header's home repeater and area.
  FormPage page;
  page.fields.push_back(ZoneNumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  for (const char* key : {"home", "area"}) page.fields.push_back(*zonefields::ByKey(ZoneTable::LtrHeader, key));
  form_ = new CFormRenderer(*fctx_, {page}, this, 1);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int index) {
    if (index != 0) Changed();
  });

  grid_ = new CEditGrid(this);
  grid_->setObjectName(QStringLiteral("repeaterGrid"));
  grid_->SetTextTable(&ctx.ws.text);
  grid_->SetSize(kRows, kCols);
  grid_->SetupColumns(kColumns, 0, kCols);
  grid_->NumberRows(1);
  grid_->SetWrapNavigation(true);
  grid_->Model()->SetRowFiller([this](int r, std::vector<QString>& c) { FillRow(r, c); });
  grid_->setFixedWidth(grid_->FullWidth());
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Text pasted from a spreadsheet goes in cell by cell, by the rules of
  // typing; refused cells are counted in one message.
  grid_->SetCellStore([this](int row, int col, const QString& text) { return StorePasted(row - 1, col, text); },
                      [this](int refused) {
                        grid_->Model()->RefillAll();
                        Changed();
                        if (refused > 0)
                          Context().msg.Warning(Context().msg.T(kPasteRefused).replace(QStringLiteral("%s"),
                                                                                      QString::number(refused)),
                                                kMsgOk, MessageHelper::kNoticeCaption, this);
                      });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addWidget(grid_, 1, Qt::AlignLeft);

  edit_ = new CFilterEdit(this);
  edit_->setObjectName(QStringLiteral("repeaterEdit"));
  edit_->hide();
  list_ = new QComboBox(this);
  list_->setObjectName(QStringLiteral("repeaterList"));
  list_->hide();

  connect(grid_, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { OpenEditor(e, nullptr); });
  connect(grid_, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) {
    const QString t = grid_->Text(grid_->Row(), grid_->Col());
    OpenEditor(nullptr, &t);
  });
  connect(grid_, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Escape) {
      grid_->CancelEdit();
      return;
    }
    const int row = grid_->EditRow();
    CommitEdit();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) grid_->Advance(1, mods);
    else if (key == Qt::Key_Up) grid_->SetCurrent(row - 1, grid_->Col());
    else if (key == Qt::Key_Down) grid_->SetCurrent(row + 1, grid_->Col());
    grid_->setFocus();
  });
  connect(grid_, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitEdit();
  });
  connect(grid_, &CEditGrid::ContextMenuAsked, this, [this](const QPoint& pos, int row) {
    if (!grid_->PopupAllowed(row)) return;
    const int cmd = grid_->RunPopupMenu(pos, true, !z_.repBuffer.Empty(), false);
    if (cmd) RunCommand(cmd);
  });
  connect(grid_, &CEditGrid::KeyToView, this, [this](QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && grid_->RowSelectState()) {
      RunCommand(kCmdGridDelete);
      e->accept();
    } else {
      e->ignore();
    }
  });
  for (auto [command, keys] : {std::pair{kCmdGridCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
                               std::pair{kCmdGridPaste, QKeySequence(Qt::CTRL | Qt::Key_V)}}) {
    auto* a = new QAction(this);
    a->setShortcut(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
    addAction(a);
  }
  for (int dir : {1, -1}) {
    auto* a = new QAction(this);
    a->setShortcut(QKeySequence(dir > 0 ? Qt::Key_F7 : Qt::Key_F8));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, dir] { SetZone((zone_ + (dir > 0 ? 1 : zones::kZoneCount - 1)) % zones::kZoneCount); });
    addAction(a);
  }
  Refresh();
}

QSize CRepInfoView::sizeHint() const {
  return QSize(std::max(grid_->FullWidth(), form_->sizeHint().width()) + 24,
               form_->sizeHint().height() + grid_->HeightForRows(kRows - 1) + 24);
}

void CRepInfoView::FillRow(int row, std::vector<QString>& cells) const {
  std::string s;
  for (int c = 1; c < kCols; ++c) {
    z_.groups.RepeaterFieldText(zone_, row - 1, kColumnField[c], s);
    cells[static_cast<size_t>(c)] = QString::fromStdString(s);
  }
}

QString CRepInfoView::Title() const {
  auto& c = const_cast<CRepInfoView*>(this)->Context();
  return QStringLiteral("%1 [ %2 - %3 ]").arg(c.msg.T(465), c.msg.T(378)).arg(zone_ + 1);
}

void CRepInfoView::Refresh() {
  if (grid_->EditorKindOpen()) grid_->CancelEdit();
  form_->Refresh();
  const bool usable = z_.zones.ZoneClass(zone_) == kClassLtr && !z_.zones.ZoneDamaged(zone_);
  grid_->SetEnabledLook(usable);
  grid_->Model()->RefillAll();
  Q_EMIT TitleChanged();
}

bool CRepInfoView::CommitPendingEdit() {
  CommitEdit();
  form_->CommitPending();
  return true;
}

bool CRepInfoView::QueryClose() {
  if (!HomeRepeaterMissing(Context().ws.data, zone_)) return true;
  MessageHelper& msg = Context().msg;
  return msg.Warning(msg.T(282), kMsgOkCancel, MessageHelper::kWarningCaption, this) == kIdOk;
}

int CRepInfoView::HelpContext() const { return kHelpRepeaters; }

void CRepInfoView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  CommitEdit();
  zone_ = zone;
  fctx_->cursor.zone = zone;
  Refresh();
}

void CRepInfoView::Changed() {
  grid_->Model()->RefillAll();
  form_->Refresh();
  Context().frame.RefreshAllEditors(this);
}

void CRepInfoView::OpenEditor(QKeyEvent* key, const QString* text) {
  if (grid_->EditorKindOpen() || grid_->Row() < 1 || grid_->Col() < 1) return;
  if (z_.zones.ZoneClass(zone_) != kClassLtr || z_.zones.ZoneDamaged(zone_)) return;
  const int row = grid_->Row();
  int col = grid_->Col();
  const int rep = row - 1;
  if (z_.zones.FindRepeater(zone_, rep) < 0 && col != 1) {
    // A missing repeater starts with its first frequency.
    grid_->SetCurrent(row, 1);
    col = 1;
    text = nullptr;
  }
  const bool typed = key && key->key() != Qt::Key_Backspace;
  if (col >= 3) {
    ZoneFieldContext f(z_.zones, Context().ws.text, ZoneTable::Repeater, zone_, rep);
    const FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Repeater, kColumnField[col]);
    list_->clear();
    const auto rows = FormEngine::Choices(f.Context(), *d);
    const auto texts = FormEngine::ChoiceTexts(f.Context(), *d);
    for (size_t i = 0; i < rows.size() && i < texts.size(); ++i) list_->addItem(QString::fromStdString(texts[i]), rows[i].value);
    grid_->ShowList(list_, grid_->Text(row, col), true);
    if (typed) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(list_, &copy);
    }
    return;
  }
  edit_->SetInputMode(kInputDecimal);
  edit_->SetDecimalSeparator(Context().ws.data.freq.DecimalSeparator());
  edit_->setMaxLength(9);
  grid_->ShowEdit(edit_, text ? *text : QString(), true);
  if (key) {
    edit_->clear();
    if (typed) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(edit_, &copy);
    }
  }
}

bool CRepInfoView::StorePasted(int rep, int col, const QString& text) {
  if (z_.zones.ZoneClass(zone_) != kClassLtr || z_.zones.ZoneDamaged(zone_)) return false;
  if (col < 1 || col >= kCols) return false;
  // A missing repeater starts with its first frequency, as when typing.
  if (z_.zones.FindRepeater(zone_, rep) < 0 && col != 1) return false;
  if (col >= 3) {
    ZoneFieldContext f(z_.zones, Context().ws.text, ZoneTable::Repeater, zone_, rep);
    const FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Repeater, kColumnField[col]);
    if (!d || !FormEngine::Enabled(f.Context(), FormPage{}, *d)) return false;
    const auto rows = FormEngine::Choices(f.Context(), *d);
    const auto texts = FormEngine::ChoiceTexts(f.Context(), *d);
    for (size_t i = 0; i < rows.size() && i < texts.size(); ++i)
      if (QString::fromStdString(texts[i]).compare(text.trimmed(), Qt::CaseInsensitive) == 0)
        return FormEngine::StoreChoice(f.Context(), *d, rows[i].value);
    return false;
  }
  // A frequency the codec does not take is refused, never stored as empty.
  const std::string typed = text.trimmed().toStdString();
  std::string probe = typed;
  if (typed.empty() || Context().ws.data.freq.CheckFreq(probe) == 0) return false;
  const FieldResult r = z_.groups.SetRepeaterFrequency(zone_, rep, kColumnField[col], typed, false);
  return r.message == 0 && r.result == kFieldStored;
}

void CRepInfoView::CommitEdit() {
  const int kind = grid_->EditorKindOpen();
  if (!kind) return;
  const int row = grid_->EditRow();
  const int col = grid_->EditCol();
  const QString saved = grid_->SavedCellText();
  const bool isList = grid_->Editor() == list_;
  const int listRow = isList ? list_->currentIndex() : -1;
  const QString text = isList ? (listRow >= 0 ? list_->itemText(listRow) : saved) : edit_->text();
  grid_->HideEditor(false);
  if (text == saved) {
    grid_->SetText(row, col, saved);
    return;
  }
  const int rep = row - 1;
  int message = 0;
  if (isList) {
    if (listRow < 0) return;
    ZoneFieldContext f(z_.zones, Context().ws.text, ZoneTable::Repeater, zone_, rep);
    const FieldDescriptor* d = zonefields::ByNumber(ZoneTable::Repeater, kColumnField[col]);
    if (d && FormEngine::Enabled(f.Context(), FormPage{}, *d)) FormEngine::StoreChoice(f.Context(), *d, list_->itemData(listRow).toInt());
  } else {
    message = z_.groups.SetRepeaterFrequency(zone_, rep, kColumnField[col], text.toStdString(), true).message;
  }
  Changed();
  if (message) {
    QMetaObject::invokeMethod(this, [this, message] {
      Context().msg.Warning(Context().msg.T(message), kMsgOk, MessageHelper::kNoticeCaption, this);
      Context().msg.boxShown = false;
    }, Qt::QueuedConnection);
  }
}

QString CRepInfoView::ClipText(bool withTitle) const {
  int first = 0, last = 0;
  grid_->SelectedRows(first, last);
  QStringList lines;
  if (withTitle) {
    QStringList caps;
    for (int c = 0; c < kCols; ++c) caps << grid_->Text(0, c);
    lines << caps.join(QLatin1Char('\t'));
  }
  for (int r = std::max(first, 1); r <= last; ++r) {
    QStringList cells;
    for (int c = 0; c < kCols; ++c) cells << grid_->Text(r, c);
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

void CRepInfoView::RunCommand(int command) {
  CommitEdit();
  int first = 0, last = 0;
  grid_->SelectedRows(first, last);
  switch (command) {
    case kCmdGridCopy: z_.repBuffer.Copy(z_.zones, zone_, first - 1, last - 1); break;
    case kCmdGridDelete:
      if (z_.repBuffer.Delete(z_.zones, zone_, first - 1, last - 1) > 0) Changed();
      break;
    case kCmdGridPaste: {
      if (z_.repBuffer.Empty()) return;
      const FieldResult r = z_.repBuffer.Paste(z_.zones, zone_, grid_->Row() - 1);
      Changed();
      if (r.message) Context().msg.Warning(Context().msg.T(r.message), kMsgOk, MessageHelper::kNoticeCaption, this);
      break;
    }
    case kCmdGridToClip:
    case kCmdGridToClipTitle:
      PutClipboardText(ClipText(command == kCmdGridToClipTitle));
      grid_->SetRowSelectMode(false);
      break;
    default: break;
  }
}

void RegisterRepeaterWindow() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::RepeaterInfo, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CRepInfoView(c, p); });
}

}  // namespace vb420
