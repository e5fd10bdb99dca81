// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/plan/ui/ZnMergeView.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/DataFile.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/plan/ZoneMerge.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

constexpr int kCaptionDataFile = 524;
constexpr int kCaptionMergeFile = 525;
constexpr int kCaptionZoneList = 37;
constexpr int kCaptionMergeList = 36;
constexpr int kCaptionEntryColumn = 527;  // by zone: the entry for each zone
constexpr int kCaptionZoneColumn = 526;   // by entry: the target zone of each entry
constexpr int kButtonSwitch = 178;
constexpr int kButtonMerge = 179;
constexpr int kButtonOpen = 43;
constexpr int kButtonSaveAs = 45;
constexpr int kMsgContinue = 295;
constexpr int kFilterDataFiles = 118;

constexpr int kZoneRows = zones::kZoneCount + 1;
constexpr int kEntryRows = MergeSlots::kSlots + 1;

const ColumnDescriptor kZoneColumns[3] = {{359, 40, kAlignCentre, 1}, {379, 100, kAlignLeft, 1}, {462, 115, kAlignLeft, 0}};
const ColumnDescriptor kEntryColumns[2] = {{359, 40, kAlignCentre, 1}, {462, 215, kAlignLeft, 0}};

QString Plain(const QString& menuText) {
  QString t = menuText;
  t.remove(QLatin1Char('&'));
  return t;
}

}  // namespace

CZoneCopyBuffer& CZnMergeView::CopyBuffer() {
  static CZoneCopyBuffer buffer;
  return buffer;
}

