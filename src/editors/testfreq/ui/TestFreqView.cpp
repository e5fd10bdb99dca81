// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/testfreq/ui/TestFreqView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "frame/ui/Workspace.h"
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "lang/ui/MessageHelper.h"
#include "data/ByteChanges.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

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
  RadioData& data = ctx.ws.data;
  TextTable& text = ctx.ws.text;
  const auto& fields = TestFreqFieldTable();
  grid_ = new CFieldGrid(
      data, text, [&data, &text](int row) -> std::unique_ptr<forms::BoundRecord> {
        // A pair of test frequencies: the columns read the cursor's record.
        return std::make_unique<forms::CursorRecord>(data, text, data.votingSwitch, forms::RecordCursor{-1, row - 1});
      },
      {{&fields[0], 110, kAlignRight}, {&fields[1], 110, kAlignRight}}, kTestFreqSlots, this);
  grid_->setObjectName("testFreqGrid");
  grid_->SetNumberColumn(359, 40);
  // A pair starts with its receive frequency.
  grid_->SetOpenCheck([&data](int& row, int& col) {
    if (col == 2 && !TestFreqSet(data, row - 1, 0)) col = 1;
    return true;
  });
  grid_->SetNotice([this](const QString& t) { Context().msg.Warning(t, kMsgOk, MessageHelper::kNoticeCaption, this); });
  grid_->ClaimCommands({kCmdGridCopy, kCmdGridPaste, kCmdGridDelete}, [this](int cmd) { RunCommand(cmd); });
  grid_->SetPopup(false, [] { return !CopyBuffer().Empty(); });
  connect(grid_, &CFieldGrid::Stored, this, [this](int, int) {
    // Clearing the last frequency may have brought the defaults back into
    // every row.
    grid_->Refill();
    Changed();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  grid_->setMinimumHeight(grid_->HeightForRows(kTestFreqSlots));
  grid_->setMinimumWidth(grid_->FullWidth());
  grid_->SetStretch(true);
}

void CTestFreqView::Refresh() { grid_->Refill(); }

CFilterEdit* CTestFreqView::CellEdit() const { return grid_->CellEdit(); }

int CTestFreqView::HelpContext() const {
  if (grid_->hasFocus() || grid_->CellEdit()->isVisible()) {
    if (grid_->Col() == 1) return kHelpRx;
    if (grid_->Col() == 2) return kHelpTx;
  }
  return kHelpView;
}

QWidget* CTestFreqView::InitialFocus() const { return grid_; }

bool CTestFreqView::CommitPendingEdit() {
  grid_->CommitEdit();
  return true;
}

void CTestFreqView::RunCommand(int command) {
  grid_->CommitEdit();
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
  grid_->Refill();
}

void CTestFreqView::Changed() {
  Context().frame.RefreshAllEditors(this);
  Context().frame.UpdateCaption();
}

bool CTestFreqView::ShowsBytes(const ByteChanges& changes) const {
  return changes.TouchesModel() ||
         changes.Touches(false, img::kTestFreqs, img::kTestFreqs + kTestFreqSlots * kTestFreqSlotSize);
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
