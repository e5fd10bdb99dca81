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
  fctx_ = std::make_unique<FormContext>(FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting});
  form_ = new CFormRenderer(*fctx_, Pages(), this, 10);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int index) {
    if (index != kZoneBox && index != kChannelBox) Changed();
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
  auto exists = [this, &z](const FormContext&) { return z.zones.FindRecord(zone_, channel_) >= 0; };
  auto editable = [this, &z](int field) {
    return [this, &z, field](const FormContext&) {
      return z.zones.FindRecord(zone_, channel_) >= 0 && z.conv.IsEditable(zone_, channel_, field);
    };
  };
  auto fieldText = [this, &z](int field) {
    return [this, &z, field](const FormContext&) {
      std::string s;
      z.conv.RecordFieldText(zone_, channel_, field, s);
      return s;
    };
  };
  FormPage page;
  page.fields.push_back(NumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  page.fields.push_back(
      NumberBox(420, [this] { return channel_; }, [this](int v) { SetChannel(v); }, zones::kMaxRecords));
  {
    FieldDescriptor d;
    d.labelEntry = 427;
    d.kind = ControlKind::Static;
    d.encoding = Encoding::Custom;
    d.customShow = fieldText(0);
    page.fields.push_back(d);
  }
  for (int field : {3, 4}) {
    FieldDescriptor d;
    d.labelEntry = field == 3 ? 421 : 422;
    d.kind = ControlKind::Text;
    d.encoding = Encoding::Custom;
    d.inputMode = kInputDecimal;
    d.maxLength = 9;
    d.customShow = fieldText(field);
    d.customStore = [this, &z, field](FormContext&, std::string& text) {
      const FieldResult r = z.conv.SetFrequency(zone_, channel_, field, text, true);
      Report(r.message);
    };
    if (field == 4) d.enabled = exists;
    page.fields.push_back(d);
  }
  for (int field : {5, 6}) {
    FieldDescriptor d;
    d.labelEntry = field == 5 ? 423 : 424;
    d.kind = ControlKind::EditCombo;
    d.encoding = Encoding::Custom;
    d.inputMode = kInputTone;
    d.maxLength = 5;
    d.dynamicChoices = [](const FormContext& c) {
      std::vector<Choice> rows;
      rows.reserve(kToneListRows);
      rows.push_back({362, 0, {}});
      for (int r = 1; r < kToneListRows; ++r) rows.push_back({-1, r, c.data.field.LocalizeDecimal(c.data.field.ToneListText(r))});
      return rows;
    };
    d.customShow = fieldText(field);
    d.customValue = [this, &z, field](const FormContext& c) {
      const int rec = z.zones.FindRecord(zone_, channel_);
      if (rec < 0) return -1;
      return CFieldCodec::ToneListRow(c.data.buffers.Image().u16le(static_cast<size_t>(rec) + (field == 5 ? 11 : 13)));
    };
    d.customStoreValue = [this, &z, field](FormContext&, int row) {
      // The combo box also reports a typed text that equals a row as that
      // row; typed text goes through the tone rule (and the copy to an off
      // transmit tone), as in the grid.
      auto* edit = form_ ? qobject_cast<CFilterEdit*>(form_->Control(0, field == 5 ? kRxTone : kTxTone)) : nullptr;
      if (edit && edit->UserTyped()) z.conv.SetTone(zone_, channel_, field, edit->text().toStdString());
      else z.conv.SetTone(zone_, channel_, field, "", row);
    };
    d.customStore = [this, &z, field](FormContext&, std::string& text) { z.conv.SetTone(zone_, channel_, field, text); };
    d.enabled = field == 5 ? std::function<bool(const FormContext&)>(exists) : editable(6);
    page.fields.push_back(d);
  }
  {
    FieldDescriptor d;
    d.labelEntry = 425;
    d.kind = ControlKind::Text;
    d.encoding = Encoding::Custom;
    d.inputMode = fctx_->IsSecondGen() ? kInputName : kInputAll;
    d.maxLength = fctx_->IsSecondGen() ? 8 : 12;
    d.customShow = fieldText(7);
    d.customStore = [this, &z](FormContext&, std::string& text) { z.conv.SetName(zone_, channel_, text); };
    d.enabled = exists;
    page.fields.push_back(d);
  }
  struct Option {
    int field;
    int label;
    bool check;
  };
  // Labels as the grid names the same fields (optional signalling, scan).
  const Option options[] = {{8, 426, false},  {9, 428, false},  {10, 432, false}, {11, 430, false},
                            {12, 431, false}, {13, 429, false}, {14, 433, true},  {15, 434, true},
                            {16, 366, true},  {18, 828, true}};
  for (const Option& o : options) {
    FieldDescriptor d;
    d.labelEntry = o.label;
    d.kind = o.check ? ControlKind::Check : ControlKind::Combo;
    d.encoding = Encoding::Custom;
    const int field = o.field;
    d.dynamicChoices = [this, &z, field](const FormContext&) {
      std::vector<Choice> rows;
      for (const OptionChoice& c : z.conv.OptionChoices(zone_, channel_, field))
        rows.push_back({-1, c.value | (c.entry == 0xFF ? 0 : c.entry << 8), c.text});
      return rows;
    };
    d.customValue = [this, &z, field](const FormContext& c) {
      std::string s;
      int v = z.conv.RecordFieldText(zone_, channel_, field, s);
      if (field == 12 && v == '3') {
        const int rec = z.zones.FindRecord(zone_, channel_);
        v |= c.data.buffers.Image().u8(static_cast<size_t>(rec) + 30) << 8;
      }
      return v;
    };
    d.customStoreValue = [this, &z, field](FormContext&, int v) {
      z.conv.SetOption(zone_, channel_, field, v & 0xFF, (v >> 8) ? (v >> 8) : 0xFF);
    };
    d.checkedValue = 0;
    d.uncheckedValue = 1;
    d.enabled = editable(field);
    page.fields.push_back(d);
  }
  {
    FieldDescriptor d;
    d.labelEntry = 435;  // the scrambler code
    d.kind = ControlKind::EditSpin;
    d.encoding = Encoding::Custom;
    d.inputMode = kInputDigits;
    d.maxLength = 2;
    d.customShow = fieldText(19);
    d.customStore = [this, &z](FormContext&, std::string& text) { z.conv.SetStepped(zone_, channel_, text); };
    d.customSpin = [this, &z](FormContext&, int dir) { z.conv.SetStepped(zone_, channel_, dir); };
    d.enabled = editable(19);
    page.fields.push_back(d);
  }
  {
    FieldDescriptor d;
    d.labelEntry = 395;  // transmit check
    d.kind = ControlKind::Combo;
    d.encoding = Encoding::Custom;
    d.dynamicChoices = [this, &z](const FormContext&) {
      std::vector<Choice> rows;
      for (const OptionChoice& c : z.conv.OptionChoices(zone_, channel_, 20)) rows.push_back({-1, c.value, c.text});
      return rows;
    };
    d.customValue = [this, &z](const FormContext&) {
      std::string s;
      return z.conv.RecordFieldText(zone_, channel_, 20, s);
    };
    d.customStoreValue = [this, &z](FormContext&, int v) { z.conv.SetOption(zone_, channel_, 20, v); };
    d.enabled = editable(20);
    page.fields.push_back(d);
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
  if (form_) form_->Refresh();
}

void CChEditView::SetChannel(int channel) {
  if (channel < 0 || channel >= zones::kMaxRecords) return;
  channel_ = channel;
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
      std::string tx;
      z_.conv.RecordFieldText(zone_, channel_, 4, tx);
      if (rec >= 0 && conv && !tx.empty() && ctx.ws.data.Image().u16le(static_cast<size_t>(rec) + 11) != 0xFFFF) {
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
  fctx_ = std::make_unique<FormContext>(FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting});
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
  ZoneServices& z = z_;
  auto isConv = [this, &z](const FormContext&) { return z.zones.ZoneClass(zone_) == kClassConv; };
  FormPage page;
  page.fields.push_back(NumberBox(418, [this] { return zone_; }, [this](int v) { SetZone(v); }, zones::kZoneCount));
  struct Header {
    int field;
    int label;
    ControlKind kind;
  };
  const Header headers[] = {
      {0, 462, ControlKind::Text},     {1, 470, ControlKind::EditSpin}, {2, 471, ControlKind::EditSpin},
      {3, 522, ControlKind::EditSpin}, {4, 473, ControlKind::Check},    {5, 474, ControlKind::Combo},
      {6, 475, ControlKind::Combo},    {7, 476, ControlKind::EditSpin}, {8, 477, ControlKind::EditSpin},
      {9, 478, ControlKind::EditSpin}, {10, 479, ControlKind::EditSpin}, {11, 480, ControlKind::Check},
      {12, 481, ControlKind::Check},   {13, 482, ControlKind::Check},
  };
  for (const Header& h : headers) {
    FieldDescriptor d;
    d.labelEntry = h.label;
    d.kind = h.kind;
    d.encoding = Encoding::Custom;
    const int field = h.field;
    d.customShow = [this, &z, field](const FormContext&) {
      std::string s;
      z.conv.HeaderFieldText(zone_, field, s);
      return s;
    };
    if (h.kind == ControlKind::Text || h.kind == ControlKind::EditSpin) {
      d.customStore = [this, &z, field](FormContext&, std::string& text) { z.conv.SetHeaderField(zone_, field, text); };
      d.customSpin = [this, &z, field](FormContext&, int dir) { z.conv.SpinHeaderField(zone_, field, dir); };
      if (field == 0) {
        d.inputMode = fctx_->IsSecondGen() ? kInputName : kInputAll;
        d.maxLength = fctx_->IsSecondGen() ? 8 : 12;
      } else {
        d.inputMode = kInputDigits;
        d.maxLength = 4;
      }
    } else {
      d.dynamicChoices = [&z, field](const FormContext&) {
        std::vector<Choice> rows;
        for (const OptionChoice& c : z.conv.HeaderChoices(field)) rows.push_back({-1, c.value, c.text});
        return rows;
      };
      d.customValue = [this, &z, field](const FormContext&) {
        std::string s;
        return z.conv.HeaderFieldText(zone_, field, s);
      };
      d.customStoreValue = [this, &z, field](FormContext&, int v) { z.conv.SetHeaderOption(zone_, field, v); };
      d.checkedValue = 0;
      d.uncheckedValue = 1;
    }
    d.enabled = isConv;
    page.fields.push_back(d);
  }
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
  Refresh();
}

VB420_REGISTER_EDITOR(EditorKind::ChannelEdit, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CChEditView(c, p); });
VB420_REGISTER_EDITOR(EditorKind::ConvZoneEdit, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CConvEditView(c, p); });

}  // namespace vb420
