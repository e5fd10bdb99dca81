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

#include "editors/forms/ui/FormRefusal.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/EditGrid.h"
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
const ColumnDescriptor kIdColumns[5] = {{kNumberCaption, 40, kAlignCentre, 1},
                                        {1050, 60, kAlignRight, 1},
                                        {1051, 60, kAlignRight, 1},
                                        {1052, 120, kAlignLeft, 2},
                                        {1053, 60, kAlignCentre, 1}};
const ColumnDescriptor kStatusColumns[4] = {{kNumberCaption, 40, kAlignCentre, 1},
                                            {996, 70, kAlignRight, 1},
                                            {1052, 150, kAlignLeft, 2},
                                            {1053, 60, kAlignCentre, 1}};

}  // namespace

// ---------------------------------------------------------------------------
// The two list grids

CSignalListGrid::CSignalListGrid(EditorContext& ctx, bool idList, QWidget* parent)
    : QWidget(parent), ctx_(ctx), idList_(idList) {
  setObjectName(idList ? "idListGrid" : "statusListGrid");
  grid_ = new CEditGrid(this);
  grid_->setObjectName(idList ? "idGrid" : "statusGrid");
  grid_->SetTextTable(&ctx.ws.text);
  // Text pasted from a spreadsheet goes in cell by cell, through the same
  // cell rules as typing; refused cells are counted in one message.
  grid_->SetCellStore([this](int row, int col, const QString& text) { return Store(row - 1, col, text.trimmed().toStdString()); },
                      [this](int refused) {
                        Refill();
                        if (refused > 0)
                          ctx_.msg.Warning(ctx_.msg.T(1186).replace(QStringLiteral("%s"), QString::number(refused)),
                                           kMsgOk, MessageHelper::kNoticeCaption, this);
                      });
  const int cols = idList ? 5 : 4;
  grid_->SetSize(Rows() + 1, cols);
  grid_->SetupColumns(idList ? kIdColumns : kStatusColumns, 0, cols);
  grid_->NumberRows(1);
  grid_->Model()->SetRowFiller([this, cols](int row, std::vector<QString>& cells) {
    RadioData& data = ctx_.ws.data;
    for (int col = 1; col < cols; ++col)
      cells[static_cast<size_t>(col)] = QString::fromStdString(
          idList_ ? IdCellText(data, ctx_.ws.text, row - 1, static_cast<IdColumn>(col - 1))
                  : StatusCellText(data, ctx_.ws.text, row - 1, static_cast<StatusColumn>(col - 1)));
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  grid_->setMinimumWidth(grid_->FullWidth());
  grid_->setMinimumHeight(grid_->HeightForRows(12));

  edit_ = new CFilterEdit(this);
  edit_->setObjectName("cellEdit");
  edit_->hide();

  connect(grid_, &CEditGrid::CharTyped, this, [this](QKeyEvent* e) { OpenEditor(e, nullptr); });
  connect(grid_, &CEditGrid::EnterPressed, this, [this](Qt::KeyboardModifiers) {
    const QString t = grid_->Text(grid_->Row(), grid_->Col());
    OpenEditor(nullptr, &t);
  });
  connect(grid_, &CEditGrid::EditorKey, this, [this](int key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Escape) {
      grid_->CancelEdit();
      return;
    }
    const int row = grid_->EditRow();
    CommitEdit();
    const int last = grid_->Rows() - 1;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) grid_->Advance(1, mods);
    else if (key == Qt::Key_Backtab) grid_->SetCurrent(row, std::max(1, grid_->Col() - 1));
    else if (key == Qt::Key_Up) grid_->SetCurrent(std::max(1, row - 1), grid_->Col());
    else if (key == Qt::Key_Down) grid_->SetCurrent(std::min(last, row + 1), grid_->Col());
    grid_->setFocus();
  });
  connect(grid_, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitEdit();
  });
  connect(grid_, &CEditGrid::KeyToView, this, [this](QKeyEvent* e) {
    // Delete empties the entry of the current row.
    if (e->key() == Qt::Key_Delete && grid_->Row() >= 1) {
      Store(grid_->Row() - 1, 1, "");
      e->accept();
    } else {
      e->ignore();
    }
  });
}

