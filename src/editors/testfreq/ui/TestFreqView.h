// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Test Frequency: the 16 receive/transmit pairs that test mode offers
// as test channels, in a grid with Copy, Paste and Delete of rows.
#pragma once

#include "editors/grid/FieldGrid.h"
#include "frame/ui/EditorView.h"
#include "editors/testfreq/TestFreqFields.h"

namespace vb420 {

class CFilterEdit;

class CTestFreqView : public CEditorView {
  Q_OBJECT
 public:
  CTestFreqView(EditorContext& ctx, QWidget* parent = nullptr);
  void Refresh() override;
  bool ShowsBytes(const ByteChanges& changes) const override;
  bool CommitPendingEdit() override;
  int HelpContext() const override;
  QWidget* InitialFocus() const override;
  CFieldGrid* Grid() const { return grid_; }
  CFilterEdit* CellEdit() const;
  void RunCommand(int command);

  // Lives as long as the program; cleared when the image is replaced.
  static TestFreqCopyBuffer& CopyBuffer();

 private:
  void Changed();

  CFieldGrid* grid_ = nullptr;
};

}  // namespace vb420
