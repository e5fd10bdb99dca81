// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/testfreq/ui/TestFreqView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "frame/ui/Workspace.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "lang/ui/MessageHelper.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

constexpr int kRows = kTestFreqSlots + 1;  // header row and 16 slots
constexpr int kCols = 3;
const ColumnDescriptor kColumns[kCols] = {
    {359, 40, kAlignCentre, 1}, {360, 110, kAlignRight, 1}, {361, 110, kAlignRight, 1}};
constexpr int kHelpRx = 0x3C001;
constexpr int kHelpTx = 0x3C002;
constexpr int kHelpView = 0x3C000;

}  // namespace

TestFreqCopyBuffer& CTestFreqView::CopyBuffer() {
  static TestFreqCopyBuffer buffer;
  return buffer;
}

CTestFreqView::CTestFreqView(EditorContext& ctx, QWidget* parent) : CEditorView(ctx, EditorKind::TestFreq, parent) {
  setObjectName("testFreqView");
  grid_ = new CEditGrid(this);
  grid_->setObjectName("testFreqGrid");
  grid_->SetTextTable(&ctx.ws.text);
  grid_->SetSize(kRows, kCols);
  grid_->SetupColumns(kColumns, 0, kCols);
  grid_->NumberRows(1);
  grid_->Model()->SetRowFiller([this](int row, std::vector<QString>& cells) {
    RadioData& data = Context().ws.data;
    for (int col = 1; col < kCols; ++col)
      cells[static_cast<size_t>(col)] = QString::fromStdString(TestFreqText(data, row - 1, col - 1));
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  grid_->setMinimumHeight(grid_->HeightForRows(kTestFreqSlots));
  grid_->setMinimumWidth(grid_->FullWidth());
  grid_->SetStretch(true);

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
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) grid_->Advance(1, mods);
    else if (key == Qt::Key_Backtab) grid_->SetCurrent(row, std::max(1, grid_->Col() - 1));
    else if (key == Qt::Key_Up) grid_->SetCurrent(std::max(1, row - 1), grid_->Col());
    else if (key == Qt::Key_Down) grid_->SetCurrent(std::min(kRows - 1, row + 1), grid_->Col());
    grid_->setFocus();
  });
  connect(grid_, &CEditGrid::EditorFocusOut, this, [this](Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    CommitEdit();
  });
  connect(grid_, &CEditGrid::ContextMenuAsked, this, [this](const QPoint& at, int row) {
    if (!grid_->PopupAllowed(row)) return;
    if (const int cmd = grid_->RunPopupMenu(at, false, !CopyBuffer().Empty(), false)) RunCommand(cmd);
  });
  connect(grid_, &CEditGrid::KeyToView, this, [this](QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && grid_->RowSelectState()) {
      RunCommand(kCmdGridDelete);
      e->accept();
    } else {
      e->ignore();
    }
  });
}

void CTestFreqView::Refresh() { grid_->Model()->RefillAll(); }

int CTestFreqView::HelpContext() const {
  if (grid_->hasFocus() || edit_->isVisible()) {
    if (grid_->Col() == 1) return kHelpRx;
    if (grid_->Col() == 2) return kHelpTx;
  }
  return kHelpView;
}

QWidget* CTestFreqView::InitialFocus() const { return grid_; }

bool CTestFreqView::CommitPendingEdit() {
  CommitEdit();
  return true;
}

void CTestFreqView::OpenEditor(QKeyEvent* key, const QString* text) {
  int row = grid_->Row();
  int col = grid_->Col();
  if (row < 1 || col < 1) return;
  const bool backspace = key && (key->key() == Qt::Key_Backspace || key->text() == QLatin1String("."));
  int first = 0, last = 0;
  grid_->SelectedRows(first, last);
  if (backspace && grid_->RowSelectState() && last > first) {
    RunCommand(kCmdGridDelete);
    return;
  }
  RadioData& data = Context().ws.data;
  if (col == 2 && !TestFreqSet(data, row - 1, 0)) {
    // A row starts with its receive frequency.
    grid_->SetCurrent(row, 1);
    col = 1;
    if (text) return;  // Enter there does nothing
  }
  edit_->SetInputMode(kInputDecimal);
  edit_->SetDecimalSeparator(data.freq.DecimalSeparator());
  edit_->setMaxLength(9);
  // Only what a frequency can hold opens the editor.
  if (key && !backspace && (key->text().isEmpty() || !edit_->Accepts(key->text().at(0)))) return;
  grid_->ShowEdit(edit_, text ? *text : QString(), true);
  if (key) {
    edit_->clear();
    if (!backspace) {
      QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(edit_, &copy);
    }
  }
}

void CTestFreqView::CommitEdit() {
  if (!grid_->EditorKindOpen()) return;
  const int row = grid_->EditRow();
  const int col = grid_->EditCol();
  const QString saved = grid_->SavedCellText();
  const QString text = edit_->text();
  grid_->HideEditor(false);
  if (text == saved && !text.isEmpty()) {
    grid_->SetText(row, col, saved);
    return;
  }
  // The cell stores through the column's field descriptor, as the settings
  // verb does; the descriptor leaves the warning to show in the message.
  Workspace& ws = Context().ws;
  forms::FormContext ctx(ws.data, ws.text, ws.data.votingSwitch, {-1, row - 1});
  std::string typed = text.toStdString();
  forms::FormEngine::StoreText(ctx, TestFreqFieldTable()[static_cast<size_t>(col - 1)], typed);
  // Clearing the last frequency may have brought the defaults back into
  // every row.
  grid_->Model()->RefillAll();
  Changed();
  if (ctx.message) {
    MessageHelper& msg = Context().msg;
    msg.Warning(msg.T(ctx.message), kMsgOk, MessageHelper::kNoticeCaption, this);
  }
}

void CTestFreqView::RunCommand(int command) {
  CommitEdit();
  RadioData& data = Context().ws.data;
  int first = grid_->Row(), last = grid_->Row();
  if (grid_->RowSelectState()) grid_->SelectedRows(first, last);
  if (first < 1) return;
  switch (command) {
    case kCmdGridCopy: CopyTestFreqs(data, first - 1, last - 1, CopyBuffer()); break;
    case kCmdGridPaste: {
      if (CopyBuffer().Empty()) return;
      // The kept rows go from the current row on, as many as were copied.
      if (!PasteTestFreqs(data, first - 1, 0, CopyBuffer())) return;
      Changed();
      break;
    }
    case kCmdGridDelete:
      DeleteTestFreqs(data, first - 1, last - 1);
      Changed();
      break;
    default: return;
  }
  grid_->Model()->RefillAll();
}

void CTestFreqView::Changed() {
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

void RegisterTestFreqWindows() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterEditor(EditorKind::TestFreq, [](EditorContext& c, QWidget* p) -> CEditorView* {
    return new CTestFreqView(c, p);
  });
  reg.AddImageReplacedHook([](EditorContext&) {
    CTestFreqView::CopyBuffer().Clear();
  });
}

}  // namespace vb420
