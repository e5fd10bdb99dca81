// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > DTMF and Edit > 2-Tone: tabbed forms of the signalling settings,
// with the code lists as grids on their pages.
#pragma once

#include <memory>
#include <vector>

#include "editors/forms/FormEngine.h"
#include "frame/ui/EditorView.h"

namespace vb420 {

class CFormRenderer;
class CFieldGrid;

// A tabbed form whose List controls are replaced by field grids.
class CSignallingView : public CEditorView {
  Q_OBJECT
 public:
  CSignallingView(EditorContext& ctx, EditorKind kind, const std::vector<forms::FormPage>& pages, int rowsPerColumn,
                  QWidget* parent);
  ~CSignallingView() override;
  void Refresh() override;
  bool CommitPendingEdit() override;
  QWidget* InitialFocus() const override;
  CFormRenderer* Form() const { return form_; }
  // The grid on a page (nullptr when the page has none).
  CFieldGrid* Grid(int page) const;

 protected:
  void PlaceGrid(int page, int index, CFieldGrid* grid, bool wholeColumn);
  void GridStored(CFieldGrid* grid);

  std::unique_ptr<forms::FormContext> fctx_;
  CFormRenderer* form_ = nullptr;
  std::vector<CFieldGrid*> grids_;  // one slot per page
};

class CDtmfView : public CSignallingView {
  Q_OBJECT
 public:
  CDtmfView(EditorContext& ctx, QWidget* parent = nullptr);
};

class CTwoToneView : public CSignallingView {
  Q_OBJECT
 public:
  CTwoToneView(EditorContext& ctx, QWidget* parent = nullptr);

 private:
  void MakeDecodeGrid(int page);
};

}  // namespace vb420