CZnMergeView::CZnMergeView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::ZoneMerge, parent) {
  setObjectName("zoneMergeView");
  MessageHelper& msg = ctx.msg;
  TextTable& text = ctx.ws.text;

  zones_ = new CEditGrid(this);
  zones_->setObjectName("zoneListGrid");
  zones_->SetTextTable(&text);
  zones_->SetSize(kZoneRows, 3);
  zones_->SetupColumns(kZoneColumns, 0, 3);
  zones_->NumberRows(1);
  zones_->Model()->SetRowFiller([this](int row, std::vector<QString>& cells) {
    RadioData& data = Context().ws.data;
    CZoneMemory zm(data);
    const int z = row - 1;
    const ZoneLayout L = zm.ZoneInfo(z);
    cells[1] = QString::fromStdString(MergeTypeText(zm.ZoneType(z), L.exists, Context().ws.text));
    if (L.exists && L.offset >= 0) {
      std::vector<uint8_t> head(static_cast<size_t>(std::min(L.size, 32)));
      data.Image().read(static_cast<size_t>(L.offset), head.data(), head.size());
      head.resize(static_cast<size_t>(std::min(L.size, 32)));
      cells[2] = QString::fromLatin1(BlockZoneName(head, data.model.NameWidth()).c_str());
    }
  });

  entries_ = new CEditGrid(this);
  entries_->setObjectName("entryListGrid");
  entries_->SetTextTable(&text);
  entries_->SetSize(kEntryRows, 2);
  entries_->SetupColumns(kEntryColumns, 0, 2);
  entries_->NumberRows(1);
  entries_->Model()->SetRowFiller([this](int row, std::vector<QString>& cells) {
    RadioData& data = Context().ws.data;
    const int s = row - 1;
    if (!SlotUsed(data.mergeSlots, s)) {
      cells[1] = QString::fromStdString(MergeTypeText(0xFF, false, Context().ws.text));
      return;
    }
    const auto& block = data.mergeSlots.entries[static_cast<size_t>(s)].block;
    const QString type = QString::fromStdString(MergeTypeText(block[1], true, Context().ws.text));
    const QString name = QString::fromLatin1(BlockZoneName(block, data.model.NameWidth()).c_str()).trimmed();
    cells[1] = name.isEmpty() ? type : type + QStringLiteral(" - ") + name;
  });

  switch_ = new CEditGrid(this);
  switch_->setObjectName("switchGrid");
  switch_->SetTextTable(&text);
  SetupSwitchGrid();

  edit_ = new CFilterEdit(this);
  edit_->setObjectName("cellEdit");
  edit_->SetInputMode(kInputDigits);
  edit_->hide();

  switchButton_ = new QPushButton(msg.T(kButtonSwitch), this);
  switchButton_->setObjectName("switchButton");
  mergeButton_ = new QPushButton(msg.T(kButtonMerge), this);
  mergeButton_->setObjectName("mergeButton");
  loadButton_ = new QPushButton(Plain(msg.T(kButtonOpen)), this);
  loadButton_->setObjectName("loadEntriesButton");
  saveButton_ = new QPushButton(Plain(msg.T(kButtonSaveAs)), this);
  saveButton_->setObjectName("saveEntriesButton");

  // Layout: three columns.
  auto* dataBox = new QGroupBox(msg.T(kCaptionDataFile), this);
  auto* dataLayout = new QVBoxLayout(dataBox);
  dataLayout->addWidget(new QLabel(msg.T(kCaptionZoneList), dataBox));
  dataLayout->addWidget(zones_);
  auto* mergeBox = new QGroupBox(msg.T(kCaptionMergeFile), this);
  auto* mergeLayout = new QVBoxLayout(mergeBox);
  mergeLayout->addWidget(new QLabel(msg.T(kCaptionMergeList), mergeBox));
  mergeLayout->addWidget(entries_);
  auto* fileButtons = new QHBoxLayout;
  fileButtons->addWidget(loadButton_);
  fileButtons->addWidget(saveButton_);
  mergeLayout->addLayout(fileButtons);
  mergeLayout->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(switch_);
  auto* actions = new QHBoxLayout;
  actions->addWidget(switchButton_);
  actions->addWidget(mergeButton_);
  right->addLayout(actions);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(dataBox);
  layout->addWidget(mergeBox);
  layout->addLayout(right);

  const int listHeight = zones_->HeightForRows(20);
  zones_->setMinimumSize(zones_->FullWidth(), listHeight);
  entries_->setMinimumSize(entries_->FullWidth(), entries_->HeightForRows(MergeSlots::kSlots));
  switch_->setMinimumSize(switch_->FullWidth() + 30, listHeight);

  WireList(zones_, false);
  WireList(entries_, true);
  connect(switch_, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { OpenSwitchEditor(e, nullptr); });
  connect(switch_, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) {
    const QString t = switch_->Text(switch_->Row(), 1);
    OpenSwitchEditor(nullptr, &t);
  });
  connect(switch_, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Escape) {
      switch_->CancelEdit();
      return;
    }
    const int row = switch_->EditRow();
    CommitSwitchEdit();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down)
      switch_->SetCurrent(std::min(switch_->Rows() - 1, row + 1), 1);
    else if (key == Qt::Key_Up) switch_->SetCurrent(std::max(1, row - 1), 1);
    else if (key == Qt::Key_Tab) switch_->Advance(1, mods);
    switch_->setFocus();
  });
  connect(switch_, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitSwitchEdit();
  });
  connect(switch_, &CEditGrid::KeyToView, this, [this](QKeyEvent* e) {
    if (e->key() != Qt::Key_Delete) {
      e->ignore();
      return;
    }
    // Delete takes the selected rows' assignments away.
    int first = switch_->Row(), last = switch_->Row();
    if (switch_->RowSelectState()) switch_->SelectedRows(first, last);
    MergeSlots& slots = Context().ws.data.mergeSlots;
    for (int r = std::max(first, 1); r <= last; ++r) {
      if (byEntry_) AssignZone(slots, r - 1, -1);
      else AssignEntryToZone(slots, r - 1, -1);
    }
    switch_->Model()->RefillAll();
    e->accept();
  });
  connect(switchButton_, &QPushButton::clicked, this, [this] { SetByEntry(!byEntry_); });
  connect(mergeButton_, &QPushButton::clicked, this, [this] { MergeAssignedEntries(); });
  connect(loadButton_, &QPushButton::clicked, this, [this] {
    Workspace& ws = Context().ws;
    FileDialogRequest r;
    r.folder = QString::fromStdString(ws.lastFilePath);
    r.filter = QStringLiteral("%1 (*.sdt)").arg(Context().msg.T(kFilterDataFiles));
    const QString path = Context().msg.Prompter().OpenFileName(this, r);
    if (!path.isEmpty()) LoadEntries(path);
  });
  connect(saveButton_, &QPushButton::clicked, this, [this] {
    Workspace& ws = Context().ws;
    FileDialogRequest r;
    r.folder = QString::fromStdString(ws.lastFilePath);
    r.initialName = QString::fromStdString(ws.sdtName);
    r.filter = QStringLiteral("%1 (*.sdt)").arg(Context().msg.T(kFilterDataFiles));
    r.defaultSuffix = QStringLiteral("sdt");
    const QString path = Context().msg.Prompter().SaveFileName(this, r);
    if (!path.isEmpty()) SaveEntries(QString::fromStdString(WithExtension(path.toStdString(), "sdt")));
  });
}

