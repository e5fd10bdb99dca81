// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/trunk/ui/TrunkViews.h"

#include <QAction>
#include <QVBoxLayout>
#include <algorithm>

#include "data/ui/MemoryViewer.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/zones/ui/ChannelFunctionMenu.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneDialogs.h"
#include "editors/zones/ui/ZoneFormBoxes.h"
#include "lang/HelpContexts.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {

// The zone (and row) Zone Information shows, for a window opened from it.
void StartWhereZoneInfoIs(EditorContext& ctx, int& zone, int* record) {
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) {
    zone = zi->Zone();
    if (record) *record = std::clamp(zi->CurrentRecord(), 0, zones::kMaxRecords - 1);
  }
}

QString ZoneSuffix(EditorContext& c, int zone) { return QStringLiteral(" [ %1 - %2 ]").arg(c.msg.T(378)).arg(zone + 1); }

// F7 and F8 step the zone in every trunking editor.
void AddZoneKeys(QWidget* view, std::function<void(int)> step) {
  for (int dir : {1, -1}) {
    auto* a = new QAction(view);
    a->setShortcut(QKeySequence(dir > 0 ? Qt::Key_F7 : Qt::Key_F8));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(a, &QAction::triggered, view, [step, dir] { step(dir); });
    view->addAction(a);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Trunked zone editor

CTrunkEditView::CTrunkEditView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::TrunkZoneEdit, parent), z_(ZonesOf(ctx)) {
  StartWhereZoneInfoIs(ctx, zone_, nullptr);
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, kClassLtr);
  fctx_ = std::make_unique<FormContext>(
      FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting, {zone_, -1}, locator_.get()});
  form_ = new CFormRenderer(*fctx_, Pages(), this, 12);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int index) {
    if (index != 0) Context().frame.RefreshAllEditors(this);
    Q_EMIT TitleChanged();
  });
  connect(form_, &CFormRenderer::ButtonClicked, this,
          [this](int, int) { Context().frame.OpenEditor(EditorKind::RepeaterInfo); });
  AddZoneKeys(this, [this](int dir) { SetZone((zone_ + (dir > 0 ? 1 : zones::kZoneCount - 1)) % zones::kZoneCount); });
  // The zone memory map (32845), with the memory-map switch on.
  auto* memMap = new QAction(this);
  memMap->setShortcut(QKeySequence(Qt::Key_F12));
  memMap->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  memMap->setText(QStringLiteral("%1 (%2)").arg(MenuLabel(ctx.msg.T(228)), MenuLabel(ctx.msg.T(378))));
  memMap->setVisible(ctx.ws.switches.memMap);
  connect(memMap, &QAction::triggered, this, [this] {
    EditorContext& c = Context();
    if (!c.ws.switches.memMap || z_.zones.ZoneClass(zone_) != kClassLtr) return;
    ShowImageWindow(c, z_.zones.ZoneOffset(zone_), zones::kLtrHeader,
                    QStringLiteral("%1 (%2 [ %3 - %4 ])")
                        .arg(c.msg.T(228), QString::fromStdString(CZoneMemory::ZoneTypeName('0', c.ws.text)), c.msg.T(378))
                        .arg(zone_ + 1));
  });
  addAction(memMap);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::vector<FormPage> CTrunkEditView::Pages() {
  FormPage page;
  keys_.clear();
  auto add = [&](FieldDescriptor d, std::string key = {}) {
    page.fields.push_back(std::move(d));
    keys_.push_back(std::move(key));
  };
  add(ZoneNumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  // Every header field comes from the LTR header table; the two priority
  // groups get a caption each.
  for (const FieldDescriptor& d : zonefields::Fields(ZoneTable::LtrHeader)) {
    if (d.number == 23) add(FormCaption(499));
    if (d.number == 24) add(FormCaption(500));
    add(d, d.key);
  }
  add(FormButton(465));
  return {page};
}

int CTrunkEditView::IndexOf(const std::string& key) const {
  for (size_t i = 0; i < keys_.size(); ++i)
    if (!keys_[i].empty() && keys_[i] == key) return static_cast<int>(i);
  // A header field's number, its key of earlier versions.
  for (const FieldDescriptor& d : zonefields::Fields(ZoneTable::LtrHeader))
    if (!d.oldKey.empty() && d.oldKey == key) return IndexOf(d.key);
  return -1;
}

QString CTrunkEditView::Title() const {
  auto& c = const_cast<CTrunkEditView*>(this)->Context();
  return CEditorView::Title() + ZoneSuffix(c, zone_);
}

void CTrunkEditView::Refresh() {
  if (form_) form_->Refresh();
  Q_EMIT TitleChanged();
}

bool CTrunkEditView::CommitPendingEdit() {
  if (form_) form_->CommitPending();
  return true;
}

int CTrunkEditView::HelpContext() const { return kHelpTrunkZoneEdit; }

void CTrunkEditView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  zone_ = zone;
  fctx_->cursor.zone = zone;
  Refresh();
}

