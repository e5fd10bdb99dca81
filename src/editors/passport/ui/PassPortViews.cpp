// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/passport/ui/PassPortViews.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/zones/PassPortFields.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "lang/HelpContexts.h"
#include "lang/TextTable.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {

// The PassPort forms carry fixed texts of their own, in the program's two
// languages.
QString Fixed(EditorContext& ctx, const char* en, const char* es) {
  return QString::fromUtf8(ctx.ws.text.CurrentLanguage() == "Spanish" ? es : en);
}

// Placeholder label entry: makes the renderer give a field its label, whose
// text is then the form's own.
constexpr int kLabelPlaceholder = 1190;

}  // namespace

// ---------------------------------------------------------------------------

CPPHeaderView::CPPHeaderView(EditorContext& ctx, EditorKind kind, ZoneTable table, QWidget* parent)
    : CEditorView(ctx, kind, parent), z_(ZonesOf(ctx)), table_(table) {
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) zone_ = zi->Zone();
  locator_ = std::make_unique<ZoneRecordLocator>(z_.zones, kClassPassPort);
  fctx_ = std::make_unique<FormContext>(
      FormContext{ctx.ws.data, ctx.ws.text, ctx.ws.switches.voting, {zone_, -1}, locator_.get()});
  FormPage page;
  for (FieldDescriptor d : zonefields::Fields(table)) {
    if (d.kind == ControlKind::List) continue;  // the blacklist has a list of its own
    d.labelEntry = kLabelPlaceholder;
    keys_.push_back(d.key);
    page.fields.push_back(std::move(d));
  }
  const int perColumn = table == ZoneTable::PassPortSystem ? 19 : table == ZoneTable::PassPortSearch ? 15 : 6;
  form_ = new CFormRenderer(*fctx_, {page}, this, perColumn);
  layout_ = new QVBoxLayout(this);
  layout_->addWidget(form_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  close_ = new QPushButton(ctx.msg.T(15), this);
  auto* help = new QPushButton(ctx.msg.T(16), this);
  buttons->addWidget(close_);
  buttons->addWidget(help);
  layout_->addLayout(buttons);
  connect(close_, &QPushButton::clicked, this, [this] {
    if (auto* f = qobject_cast<QMdiSubWindow*>(parentWidget())) f->close();
    else close();
  });
  connect(help, &QPushButton::clicked, this, [this] { Context().help.Show(this, HelpContext()); });
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) {
    if (fctx_->message) {
      const int m = fctx_->message;
      fctx_->message = 0;
      QMetaObject::invokeMethod(this, [this, m] {
        Context().msg.Warning(Context().msg.T(m), kMsgOk, MessageHelper::kNoticeCaption, this);
        Context().msg.boxShown = false;
      }, Qt::QueuedConnection);
    }
    ApplyLabels();
    Reread();
    Context().frame.RefreshAllEditors(this);
  });
}

void CPPHeaderView::ApplyLabels() {
  EditorContext& ctx = Context();
  const bool uhf = ctx.ws.data.model.BandClass() == 1;
  for (size_t i = 0; i < keys_.size(); ++i) {
    const int index = static_cast<int>(i);
    QString text = QString::fromStdString(passport::FormLabel(table_, keys_[i], ctx.ws.text));
    // On UHF bands the receive DFA fields are the only DFA channels.
    if (uhf && keys_[i] == "rxdfa") text = Fixed(ctx, "DFA Channel", "Canal DFA");
    if (uhf && keys_[i] == "rxdfa2") text = Fixed(ctx, "Backup DFA Channel", "Canal DFA de respaldo");
    QWidget* control = form_->Control(0, index);
    QLabel* label = form_->Label(0, index);
    if (auto* check = qobject_cast<QCheckBox*>(control)) check->setText(text);
    else if (label) label->setText(text);
    bool shown = true;
    if (table_ == ZoneTable::PassPortSystem) shown = passport::SystemFieldShown(*fctx_, keys_[i]);
    if (control) control->setVisible(shown);
    if (label) label->setVisible(shown);
    // A box's spin arrows go with it.
    if (CSpinButtons* spin = form_->Spin(0, index)) spin->setVisible(shown);
  }
}

int CPPHeaderView::IndexOf(const std::string& key) const {
  for (size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i] == key) return static_cast<int>(i);
  return -1;
}

QWidget* CPPHeaderView::Control(const std::string& key) const {
  const int i = IndexOf(key);
  return i < 0 ? nullptr : form_->Control(0, i);
}