void CZnMergeView::WireList(CEditGrid* grid, bool entries) {
  connect(grid, &CEditGrid::ContextMenuAsked, this, [this, grid, entries](const QPoint& at, int row) {
    if (!grid->PopupAllowed(row)) return;
    if (const int cmd = grid->RunPopupMenu(at, false, !CopyBuffer().Empty(), false)) RunCommand(cmd, entries);
  });
  connect(grid, &CEditGrid::KeyToView, this, [this, entries](QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    int cmd = 0;
    if (e->key() == Qt::Key_Delete) cmd = kCmdGridDelete;
    else if (ctrl && e->key() == Qt::Key_C) cmd = kCmdGridCopy;
    else if (ctrl && e->key() == Qt::Key_V) cmd = kCmdGridPaste;
    if (!cmd) {
      e->ignore();
      return;
    }
    RunCommand(cmd, entries);
    e->accept();
  });
}

void CZnMergeView::SetupSwitchGrid() {
  const int rows = byEntry_ ? kEntryRows : kZoneRows;
  const ColumnDescriptor cols[2] = {{359, 40, kAlignCentre, 1},
                                    {byEntry_ ? kCaptionZoneColumn : kCaptionEntryColumn, 110, kAlignCentre, 1}};
  switch_->SetSize(rows, 2);
  switch_->SetupColumns(cols, 0, 2);
  switch_->NumberRows(1);
  switch_->Model()->SetRowFiller([this](int row, std::vector<QString>& cells) {
    const MergeSlots& slots = Context().ws.data.mergeSlots;
    const int v = byEntry_ ? AssignedZone(slots, row - 1) : EntryForZone(slots, row - 1);
    cells[1] = v >= 0 ? QString::number(v + 1) : QString();
  });
  switch_->Model()->RefillAll();
  switch_->SetCurrent(1, 1);
}

void CZnMergeView::SetByEntry(bool on) {
  CommitSwitchEdit();
  byEntry_ = on;
  SetupSwitchGrid();
}

void CZnMergeView::Refresh() {
  zones_->Model()->RefillAll();
  entries_->Model()->RefillAll();
  switch_->Model()->RefillAll();
}

bool CZnMergeView::CommitPendingEdit() {
  CommitSwitchEdit();
  return true;
}

QWidget* CZnMergeView::InitialFocus() const { return zones_; }

void CZnMergeView::OpenSwitchEditor(QKeyEvent* key, const QString* text) {
  const int row = switch_->Row();
  if (row < 1) return;
  switch_->SetCurrent(row, 1);
  edit_->SetInputMode(kInputDigits);
  // By zone an entry number (1..20), by entry a zone number (1..128).
  edit_->setMaxLength(byEntry_ ? 3 : 2);
  if (key && (key->text().isEmpty() || !edit_->Accepts(key->text().at(0))) && key->key() != Qt::Key_Backspace) return;
  switch_->ShowEdit(edit_, text ? *text : QString(), true);
  if (key) {
    edit_->clear();
    if (key->key() != Qt::Key_Backspace) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(edit_, &copy);
    }
  }
}

void CZnMergeView::CommitSwitchEdit() {
  if (!switch_->EditorKindOpen()) return;
  const int row = switch_->EditRow();
  const QString typed = edit_->text().trimmed();
  switch_->HideEditor(false);
  MergeSlots& slots = Context().ws.data.mergeSlots;
  bool ok = true;
  const int n = typed.isEmpty() ? 0 : typed.toInt(&ok);
  // A number outside the list is refused: the cell keeps what it had.
  if (ok && byEntry_ && n >= 0 && n <= zones::kZoneCount) AssignZone(slots, row - 1, n - 1);
  else if (ok && !byEntry_ && n >= 0 && n <= MergeSlots::kSlots) AssignEntryToZone(slots, row - 1, n - 1);
  switch_->Model()->RefillRow(row);
  if (!byEntry_) switch_->Model()->RefillAll();
}

