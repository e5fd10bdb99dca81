// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/ChEditView.h"

#include <QAction>
#include <QVBoxLayout>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FilterEdit.h"
#include "editors/zones/ui/ChannelFunctionMenu.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneDialogs.h"
#include "lang/ui/MessageHelper.h"
#include "data/ui/MemoryViewer.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {

int ParseClamped(const std::string& text, int lo, int hi) {
  std::string t = text;
  return CFieldCodec::ClampIntText(t, hi, lo, 1);
}

// A number box that changes what the editor shows (zone or channel number).
FieldDescriptor NumberBox(int label, std::function<int()> get, std::function<void(int)> set, int count) {
  FieldDescriptor d;
  d.labelEntry = label;
  d.kind = ControlKind::EditSpin;
  d.encoding = Encoding::Custom;
  d.inputMode = kInputDigits;
  d.maxLength = 3;
  d.customShow = [get](const FormContext&) { return std::to_string(get() + 1); };
  d.customStore = [get, set, count](FormContext&, std::string& text) {
    if (text.empty()) return;
    set(ParseClamped(text, 1, count) - 1);
  };
  d.customSpin = [get, set, count](FormContext&, int dir) { set((get() + (dir > 0 ? 1 : count - 1)) % count); };
  return d;
}

}  // namespace

// ---------------------------------------------------------------------------
// Channel editor

CChEditView::CChEditView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::ChannelEdit, parent), z_(ZonesOf(ctx)) {
  // Opens on the zone and row that Zone Information shows.
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) {
    zone_ = zi->Zone();
    channel_ = std::clamp(zi->CurrentRecord(), 0, zones::kMaxRecords - 1);
  }
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, kClassConv);
  fctx_ = std::make_unique<FormContext>(
      FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting, {zone_, channel_}, locator_.get()});
  form_ = new CFormRenderer(*fctx_, Pages(), this, 10);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int index) {
    if (index != kZoneBox && index != kChannelBox) Changed();
    if (fctx_->message) {
      Report(fctx_->message);
      fctx_->message = 0;
    }
  });
  MessageHelper& msg = ctx.msg;
  auto entry = [&msg](int e) { return [&msg, e] { return msg.T(e); }; };
  using Item = CChannelFunctionMenu::Item;
  std::vector<Item> items = {
      {kCmdChannelCopy, entry(450), QKeySequence(Qt::SHIFT | Qt::Key_F3)},
      {kCmdFrequencyCopy, entry(453), QKeySequence(Qt::SHIFT | Qt::Key_F4)},
      {kCmdToneCopy, entry(456), QKeySequence(Qt::SHIFT | Qt::Key_F5)},
      {0, {}, {}},
      {kCmdZoneUp, entry(955), QKeySequence(Qt::Key_F7)},
      {kCmdZoneDown, entry(978), QKeySequence(Qt::Key_F8)},
      {0, {}, {}},
      {kCmdChannelMemMap,
       [&msg] { return QStringLiteral("%1 (%2)").arg(MenuLabel(msg.T(228)), MenuLabel(msg.T(376))); },
       QKeySequence(Qt::Key_F12)},
  };
  menu_ = new CChannelFunctionMenu(this, std::move(items), [this](int cmd) { RunCommand(cmd); });
  menu_->SetAboutToShow([this] { menu_->SetVisible(kCmdChannelMemMap, Context().ws.switches.memMap); });
}

QString CChEditView::MenuTitle() const {
  return CChannelFunctionMenu::Title(const_cast<CChEditView*>(this)->Context().msg);
}

void CChEditView::FillMenu(QMenu* menu) { menu_->Fill(menu); }

std::vector<FormPage> CChEditView::Pages() {
  ZoneServices& z = z_;
  FormPage page;
  page.fields.push_back(NumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  page.fields.push_back(
      NumberBox(420, [this] { return channel_; }, [this](int v) { SetChannel(v); }, zones::kMaxRecords));
  {
    FieldDescriptor d;
    d.labelEntry = 427;
    d.kind = ControlKind::Static;
    d.encoding = Encoding::Custom;
    d.customShow = [this, &z](const FormContext&) {
      std::string s;
      z.conv.RecordFieldText(zone_, channel_, 0, s);
      return s;
    };
    page.fields.push_back(d);
  }
  // Every channel field comes from the channel table, in its order.
  for (const FieldDescriptor& d : zonefields::Fields(ZoneTable::Channel)) page.fields.push_back(d);
  // The tone combo boxes also report a typed text that equals a row as that
  // row; a typed text goes through the tone rule (and the copy to an off
  // transmit tone), as in the grid.
  for (int field : {5, 6}) {
    const int index = field == 5 ? kRxTone : kTxTone;
    FieldDescriptor& d = page.fields[static_cast<size_t>(index)];
    auto tableStore = d.customStoreValue;
    d.customStoreValue = [this, &z, field, index, tableStore](FormContext& c, int row) {
      auto* edit = form_ ? qobject_cast<CFilterEdit*>(form_->Control(0, index)) : nullptr;
      if (edit && edit->UserTyped()) z.conv.SetTone(zone_, channel_, field, edit->text().toStdString());
      else tableStore(c, row);
    };
  }
  return {page};
}

QString CChEditView::Title() const { return const_cast<CChEditView*>(this)->Context().msg.T(419); }

void CChEditView::Refresh() {
  if (form_) form_->Refresh();
}

bool CChEditView::CommitPendingEdit() {
  if (form_) form_->CommitPending();
  return true;
}

void CChEditView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  zone_ = zone;
  fctx_->cursor.zone = zone;
  if (form_) form_->Refresh();
}

