// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/scan/ScanFields.h"
#include "editors/scan/ui/ScanViews.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/ModelChange.h"
#include "editors/forms/ui/FormRefusal.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "editors/zones/ui/ZoneServices.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

// The scan clean-ups go with the zone memory manager the windows share.
void ConnectHooks(EditorContext& ctx) { scan::ConnectZoneHooks(ZonesOf(ctx).zones); }

void Changed(CEditorView* view) {
  view->Context().frame.RefreshAllEditors(view);
  view->Context().frame.UpdateCaption();
}

}  // namespace

// ---------------------------------------------------------------------------
// Scan settings

CScanView::CScanView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::Scan, parent) {
  setObjectName("scanView");
  ConnectHooks(ctx);
  Workspace& ws = ctx.ws;
  fctx_ = std::make_unique<forms::FormContext>(ws.data, ws.text, ws.switches.voting);
  form_ = new CFormRenderer(*fctx_, scan::ScanPages(), this, 10);
  listButton_ = new QPushButton(ctx.msg.T(522) + QStringLiteral("..."), this);
  listButton_->setObjectName("scanListButton");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(listButton_);
  layout->addLayout(buttons);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) {
    if (const int m = TakeRefusal(*fctx_, *form_)) {
      MessageHelper& msg = Context().msg;
      msg.Error(msg.T(m), kMsgOk, MessageHelper::kErrorCaption, this);
      return;
    }
    // The scan mode changes what other windows show: all of them reread.
    Changed(this);
  });
  connect(listButton_, &QPushButton::clicked, this, [this] { Context().frame.OpenEditor(EditorKind::ScanList); });
  Refresh();
}

CScanView::~CScanView() = default;

void CScanView::Refresh() {
  form_->Refresh();
  // Without the voting page there is no tab strip, only the scan page.
  if (QTabWidget* tabs = form_->Tabs())
    tabs->tabBar()->setVisible(forms::FormEngine::PageShown(*fctx_, form_->Pages()[1]));
}

QWidget* CScanView::InitialFocus() const { return form_->Control(0, 0); }

bool CScanView::CommitPendingEdit() {
  form_->CommitPending();
  return true;
}

// ---------------------------------------------------------------------------
// Scan list

CScanListView::CScanListView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::ScanList, parent) {
  setObjectName("scanListView");
  ConnectHooks(ctx);
  if (auto* zi = dynamic_cast<CZnInfoView*>(ctx.frame.FindEditor(EditorKind::ZoneInfo))) zone_ = zi->Zone();
  auto* top = new QHBoxLayout;
  auto* zoneLabel = new QLabel(ctx.msg.T(378), this);
  zoneBox_ = new QSpinBox(this);
  zoneBox_->setObjectName("zoneBox");
  zoneBox_->setRange(1, zones::kZoneCount);
  zoneBox_->setWrapping(true);
  zoneLabel->setBuddy(zoneBox_);
  caption_ = new QLabel(ctx.msg.T(522), this);
  top->addWidget(zoneLabel);
  top->addWidget(zoneBox_);
  top->addSpacing(12);
  top->addWidget(caption_);
  top->addStretch();
  list_ = new QListWidget(this);
  list_->setObjectName("scanList");
  QFont mono(QStringLiteral("Courier"));
  mono.setStyleHint(QFont::Monospace);
  list_->setFont(mono);
  for (int r = 0; r < zones::kZoneCount; ++r) {
    auto* item = new QListWidgetItem(QString::asprintf("%s %3d", ctx.msg.T(378).toUtf8().constData(), r + 1), list_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
  }
  list_->setMinimumHeight(320);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_);

  connect(zoneBox_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!refreshing_) SetZone(v - 1);
  });
  connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (refreshing_) return;
    const int row = list_->row(item);
    const CZoneMemory zones(Context().ws.data);
    if (!scan::ScanListRowEnabled(zones, zone_, row)) {
      Refresh();
      return;
    }
    scan::SetInScanList(Context().ws.data, zone_, row, item->checkState() == Qt::Checked);
    Refresh();
    Changed(this);
  });
  // Zone Up and Zone Down as in the zone windows.
  auto* up = new QShortcut(QKeySequence(Qt::Key_F7), this);
  connect(up, &QShortcut::activated, this, [this] { SetZone(zone_ + 1); });
  auto* down = new QShortcut(QKeySequence(Qt::Key_F8), this);
  connect(down, &QShortcut::activated, this, [this] { SetZone(zone_ - 1); });
}

QWidget* CScanListView::InitialFocus() const { return list_; }

QString CScanListView::Title() const {
  MessageHelper& msg = const_cast<CScanListView*>(this)->Context().msg;
  return QStringLiteral("%1 %2 %3").arg(msg.T(378)).arg(zone_ + 1).arg(msg.T(522));
}

void CScanListView::SetZone(int zone) {
  zone_ = (zone % zones::kZoneCount + zones::kZoneCount) % zones::kZoneCount;
  Refresh();
  Q_EMIT TitleChanged();
}

void CScanListView::Refresh() {
  refreshing_ = true;
  zoneBox_->setValue(zone_ + 1);
  const CZoneMemory zones(Context().ws.data);
  for (int r = 0; r < zones::kZoneCount; ++r) {
    QListWidgetItem* item = list_->item(r);
    const scan::RowState s = scan::ScanListRow(zones, zone_, r);
    item->setCheckState(s == scan::RowState::Checked ? Qt::Checked
                        : s == scan::RowState::Unchecked ? Qt::Unchecked
                                                         : Qt::PartiallyChecked);
    const bool enabled = scan::ScanListRowEnabled(zones, zone_, r);
    item->setFlags(enabled ? (Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable)
                           : Qt::ItemIsSelectable);
  }
  refreshing_ = false;
}

// ---------------------------------------------------------------------------
// Registration

// The zone memory manager of the windows is made with Zone Information (the
// first window of every programming): the scan clean-ups are connected to it
// there, before any zone can be deleted, and again whenever the programming
// is replaced. Registered after the zone windows and their model-change
// hooks (app/AppRegistration.cpp keeps that order).
void RegisterScanWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::Scan, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CScanView(c, p); });
  reg.RegisterEditor(EditorKind::ScanList,
                     [](EditorContext& c, QWidget* p) -> CEditorView* { return new CScanListView(c, p); });
  if (const EditorFactory* f = reg.Editor(EditorKind::ZoneInfo)) {
    EditorFactory original = *f;
    reg.RegisterEditor(EditorKind::ZoneInfo, [original](EditorContext& c, QWidget* p) -> CEditorView* {
      ConnectHooks(c);
      return original(c, p);
    });
  }
  // A model change to another band clears every zone at once, past the
  // windows' zone memory: the scan data follows afterwards.
  reg.AddModelChangeHooks([](EditorContext& ctx, ModelChangeHooks& hooks) {
    auto clear = hooks.clearAllZones;
    RadioData& data = ctx.ws.data;
    hooks.clearAllZones = [clear, &data] {
      if (clear) clear();
      scan::ZonesCleared(data);
    };
  });
  reg.AddImageReplacedHook([](EditorContext& ctx) { ConnectHooks(ctx); });
}

}  // namespace vb420
