// SPDX-License-Identifier: GPL-3.0-or-later
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"
#include "editors/signalling/ui/SignalViews.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editors/forms/FieldSets.h"
#include "editors/forms/ui/FormRefusal.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/EmergencyFields.h"
#include "editors/signalling/SignallingChecks.h"
#include "editors/signalling/VantelixFields.h"
#include "editors/signalling/ui/AlertTestDlg.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

using namespace forms;

namespace {

// "Up to": the label of a range's upper end.
constexpr int kUpToEntry = 1315;

constexpr int kNumberCaption = 359;
// Widths and alignments of the columns of the two lists, in table order.
const int kIdWidths[4] = {60, 60, 120, 60};
const int kIdAlign[4] = {kAlignRight, kAlignRight, kAlignLeft, kAlignCentre};
const int kStatusWidths[3] = {70, 150, 60};
const int kStatusAlign[3] = {kAlignRight, kAlignLeft, kAlignCentre};

// One entry of a list: the columns read and store the cursor's record.
class EntryRow : public BoundRecord {
 public:
  EntryRow(RadioData& data, TextTable& text, int row, bool idList) {
    const FieldSet* set = nullptr;
    for (const FieldSet& s : FieldSets())
      if (s.name == (idList ? "idlist" : "status")) set = &s;
    bound_ = set->bind(data, text, {-1, row});
  }
  FormContext& Context() override { return bound_->Context(); }
  bool StoreText(const FieldDescriptor& d, std::string& text) override { return bound_->StoreText(d, text); }

 private:
  std::unique_ptr<BoundRecord> bound_;
};

}  // namespace

// ---------------------------------------------------------------------------
// The two list grids

CSignalListGrid::CSignalListGrid(EditorContext& ctx, bool idList, QWidget* parent)
    : QWidget(parent), ctx_(ctx), idList_(idList) {
  setObjectName(idList ? "idListGrid" : "statusListGrid");
  const auto& fields = idList ? IdListFieldTable() : StatusListFieldTable();
  std::vector<CFieldGrid::Column> columns;
  for (size_t i = 0; i < fields.size(); ++i)
    columns.push_back({&fields[i], idList ? kIdWidths[i] : kStatusWidths[i], idList ? kIdAlign[i] : kStatusAlign[i]});
  RadioData& data = ctx.ws.data;
  TextTable& text = ctx.ws.text;
  grid_ = new CFieldGrid(
      data, text,
      [&data, &text, idList](int row) -> std::unique_ptr<BoundRecord> {
        return std::make_unique<EntryRow>(data, text, row - 1, idList);
      },
      std::move(columns), Rows(), this);
  grid_->setObjectName(idList ? "idGrid" : "statusGrid");
  grid_->SetNumberColumn(kNumberCaption, 40);
  grid_->SetNotice([this](const QString& t) { ctx_.msg.Warning(t, kMsgOk, MessageHelper::kNoticeCaption, this); });
  // Delete on whole rows empties those entries.
  grid_->ClaimCommands({kCmdGridDelete}, [this](int) {
    int first = 0, last = 0;
    grid_->SelectedRows(first, last);
    for (int r = std::max(first, 1); r <= last; ++r) {
      if (idList_) ClearIdEntry(ctx_.ws.data, r - 1);
      else ClearStatusEntry(ctx_.ws.data, r - 1);
    }
    grid_->SetRowSelectMode(false);
    grid_->Refill();
    Q_EMIT Stored(true);
  });
  connect(grid_, &CFieldGrid::Stored, this, [this](int, int col) { Q_EMIT Stored(col == 0 || col == grid_->Cols() - 1); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  grid_->setMinimumWidth(grid_->FullWidth());
  grid_->setMinimumHeight(grid_->HeightForRows(12));
}

int CSignalListGrid::Rows() const {
  const ByteArea image = ctx_.ws.data.Image();
  return idList_ ? PlaceIdList(image).Rows() : PlaceStatusList(image).Rows();
}

CFilterEdit* CSignalListGrid::CellEdit() const { return grid_->CellEdit(); }

void CSignalListGrid::CommitEdit() { grid_->CommitEdit(); }

void CSignalListGrid::Refill() {
  // The directory may have changed with the image (a loaded file).
  grid_->SetRowCount(Rows());
  grid_->Refill();
}

// ---------------------------------------------------------------------------
// Vantelix

CVantelixView::CVantelixView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::Vantelix, parent) {
  setObjectName("vantelixView");
  fctx_ = std::make_unique<FormContext>(ctx.ws.data, ctx.ws.text, ctx.ws.data.votingSwitch);
  std::vector<FormPage> pages = VantelixPages();
  // The upper ends of the group range and the speed threshold sit under
  // their lower ends: "Up to".
  for (FormPage& page : pages)
    for (FieldDescriptor& d : page.fields)
      if ((d.key == "groupidhigh" || d.key == "speedhigh") && d.labelEntry < 0) d.labelEntry = kUpToEntry;
  form_ = new CFormRenderer(*fctx_, std::move(pages), this, 14);
  idGrid_ = new CSignalListGrid(ctx, true);
  statusGrid_ = new CSignalListGrid(ctx, false);
  for (auto [page, grid] : {std::pair{kVantelixIdPage, idGrid_}, std::pair{kVantelixStatusPage, statusGrid_}}) {
    auto* pageLayout = qobject_cast<QGridLayout*>(form_->Tabs()->widget(page)->layout());
    pageLayout->addWidget(grid, 0, 0, 14, 3);
    pageLayout->setRowStretch(0, 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) { Changed(); });
  connect(idGrid_, &CSignalListGrid::Stored, this, [this](bool) { Changed(); });
  connect(statusGrid_, &CSignalListGrid::Stored, this, [this](bool) { Changed(); });
}

CVantelixView::~CVantelixView() = default;

void CVantelixView::InitialUpdate() {
  Refresh();
  // A damaged directory: the list is not followed, and the user is told.
  if (const int entry = RefusedListMessage(Context().ws.data.Image())) {
    MessageHelper& msg = Context().msg;
    msg.Warning(msg.T(entry), kMsgOk, MessageHelper::kWarningCaption, this);
  }
}

void CVantelixView::Refresh() {
  form_->Refresh();
  idGrid_->Refill();
  statusGrid_->Refill();
}

bool CVantelixView::CommitPendingEdit() {
  form_->CommitPending();
  idGrid_->CommitEdit();
  statusGrid_->CommitEdit();
  return true;
}

void CVantelixView::Changed() {
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

// ---------------------------------------------------------------------------
// Emergency

CEmerView::CEmerView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::Emergency, parent) {
  setObjectName("emerView");
  fctx_ = std::make_unique<FormContext>(ctx.ws.data, ctx.ws.text, ctx.ws.data.votingSwitch);
  form_ = new CFormRenderer(*fctx_, {EmergencyPage()}, this, 13);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) {
    if (const int m = TakeRefusal(*fctx_, *form_)) {
      MessageHelper& msg = Context().msg;
      msg.Error(msg.T(m), kMsgOk, MessageHelper::kErrorCaption, this);
      return;
    }
    Context().frame.RefreshAllEditors(this);
    Context().frame.UpdateCaption();
  });
}