// ---------------------------------------------------------------------------
// GID editor

CGidEditView::CGidEditView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::GidEdit, parent), z_(ZonesOf(ctx)) {
  StartWhereZoneInfoIs(ctx, zone_, &group_);
  layout_ = new QVBoxLayout(this);
  Build();
  MessageHelper& msg = ctx.msg;
  auto entry = [&msg](int e) { return [&msg, e] { return msg.T(e); }; };
  using Item = CChannelFunctionMenu::Item;
  std::vector<Item> items = {
      {kCmdChannelCopy, entry(451), QKeySequence(Qt::SHIFT | Qt::Key_F3)},
      {0, {}, {}},
      {kCmdZoneUp, entry(955), QKeySequence(Qt::Key_F7)},
      {kCmdZoneDown, entry(978), QKeySequence(Qt::Key_F8)},
      {0, {}, {}},
      {kCmdChannelMemMap,
       [&msg] { return QStringLiteral("%1 (%2)").arg(MenuLabel(msg.T(228)), MenuLabel(msg.T(391))); },
       QKeySequence(Qt::Key_F12)},
  };
  menu_ = new CChannelFunctionMenu(this, std::move(items), [this](int cmd) { RunCommand(cmd); });
  menu_->SetAboutToShow([this] {
    menu_->SetVisible(kCmdChannelMemMap, Context().ws.switches.memMap);
    menu_->SetEnabled(kCmdChannelCopy, formClass_ == kClassLtr);
  });
}

void CGidEditView::Build() {
  const int cls = z_.zones.ZoneClass(zone_) == kClassPassPort ? kClassPassPort : kClassLtr;
  if (form_ && cls == formClass_) return;
  formClass_ = cls;
  if (form_) {
    form_->hide();
    form_->deleteLater();
  }
  // The old form goes later; what it points at stays until the view goes.
  if (locator_) retiredLocators_.push_back(std::move(locator_));
  if (fctx_) retiredContexts_.push_back(std::move(fctx_));
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, cls);
  fctx_ = std::make_unique<FormContext>(
      FormContext{Context().ws.data, Context().ws.text, Context().ws.switches.voting, {zone_, group_}, locator_.get()});
  form_ = new CFormRenderer(*fctx_, Pages(), this, cls == kClassLtr ? 10 : 12);
  layout_->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int page, int index) {
    if (page != 0 || index > 1) Context().frame.RefreshAllEditors(this);
    if (fctx_->message) {
      const int m = fctx_->message;
      fctx_->message = 0;
      QMetaObject::invokeMethod(this, [this, m] {
        Context().msg.Warning(Context().msg.T(m), kMsgOk, MessageHelper::kNoticeCaption, this);
        Context().msg.boxShown = false;
      }, Qt::QueuedConnection);
    }
    Q_EMIT TitleChanged();
  });
}

// Labels of the LTR group fields that have no grid column: 16 and 17 keep
// what a channel's talk-back bit and scrambler code keep, at the group's
// global number; 11 shows whether the group signals; 12 to 14 are option
// bits the radio reads by number.
int CGidEditView::GroupFieldLabel(int field) {
  switch (field) {
    case 11: return 1311;
    case 12: return 1312;
    case 13: return 1313;
    case 14: return 1314;
    case 16: return 828;
    case 17: return 435;
    default: return -1;
  }
}