QString CPPHeaderView::Title() const {
  auto& c = const_cast<CPPHeaderView*>(this)->Context();
  QString pattern;
  switch (table_) {
    case ZoneTable::PassPortSystem:
      pattern = Fixed(c, "Zone Edit - PassPort System [Zone %1]", "Edición de zona - Sistema PassPort [Zona %1]");
      break;
    case ZoneTable::PassPortSearch:
      pattern = Fixed(c, "Site Search and Hold Settings - PassPort System [Zone %1]",
                      "Búsqueda y permanencia de sitios - Sistema PassPort [Zona %1]");
      break;
    default:
      pattern = Fixed(c, "Seed Frequencies - PassPort System [Zone %1]",
                      "Frecuencias semilla - Sistema PassPort [Zona %1]");
      break;
  }
  return pattern.arg(zone_ + 1, 3);
}

void CPPHeaderView::Refresh() {
  form_->Refresh();
  ApplyLabels();
  Reread();
  Q_EMIT TitleChanged();
}

bool CPPHeaderView::CommitPendingEdit() {
  form_->CommitPending();
  return true;
}

int CPPHeaderView::HelpContext() const {
  switch (table_) {
    case ZoneTable::PassPortSystem: return kHelpPPSystem;
    case ZoneTable::PassPortSearch: return kHelpPPSearchHold;
    default: return kHelpPPSeedFreq;
  }
}

// ---------------------------------------------------------------------------

CPPSysDataView::CPPSysDataView(EditorContext& ctx, QWidget* parent)
    : CPPHeaderView(ctx, EditorKind::PPSysData, ZoneTable::PassPortSystem, parent) {
  // Opening puts a stray alert tone and (on UHF) the TX DFA channels right.
  if (passport::OpenSystemData(ctx.ws.data, zone_)) ctx.frame.RefreshAllEditors(this);
  Refresh();
}

CPPSeedFreqView::CPPSeedFreqView(EditorContext& ctx, QWidget* parent)
    : CPPHeaderView(ctx, EditorKind::PPSeedFreq, ZoneTable::PassPortSeed, parent) {
  Refresh();
}

CPPSearchHoldView::CPPSearchHoldView(EditorContext& ctx, QWidget* parent)
    : CPPHeaderView(ctx, EditorKind::PPSearchHold, ZoneTable::PassPortSearch, parent) {
  if (passport::OpenSearchHold(ctx.ws.data, zone_)) ctx.frame.RefreshAllEditors(this);
  auto* top = new QHBoxLayout;
  for (QLabel*& l : summary_) {
    l = new QLabel(this);
    top->addWidget(l);
    top->addSpacing(20);
  }
  top->addStretch(1);
  Layout()->insertLayout(0, top);
  // The ASID blacklist: 127 check boxes, and Set All / Clear All.
  auto* box = new QHBoxLayout;
  auto* caption = new QLabel(QString::fromStdString(passport::FormLabel(ZoneTable::PassPortSearch, "blacklist", ctx.ws.text)), this);
  blacklist_ = new QListWidget(this);
  blacklist_->setObjectName(QStringLiteral("asidBlacklist"));
  blacklist_->setFlow(QListView::TopToBottom);
  blacklist_->setWrapping(true);
  blacklist_->setResizeMode(QListView::Adjust);
  blacklist_->setMaximumHeight(150);
  for (int a = 1; a <= 127; ++a) {
    auto* item = new QListWidgetItem(QString::number(a), blacklist_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setCheckState(Qt::Unchecked);
  }
  setAll_ = new QPushButton(ctx.msg.T(1227), this);
  clearAll_ = new QPushButton(ctx.msg.T(1226), this);
  auto* side = new QVBoxLayout;
  side->addWidget(caption);
  side->addWidget(setAll_);
  side->addWidget(clearAll_);
  side->addStretch(1);
  box->addLayout(side);
  box->addWidget(blacklist_, 1);
  Layout()->insertLayout(2, box);
  connect(blacklist_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (filling_) return;
    passport::SetAsidBlacklisted(Context().ws.data, zone_, blacklist_->row(item) + 1, item->checkState() == Qt::Checked);
    Context().frame.RefreshAllEditors(this);
  });
  for (auto [button, on] : {std::pair{setAll_, true}, std::pair{clearAll_, false}}) {
    connect(button, &QPushButton::clicked, this, [this, on = on] {
      passport::SetAllAsids(Context().ws.data, zone_, on);
      Reread();
      Context().frame.RefreshAllEditors(this);
    });
  }
  Refresh();
}