CEmerView::~CEmerView() = default;

void CEmerView::Refresh() { form_->Refresh(); }

bool CEmerView::CommitPendingEdit() {
  form_->CommitPending();
  return true;
}

// ---------------------------------------------------------------------------
// Alert tones

bool CAlertToneView::CanPlay() {
#ifdef VB420_HAVE_AUDIO
  return true;
#else
  return static_cast<bool>(CAlertTestDlg::TestSinkFactory());
#endif
}

CAlertToneView::CAlertToneView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::AlertTone, parent) {
  setObjectName("alertToneView");
  // One set of controls; the tab strip chooses the tone they show.
  locator_ = std::make_unique<AlertToneLocator>();
  fctx_ = std::make_unique<FormContext>(ctx.ws.data, ctx.ws.text, ctx.ws.data.votingSwitch, RecordCursor{-1, 0},
                                        locator_.get());
  tabs_ = new QTabBar(this);
  tabs_->setObjectName("toneTabs");
  for (int t = 0; t < 8; ++t) tabs_->addTab(ctx.msg.T(697 + t));
  form_ = new CFormRenderer(*fctx_, {AlertTonePage()}, this, kAlertRowsPerColumn);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(0);
  layout->addWidget(tabs_);
  layout->addWidget(form_);
  if (QWidget* b = form_->Control(0, kAlertTestIndex)) b->setVisible(CanPlay());
  connect(tabs_, &QTabBar::currentChanged, this, [this](int tone) {
    if (tone < 0 || tone == fctx_->cursor.record) return;
    form_->CommitPending();  // a value still being typed belongs to the tone shown so far
    fctx_->cursor.record = tone;
    form_->Refresh();
  });
  connect(form_, &CFormRenderer::Stored, this, [this](int, int) { Changed(); });
  connect(form_, &CFormRenderer::ButtonClicked, this, [this](int, int index) {
    if (index == kAlertTestIndex) OpenTest();
  });
}

CAlertToneView::~CAlertToneView() {
  if (test_) delete test_.data();
}

void CAlertToneView::Refresh() {
  form_->Refresh();
  if (test_) test_->PublishTone();
}

bool CAlertToneView::CommitPendingEdit() {
  form_->CommitPending();
  return true;
}

void CAlertToneView::Changed() {
  // A test that is playing takes the change at its next step.
  if (test_) test_->PublishTone();
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

void CAlertToneView::SetCurrentTone(int tone) {
  if (tone >= 0 && tone < tabs_->count()) tabs_->setCurrentIndex(tone);
}

int CAlertToneView::CurrentTone() const { return fctx_->cursor.record; }

CAlertTestDlg* CAlertToneView::OpenTest() {
  if (!CanPlay()) return nullptr;
  if (!test_) {
    // The dialog opens on the tone chosen last, and the editor shows it.
    test_ = new CAlertTestDlg(Context(), CAlertTestDlg::LastTone(), Context().frame.MainWindow());
    test_->setAttribute(Qt::WA_DeleteOnClose);
    connect(test_, &CAlertTestDlg::ToneChosen, this, &CAlertToneView::SetCurrentTone);
    SetCurrentTone(test_->Tone());
  }
  test_->show();
  test_->raise();
  test_->activateWindow();
  return test_;
}

void RegisterSignallingWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::Vantelix, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CVantelixView(c, p);
  });
  reg.RegisterEditor(EditorKind::Emergency, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CEmerView(c, p);
  });
  reg.RegisterEditor(EditorKind::AlertTone, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CAlertToneView(c, p);
  });
}

}  // namespace vb420