std::vector<FormPage> CGidEditView::Pages() {
  FormPage first;
  first.tabEntry = formClass_ == kClassPassPort ? 391 : -1;
  first.fields.push_back(ZoneNumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  first.fields.push_back(ZoneNumberBox(391, [this] { return group_; }, [this](int v) { SetGroup(v); }, zones::kMaxRecords));
  if (formClass_ == kClassLtr) {
    for (FieldDescriptor d : zonefields::Fields(ZoneTable::LtrGroup)) {
      // The grid has no column for these; here each gets a label of its own.
      if (d.labelEntry < 0) d.labelEntry = GroupFieldLabel(d.number);
      first.fields.push_back(d);
    }
    return {first};
  }
  // A PassPort group: the grid's columns, then the group page.
  FormPage page;
  page.tabEntry = 1224;
  for (const FieldDescriptor& d : zonefields::Fields(ZoneTable::PassPortGroup))
    (d.number <= 9 ? first : page).fields.push_back(d);
  return {first, page};
}

bool CGidEditView::Find(const std::string& key, int& page, int& index) const {
  if (!form_) return false;
  const auto& pages = form_->Pages();
  for (size_t p = 0; p < pages.size(); ++p)
    for (size_t i = 0; i < pages[p].fields.size(); ++i)
      if (pages[p].fields[i].key == key) {
        page = static_cast<int>(p);
        index = static_cast<int>(i);
        return true;
      }
  return false;
}

QString CGidEditView::Title() const {
  auto& c = const_cast<CGidEditView*>(this)->Context();
  return QStringLiteral("%1 [ %2 - %3  %4 - %5 ]")
      .arg(MenuLabel(c.msg.T(66)), c.msg.T(378))
      .arg(zone_ + 1)
      .arg(c.msg.T(391))
      .arg(group_ + 1);
}

void CGidEditView::Refresh() {
  Build();
  if (form_) form_->Refresh();
  Q_EMIT TitleChanged();
}

bool CGidEditView::CommitPendingEdit() {
  if (form_) form_->CommitPending();
  return true;
}

int CGidEditView::HelpContext() const { return kHelpGidEdit; }

QString CGidEditView::MenuTitle() const {
  return CChannelFunctionMenu::Title(const_cast<CGidEditView*>(this)->Context().msg);
}

void CGidEditView::FillMenu(QMenu* menu) { menu_->Fill(menu); }

void CGidEditView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  zone_ = zone;
  fctx_->cursor.zone = zone;
  // Deferred: the store that asked for it is still running on the old form.
  QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
  if (form_) form_->Refresh();
  Q_EMIT TitleChanged();
}

void CGidEditView::SetGroup(int group) {
  if (group < 0 || group >= zones::kMaxRecords) return;
  group_ = group;
  fctx_->cursor.record = group;
  if (form_) form_->Refresh();
  Q_EMIT TitleChanged();
}

void CGidEditView::RunCommand(int command) {
  CommitPendingEdit();
  EditorContext& ctx = Context();
  const int rec = z_.zones.FindRecord(zone_, group_);
  const bool ltr = z_.zones.ZoneClass(zone_) == kClassLtr;
  switch (command) {
    case kCmdZoneUp: SetZone((zone_ + 1) % zones::kZoneCount); break;
    case kCmdZoneDown: SetZone((zone_ + zones::kZoneCount - 1) % zones::kZoneCount); break;
    case kCmdChannelCopy:
      if (rec >= 0 && ltr) {
        CChannelCopyDlg dlg(ctx, zone_, group_, true, this);
        if (ctx.msg.Prompter().RunDialog(dlg) == QDialog::Accepted) {
          form_->Refresh();
          ctx.frame.RefreshAllEditors(this);
        }
      }
      break;
    case kCmdChannelMemMap:
      if (ctx.ws.switches.memMap && rec >= 0) {
        const QString title = QStringLiteral("%1 ([ %2 - %3  %4 - %5 ])")
                                  .arg(ctx.msg.T(228), ctx.msg.T(378))
                                  .arg(zone_ + 1)
                                  .arg(ctx.msg.T(391))
                                  .arg(group_ + 1);
        ShowImageWindow(ctx, rec, zones::kGroupSize, title);
      }
      break;
    default: break;
  }
}

void RegisterTrunkWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::TrunkZoneEdit,
        [](EditorContext& c, QWidget* p) -> CEditorView* { return new CTrunkEditView(c, p); });
  reg.RegisterEditor(EditorKind::GidEdit, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CGidEditView(c, p); });
}

}  // namespace vb420