void CPPSearchHoldView::Reread() {
  if (!blacklist_) return;
  const std::vector<std::string> lines = passport::SystemSummary(Context().ws.data, zone_);
  for (int i = 0; i < 3; ++i) summary_[i]->setText(QString::fromStdString(lines[static_cast<size_t>(i)]));
  const bool usable = z_.zones.ZoneClass(zone_) == kClassPassPort && !z_.zones.ZoneDamaged(zone_);
  filling_ = true;
  for (int a = 1; a <= 127; ++a)
    blacklist_->item(a - 1)->setCheckState(passport::AsidBlacklisted(Context().ws.data, zone_, a) ? Qt::Checked : Qt::Unchecked);
  filling_ = false;
  blacklist_->setEnabled(usable);
  setAll_->setEnabled(usable);
  clearAll_->setEnabled(usable);
}

// ---------------------------------------------------------------------------
// Mobile ID names and site information

CPPListDlg::CPPListDlg(EditorContext& ctx, pplist::Kind kind, QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind) {
  setWindowTitle(MenuLabel(ctx.msg.T(kind == pplist::Kind::MobileIds ? 1211 : 1212)));
  const auto& fields = pplist::Fields(kind);
  std::vector<CFieldGrid::Column> columns;
  for (const FieldDescriptor& d : fields) {
    const bool name = d.encoding == Encoding::Name;
    columns.push_back({&d, name ? 130 : 90, name ? kAlignLeft : kAlignRight, -1, name});
  }
  const int rows = static_cast<int>(pplist::Rows(ctx.ws.data, kind).count);
  RadioData& data = ctx.ws.data;
  TextTable& text = ctx.ws.text;
  grid_ = new CFieldGrid(
      data, text,
      [&data, &text, kind](int row) -> std::unique_ptr<forms::BoundRecord> {
        return std::make_unique<pplist::RowRecord>(data, text, kind, row - 1);
      },
      std::move(columns), std::max(rows, 1), this);
  grid_->setObjectName(QStringLiteral("listGrid"));
  grid_->SetNumberColumn(359, 40);
  grid_->SetRowTest([&data, kind](int row) { return pplist::RowUsed(data, kind, row - 1); });
  grid_->SetNotice([this](const QString& t) { ctx_.msg.Warning(t, kMsgOk, MessageHelper::kNoticeCaption, this); });
  // Delete on whole rows empties them; a row is one record of the list.
  grid_->ClaimCommands({kCmdGridDelete}, [this](int) { DeleteRows(); });
  grid_->setFixedWidth(grid_->FullWidth() + 20);
  grid_->setMinimumHeight(grid_->HeightForRows(16));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(ctx.msg.T(15), QDialogButtonBox::AcceptRole);
  QPushButton* help = buttons->addButton(ctx.msg.T(16), QDialogButtonBox::HelpRole);
  layout->addWidget(buttons);
  connect(close, &QPushButton::clicked, this, [this] {
    CommitEdit();
    accept();
  });
  connect(help, &QPushButton::clicked, this, [this] {
    ctx_.help.Show(this, kind_ == pplist::Kind::MobileIds ? kHelpPPMobileIds : kHelpPPSites);
  });
  connect(grid_, &CFieldGrid::Stored, this, [this](int, int) { ctx_.frame.RefreshAllEditors(); });
  grid_->Refill();
  resize(grid_->width() + 30, 480);
}

CFilterEdit* CPPListDlg::CellEdit() const { return grid_->CellEdit(); }

void CPPListDlg::CommitEdit() { grid_->CommitEdit(); }

void CPPListDlg::DeleteRows() {
  int first = 0, last = 0;
  grid_->SelectedRows(first, last);
  pplist::ClearRows(ctx_.ws.data, kind_, first - 1, last - 1);
  grid_->SetRowSelectMode(false);
  grid_->Refill();
  ctx_.frame.RefreshAllEditors();
}

void RegisterPassPortWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::PPSysData, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CPPSysDataView(c, p); });
  reg.RegisterEditor(EditorKind::PPSearchHold,
        [](EditorContext& c, QWidget* p) -> CEditorView* { return new CPPSearchHoldView(c, p); });
  reg.RegisterEditor(EditorKind::PPSeedFreq, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CPPSeedFreqView(c, p); });
  reg.RegisterCommand(kCmdMobileIdNames, [](EditorContext& ctx) {
    CPPListDlg dlg(ctx, pplist::Kind::MobileIds, ctx.frame.MainWindow());
    ctx.msg.Prompter().RunDialog(dlg);
  });
  reg.RegisterCommand(kCmdSiteInfo, [](EditorContext& ctx) {
    CPPListDlg dlg(ctx, pplist::Kind::Sites, ctx.frame.MainWindow());
    ctx.msg.Prompter().RunDialog(dlg);
  });
}

}  // namespace vb420
