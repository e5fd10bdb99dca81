// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/dtmf/DtmfFields.h"
#include "editors/dtmf/ui/DtmfViews.h"

#include <algorithm>

#include <QGridLayout>
#include <QTabWidget>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/SignallingLayout.h"
#include "editors/grid/FieldGrid.h"
#include "editors/forms/ui/FormRenderer.h"
#include "frame/ui/Workspace.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

CSignallingView::CSignallingView(EditorContext& ctx, EditorKind kind, const std::vector<forms::FormPage>& pages,
                                 int rowsPerColumn, QWidget* parent)
    : CEditorView(ctx, kind, parent), grids_(pages.size(), nullptr) {
  Workspace& ws = ctx.ws;
  fctx_ = std::make_unique<forms::FormContext>(ws.data, ws.text, ws.switches.voting);
  form_ = new CFormRenderer(*fctx_, pages, this, rowsPerColumn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) {
    for (CFieldGrid* g : grids_)
      if (g) g->Refill();
    Context().frame.RefreshAllEditors(this);
    Context().frame.UpdateCaption();
  });
}

CSignallingView::~CSignallingView() = default;

void CSignallingView::PlaceGrid(int page, int index, CFieldGrid* grid, bool wholeColumn) {
  QWidget* placeholder = form_->Control(page, index);
  grids_[static_cast<size_t>(page)] = grid;
  grid->setMinimumWidth(grid->FullWidth());
  if (!placeholder || !placeholder->parentWidget()) return;
  auto* layout = qobject_cast<QGridLayout*>(placeholder->parentWidget()->layout());
  if (!layout) return;
  int row = 0, col = 0, rs = 0, cs = 0;
  layout->getItemPosition(layout->indexOf(placeholder), &row, &col, &rs, &cs);
  layout->removeWidget(placeholder);
  placeholder->hide();
  // The grid takes the label column too (and, alone in its column, every row).
  layout->addWidget(grid, row, std::max(0, col - 1), wholeColumn ? layout->rowCount() : 1, 2);
  connect(grid, &CFieldGrid::Stored, this, [this, grid](int, int) { GridStored(grid); });
}

void CSignallingView::GridStored(CFieldGrid*) {
  // The page's other grids and the other windows name the memory and the
  // codes by number.
  for (CFieldGrid* g : grids_)
    if (g) g->Refill();
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

QWidget* CSignallingView::InitialFocus() const { return form_->Control(0, 0); }

CFieldGrid* CSignallingView::Grid(int page) const {
  return page >= 0 && page < static_cast<int>(grids_.size()) ? grids_[static_cast<size_t>(page)] : nullptr;
}

void CSignallingView::Refresh() {
  form_->Refresh();
  for (CFieldGrid* g : grids_)
    if (g) g->Refill();
}

bool CSignallingView::CommitPendingEdit() {
  form_->CommitPending();
  for (CFieldGrid* g : grids_)
    if (g) g->CommitEdit();
  return true;
}

// ---------------------------------------------------------------------------

CDtmfView::CDtmfView(EditorContext& ctx, QWidget* parent)
    : CSignallingView(ctx, EditorKind::Dtmf, dtmf::DtmfPages(), 11, parent) {
  setObjectName("dtmfView");
  Workspace& ws = ctx.ws;
  const auto& stun = dtmf::StunGridFields();
  auto* g1 = new CFieldGrid(ws.data, ws.text, ws.switches.voting, std::make_unique<dtmf::DtmfLocator>(dtmf::DtmfList::StunGrid),
                            {{&stun[0], 110, kAlignLeft}, {&stun[1], 70, kAlignCentre}, {&stun[2], 80, kAlignCentre}},
                            2, -1, this);
  g1->setObjectName("stunGrid");
  g1->setMinimumHeight(g1->HeightForRows(2) + 4);
  g1->setMaximumHeight(g1->HeightForRows(2) + 4);
  PlaceGrid(1, dtmf::kDtmfGridIndex, g1, false);
  const auto& mem = dtmf::MemoryFields();
  auto* g2 = new CFieldGrid(ws.data, ws.text, ws.switches.voting, std::make_unique<dtmf::DtmfLocator>(dtmf::DtmfList::Memory),
                            {{&mem[0], 120, kAlignLeft}, {&mem[1], 170, kAlignLeft}}, dtmffld::kMemoryEntries, -1, this);
  g2->setObjectName("memoryGrid");
  g2->setMinimumHeight(g2->HeightForRows(12));
  PlaceGrid(2, 0, g2, true);
}

CTwoToneView::CTwoToneView(EditorContext& ctx, QWidget* parent)
    : CSignallingView(ctx, EditorKind::TwoTone, dtmf::TwoTonePages(), 6, parent) {
  setObjectName("twoToneView");
  Workspace& ws = ctx.ws;
  const auto& codes = dtmf::TwoToneCodeFields();
  auto* g = new CFieldGrid(ws.data, ws.text, ws.switches.voting, std::make_unique<dtmf::DtmfLocator>(dtmf::DtmfList::Codes),
                           {{&codes[0], 120, kAlignLeft},
                            {&codes[1], 80, kAlignRight},
                            {&codes[2], 80, kAlignRight},
                            {&codes[3], 80, kAlignCentre}},
                           twotonefld::kCodeCount, -1, this);
  g->setObjectName("codeGrid");
  g->setMinimumHeight(g->HeightForRows(10));
  PlaceGrid(0, dtmf::kTwoToneCodeIndex, g, true);
  // The decode pages' grids are made when their page is first shown, so
  // that opening the window costs the first page only; their places are
  // kept at the grid's size from the start, so the window opens large
  // enough for them.
  for (int p = 1; p <= twotonefld::kDecodePages; ++p)
    if (QWidget* place = Form()->Control(p, dtmf::kDecodeGridIndex))
      place->setMinimumSize(3 * 90 + 44, g->HeightForRows(4) + 4);
  connect(Form()->Tabs(), &QTabWidget::currentChanged, this, [this](int page) { MakeDecodeGrid(page); });
}

void CTwoToneView::MakeDecodeGrid(int page) {
  const int p = page - 1;
  if (p < 0 || p >= twotonefld::kDecodePages || Grid(page)) return;
  Workspace& ws = Context().ws;
  const auto& dec = dtmf::DecodeGridFields();
  auto* d = new CFieldGrid(ws.data, ws.text, ws.switches.voting,
                           std::make_unique<dtmf::DtmfLocator>(dtmf::DtmfList::DecodeGrid),
                           {{&dec[0], 90, kAlignCentre}, {&dec[1], 90, kAlignCentre}, {&dec[2], 90, kAlignCentre}}, 4, p,
                           this);
  d->setObjectName(QStringLiteral("decodeGrid%1").arg(p + 1));
  d->setMinimumHeight(d->HeightForRows(4) + 4);
  d->setMaximumHeight(d->HeightForRows(4) + 4);
  PlaceGrid(page, dtmf::kDecodeGridIndex, d, false);
  d->Refill();
  d->show();
}

void RegisterDtmfWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::Dtmf, [](EditorContext& c, QWidget* p) -> CEditorView* { return new CDtmfView(c, p); });
  reg.RegisterEditor(EditorKind::TwoTone,
        [](EditorContext& c, QWidget* p) -> CEditorView* { return new CTwoToneView(c, p); });
}

}  // namespace vb420