int CSignalListGrid::Rows() const {
  const ByteArea image = ctx_.ws.data.Image();
  return idList_ ? PlaceIdList(image).Rows() : PlaceStatusList(image).Rows();
}

void CSignalListGrid::Refill() {
  if (grid_->EditorKindOpen()) grid_->HideEditor(false);
  // The directory may have changed with the image (a loaded file).
  if (grid_->Rows() != Rows() + 1) {
    grid_->SetSize(Rows() + 1, grid_->Cols());
    grid_->SetupColumns(idList_ ? kIdColumns : kStatusColumns, 0, grid_->Cols());
    grid_->NumberRows(1);
  }
  grid_->Model()->RefillAll();
}

bool CSignalListGrid::IsInhibitColumn(int col) const { return col == grid_->Cols() - 1; }

bool CSignalListGrid::Store(int row, int col, const std::string& text) {
  RadioData& data = ctx_.ws.data;
  const bool ok = idList_ ? StoreIdCell(data, ctx_.ws.text, row, static_cast<IdColumn>(col - 1), text)
                          : StoreStatusCell(data, ctx_.ws.text, row, static_cast<StatusColumn>(col - 1), text);
  grid_->Model()->RefillRow(row + 1);
  if (ok) Q_EMIT Stored(IsInhibitColumn(col));
  return ok;
}

void CSignalListGrid::OpenEditor(QKeyEvent* key, const QString* text) {
  const int row = grid_->Row();
  const int col = grid_->Col();
  if (row < 1 || col < 1) return;
  RadioData& data = ctx_.ws.data;
  const bool empty = idList_ ? IdEntryEmpty(data, row - 1) : StatusEntryEmpty(data, row - 1);
  if (IsInhibitColumn(col)) {
    // The mark toggles with Enter or Space, or takes the first letter of
    // "yes" or "no"; an empty entry has none.
    if (empty) return;
    const std::string yes = ctx_.ws.text.Text(372), no = ctx_.ws.text.Text(373);
    const bool on = grid_->Text(row, col) == QString::fromStdString(yes);
    std::string choice = on ? no : yes;
    if (key && !key->text().isEmpty() && key->text() != QLatin1String(" ")) {
      const QChar c = key->text().at(0).toLower();
      if (!yes.empty() && c == QChar(yes[0]).toLower()) choice = yes;
      else if (!no.empty() && c == QChar(no[0]).toLower()) choice = no;
      else return;
    }
    Store(row - 1, col, choice);
    return;
  }
  const bool textColumn = (idList_ && col == 3) || (!idList_ && col == 2);
  if (textColumn && empty) return;  // names only for entries in use
  if (textColumn) {
    edit_->SetInputMode(data.model.IsSecondGen() && idList_ ? kInputName : kInputAll);
    edit_->setMaxLength(idList_ ? (data.model.IsSecondGen() ? 8 : 12) : 16);
  } else {
    edit_->SetInputMode(kInputDigits);
    edit_->setMaxLength(idList_ ? (col == 1 ? 3 : 4) : 2);
  }
  if (key && (key->text().isEmpty() || !edit_->Accepts(key->text().at(0))) && key->key() != Qt::Key_Backspace)
    return;
  grid_->ShowEdit(edit_, text ? *text : QString(), true);
  if (key) {
    edit_->clear();
    if (key->key() != Qt::Key_Backspace) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(edit_, &copy);
    }
  }
}

void CSignalListGrid::CommitEdit() {
  if (!grid_->EditorKindOpen()) return;
  const int row = grid_->EditRow();
  const int col = grid_->EditCol();
  const QString saved = grid_->SavedCellText();
  const QString text = edit_->text();
  grid_->HideEditor(false);
  if (text == saved) {
    grid_->SetText(row, col, saved);
    return;
  }
  Store(row - 1, col, text.toStdString());
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
