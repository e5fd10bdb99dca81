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
#include "editors/forms/FieldSets.h"
#include "editors/grid/FieldGrid.h"
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

  RadioData& data = ctx.ws.data;
  auto rowOf = [&data, &text](int row) -> std::unique_ptr<forms::BoundRecord> {
    // A zone or an entry of the merge list: the columns read the cursor's record.
    return std::make_unique<forms::CursorRecord>(data, text, false, forms::RecordCursor{-1, row - 1});
  };
  auto columns = [](const std::vector<forms::FieldDescriptor>& fields, std::vector<int> widths) {
    std::vector<CFieldGrid::Column> out;
    for (size_t i = 0; i < fields.size(); ++i)
      out.push_back({&fields[i], widths[i], kAlignLeft, -1, fields[i].key == "name" || fields[i].key == "entry"});
    return out;
  };
  zones_ = new CFieldGrid(data, text, rowOf, columns(mergefields::ZoneListFields(), {100, 115}), zones::kZoneCount, this);
  zones_->setObjectName("zoneListGrid");
  entries_ = new CFieldGrid(data, text, rowOf, columns(mergefields::EntryListFields(), {215}), MergeSlots::kSlots, this);
  entries_->setObjectName("entryListGrid");
  for (bool byEntry : {false, true}) {
    auto* g = new CFieldGrid(data, text, rowOf, {{&mergefields::AssignmentField(byEntry), 110, kAlignCentre}},
                             byEntry ? MergeSlots::kSlots : zones::kZoneCount, this);
    g->setObjectName("switchGrid");
    (byEntry ? switchByEntry_ : switchByZone_) = g;
    // An assignment by zone moves the entry's other assignment: the list
    // follows as a whole.
    connect(g, &CFieldGrid::Stored, this, [this](int, int) { SwitchGrid()->Refill(); });
  }
  switchByEntry_->hide();
  for (CFieldGrid* g : {zones_, entries_, switchByZone_, switchByEntry_}) g->SetNumberColumn(359, 40);

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
  right->addWidget(switchByZone_);
  right->addWidget(switchByEntry_);
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
  for (CFieldGrid* g : {switchByZone_, switchByEntry_}) g->setMinimumSize(g->FullWidth() + 30, listHeight);

  WireList(zones_, false);
  WireList(entries_, true);
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

void CZnMergeView::WireList(CFieldGrid* grid, bool entries) {
  // Copy, Paste and Delete of whole zones or entries: the window's own
  // commands, from the keys and the pop-up menu alike.
  grid->ClaimCommands({kCmdGridCopy, kCmdGridPaste, kCmdGridDelete}, [this, entries](int cmd) { RunCommand(cmd, entries); });
  grid->SetPopup(false, [] { return !CopyBuffer().Empty(); });
}

void CZnMergeView::SetByEntry(bool on) {
  CommitPendingEdit();
  const bool hadFocus = SwitchGrid()->hasFocus();
  byEntry_ = on;
  switchByZone_->setVisible(!on);
  switchByEntry_->setVisible(on);
  SwitchGrid()->Refill();
  SwitchGrid()->SetCurrent(1, 1);
  if (hadFocus) SwitchGrid()->setFocus();
}

void CZnMergeView::Refresh() {
  for (CFieldGrid* g : {zones_, entries_, switchByZone_, switchByEntry_}) g->Refill();
}

bool CZnMergeView::CommitPendingEdit() {
  switchByZone_->CommitEdit();
  switchByEntry_->CommitEdit();
  return true;
}

QWidget* CZnMergeView::InitialFocus() const { return zones_; }

void CZnMergeView::RunCommand(int command, bool entries) {
  CommitPendingEdit();
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
        entries_->Refill();
        SwitchGrid()->Refill();
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
        entries_->Refill();
        SwitchGrid()->Refill();
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
  CommitPendingEdit();
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