void CZnMergeView::RunCommand(int command, bool entries) {
  CommitSwitchEdit();
  CEditGrid* grid = entries ? entries_ : zones_;
  int first = grid->Row(), last = grid->Row();
  if (grid->RowSelectState()) grid->SelectedRows(first, last);
  if (first < 1) return;
  RadioData& data = Context().ws.data;
  MessageHelper& msg = Context().msg;
  CZoneCopyBuffer& buffer = CopyBuffer();
  switch (command) {
    case kCmdGridCopy:
      if (entries) buffer.CopyEntries(data.mergeSlots, first - 1, last - 1);
      else {
        CZoneMemory zm(data);
        buffer.CopyZones(zm, first - 1, last - 1);
      }
      return;
    case kCmdGridPaste: {
      if (buffer.Empty()) return;
      if (entries) {
        buffer.PasteEntries(data.mergeSlots, first - 1);
        entries_->Model()->RefillAll();
        switch_->Model()->RefillAll();
        return;
      }
      if (msg.Warning(msg.T(kMsgContinue), kMsgOkCancel, MessageHelper::kWarningCaption, this, kIdCancel) != kIdOk)
        return;
      CZoneMemory zm(data);
      const MergeResult r = buffer.PasteZones(zm, first - 1);
      ZonesChanged();
      if (const int m = MergeMessage(r)) msg.Error(msg.T(m), kMsgOk, MessageHelper::kErrorCaption, this);
      return;
    }
    case kCmdGridDelete:
      if (entries) {
        DeleteEntries(data.mergeSlots, first - 1, last - 1);
        entries_->Model()->RefillAll();
        switch_->Model()->RefillAll();
      } else {
        CZoneMemory zm(data);
        DeleteZones(zm, first - 1, last - 1);
        ZonesChanged();
      }
      return;
    default: return;
  }
}

void CZnMergeView::MergeAssignedEntries() {
  CommitSwitchEdit();
  MessageHelper& msg = Context().msg;
  RadioData& data = Context().ws.data;
  bool any = false;
  for (int s = 0; s < MergeSlots::kSlots; ++s) any = any || AssignedZone(data.mergeSlots, s) >= 0;
  if (!any) return;
  if (msg.Warning(msg.T(kMsgContinue), kMsgOkCancel, MessageHelper::kWarningCaption, this, kIdCancel) != kIdOk) return;
  CZoneMemory zm(data);
  const MergeResult r = MergeAssigned(zm, data.mergeSlots);
  ZonesChanged();
  if (const int m = MergeMessage(r)) msg.Error(msg.T(m), kMsgOk, MessageHelper::kErrorCaption, this);
}

bool CZnMergeView::LoadEntries(const QString& path) {
  Workspace& ws = Context().ws;
  const FileStatus st = LoadSdtFile(path.toStdString(), ws.data);
  if (!st.ok()) {
    Context().msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Load, ws.text)));
    return false;
  }
  ws.sdtName = QFileInfo(path).fileName().toStdString();
  ws.lastFilePath = FolderOf(path.toStdString());
  Context().frame.UpdateCaption();
  Refresh();
  return true;
}

bool CZnMergeView::SaveEntries(const QString& path) {
  Workspace& ws = Context().ws;
  const FileStatus st = SaveSdtFile(path.toStdString(), ws.data);
  if (!st.ok()) {
    Context().msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Save, ws.text)));
    return false;
  }
  ws.sdtName = QFileInfo(path).fileName().toStdString();
  ws.lastFilePath = FolderOf(path.toStdString());
  Context().frame.UpdateCaption();
  return true;
}

void CZnMergeView::ZonesChanged() {
  // Zone Information shows one zone's block: it closes rather than show a
  // zone that moved under it.
  if (CEditorView* info = Context().frame.FindEditor(EditorKind::ZoneInfo))
    if (auto* f = qobject_cast<CChildFrame*>(info->parentWidget())) f->ForceClose();
  Refresh();
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

void RegisterZoneMergeWindow() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::ZoneMerge, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CZnMergeView(c, p);
  });
  reg.AddImageReplacedHook([](EditorContext&) {
    CZnMergeView::CopyBuffer().Clear();
  });
}

}  // namespace vb420