void CChEditView::SetChannel(int channel) {
  if (channel < 0 || channel >= zones::kMaxRecords) return;
  channel_ = channel;
  fctx_->cursor.record = channel;
  if (form_) form_->Refresh();
}

void CChEditView::Changed() { Context().frame.RefreshAllEditors(this); }

void CChEditView::Report(int messageEntry) {
  if (!messageEntry) return;
  // Shown once the store is done, so the form is not in the middle of a store.
  QMetaObject::invokeMethod(this, [this, messageEntry] {
    Context().msg.Warning(Context().msg.T(messageEntry), kMsgOk, MessageHelper::kNoticeCaption, this);
    Context().msg.boxShown = false;
  }, Qt::QueuedConnection);
}

void CChEditView::RunCommand(int command) {
  CommitPendingEdit();
  EditorContext& ctx = Context();
  const int rec = z_.zones.FindRecord(zone_, channel_);
  const bool conv = z_.zones.ZoneClass(zone_) == kClassConv;
  auto after = [this] {
    form_->Refresh();
    Changed();
  };
  switch (command) {
    case kCmdZoneUp: SetZone((zone_ + 1) % zones::kZoneCount); break;
    case kCmdZoneDown: SetZone((zone_ + zones::kZoneCount - 1) % zones::kZoneCount); break;
    case kCmdChannelCopy:
      if (rec >= 0 && conv) {
        CChannelCopyDlg dlg(ctx, zone_, channel_, false, this);
        if (ctx.msg.Prompter().RunDialog(dlg) == QDialog::Accepted) after();
      }
      break;
    case kCmdFrequencyCopy:
      if (rec >= 0 && conv) {
        CFreqCopyDlg dlg(ctx, zone_, channel_, this);
        if (ctx.msg.Prompter().RunDialog(dlg) == QDialog::Accepted) after();
      }
      break;
    case kCmdToneCopy: {
      if (rec >= 0 && conv && z_.conv.CanCopyTone(zone_, channel_)) {
        CToneCopyDlg dlg(ctx, zone_, channel_, this);
        if (ctx.msg.Prompter().RunDialog(dlg) == QDialog::Accepted) after();
      }
      break;
    }
    case kCmdChannelMemMap:
      if (ctx.ws.switches.memMap && rec >= 0) {
        const QString title = QStringLiteral("%1 ([ %2 - %3  %4 - %5 ])")
                                  .arg(ctx.msg.T(228), ctx.msg.T(378))
                                  .arg(zone_ + 1)
                                  .arg(ctx.msg.T(376))
                                  .arg(channel_ + 1);
        ShowImageWindow(ctx, rec, zones::kChannelSize, title);
      }
      break;
    default: break;  // CH/GID Jump, Group Copy, Channel Insert and Delete: nothing here
  }
}

// ---------------------------------------------------------------------------
// Conventional zone editor

CConvEditView::CConvEditView(EditorContext& ctx, QWidget* parent)
    : CEditorView(ctx, EditorKind::ConvZoneEdit, parent), z_(ZonesOf(ctx)) {
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) zone_ = zi->Zone();
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, kClassConv);
  fctx_ = std::make_unique<FormContext>(
      FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting, {zone_, -1}, locator_.get()});
  form_ = new CFormRenderer(*fctx_, Pages(), this, 8);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int index) {
    if (index != 0) Context().frame.RefreshAllEditors(this);
    Q_EMIT TitleChanged();
  });
  auto* memMap = new QAction(this);
  memMap->setShortcut(QKeySequence(Qt::Key_F12));
  memMap->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(memMap, &QAction::triggered, this, [this] {
    EditorContext& c = Context();
    if (!c.ws.switches.memMap || z_.zones.ZoneClass(zone_) != kClassConv) return;
    const QString title = QStringLiteral("%1 (%2 [ %3 - %4 ])")
                              .arg(c.msg.T(228),
                                   QString::fromStdString(CZoneMemory::ZoneTypeName(z_.zones.ZoneType(zone_), c.ws.text)),
                                   c.msg.T(378))
                              .arg(zone_ + 1);
    ShowImageWindow(c, z_.zones.ZoneOffset(zone_), zones::kConvHeader, title);
  });
  // The zone memory map is reached with F12 or from the window's pop-up
  // menu, and only with the memory-map switch on.
  memMap->setText(QStringLiteral("%1 (%2)").arg(MenuLabel(ctx.msg.T(228)), MenuLabel(ctx.msg.T(378))));
  memMap->setVisible(ctx.ws.switches.memMap);
  addAction(memMap);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::vector<FormPage> CConvEditView::Pages() {
  FormPage page;
  page.fields.push_back(NumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  // Every header field comes from the conventional header table.
  for (const FieldDescriptor& d : zonefields::Fields(ZoneTable::ConvHeader)) page.fields.push_back(d);
  return {page};
}

QString CConvEditView::Title() const {
  auto& c = const_cast<CConvEditView*>(this)->Context();
  return QStringLiteral("%1 - %2 [ %3 - %4 ]")
      .arg(CEditorView::Title(), QString::fromStdString(CZoneMemory::ZoneTypeName(z_.zones.ZoneType(zone_), c.ws.text)),
           c.msg.T(378))
      .arg(zone_ + 1);
}

void CConvEditView::Refresh() {
  if (form_) form_->Refresh();
  Q_EMIT TitleChanged();
}

bool CConvEditView::CommitPendingEdit() {
  if (form_) form_->CommitPending();
  return true;
}

void CConvEditView::SetZone(int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  zone_ = zone;
  fctx_->cursor.zone = zone;
  Refresh();
}

void RegisterChannelWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::ChannelEdit, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CChEditView(c, p); });
  reg.RegisterEditor(EditorKind::ConvZoneEdit, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CConvEditView(c, p); });
}

}  // namespace vb420
