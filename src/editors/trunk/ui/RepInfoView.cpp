// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/trunk/ui/TrunkViews.h"
#include "editors/zones/TrunkWriteChecks.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneFormBoxes.h"
#include "lang/HelpContexts.h"
#include "lang/ui/MessageHelper.h"
#include "data/ByteChanges.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {
constexpr int kPasteRefused = 1186;  // "%s cells could not be stored"

// The columns: fields of the repeater table, their headings and widths.
struct RepeaterColumn {
  const char* key;
  int caption;
  int width;
  int alignment;
};
const RepeaterColumn kColumns[] = {
    {"rxf", 382, 80, kAlignRight}, {"txf", 383, 80, kAlignRight}, {"beatshift", 429, 150, kAlignCentre},
    {"telephone", 469, 80, kAlignCentre},
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

  std::vector<CFieldGrid::Column> columns;
  for (const RepeaterColumn& c : kColumns)
    columns.push_back({zonefields::ByKey(ZoneTable::Repeater, c.key), c.width, c.alignment, c.caption});
  grid_ = new CFieldGrid(
      ctx.ws.data, ctx.ws.text,
      [this](int row) -> std::unique_ptr<BoundRecord> {
        return std::make_unique<ZoneFieldContext>(z_.zones, Context().ws.text, ZoneTable::Repeater, zone_, row - 1);
      },
      std::move(columns), zones::kMaxRepeaters, this);
  grid_->setObjectName(QStringLiteral("repeaterGrid"));
  grid_->SetNumberColumn(359, 40);
  grid_->SetWrapNavigation(true);
  grid_->setFixedWidth(grid_->FullWidth());
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->SetNotice([this](const QString& t) { Context().msg.Warning(t, kMsgOk, MessageHelper::kNoticeCaption, this); });
  // Whole repeaters go through the zone's repeater copy buffer.
  grid_->ClaimCommands({kCmdGridCopy, kCmdGridPaste, kCmdGridDelete}, [this](int cmd) { RunCommand(cmd); });
  grid_->SetPopup(true, [this] { return !z_.repBuffer.Empty(); });
  connect(grid_, &CFieldGrid::Stored, this, [this](int, int) { Changed(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addWidget(grid_, 1, Qt::AlignLeft);

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
               form_->sizeHint().height() + grid_->HeightForRows(zones::kMaxRepeaters) + 24);
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

CFilterEdit* CRepInfoView::CellEdit() const { return grid_->CellEdit(); }
QComboBox* CRepInfoView::ListEditor() const { return grid_->CellList(); }

bool CRepInfoView::CommitPendingEdit() {
  grid_->CommitEdit();
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
  grid_->CommitEdit();
  zone_ = zone;
  fctx_->cursor.zone = zone;
  Refresh();
}

void CRepInfoView::Changed() {
  grid_->Model()->RefillAll();
  form_->Refresh();
  Context().frame.RefreshAllEditors(this);
}

void CRepInfoView::RunCommand(int command) {
  grid_->CommitEdit();
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
      grid_->CopySelectionText(command == kCmdGridToClipTitle);
      grid_->SetRowSelectMode(false);
      break;
    default: break;
  }
}

bool CRepInfoView::ShowsBytes(const ByteChanges& changes) const {
  // The zone's block (its header and repeaters).
  return changes.TouchesModel() || changes.Touches(false, img::kZoneTable, img::kZoneAreaEnd);
}

void RegisterRepeaterWindow() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::RepeaterInfo, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CRepInfoView(c, p); });
}

}  // namespace vb420
